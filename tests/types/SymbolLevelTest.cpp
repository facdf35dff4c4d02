// The COBOL level number a symbol takes from its host entry: data items in
// working and local storage and names inside groups carry one; every other
// entry, and an item made without one, reads 0.

#include "SymbolsFixture.h"
#include "types/ClassScopeItem.h"
#include "types/SymbolItem.h"

namespace {

TEST_F(CobolSymbolsTest, LevelNumberComesFromTheDataItemsEntry)
{
    const TYPE_INDEX field = records().charstringType(4);
    _SYMBOL_ENTRY& group = records().staticVariable("GRP", field, 1, 0x40, 1);
    struct Case {
        const char* what;
        _SYMBOL_ENTRY* entry;
        std::uint8_t level;
    };
    const Case cases[] = {
        {"working storage", &group, 1},
        {"a level-77 item", &records().staticVariable("COUNTER", field, 1, 0x80, 77), 77},
        {"local storage", &records().automaticVariable("@ABC", field, 16, 5), 5},
        {"inside a group", &records().qualifiedName("FLD", group, 10), 10},
        {"a level the program never wrote", &records().staticVariable("OLD", field, 1, 0x90), 0},
        {"not a data item", &records().constant("TEN", field, "0010"), 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SymbolItem* symbol = SymbolItem::makeVarSymbol(c.entry, *scope);
        ASSERT_NE(symbol, nullptr);
        EXPECT_EQ(symbol->levelNumber(), c.level);
    }
}

// A member found through its group's scope has no entry: its level is the
// one its group's member record gives.
TEST_F(CobolSymbolsTest, MemberFoundInItsGroupTakesTheMemberRecordsLevel)
{
    const TYPE_INDEX field = records().charstringType(4);
    HostRecordStore::ClassSpec g;
    g.name = "GRP";
    g.leaf = TE_GROUP;
    g.byteSize = 12;
    g.members = {{.name = "FLD", .type = field, .offset = 0, .levelNumber = 10},
                 {.name = "TAB", .type = field, .offset = 4, .levelNumber = 5},
                 {.name = "BARE", .type = field, .offset = 8}};
    ClassScopeItem* group = ClassScopeItem::getClassScope(TypeItem(records().classType(g)), scope, false);
    ASSERT_NE(group, nullptr);
    struct Case {
        const char* name;
        std::uint8_t level;
    };
    for (const Case& c : {Case{"FLD", 10}, Case{"TAB", 5}, Case{"BARE", 0}}) {
        SCOPED_TRACE(c.name);
        SymbolItem* symbol = group->findVariable(c.name, 1);
        ASSERT_NE(symbol, nullptr);
        EXPECT_EQ(symbol->entry(), nullptr);
        EXPECT_EQ(symbol->levelNumber(), c.level);
    }
}

} // namespace
