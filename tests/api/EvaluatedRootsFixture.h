#ifndef NORVEXA_TESTS_API_EVALUATEDROOTSFIXTURE_H
#define NORVEXA_TESTS_API_EVALUATEDROOTSFIXTURE_H

// A fixture over a program file on the simulated host that builds,
// validates and evaluates texts through the entry points and hands out the
// root nodes of their results, as a host does before it walks a tree; every
// handle it made is released at the end. Base is the GoogleTest fixture
// (::testing::Test, or TestWithParam for tests over address sizes).

#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "api/ExpressionEntryPoints.h"
#include "api/PluginEntryPoints.h"
#include "api/TreeNodeEntryPoints.h"
#include "machine/StackItem.h"
#include "testhost/ProgramFile.h"
#include "testhost/TestHost.h"
#include "tree/UpdateTreeNode.h"

template <class Base>
class EvaluatedRootsFixture : public Base {
protected:
    // Reads the program (text, or a file when fromFile) on a new host that
    // shows structures and arrays in their address forms, and initialises
    // the library on it.
    void loadProgram(const std::string& source, unsigned bits, bool fromFile = false)
    {
        host_ = std::make_unique<TestHost>(false);
        ProgramFile::Options options;
        options.bits = bits;
        program_ =
            fromFile ? ProgramFile::readFile(source, *host_, options) : ProgramFile::read(source, *host_, options);
        DBG_VERSION_RECORD version{};
        version.addressForms = 1;
        host_->setVersion(version);
        ASSERT_EQ(DbgInitialize(host_->activate()), 1);
        initialized_ = true;
    }

    void TearDown() override
    {
        for (UpdateTreeNode* node : nodes_)
            DbgFreeTreeNodeInfo(node);
        nodes_.clear();
        for (StackItem* item : results_)
            DbgFreeEvalResultInfo(item);
        for (StackItem* item : types_)
            DbgFreeTypeResultInfo(item);
        for (ExpressionRepresentation* rep : reps_)
            DbgFreeExprIntRep(rep);
        if (initialized_)
            DbgTerminateRunTime();
    }

    // Builds, validates and evaluates text (in the program's language unless
    // one is given); the root node of its result, which becomes item_.
    UpdateTreeNode* root(const std::string& text, int language = -1)
    {
        ExpressionRepresentation* rep = nullptr;
        std::string t = text;
        const UBYTE4 lang = static_cast<UBYTE4>(language < 0 ? program_.languageCode() : language);
        EXPECT_EQ(DbgBuildExprIntRep(reinterpret_cast<unsigned char*>(t.data()), program_.context(), lang, 0, &rep), 0)
            << text;
        if (rep == nullptr)
            return nullptr;
        reps_.push_back(rep);
        StackItem* type = nullptr;
        const UBYTE2 validated = DbgValidateExpr(rep, program_.context(), &type);
        if (type != nullptr)
            types_.push_back(type);
        EXPECT_LT(validated, 10000) << text; // 1003 for a store
        StackItem* result = nullptr;
        UBYTE1* name = nullptr;
        EXPECT_EQ(DbgEvaluateExpr(rep, program_.context(), &result, &name), 0) << text;
        if (result == nullptr)
            return nullptr;
        results_.push_back(result);
        UpdateTreeNode* node = nullptr;
        EXPECT_EQ(DbgBuildRootNodeInfo(result, &node), 0) << text;
        if (node != nullptr) {
            nodes_.push_back(node);
            item_ = result;
        }
        return node;
    }

    std::unique_ptr<TestHost> host_;
    ProgramFile program_;
    StackItem* item_ = nullptr;
    // Released at the end: the roots and the children a test adds, the
    // results, the validated types and the representations.
    std::vector<UpdateTreeNode*> nodes_;
    std::vector<StackItem*> results_, types_;
    std::vector<ExpressionRepresentation*> reps_;

private:
    bool initialized_ = false;
};

#endif
