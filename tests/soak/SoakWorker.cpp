#include "SoakWorker.h"

#include <cstdio>

#include "testhost/TestHost.h"

namespace {

const UBYTE1* const locale = reinterpret_cast<const UBYTE1*>("en_US");
constexpr UBYTE4 sqlLanguage = ProgramFile::sqlLanguageCode;

const char* const cProgram = R"(language c
int a = 3;
int b = 4;
int i = 1;
int t = 0;
int arr[5] = {10, 20, 30, 40, 50};
struct point { int x; char c; } pt = {4, 'b'};
struct point *pp = &pt;
)";

const char* const cobolProgram = R"(language cobol
       01 GRP.
          05 FLD       PIC S9(3)V99 VALUE 12.5.
          05 CNT       PIC 9(4) COMP VALUE 7.
       77 PRICE        PIC S9(5)V99 COMP-3 VALUE 19.99.
       77 QTY          PIC S9(3) COMP-3 VALUE 3.
       77 TAX          PIC S9(3)V99 COMP-3 VALUE 1.25.
       77 TOTAL        PIC S9(7)V99 COMP-3 VALUE 0.
       77 A            PIC 9(3) VALUE 6.
       77 X            PIC S9(5) COMP-3 VALUE 0.
       SQL AMOUNT TYPE 484 LENGTH 5 2 VALUE X'12345D'
)";

ProgramFile readProgram(const char* text, TestHost& host, unsigned bits, unsigned section)
{
    ProgramFile::Options options;
    options.bits = bits;
    options.section = section;
    return ProgramFile::read(text, host, options);
}

std::string text(const UBYTE1* t)
{
    return t != nullptr ? reinterpret_cast<const char*>(t) : "<null>";
}

} // namespace

SoakWorker::SoakWorker(TestHost& host, const SoakEntries& dbg, unsigned n, unsigned bits)
    : host_(host),
      dbg_(dbg),
      bits_(bits),
      c_(readProgram(cProgram, host, bits, 2 * n + 1)),
      cobol_(readProgram(cobolProgram, host, bits, 2 * n + 2))
{}

TYPE_INDEX SoakWorker::intType() const
{
    return c_.find("a")->type;
}

std::string SoakWorker::round(bool cobolFirst)
{
    std::string record;
    if (cobolFirst) {
        std::string cobol = cobolRound();
        record = cRound() + cobol;
    } else {
        std::string c = cRound();
        record = c + cobolRound();
    }
    // The host logs every call: keep its log short.
    host_.clearCalls();
    return record;
}

std::string SoakWorker::cRound()
{
    const UBYTE4 language = static_cast<UBYTE4>(c_.languageCode());
    std::string r;
    r += expression(c_, "a + b", language);
    r += expression(c_, "t = pp->x * 2 + arr[i]", language);
    r += expression(c_, "nosuch + 1", language);
    r += expression(c_, "a / (b - 4)", language);
    r += update(c_, "a", language, "17");
    r += expression(c_, "t = a * 2", language);
    r += bytes(c_);
    r += update(c_, "a", language, "3");
    return r + bytes(c_);
}

std::string SoakWorker::cobolRound()
{
    const UBYTE4 language = static_cast<UBYTE4>(cobol_.languageCode());
    std::string r;
    r += expression(cobol_, "COMPUTE TOTAL = PRICE * QTY + TAX", language);
    r += expression(cobol_, "FLD OF GRP * 3 + 1", language);
    r += expression(cobol_, "COMPUTE X = A * 2 + 1", language);
    r += expression(cobol_, "NOSUCH + 1", language);
    r += expression(cobol_, "TOTAL / (QTY - 3)", language);
    r += expression(cobol_, "AMOUNT", sqlLanguage);
    r += update(cobol_, "AMOUNT", sqlLanguage, "42.10");
    r += update(cobol_, "A", language, "9");
    r += bytes(cobol_);
    r += update(cobol_, "AMOUNT", sqlLanguage, "-123.45");
    r += update(cobol_, "A", language, "6");
    r += expression(cobol_, "COMPUTE TOTAL = 0", language);
    r += expression(cobol_, "COMPUTE X = 0", language);
    return r + bytes(cobol_);
}

