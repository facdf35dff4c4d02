// The text targets: the input as an expression text through the parser of
// a language over the real services, on the sample debuggee, and the tree
// it gives printed back. A refusal is a result: the exceptions by which the
// front end, the services and the host refuse a text (all of which an
// expression build turns into its error). Anything else that escapes is a
// finding.

#include <cstring>
#include <vector>

#include "FuzzTargets.h"
#include "SampleDebuggee.h"
#include "compiler/CxxevalInterface.h"
#include "compiler/EE_OstrelServices.h"
#include "frontend/EE_Expression.h"
#include "frontend/EE_ParseException.h"
#include "frontend/EE_Parser.h"
#include "frontend/EE_TraceBackInformation.h"
#include "services/InvalidOp.h"
#include "services/Message.h"

namespace {

// The text in a buffer of exactly its length and the NUL, so that the
// address sanitizer sees a read beyond its end.
std::vector<char> textOf(const std::uint8_t* data, std::size_t size)
{
    std::size_t length = size < fuzzTextLimit ? size : fuzzTextLimit;
    if (const void* nul = std::memchr(data, 0, length))
        length = static_cast<std::size_t>(static_cast<const std::uint8_t*>(nul) - data);
    std::vector<char> text(length + 1, '\0');
    if (length != 0)
        std::memcpy(text.data(), data, length);
    return text;
}

void parse(int language, const std::vector<char>& text)
{
    ScopeItem* scope = SampleDebuggee::instance().enter(language);
    EE_OstrelServices services(scope, scopeFilescope());
    EE_Parser parser(services, 0);
    try {
        EE_Expression* root = parser.parseTheExpression(text.data(), 0);
        if (root == nullptr)
            return;
        const EE_String signature = root->signature(1);
        if (signature.data() == nullptr)
            failFuzzCheck("a parsed tree without a signature");
    } catch (const EE_ParseException&) {
    } catch (const EE_TraceBackInformation&) {
    } catch (const InvalidOp&) {
    } catch (const Message&) {
    } catch (...) {
        failFuzzCheck("an exception of no refusal's kind left the parser");
    }
}

} // namespace

int fuzzCParse(const std::uint8_t* data, std::size_t size)
{
    const std::vector<char> text = textOf(data, size);
    parse(SampleDebuggee::languageC, text);
    parse(SampleDebuggee::languageCpp, text);
    return 0;
}

int fuzzCobolParse(const std::uint8_t* data, std::size_t size)
{
    parse(SampleDebuggee::languageCobol, textOf(data, size));
    return 0;
}
