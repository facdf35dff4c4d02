#include "machine/StackItemU.h"

#include "services/EvaluationEnvironment.h"

namespace {

// The COBOL-boolean mark of a one-byte item's type: set in COBOL, where a
// change made through a tree node tests it.
void markCobolBoolean(TypeItem& type)
{
    if (isCobolLanguage())
        type.setCobolBool(true);
}

} // namespace

StackItemU1::StackItemU1(EvaluationEnvironment& environment, unsigned char value)
    : StackItemU<unsigned char>(environment, value, 132)
{
    markCobolBoolean(type_);
}
StackItemU1::StackItemU1(EvaluationEnvironment& environment, unsigned char value, const TypeItem& type)
    : StackItemU<unsigned char>(environment, value, type)
{}
StackItemU1::StackItemU1(const StackItemU1& other) : StackItemU<unsigned char>(other) {}
StackItemU1::~StackItemU1() = default;

StackItemB1::StackItemB1(EvaluationEnvironment& environment, unsigned char value)
    : StackItemU<unsigned char>(environment, value, 144)
{
    markCobolBoolean(type_);
}
StackItemB1::StackItemB1(const StackItemB1& other) : StackItemU<unsigned char>(other) {}
StackItemB1::~StackItemB1() = default;

StackItemU2::StackItemU2(EvaluationEnvironment& environment, unsigned short value)
    : StackItemU<unsigned short>(environment, value, 133)
{}
StackItemU2::StackItemU2(EvaluationEnvironment& environment, unsigned short value, const TypeItem& type)
    : StackItemU<unsigned short>(environment, value, type)
{}
StackItemU2::StackItemU2(const StackItemU2& other) : StackItemU<unsigned short>(other) {}
StackItemU2::~StackItemU2() = default;

StackItemW2::StackItemW2(EvaluationEnvironment& environment, unsigned short value)
    : StackItemU<unsigned short>(environment, value, 149)
{}
StackItemW2::StackItemW2(const StackItemW2& other) : StackItemU<unsigned short>(other) {}
StackItemW2::~StackItemW2() = default;

StackItemU4::StackItemU4(EvaluationEnvironment& environment, unsigned int value)
    : StackItemU<unsigned int>(environment, value, 134)
{}
StackItemU4::StackItemU4(EvaluationEnvironment& environment, unsigned int value, const TypeItem& type)
    : StackItemU<unsigned int>(environment, value, type)
{}
StackItemU4::StackItemU4(const StackItemU4& other) : StackItemU<unsigned int>(other) {}
StackItemU4::~StackItemU4() = default;

StackItemW4::StackItemW4(EvaluationEnvironment& environment, unsigned int value)
    : StackItemU<unsigned int>(environment, value, 150)
{}
StackItemW4::StackItemW4(const StackItemW4& other) : StackItemU<unsigned int>(other) {}
StackItemW4::~StackItemW4() = default;

StackItemB4::StackItemB4(EvaluationEnvironment& environment, unsigned int value)
    : StackItemU<unsigned int>(environment, value, 146)
{}
StackItemB4::StackItemB4(const StackItemB4& other) : StackItemU<unsigned int>(other) {}
StackItemB4::~StackItemB4() = default;

StackItemU8::StackItemU8(EvaluationEnvironment& environment, unsigned long long value)
    : StackItemU<unsigned long long>(environment, value, 156)
{}
StackItemU8::StackItemU8(EvaluationEnvironment& environment, unsigned long long value, const TypeItem& type)
    : StackItemU<unsigned long long>(environment, value, type)
{}
StackItemU8::StackItemU8(const StackItemU8& other) : StackItemU<unsigned long long>(other) {}
StackItemU8::~StackItemU8() = default;
