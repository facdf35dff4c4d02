// The query interface of the symbol model over a simulated program: a
// compilation unit "unit" with a function "main" whose context is current.

#include <cstdint>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "../types/SymbolsFixture.h"
#include "CompilerFixture.h"
#include "compiler/CxxevalInterface.h"
#include "services/EvaluationEnvironment.h"
#include "services/ExpressionRepresentation.h"
#include "testhost/TestHostFixture.h"
#include "types/CreatedTypeItem.h"
#include "types/ScopeItem.h"
#include "types/SymbolItem.h"
#include "types/SymbolList.h"
#include "types/TemplateItem.h"
#include "types/TypeItem.h"

namespace {

// The program of the symbol tests, with what these tests add to it.
class QueryTest : public SymbolsTest {
protected:
    explicit QueryTest(int language = EvaluationEnvironment::languageCPP) : SymbolsTest(language) {}

    // A static variable of main.
    void declareVariable(const std::string& name, TYPE_INDEX type)
    {
        host.declare(*mainContext, records().staticVariable(name, type, 1, 0x20));
    }

    const TypeItem* hostType(TYPE_INDEX index) { return CreatedTypeItem::findOrCreateType(index); }
};

class CobolQueryTest : public QueryTest {
protected:
    CobolQueryTest() : QueryTest(EvaluationEnvironment::languageCOBOL) {}
};

TEST_F(QueryTest, NullHandlesAnswerNone)
{
    EXPECT_STREQ(symName(nullptr), "");
    EXPECT_TRUE(host.traced("Name = \"\""));
    EXPECT_EQ(symType(nullptr), nullptr);
    EXPECT_TRUE(host.traced("Called with null symbol handle"));
    EXPECT_EQ(symInfo(nullptr), nullptr);
    EXPECT_FALSE(hasOwnerSymbol(nullptr));
    EXPECT_EQ(symScope(nullptr), nullptr);
    EXPECT_EQ(scopeClass(nullptr), nullptr);
    EXPECT_FALSE(symIsConditionName(nullptr));
    EXPECT_FALSE(symIsHiddenInEnclosedScopes(nullptr));
    EXPECT_FALSE(symIsBuiltinProcedure(nullptr));
    EXPECT_FALSE(symIsProcedure(nullptr));
    EXPECT_FALSE(isReturnTypeSameAsArg1(nullptr));
    long long value = 7;
    EXPECT_EQ(symbolValue(nullptr, &value), 0);
    EXPECT_EQ(value, 7);

    EXPECT_EQ(listFindVars("x", nullptr), nullptr);
    EXPECT_EQ(listFindVars("", scope), nullptr);
    EXPECT_EQ(listSize(nullptr), 0u);
    EXPECT_EQ(listFirstVar(nullptr), nullptr);
    EXPECT_EQ(listNextVar(nullptr), nullptr);
    EXPECT_EQ(listEntrySymbol(nullptr), nullptr);
    EXPECT_EQ(listEntryNumberOfQualifiers(nullptr), 0u);
    EXPECT_EQ(listEntryNextQualifier(nullptr), nullptr);
    EXPECT_EQ(listEntryClosestQualifier(nullptr), nullptr);
    EXPECT_EQ(listEntryOutermostQualifier(nullptr), nullptr);

    EXPECT_FALSE(scopeIsFile(nullptr));
    EXPECT_FALSE(scopeIsBlock(nullptr));
    EXPECT_FALSE(scopeIsClass(nullptr));
    EXPECT_FALSE(scopeIsMemberFunc(nullptr));
    EXPECT_EQ(scopeContainer(nullptr), nullptr);
    EXPECT_EQ(scopeClassName(nullptr), nullptr);
    EXPECT_TRUE(host.traced("name = \"<NULL>\""));
    EXPECT_EQ(scopeType(nullptr), nullptr);

    EXPECT_EQ(reduceType(nullptr), nullptr);
    EXPECT_EQ(rankOfType(nullptr), 0u);
    EXPECT_EQ(boundOfType(nullptr, true, 0), 0);
    EXPECT_EQ(sizeOfType(nullptr), 0u);
    TypeItem empty;
    EXPECT_EQ(sizeOfType(&empty), 0u);
    EXPECT_FALSE(isSameType(nullptr, nullptr));
    EXPECT_FALSE(isSameType(nullptr, hostType(TYPE_INDEX{0, 130})));
    EXPECT_FALSE(isSameType(&empty, hostType(TYPE_INDEX{0, 130})));
    EXPECT_EQ(typeClassInfo(nullptr), nullptr);
    EXPECT_EQ(typeFunctionInfo(nullptr), nullptr);

    EXPECT_EQ(startTemplateResolution(nullptr, scope), nullptr);
    EXPECT_EQ(startTemplateResolution("", scope), nullptr);
    EXPECT_EQ(startTemplateResolution("Pair", nullptr), nullptr);
    EXPECT_FALSE(addTemplateTypeParm(nullptr, hostType(TYPE_INDEX{0, 130})));
    EXPECT_FALSE(addTemplateIntegerParm(nullptr, 3, true));
    const TemplateResolution none = resolveTemplate(nullptr);
    EXPECT_EQ(none.type, nullptr);
    EXPECT_EQ(none.symbol, nullptr);
    EXPECT_FALSE(isTemplateName("", scope));
    EXPECT_FALSE(isTemplateName("Pair", nullptr));
}

TEST_F(QueryTest, ReturnTypeOfNoSymbolIsAnInvalidSymbol)
{
    const std::optional<RaisedInvalidOp> raised = raisedInvalidOp([] { returnType(nullptr); });
    expectInvalidOp(raised, InvalidOp::RTRC_InvalidSymbol, "const TypeItem* returnType(const SymbolItem*)");
}

TEST_F(QueryTest, ArgumentGuardsRefuseWithTheirSignatureAndLine)
{
    TypeItem empty;
    struct Case {
        const char* what;
        std::function<void()> call;
        const char* signature;
        unsigned line;
        const char* message;
    };
    const char* typeGuard = "void validateType(const TypeItem*, const char*, unsigned int)";
    const char* nameGuard = "void validateStringName(const Char*, const char*, unsigned int)";
    const char* stringGuard = "void validateString(const Char*, const char*, unsigned int)";
    const char* scopeGuard = "void validateScope(const ScopeItem*, const char*, unsigned int)";
    const std::vector<Case> cases = {
        {"typeKind", [] { typeKind(nullptr); }, typeGuard, 1910, "null type"},
        {"typeName", [&] { typeName(&empty); }, typeGuard, 1915, "invalid type"},
        {"createPointerTo", [] { createPointerTo(nullptr); }, typeGuard, 1910, "null type"},
        {"createArrayOf", [&] { createArrayOf(&empty, 3); }, typeGuard, 1915, "invalid type"},
        {"typeCharstringInfo", [] { typeCharstringInfo(nullptr); }, typeGuard, 1910, "null type"},
        {"typeFixedPointInfo", [] { typeFixedPointInfo(nullptr); }, typeGuard, 1910, "null type"},
        {"typeEnumInfo", [] { typeEnumInfo(nullptr); }, typeGuard, 1910, "null type"},
        {"createRefModType", [] { createRefModType(39, nullptr); }, typeGuard, 1910, "null type"},
        {"symFindVar empty", [&] { symFindVar("", scope); }, nameGuard, 1880, "empty string"},
        {"symFindVar null", [&] { symFindVar(nullptr, scope); }, stringGuard, 1869, "null string"},
        {"symFindType empty", [&] { symFindType("", scope); }, nameGuard, 1880, "empty string"},
        {"findNamedType no scope", [] { findNamedType("node", nullptr); }, scopeGuard, 1859, "null scope"},
        {"memberFuncOwningClassScope", [] { memberFuncOwningClassScope(nullptr); }, scopeGuard, 1859, "null scope"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        host.clearLines();
        const std::optional<RaisedInvalidOp> raised = raisedInvalidOp(c.call);
        expectInvalidOp(raised, InvalidOp::RTRC_Other, c.signature, c.line);
        EXPECT_TRUE(host.traced(std::string("cxxeval interface error - ") + c.message));
    }
}

TEST_F(QueryTest, VariablesAndTypesAreFoundByNameAndLookupFailuresAnswerNone)
{
    declareVariable("count", TYPE_INDEX{0, 130});
    host.declare(*mainContext, records().typeName("node_t", TYPE_INDEX{0, 129}));
    // The model refuses a type name of a host integer record.
    host.declare(*mainContext, records().typeName("odd_t", records().integerType(16, false)));

    const SymbolItem* count = symFindVar("count", scope);
    ASSERT_NE(count, nullptr);
    EXPECT_STREQ(symName(count), "count");
    EXPECT_EQ(symScope(count), scope);
    EXPECT_TRUE(isSameType(symType(count), hostType(TYPE_INDEX{0, 130})));
    char handle[32];
    std::snprintf(handle, sizeof handle, "handle = %p for variable count", static_cast<const void*>(count));
    EXPECT_TRUE(host.traced(handle)) << handle;
    EXPECT_EQ(symFindVar("missing", scope), nullptr);

    const SymbolItem* node = symFindType("node_t", scope);
    ASSERT_NE(node, nullptr);
    const TypeItem* nodeType = findNamedType("node_t", scope);
    ASSERT_NE(nodeType, nullptr);
    EXPECT_EQ(sizeOfType(nodeType), 2u);
    EXPECT_TRUE(host.traced("Found type node_t in scope"));
    EXPECT_EQ(findNamedType("count", scope), nullptr);
    EXPECT_TRUE(host.traced("Cannot find type count in scope"));

    // An InvalidOp of the model's lookup is the answer none.
    host.clearLines();
    EXPECT_EQ(symFindType("odd_t", scope), nullptr);
    EXPECT_TRUE(host.traced("InvalidOp RTRC_Other"));
    EXPECT_TRUE(host.traced("Cannot find type odd_t in scope"));

    // The host fails the search: the lookups answer none and go on tracing.
    host.failSlot(HS_ExprSearchForSymbolEntry, 12, TestHost::Always);
    host.clearLines();
    EXPECT_EQ(symFindVar("other", scope), nullptr);
    EXPECT_TRUE(host.traced("Cannot find variable other in scope"));
    EXPECT_EQ(symFindType("other_t", scope), nullptr);
    EXPECT_TRUE(host.traced("Cannot find type other_t in scope"));
}

TEST_F(QueryTest, SymbolFlagsAndProcedureKinds)
{
    host.declare(*unit, *mainEntry);
    const SymbolItem* main = symFindVar("main", scope);
    ASSERT_NE(main, nullptr);
    EXPECT_TRUE(symIsProcedure(main));
    EXPECT_FALSE(symIsBuiltinProcedure(main));
    EXPECT_TRUE(host.traced("symIsProcedure = True"));
    EXPECT_TRUE(isSameType(returnType(main), hostType(TYPE_INDEX{0, 130})));
    EXPECT_FALSE(isReturnTypeSameAsArg1(main));

    declareVariable("plain", TYPE_INDEX{0, 130});
    _SYMBOL_ENTRY& hiddenEntry = records().staticVariable("hidden", TYPE_INDEX{0, 130}, 1, 0x24);
    hiddenEntry.statics.attributeA = 1;
    host.declare(*mainContext, hiddenEntry);
    EXPECT_TRUE(symIsHiddenInEnclosedScopes(symFindVar("hidden", scope)));
    EXPECT_TRUE(host.traced("symIsHiddenInEnclosedScopes = True"));
    const SymbolItem* plain = symFindVar("plain", scope);
    EXPECT_FALSE(symIsHiddenInEnclosedScopes(plain));
    EXPECT_FALSE(symIsProcedure(plain));
    EXPECT_FALSE(symIsConditionName(plain));
    EXPECT_TRUE(host.traced("symIsConditionName = False"));
    EXPECT_FALSE(hasOwnerSymbol(plain));
    ASSERT_NE(symInfo(plain), nullptr);
    EXPECT_EQ(symInfo(plain), &plain->memberLayout());
}

TEST_F(QueryTest, SymbolListsOfAName)
{
    declareVariable("count", TYPE_INDEX{0, 130});
    SymbolList* list = listFindVars("count", scope);
    ASSERT_NE(list, nullptr);
    ASSERT_EQ(listSize(list), 1u);
    SymbolListEntry* entry = listFirstVar(list);
    ASSERT_NE(entry, nullptr);
    EXPECT_STREQ(symName(listEntrySymbol(entry)), "count");
    EXPECT_EQ(listEntryNumberOfQualifiers(entry), 0u);
    EXPECT_EQ(listEntryClosestQualifier(entry), nullptr);
    EXPECT_EQ(listEntryOutermostQualifier(entry), nullptr);
    EXPECT_EQ(listNextVar(list), nullptr);
    freeList(list);
    EXPECT_EQ(listFindVars("count", scope), list) << "the list stays with its scope";
}

TEST_F(QueryTest, SymbolValueOfConstantsAndOfOtherSymbols)
{
    const std::int32_t seven = 7;
    host.declare(*mainContext, records().constant("SEVEN", TYPE_INDEX{0, 130}, &seven));
    declareVariable("plain", TYPE_INDEX{0, 130});
    long long value = 0;
    EXPECT_EQ(symbolValue(symFindVar("SEVEN", scope), &value), 1);
    EXPECT_EQ(value, 7);
    value = 99;
    EXPECT_EQ(symbolValue(symFindVar("plain", scope), &value), 0);
    EXPECT_EQ(value, 99);
}

TEST_F(QueryTest, ScopeKindsAndContainers)
{
    EXPECT_FALSE(scopeIsFile(scope));
    const ScopeItem* file = scopeFilescope();
    ASSERT_NE(file, nullptr);
    EXPECT_TRUE(scopeIsFile(file));
    EXPECT_TRUE(host.traced(".File?=1"));
    EXPECT_EQ(scopeContainer(scope), file);
    EXPECT_EQ(scopeContainer(file), nullptr);
    EXPECT_EQ(scopeType(scope), nullptr);

    const ScopeItem* block = new ScopeItem(mainContext, ScopeItem::block);
    EXPECT_TRUE(scopeIsBlock(block));
    const ScopeItem* plainClass = new ScopeItem(mainContext, ScopeItem::structureScope);
    EXPECT_TRUE(scopeIsClass(plainClass));
    EXPECT_EQ(scopeType(plainClass), nullptr) << "only a class scope embeds a class type";

    TYPE_INDEX widget = records().classType({"Widget", "", 4, true, TE_CLASS, 0, {}, {{"size", {0, 130}, 0}}});
    const ScopeItem* widgetScope = typeScope(hostType(widget));
    ASSERT_NE(widgetScope, nullptr);
    EXPECT_TRUE(scopeIsClass(widgetScope));
    ASSERT_NE(scopeType(widgetScope), nullptr);
    EXPECT_TRUE(isSameType(scopeType(widgetScope), hostType(widget)));
    EXPECT_NE(typeClassInfo(hostType(widget)), nullptr);
    EXPECT_EQ(typeClassInfo(hostType(TYPE_INDEX{0, 130})), nullptr);
    EXPECT_EQ(typeScope(hostType(TYPE_INDEX{0, 130})), nullptr);

    // Only a member function has an owning class.
    host.clearLines();
    const std::optional<RaisedInvalidOp> raised = raisedInvalidOp([&] { memberFuncOwningClassScope(scope); });
    expectInvalidOp(raised, InvalidOp::RTRC_Other, "const ScopeItem* memberFuncOwningClassScope(const ScopeItem*)");
    EXPECT_TRUE(host.traced("cxxeval interface error - invalid scope"));

    // The defining scope of a type the evaluator made is the file scope; a
    // host type has none here.
    EXPECT_EQ(scopeDefiningType(createCharstringType(0, 4, 0)), file);
    const std::optional<RaisedInvalidOp> fixme = raisedInvalidOp([&] { scopeDefiningType(hostType(widget)); });
    ASSERT_TRUE(fixme.has_value());
    EXPECT_EQ(fixme->code, InvalidOp::RTRC_FIXME);
}

TEST_F(QueryTest, EnumerationInformation)
{
    const std::optional<RaisedInvalidOp> raised = raisedInvalidOp([&] { typeEnumInfo(hostType(TYPE_INDEX{0, 130})); });
    expectInvalidOp(raised, InvalidOp::RTRC_Other, "EnumInfoBlock* typeEnumInfo(const TypeItem*)");
    EXPECT_TRUE(host.traced("cxxeval interface error - type not enum"));

    TYPE_INDEX colour = records().enumType("colour", TYPE_INDEX{0, 130}, {{"red", 0}, {"green", 1}});
    const EnumInfoBlock* info = typeEnumInfo(hostType(colour));
    EXPECT_EQ(info->size, 4u);
    EXPECT_EQ(info->flags, 2u);
    records().type(colour)->enumeration.enumeratorList = TYPE_INDEX{0, 0};
    TYPE_INDEX bare = records().enumType("bare", TYPE_INDEX{0, 130}, {});
    records().type(bare)->enumeration.enumeratorList = TYPE_INDEX{0, 0};
    EXPECT_EQ(typeEnumInfo(hostType(bare))->flags, 3u);
    EXPECT_NE(enumType(hostType(colour)), nullptr);
}

TEST_F(QueryTest, ReducedTypesStayValidAcrossLaterCalls)
{
    TYPE_INDEX colour = records().enumType("colour", TYPE_INDEX{0, 130}, {{"red", 0}});
    const TypeItem* enumeration = hostType(colour);
    const TypeItem* reduced = reduceType(enumeration);
    ASSERT_NE(reduced, nullptr);
    ASSERT_NE(reduced, enumeration);
    EXPECT_TRUE(host.traced("Reducing type"));
    // Other answers and other reductions come between.
    for (unsigned i = 0; i < 50; ++i) {
        createPointerTo(enumeration);
        createArrayOf(hostType(TYPE_INDEX{0, 130}), i + 1);
        reduceType(hostType(records().enumType("e" + std::to_string(i), TYPE_INDEX{0, 129}, {})));
    }
    EXPECT_TRUE(isSameType(reduced, hostType(TYPE_INDEX{0, 130})));
    EXPECT_EQ(sizeOfType(reduced), 4u);
    EXPECT_EQ(reduceType(enumeration), reduced);
    const TypeItem* plain = hostType(TYPE_INDEX{0, 130});
    EXPECT_EQ(reduceType(plain), plain);
}

TEST_F(QueryTest, DerivedTypes)
{
    const TypeItem* integer = hostType(TYPE_INDEX{0, 130});
    const TypeItem* pointer = createPointerTo(integer);
    EXPECT_EQ(int(typeKind(pointer)), int(t_pointer));
    EXPECT_TRUE(isSameType(typePointedTo(pointer), integer));
    EXPECT_TRUE(isSameType(typeOfArrayElement(pointer), integer));
    const TypeItem* array = createArrayOf(integer, 10);
    EXPECT_EQ(sizeOfType(array), 40u);
    EXPECT_TRUE(isSameType(typeOfArrayElement(array), integer));
    EXPECT_TRUE(host.traced("Size = 10, type = "));
    const TypeItem* reference = createReferenceTo(integer);
    EXPECT_EQ(int(typeKind(reference)), int(t_reference));
    EXPECT_TRUE(isSameType(typeReferredTo(reference), integer));
    EXPECT_EQ(int(typeKind(createAddressOfReferenceTo(integer))), int(t_addressOfReference));
    EXPECT_TRUE(isSameType(pointer, pointer));
    EXPECT_FALSE(isSameType(pointer, integer));
    EXPECT_EQ(rankOfType(array), 1u);
    EXPECT_TRUE(host.traced("rankOf type is 1"));

    TYPE_INDEX fn = records().functionType(TYPE_INDEX{0, 130}, {TYPE_INDEX{0, 129}});
    const FunctionInfoBlock* info = typeFunctionInfo(hostType(fn));
    ASSERT_NE(info, nullptr);
    EXPECT_EQ(info->parameterCount, 1u);
}

TEST_F(CobolQueryTest, BoundsOfADimension)
{
    const TypeItem* table = hostType(records().arrayType(TYPE_INDEX{0, 130}, 40));
    EXPECT_EQ(boundOfType(table, false, 0), 1);
    EXPECT_EQ(boundOfType(table, true, 0), 10);
    EXPECT_TRUE(host.traced("lowerBoundOf type is 1"));
    EXPECT_TRUE(host.traced("upperBoundOf type is 10"));
}

TEST_F(QueryTest, SizeTAndPtrdiffTFollowTheAddressSize)
{
    struct Case {
        unsigned addressSize;
        TypeKind sizeKind;
        TypeKind differenceKind;
    };
    const Case cases[] = {{4, t_unsignedInt, t_signedInt}, {8, t_unsignedLongInt, t_signedLongInt}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.addressSize);
        env->setAddressSize(c.addressSize);
        const TypeItem* size = typeSizeT();
        const TypeItem* difference = typePtrdiffT();
        EXPECT_EQ(size, TypeItem::simpleType(c.sizeKind));
        EXPECT_EQ(difference, TypeItem::simpleType(c.differenceKind));
        EXPECT_EQ(sizeOfType(size), c.addressSize);
        EXPECT_EQ(sizeOfType(difference), c.addressSize);
    }
}

TEST_F(QueryTest, RefModTypesByKind)
{
    const TypeItem* ten = createCharstringType(0, 10, 0);
    struct Case {
        int kind;
        TypeKind made;
    };
    for (const Case& c : {Case{39, t_characterString}, Case{46, t_nationalString}, Case{57, t_dbcsString}}) {
        SCOPED_TRACE(c.kind);
        const TypeItem* type = createRefModType(c.kind, ten);
        ASSERT_NE(type, nullptr);
        EXPECT_EQ(int(typeKind(type)), int(c.made));
        EXPECT_EQ(type->stringKindBits(), 0u);
    }
    EXPECT_EQ(typeDbcsStringInfo(createRefModType(57, ten))->length, 10u);
    for (int other : {0, 9, 38, 58})
        EXPECT_EQ(createRefModType(other, ten), nullptr) << other;
}

TEST_F(QueryTest, CreatedCobolTypesAndTheirInformation)
{
    const TypeItem* text = createCharstringType(0, 12, 5);
    const CharstringInfoBlock* chars = typeCharstringInfo(text);
    EXPECT_EQ(chars->length, 12u);
    EXPECT_EQ(chars->flags & 7, 5u);
    EXPECT_EQ(createCharstringType(99, 12, 5), text) << "found again, the kind not used";

    // Bit 3 of a host string's information: bit 5 of its flags is clear.
    TYPE_INDEX hostText = records().charstringType(5);
    EXPECT_EQ(typeCharstringInfo(hostType(hostText))->flags & 8, 8u);
    records().type(hostText)->charstring.flags |= 0x20;
    TYPE_INDEX flagged = records().charstringType(6);
    records().type(flagged)->charstring.flags |= 0x20;
    EXPECT_EQ(typeCharstringInfo(hostType(flagged))->flags & 8, 0u);
    EXPECT_EQ(typeCharstringInfo(hostType(flagged))->length, 6u);

    const TypeItem* edited = createNumericEditedType(0, "ZZ9.99", 6, 5, 2);
    const NumericEditedInfoBlock* numeric = typeNumericEditedInfo(edited);
    EXPECT_STREQ(numeric->picture, "ZZ9.99");
    EXPECT_EQ(numeric->length, 6u);
    EXPECT_EQ(numeric->digits, 5u);
    EXPECT_EQ(numeric->scale, 2);

    const PictureInfoBlock* external = typeExternalFloatInfo(createExternalFloatType(0, "+9.9E+99", 8));
    EXPECT_STREQ(external->picture, "+9.9E+99");
    EXPECT_EQ(external->length, 8u);
    EXPECT_EQ(typeAlphaNumericEditedInfo(createAlphaNumericEditedType(0, "XBX", 3))->length, 3u);

    const IndexNameInfoBlock* index = typeIndexNameInfo(createIndexNameType(0, 4, 20));
    EXPECT_EQ(index->byteLength, 4u);
    EXPECT_EQ(index->elementLength, 20u);
    EXPECT_EQ(typeIndexDataItemInfo(createIndexDataItemType(0, 4))->byteLength, 4u);

    struct Fixed {
        int kind;
        unsigned digits;
        int scale;
        bool isSigned;
        unsigned signKind;
        unsigned expectedSignKind;
    };
    const Fixed fixed[] = {
        {t_packedDecimal, 7, 2, true, 0, 0},
        {t_fixedPointBinary, 9, -1, false, 0, 0},
        {t_zonedDecimal, 5, 0, true, 2, 2},
        {t_nationalDecimal, 3, 1, true, 1, 1},
    };
    for (const Fixed& f : fixed) {
        SCOPED_TRACE(f.kind);
        const TypeItem* type = createFixedPointType(f.kind, f.digits, f.scale, f.isSigned, f.signKind);
        ASSERT_NE(type, nullptr);
        EXPECT_EQ(int(typeKind(type)), f.kind);
        const FixedPointInfoBlock* info = typeFixedPointInfo(type);
        EXPECT_EQ(info->digits, f.digits);
        EXPECT_EQ(info->scale, f.scale);
        EXPECT_EQ(info->flags, f.isSigned ? 1u : 0u);
        EXPECT_EQ(info->signKind, f.expectedSignKind);
    }
    EXPECT_EQ(createFixedPointType(t_signedInt, 3, 0, true, 0), nullptr);
    const FixedPointInfoBlock* none = typeFixedPointInfo(hostType(TYPE_INDEX{0, 130}));
    EXPECT_EQ(none->digits, 0u);
    EXPECT_EQ(none->flags, 0u);
}

TEST_F(QueryTest, InformationRecordsAreReusedPerThread)
{
    const TypeItem* first = createCharstringType(0, 3, 1);
    const TypeItem* second = createCharstringType(0, 9, 2);
    const CharstringInfoBlock* a = typeCharstringInfo(first);
    const CharstringInfoBlock* b = typeCharstringInfo(second);
    EXPECT_EQ(a, b);
    EXPECT_EQ(b->length, 9u);
    EXPECT_EQ(b->flags & 7, 2u);

    // Another thread fills its own record: this thread's stays as it was.
    const CharstringInfoBlock* other = nullptr;
    std::uint32_t otherLength = 0;
    std::thread([&] {
        env->makeCurrent(mainContext);
        other = typeCharstringInfo(first);
        otherLength = other->length;
    }).join();
    EXPECT_NE(other, b);
    EXPECT_EQ(otherLength, 3u);
    EXPECT_EQ(b->length, 9u);
}

TEST_F(QueryTest, PointerInformationCopiesTheHostFlags)
{
    TYPE_INDEX pointer = records().pointerType(TYPE_INDEX{0, 130});
    records().type(pointer)->pointer.flags |= 0x50; // bits 4 and 6
    EXPECT_EQ(typePointerInfo(hostType(pointer))->flags, 5u);
    EXPECT_EQ(typePointerInfo(createCharstringType(0, 2, 0))->flags, 0u);
}

TEST_F(QueryTest, TemplatesBelongToTheEnvironment)
{
    TemplateItem* pair = startTemplateResolution("Pair", scope);
    ASSERT_NE(pair, nullptr);
    ASSERT_EQ(env->templates().count(), 1u);
    EXPECT_EQ(env->templates()[0], pair);
    EXPECT_TRUE(addTemplateTypeParm(pair, hostType(TYPE_INDEX{0, 130})));
    EXPECT_TRUE(addTemplateIntegerParm(pair, 3, true));
    EXPECT_FALSE(addTemplateTypeParm(pair, nullptr));
    const TemplateResolution resolved = resolveTemplate(pair);
    EXPECT_EQ(resolved.type, nullptr);
    EXPECT_EQ(resolved.symbol, nullptr);
}

TEST_F(QueryTest, BrowseModeAnswersThePreviousSetting)
{
    setBrowseMode(0);
    EXPECT_EQ(setBrowseMode(1), 0u);
    EXPECT_EQ(setBrowseMode(1), 0xFFFFFFFFu);
    EXPECT_NE(debuggerEnvironment() & debuggerEnvironmentBrowseMode, 0u);
    EXPECT_EQ(setBrowseMode(0), 0xFFFFFFFFu);
    EXPECT_EQ(setBrowseMode(0), 0u);
    EXPECT_EQ(debuggerEnvironment() & debuggerEnvironmentBrowseMode, 0u);
}

TEST_F(QueryTest, AlternateCharacterSetIsTheCurrentEnvironmentsByte)
{
    EXPECT_EQ(alternateCharacterSet(), 0u);
    env->setAlternateCharset(1);
    EXPECT_EQ(alternateCharacterSet(), 1u);
    ExpressionRepresentation other(EvaluationEnvironment::languageCPP, nullptr);
    other.makeCurrent(mainContext);
    EXPECT_EQ(alternateCharacterSet(), 0u);
    env->makeCurrent(mainContext);
}

TEST_F(QueryTest, TraceFormatsIntoOneLineAndCutsLongText)
{
    EXPECT_TRUE(isTraceEnabled());
    trace("%s=%d", "answer", 42);
    EXPECT_TRUE(host.traced("answer=42"));
    const std::string longText(9000, 'q');
    host.clearLines();
    trace("%s", longText.c_str());
    ASSERT_FALSE(host.texts().empty());
    EXPECT_LT(host.texts().back().size(), 8200u);
    EXPECT_NE(host.texts().back().find(std::string(8000, 'q')), std::string::npos);
}

TEST(QueryCharacters, Utf8EncodingUpToSixBytes)
{
    struct Case {
        unsigned long code;
        std::string bytes;
    };
    const Case cases[] = {
        {0x41, "A"},
        {0x7F, "\x7F"},
        {0x80, "\xC2\x80"},
        {0x7FF, "\xDF\xBF"},
        {0x20AC, "\xE2\x82\xAC"},
        {0x10FFFF, "\xF4\x8F\xBF\xBF"},
        {0x200000, "\xF8\x88\x80\x80\x80"},
        {0x7FFFFFFF, "\xFD\xBF\xBF\xBF\xBF\xBF"},
    };
    for (const Case& c : cases) {
        unsigned char buffer[8] = {};
        const int n = utf8Encode(c.code, buffer);
        EXPECT_EQ(std::string(reinterpret_cast<char*>(buffer), n), c.bytes) << std::hex << c.code;
    }
    unsigned char buffer[8];
    EXPECT_EQ(utf8Encode(0x80000000ul, buffer), 0);
}

class QueryWideCharacters : public QueryTest {
protected:
    // Makes the program's wchar_t an enumeration over an integer of the given width, in a fresh
    // environment (the wide type is kept per environment).
    void wcharOfBits(unsigned bits)
    {
        if (wcharEntry == nullptr) {
            // An enumeration stands for the program's own wchar_t.
            TYPE_INDEX underlying = records().integerType(bits, false);
            host.declare(*unit, records().typeName("wchar_t", records().enumType("wchar_t", underlying, {})));
            wcharEntry = records().type(underlying);
        }
        wcharEntry->integer.bitLength = bits;
        env = std::make_unique<ExpressionRepresentation>(language_, nullptr);
        scope = env->initializeAndMakeCurrent(mainContext);
    }

