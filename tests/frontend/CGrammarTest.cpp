// The C and C++ grammar, driven through the parser driver: text and language
// in, the tree (or the failure) out. Trees are shown with every operation
// bracketed ("(a - (b - c))", operators in the nodes' short forms, "[...]" for
// a parenthesised expression); a second table checks the full-form
// signatures of the node kinds that the grammar makes.

#include <gtest/gtest.h>

#include <string>

#include "CParserTestSupport.h"

using namespace cparser;

namespace {

struct Case {
    int language;
    const char* text;
    const char* expected;
};

constexpr int C = 0;
constexpr int CPP = EE_LanguageCPP;
constexpr int Fortran = EE_LanguageFortran;
constexpr int UPC = EE_LanguageUPC;

template <std::size_t N>
void checkShapes(const Case (&cases)[N])
{
    for (const Case& c : cases) {
        Language language(c.language);
        Services services;
        services.fortran = c.language == Fortran;
        EXPECT_EQ(parseShape(services, c.text), c.expected) << "text: " << c.text << "  language " << c.language;
    }
}

} // namespace

TEST(CGrammar, PrecedenceAndAssociativity)
{
    static const Case cases[] = {
        {C, "a=b=c", "(a = (b = c))"},
        {C, "a+=b-=c", "(a += (b -= c))"},
        {C, "a-b-c", "((a - b) - c)"},
        {C, "a-(b-c)", "(a - [(b - c)])"},
        {C, "a+b*c", "(a + (b * c))"},
        {CPP, "a*b+c", "((a * b) + c)"},
        {C, "a%b/c*x", "(((a % b) / c) * x)"},
        {C, "a<<b<c", "((a << b) < c)"},
        {C, "a<b<<c", "(a < (b << c))"},
        {C, "a>>b>=c", "((a >> b) >= c)"},
        {C, "a<=b>c", "((a <= b) > c)"},
        {C, "a==b<c", "(a == (b < c))"},
        {C, "a!=b==c", "((a /= b) == c)"},
        {C, "a|b^c&x", "(a | (b ^ (c & x)))"},
        {C, "a&b|c", "((a & b) | c)"},
        {C, "a||b&&c", "(a || (b && c))"},
        {C, "a&&b||c", "((a && b) || c)"},
        {C, "a|b||c", "((a | b) || c)"},
        {C, "a, b, c", "(a , (b , c))"},
        {C, "(a, b), c", "([(a , b)] , c)"},
        {C, "a = b, c", "((a = b) , c)"},
        {UPC, "a ? b : c ? x : y", "(a ? b : (c ? x : y))"},
        {Fortran, "a ? b, c : x", "(a ? (b , c) : x)"},
        {C, "a = b ? c : x", "(a = (b ? c : x))"},
        {C, "a ? b : c = x", "(a ? b : (c = x))"},
        {C, "a || b ? c : x", "((a || b) ? c : x)"},
        {C, "a*=b/=c%=x", "(a *= (b /= (c %= x)))"},
        {C, "a<<=b>>=c", "(a <<= (b >>= c))"},
        {C, "a&=b^=c|=x", "(a &= (b ^= (c |= x)))"},
        {C, "a + b = c", "((a + b) = c)"},
    };
    checkShapes(cases);
}

