#ifndef NORVEXA_COMPILER_EE_INSTRUCTIONSTREAM_H
#define NORVEXA_COMPILER_EE_INSTRUCTIONSTREAM_H

// The byte code of one built expression. The code generator records into it
// and the replay loop reads it back; a built expression owns its stream and
// releases it through exprFree.
class EE_InstructionStream {
public:
    EE_InstructionStream() = default;
    virtual ~EE_InstructionStream() = default;

    EE_InstructionStream(const EE_InstructionStream&) = delete;
    EE_InstructionStream& operator=(const EE_InstructionStream&) = delete;
};

#endif
