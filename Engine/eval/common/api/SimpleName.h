#ifndef NORVEXA_API_SIMPLENAME_H
#define NORVEXA_API_SIMPLENAME_H

// Whether an expression text can be qualified, subscripted or dereferenced
// without parentheses: outside parenthesised and bracketed groups (calls,
// subscripts, whatever they hold) only identifier characters (letters,
// digits, '_', '@', '#', '$' and '.'). An empty or null text is simple; a
// closing parenthesis or bracket outside a group is not.
bool isSimpleName(const unsigned char* text);
inline bool isSimpleName(const char* text)
{
    return isSimpleName(reinterpret_cast<const unsigned char*>(text));
}

#endif
