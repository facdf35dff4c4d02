#ifndef NORVEXA_TESTS_COMPILER_ANALYSERFIXTURE_H
#define NORVEXA_TESTS_COMPILER_ANALYSERFIXTURE_H

// The analyser over the real services on the simulated host: operands are
// typed leaves (nodes whose type a test sets, marked analysed) or names of
// the simulated program, and trees are made by the services' factory.

#include <memory>
#include <string>

#include "ServicesFixture.h"
#include "compiler/EE_ExpressionEvaluator.h"
#include "frontend/EE_BinaryExpression.h"
#include "frontend/EE_CastExpression.h"
#include "frontend/EE_Exception.h"
#include "frontend/EE_Expression.h"
#include "frontend/EE_ImaginaryExpression.h"
#include "frontend/EE_Name.h"
#include "frontend/EE_NameExpression.h"
#include "frontend/EE_String.h"

using TD = EE_TypeDescriptor;

// What an analysis answered: a node, or the code of the exception it raised
// and whether the exception carried a node.
struct Outcome {
    EE_Expression* node = nullptr;
    int code = -1;
    EE_Expression* carried = nullptr;
};

template <class F>
Outcome outcomeOf(F&& f)
{
    Outcome o;
    try {
        o.node = f();
    } catch (const EE_Exception& e) {
        o.code = static_cast<int>(e.code);
        o.carried = e.node;
    }
    return o;
}

template <class Base>
class AnalyserFixtureOf : public Base {
protected:
    void SetUp() override
    {
        Base::SetUp();
        analyser = std::make_unique<EE_ExpressionEvaluator>(*this->services);
    }

    void TearDown() override
    {
        analyser.reset();
        Base::TearDown();
    }

    // An operand of the given type, already analysed.
    EE_Expression& leaf(EE_TypeDescriptor* type)
    {
        EE_Expression& e = *this->services->createImaginaryExpression();
        e.typeDescriptor = type;
        e.analyzed = 1;
        return e;
    }

    // A name of the simulated program as a name node.
    EE_Expression& name(const char* text)
    {
        EE_String s(text);
        EE_Name* found = this->services->lookup(s, this->services->currentStore(), 0);
        if (found == nullptr)
            throw std::runtime_error(std::string("no name ") + text);
        return *this->services->createNameExpression(found);
    }

    EE_BinaryExpression& binary(EE_BinaryExpression::Kind kind, EE_Expression& l, EE_Expression& r)
    {
        return *this->services->createBinaryExpression(kind, &l, &r);
    }

    TD* fixed(TD::Kind kind, unsigned digits, int scale, bool isSigned, EE_DecimalSign sign = EE_DecimalSignTrailing)
    {
        return this->services->findOrCreateFixedPointTypeDescriptor(kind, digits, scale, isSigned, sign);
    }

    TD* alphanumeric(unsigned length)
    {
        return this->services->findOrCreateCharstringTypeDescriptor(TD::AlphanumericString, length, false, false, false,
                                                                    nullptr);
    }

    // A COBOL group of 8 bytes (not a national group).
    TD* alphanumericGroup()
    {
        HostRecordStore::ClassSpec group;
        group.name = "G";
        group.byteSize = 8;
        group.leaf = TE_GROUP;
        group.members = {{"G1", this->records().charstringType(8), 0}};
        return this->services->findOrCreateTypeDescriptor(this->hostType(this->records().classType(group)));
    }

    std::unique_ptr<EE_ExpressionEvaluator> analyser;
};

using AnalyserTest = AnalyserFixtureOf<ServicesTest>;
using CobolAnalyserTest = AnalyserFixtureOf<CobolServicesTest>;

#endif
