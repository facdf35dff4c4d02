#include "compiler/EE_ExpressionEvaluator.h"

#include "frontend/EE_Exception.h"

// Stand-in until the analyser proper is built: a library without it refuses
// to analyse (an internal failure) rather than guess a type. The definition is
// weak so that a program may link its own analyser in its place.
__attribute__((weak)) EE_Expression* EE_ExpressionEvaluator::analyze(EE_Expression&)
{
  (void)services;
  throw EE_Exception(EE_Exception::InternalFailure);
}
