#ifndef NORVEXA_DATATYPES_DATAERROR_H
#define NORVEXA_DATATYPES_DATAERROR_H

// What the validity checkers of the data-item value classes report about the
// bytes of a value: the value classes never refuse bad data themselves; the
// stack item that holds a value asks its checker and decides.
enum DataError : int {
    DataErrorNone = 0,     // valid
    DataErrorBadSign = 1,  // the sign position holds no sign
    DataErrorBadDigit = 2, // a digit position (or character) holds no digit
};

#endif