TEST(CGrammar, UnaryAndPostfixOperators)
{
    static const Case cases[] = {
        {C, "-a", "(unary - a)"},
        {C, "+a", "(unary + a)"},
        {C, "!a", "(! a)"},
        {C, "~a", "(~ a)"},
        {C, "*p", "(unary * p)"},
        {C, "&a", "(& a)"},
        {C, "++a", "(pre ++ a)"},
        {C, "--a", "(pre -- a)"},
        {C, "a++", "(post++ a)"},
        {C, "a--", "(post -- a)"},
        {C, "- -a", "(unary - (unary - a))"},
        {C, "-a++", "(unary - (post++ a))"},
        {C, "*p++", "(unary * (post++ p))"},
        {C, "-a*b", "((unary - a) * b)"},
        {C, "!a&&b", "((! a) && b)"},
        {C, "a[i]", "(a () i)"},
        {C, "a[i][b+1]", "((a () i) () (b + 1))"},
        {C, "a[i]++", "(post++ (a () i))"},
        {CPP, "creal(d)", "(creal d)"},
        {CPP, "cimag(d + 1)", "(cimag (d + 1))"},
        {C, "__I", "__I"},
        {C, "2 * __I", "(2 * __I)"},
        {CPP, "true || false", "(true || false)"},
        {C, "f()", "f()"},
        {C, "f(a, b)", "f(a; b)"},
        {C, "f(a, b, c)", "f(a; b; c)"},
        {C, "f(a = b, (c, x))", "f((a = b); [(c , x)])"},
        {C, "f(a)(b)", "f(a)(b)"},
        {C, "f(a)[i]", "(f(a) () i)"},
    };
    checkShapes(cases);
}

TEST(CGrammar, CastsAgainstParenthesesAndSizeof)
{
    static const Case cases[] = {
        {C, "(T)x", "(cast<int> x)"},
        {C, "(int)x", "(cast<int> x)"},
        {C, "(x)-y", "([x] - y)"},
        {C, "(T)-y", "(cast<int> (unary - y))"},
        {C, "(x)", "[x]"},
        {C, "(T)(x)", "(cast<int> [x])"},
        {C, "((T)x)", "[(cast<int> x)]"},
        {C, "(T)(int)x", "(cast<int> (cast<int> x))"},
        {C, "(char *)p + 1", "((cast<char *> p) + 1)"},
        {C, "(T)", "syntax error at ')'"},
        {C, "(int)", "syntax error at ')'"},
        {C, "sizeof(int)", "sizeof<int>"},
        {C, "sizeof(T)", "sizeof<int>"},
        {C, "sizeof x", "(sizeof x)"},
        {C, "sizeof(x)", "(sizeof [x])"},
        {C, "sizeof -x", "(sizeof (unary - x))"},
        {C, "sizeof(int) + 1", "(sizeof<int> + 1)"},
        {C, "sizeof (x) + 1", "((sizeof [x]) + 1)"},
        {C, "sizeof sizeof x", "(sizeof (sizeof x))"},
        {C, "int(3.5)", "(cast<int> 3.5)"},
        {C, "T(3)", "(cast<int> 3)"},
        {C, "unsigned(x)", "(cast<unsigned int> x)"},
        {C, "signed(x)", "(cast<int> x)"},
        {C, "long(x)", "(cast<long> x)"},
        {C, "short(x)", "(cast<short> x)"},
        {C, "char(x)", "(cast<char> x)"},
        {C, "float(x) * double(y)", "((cast<float> x) * (cast<double> y))"},
        {C, "void(x)", "(cast<void> x)"},
        {CPP, "bool(x)", "(cast<bool> x)"},
        {CPP, "wchar_t(x)", "(cast<wchar_t> x)"},
        {C, "int", "syntax error at end"},
        {C, "T + 1", "syntax error at '+ 1'"},
        {CPP, "static_cast<int>(x)", "(static_cast<int> x)"},
        {CPP, "reinterpret_cast<char*>(p)", "(reinterpret_cast<char *> p)"},
        {CPP, "const_cast<T>(x + 1)", "(const_cast<int> (x + 1))"},
        {CPP, "static_cast<int>x", "syntax error at 'x'"},
        {CPP, "typeid(int)", "typeid<int>"},
        {CPP, "typeid(T*)", "typeid<int *>"},
        {CPP, "typeid(x)", "(typeid x)"},
        {CPP, "typeid(T(3))", "(typeid (cast<int> 3))"},
        {C, "\"ab\" \"cd\"", "(\"ab\" // \"cd\")"},
        {C, "\"a\" \"b\" \"c\"", "((\"a\" // \"b\") // \"c\")"},
        {C, "x + \"a\" \"b\"", "(x + (\"a\" // \"b\"))"},
    };
    checkShapes(cases);
}

