// The services object: the operations that come with name lookup, the
// syntax-tree factory, literal values, templates and code generation. Until
// they are built each refuses with EE_Exception {2, no node}; the build
// reports that as a parse error. Turning the display name's formatting on
// and off and the condition-name expansion answer already.

#include "compiler/EE_OstrelServices.h"
#include "compiler/ServicesRefusal.h"

EE_TemplateArgument* EE_OstrelServices::createTemplateArgument(EE_Expression&)
{
    servicesRefuse();
}

EE_TemplateArgument* EE_OstrelServices::createTemplateArgument(const EE_TypeDescriptor&)
{
    servicesRefuse();
}

EE_ConditionalExpression* EE_OstrelServices::createConditionalExpression(EE_Expression*, EE_Expression*, EE_Expression*)
{
    servicesRefuse();
}

EE_UnaryExpression* EE_OstrelServices::createUnaryExpression(EE_UnaryExpression::Kind, EE_Expression*)
{
    servicesRefuse();
}

EE_BinaryExpression* EE_OstrelServices::createBinaryExpression(EE_BinaryExpression::Kind, EE_Expression*,
                                                               EE_Expression*)
{
    servicesRefuse();
}

EE_CastExpression* EE_OstrelServices::createCastExpression(EE_CastExpression::Kind, EE_TypeDescriptor*, EE_Expression*)
{
    servicesRefuse();
}

EE_SizeofTypeExpression* EE_OstrelServices::createSizeofTypeExpression(EE_TypeDescriptor*)
{
    servicesRefuse();
}

EE_TypeidOfTypeExpression* EE_OstrelServices::createTypeidOfTypeExpression(EE_TypeDescriptor*)
{
    servicesRefuse();
}

EE_OffsetofExpression* EE_OstrelServices::createOffsetofExpression(EE_Name*)
{
    servicesRefuse();
}

EE_MemberExpression* EE_OstrelServices::createMemberExpression(EE_MemberExpression::Kind, EE_Expression*, EE_Name*)
{
    servicesRefuse();
}

EE_LiteralExpression* EE_OstrelServices::createLiteralExpression(EE_LiteralValue*)
{
    servicesRefuse();
}

EE_FigConstantExpression* EE_OstrelServices::createFigConstantExpression(EE_FigConstant*)
{
    servicesRefuse();
}

EE_ThisExpression* EE_OstrelServices::createThisExpression()
{
    servicesRefuse();
}

EE_NameExpression* EE_OstrelServices::createNameExpression(EE_Name*)
{
    servicesRefuse();
}

EE_SubscriptExpression* EE_OstrelServices::createNameSubrangeExpression(EE_Expression*, EE_Expression*)
{
    servicesRefuse();
}

EE_ParenthesesExpression* EE_OstrelServices::createParenthesesExpression(EE_Expression*)
{
    servicesRefuse();
}

EE_ImaginaryExpression* EE_OstrelServices::createImaginaryExpression()
{
    servicesRefuse();
}

EE_Parameter* EE_OstrelServices::createParameter(EE_Expression*, EE_Parameter*)
{
    servicesRefuse();
}

EE_FunctionCallExpression* EE_OstrelServices::createFunctionCallExpression(EE_Expression*, EE_Parameter*, int)
{
    servicesRefuse();
}

EE_ArraySectionExpression* EE_OstrelServices::createArraySectionExpression(EE_Expression*, EE_Expression*,
                                                                           EE_Expression*, unsigned int, int)
{
    servicesRefuse();
}

EE_VectorSubscriptExpression* EE_OstrelServices::createVectorSubscriptExpression(EE_Parameter*, unsigned int,
                                                                                 unsigned int)
{
    servicesRefuse();
}

EE_Expression* EE_OstrelServices::expandConditionNameExpression(EE_Expression&, int)
{
    // No expansion yet: the name is read as it stands.
    return nullptr;
}

EE_LiteralValue* EE_OstrelServices::findOrCreateLiteralValue(EE_Token&)
{
    servicesRefuse();
}

EE_LiteralValue* EE_OstrelServices::findOrCreateTrueLiteralValue()
{
    servicesRefuse();
}

EE_LiteralValue* EE_OstrelServices::findOrCreateFalseLiteralValue()
{
    servicesRefuse();
}

EE_LiteralValue* EE_OstrelServices::findOrCreateDefaultSectionLiteralValue()
{
    servicesRefuse();
}

EE_LiteralValue* EE_OstrelServices::createIntegerLiteralValue(long long)
{
    servicesRefuse();
}

EE_LiteralValue* EE_OstrelServices::createFixedPointLiteralValue(long long)
{
    servicesRefuse();
}

