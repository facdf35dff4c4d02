#include "compiler/EE_ExpressionEvaluator.h"

#include "frontend/EE_Exception.h"

// Stand-in until the analyser proper is built: a library without it refuses
// to analyse (an internal failure) rather than guess a type. It is alone in
// its source file, so a test program that defines its own analyser links
// that one and leaves this out of the static library.
EE_Expression* EE_ExpressionEvaluator::analyze(EE_Expression&)
{
  (void)services;
  throw EE_Exception(EE_Exception::InternalFailure);
}
