#include "RoadSuite.h"

#include <fstream>
#include <iostream>
#include <sstream>

namespace {

const UBYTE1* const locale = reinterpret_cast<const UBYTE1*>("en_US");

} // namespace

// ---- the program ---------------------------------------------------------

RoadProgram::RoadProgram(TestHost& h, unsigned b) : host(h), bits(b)
{
    unit = &host.addContext("unit", CS2_FILE);
    main = &host.addContext("main", CS2_FUNCTION, unit);
    context = main;
    const UBYTE2 locationType = bits == 64 ? 4 : 2;
    unit->locationType = locationType;
    main->locationType = locationType;
    const TYPE_INDEX intType{0, 130};
    _SYMBOL_ENTRY& function = records().function("main", records().functionType(intType, {}), 1, 0x100);
    main->blockSymbol = &function;
    host.addSection(1, data, bits);
    host.addFrame(main, stack, bits);
}

_SYMBOL_ENTRY& RoadProgram::declare(_SYMBOL_ENTRY& entry)
{
    return host.declare(*main, entry);
}

_SYMBOL_ENTRY& RoadProgram::variable(const std::string& name, TYPE_INDEX type, UBYTE8 offset, UBYTE1 level)
{
    _SYMBOL_ENTRY& e = records().staticVariable(name, type, 1, offset, level);
    e.statics.attributeD = 1;
    return declare(e);
}

_SYMBOL_ENTRY& RoadProgram::automatic(const std::string& name, TYPE_INDEX type, std::int64_t offset)
{
    return declare(records().automaticVariable(name, type, offset));
}

_SYMBOL_ENTRY& RoadProgram::member(const std::string& name, const _SYMBOL_ENTRY& group, UBYTE1 level)
{
    return declare(records().qualifiedName(name, group, level));
}

void RoadProgram::poke(UBYTE8 offset, const std::vector<UBYTE1>& bytes)
{
    for (std::size_t i = 0; i < bytes.size(); ++i)
        host.memory().storeBigEndian(data + offset + i, bytes[i], 1);
}

std::vector<UBYTE1> RoadProgram::peek(UBYTE8 offset, unsigned count) const
{
    std::vector<UBYTE1> out;
    for (unsigned i = 0; i < count; ++i)
        out.push_back(host.memory().bytes(data + offset + i, 1)[0]);
    return out;
}

// ---- one run ---------------------------------------------------------------

std::string RoadRun::errorText() const
{
    if (dbg.errorText == nullptr)
        return "<no error-text entry>";
    const UBYTE1* text = dbg.errorText(rep, locale);
    return text != nullptr ? reinterpret_cast<const char*>(text) : "<null>";
}

UpdateTreeNode* RoadRun::root()
{
    UpdateTreeNode* node = nullptr;
    EXPECT_EQ(dbg.rootNode(result, &node), 0);
    if (node != nullptr)
        nodes.push_back(node);
    return node;
}

UBYTE2 RoadRun::format(UpdateTreeNode* node, UBYTE2 rep, std::string& text)
{
    UBYTE1* out = nullptr;
    const UBYTE2 status = dbg.format(node, rep, result, &out, 4096);
    text = out != nullptr ? reinterpret_cast<const char*>(out) : "<null>";
    return status;
}

UBYTE4 RoadRun::memberCount(UpdateTreeNode* node)
{
    UBYTE4 count = 0;
    EXPECT_EQ(dbg.structInfo(result, node, &count), 0);
    return count;
}

UpdateTreeNode* RoadRun::member(UpdateTreeNode* node, unsigned n, std::string& name)
{
    UpdateTreeNode* child = nullptr;
    UBYTE1* text = nullptr;
    if (dbg.structElement(result, node, n, &child, &text) != 0 || child == nullptr)
        return nullptr;
    nodes.push_back(child);
    name = text != nullptr ? reinterpret_cast<const char*>(text) : "";
    return child;
}

UpdateTreeNode* RoadRun::element(UpdateTreeNode* node, UBYTE8 index)
{
    UpdateTreeNode* child = nullptr;
    if (dbg.arrayElement(result, node, index, &child) != 0 || child == nullptr)
        return nullptr;
    nodes.push_back(child);
    return child;
}

UBYTE2 RoadRun::evaluateAgain()
{
    if (dbg.freeResult != nullptr)
        dbg.freeResult(result);
    result = nullptr;
    return evaluated = dbg.evaluate(rep, program.context, &result, &name);
}

