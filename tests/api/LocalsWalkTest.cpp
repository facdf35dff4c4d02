#include <algorithm>
#include <string>
#include <vector>

#include "LocalsFixture.h"
#include "testhost/DwarfExpression.h"

// Which variables a view lists, in what order, from which scopes.

namespace {

using Names = std::vector<std::string>;

class LocalsWalkTest : public LocalsFixture {};

} // namespace

TEST_F(LocalsWalkTest, InnerScopesHideOuterOnesAndTheListIsInDescendingOrder)
{
    staticInt(*block, "x", 0x10);
    staticInt(*block, "b", 0x14);
    staticInt(*mainContext, "x", 0x20);
    staticInt(*mainContext, "a", 0x24);
    staticInt(*mainContext, "c", 0x28);
    staticInt(*unit, "count", 0x30);
    staticInt(*unit, "a", 0x34);
    storeInt(0x10, 7);
    storeInt(0x20, 9);

    UBYTE4 count = 0;
    LocalsRepresentation* view = build(block, 0, 2, &count);
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(count, 4u);
    EXPECT_EQ(names(view), (Names{"x", "c", "b", "a"}));

    // The file scope only with its flag; its "a" is hidden by main's.
    EXPECT_EQ(names(build(block, LocalsRepresentation::includeFileScope)), (Names{"x", "count", "c", "b", "a"}));
    // The innermost scope alone.
    EXPECT_EQ(names(build(block, LocalsRepresentation::innermostScopeOnly)), (Names{"x", "b"}));

    // The x listed is the block's.
    DbgRefreshLocalVariableFrame(view, block, 0);
    StackItem* x = nullptr;
    ASSERT_EQ(status(view, "x", &x), statusLocalChanged);
    EXPECT_EQ(number(x), 7u);
}

TEST_F(LocalsWalkTest, NameClasses)
{
    using V = LocalsRepresentation::VariablesList;
    const struct {
        const char* name;
        int plain; // without the start-up key
        int clip;  // with the key "CLIP"
    } cases[] = {
        {nullptr, 0, 0},
        {"", 0, 0},
        {"#ENV", 5, 5},
        {"#BLNK_COM", 1, 1},
        {"count", 1, 1},
        {"$x_9", 1, 1},
        {"\xC3\xA9t\xC3\xA9", 1, 1},
        {"a\\u00e9", 2, 2},
        {"a\\U0001F600b", 2, 2},
        {"a\\u00g9", 6, 6},
        {"a\\x41", 6, 6},
        {"a\\u00", 6, 6},
        {"a-b", 6, 6},
        {"a.b", 6, 1},
        {"__", 3, 3},
        {"__1", 4, 4},
        {"__12a", 3, 3},
        {"__x", 3, 3},
        {"_X", 3, 3},
        {"_x", 1, 1},
        {"__1.a", 6, 3},
    };
    for (const auto& c : cases) {
        DebuggerParameters::setStartupKey("");
        EXPECT_EQ(V::nameType(c.name), c.plain) << (c.name ? c.name : "(null)");
        DebuggerParameters::setStartupKey("CLIP");
        EXPECT_EQ(V::nameType(c.name), c.clip) << (c.name ? c.name : "(null)");
    }
}

TEST_F(LocalsWalkTest, SpecialNamesAreDroppedOnlyWithTheirFlag)
{
    for (const char* name : {"#ENV", "__1", "_X", "a.b", "a\\u00e9"})
        staticInt(*mainContext, name, 0x40);
    staticInt(*mainContext, "plain", 0x44);
    host.addFrame(mainContext, frameBase);

    EXPECT_EQ(names(build(mainContext)), (Names{"plain", "a\\u00e9", "a.b", "__1", "_X", "#ENV"}));
    // Escaped names are kept with the flag; "a.b" only under the start-up key.
    EXPECT_EQ(names(build(mainContext, LocalsRepresentation::dropSpecialNames)), (Names{"plain", "a\\u00e9"}));
    DebuggerParameters::setStartupKey("CLIP");
    EXPECT_EQ(names(build(mainContext, LocalsRepresentation::dropSpecialNames)), (Names{"plain", "a\\u00e9", "a.b"}));
}

