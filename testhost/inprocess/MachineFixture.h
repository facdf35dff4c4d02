#ifndef NORVEXA_TESTHOST_INPROCESS_MACHINEFIXTURE_H
#define NORVEXA_TESTHOST_INPROCESS_MACHINEFIXTURE_H

#include <memory>
#include <vector>

#include "machine/RuntimeStack.h"
#include "services/ExpressionRepresentation.h"
#include "services/InvalidOp.h"
#include "testhost/inprocess/InvalidOpCode.h"
#include "testhost/TestHostFixture.h"

// A simulated host with one function context and an expression
// representation current on the test's thread, in a chosen language (C by
// default) at a chosen address size (4 or 8 bytes). The representation's
// value stack is the machine under test.
class MachineFixture : public TestHostFixture {
protected:
    // A language code the evaluator treats as C.
    enum : int {
        languageC = 1
    };

    explicit MachineFixture(int language = languageC, unsigned addressSize = 4, bool traceOn = false)
        : TestHostFixture(traceOn), language_(language), addressSize_(addressSize)
    {}

    void SetUp() override
    {
        TestHostFixture::SetUp();
        context = &host.addContext("main", CS2_FUNCTION);
        useRepresentation(language_, addressSize_);
    }

    void TearDown() override
    {
        // Newest first: each representation leaves the thread without a
        // current environment when it goes.
        while (!reps_.empty())
            reps_.pop_back();
        TestHostFixture::TearDown();
    }

    // Makes a new representation current on the same context; the earlier
    // ones live until the test ends.
    ExpressionRepresentation& useRepresentation(int language, unsigned addressSize)
    {
        context->locationType = addressSize == 8 ? 4 : 0;
        auto rep = std::make_unique<ExpressionRepresentation>(language, nullptr);
        rep->setAddressSize(addressSize);
        rep->makeCurrent(context);
        reps_.push_back(std::move(rep));
        return *reps_.back();
    }

    ExpressionRepresentation& rep() { return *reps_.back(); }
    RuntimeStack& stack() { return rep().runtimeStack(); }

    LCC_Eval_Context_Info* context = nullptr;

private:
    int language_;
    unsigned addressSize_;
    std::vector<std::unique_ptr<ExpressionRepresentation>> reps_;
};

// The code of the InvalidOp that f throws; 0 when it throws none.
template <class F>
int raisedCode(F&& f)
{
    return codeOf(f);
}

#endif
