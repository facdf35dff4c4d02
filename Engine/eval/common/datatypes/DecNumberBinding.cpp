#include "datatypes/DecNumberBinding.h"

#include <atomic>
#include <mutex>
#include <type_traits>

#include <plomkit/EncodedString.h>
#include <plomkit/Engine_Loader.h>
#include <plomkit/FileName.h>
#include <plomkit/StdException.h>

uintptr_t ep[DECNUMBER_SLOT_COUNT + 1];

namespace {

constexpr uintptr_t tableBytes = sizeof(ep);

// Serialises loading: two threads making their first decimal call at once
// load the library once.
std::mutex& loadLock()
{
    static std::mutex lock;
    return lock;
}

std::atomic<Engine_Loader*> testLoader{nullptr};

inline uintptr_t readSlot(int slot)
{
    return __atomic_load_n(&ep[slot], __ATOMIC_ACQUIRE);
}

// Loads the library and fills `ep`; false when the library, its entry or one
// of its operations is missing (the slots then stay empty). Throws nothing:
// the forwarding functions below are C functions.
bool loadEntryPoints() noexcept
{
    try {
        std::lock_guard<std::mutex> guard(loadLock());
        __atomic_store_n(&ep[0], tableBytes, __ATOMIC_RELEASE);

        // Another thread may have loaded while this one waited.
        bool filled = true;
        for (int slot = 1; slot <= DECNUMBER_SLOT_COUNT && filled; ++slot)
            filled = readSlot(slot) != 0;
        if (filled)
            return true;

        Engine_Loader* loader = testLoader.load();
        if (loader == nullptr)
            loader = &Engine_Loader::instance();
        void* entry;
        {
            FileName library(L"vosdecn");
            EncodedString entryName(L"tarnelxEntry");
            entry = loader->loadEntryPoint(library, entryName);
        }
        if (entry == nullptr)
            return false;

        // The entry fills a private copy of the table; only a complete table
        // is published, so a forwarding function never jumps to an empty slot
        // and readers on other threads never see a half-written one.
        uintptr_t table[DECNUMBER_SLOT_COUNT + 1] = {tableBytes};
        reinterpret_cast<void (*)(uintptr_t*)>(entry)(table);
        for (int slot = 1; slot <= DECNUMBER_SLOT_COUNT; ++slot)
            if (table[slot] == 0)
                return false;
        for (int slot = 1; slot <= DECNUMBER_SLOT_COUNT; ++slot)
            __atomic_store_n(&ep[slot], table[slot], __ATOMIC_RELEASE);
        return true;
    } catch (...) {
        return false;
    }
}

// The operation of a slot, loading the library first when the slot is empty;
// null when the library cannot be loaded.
template <typename Function>
inline Function operation(int slot) noexcept
{
    uintptr_t address = readSlot(slot);
    if (address == 0 && loadEntryPoints())
        address = readSlot(slot);
    return reinterpret_cast<Function>(address);
}

// What a forwarding function answers when the library cannot be loaded: the
// decNumber interface's own failure report, a null result, with
// DEC_Invalid_operation added to the status of the context passed, if any.
inline void markUnavailable(decContext* context) noexcept
{
    if (context != nullptr)
        context->status |= DEC_Invalid_operation;
}
template <typename T>
inline void markUnavailable(T) noexcept
{}

template <typename Result, typename... Args>
inline Result unavailable(Args... args) noexcept
{
    static_assert(std::is_pointer_v<Result>, "every operation answers a pointer");
    (markUnavailable(args), ...);
    return nullptr;
}

} // namespace

void setDecNumberLoader(Engine_Loader* loader)
{
    testLoader.store(loader);
}

void getDecNumberEntryPoints()
{
    if (!loadEntryPoints())
        throw StdException("void getDecNumberEntryPoints()", 44, "Cannot load tarnelx", -1);
}

void decimalContext(decContext& context, int32_t kind)
{
    // The last slot is published last: once it is set, every slot is.
    if (readSlot(DECNUMBER_SLOT_COUNT) == 0)
        getDecNumberEntryPoints();
    decContextDefault(&context, kind);
}

// One forwarding function per slot: the call goes on to the library's
// operation with the caller's arguments unchanged. These are C functions that
// a C caller may reach: no exception leaves them. A library that cannot be
// loaded gives a null result (and a status on the context, when one is
// passed); the evaluator's own C++ code makes its contexts through
// decimalContext, which raises the load failure as an exception instead.
#define DECNUMBER_FORWARD(slot, result, name, params, args)                                                            \
    result name params                                                                                                 \
    {                                                                                                                  \
        if (auto operationOfSlot = operation<result(*) params>(slot))                                                  \
            return operationOfSlot args;                                                                               \
        return unavailable<result> args;                                                                               \
    }