TEST_F(LocalsWalkTest, AnUnnamedStructureIsListedAsAnonymousAndItsMembersHideOuterNames)
{
    HostRecordStore::ClassSpec spec;
    spec.name = "";
    spec.byteSize = 8;
    spec.members = {{"p", intType, 0}, {"q", intType, 4}};
    const TYPE_INDEX anonymous = records().classType(spec);
    staticInt(*block, "", 0x50, anonymous);
    staticInt(*block, "q", 0x58); // the same name as a member: skipped
    staticInt(*mainContext, "p", 0x60);
    staticInt(*mainContext, "r", 0x64);
    EXPECT_EQ(names(build(block)), (Names{"r", "<anonymous>"}));

    // A compiler-named structure ("__1") is shown the same way.
    LCC_Eval_Context_Info& other = host.addContext("other", CS2_FUNCTION, unit);
    other.blockSymbol = mainContext->blockSymbol;
    staticInt(other, "__1", 0x50, anonymous);
    EXPECT_EQ(names(build(&other)), (Names{"<anonymous>"}));
}

TEST_F(LocalsWalkTest, EntryKindsAndTheOuterMark)
{
    using dwarf::Builder;
    // Main is one level out from the block: without an "#ENV" in the block
    // its frame-bound entries are not listed; kind 40 only when its
    // address can be had without a frame.
    struct Entry {
        UBYTE4 kind;
        const char* name;
        bool inner; // listed from the block's own scope
        bool outer; // listed from main, seen from the block
    };
    const Entry entries[] = {
        {SE_AUTOMATIC, "k2", true, false}, {SE_STATIC, "k3", true, true},         {SE_SECTION_DATA, "k4", true, true},
        {SE_REGISTER, "k6", true, false},  {SE_CONSTANT, "k7", false, false},     {SE_THREAD_STATIC, "k23", true, true},
        {SE_TYPED41, "k41", true, false},  {SE_COMMON_MEMBER, "k43", true, true}, {SE_TYPE_NAME, "k12", false, false},
    };
    auto declareAll = [&](LCC_Eval_Context_Info& context, const std::string& suffix) {
        for (const Entry& e : entries) {
            _SYMBOL_ENTRY& s = records().newSymbol(e.kind, e.name + suffix);
            switch (e.kind) {
            case SE_STATIC:
            case SE_SECTION_DATA:
                s.statics.type = intType;
                s.statics.displayName = s.header.name;
                s.statics.section = 1;
                break;
            case SE_THREAD_STATIC:
                s.threadstatic.type = intType;
                s.threadstatic.displayName = s.header.name;
                break;
            case SE_AUTOMATIC: s.automatic.type = intType; break;
            case SE_COMMON_MEMBER:
                s.commonmember.type = intType;
                s.commonmember.section = 1;
                break;
            default: s.typed.type = intType; break;
            }
            host.declare(context, s);
        }
        host.declare(context, records().dwarfVariable("fixed" + suffix, intType, Builder().addr(0x10070).bytes()));
        host.declare(context, records().dwarfVariable("framed" + suffix, intType, Builder().fbreg(8).bytes()));
    };
    declareAll(*block, "i");
    declareAll(*mainContext, "o");

    Names expected;
    for (const Entry& e : entries) {
        if (e.inner)
            expected.push_back(std::string(e.name) + "i");
        if (e.outer)
            expected.push_back(std::string(e.name) + "o");
    }
    for (const char* n : {"fixedi", "framedi", "fixedo"})
        expected.emplace_back(n);
    std::sort(expected.rbegin(), expected.rend());
    EXPECT_EQ(names(build(block)), expected);

    // An "#ENV" in the block counts one level: main's entries are all kept.
    staticInt(*block, "#ENV", 0x78);
    Names all = expected;
    for (const char* n : {"k2o", "k6o", "k41o", "framedo", "#ENV"})
        all.emplace_back(n);
    std::sort(all.rbegin(), all.rend());
    EXPECT_EQ(names(build(block)), all);
}

TEST_F(LocalsWalkTest, AScopeWithMoreEntriesThanTheFirstBufferHolds)
{
    for (int i = 0; i < 300; ++i)
        staticInt(*mainContext, "v" + std::to_string(1000 + i), 0x100 + 4 * i);
    host.addFrame(mainContext, frameBase);
    host.clearCalls();
    UBYTE4 count = 0;
    LocalsRepresentation* view = build(mainContext, 0, 2, &count);
    EXPECT_EQ(count, 300u);
    const Names listed = names(view);
    ASSERT_EQ(listed.size(), 300u);
    EXPECT_EQ(listed.front(), "v1299");
    EXPECT_EQ(listed.back(), "v1000");
    const auto asks = host.callsTo(HS_ExprGetSymbolEntries);
    ASSERT_EQ(asks.size(), 2u);
    EXPECT_NE(asks[0].arguments.find("capacity=250"), std::string::npos);
    EXPECT_NE(asks[1].arguments.find("capacity=310"), std::string::npos);
}