TEST(CGrammar, TypeIdsAndDeclarators)
{
    static const Case cases[] = {
        {C, "sizeof(unsigned long long int)", "sizeof<unsigned long long>"},
        {C, "sizeof(long int long)", "sizeof<long long>"},
        {C, "sizeof(int long unsigned long)", "sizeof<unsigned long long>"},
        {C, "sizeof(signed long long)", "sizeof<long long>"},
        {C, "sizeof(unsigned)", "sizeof<unsigned int>"},
        {C, "sizeof(signed)", "sizeof<int>"},
        {C, "sizeof(int signed short)", "sizeof<short>"},
        {C, "sizeof(short unsigned)", "sizeof<unsigned short>"},
        {C, "sizeof(char unsigned)", "sizeof<unsigned char>"},
        {C, "sizeof(signed char)", "sizeof<signed char>"},
        {C, "sizeof(long)", "sizeof<long>"},
        {C, "sizeof(unsigned long int)", "sizeof<unsigned long>"},
        {C, "sizeof(double long)", "sizeof<long double>"},
        {C, "sizeof(_Complex float)", "sizeof<complex float>"},
        {C, "sizeof(double _Complex)", "sizeof<complex double>"},
        {CPP, "sizeof(_Imaginary double)", "sizeof<complex double>"},
        {CPP, "(long _Imaginary double)x", "(cast<complex long double> x)"},
        {C, "sizeof(_Bool)", "sizeof<bool>"},
        {C, "sizeof(const int)", "sizeof<const int>"},
        {C, "sizeof(int const)", "sizeof<const int>"},
        {C, "sizeof(unsigned const long)", "sizeof<const unsigned long>"},
        {C, "(const T)x", "(cast<int> x)"},
        {C, "sizeof(int int)", "syntax error at 'int)'"},
        {C, "sizeof(long long long)", "syntax error at 'long long)'"},
        {C, "sizeof(signed unsigned)", "syntax error at 'unsigned)'"},
        {C, "sizeof(float double)", "syntax error at 'double)'"},
        {C, "sizeof(T int)", "syntax error at 'int)'"},
        {C, "sizeof(_Complex)", "syntax error at '_Complex)'"},
        {C, "sizeof(const const int)", "parse error 3 at 'const int)'"},
        {C, "sizeof(int const const)", "parse error 3 at 'const)'"},
        {C, "sizeof(int (*)[3])", "sizeof<int (*)[3]>"},
        {C, "sizeof(int *[3])", "sizeof<int *[3]>"},
        {C, "sizeof(int[2][3])", "sizeof<int [2][3]>"},
        {C, "sizeof(char**)", "sizeof<char **>"},
        {C, "sizeof(int * const)", "sizeof<int * const>"},
        {C, "sizeof(const int *)", "sizeof<const int *>"},
        {CPP, "sizeof(int&)", "sizeof<int &>"},
        {C, "sizeof(T*)", "sizeof<int *>"},
        {C, "sizeof(int (*))", "sizeof<int *>"},
        {C, "sizeof(int *x)", "syntax error at '*x)'"},
    };
    checkShapes(cases);
}