long long EE_OstrelServices::integerValue(const EE_LiteralValue&)
{
    servicesRefuse();
}

EE_FigConstant* EE_OstrelServices::findOrCreateFigConstantValue(EE_Token&)
{
    servicesRefuse();
}

void EE_OstrelServices::logicalNot(const EE_TypeDescriptor&) const
{
    servicesRefuse();
}

void EE_OstrelServices::logicalEqv(const EE_TypeDescriptor&) const
{
    servicesRefuse();
}

void EE_OstrelServices::logicalNeqv(const EE_TypeDescriptor&) const
{
    servicesRefuse();
}

void EE_OstrelServices::negate(const EE_TypeDescriptor&) const
{
    servicesRefuse();
}

void EE_OstrelServices::unaryPlus(const EE_TypeDescriptor&) const
{
    servicesRefuse();
}

void EE_OstrelServices::dereference(const EE_TypeDescriptor&) const
{
    servicesRefuse();
}

void EE_OstrelServices::index(const EE_TypeDescriptor&) const
{
    servicesRefuse();
}

void EE_OstrelServices::rankIndex(const EE_TypeDescriptor&, const long long&) const
{
    servicesRefuse();
}

void EE_OstrelServices::rankDereference(const EE_TypeDescriptor&, const long long&) const
{
    servicesRefuse();
}

void EE_OstrelServices::realPart(const EE_TypeDescriptor&) const
{
    servicesRefuse();
}

void EE_OstrelServices::imaginaryPart(const EE_TypeDescriptor&) const
{
    servicesRefuse();
}

void EE_OstrelServices::truncateFP(const EE_TypeDescriptor&) const
{
    servicesRefuse();
}

void EE_OstrelServices::convertTo(const EE_TypeDescriptor&) const
{
    servicesRefuse();
}

void EE_OstrelServices::convertToString(const EE_TypeDescriptor&) const
{
    servicesRefuse();
}

void EE_OstrelServices::convertToRefMod(bool, const EE_TypeDescriptor&) const
{
    servicesRefuse();
}

void EE_OstrelServices::add(const EE_TypeDescriptor&) const
{
    servicesRefuse();
}

void EE_OstrelServices::subtract(const EE_TypeDescriptor&) const
{
    servicesRefuse();
}

void EE_OstrelServices::multiply(const EE_TypeDescriptor&) const
{
    servicesRefuse();
}

void EE_OstrelServices::power(const EE_TypeDescriptor&, unsigned int) const
{
    servicesRefuse();
}

void EE_OstrelServices::divide(const EE_TypeDescriptor&) const
{
    servicesRefuse();
}

void EE_OstrelServices::remainder(const EE_TypeDescriptor&) const
{
    servicesRefuse();
}

void EE_OstrelServices::concatenate(const EE_TypeDescriptor&) const
{
    servicesRefuse();
}

void EE_OstrelServices::substring(const EE_TypeDescriptor&) const
{
    servicesRefuse();
}

void EE_OstrelServices::refMod(const EE_TypeDescriptor&) const
{
    servicesRefuse();
}

void EE_OstrelServices::refModLength(const EE_TypeDescriptor&) const
{
    servicesRefuse();
}

void EE_OstrelServices::addressAdd(const EE_TypeDescriptor&) const
{
    servicesRefuse();
}

void EE_OstrelServices::addressSubtract(const EE_TypeDescriptor&) const
{
    servicesRefuse();
}

void EE_OstrelServices::bitwiseNot(const EE_TypeDescriptor&) const
{
    servicesRefuse();
}

void EE_OstrelServices::bitwiseOr(const EE_TypeDescriptor&) const
{
    servicesRefuse();
}

void EE_OstrelServices::bitwiseXor(const EE_TypeDescriptor&) const
{
    servicesRefuse();
}

void EE_OstrelServices::bitwiseAnd(const EE_TypeDescriptor&) const
{
    servicesRefuse();
}

void EE_OstrelServices::shiftLeft(const EE_TypeDescriptor&) const
{
    servicesRefuse();
}

void EE_OstrelServices::shiftRight(const EE_TypeDescriptor&)
{
    servicesRefuse();
}

void EE_OstrelServices::compareNotEqual(const EE_TypeDescriptor&) const
{
    servicesRefuse();
}

void EE_OstrelServices::compareEqual(const EE_TypeDescriptor&) const
{
    servicesRefuse();
}

void EE_OstrelServices::compareGreater(const EE_TypeDescriptor&) const
{
    servicesRefuse();
}

void EE_OstrelServices::compareLess(const EE_TypeDescriptor&) const
{
    servicesRefuse();
}