extern "C" {

DECNUMBER_FORWARD(1, decContext*, decContextDefault, (decContext * c, int32_t k), (c, k))
DECNUMBER_FORWARD(2, decContext*, decContextSetStatus, (decContext * c, uint32_t s), (c, s))
DECNUMBER_FORWARD(3, const char*, decContextStatusToString, (const decContext* c), (c))
DECNUMBER_FORWARD(4, decContext*, decContextSetStatusFromString, (decContext * c, const char* s), (c, s))
DECNUMBER_FORWARD(5, decNumber*, decNumberFromString, (decNumber * r, const char* s, decContext* c), (r, s, c))
DECNUMBER_FORWARD(6, char*, decNumberToString, (const decNumber* n, char* s), (n, s))
DECNUMBER_FORWARD(7, char*, decNumberToEngString, (const decNumber* n, char* s), (n, s))

#define DECNUMBER_UNARY(slot, name)                                                                                    \
    DECNUMBER_FORWARD(slot, decNumber*, name, (decNumber * r, const decNumber* a, decContext* c), (r, a, c))
#define DECNUMBER_BINARY(slot, name)                                                                                   \
    DECNUMBER_FORWARD(slot, decNumber*, name, (decNumber * r, const decNumber* a, const decNumber* b, decContext* c),  \
                      (r, a, b, c))

DECNUMBER_UNARY(8, decNumberAbs)
DECNUMBER_BINARY(9, decNumberAdd)
DECNUMBER_BINARY(10, decNumberCompare)
DECNUMBER_BINARY(11, decNumberCompareTotal)
DECNUMBER_BINARY(12, decNumberDivide)
DECNUMBER_BINARY(13, decNumberDivideInteger)
DECNUMBER_UNARY(14, decNumberExp)
DECNUMBER_UNARY(15, decNumberLn)
DECNUMBER_UNARY(16, decNumberLog10)
DECNUMBER_BINARY(17, decNumberMax)
DECNUMBER_BINARY(18, decNumberMin)
DECNUMBER_UNARY(19, decNumberMinus)
DECNUMBER_BINARY(20, decNumberMultiply)
DECNUMBER_UNARY(21, decNumberNormalize)
DECNUMBER_UNARY(22, decNumberPlus)
DECNUMBER_BINARY(23, decNumberPower)
DECNUMBER_BINARY(24, decNumberQuantize)
DECNUMBER_BINARY(25, decNumberRemainder)
DECNUMBER_BINARY(26, decNumberRemainderNear)
DECNUMBER_BINARY(27, decNumberRescale)
DECNUMBER_FORWARD(28, decNumber*, decNumberSameQuantum, (decNumber * r, const decNumber* a, const decNumber* b),
                  (r, a, b))
DECNUMBER_UNARY(29, decNumberSquareRoot)
DECNUMBER_BINARY(30, decNumberSubtract)
DECNUMBER_UNARY(31, decNumberToIntegralValue)
DECNUMBER_FORWARD(32, decNumber*, decNumberCopy, (decNumber * r, const decNumber* a), (r, a))
DECNUMBER_FORWARD(33, decNumber*, decNumberTrim, (decNumber * n), (n))
DECNUMBER_FORWARD(34, const char*, decNumberVersion, (void), ())
DECNUMBER_FORWARD(35, decNumber*, decNumberZero, (decNumber * n), (n))
DECNUMBER_FORWARD(36, uint8_t*, decPackedFromNumber,
                  (uint8_t * bcd, int32_t length, int32_t* scale, const decNumber* n), (bcd, length, scale, n))
DECNUMBER_FORWARD(37, decNumber*, decPackedToNumber,
                  (const uint8_t* bcd, int32_t length, const int32_t* scale, decNumber* n), (bcd, length, scale, n))

#define DECNUMBER_FORMAT(first, bits)                                                                                  \
    DECNUMBER_FORWARD(first, decNumber*, decimal##bits##ToNumber, (const decimal##bits* d, decNumber* n), (d, n))      \
    DECNUMBER_FORWARD(first + 1, decimal##bits*, decimal##bits##FromNumber,                                            \
                      (decimal##bits * d, const decNumber* n, decContext* c), (d, n, c))
#define DECNUMBER_FORMAT_TEXT(first, bits)                                                                             \
    DECNUMBER_FORWARD(first, decimal##bits*, decimal##bits##FromString,                                                \
                      (decimal##bits * d, const char* s, decContext* c), (d, s, c))                                    \
    DECNUMBER_FORWARD(first + 1, char*, decimal##bits##ToString, (const decimal##bits* d, char* s), (d, s))            \
    DECNUMBER_FORWARD(first + 2, char*, decimal##bits##ToEngString, (const decimal##bits* d, char* s), (d, s))

DECNUMBER_FORMAT(38, 32)
DECNUMBER_FORMAT(40, 64)
DECNUMBER_FORMAT(42, 128)
DECNUMBER_FORMAT_TEXT(44, 32)
DECNUMBER_FORMAT_TEXT(47, 64)
DECNUMBER_FORMAT_TEXT(50, 128)

} // extern "C"
