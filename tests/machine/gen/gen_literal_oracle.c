/* The values gcc gives the C literals of tests/machine/data/literal_oracle.tsv.
   Build and run with gen/regen_literal_oracle.sh; the table is frozen and read
   by LiteralParserTest. Columns: kind (int or char), the literal's text as the
   evaluator receives it, the value as an unsigned 64-bit decimal. */
#include <stdio.h>

#define INT(lit, text) printf("int\t%s\t%llu\n", text, (unsigned long long)(lit))
#define CHR(lit, text) printf("char\t%s\t%llu\n", text, (unsigned long long)(unsigned char)(lit))

int main(void)
{
    INT(0x1F, "0x1F");
    INT(0X7fffffff, "0X7fffffff");
    INT(017, "017");
    INT(0, "0");
    INT(42, "42");
    INT(42U, "42U");
    INT(42ul, "42ul");
    INT(2147483647, "2147483647");
    INT(2147483648LL, "2147483648LL");
    INT(4294967295U, "4294967295U");
    INT(18446744073709551615ULL, "18446744073709551615ULL");
    INT(0xFFFFFFFFFFFFFFFFull, "0xFFFFFFFFFFFFFFFFull");
    INT(0777777777777777777777ull, "0777777777777777777777ull");
    INT(-5LL, "-5");
    INT(-0x10LL, "-0x10");
    INT(-2147483648LL, "-2147483648");
    INT(123456789012345ll, "123456789012345ll");
    CHR('A', "A");
    CHR('\n', "\\n");
    CHR('\t', "\\t");
    CHR('\v', "\\v");
    CHR('\b', "\\b");
    CHR('\r', "\\r");
    CHR('\f', "\\f");
    CHR('\a', "\\a");
    CHR('\\', "\\\\");
    CHR('\?', "\\?");
    CHR('\'', "\\'");
    CHR('\"', "\\\"");
    CHR('\0', "\\0");
    CHR('\7', "\\7");
    CHR('\101', "\\101");
    CHR('\377', "\\377");
    CHR('\x41', "\\x41");
    CHR('\xff', "\\xff");
    CHR('\x7', "\\x7");
    return 0;
}
