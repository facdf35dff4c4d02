// The services object over the symbol model: construction, the current
// store, the closest enclosing class, the size queries, the environment
// flags and the operations that still refuse.

#include <cstring>
#include <functional>
#include <stdexcept>
#include <string>

#include <gtest/gtest.h>

#include "ServicesFixture.h"
#include "compiler/EE_InstructionStream.h"
#include "compiler/EE_OstrelDeclaration.h"
#include "compiler/EE_OstrelDeclarationStore.h"
#include "frontend/EE_Name.h"
#include "frontend/EE_ArenaString.h"
#include "frontend/EE_Declaration.h"
#include "frontend/EE_ImaginaryExpression.h"
#include "frontend/EE_MemberAccessList.h"
#include "testseam/ServicesTestSeam.h"

namespace {

unsigned traceCount(const TestHost& host, const std::string& part)
{
    unsigned n = 0;
    for (const std::string& line : host.texts())
        if (line.find(part) != std::string::npos)
            ++n;
    return n;
}

TEST_F(ServicesTest, InAFileScopeTheCurrentStoreIsTheGlobalStore)
{
    EE_OstrelServices inFile(scopeFilescope(), scopeFilescope());
    EXPECT_EQ(inFile.currentStore(), inFile.globalStore());
    EXPECT_EQ(inFile.globalScopeHandle(), scopeFilescope());
    EXPECT_EQ(inFile.globalStore()->isGlobal, 1);
    EXPECT_EQ(inFile.typeDescriptorOfClosestEnclosingClass(), nullptr) << "no class at the global store";

    // In main the current store is main's own, and setCurrentStore swaps.
    EE_DeclarationStore* mainStore = services->currentStore();
    EXPECT_NE(mainStore, services->globalStore());
    EXPECT_EQ(mainStore->isGlobal, 0);
    EXPECT_EQ(mainStore->name, nullptr);
    EXPECT_EQ(services->setCurrentStore(*services->globalStore()), mainStore);
    EXPECT_EQ(services->currentStore(), services->globalStore());
    EXPECT_EQ(services->typeDescriptorOfClosestEnclosingClass(), nullptr);
    services->setCurrentStore(*mainStore);
    EXPECT_EQ(services->typeDescriptorOfClosestEnclosingClass(), nullptr) << "main is no member function";
}

TEST_F(ServicesTest, InAMemberFunctionOfANestedClassTheEnclosingClassIsTheInnermost)
{
    const NestedClasses n = nestedClasses();
    EE_OstrelServices inMethod(n.method, scopeFilescope());
    EE_TypeDescriptor* klass = inMethod.typeDescriptorOfClosestEnclosingClass();
    ASSERT_NE(klass, nullptr);
    EXPECT_EQ(klass->kind, EE_TypeDescriptor::Class);
    EXPECT_TRUE(isSameType(keyOf(klass), hostType(n.inner)));
    ASSERT_NE(klass->declaration, nullptr);
    EXPECT_NE(std::strstr(klass->declaration->name->data(), "Inner"), nullptr) << klass->declaration->name->data();
    // Asked again: the same descriptor.
    EXPECT_EQ(inMethod.typeDescriptorOfClosestEnclosingClass(), klass);

    // The store of the member function has no name; its owning class is the
    // class store, and that store's enclosing store is the outer class's.
    EE_DeclarationStore* method = inMethod.currentStore();
    EXPECT_EQ(method->name, nullptr);
    EE_DeclarationStore* innerStore = method->owningClass();
    ASSERT_NE(innerStore, nullptr);
    ASSERT_NE(innerStore->name, nullptr);
    EXPECT_EQ(innerStore->owningClass(), nullptr);
    EE_DeclarationStore* outerStore = innerStore->enclosingDeclarationStore();
    ASSERT_NE(outerStore, nullptr);
    ASSERT_NE(outerStore->name, nullptr);
    EXPECT_EQ(outerStore->enclosingDeclarationStore(), inMethod.globalStore());
    EXPECT_EQ(innerStore->enclosingDeclarationStore(), outerStore) << "kept once found";

    // Made current, the inner class store answers itself.
    inMethod.setCurrentStore(*innerStore);
    EXPECT_EQ(inMethod.typeDescriptorOfClosestEnclosingClass(), klass);
}

// A class scope whose name the model cannot give.
class UnnamableClassScope : public ScopeItem {
public:
    explicit UnnamableClassScope(const LCC_Eval_Context_Info* context) : ScopeItem(context, ScopeItem::classScope) {}
    const char* name() const override { throw std::runtime_error("no name"); }
};

TEST_F(ServicesTest, AConstructionThatThrowsLeavesNothingBehind)
{
    // The current scope's store is named after the arena and the global
    // store were made; the exception passes on and the sanitizer build sees
    // no leak.
    UnnamableClassScope classScope(mainContext);
    EXPECT_THROW(EE_OstrelServices broken(&classScope, scopeFilescope()), std::runtime_error);
}

TEST_F(ServicesTest, SizeOfIntAsksTheModelOnce)
{
    host.clearLines();
    EXPECT_EQ(services->sizeOfInt(), 4u);
    const unsigned asked = traceCount(host, "sizeOfType");
    EXPECT_EQ(asked, 1u);
    EXPECT_EQ(services->sizeOfInt(), 4u);
    EXPECT_EQ(traceCount(host, "sizeOfType"), asked);

    env->setAddressSize(8);
    EE_OstrelServices wide(scope, scopeFilescope());
    EXPECT_EQ(wide.sizeOfLongInt(), 8u);
    EXPECT_EQ(wide.sizeOfLongInt(), 8u);
    EXPECT_EQ(traceCount(host, "sizeOfType"), asked + 1);
}

TEST_F(ServicesTest, PackedDecimalHasNoSizeOutsideCobol)
{
    TYPE_INDEX packed = records().packedDecimalType(7, 2, true);
    EE_TypeDescriptor* descriptor = services->findOrCreateTypeDescriptor(hostType(packed));
    ASSERT_EQ(descriptor->kind, EE_TypeDescriptor::PackedDecimal);
    long long size = 99;
    EXPECT_FALSE(services->sizeOf(*descriptor, size));
    EXPECT_EQ(size, -1);
    EXPECT_TRUE(services->sizeOf(*services->signedShortIntTypeDescriptor(), size));
    EXPECT_EQ(size, 2);
}

TEST_F(CobolServicesTest, PackedDecimalHasItsSizeInCobol)
{
    TYPE_INDEX packed = records().packedDecimalType(7, 2, true);
    EE_TypeDescriptor* descriptor = services->findOrCreateTypeDescriptor(hostType(packed));
    long long size = 0;
    EXPECT_TRUE(services->sizeOf(*descriptor, size));
    EXPECT_EQ(size, 4);
    EXPECT_TRUE(services->isCobol());
    EXPECT_FALSE(services->isFortran());
}

TEST_F(ServicesTest, TypeQueriesAnswerForTheDescriptorsTypes)
{
    const TypeItem* table = hostType(records().arrayType(TYPE_INDEX{0, 130}, 40));
    EE_TypeDescriptor* array = services->findOrCreateTypeDescriptor(table);
    EXPECT_EQ(services->rankOf(*array), 1u);
    EXPECT_EQ(services->lowerBound(*array, 0), 0);
    EXPECT_EQ(services->upperBound(*array, 0), 9);
    EXPECT_TRUE(services->isSameAs(*array, *services->findOrCreateTypeDescriptor(table)));
    EXPECT_FALSE(services->isSameAs(*array, *services->signedIntTypeDescriptor()));
    EXPECT_EQ(services->arraySectionTypeDescriptor()->kind, EE_TypeDescriptor::ArraySection);
    EXPECT_EQ(services->zonedDecimalTypeDescriptor()->kind, EE_TypeDescriptor::ZonedDecimal);
}

TEST_F(ServicesTest, EnvironmentFlagsAreTakenAtConstruction)
{
    EXPECT_TRUE(services->supportsAssignment());
    EXPECT_FALSE(services->supportsDecimalFloatingPoint());
    EXPECT_EQ(EE_setServicesEnvironmentFlags(*services, 8), debuggerEnvironment());
    EXPECT_FALSE(services->supportsAssignment());
    EXPECT_TRUE(services->supportsDecimalFloatingPoint());
    // Browse mode set later does not reach an object already made.
    const bool before = setBrowseMode(true);
    EXPECT_EQ(EE_setServicesEnvironmentFlags(*services, 1), 8u);
    setBrowseMode(before);
}

TEST_F(ServicesTest, CharactersAndFormatting)
{
    EXPECT_EQ(services->mblen("abc"), 1);
    EXPECT_EQ(services->mblen(nullptr), 0);
    char buffer[8] = {};
    EXPECT_EQ(services->utf8encode(0x20AC, buffer), 3);
    EXPECT_STREQ(buffer, "\xE2\x82\xAC");

    EXPECT_FALSE(services->formatting());
    services->formatEnable();
    EXPECT_TRUE(services->formatting());
    services->formatDisable();
    EXPECT_FALSE(services->formatting());

    EXPECT_EQ(services->currentMachine(), nullptr);
    EE_InstructionStream stream;
    services->setMachine(&stream);
    EXPECT_EQ(services->currentMachine(), &stream);
}

TEST_F(ServicesTest, OperationsRefuseOutsideWhatTheyNeedAndConditionNamesAreNotExpanded)
{
    EE_Declaration* declaration = services->findOrCreateDeclaration(intType(), "n", nullptr);
    EE_String text("x");
    const std::function<void()> refusing[] = {
        [&] { services->createThisExpression(); },               // no class around main
        [&] { services->loadThisPointer(); },                    // no machine
        [&] { services->load(*declaration); },                   // no machine
        [&] { services->globalStore()->findTypeInScope(text); }, // no type x
        [&] { services->globalStore()->qualifiedScopeLookup(nullptr, 0); },
    };
    for (std::size_t i = 0; i < std::size(refusing); ++i)
        EXPECT_EQ(eeExceptionCode(refusing[i]), 2) << i;
    EXPECT_EQ(services->lookup(text, services->globalStore(), 0), nullptr);
    EE_ImaginaryExpression node;
    EXPECT_EQ(services->expandConditionNameExpression(node, 0), nullptr);
    EXPECT_EQ(services->expandConditionNameExpression(node, 1), nullptr);
}

} // namespace
