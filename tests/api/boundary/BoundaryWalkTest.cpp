// The boundary walk: every entry point of the loaded library called with
// live handles while the host fails at one callback after another (each
// callback answering a failure code, then each throwing), and while one
// allocation after another fails; nothing may leave an entry point. Then the
// handle misuse a host can commit: handles used or freed after their
// release, and handles the library never handed out.

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "AllocationFailure.h"
#include "HostRecords.h"
#include "HostServices.h"
#include "testhost/LoadedEvaluator.h"
#include "testhost/ProgramFile.h"
#include "testhost/TestHost.h"

class ExpressionRepresentation;
class LocalsRepresentation;
class StackItem;
class UpdateTreeNode;

namespace {

using Rep = ExpressionRepresentation*;
using Item = StackItem*;
using Node = UpdateTreeNode*;
using View = LocalsRepresentation*;
using Context = const LCC_Eval_Context_Info*;

const UBYTE1* const locale = reinterpret_cast<const UBYTE1*>("en_US");

UBYTE1* text(const char* t)
{
    return reinterpret_cast<UBYTE1*>(const_cast<char*>(t));
}

const char program[] = "language c\n"
                       "int a = 3;\n"
                       "int arr[3] = {1, 2, 3};\n"
                       "char name[8] = \"abc\";\n"
                       "struct point { int x; char c; } pt = {4, 'b'};\n"
                       "int *np = 0;\n";

// The entry points by name, as a host on Linux reaches them.
struct Entries {
    explicit Entries(const LoadedEvaluator& e) : e(e) {}
    template <class F>
    F get(const char* name) const
    {
        return e.entry<F>(name);
    }
    const LoadedEvaluator& e;
};

// The handles of one walk: built on a healthy host, released at the end.
struct Handles {
    Rep rep = nullptr;       // "pt", validated and evaluated
    Rep condition = nullptr; // "a == 3", validated
    Item typeResult = nullptr;
    Item conditionType = nullptr;
    Item result = nullptr;
    Node root = nullptr;
    Node member = nullptr; // pt.x
    View view = nullptr;
    Item local = nullptr; // the view's first value
};

class BoundaryWalk : public ::testing::Test {
public:
    // One call of every entry point with the handles; what the calls hand
    // out is released again.
    struct Call {
        const char* entry;
        std::function<void(Handles&)> run;
    };

protected:
    void SetUp() override
    {
        host = std::make_unique<TestHost>(true);
        ProgramFile::Options options;
        file = ProgramFile::read(program, *host, options);
        context = file.context();
        ASSERT_EQ(evaluator.initialize(*host), 1);
    }

    // Builds the walk's handles with the host healthy.
    Handles build()
    {
        Handles h;
        auto buildRep = dbg.get<UBYTE2 (*)(unsigned char*, Context, UBYTE4, UBYTE4, Rep*)>("DbgBuildExprIntRep");
        auto validate = dbg.get<UBYTE2 (*)(Rep, Context, Item*)>("DbgValidateExpr");
        auto evaluate = dbg.get<UBYTE2 (*)(Rep, Context, Item*, UBYTE1**)>("DbgEvaluateExpr");
        auto rootNode = dbg.get<UBYTE2 (*)(Item, Node*)>("DbgBuildRootNodeInfo");
        auto member = dbg.get<UBYTE2 (*)(Item, Node, UBYTE8, Node*, UBYTE1**)>("Dbg2QueryStructElementInfo");
        auto locals = dbg.get<UBYTE4 (*)(Context, int, View*, unsigned)>("DbgBuildLocalVariables");
        auto localValue = dbg.get<UBYTE2 (*)(View, UBYTE4, Item*)>("DbgGetLocalValue");
        EXPECT_EQ(buildRep(text("pt"), context, 1, 0, &h.rep), 0);
        EXPECT_EQ(validate(h.rep, context, &h.typeResult), 0);
        UBYTE1* name = nullptr;
        EXPECT_EQ(evaluate(h.rep, context, &h.result, &name), 0);
        EXPECT_EQ(rootNode(h.result, &h.root), 0);
        // The program file's structures are classes to the library.
        UBYTE4 members = 0, bases = 0;
        Context classContext = nullptr;
        TYPE_INDEX type{};
        EXPECT_EQ(dbg.get<UBYTE2 (*)(Item, Node, UBYTE4*, UBYTE4*, Context*, TYPE_INDEX*)>("DbgQueryClassInfo")(
                      h.result, h.root, &members, &bases, &classContext, &type),
                  0);
        EXPECT_EQ(dbg.get<UBYTE2 (*)(Item, Node, UBYTE4, Node*, UBYTE1**)>("DbgQueryClassDataMemInfo")(
                      h.result, h.root, 1, &h.member, &name),
                  0);
        (void)member;
        EXPECT_EQ(buildRep(text("a == 3"), context, 1, 0, &h.condition), 0);
        EXPECT_EQ(validate(h.condition, context, &h.conditionType), 0);
        EXPECT_NE(locals(context, 1, &h.view, 1), 0u);
        localValue(h.view, 0, &h.local);
        return h;
    }

