#ifndef NORVEXA_FRONTEND_EXPRESSIONDEPTH_H
#define NORVEXA_FRONTEND_EXPRESSIONDEPTH_H

// How deeply the syntax tree of one expression may nest, in every grammar:
// a leaf counts 1, a node one more than its deepest operand. The grammars,
// the analysis, the code generation and the tree's visitors recurse on the
// tree, so deeper text is refused as it is read ("The expression nests too
// deeply") rather than run until the host thread's stack is spent. The
// value keeps the whole road of the deepest tree within a 256 KB thread
// stack in every build: the sanitizer build's frames are the largest (about
// 11 KB for each level of parentheses in C, 10 KB for each term of a COBOL
// sum), and 16 levels leave a quarter of that stack spare there (the depth
// tests measure it; an optimised build runs the same road in under 24 KB).
constexpr unsigned maxExpressionDepth = 16;

#endif
