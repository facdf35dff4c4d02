#include "api/LocalsRepresentation.h"

#include <array>

#include "HostRecordAccess.h"
#include "api/LocalVariable.h"
#include "services/InvalidOp.h"
#include "services/SVC.h"
#include "types/SymbolItem.h"

namespace {

// Bit 0: built-in type indexes shown as locals (and their pointer forms,
// 32 above); bit 1: host leaf codes shown as locals.
constexpr std::array<std::uint8_t, 256> makeDisplayableTypes()
{
    std::array<std::uint8_t, 256> table{};
    constexpr unsigned ranges[][2] = {{128, 130}, {132, 134}, {136, 146}, {148, 150}, {155, 157},
                                      {159, 159}, {192, 193}, {196, 198}, {203, 205}};
    for (const auto& range : ranges) {
        for (unsigned i = range[0]; i <= range[1]; ++i) {
            table[i] |= 1;
            if (i + 32 < 256)
                table[i + 32] |= 1;
        }
    }
    table[183] |= 1;
    constexpr unsigned leaves[] = {1, 4, 6, 11, 18, 25, 27, 31, 50, 52, 53, 60, 63, 64, 65, 66, 71, 72, 83};
    for (unsigned leaf : leaves)
        table[leaf] |= 2;
    return table;
}

constexpr std::array<std::uint8_t, 256> displayableTypes = makeDisplayableTypes();

} // namespace

LocalsRepresentation::LocalsRepresentation() : EvaluationEnvironment(0), variables_(*this, nullptr), flags_(0) {}

LocalsRepresentation::LocalsRepresentation(int language, const LCC_Eval_Context_Info* context, unsigned flags)
    : EvaluationEnvironment(language), variables_(*this, context), flags_(flags)
{
    setContext(context);
    setAddressSize(SVC::ExprGetContextLocationType(context) == 4 ? 8 : 4);
    setLocalsOption((flags & includeFileScope) != 0);
}

LocalsRepresentation::~LocalsRepresentation() = default;

ByteString LocalsRepresentation::expression(StackItem* item) const
{
    if (LocalVariable* variable = variables_.item(item))
        return variable->name();
    throw InvalidOp(InvalidOp::RTRC_AssertFail, __PRETTY_FUNCTION__, __LINE__);
}

ByteString LocalsRepresentation::expression(int n) const
{
    variables_.buildList();
    if (n < 0 || static_cast<unsigned>(n) >= variables_.count())
        throw InvalidOp(InvalidOp::RTRC_AssertFail, __PRETTY_FUNCTION__, __LINE__);
    return variables_[static_cast<unsigned>(n)].name();
}

LocalsRepresentation* LocalsRepresentation::asLocalsRepresentation()
{
    return this;
}

StackItem* LocalsRepresentation::evaluate(const LCC_Eval_Context_Info* context, unsigned short frame)
{
    setContext(context);
    variables_.setContext(context);
    setEvaluationStackFrame(frame, nullptr);
    return variables_.evaluate();
}

SymbolItem* LocalsRepresentation::lookupLocalSymbol(const char* name) const
{
    LocalVariable* variable = variables_.item(name);
    return variable != nullptr ? variable->symbolItem() : nullptr;
}

const char* LocalsRepresentation::localSymbolDisplayName(_SYMBOL_ENTRY* entry)
{
    return symbolEntryDisplayName(*entry);
}

std::uint8_t LocalsRepresentation::displayableType(unsigned code)
{
    return code < displayableTypes.size() ? displayableTypes[code] : 0;
}
