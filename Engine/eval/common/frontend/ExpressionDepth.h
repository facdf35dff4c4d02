#ifndef NORVEXA_FRONTEND_EXPRESSIONDEPTH_H
#define NORVEXA_FRONTEND_EXPRESSIONDEPTH_H

// How deeply the syntax tree of one expression may nest, in every grammar:
// a leaf counts 1, a node one more than its deepest operand. The grammars,
// the analysis, the code generation and the tree's visitors recurse on the
// tree, so deeper text is refused as it is read ("The expression nests too
// deeply") rather than run until the host thread's stack is spent. The
// whole road of the deepest tree runs within a 256 KB host thread stack in
// the optimised build (the depth tests run it in 160 KB); the sanitizer
// build's frames are some fifteen times larger (about 11 KB for each level
// of parentheses in C, 10 KB for each term of a COBOL sum), and its depth
// tests run on a stack scaled to match.
constexpr unsigned maxExpressionDepth = 256;

#endif