    // Releases what build made, in the host's order.
    void release(Handles& h)
    {
        dbg.get<void (*)(Node)>("DbgFreeTreeNodeInfo")(h.member);
        dbg.get<void (*)(Node)>("DbgFreeTreeNodeInfo")(h.root);
        dbg.get<void (*)(Item)>("DbgFreeEvalResultInfo")(h.result);
        dbg.get<void (*)(Item)>("DbgFreeTypeResultInfo")(h.typeResult);
        dbg.get<void (*)(Item)>("DbgFreeTypeResultInfo")(h.conditionType);
        dbg.get<void (*)(Rep)>("DbgFreeExprIntRep")(h.rep);
        dbg.get<void (*)(Rep)>("DbgFreeExprIntRep")(h.condition);
        dbg.get<void (*)(View)>("DbgFreeLocalVariables")(h.view);
        h = Handles{};
    }

    std::vector<Call> calls();
    // The releases, each of which ends its handle.
    std::vector<Call> releases();

    std::unique_ptr<TestHost> host;
    ProgramFile file;
    Context context = nullptr;
    LoadedEvaluator evaluator{NORVEXA_LIBRARY_FILE};
    Entries dbg{evaluator};
};

std::vector<BoundaryWalk::Call> BoundaryWalk::calls()
{
    const Entries& d = dbg;
    const Context ctx = context;
    auto freeItem = [&d](Item i) { d.get<void (*)(Item)>("DbgFreeEvalResultInfo")(i); };
    auto freeNode = [&d](Node n) { d.get<void (*)(Node)>("DbgFreeTreeNodeInfo")(n); };
    std::vector<Call> c;
    c.push_back({"DbgVersion", [&d](Handles&) { d.get<UBYTE4 (*)()>("DbgVersion")(); }});
    c.push_back({"DbgInitialize", [&d, this](Handles&) {
                     if (d.get<BYTE4 (*)(DBG2_SERVICE_FUNCTIONS*)>("DbgInitialize")(host->activate()) == 1)
                         d.get<void (*)()>("DbgTerminateRunTime")();
                 }});
    c.push_back({"DbgTerminateRunTime", [&d, this](Handles&) {
                     // Balanced: the walk's own initialisation stays.
                     d.get<BYTE4 (*)(DBG2_SERVICE_FUNCTIONS*)>("DbgInitialize")(host->activate());
                     d.get<void (*)()>("DbgTerminateRunTime")();
                 }});
    c.push_back({"DbgQueryUseUTF8", [&d](Handles&) { d.get<UBYTE2 (*)()>("DbgQueryUseUTF8")(); }});
    c.push_back({"DbgSetBrowseMode", [&d](Handles&) { d.get<UBYTE2 (*)(UBYTE1)>("DbgSetBrowseMode")(0); }});
    c.push_back({"DbgBuildExprIntRep", [&d, ctx](Handles&) {
                     Rep rep = nullptr;
                     d.get<UBYTE2 (*)(unsigned char*, Context, UBYTE4, UBYTE4, Rep*)>("DbgBuildExprIntRep")(
                         text("a + 1"), ctx, 1, 0, &rep);
                     d.get<void (*)(Rep)>("DbgFreeExprIntRep")(rep);
                 }});
    c.push_back({"DbgValidateExpr", [&d, ctx](Handles& h) {
                     Item t = nullptr;
                     d.get<UBYTE2 (*)(Rep, Context, Item*)>("DbgValidateExpr")(h.rep, ctx, &t);
                     if (t != nullptr && t != h.typeResult) {
                         d.get<void (*)(Item)>("DbgFreeTypeResultInfo")(h.typeResult);
                         h.typeResult = t;
                     }
                 }});
    c.push_back(
        {"DbgTestExpr", [&d, ctx](Handles& h) { d.get<UBYTE2 (*)(Rep, Context)>("DbgTestExpr")(h.condition, ctx); }});
    c.push_back({"DbgEvaluateExpr", [&d, ctx, freeItem](Handles& h) {
                     Item r = nullptr;
                     UBYTE1* name = nullptr;
                     d.get<UBYTE2 (*)(Rep, Context, Item*, UBYTE1**)>("DbgEvaluateExpr")(h.condition, ctx, &r, &name);
                     freeItem(r);
                 }});
    c.push_back({"DbgResetExprIntRep", [&d](Handles& h) { d.get<void (*)(Rep)>("DbgResetExprIntRep")(h.condition); }});
    c.push_back({"DbgExtendedErrorInfo", [&d](Handles& h) {
                     d.get<const UBYTE1* (*)(Rep, const UBYTE1*)>("DbgExtendedErrorInfo")(h.rep, locale);
                 }});
    c.push_back({"DbgExtendedErrorInfo2", [&d](Handles& h) {
                     d.get<const UBYTE1* (*)(Rep, Node, const UBYTE1*)>("DbgExtendedErrorInfo2")(nullptr, h.member,
                                                                                                 locale);
                 }});
    c.push_back({"DbgBuildRootNodeInfo", [&d, freeNode](Handles& h) {
                     Node n = nullptr;
                     d.get<UBYTE2 (*)(Item, Node*)>("DbgBuildRootNodeInfo")(h.result, &n);
                     freeNode(n);
                 }});
    c.push_back({"DbgFormatTreeValue2a", [&d](Handles& h) {
                     UBYTE1* out = nullptr;
                     auto f = d.get<UBYTE2 (*)(Node, UBYTE2, Item, UBYTE1**, UBYTE4)>("DbgFormatTreeValue2a");
                     f(h.member, 2, h.result, &out, 100);
                     f(h.root, 2, nullptr, &out, 100);
                 }});
    c.push_back({"DbgFormatTreeValue", [&d](Handles& h) {
                     UBYTE1* out = nullptr;
                     d.get<UBYTE2 (*)(Node, UBYTE2, Item, UBYTE1**)>("DbgFormatTreeValue")(h.member, 2, h.result, &out);
                 }});
    c.push_back({"DbgUpdateTreeValue", [&d, ctx](Handles& h) {
                     d.get<UBYTE2 (*)(Context, Item, Node, UBYTE2, UBYTE1*)>("DbgUpdateTreeValue")(
                         ctx, h.result, h.member, 2, text("7"));
                 }});
    c.push_back({"DbgQueryStructInfo", [&d](Handles& h) {
                     UBYTE4 n = 0;
                     d.get<UBYTE2 (*)(Item, Node, UBYTE4*)>("DbgQueryStructInfo")(h.result, h.root, &n);
                 }});
    c.push_back({"DbgQueryArrayInfo", [&d](Handles& h) {
                     UBYTE4 n = 0;
                     BYTE4 first = 0;
                     d.get<UBYTE2 (*)(Item, Node, UBYTE4*, BYTE4*)>("DbgQueryArrayInfo")(h.result, h.root, &n, &first);
                 }});
    c.push_back({"Dbg2QueryStructElementInfo", [&d, freeNode](Handles& h) {
                     Node n = nullptr;
                     UBYTE1* name = nullptr;
                     d.get<UBYTE2 (*)(Item, Node, UBYTE8, Node*, UBYTE1**)>("Dbg2QueryStructElementInfo")(
                         h.result, h.root, 2, &n, &name);
                     freeNode(n);
                 }});
    c.push_back({"Dbg2QueryArrayElementInfo", [&d, freeNode](Handles& h) {
                     Node n = nullptr;
                     d.get<UBYTE2 (*)(Item, Node, UBYTE8, Node*)>("Dbg2QueryArrayElementInfo")(h.result, h.root, 0, &n);
                     freeNode(n);
                 }});
    c.push_back({"DbgQueryResultsRepsAndDataType", [&d](Handles& h) {
                     UBYTE2 count = 0, defaultRep = 0, type = 0, length = 0;
                     UBYTE2 *reps = nullptr, *results = nullptr;
                     UBYTE1* name = nullptr;
                     d.get<UBYTE2 (*)(Item, Node, UBYTE2*, UBYTE2**, UBYTE2**, UBYTE2*, UBYTE1**, UBYTE2*, UBYTE2*)>(
                         "DbgQueryResultsRepsAndDataType")(h.result, h.member, &count, &reps, &results, &defaultRep,
                                                           &name, &type, &length);
                 }});
    c.push_back({"DbgQueryResultType", [&d](Handles& h) {
                     UBYTE2 count = 0, defaultRep = 0;
                     UBYTE2 *reps = nullptr, *results = nullptr;
                     UBYTE1* name = nullptr;
                     d.get<UBYTE2 (*)(Item, Node, UBYTE2*, UBYTE2**, UBYTE2**, UBYTE2*, UBYTE1**)>(
                         "DbgQueryResultType")(h.result, h.member, &count, &reps, &results, &defaultRep, &name);
                 }});
    c.push_back({"DbgGetTreeNodeContext", [&d](Handles& h) {
                     Context out = nullptr;
                     d.get<UBYTE2 (*)(Node, Context*)>("DbgGetTreeNodeContext")(h.member, &out);
                 }});
    using Name4 = UBYTE1* (*)(Item, Node, UBYTE1*, UBYTE1*);
    for (const char* name : {"DbgClassDataMemberFullName", "DbgClassBaseClassFullName", "DbgStructElementFullName"})
        c.push_back({name, [&d, name](Handles& h) { d.get<Name4>(name)(h.result, h.root, text("pt"), text("x")); }});
    c.push_back({"DbgDerefPointerFullName", [&d](Handles& h) {
                     d.get<UBYTE1* (*)(Item, Node, UBYTE1*)>("DbgDerefPointerFullName")(h.result, h.root, text("pt"));
                 }});
    c.push_back({"DbgMakeUnambiguousFullName",
                 [&d](Handles&) { d.get<UBYTE1* (*)(UBYTE1*)>("DbgMakeUnambiguousFullName")(text("a + b")); }});
    c.push_back({"DbgArrayElementFullName", [&d](Handles& h) {
                     d.get<UBYTE1* (*)(Item, Node, UBYTE1*, BYTE4)>("DbgArrayElementFullName")(h.result, h.member,
                                                                                               text("pt"), 1);
                 }});
    c.push_back(
        {"DbgBuildNodeExpression", [&d](Handles& h) { d.get<UBYTE1* (*)(Node)>("DbgBuildNodeExpression")(h.member); }});
    c.push_back({"DbgDemangleName", [&d](Handles&) {
                     UBYTE1 *readable = nullptr, *name = nullptr;
                     d.get<UBYTE2 (*)(UBYTE4, UBYTE1*, UBYTE1**, UBYTE1**)>("DbgDemangleName")(2, text("_Z1fi"),
                                                                                               &readable, &name);
                 }});
    c.push_back({"DbgQueryAllActions", [&d](Handles&) {
                     d.get<const ExpressionEvaluatorAction** (*)(const UBYTE1*)>("DbgQueryAllActions")(locale);
                 }});
    c.push_back(
        {"DbgQueryNodeActions", [&d](Handles& h) { d.get<const UBYTE2* (*)(Node)>("DbgQueryNodeActions")(h.root); }});
    c.push_back({"DbgPerformNodeAction",
                 [&d](Handles& h) { d.get<UBYTE2 (*)(Node, UBYTE2)>("DbgPerformNodeAction")(h.root, 1); }});
    c.push_back({"DbgPerformTreeAction", [&d, freeItem](Handles& h) {
                     Item r = nullptr;
                     UBYTE1* name = nullptr;
                     d.get<UBYTE2 (*)(Node, UBYTE2, Item*, UBYTE1**)>("DbgPerformTreeAction")(h.root, 2, &r, &name);
                     freeItem(r);
                 }});
    c.push_back({"Dbg2ResultAddress", [&d, ctx](Handles& h) {
                     EE_ADDR address{};
                     d.get<UBYTE2 (*)(Rep, Context, EE_ADDR*)>("Dbg2ResultAddress")(h.rep, ctx, &address);
                 }});
    c.push_back({"DbgResultAddressPossible",
                 [&d, ctx](Handles& h) { d.get<int (*)(Rep, Context)>("DbgResultAddressPossible")(h.rep, ctx); }});
    c.push_back({"DbgCalcWatchData", [&d, ctx](Handles& h) {
                     EE_ADDR address{};
                     UBYTE4 size = 0;
                     d.get<UBYTE2 (*)(Context, Item, Node, EE_ADDR*, UBYTE4*)>("DbgCalcWatchData")(
                         ctx, h.result, h.member, &address, &size);
                 }});
    c.push_back({"Dbg2CalcStackItemAddress", [&d, ctx](Handles& h) {
                     EE_ADDR address{};
                     TYPE_INDEX index{};
                     d.get<UBYTE2 (*)(Context, Item, Node, EE_ADDR*, TYPE_INDEX*)>("Dbg2CalcStackItemAddress")(
                         ctx, h.result, h.member, &address, &index);
                 }});
    c.push_back(
        {"DbgWhatIs", [&d, ctx](Handles&) {
             UBYTE1* out = nullptr;
             if (d.get<UBYTE2 (*)(const UBYTE1*, Context, int, UBYTE1**)>("DbgWhatIs")(text("pt"), ctx, 1, &out) == 0)
                 std::free(out);
         }});
    c.push_back({"DbgBuildTypeFullName", [&d, ctx](Handles&) {
                     d.get<UBYTE1* (*)(Context, TYPE_INDEX)>("DbgBuildTypeFullName")(ctx, TYPE_INDEX{0, 130});
                 }});
    c.push_back({"DbgQueryTypes", [&d](Handles&) {
                     UBYTE4 n = 0;
                     UBYTE4* list = nullptr;
                     d.get<UBYTE2 (*)(UBYTE4*, UBYTE4**, UBYTE4)>("DbgQueryTypes")(&n, &list, 1);
                 }});
    c.push_back({"DbgQueryTypeRepresentations", [&d](Handles&) {
                     UBYTE4 n = 0;
                     UBYTE4* list = nullptr;
                     d.get<UBYTE2 (*)(UBYTE4, UBYTE4*, UBYTE4**)>("DbgQueryTypeRepresentations")(1, &n, &list);
                 }});
    c.push_back({"DbgSetDefaultRep", [&d](Handles&) {
                     // Out of range: the defaults stay as they are.
                     d.get<UBYTE2 (*)(UBYTE4, UBYTE4)>("DbgSetDefaultRep")(1, 99);
                 }});
    c.push_back({"DbgQueryClassInfo", [&d](Handles& h) {
                     UBYTE4 members = 0, bases = 0;
                     Context out = nullptr;
                     TYPE_INDEX type{};
                     d.get<UBYTE2 (*)(Item, Node, UBYTE4*, UBYTE4*, Context*, TYPE_INDEX*)>("DbgQueryClassInfo")(
                         h.result, h.root, &members, &bases, &out, &type);
                 }});
    c.push_back({"DbgQueryClassDataMemInfo", [&d, freeNode](Handles& h) {
                     Node n = nullptr;
                     UBYTE1* name = nullptr;
                     d.get<UBYTE2 (*)(Item, Node, UBYTE4, Node*, UBYTE1**)>("DbgQueryClassDataMemInfo")(
                         h.result, h.root, 1, &n, &name);
                     freeNode(n);
                 }});
    c.push_back({"DbgQueryClassBaseClassInfo", [&d, freeNode](Handles& h) {
                     Node n = nullptr;
                     UBYTE1* name = nullptr;
                     UBYTE4 flags = 0;
                     d.get<UBYTE2 (*)(Item, Node, UBYTE4, Node*, UBYTE1**, UBYTE4*)>("DbgQueryClassBaseClassInfo")(
                         h.result, h.root, 1, &n, &name, &flags);
                     freeNode(n);
                 }});
    c.push_back({"DbgBuildLocalVariables", [&d, ctx](Handles&) {
                     View v = nullptr;
                     d.get<UBYTE4 (*)(Context, int, View*, unsigned)>("DbgBuildLocalVariables")(ctx, 1, &v, 1);
                     d.get<void (*)(View)>("DbgFreeLocalVariables")(v);
                 }});
    c.push_back({"DbgGetLocalValue", [&d](Handles& h) {
                     Item v = nullptr;
                     d.get<UBYTE2 (*)(View, UBYTE4, Item*)>("DbgGetLocalValue")(h.view, 0, &v);
                 }});
    c.push_back({"DbgGetLocalVariable", [&d](Handles& h) {
                     Item v = nullptr;
                     const UBYTE1* name = nullptr;
                     d.get<UBYTEP (*)(View, UBYTE4, const UBYTE1**, Item*)>("DbgGetLocalVariable")(h.view, 0, &name,
                                                                                                   &v);
                 }});
    c.push_back({"DbgRefreshLocalVariableFrame", [&d, ctx](Handles& h) {
                     d.get<void (*)(View, Context, UBYTE2)>("DbgRefreshLocalVariableFrame")(h.view, ctx, 0);
                 }});
    c.push_back({"DbgRefreshLocalVariables",
                 [&d, ctx](Handles& h) { d.get<void (*)(View, Context)>("DbgRefreshLocalVariables")(h.view, ctx); }});
    for (const char* name :
         {"DbgChangeSharedVariableElement", "DbgEvaluateSharedVariableElement", "DbgGetSharedVariableElement",
          "DbgGetSharedVariableDimension", "DbgGetSharedVariableProperties"})
        c.push_back({name, [&d, name](Handles&) { d.get<UBYTE2 (*)()>(name)(); }});
    return c;
}

std::vector<BoundaryWalk::Call> BoundaryWalk::releases()
{
    const Entries& d = dbg;
    return {
        {"DbgFreeTreeNodeInfo",
         [&d](Handles& h) {
             d.get<void (*)(Node)>("DbgFreeTreeNodeInfo")(h.member);
             h.member = nullptr;
         }},
        {"DbgFreeEvalResultInfo",
         [&d](Handles& h) {
             d.get<void (*)(Item)>("DbgFreeEvalResultInfo")(h.result);
             h.result = nullptr;
         }},
        {"DbgFreeTypeResultInfo",
         [&d](Handles& h) {
             d.get<void (*)(Item)>("DbgFreeTypeResultInfo")(h.typeResult);
             h.typeResult = nullptr;
         }},
        {"DbgFreeExprIntRep",
         [&d](Handles& h) {
             d.get<void (*)(Rep)>("DbgFreeExprIntRep")(h.rep);
             h.rep = nullptr;
         }},
        {"DbgFreeLocalVariables",
         [&d](Handles& h) {
             d.get<void (*)(View)>("DbgFreeLocalVariables")(h.view);
             h.view = nullptr;
             h.local = nullptr;
         }},
    };
}

// Runs a call; what escapes it is noted. failing, when not negative, is the
// allocation of the call that fails (-1: count them only); the answer is
// the number of allocations counted.
long runGuarded(const BoundaryWalk::Call& call, Handles& h, const std::string& when, std::vector<std::string>& escaped,
                long failing = -2)
{
    std::string what;
    if (failing >= -1)
        allocation::failAt(failing);
    try {
        call.run(h);
    } catch (const std::exception& e) {
        what = e.what();
        if (what.empty())
            what = "an exception";
    } catch (...) {
        what = "an exception";
    }
    const long counted = failing >= -1 ? allocation::disarm() : 0;
    if (!what.empty())
        escaped.push_back(std::string(call.entry) + " " + when + ": " + what);
    return counted;
}

const int hostSlots[] = {
    HS_debuggerVersion,
    HS_ExprGetTypeEntry,
    HS_ExprQueryRegisterId,
    HS_ExprQueryRegisterInfo,
    HS_ExprGetRegisterValue,
    HS_ExprSetRegisterValue,
    HS_Expr2MapSection,
    HS_Expr2ReadMemory,
    HS_Expr2WriteMemory,
    HS_ExprGetContextLocationType,
    HS_ExprGetContainingContextInfo,
    HS_ExprGetNumCallStackItems,
    HS_Expr2GetCallStackEntry,
    HS_ExprSearchForSymbolEntry,
    HS_ExprGetBlockSymbol,
    HS_ExprSymbolEntryWithinContext,
    HS_Expr2SearchForSymbolEntries,
    HS_Expr2ComputeThreadStaticBase,
    HS_Expr2TraceEnabled,
    HS_Expr2Trace,
    HS_Expr2TraceWithID,
    HS_Expr2ComputeDWARFaddress,
    HS_Expr2ComputeAbsDWARFaddress,
    HS_Expr2GetTopStackEntry,
    HS_ExprGetSymbolEntries,
    HS_Expr2GetLinkAddress,
    HS_ExprCallFunction,
    HS_ExprGetContextType2,
    HS_Expr2GetKeyAddress,
    HS_Expr2NativeStackIndex,
    HS_ExprGetContainedContexts,
    HS_ExprGetLinkName,
    HS_Expr2GetTypeByName,
    HS_ExprGetCompilationSettingValue,
    HS_ExprGetPlaybackMode,
    HS_ExprGetPathPoint,
    HS_Expr2GetSessionId,
    HS_ExprEbcdicConvert,
    HS_ExprGetCodepage,
    HS_ExprGetRawDbgData,
    HS_ExprGetFileInfo,
};

} // namespace