    _TYPE_ENTRY* wcharEntry = nullptr;
};

TEST_F(QueryWideCharacters, DecodingFollowsTheProgramsWideCharacterWidth)
{
    const char euro[] = "\xE2\x82\xAC";
    const char high[] = "\xF0\x9F\x98\x80"; // U+1F600

    wcharOfBits(16);
    std::uint16_t narrow = 0;
    EXPECT_EQ(MBtowc(&narrow, euro, 3), 3);
    EXPECT_EQ(narrow, 0x20ACu);
    EXPECT_EQ(MBtowc(&narrow, euro, 2), -1) << "longer than the room";

    wcharOfBits(32);
    std::uint32_t middle = 0;
    EXPECT_EQ(MBtowc(&middle, high, 4), 4);
    EXPECT_EQ(middle, 0x1F600u);
    EXPECT_EQ(MBtowc(&middle, "A", 1), 1);
    EXPECT_EQ(middle, 0x41u);
    EXPECT_EQ(MBtowc(&middle, "\xE2\x41\x41", 3), -1) << "no continuation byte";

    wcharOfBits(64);
    std::uint64_t wide = 0;
    EXPECT_EQ(MBtowc(&wide, euro, 6), 3);
    EXPECT_EQ(wide, 0x20ACu);

    wcharOfBits(24);
    std::uint32_t untouched = 0xDEADBEEF;
    EXPECT_EQ(MBtowc(&untouched, euro, 3), -1);
    EXPECT_EQ(untouched, 0xDEADBEEFu);
}

TEST_F(QueryTest, NumbersNeedAText)
{
    bool isSigned = false;
    unsigned size = 0;
    std::optional<RaisedInvalidOp> raised = raisedInvalidOp([&] { evaluateNumber("", 0, &isSigned, &size); });
    ASSERT_TRUE(raised.has_value());
    EXPECT_EQ(raised->code, InvalidOp::RTRC_Other);
    raised = raisedInvalidOp([&] { evaluateNumber("12", 2, nullptr, &size); });
    ASSERT_TRUE(raised.has_value());
    EXPECT_EQ(raised->function, "void validatePointer(const void*, const char*, unsigned int)");
}

TEST_F(QueryTest, NumbersAreReadByTheLiteralParser)
{
    struct Case {
        const char* text;
        unsigned length;
        long long value;
        bool isSigned;
        unsigned size;
    };
    const Case cases[] = {
        {"42", 2, 42, true, 4},
        {"0x10", 4, 16, true, 4},
        {"-1", 2, -1, true, 4},
        {"42U", 3, 42, false, 4},
        {"4294967296", 10, 4294967296LL, true, 8},
        // Only the given length is read.
        {"1234", 2, 12, true, 4},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        bool isSigned = !c.isSigned;
        unsigned size = 0;
        EXPECT_EQ(evaluateNumber(c.text, c.length, &isSigned, &size), c.value);
        EXPECT_EQ(isSigned, c.isSigned);
        EXPECT_EQ(size, c.size);
    }
    bool isSigned = false;
    unsigned size = 0;
    const std::optional<RaisedInvalidOp> raised =
        raisedInvalidOp([&] { evaluateNumber("12abc", 5, &isSigned, &size); });
    ASSERT_TRUE(raised.has_value());
    EXPECT_EQ(raised->code, InvalidOp::RTRC_ParserError);
    EXPECT_EQ(size, 0u);
}

} // namespace
