#include "testhost/MachineFixture.h"

MachineFixture::MachineFixture(int language, unsigned addressSize, bool traceOn)
    : TestHostFixture(traceOn), language_(language), addressSize_(addressSize)
{
}

void MachineFixture::SetUp()
{
    TestHostFixture::SetUp();
    context = &host.addContext("main", CS2_FUNCTION);
    useRepresentation(language_, addressSize_);
}

void MachineFixture::TearDown()
{
    // Newest first: each representation leaves the thread without a current
    // environment when it goes.
    while (!reps_.empty())
        reps_.pop_back();
    TestHostFixture::TearDown();
}

ExpressionRepresentation& MachineFixture::useRepresentation(int language, unsigned addressSize)
{
    context->locationType = addressSize == 8 ? 4 : 0;
    auto rep = std::make_unique<ExpressionRepresentation>(language, nullptr);
    rep->setAddressSize(addressSize);
    rep->makeCurrent(context);
    reps_.push_back(std::move(rep));
    return *reps_.back();
}
