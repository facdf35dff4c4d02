#include "types/CreatedReferenceTypeItem.h"

#include <string>

#include "services/EvaluationEnvironment.h"
#include "services/InvalidOp.h"

CreatedReferenceTypeItem::CreatedReferenceTypeItem(const TypeItem& target, bool addressOf)
{
    EvaluationEnvironment* env = EvaluationEnvironment::currentRep();
    TNreference& r = record.reference;
    r.leaf = TE_REFERENCE;
    r.referent = target.unsimplifiedTypeIndex();
    r.flags = (env->addressSize() == 8 ? 2u : 1u) | (addressOf ? UBYTE4(TNreference_AddressOf) : 0u);
    useInlineEntry();
    // COBOL and Fortran have no reference syntax: the reference shows as
    // what it refers to.
    // The type is registered with the environment already: a name that
    // cannot be made must not leave it half built.
    std::string text;
    try {
        text = target.demangledTypeName();
    } catch (const InvalidOp&) {
        text = "??";
    }
    const int language = env->language();
    if (language != EvaluationEnvironment::languageCOBOL && language != EvaluationEnvironment::languageFortran)
        text += "&";
    setName(target, text.c_str());
    simplifyBase();
    constructed = true;
}