// Every entry point the library exports is in the walk.
TEST_F(BoundaryWalk, WalksEveryExportedEntryPoint)
{
    std::set<std::string> walked;
    for (const Call& c : calls())
        walked.insert(c.entry);
    for (const Call& c : releases())
        walked.insert(c.entry);
    std::ifstream exports(NORVEXA_EXPORT_LIST);
    ASSERT_TRUE(exports.good());
    std::string name;
    unsigned entries = 0;
    while (std::getline(exports, name)) {
        if (name.rfind("Dbg", 0) != 0)
            continue;
        ++entries;
        EXPECT_EQ(walked.count(name), 1u) << name << " is not walked";
    }
    EXPECT_GT(entries, 60u);
}

// The host fails at each callback in turn, first answering a failure code,
// then throwing: every entry point answers, none lets an exception out.
TEST_F(BoundaryWalk, HostFailingAtEachCallback)
{
    std::vector<std::string> escaped;
    for (const bool throwing : {false, true}) {
        for (const int slot : hostSlots) {
            Handles h = build();
            if (throwing)
                host->throwFromSlot(slot);
            else
                host->failSlot(slot, 1, TestHost::Always);
            const std::string when =
                std::string(throwing ? "throwing" : "failing") + " at slot " + std::to_string(slot);
            for (const Call& call : calls())
                runGuarded(call, h, when, escaped);
            for (const Call& call : releases())
                runGuarded(call, h, when, escaped);
            host->clearProgram();
            release(h);
            host->clearLines();
            host->clearCalls();
        }
    }
    EXPECT_TRUE(escaped.empty()) << ::testing::PrintToString(escaped);
}

// Each allocation of each entry point fails in turn (up to the first 400 of
// a call): the call answers, nothing escapes, and the host can go on.
TEST_F(BoundaryWalk, AllocationFailingAtEachAllocation)
{
    // The trace lines are not kept: the walk would gather millions.
    host->setTraceSwitch(false);
    std::vector<std::string> escaped;
    std::vector<Call> all = calls();
    for (const Call& release : releases())
        all.push_back(release);
    for (const Call& call : all) {
        Handles probe = build();
        const long total = runGuarded(call, probe, "counting", escaped, -1);
        release(probe);
        if (std::strcmp(call.entry, "DbgEvaluateExpr") == 0) {
            EXPECT_GT(total, 0) << "the library's allocations are not the walk's";
        }
        for (long n = 0; n < total && n < 400; ++n) {
            Handles each = build();
            runGuarded(call, each, "failing allocation " + std::to_string(n), escaped, n);
            release(each);
        }
    }
    EXPECT_TRUE(escaped.empty()) << ::testing::PrintToString(escaped);
}
