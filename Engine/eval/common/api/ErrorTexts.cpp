// The text of a request's last error, in the locale the host names first.

#include <cstring>
#include <mutex>
#include <string>

#include "api/EntryFrame.h"
#include "api/ErrorTextEntryPoints.h"
#include "api/LiveRepresentations.h"
#include "services/ExpressionRepresentation.h"
#include "services/Message.h"
#include "tree/UpdateTreeNode.h"
#include "tree/TreeNode.h"

#include <plomkit/ThreadOwned.h>

namespace {

std::mutex localeLock;
// Empty until a host names one.
std::string& keptLocale()
{
    static std::string kept;
    return kept;
}

} // namespace

int setMessageLocale(const char* locale)
{
    std::string applied;
    int answer = 0;
    {
        std::lock_guard<std::mutex> guard(localeLock);
        std::string& kept = keptLocale();
        if (locale != nullptr && (kept.empty() || kept == locale)) {
            kept = locale;
            answer = 1;
        }
        applied = kept;
    }
    // Each thread reads messages in its own locale: the kept one is made
    // the calling thread's, whatever this call named.
    if (!applied.empty())
        Message::MessageServer::instance()->setLocale(EncodedString(applied.c_str(), Encoding_UTF8));
    return answer;
}

namespace {

// What the error text names: the expression, or for a node of a locals
// view (which has no expression of its own) the variable the node belongs
// to, as its root is named.
ByteString namedInErrorText(EvaluationEnvironment& environment, UpdateTreeNode* node)
{
    if (environment.asLocalsRepresentation() == nullptr)
        return environment.expression(nullptr);
    if (node == nullptr)
        return ByteString();
    return node->rootNode()->name();
}

} // namespace

const UBYTE1* DbgExtendedErrorInfo2(ExpressionRepresentation* rep, UpdateTreeNode* node, const UBYTE1* locale)
{
    static const char signature[] =
        "const UBYTE1* DbgExtendedErrorInfo2(ExpressionRepresentation*, UpdateTreeNode*, const UBYTE1*)";
    return EntryFrame::run<const UBYTE1*>(signature, 127, nullptr, [&](EntryFrame&) -> const UBYTE1* {
        // Handles the host does not hold have no text.
        if (rep != nullptr ? !LiveRepresentations::isLive(rep) : !LiveRepresentations::isLiveNode(node))
            return nullptr;
        setMessageLocale(reinterpret_cast<const char*>(locale));
        EvaluationEnvironment* environment = rep != nullptr ? rep : node->internalRep();
        // One text per thread: a text fetched on one thread is not
        // overwritten by a request on another.
        ByteString& errorText = threadOwned<ByteString>([] {});
        static const char lead[] = "  >> ";
        static const char gap[] = "\n\n";
        ByteString text(reinterpret_cast<const UBYTE1*>(lead), sizeof lead - 1);
        if (environment != nullptr) {
            text += namedInErrorText(*environment, rep != nullptr ? nullptr : node);
            text += ByteString(reinterpret_cast<const UBYTE1*>(gap), sizeof gap - 1);
            text += environment->message().textInUnicode().asUTF8();
        } else {
            text += ByteString(reinterpret_cast<const UBYTE1*>(gap), sizeof gap - 1);
        }
        errorText = text;
        return errorText.data();
    });
}

const UBYTE1* DbgExtendedErrorInfo(ExpressionRepresentation* rep, const UBYTE1* locale)
{
    return EntryFrame::run<const UBYTE1*>(
        "const UBYTE1* DbgExtendedErrorInfo(ExpressionRepresentation*, const UBYTE1*)", 149, nullptr,
        [&](EntryFrame&) { return DbgExtendedErrorInfo2(rep, nullptr, locale); });
}
