#ifndef NORVEXA_MACHINE_STACKITEMDBCSEDITED_H
#define NORVEXA_MACHINE_STACKITEMDBCSEDITED_H

#include "datatypes/DbcsEdited.h"
#include "machine/StackItemPictureValue.h"

// A COBOL DBCS-edited item (leaf 87): DBCS text shaped by a picture of G
// and N positions and the DBCS space.
// Comparisons ask the right operand for this kind in this picture and
// compare the texts. No arithmetic.
class StackItemDbcsEdited : public StackItemPictureValue<DbcsEdited, TNdbcs_edited, &_TYPE_ENTRY::dbcsEdited> {
public:
    StackItemDbcsEdited(EvaluationEnvironment& environment, const DbcsEdited& value, const TypeItem& type);
    StackItemDbcsEdited(const StackItemDbcsEdited& other);
    ~StackItemDbcsEdited() override;

    StackItem* clone() const override;
    void genConvert(const StackItem& source) override;
    ByteString asDbcsString(const TNdbcs_string& record) const override;
    // The text framed by shift-out and shift-in, converted by the host.
    ByteString asNationalString(const TNnational_string& record) const override;
    NationalEdited asNationalEdited(const TNnational_edited& record) const override;
    DbcsEdited asDbcsEdited(const TNdbcs_edited& record) const override;
    // A copy of the value.
    DbcsEdited asDbcsEdited() const;

private:
    int compareWith(const StackItem& right) const override;
};

#endif
