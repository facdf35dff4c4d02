#ifndef NORVEXA_MACHINE_STACKITEMFILEDESC_H
#define NORVEXA_MACHINE_STACKITEMFILEDESC_H

#include <vector>

#include "machine/StackItem.h"

// A COBOL file description: its value is the 64-byte file-information block
// the host fills for the file (or "SDFILE" for a sort file description).
// size() is the type's size; the block kept is at least that long, zero
// beyond what the host filled, so size() bytes can always be read.
class StackItemFileDesc : public StackItem {
public:
    enum {
        fileInformationSize = 64
    };

    StackItemFileDesc(EvaluationEnvironment& environment, const TypeItem& type);
    StackItemFileDesc(const StackItemFileDesc& other);
    ~StackItemFileDesc() override;

    StackItem* clone() const override;
    std::uint64_t size() const override;
    // RTRC_Other (hasValue cleared) from a location of kind none; the host's
    // failures pass through.
    void load(const DebuggeeLocation& location) override;
    void* resultBuffer() const override;

private:
    std::vector<unsigned char> info_;
};

#endif
