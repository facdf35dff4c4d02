#include "services/Message.h"

#include <cwchar>
#include <string>

#include "services/MessageServerWorkStation.h"
#include "services/SVC.h"

Message::MessageServer* Message::MessageServer::instance()
{
    static MessageServerWorkStation* server = new MessageServerWorkStation;
    return server;
}

Message::Message() : _id(0), _insertCount(0), _textBuilt(true) {}

Message::Message(int id) : _id(id), _insertCount(0), _textBuilt(false) {}

Message::Message(int id, const char* insert, ...) : _id(id), _insertCount(0), _textBuilt(false)
{
    va_list rest;
    va_start(rest, insert);
    takeInserts(insert, rest);
    va_end(rest);
}

void Message::setId(int id)
{
    _text = EncodedString();
    _textBuilt = false;
    _id = id;
}

void Message::setInserts(const char* first, ...)
{
    va_list rest;
    va_start(rest, first);
    takeInserts(first, rest);
    va_end(rest);
}

void Message::takeInserts(const char* first, va_list rest)
{
    if (*SVC::traceEnabled())
        SVC::fTrace("void Message::setInserts(const char*, ...)", __LINE__, "Message=%p",
                    static_cast<const void*>(this));
    for (EncodedString& insert : _inserts)
        insert = EncodedString();
    _insertCount = 0;
    for (const char* text = first; text != nullptr; text = va_arg(rest, const char*)) {
        _inserts[_insertCount++] = EncodedString(text, Encoding_Local);
        if (_insertCount == maxInserts)
            break;
    }
    _textBuilt = false;
}

EncodedString Message::textInUnicode() const
{
    build();
    return _text;
}

ByteString Message::textAsByteString() const
{
    build();
    ByteString bytes = _text.asUTF8();
    int zero = bytes.indexOf(static_cast<unsigned char>(0));
    if (zero != ByteString::notFound)
        return ByteString(bytes.data(), static_cast<unsigned>(zero));
    return bytes;
}

void Message::build() const
{
    if (_textBuilt)
        return;
    if (_id != 0) {
        EncodedString catalogueText = MessageServer::instance()->getMessage(1, _id);
        std::wstring text(catalogueText.text(), catalogueText.length());
        auto prefix = text.find(L"$$$$");
        if (prefix != std::wstring::npos)
            text.replace(prefix, 4, L"ZEMT");

        // Where the first marker of each insert stands in the catalogue
        // text. The inserts are put in in one pass over that text, so a
        // marker inside an insert is never taken for one of the text's own.
        std::wstring::size_type at[maxInserts];
        for (unsigned i = 0; i < maxInserts; ++i) {
            wchar_t marker[3] = {L'%', static_cast<wchar_t>(L'1' + i), 0};
            at[i] = i < _insertCount ? text.find(marker) : std::wstring::npos;
        }
        std::wstring built;
        for (std::wstring::size_type pos = 0; pos < text.size();) {
            unsigned which = maxInserts;
            for (unsigned i = 0; i < maxInserts; ++i)
                if (at[i] == pos)
                    which = i;
            if (which == maxInserts) {
                built += text[pos++];
            } else {
                built.append(_inserts[which].text(), _inserts[which].length());
                pos += 2;
            }
        }
        _text = EncodedString(built.c_str());
    } else if (_insertCount != 0) {
        EncodedString joined = _inserts[0];
        for (unsigned i = 1; i < _insertCount; ++i) {
            joined += EncodedString(L" ");
            joined += _inserts[i];
        }
        _text = joined;
    }
    _textBuilt = true;
}
