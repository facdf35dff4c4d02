// Condition-name scopes: the condition names of a COBOL data item, reached
// through the leaf-88 qualifier over the item's type.

#include "SymbolsFixture.h"
#include "types/CondvarScopeItem.h"
#include "types/SymbolList.h"
#include "types/SymbolListEntry.h"

namespace {

class ConditionNamesTest : public CobolSymbolsTest {
protected:
    void SetUp() override
    {
        CobolSymbolsTest::SetUp();
        elements[0].name = "IS-OPEN";
        elements[1].name = "is-open";
        elements[2].name = "IS-CLOSED";
        _TYPE_ENTRY& record = records().newType(TE_CONDITION);
        record.condvar.count = 3;
        record.condvar.conditions = elements;
        conditions = &record.condvar;
        const TYPE_INDEX value = records().packedDecimalType(1, 0, false);
        _TYPE_ENTRY& qualifier = records().newType(TE_QUALIFIER, &statusType);
        qualifier.qualifier.type = value;
        qualifier.qualifier.conditions = conditions;
    }

    TNconditionElement elements[3] = {};
    const TNcobolCondVar* conditions = nullptr;
    TYPE_INDEX statusType{};
};

TEST_F(ConditionNamesTest, SameNameTwiceGivesOneSymbolAndOnePseudoEntry)
{
    CondvarScopeItem* s = CondvarScopeItem::getCondVarScope(*conditions, *scope);
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->scopeType(), ScopeItem::condvarScope);
    EXPECT_EQ(s->container(), scope);
    EXPECT_EQ(s->context(), scope->context());
    EXPECT_EQ(CondvarScopeItem::getCondVarScope(*conditions, *scope), s);

    EXPECT_EQ(s->findVariable("IS-OPEN", 0), nullptr);
    SymbolItem* open = s->findVariable("IS-OPEN", 1);
    ASSERT_NE(open, nullptr);
    EXPECT_EQ(s->findVariable("IS-OPEN", 1), open);
    EXPECT_EQ(s->pseudoEntryCount(), 1u);
    EXPECT_TRUE(open->isCondition());
    EXPECT_EQ(open->classChar(), 'X');
    EXPECT_TRUE(open->attributeB());
    EXPECT_TRUE(open->dataType().typeIndex() == 144u);
    EXPECT_TRUE(open->dataType().isCobolBool());
    ASSERT_NE(open->entry(), nullptr);
    EXPECT_EQ(open->entry()->kind, SE_CONDITION_NAME);
    EXPECT_EQ(open->entry()->typed.u.condition, &elements[0]);
    EXPECT_EQ(&open->scope(), s);
}

TEST_F(ConditionNamesTest, NamesDifferingInCaseAreDifferentNames)
{
    CondvarScopeItem* s = CondvarScopeItem::getCondVarScope(*conditions, *scope);
    SymbolItem* upper = s->findVariable("IS-OPEN", 1);
    SymbolItem* lower = s->findVariable("is-open", 1);
    ASSERT_NE(upper, nullptr);
    ASSERT_NE(lower, nullptr);
    EXPECT_NE(upper, lower);
    EXPECT_EQ(lower->entry()->typed.u.condition, &elements[1]);
    EXPECT_EQ(s->findVariable("Is-Open", 1), nullptr);
    EXPECT_EQ(s->pseudoEntryCount(), 2u);
    EXPECT_EQ(symbolsInvalidOpCode([&] { s->findVariable(nullptr, 1); }), InvalidOp::RTRC_Other);
}

TEST_F(ConditionNamesTest, QualifiedNameThroughTheDataItem)
{
    _SYMBOL_ENTRY& status = declare(unit, records().staticVariable("STATUS-CODE", statusType, 1, 0x40));
    _SYMBOL_ENTRY& condition = records().newSymbol(SE_QUALIFIED_NAME, "IS-CLOSED");
    condition.qualified.parent = &status;
    declare(unit, condition);

    SymbolList* list = ScopeItem::fileScope()->getFlattenedSymbolList("IS-CLOSED");
    ASSERT_NE(list, nullptr);
    ASSERT_EQ(list->count(), 1u);
    SymbolListEntry* e = list->setIteratorToFront();
    SymbolItem* closed = e->getSymbol();
    EXPECT_TRUE(closed->isCondition());
    EXPECT_EQ(closed->scope().scopeType(), ScopeItem::condvarScope);
    ASSERT_EQ(e->numberOfQualifiers(), 1u);
    EXPECT_EQ(e->outermostQualifier()->entry(), &status);
    // The data item's own type is its value type.
    EXPECT_TRUE(e->outermostQualifier()->dataType().hasFlag(TypeFlags::packedDecimal));
}

TEST_F(ConditionNamesTest, NoConditionScopeOutsideCobol)
{
    ExpressionRepresentation c(2, nullptr);
    c.makeCurrent(mainContext);
    ScopeItem file(unit, ScopeItem::file);
    EXPECT_EQ(CondvarScopeItem::getCondVarScope(*conditions, file), nullptr);

    // So a qualified name through a condition record is abandoned.
    _SYMBOL_ENTRY& status = declare(unit, records().staticVariable("STATUS-CODE", statusType, 1, 0x40));
    _SYMBOL_ENTRY& condition = records().newSymbol(SE_QUALIFIED_NAME, "IS-OPEN");
    condition.qualified.parent = &status;
    declare(unit, condition);
    EXPECT_EQ(file.getFlattenedSymbolList("IS-OPEN"), nullptr);
    env->makeCurrent(mainContext);
}

} // namespace
