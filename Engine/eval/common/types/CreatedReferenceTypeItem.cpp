#include "types/CreatedReferenceTypeItem.h"

#include <string>

#include "services/EvaluationEnvironment.h"

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
    std::string text = target.demangledTypeName();
    const int language = env->language();
    if (language != EvaluationEnvironment::languageCOBOL && language != EvaluationEnvironment::languageFortran)
        text += "&";
    setName(target, text.c_str());
    simplifyBase();
    constructed = true;
}
