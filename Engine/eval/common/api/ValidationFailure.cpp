// How a validation that failed answers, by what it threw.

#include <cstring>
#include <memory>

#include "HostStatusCodes.h"
#include "api/StatusMappings.h"
#include "compiler/ParseError.h"
#include "services/ExpressionRepresentation.h"
#include "services/InvalidOp.h"
#include "services/Message.h"
#include "services/SVC.h"

namespace {

constexpr const char* signature = validationTraceFunction;

} // namespace

UBYTE2 validationFailureStatus(ExpressionRepresentation& rep)
{
    Message& message = rep.message();
    try {
        throw;
    } catch (const Message& caught) {
        message = caught;
        return statusFailure;
    } catch (const InvalidOp& error) {
        if (error.code() == InvalidOp::RTRC_NotInBrowseMode)
            return statusNotInBrowseMode;
        message = Message(21);
        return error.code() == InvalidOp::RTRC_NotSupported ? statusNotSupported : statusFailure;
    } catch (ParseError* error) {
        std::unique_ptr<ParseError> owned(error);
        const BuildFailure& row = buildFailure(owned->kind());
        const bool cobol = rep.language() == EvaluationEnvironment::languageCOBOL;
        const char* text = owned->text();
        SVC::fTrace(signature, validationTraceLine, row.quoted ? "%s\"%s\"" : "%s%s", row.trace, text);
        int number = cobol ? row.cobolMessage : row.message;
        if (owned->kind() == ParseError::t_errorAt && text[0] == '\0')
            number = 2;
        if (owned->kind() == ParseError::t_noSymbol && cobol) {
            COMPILATION_SETTING_VALUE setting{};
            if (SVC::ExprGetCompilationSettingValue(rep.context(), 4, &setting) && setting.value != 0)
                number = 5;
            Message::MessageServer::instance()->setType('S');
        }
        // A failure the analysis could not name ("Undefined", "Traceback")
        // is no text for a user: it reads as an expression that could not
        // be evaluated.
        const bool unnamed = owned->kind() == ParseError::t_unspecified &&
                             (std::strcmp(text, "Undefined") == 0 || std::strcmp(text, "Traceback") == 0);
        message = unnamed ? Message(21) : Message(number, text, nullptr);
        return row.status;
    } catch (const char* text) {
        SVC::fTrace(signature, validationTraceLine, "Parser error: %s", text != nullptr ? text : "");
        message = Message(21);
        return statusBuildFailed;
    } catch (...) {
        SVC::fTrace(signature, validationTraceLine, "Unspecified parser error");
        message = Message(21);
        return statusFailure;
    }
}
