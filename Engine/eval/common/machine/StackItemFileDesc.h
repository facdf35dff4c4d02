#ifndef NORVEXA_MACHINE_STACKITEMFILEDESC_H
#define NORVEXA_MACHINE_STACKITEMFILEDESC_H

#include "machine/StackItem.h"

// A COBOL file description: its value is the 64-byte file-information block
// the host fills for the file (or "SDFILE" for a sort file description).
class StackItemFileDesc : public StackItem {
public:
    enum { fileInformationSize = 64 };

    StackItemFileDesc(EvaluationEnvironment& environment, const TypeItem& type);
    StackItemFileDesc(const StackItemFileDesc& other);
    ~StackItemFileDesc() override;

    StackItem* clone() const override;
    std::uint64_t size() const override;
    void load(const DebuggeeLocation& location) override;
    void* resultBuffer() const override;

private:
    unsigned char info_[fileInformationSize] = {};
};

#endif