void RoadRun::expectCondition(UBYTE2 answer)
{
    if (reaches(dbg.test, "DbgTestExpr")) {
        EXPECT_EQ(dbg.test(rep, program.context), answer);
    }
}

// ---- the catalogue ---------------------------------------------------------

std::string catalogueText(int id, const char* insert)
{
    std::ifstream source(NORVEXA_CATALOG_SOURCE);
    std::string line;
    const std::string key = std::to_string(id) + " \"";
    while (std::getline(source, line)) {
        if (line.rfind(key, 0) != 0)
            continue;
        std::string text = line.substr(key.size(), line.size() - key.size() - 1);
        const std::size_t prefix = text.find("$$$$");
        if (prefix != std::string::npos)
            text.replace(prefix, 4, "ZEMT");
        const std::size_t marker = text.find("%1");
        if (marker != std::string::npos && insert != nullptr)
            text.replace(marker, 2, insert);
        return text;
    }
    return "<no message " + std::to_string(id) + ">";
}

// ---- the suite -------------------------------------------------------------

RoadSuite::RoadSuite() = default;

void RoadSuite::SetUp() {}

void RoadSuite::TearDown()
{
    if (dbg.browseMode != nullptr)
        dbg.browseMode(0);
    if (!unreached.empty()) {
        std::string names;
        for (const std::string& name : unreached)
            names += (names.empty() ? "" : ", ") + name;
        std::cout << "  left out, reached by name only: " << names << "\n";
    }
}

void RoadSuite::run(const RoadCase& c)
{
    SCOPED_TRACE(std::string(c.what) + ": " + c.text + " in a " + std::to_string(GetParam()) + "-bit program");
    std::unique_ptr<TestHost> previous = std::move(host);
    if (previous != nullptr)
        evaluator.terminate();
    host = std::make_unique<TestHost>(false);
    if (prepareHost)
        prepareHost(*host);
    ASSERT_EQ(evaluator.initialize(*host), 1);
    previous.reset();
    RoadProgram program(*host, GetParam());
    c.fixture(program);

    RoadRun r{program, dbg, nullptr, nullptr, nullptr, nullptr, 0, 0, {}, &unreached};
    std::string text = c.text;
    ASSERT_EQ(dbg.build(reinterpret_cast<unsigned char*>(text.data()), program.context, static_cast<UBYTE4>(c.language),
                        0, &r.rep),
              0);
    r.validated = dbg.validate(r.rep, program.context, &r.typeResult);
    EXPECT_EQ(r.validated, c.validation);
    EXPECT_EQ(r.typeResult != nullptr, r.validated < 10000);
    if (c.message >= 0 && r.reaches(dbg.errorText, "DbgExtendedErrorInfo")) {
        EXPECT_EQ(r.errorText(), "  >> " + text + "\n\n" + catalogueText(c.message, c.insert));
    }
    if (c.evaluation != RoadCase::noEvaluation) {
        r.evaluated = dbg.evaluate(r.rep, program.context, &r.result, &r.name);
        EXPECT_EQ(r.evaluated, c.evaluation);
        if (c.name != nullptr) {
            EXPECT_EQ(r.name != nullptr ? reinterpret_cast<const char*>(r.name) : "<null>", std::string(c.name));
        }
    }
    if (c.oracle)
        c.oracle(r);

    // Where results and nodes are released by name only, the host lets
    // them be (the Windows table releases representations alone).
    auto freeNodes = [&] {
        if (dbg.freeNode != nullptr)
            for (UpdateTreeNode* node : r.nodes)
                dbg.freeNode(node);
    };
    auto freeResults = [&] {
        if (dbg.freeResult != nullptr)
            dbg.freeResult(r.result);
        if (dbg.freeTypeResult != nullptr)
            dbg.freeTypeResult(r.typeResult);
    };
    switch (c.cleanup) {
    case RoadCleanup::resultsFirst:
        freeNodes();
        freeResults();
        dbg.freeRep(r.rep);
        break;
    case RoadCleanup::representationFirst:
        dbg.freeRep(r.rep);
        freeNodes();
        freeResults();
        break;
    case RoadCleanup::nodesLast:
        freeResults();
        dbg.freeRep(r.rep);
        freeNodes();
        break;
    }
}

INSTANTIATE_TEST_SUITE_P(AddressSizes, RoadSuite, ::testing::Values(32u, 64u),
                         [](const ::testing::TestParamInfo<unsigned>& info) {
                             return "bits" + std::to_string(info.param);
                         });