void EE_OstrelServices::compareGreaterOrEqual(const EE_TypeDescriptor&) const
{
    servicesRefuse();
}

void EE_OstrelServices::compareLessOrEqual(const EE_TypeDescriptor&) const
{
    servicesRefuse();
}

void EE_OstrelServices::load(EE_Declaration&) const
{
    servicesRefuse();
}

void EE_OstrelServices::loadAddress(EE_Declaration&) const
{
    servicesRefuse();
}

void EE_OstrelServices::loadBaseAddress(const EE_Name&, const EE_TypeDescriptor&) const
{
    servicesRefuse();
}

void EE_OstrelServices::loadMember(const EE_Name&, const EE_TypeDescriptor&) const
{
    servicesRefuse();
}

void EE_OstrelServices::loadMemberAddress(const EE_Name&, const EE_TypeDescriptor&) const
{
    servicesRefuse();
}

void EE_OstrelServices::loadThisPointer() const
{
    servicesRefuse();
}

void EE_OstrelServices::loadSizeOf(const EE_TypeDescriptor&) const
{
    servicesRefuse();
}

void EE_OstrelServices::loadOneLiteral(const EE_TypeDescriptor&) const
{
    servicesRefuse();
}

void EE_OstrelServices::loadImaginaryILiteral(const EE_TypeDescriptor&) const
{
    servicesRefuse();
}

void EE_OstrelServices::loadZeroLiteral(const EE_TypeDescriptor&) const
{
    servicesRefuse();
}

void EE_OstrelServices::loadConstant(EE_LiteralValue&) const
{
    servicesRefuse();
}

void EE_OstrelServices::loadFigConstant(EE_FigConstant&) const
{
    servicesRefuse();
}

void EE_OstrelServices::store() const
{
    servicesRefuse();
}

void EE_OstrelServices::storeMember(EE_Declaration&) const
{
    servicesRefuse();
}

void EE_OstrelServices::duplicate() const
{
    servicesRefuse();
}

void EE_OstrelServices::pop() const
{
    servicesRefuse();
}

void EE_OstrelServices::functionCall(unsigned long, bool) const
{
    servicesRefuse();
}

void EE_OstrelServices::callCOBOLProgram(ArgMode*, unsigned int) const
{
    servicesRefuse();
}

EE_Label& EE_OstrelServices::createLabel() const
{
    servicesRefuse();
}

void EE_OstrelServices::defineLabel(EE_Label&) const
{
    servicesRefuse();
}

void EE_OstrelServices::skipIfTrueUntil(EE_Label&) const
{
    servicesRefuse();
}

void EE_OstrelServices::skipIfFalseUntil(EE_Label&) const
{
    servicesRefuse();
}

void EE_OstrelServices::skipUntil(EE_Label&) const
{
    servicesRefuse();
}

void EE_OstrelServices::loadArraySection() const
{
    servicesRefuse();
}

void EE_OstrelServices::loadIndex(long long) const
{
    servicesRefuse();
}

void EE_OstrelServices::loadParam(long long) const
{
    servicesRefuse();
}

void EE_OstrelServices::pushArraySection() const
{
    servicesRefuse();
}

void EE_OstrelServices::loadVectorSubscript() const
{
    servicesRefuse();
}

void EE_OstrelServices::formatEnable()
{
    formatFlag = 1;
}

void EE_OstrelServices::formatDisable()
{
    formatFlag = 0;
}

void EE_OstrelServices::formatSignature(const EE_String&) const
{
    servicesRefuse();
}

void EE_OstrelServices::formatString(const char*) const
{
    servicesRefuse();
}

void EE_OstrelServices::formatIntegral() const
{
    servicesRefuse();
}

EE_Name* EE_OstrelServices::lookup(EE_String&, EE_DeclarationStore*, int)
{
    servicesRefuse();
}

EE_Name* EE_OstrelServices::lookup(EE_String&, EE_MemberAccessList&, EE_DeclarationStore*)
{
    servicesRefuse();
}

EE_BaseMemberName* EE_OstrelServices::lookupBase(const EE_TypeDescriptor&, const EE_TypeDescriptor&)
{
    servicesRefuse();
}

EE_Name* EE_OstrelServices::resolveTemplate(const EE_Name&, EE_TemplateArgument*)
{
    servicesRefuse();
}

int EE_OstrelServices::prependBaseLookupChain(EE_BaseMemberName&, EE_DeclarationStore&, int&)
{
    servicesRefuse();
}

EE_TypeDescriptor* EE_OstrelServices::determineFunctionReturnType(EE_Name&, EE_TypeDescriptor*, EE_TypeDescriptor*)
{
    servicesRefuse();
}
