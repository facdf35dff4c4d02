#ifndef NORVEXA_MACHINE_ENDIANREVERSE_H
#define NORVEXA_MACHINE_ENDIANREVERSE_H

// Reverses 1, 2, 4, 8 or 16 bytes in place, between the debuggee's
// big-endian order and the host's; any other count is InvalidOp RTRC_Other.
void EndianReverse(void* bytes, unsigned int count);

#endif
