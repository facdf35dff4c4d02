#include "tree/DebugType.h"

#include <cstdarg>

DebugType::FormatInfo::FormatInfo(DBG_TYPE type, DBG_RESULT result, DBG_REPS rep, ...) : type_(type)
{
    for (unsigned i = 0; i < maxPairs; ++i) {
        reps_[i] = 0;
        results_[i] = unusedResult;
    }
    va_list more;
    va_start(more, rep);
    while (result != unusedResult) {
        reps_[count_] = rep;
        results_[count_] = result;
        ++count_;
        if (count_ == maxPairs)
            break;
        result = va_arg(more, int);
        if (result == unusedResult)
            break;
        rep = va_arg(more, int);
    }
    va_end(more);
    for (unsigned i = 0; i < maxPairs; ++i) {
        reps32_[i] = static_cast<unsigned short>(reps_[i]);
        reps16_[i] = static_cast<unsigned short>(reps_[i]);
        results16_[i] = static_cast<unsigned short>(results_[i]);
    }
}

std::uint16_t DebugType::FormatInfo::SetDefaultRep(DBG_REPS rep)
{
    for (unsigned i = 0; i < count_; ++i) {
        if (reps_[i] == rep) {
            defaultIndex_.store(i, std::memory_order_relaxed);
            return 0;
        }
    }
    return 10000;
}
