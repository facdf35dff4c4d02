#ifndef NORVEXA_SERVICES_MESSAGE_H
#define NORVEXA_SERVICES_MESSAGE_H

#include <cstdarg>
#include <cstddef>

#include <plomkit/ByteString.h>
#include <plomkit/EncodedString.h>

// A numbered message of the catalogue "rmq" with up to nine inserts. Its
// text is read from the catalogue when first asked for: "$$$$" becomes the
// message prefix "ZEMT" and "%1" to "%9" the inserts. A message with number
// 0 has no catalogue text: its text is its inserts joined by blanks.
class Message {
public:
    static constexpr unsigned maxInserts = 9;

    // The source of catalogue texts, one for the process.
    class MessageServer {
    public:
        // The process-wide server (a MessageServerWorkStation), made on first
        // use and never destroyed.
        static MessageServer* instance();

        virtual EncodedString getMessage(int set, int id) = 0;
        virtual void setLocale(const EncodedString& locale) = 0;
        virtual void setType(char type) = 0;

    protected:
        MessageServer() = default;
        ~MessageServer() = default;
    };

    // Number 0, no inserts, an empty text.
    Message();
    explicit Message(int id);
    // The inserts follow id and end with a null pointer; see setInserts.
    Message(int id, const char* insert, ...) __attribute__((sentinel));
    // A lone null: no inserts.
    Message(int id, std::nullptr_t) : Message(id) {}
    Message(const Message&) = default;
    Message& operator=(const Message&) = default;
    ~Message() = default;

    // Sets the number; the text is built again when next asked for. The
    // inserts are kept.
    void setId(int id);
    // The inserts are first and the following texts up to the first null
    // pointer, at most nine (the rest are ignored); a null first means none.
    // Texts are UTF-8.
    void setInserts(const char* first, ...) __attribute__((sentinel));
    void setInserts(std::nullptr_t) { setInserts(nullptr, nullptr); }

    // The text, built if need be.
    EncodedString textInUnicode() const;
    // The text as UTF-8 bytes up to its first zero byte.
    ByteString textAsByteString() const;

    int id() const { return _id; }
    unsigned insertCount() const { return _insertCount; }
    // Insert number i (1 to 9).
    const EncodedString& insert(unsigned i) const { return _inserts[i - 1]; }

private:
    void build() const;
    void takeInserts(const char* first, va_list rest);

    int _id;
    mutable EncodedString _text;
    EncodedString _inserts[maxInserts];
    unsigned _insertCount;
    mutable bool _textBuilt;
};

#endif
