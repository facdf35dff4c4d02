#include <plomkit/UnicodeUtilities.h>

#include "TextCodec.h"

int UnicodeUtilities::mblen(unsigned char first)
{
    return plomkit_detail::utf8SequenceLength(first);
}
