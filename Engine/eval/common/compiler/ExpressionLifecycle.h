#ifndef NORVEXA_COMPILER_EXPRESSIONLIFECYCLE_H
#define NORVEXA_COMPILER_EXPRESSIONLIFECYCLE_H

// Start-up and shut-down of the expression core, called by the host's first
// initialisation and its last termination.

// Answers 1: the core needs nothing set up.
int exprInit();
// Releases nothing: the core holds nothing between requests.
void exprTerm();

#endif