TEST(CGrammar, NamesTemplatesAndMembers)
{
    static const Case cases[] = {
        {CPP, "::x", "x"},
        {CPP, "::x + N::v", "(x + v)"},
        {CPP, "N::B::c", "c"},
        {CPP, "::N::B::k * 2", "(k * 2)"},
        {CPP, "f2<int>(3)", "f2<int>(3)"},
        {CPP, "f2<int, 3>(a, b)", "f2<int, 3>(a; b)"},
        {CPP, "f2<char*>()", "f2<char *>()"},
        {CPP, "f2<int>(3) > a", "(f2<int>(3) > a)"},
        {CPP, "a > f2<int>(3)", "(a > f2<int>(3))"},
        {CPP, "Holder<int>::z", "z"},
        {CPP, "sizeof(Holder<int>)", "sizeof<::Holder<int>>"},
        {C, "s.m", "(s.m)"},
        {C, "p->m", "(p->m)"},
        {C, "r.m + 1", "((r.m) + 1)"},
        {C, "p->next->m", "((p->next)->m)"},
        {C, "s.inner.m", "((s.inner).m)"},
        {C, "(*p).m", "([(unary * p)].m)"},
        {C, "p->next[i].m", "(((p->next) () i).m)"},
        {C, "f(s.m, p->m)", "f((s.m); (p->m))"},
        {C, "s.m++", "(post++ (s.m))"},
        {C, "(struct S*)p", "(cast<::S *> p)"},
        {C, "sizeof(struct S)", "sizeof<::S>"},
        {C, "(const struct S *)p", "(cast<::S *> p)"},
        {C, "(struct S2 *)p", "(cast<::S2 *> p)"},
        {C, "(union S2)x", "(cast<::S2> x)"},
        {C, "(S2 *)p", "syntax error at ')p'"},
        {C, "sizeof(struct x)", "syntax error at 'struct x)'"},
        {C, "sizeof(S struct)", "syntax error at 'struct)'"},
    };
    checkShapes(cases);
}

TEST(CGrammar, FailuresAndTheirPositions)
{
    static const Case cases[] = {
        {C, "a +", "syntax error at end"},
        {C, "a b", "syntax error at 'b'"},
        {C, "(a", "syntax error at end"},
        {C, "a)", "syntax error at ')'"},
        {C, "a ]", "syntax error at ']'"},
        {C, "f(a,)", "syntax error at ')'"},
        {C, "f(a b)", "syntax error at 'b)'"},
        {C, "a[1", "syntax error at end"},
        {C, "a ? b", "syntax error at end"},
        {C, "a ? b c", "syntax error at 'c'"},
        {C, "1 + / 2", "syntax error at '/ 2'"},
        {C, "a = ", "syntax error at end"},
        {C, "s.", "syntax error at end"},
        {C, "s. + 1", "syntax error at '+ 1'"},
        {C, "s.T", "syntax error at 'T'"},
        {C, "nope + 1", "parse error 3 at 'nope'"},
        {C, "s.nope", "parse error 3 at 'nope'"},
        // A member access on what is not a class or pointer names the object.
        {C, "x.m", "parse error 1 at 'x'"},
        {C, "p.m", "parse error 1 at 'p'"},
        {C, "s->m", "parse error 0 at 's'"},
        {C, "x->m", "parse error 0 at 'x'"},
        {CPP, "::5", "parse error 3 at '5'"},
        {CPP, "N::nope", "parse error 3 at 'nope'"},
        {CPP, "x::y", "parse error 3 at 'x'"},
        {CPP, "f2(3)", "parse error 3 at 'f2'"},
        {CPP, "f2<a > b>(3)", "parse error 3 at 'f2'"},
        {CPP, "f2<static_cast<int>(x)>(1)", "parse error 3 at 'f2'"},
        {CPP, "f2<int", "parse error 3 at 'f2'"},
        {CPP, "f2<long>(1)", "parse error 3 at 'f2'"},
        {CPP, "this", "error 2"},
        {C, "static_cast<int>(x)", "parse error 3 at 'static_cast'"},
    };
    checkShapes(cases);
}

