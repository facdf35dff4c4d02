#include "BenchHost.h"

#include <stdexcept>

BenchHost& BenchHost::instance()
{
    static BenchHost bench;
    return bench;
}

BenchHost::BenchHost()
{
    if (!host.install())
        throw std::runtime_error("the evaluator refused the simulated host");
    context = &host.addContext("main", CS2_FUNCTION);
    context->locationType = 4;
    host.memory().storeBigEndian(intAddress, 42, 4);
    // Lives as long as the process, as the host does.
    rep_ = new ExpressionRepresentation(1, nullptr);
    rep_->setAddressSize(8);
}

ExpressionRepresentation& BenchHost::representation()
{
    rep_->makeCurrent(context);
    return *rep_;
}
