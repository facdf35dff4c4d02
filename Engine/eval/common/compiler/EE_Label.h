#ifndef NORVEXA_COMPILER_EE_LABEL_H
#define NORVEXA_COMPILER_EE_LABEL_H

// A place in the byte code that jumps name: its number, given by the
// services when the label is made (1, 2, 3, ... within one build) and
// written into the label and jump instructions.
class EE_Label {
public:
    explicit EE_Label(unsigned n) : number(n) {}
    unsigned number;
};

#endif
