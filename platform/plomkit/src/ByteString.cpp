#include <plomkit/ByteString.h>

#include <cstring>

ByteString::ByteString(const StringBuffer<unsigned char>& buffer, unsigned start)
{
    if (start < buffer.length())
        StringBuffer<unsigned char>::operator=(
            StringBuffer<unsigned char>(buffer.data() + start, buffer.length() - start));
}

ByteString::ByteString(const StringBuffer<unsigned char>& buffer, unsigned start, unsigned length, unsigned char pad)
{
    unsigned char* out = makeBuffer(length);
    unsigned available = start < buffer.length() ? buffer.length() - start : 0;
    unsigned copied = available < length ? available : length;
    if (copied != 0)
        std::memcpy(out, buffer.data() + start, copied);
    std::memset(out + copied, pad, length - copied);
}

ByteString::ByteString(const void* first, unsigned firstLength, const void* second, unsigned secondLength,
                       const void* third, unsigned thirdLength)
{
    const void* pieces[3] = {first, second, third};
    unsigned lengths[3] = {first ? firstLength : 0, second ? secondLength : 0, third ? thirdLength : 0};
    unsigned char* out = makeBuffer(lengths[0] + lengths[1] + lengths[2]);
    for (int i = 0; i < 3; ++i) {
        if (lengths[i] != 0)
            std::memcpy(out, pieces[i], lengths[i]);
        out += lengths[i];
    }
}

ByteString ByteString::operator+(const StringBuffer<unsigned char>& other) const
{
    ByteString result(*this);
    result += other;
    return result;
}
