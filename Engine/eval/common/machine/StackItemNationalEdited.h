#ifndef NORVEXA_MACHINE_STACKITEMNATIONALEDITED_H
#define NORVEXA_MACHINE_STACKITEMNATIONALEDITED_H

#include "datatypes/NationalEdited.h"
#include "machine/StackItemPictureValue.h"

// A COBOL national-edited item (leaf 81): UTF-16 big-endian text shaped by
// a picture of N positions and insertion characters.
// Comparisons ask the right operand for this kind in this picture and
// compare the texts. No arithmetic.
class StackItemNationalEdited
    : public StackItemPictureValue<NationalEdited, TNnational_edited, &_TYPE_ENTRY::nationalEdited> {
public:
    StackItemNationalEdited(EvaluationEnvironment& environment, const NationalEdited& value, const TypeItem& type);
    StackItemNationalEdited(const StackItemNationalEdited& other);
    ~StackItemNationalEdited() override;

    StackItem* clone() const override;
    void genConvert(const StackItem& source) override;
    ByteString asCharstring(const TNcharstring& record) const override;
    ByteString asNationalString(const TNnational_string& record) const override;
    NationalEdited asNationalEdited(const TNnational_edited& record) const override;
    // A copy of the value.
    NationalEdited asNationalEdited() const;

private:
    int compareWith(const StackItem& right) const override;
};

#endif
