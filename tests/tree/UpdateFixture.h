#ifndef NORVEXA_TESTS_TREE_UPDATEFIXTURE_H
#define NORVEXA_TESTS_TREE_UPDATEFIXTURE_H

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "datatypes/FloatNumber.h"
#include "machine/LiteralParsers.h"
#include "machine/StackItemFloat.h"
#include "machine/StackItemS.h"
#include "machine/StackItemString.h"
#include "machine/StackItemU.h"
#include "services/ExpressionRepresentation.h"
#include "testhost/inprocess/CountingItem.h"
#include "tree/TreeFixture.h"
#include "tree/UpdateExpressionRoad.h"

// A stand-in for the entry points' road of value updates: it builds real
// representations, answers validation and evaluation with what a test
// programs, makes the value of a text with a function (by default the C
// literal the text spells) and counts what it hands out and gets back.
class TestRoad : public UpdateExpressionRoad {
public:
    using ValueMaker = std::function<StackItem*(EvaluationEnvironment&, const std::string&)>;

    std::uint16_t build(const unsigned char* text, const LCC_Eval_Context_Info*, int language,
                        ExpressionRepresentation*& representation) override
    {
        texts.emplace_back(reinterpret_cast<const char*>(text));
        representation = nullptr;
        if (buildStatus != 0)
            return buildStatus;
        representation = new ExpressionRepresentation(language, text);
        ++built;
        return 0;
    }
    std::uint16_t validate(ExpressionRepresentation& representation, const LCC_Eval_Context_Info*) override
    {
        representation.makeCurrent(nullptr);
        representation.saveValidationResult(new CountingItem(representation, typeResultsFreed));
        ++typeResults;
        return validateStatus;
    }
    std::uint16_t evaluate(ExpressionRepresentation& representation, const LCC_Eval_Context_Info*,
                           StackItem*& result) override
    {
        representation.makeCurrent(nullptr);
        alternateCharsets.push_back(representation.alternateCharset());
        if (evaluateStatus != 0) {
            ++results;
            result = new CountingItem(representation, resultsFreed);
            return evaluateStatus;
        }
        const ByteString text = representation.expression(nullptr);
        result = value(representation, std::string(reinterpret_cast<const char*>(text.data()), text.length()));
        if (result == nullptr)
            return 10000;
        ++results;
        return 0;
    }
    void freeResult(StackItem* result) override
    {
        if (result == nullptr)
            return;
        if (dynamic_cast<CountingItem*>(result) == nullptr)
            ++resultsFreed;
        delete result;
    }
    void freeTypeResult(StackItem* typeResult) override { delete typeResult; }
    void freeRepresentation(ExpressionRepresentation* representation) override
    {
        if (representation != nullptr)
            ++freed;
        delete representation;
    }

    // Whether everything handed out came back.
    bool balanced() const { return built == freed && results == resultsFreed && typeResults == typeResultsFreed; }

    // The C literal a text spells: an integer of the literal's size and
    // sign, a double (a float with the suffix f), or a string in quotes.
    // Anything else is no literal: null (the evaluation fails).
    static StackItem* cLiteral(EvaluationEnvironment& environment, const std::string& text)
    {
        const std::size_t first = text.find_first_not_of("+-");
        if (text.empty() || first == std::string::npos ||
            (text.front() != '"' && !(text[first] >= '0' && text[first] <= '9') && text[first] != '.'))
            return nullptr;
        if (text.size() >= 2 && text.front() == '"' && text.back() == '"') {
            const std::string inner = text.substr(1, text.size() - 2);
            return new StackItemString(
                environment,
                ByteString(reinterpret_cast<const unsigned char*>(inner.data()), static_cast<unsigned>(inner.size())),
                0);
        }
        const bool floating = text.find_first_of(".eE") != std::string::npos && text.rfind("0x", 0) != 0;
        if (floating) {
            if (text.back() == 'f')
                return new StackItemF(environment,
                                      FloatNumber(static_cast<long double>(std::strtof(text.c_str(), nullptr))));
            return new StackItemD(environment,
                                  FloatNumber(static_cast<long double>(std::strtod(text.c_str(), nullptr))));
        }
        int isSigned = 0;
        int size = 0;
        const std::uint64_t v = readIntegralValue(text.c_str(), static_cast<unsigned>(text.size()), isSigned, size);
        if (isSigned != 0 && size == 4)
            return new StackItemS4(environment, static_cast<int>(v));
        if (isSigned != 0)
            return new StackItemS8(environment, static_cast<long long>(v));
        if (size == 4)
            return new StackItemU4(environment, static_cast<unsigned>(v));
        return new StackItemU8(environment, v);
    }

    ValueMaker value = cLiteral;
    std::uint16_t buildStatus = 0;
    std::uint16_t validateStatus = 0;
    std::uint16_t evaluateStatus = 0;
    std::vector<std::string> texts;
    std::vector<std::uint8_t> alternateCharsets;
    int built = 0;
    int freed = 0;
    int results = 0;
    int resultsFreed = 0;
    int typeResults = 0;
    int typeResultsFreed = 0;
};

// Tree nodes updated through the test road, installed for each test.
class UpdateTest : public TreeTest {
protected:
    explicit UpdateTest(int language = languageC, unsigned addressSize = 4) : TreeTest(language, addressSize) {}

    void SetUp() override
    {
        TreeTest::SetUp();
        UpdateExpressionRoad::install(&road);
    }
    void TearDown() override
    {
        UpdateExpressionRoad::install(nullptr);
        TreeTest::TearDown();
    }

    // A root of a type whose value lives at an address.
    Reference<TestRoot> at(const TypeItem& type, std::uint64_t address, const char* name = "v")
    {
        Reference<TestRoot> node = root(type, name);
        node->setLocation(DebuggeeLocation(DebuggeeAddress(address, rep().addressSize() == 8 ? 8 : 4)));
        return node;
    }

    // Updates a node with a text in a representation; the result item the
    // node belongs to is one of the node's type.
    std::uint16_t update(UpdateTreeNode& node, const std::string& text, int representation = 2)
    {
        int deletions = 0;
        CountingItem item(rep(), deletions, 0, node.dataType());
        std::vector<unsigned char> bytes(text.begin(), text.end());
        bytes.push_back(0);
        return node.update(context, representation, bytes.data(), item);
    }

    std::vector<std::uint8_t> memory(std::uint64_t address, std::uint32_t count)
    {
        return host.memory().bytes(address, count);
    }

    // The rows of a tab-separated table of tests/tree/data (comments and
    // empty lines left out).
    static std::vector<std::vector<std::string>> table(const std::string& name) { return dataRows(name.c_str()); }

    static std::vector<std::uint8_t> fromHex(const std::string& hex)
    {
        std::vector<std::uint8_t> out;
        for (std::size_t i = 0; i + 1 < hex.size(); i += 2)
            out.push_back(static_cast<std::uint8_t>(std::stoul(hex.substr(i, 2), nullptr, 16)));
        return out;
    }

    TestRoad road;
};

#endif