std::string SoakWorker::expression(const ProgramFile& program, const std::string& expressionText, UBYTE4 language)
{
    std::string r = expressionText + ":";
    std::string buffer = expressionText;
    ExpressionRepresentation* rep = nullptr;
    const UBYTE2 built =
        dbg_.build(reinterpret_cast<unsigned char*>(buffer.data()), program.context(), language, 0, &rep);
    r += " build " + std::to_string(built);
    if (built != 0 || rep == nullptr)
        return r + "\n";
    StackItem* typeResult = nullptr;
    StackItem* result = nullptr;
    const UBYTE2 validated = dbg_.validate(rep, program.context(), &typeResult);
    r += " validate " + std::to_string(validated);
    bool failed = validated >= 10000;
    if (!failed) {
        UBYTE1* name = nullptr;
        const UBYTE2 evaluated = dbg_.evaluate(rep, program.context(), &result, &name);
        r += " evaluate " + std::to_string(evaluated) + " name \"" + text(name) + "\"";
        failed = evaluated != 0;
    }
    if (failed)
        r += " error \"" + text(dbg_.errorText(rep, locale)) + "\"";
    if (result != nullptr && (failed || language == sqlLanguage)) {
        UpdateTreeNode* root = nullptr;
        const UBYTE2 rooted = dbg_.rootNode(result, &root);
        r += " root " + std::to_string(rooted);
        if (root != nullptr) {
            UBYTE1* formatted = nullptr;
            const UBYTE2 status = dbg_.format(root, 2, result, &formatted, 4096);
            r += " format " + std::to_string(status) + " \"" + text(formatted) + "\"";
            dbg_.freeNode(root);
        }
    }
    dbg_.freeResult(result);
    dbg_.freeTypeResult(typeResult);
    dbg_.freeRep(rep);
    return r + "\n";
}

std::string SoakWorker::update(const ProgramFile& program, const std::string& name, UBYTE4 language,
                               const std::string& value)
{
    std::string r = name + " <- " + value + ":";
    std::string buffer = name;
    ExpressionRepresentation* rep = nullptr;
    StackItem* typeResult = nullptr;
    StackItem* result = nullptr;
    UBYTE1* resultName = nullptr;
    UpdateTreeNode* root = nullptr;
    if (dbg_.build(reinterpret_cast<unsigned char*>(buffer.data()), program.context(), language, 0, &rep) != 0 ||
        dbg_.validate(rep, program.context(), &typeResult) >= 10000 ||
        dbg_.evaluate(rep, program.context(), &result, &resultName) != 0 || dbg_.rootNode(result, &root) != 0 ||
        root == nullptr) {
        r += " no node";
    } else {
        std::string input = value;
        r += " update " +
             std::to_string(dbg_.update(program.context(), result, root, 2, reinterpret_cast<UBYTE1*>(input.data())));
        if (language == sqlLanguage) {
            UBYTE1* formatted = nullptr;
            const UBYTE2 status = dbg_.format(root, 2, result, &formatted, 4096);
            r += " format " + std::to_string(status) + " \"" + text(formatted) + "\"";
        }
    }
    if (root != nullptr)
        dbg_.freeNode(root);
    dbg_.freeResult(result);
    dbg_.freeTypeResult(typeResult);
    if (rep != nullptr)
        dbg_.freeRep(rep);
    return r + "\n";
}

std::string SoakWorker::bytes(const ProgramFile& program)
{
    std::string r;
    auto hex = [&r](const std::vector<UBYTE1>& bytes) {
        for (UBYTE1 b : bytes) {
            char two[3];
            std::snprintf(two, sizeof two, "%02X", b);
            r += two;
        }
    };
    for (const ProgramFile::Variable& v : program.variables())
        if (v.topLevel) {
            r += v.name + "=";
            hex(host_.memoryBytes(v.address, v.size));
            r += " ";
        }
    for (const ProgramFile::SqlVariable& v : program.sqlVariables()) {
        r += v.name + "=";
        hex(host_.memoryBytes(v.address, static_cast<UBYTE4>(v.bytes.size())));
    }
    return r + "\n";
}
