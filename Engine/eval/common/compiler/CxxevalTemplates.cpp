// The query interface: C++ template names.

#include <cstring>

#include <plomkit/ByteString.h>

#include "compiler/CxxevalInterface.h"
#include "services/EvaluationEnvironment.h"
#include "types/ScopeItem.h"
#include "types/TemplateItem.h"

TemplateItem* startTemplateResolution(const char* name, const ScopeItem* scope)
{
    if (name == nullptr || name[0] == '\0' || scope == nullptr)
        return nullptr;
    EvaluationEnvironment* environment = EvaluationEnvironment::currentRep();
    TemplateItem* item = new TemplateItem(
        ByteString(reinterpret_cast<const unsigned char*>(name), static_cast<unsigned>(std::strlen(name))), *scope);
    environment->addTemplate(item);
    return item;
}

bool addTemplateTypeParm(TemplateItem* item, const TypeItem* type)
{
    return item != nullptr && type != nullptr && item->addTemplateArg(type);
}

bool addTemplateIntegerParm(TemplateItem* item, unsigned long long value, bool isSigned)
{
    return item != nullptr && item->addTemplateArg(value, isSigned ? 1 : 0);
}

TemplateResolution resolveTemplate(const TemplateItem* item)
{
    if (item == nullptr)
        return TemplateResolution{nullptr, nullptr};
    return TemplateResolution{item->resolveTemplateAsType(), item->resolveTemplateAsSymbol()};
}

bool isTemplateName(const char* name, const ScopeItem* scope)
{
    if (name == nullptr || name[0] == '\0' || scope == nullptr)
        return false;
    return TemplateItem::isTemplateName(name, *scope);
}
