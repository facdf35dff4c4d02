#include "frontend/EE_MemberExpression.h"

#include "frontend/EE_Declaration.h"
#include "frontend/EE_Language.h"
#include "frontend/EE_Name.h"
#include "frontend/EE_TypeDescriptor.h"

EE_String EE_MemberExpression::signature(int detail) const
{
    // In COBOL a member is shown by its name alone.
    if (EE_isCobolLanguage()) {
        if (member == nullptr)
            return EE_String();
        return member->signature();
    }
    if (detail == 0)
        return EE_String(kind == Dot ? "." : "->");
    EE_String text;
    if (kind == Dot)
        text << "(" << signatureOf(object, detail) << ").";
    else
        text << signatureOf(object, detail) << "->";
    // The member by its declared name: the stores a member of a class record
    // is found through are named for traces, not for the user.
    if (member != nullptr && member->declaration != nullptr)
        member->declaration->id(text);
    else if (member != nullptr)
        text << member->signature();
    return text;
}

EE_MemberExpression* EE_MemberExpression::asMemberExpression()
{
    return this;
}

const EE_MemberExpression* EE_MemberExpression::asMemberExpression() const
{
    return this;
}
