#ifndef NORVEXA_API_ACTIONTABLE_H
#define NORVEXA_API_ACTIONTABLE_H

#include <memory>
#include <mutex>

#include <plomkit/ByteString.h>

#include "HostServices.h"

// The actions the evaluator offers on result trees, published to the host
// once: show self (catalogue message 45, word 768) and evaluate again
// (message 46, word 2848), their names read in the locale of the first
// request that builds the table, then a null pointer. The table and its
// names live until the library is unloaded.
class ActionTable {
public:
    // Reads the name of catalogue message id in locale (null: the calling
    // thread's), UTF-8; throws when no catalogue text can be read.
    typedef ByteString (*NameReader)(const UBYTE1* locale, int id);

    explicit ActionTable(NameReader reader);
    ~ActionTable();

    ActionTable(const ActionTable&) = delete;
    ActionTable& operator=(const ActionTable&) = delete;

    // The null-ended array, built on the first call that succeeds. A
    // failure to read the names throws and leaves the table unbuilt, so a
    // later call builds it. Later calls do not read the locale.
    const ExpressionEvaluatorAction** actions(const UBYTE1* locale);

    // The process's table, over the message catalogue.
    static ActionTable& instance();
    // The name reader over the message catalogue: sets the calling thread's
    // message locale for the read and puts the previous one back; throws
    // InvalidOp RTRC_Other when the locale has no catalogue.
    static ByteString catalogueName(const UBYTE1* locale, int id);

    static constexpr int showSelfMessage = 45;
    static constexpr int evaluateAgainMessage = 46;
    static constexpr UBYTE4 showSelfWord = 768;
    static constexpr UBYTE4 evaluateAgainWord = 2848;

private:
    // One entry: the host's record and, behind it, the text its name points
    // into.
    struct EEaction {
        ExpressionEvaluatorAction action;
        ByteString text;
        EEaction(ByteString name, UBYTE4 word);
    };

    NameReader reader_;
    std::mutex lock_;
    std::unique_ptr<EEaction> first_;
    std::unique_ptr<EEaction> second_;
    const ExpressionEvaluatorAction* table_[3] = {nullptr, nullptr, nullptr};
};

#endif