TEST(CGrammar, FullFormSignatures)
{
    static const Case cases[] = {
        {C, "(T)x", "(int) (x)"},
        {CPP, "static_cast<int>(x)", "static_cast<int> (x)"},
        {C, "sizeof(char**)", "sizeof(char **)"},
        {C, "sizeof x", "sizeof(x)"},
        {CPP, "typeid(int)", "typeid(int)"},
        {C, "s.m", "(s).m"},
        {C, "p->m", "p->m"},
        {C, "f()", "f()"},
        {C, "f(a, b+1)", "f(a, b+1)"},
        {C, "a[i]", "a[i]"},
        {C, "a ? b : c", "a ? b : c"},
        {C, "-a", "-a"},
        {C, "*p", "*(p)"},
        {C, "\"ab\" \"cd\"", "\"ab\"//\"cd\""},
        {CPP, "N::B::bm", "bm"},
    };
    for (const Case& c : cases) {
        Language language(c.language);
        Services services;
        EXPECT_EQ(parse(services, c.text), c.expected) << "text: " << c.text;
    }
}

TEST(CGrammar, CallArgumentsRunInTextOrder)
{
    Services services;
    EE_Expression* call = root(services, "f(a, b, 3)");
    ASSERT_NE(call, nullptr);
    EE_FunctionCallExpression* f = call->asFunctionCallExpression();
    ASSERT_NE(f, nullptr);
    std::string names;
    for (EE_Parameter* p = f->parameters; p != nullptr; p = p->next) {
        EXPECT_EQ(p->mode, 0);
        names += p->expression->signature(1).data();
    }
    EXPECT_EQ(names, "ab3");
    EXPECT_EQ(f->option, 0);
    EXPECT_EQ(root(services, "f()")->asFunctionCallExpression()->parameters, nullptr);
}

TEST(CGrammar, MemberAccessAnalysesTheObjectAndRestoresTheStore)
{
    Services services;
    EE_DeclarationStore* global = services.currentStore();

    // The member name is looked up in the object's class, the next name in
    // the scope around the expression again: the class's store has its own m,
    // the global scope has none.
    analyserCalls = 0;
    EXPECT_EQ(parseShape(services, "s.m * 2"), "((s.m) * 2)");
    EXPECT_EQ(analyserCalls, 1);
    EXPECT_EQ(parseShape(services, "s.m + m"), "parse error 3 at 'm'");
    EXPECT_EQ(services.currentStore(), global);

    // The object node of the member access is the analysed one.
    EE_Expression* e = root(services, "s.inner.m");
    ASSERT_NE(e, nullptr);
    EE_MemberExpression* outer = e->asMemberExpression();
    ASSERT_NE(outer, nullptr);
    EXPECT_NE(outer->object->typeDescriptor, nullptr);
    EXPECT_EQ(outer->object->analyzed, 1);

    // A member name that fails to resolve, that is no name, or that is missing
    // leaves the lookup store as it was.
    for (const char* text : {"s.nope", "p->5", "s.", "(s.T)", "p->next->nope"}) {
        parseShape(services, text);
        EXPECT_EQ(services.currentStore(), global) << text;
    }
    // Inside a member function "this" points to the class.
    {
        Language cpp(CPP);
        services.enclosingClass = services.typeOf("S");
        EXPECT_EQ(parseShape(services, "this->m + this->next->m"), "((this->m) + ((this->next)->m))");
        EXPECT_EQ(services.currentStore(), global);
        services.enclosingClass = nullptr;
    }
    // A failure of the analyser leaves it too.
    EXPECT_EQ(parseShape(services, "f(a).m"), "error 2");
    EXPECT_EQ(services.currentStore(), global);
}

TEST(CGrammar, TypeIdsWorkInEveryLanguageOfTheFamily)
{
    for (int language : {C, CPP, Fortran, UPC}) {
        Language current(language);
        Services services;
        services.fortran = language == Fortran;
        EXPECT_EQ(parseShape(services, "(unsigned long)a->m"), "parse error 0 at 'a'") << language;
        EXPECT_EQ(parseShape(services, "(unsigned long)p->m"), "(cast<unsigned long> (p->m))") << language;
        EXPECT_EQ(parseShape(services, "(char *)a + sizeof(int[4])"), "((cast<char *> a) + sizeof<int [4]>)")
            << language;
    }
}
