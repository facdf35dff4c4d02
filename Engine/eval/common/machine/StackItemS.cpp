#include "machine/StackItemS.h"

StackItemS1::StackItemS1(EvaluationEnvironment& environment, signed char value)
    : StackItemS<signed char>(environment, value, 128)
{}
StackItemS1::StackItemS1(EvaluationEnvironment& environment, signed char value, const TypeItem& type)
    : StackItemS<signed char>(environment, value, type)
{}
StackItemS1::StackItemS1(const StackItemS1& other) : StackItemS<signed char>(other) {}
StackItemS1::~StackItemS1() = default;

StackItemS2::StackItemS2(EvaluationEnvironment& environment, short value) : StackItemS<short>(environment, value, 129)
{}
StackItemS2::StackItemS2(EvaluationEnvironment& environment, short value, const TypeItem& type)
    : StackItemS<short>(environment, value, type)
{}
StackItemS2::StackItemS2(const StackItemS2& other) : StackItemS<short>(other) {}
StackItemS2::~StackItemS2() = default;

StackItemS4::StackItemS4(EvaluationEnvironment& environment, int value) : StackItemS<int>(environment, value, 130) {}
StackItemS4::StackItemS4(EvaluationEnvironment& environment, int value, const TypeItem& type)
    : StackItemS<int>(environment, value, type)
{}
StackItemS4::StackItemS4(const StackItemS4& other) : StackItemS<int>(other) {}
StackItemS4::~StackItemS4() = default;

StackItemS8::StackItemS8(EvaluationEnvironment& environment, long long value)
    : StackItemS<long long>(environment, value, 155)
{}
StackItemS8::StackItemS8(EvaluationEnvironment& environment, long long value, const TypeItem& type)
    : StackItemS<long long>(environment, value, type)
{}
StackItemS8::StackItemS8(const StackItemS8& other) : StackItemS<long long>(other) {}
StackItemS8::~StackItemS8() = default;
