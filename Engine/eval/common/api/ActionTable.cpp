#include "api/ActionTable.h"

#include <plomkit/EncodedString.h>

#include "services/InvalidOp.h"
#include "services/Message.h"
#include "services/MessageServerWorkStation.h"

ActionTable::EEaction::EEaction(ByteString name, UBYTE4 word) : action{nullptr, word}, text(std::move(name))
{
    action.name = text.data();
}

ActionTable::ActionTable(NameReader reader) : reader_(reader) {}

// The entries go in the reverse order of their construction.
ActionTable::~ActionTable()
{
    second_.reset();
    first_.reset();
}

const ExpressionEvaluatorAction** ActionTable::actions(const UBYTE1* locale)
{
    std::lock_guard<std::mutex> guard(lock_);
    if (table_[0] == nullptr) {
        auto first = std::make_unique<EEaction>(reader_(locale, showSelfMessage), showSelfWord);
        auto second = std::make_unique<EEaction>(reader_(locale, evaluateAgainMessage), evaluateAgainWord);
        first_ = std::move(first);
        second_ = std::move(second);
        table_[0] = &first_->action;
        table_[1] = &second_->action;
    }
    return table_;
}

ActionTable& ActionTable::instance()
{
    static ActionTable table(&catalogueName);
    return table;
}

ByteString ActionTable::catalogueName(const UBYTE1* locale, int id)
{
    auto* server = static_cast<MessageServerWorkStation*>(Message::MessageServer::instance());
    const EncodedString previous = server->locale();
    struct Restore {
        MessageServerWorkStation* server;
        const EncodedString& locale;
        ~Restore() { server->setLocale(locale); }
    } restore{server, previous};
    if (locale != nullptr)
        server->setLocale(EncodedString(reinterpret_cast<const char*>(locale), Encoding_UTF8));
    if (!server->catalogueFound())
        throw InvalidOp(InvalidOp::RTRC_Other, "ByteString ActionTable::catalogueName(const UBYTE1*, int)", __LINE__);
    return Message(id).textAsByteString();
}
