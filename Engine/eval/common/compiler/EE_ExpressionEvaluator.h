#ifndef EE_EXPRESSIONEVALUATOR_H
#define EE_EXPRESSIONEVALUATOR_H

class EE_DebuggerServices;
class EE_Expression;

// The analyser of a syntax tree: it types each node against the program's
// symbols and types and records the byte code. The C and C++ grammar's
// member-access actions make one over the services, have it analyse the
// object on the left of "." or "->" (so that the member name can be looked
// up in the object's class), and drop it.
class EE_ExpressionEvaluator {
public:
  explicit EE_ExpressionEvaluator(EE_DebuggerServices& services) : services(services) {}

  // Analyses one node and its operands; answers the analysed node (possibly
  // a replacement) with its type descriptor and analysed mark set. Nodes
  // already marked are skipped. Failures raise EE_Exception or
  // EE_ParseException.
  EE_Expression* analyze(EE_Expression& expression);

private:
  EE_DebuggerServices& services;
};

#endif
