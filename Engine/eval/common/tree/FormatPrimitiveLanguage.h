#ifndef NORVEXA_TREE_FORMATPRIMITIVELANGUAGE_H
#define NORVEXA_TREE_FORMATPRIMITIVELANGUAGE_H

#include "services/EvaluationEnvironment.h"

// The language questions of the primitive formatters, asked of the current
// evaluation environment (none current: C).
namespace FormatPrimitiveLanguage {

inline bool fortran()
{
    EvaluationEnvironment* env = EvaluationEnvironment::currentOrNull();
    return env != nullptr && env->language() == EvaluationEnvironment::languageFortran;
}

inline bool cobol()
{
    EvaluationEnvironment* env = EvaluationEnvironment::currentOrNull();
    return env != nullptr && env->language() == EvaluationEnvironment::languageCOBOL;
}

}  // namespace FormatPrimitiveLanguage

#endif
