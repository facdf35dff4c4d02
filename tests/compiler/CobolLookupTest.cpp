// COBOL name lookup of the services: the candidates of a data name chosen by
// the qualifiers written after it (A OF B OF C), under the host's completion
// rule (compilation setting 6), and the name handed back for the choice.

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "ServicesFixture.h"
#include "compiler/EE_OstrelDeclaration.h"
#include "compiler/EE_OstrelDeclarationStore.h"
#include "frontend/EE_ArenaString.h"
#include "frontend/EE_ImplicitMemberName.h"
#include "frontend/EE_MemberAccessList.h"
#include "frontend/EE_MemberExpression.h"
#include "frontend/EE_NameExpression.h"
#include "frontend/EE_ParseException.h"
#include "types/SymbolList.h"

namespace {

// What a lookup ended in: the chosen symbol, nothing, or a parse exception.
struct Outcome {
    const SymbolItem* chosen = nullptr;
    int parseCode = -1;
    std::string position;
};

class CobolLookupTest : public CobolServicesTest {
protected:
    // A data item of main (or of the file when inFile), optionally hidden
    // in enclosed scopes or not allocated.
    SymbolItem* item(const std::string& name, bool inFile = false, bool hidden = false, bool allocated = true)
    {
        _SYMBOL_ENTRY& e = records().staticVariable(name, TYPE_INDEX{0, 130}, 1, 0x20 + 4 * next++);
        e.statics.attributeA = hidden ? 1 : 0;
        e.statics.attributeD = allocated ? 1 : 0;
        host.declare(inFile ? *unit : *mainContext, e);
        return const_cast<SymbolItem*>(symFindVar(name.c_str(), inFile ? scopeFilescope() : scope));
    }

    // A list of candidates, each a symbol with its qualifiers from the
    // closest outward.
    SymbolList* candidates(const std::vector<std::pair<SymbolItem*, std::vector<SymbolItem*>>>& entries)
    {
        auto list = std::make_unique<SymbolList>();
        for (const auto& [symbol, qualifiers] : entries) {
            SymbolList one;
            one.addEntry(*symbol);
            for (SymbolItem* q : qualifiers)
                one.addQualifierToAllEntries(*q);
            list->append(one);
        }
        lists.push_back(std::move(list));
        return lists.back().get();
    }

    EE_MemberAccessList& written(const std::vector<std::string>& qualifiers)
    {
        auto* list = new (services->storageArena()) EE_MemberAccessList(services->storageArena());
        for (const std::string& q : qualifiers)
            list->append(EE_String(q.c_str()));
        return *list;
    }

    Outcome match(SymbolList* list, const std::vector<std::string>& qualifiers,
                  EE_OstrelDeclarationStore* store = nullptr)
    {
        if (store == nullptr)
            store = services->currentOstrelStore();
        Outcome out;
        try {
            EE_Name* name = store->bestMatch(list, store->scope, written(qualifiers));
            if (name != nullptr)
                out.chosen = static_cast<const EE_OstrelDeclaration*>(name->declaration)->symbol();
            last = name;
        } catch (const EE_ParseException& e) {
            out.parseCode = static_cast<int>(e.code);
            out.position = e.position != nullptr ? e.position : "";
        }
        return out;
    }

