#include "compiler/EE_OstrelTypeDescriptor.h"

const TypeItem* EE_OstrelTypeDescriptor::typeOf(const EE_TypeDescriptor& descriptor)
{
    return static_cast<const EE_OstrelTypeDescriptor&>(descriptor).key;
}
