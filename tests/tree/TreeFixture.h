#ifndef NORVEXA_TESTS_TREE_TREEFIXTURE_H
#define NORVEXA_TESTS_TREE_TREEFIXTURE_H

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <initializer_list>
#include <sstream>
#include <memory>
#include <string>
#include <vector>

#include "services/DebuggeeAddress.h"
#include "services/DebuggeeLocation.h"
#include "services/EvaluationEnvironment.h"
#include "testhost/inprocess/MachineFixture.h"
#include "tree/Reference.h"
#include "tree/UpdateTreeNode.h"
#include "types/SqlTypeRegistry.h"

// The root the tree tests hang their nodes below: a node that ends the walks
// up (it is the root, knows its environment and makes it current) and can be
// loaded from an address of the simulated debuggee.
class TestRoot : public UpdateTreeNode {
public:
    TestRoot(const TypeItem& type, const char* name, EvaluationEnvironment& environment)
        : UpdateTreeNode(type, name, 0), environment_(environment)
    {}

    bool isRootNode() const override { return true; }
    EvaluationEnvironment* internalRep() const override { return &environment_; }
    TreeNode* rootNode() override { return this; }
    void setInternalRepresentation() const override { environment_.makeCurrent(nullptr); }

    // Reads the root's value from an address (the environment's width).
    bool loadAt(std::uint64_t address)
    {
        setLocation(DebuggeeLocation(DebuggeeAddress(address, environment_.addressSize() == 8 ? 8 : 4)));
        setFlags(flagLoaded);
        return loadDebuggeeData(true, loadNode);
    }

private:
    EvaluationEnvironment& environment_;
};

// A simulated host with a representation current (C unless a test says
// otherwise) at a chosen address size, and helpers for tree nodes and
// SQL host-variable entries.
class TreeTest : public MachineFixture {
protected:
    explicit TreeTest(int language = languageC, unsigned addressSize = 4, bool traceOn = false)
        : MachineFixture(language, addressSize, traceOn)
    {}

    // A kind-89 entry (kept until the test ends) and a type over it.
    TypeItem sqlType(std::uint32_t code, std::uint32_t length, std::int32_t elements = 0,
                     std::uint64_t address = 0x1000, std::uint32_t width = 4)
    {
        SqlTypeEntry record;
        record.setSqlType(code)
            .setLength(length)
            .setMaxLength(length)
            .setElementCount(elements)
            .setAddress(address)
            .setAddressWidth(width);
        entries_.push_back(SqlTypeRegistry::add(record));
        return entries_.back()->typeItem();
    }

    // A root of a type, held by the test.
    Reference<TestRoot> root(const TypeItem& type, const char* name = "v")
    {
        return Reference<TestRoot>(new TestRoot(type, name, rep()));
    }

    // A child of a type at an offset, added to a parent.
    UpdateTreeNode* child(TreeNode& parent, const TypeItem& type, const char* name, std::int64_t offset)
    {
        Reference<UpdateTreeNode> node(new UpdateTreeNode(type, name, offset));
        parent.addChild(node);
        return node.get();
    }

    void poke(std::uint64_t address, std::initializer_list<std::uint8_t> bytes) { host.memory().store(address, bytes); }
    unsigned reads() { return host.callCount(HS_Expr2ReadMemory); }

    // The rows of a table of tests/tree/data: the tab-separated fields of
    // each line that is neither empty nor a comment.
    static std::vector<std::vector<std::string>> dataRows(const char* file)
    {
        const char* dir = std::getenv("NORVEXA_TEST_DATA");
        std::ifstream in(std::string(dir != nullptr ? dir : "tests/tree/data") + "/" + file);
        std::vector<std::vector<std::string>> rows;
        std::string line;
        while (std::getline(in, line)) {
            if (line.empty() || line[0] == '#')
                continue;
            std::vector<std::string> fields;
            std::istringstream split(line);
            for (std::string field; std::getline(split, field, '\t');)
                fields.push_back(field);
            rows.push_back(fields);
        }
        return rows;
    }

    static std::string text(const unsigned char* s) { return s != nullptr ? reinterpret_cast<const char*>(s) : ""; }
    static std::string text(const ByteString& s)
    {
        return std::string(reinterpret_cast<const char*>(s.data()), s.length());
    }

private:
    std::vector<std::unique_ptr<SqlTypeRegistry::Registration>> entries_;
};

#endif