    unsigned next = 0;
    std::vector<std::unique_ptr<SymbolList>> lists;
    EE_Name* last = nullptr;
};

TEST_F(CobolLookupTest, QualifiersChooseTheCandidateUnderEachCompletionRule)
{
    SymbolItem* a1 = item("A");
    SymbolItem* a2 = item("A", true);
    SymbolItem* b = item("B");
    SymbolItem* c = item("C");
    SymbolItem* d = item("D");
    using Entries = std::vector<std::pair<SymbolItem*, std::vector<SymbolItem*>>>;
    struct Case {
        const char* what;
        Entries entries;
        std::vector<std::string> qualifiers;
        const SymbolItem* ruleOn;  // null: ambiguous, unless noneOn
        const SymbolItem* ruleOff; // null: ambiguous, unless noneOff
        bool none = false;
    };
    const Case cases[] = {
        {"A OF B: exactly B, and B then C", Entries{{a1, {b}}, {a2, {b, c}}}, {"B"}, a1, nullptr},
        {"the same, the exact one last", Entries{{a2, {b, c}}, {a1, {b}}}, {"B"}, a1, nullptr},
        {"two exact candidates", Entries{{a1, {b}}, {a2, {b}}}, {"B"}, nullptr, nullptr},
        {"no qualifier written: the unqualified one", Entries{{a1, {}}, {a2, {b}}}, {}, a1, nullptr},
        {"a qualifier skipped is inexact but single", Entries{{a1, {b, c}}}, {"C"}, a1, a1},
        {"two inexact candidates", Entries{{a1, {b, c}}, {a2, {b, d}}}, {"B"}, nullptr, nullptr},
        {"written qualifiers in order only", Entries{{a1, {b, c}}}, {"C", "B"}, nullptr, nullptr, true},
        {"qualifiers run out", Entries{{a1, {b}}}, {"D"}, nullptr, nullptr, true},
        {"an inexact one dropped after an exact one", Entries{{a1, {b}}, {a2, {c, b}}}, {"B"}, a1, nullptr},
    };
    for (bool ruleOn : {true, false}) {
        host.setCompilationSetting(6, ruleOn ? 1 : 0);
        for (const Case& k : cases) {
            SCOPED_TRACE(std::string(k.what) + (ruleOn ? " (rule on)" : " (rule off)"));
            const Outcome o = match(candidates(k.entries), k.qualifiers);
            const SymbolItem* expected = ruleOn ? k.ruleOn : k.ruleOff;
            if (k.none) {
                EXPECT_EQ(o.chosen, nullptr);
                EXPECT_EQ(o.parseCode, -1);
            } else if (expected == nullptr) {
                EXPECT_EQ(o.parseCode, EE_ParseException::AmbiguousSymbol);
                EXPECT_EQ(o.position, "A") << "the first candidate's name";
            } else {
                EXPECT_EQ(o.parseCode, -1);
                EXPECT_EQ(o.chosen, expected);
            }
        }
    }
}

TEST_F(CobolLookupTest, AnUnansweredCompletionSettingCountsAsOff)
{
    SymbolItem* a1 = item("A");
    SymbolItem* a2 = item("A", true);
    SymbolItem* b = item("B");
    SymbolItem* c = item("C");
    host.setCompilationSetting(6, 1);
    EXPECT_EQ(match(candidates({{a1, {b}}, {a2, {b, c}}}), {"B"}).chosen, a1);
    host.failSlot(HS_ExprGetCompilationSettingValue, 1); // answers without a value
    EXPECT_EQ(match(candidates({{a1, {b}}, {a2, {b, c}}}), {"B"}).parseCode, EE_ParseException::AmbiguousSymbol);
    host.failSlot(HS_ExprGetCompilationSettingValue, 0); // does not answer
    EXPECT_EQ(match(candidates({{a1, {b}}, {a2, {b, c}}}), {"B"}).parseCode, EE_ParseException::AmbiguousSymbol);
    EXPECT_TRUE(traced("Multiple matches"));
}

TEST_F(CobolLookupTest, HiddenItemsAreSkippedOutsideTheCurrentStore)
{
    SymbolItem* hiddenGroup = item("G", false, true);
    SymbolItem* hiddenItem = item("H", false, true);
    SymbolItem* a = item("A");
    EE_OstrelDeclarationStore* outer = static_cast<EE_OstrelDeclarationStore*>(services->globalStore());
    EXPECT_EQ(match(candidates({{a, {hiddenGroup}}}), {}, outer).chosen, nullptr);
    EXPECT_EQ(match(candidates({{hiddenItem, {}}}), {}, outer).chosen, nullptr);
    EXPECT_EQ(match(candidates({{a, {hiddenGroup}}}), {}).chosen, a) << "seen from its own store";
    EXPECT_EQ(match(candidates({{hiddenItem, {}}}), {}).chosen, hiddenItem);
}

TEST_F(CobolLookupTest, AnItemNotAllocatedIsRefusedWithItsName)
{
    SymbolItem* gone = item("GONE", false, false, false);
    const Outcome o = match(candidates({{gone, {}}}), {});
    EXPECT_EQ(o.parseCode, EE_ParseException::NotAllocated);
    EXPECT_EQ(o.position, "GONE");
    EXPECT_TRUE(traced("Not allocated"));
}

TEST_F(CobolLookupTest, AQualifiedItemIsAnImplicitMemberOfItsQualifiersExpression)
{
#if defined(_WIN32)
    GTEST_SKIP() << "the trace writes addresses as the runtime's %p does, without 0x here";
#endif
    SymbolItem* a = item("A");
    SymbolItem* b = item("B");
    SymbolItem* c = item("C");
    ASSERT_EQ(match(candidates({{a, {b, c}}}), {"B"}).chosen, a);
    ASSERT_NE(last, nullptr);
    EE_ImplicitMemberName* implicit = last->asImplicitMemberName();
    ASSERT_NE(implicit, nullptr);
    // B is a member of C: the outermost usable qualifier is the innermost node.
    ASSERT_NE(implicit->object, nullptr);
    EE_MemberExpression* member = implicit->object->asMemberExpression();
    ASSERT_NE(member, nullptr);
    EXPECT_EQ(member->kind, EE_MemberExpression::Dot);
    EXPECT_EQ(static_cast<const EE_OstrelDeclaration*>(member->member->declaration)->symbol(), b);
    ASSERT_NE(member->object, nullptr);
    EE_NameExpression* outermost = member->object->asNameExpression();
    ASSERT_NE(outermost, nullptr);
    EXPECT_EQ(static_cast<const EE_OstrelDeclaration*>(outermost->name->declaration)->symbol(), c);
    EXPECT_EQ(outermost->name->declaration->store, services->currentStore());

    // One qualifier: a name expression of it alone.
    ASSERT_EQ(match(candidates({{a, {b}}}), {"B"}).chosen, a);
    EE_ImplicitMemberName* single = last->asImplicitMemberName();
    ASSERT_NE(single, nullptr);
    ASSERT_NE(single->object->asNameExpression(), nullptr);

    // No qualifier: a plain name in the store of the scope.
    ASSERT_EQ(match(candidates({{a, {}}}), {}).chosen, a);
    EXPECT_EQ(last->asImplicitMemberName(), nullptr);
    EXPECT_EQ(last->declaration->store, services->currentStore());
    EXPECT_TRUE(traced("Have a single best match"));
    EXPECT_TRUE(traced("start matching: size=1"));
    EXPECT_TRUE(traced("candidate(0x" + hex(a) + "):")) << "handles traced whole";
}

TEST_F(CobolLookupTest, QualifiedNamesThroughTheHostsGroups)
{
    // REC holds GRP, which holds ITEM: ITEM OF GRP and ITEM OF REC both find
    // it; ITEM OF NONE finds nothing.
    const TYPE_INDEX item = records().packedDecimalType(5, 0, true);
    HostRecordStore::ClassSpec g;
    g.name = "GRP";
    g.leaf = TE_GROUP;
    g.byteSize = 3;
    g.members = {{"ITEM", item, 0}};
    const TYPE_INDEX group = records().classType(g);
    HostRecordStore::ClassSpec r;
    r.name = "REC";
    r.leaf = TE_GROUP;
    r.byteSize = 3;
    r.members = {{"GRP", group, 0}};
    _SYMBOL_ENTRY& recEntry = records().staticVariable("REC", records().classType(r), 1, 0x100);
    recEntry.statics.attributeD = 1; // allocated
    _SYMBOL_ENTRY& rec = host.declare(*unit, recEntry);
    _SYMBOL_ENTRY& grp = records().newSymbol(SE_QUALIFIED_NAME, "GRP");
    grp.qualified.parent = &rec;
    _SYMBOL_ENTRY& itemEntry = records().newSymbol(SE_QUALIFIED_NAME, "ITEM");
    itemEntry.qualified.parent = &grp;
    host.declare(*unit, itemEntry);

    for (const char* qualifier : {"GRP", "REC"}) {
        SCOPED_TRACE(qualifier);
        EE_String name("ITEM");
        EE_Name* found = services->lookup(name, written({qualifier}), nullptr);
        ASSERT_NE(found, nullptr);
        EXPECT_STREQ(found->declaration->name->data(), "ITEM");
    }
    EE_String name("ITEM");
    EXPECT_EQ(services->lookup(name, written({"NONE"}), nullptr), nullptr);
    EE_String missing("NOTHING");
    EXPECT_EQ(services->lookup(missing, written({}), nullptr), nullptr);
}

} // namespace
