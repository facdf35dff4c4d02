#ifndef NORVEXA_MACHINE_STACKITEMFILEDESC_H
#define NORVEXA_MACHINE_STACKITEMFILEDESC_H

#include "machine/StackItem.h"

// A COBOL file description: its value is the 64-byte file-information block
// the host fills for the file (or "SDFILE" for a sort file description).
class StackItemFileDesc : public StackItem {
public:
    enum { fileInformationSize = 64 };

    StackItemFileDesc(EvaluationEnvironment& environment, const TypeItem& type);
    ~StackItemFileDesc() override;

    void load(const DebuggeeLocation& location) override;

    const unsigned char* resultBuffer() const { return info_; }

private:
    unsigned char info_[fileInformationSize] = {};
};

#endif
