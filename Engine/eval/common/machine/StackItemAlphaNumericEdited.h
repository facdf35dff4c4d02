#ifndef NORVEXA_MACHINE_STACKITEMALPHANUMERICEDITED_H
#define NORVEXA_MACHINE_STACKITEMALPHANUMERICEDITED_H

#include "datatypes/AlphaNumericEdited.h"
#include "machine/StackItemPictureValue.h"

// A COBOL alphanumeric-edited item (leaf 78): EBCDIC text shaped by a
// picture of data positions and insertion characters.
// Comparisons ask the right operand for this kind in this picture and
// compare the texts. No arithmetic.
class StackItemAlphaNumericEdited
    : public StackItemPictureValue<AlphaNumericEdited, TNalpha_numeric_edited, &_TYPE_ENTRY::alphaNumericEdited> {
public:
    StackItemAlphaNumericEdited(EvaluationEnvironment& environment, const AlphaNumericEdited& value,
                                const TypeItem& type);
    StackItemAlphaNumericEdited(const StackItemAlphaNumericEdited& other);
    ~StackItemAlphaNumericEdited() override;

    StackItem* clone() const override;
    void genConvert(const StackItem& source) override;
    ByteString asCharstring(const TNcharstring& record) const override;
    ByteString asNationalString(const TNnational_string& record) const override;
    // The text re-edited into the given picture.
    AlphaNumericEdited asAlphaNumericEdited(const TNalpha_numeric_edited& record) const override;
    NationalEdited asNationalEdited(const TNnational_edited& record) const override;
    // A copy of the value.
    AlphaNumericEdited asAlphaNumericEdited() const;

private:
    int compareWith(const StackItem& right) const override;
};

#endif
