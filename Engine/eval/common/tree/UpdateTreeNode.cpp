#include "tree/UpdateTreeNode.h"

#include <cstring>
#include <string>

#include "frontend/EE_Language.h"
#include "machine/StackItem.h"
#include "services/DebuggeeAddress.h"
#include "services/DebuggeeLocation.h"
#include "services/EvaluationEnvironment.h"
#include "services/ExpressionRepresentation.h"
#include "services/InvalidOp.h"
#include "services/SVC.h"
#include "tree/UpdateExpressionRoad.h"

namespace {

// Sets the environment's update flag for the life of an update and puts
// the earlier value back.
class UpdateFlagScope {
public:
    explicit UpdateFlagScope(EvaluationEnvironment& environment)
        : environment_(environment), earlier_(environment.isUpdate())
    {
        environment_.setUpdate(true);
    }
    ~UpdateFlagScope() { environment_.setUpdate(earlier_); }
    UpdateFlagScope(const UpdateFlagScope&) = delete;
    UpdateFlagScope& operator=(const UpdateFlagScope&) = delete;

private:
    EvaluationEnvironment& environment_;
    bool earlier_;
};

// The nested expression of one update: the representation built from the
// text and the value it evaluated to. Whatever was obtained is released when
// the update ends, failed or not, and the node's environment is made current
// again after every nested call.
class NestedExpression {
public:
    NestedExpression(EvaluationEnvironment& home, const LCC_Eval_Context_Info* context)
        : home_(home), context_(context), road_(UpdateExpressionRoad::current())
    {}
    ~NestedExpression()
    {
        try {
            road_.freeResult(value_);
            if (representation_ != nullptr) {
                StackItem* typeResult = representation_->validationResult();
                representation_->saveValidationResult(nullptr);
                road_.freeTypeResult(typeResult);
                road_.freeRepresentation(representation_);
            }
        } catch (...) {
        }
        home_.makeCurrent(nullptr);
    }
    NestedExpression(const NestedExpression&) = delete;
    NestedExpression& operator=(const NestedExpression&) = delete;

    // Builds the representation of the text and makes it ready for the
    // context; alternateCharset is its alternate-character-set flag.
    ExpressionRepresentation& build(const ByteString& text, std::uint8_t alternateCharset)
    {
        const std::uint16_t status = road_.build(text.data(), context_, home_.language(), representation_);
        home_.makeCurrent(nullptr);
        if (status != 0 || representation_ == nullptr)
            throw InvalidOp(InvalidOp::RTRC_Other, __PRETTY_FUNCTION__, __LINE__);
        representation_->initializeAndMakeCurrent(context_);
        representation_->setAlternateCharset(alternateCharset);
        home_.makeCurrent(nullptr);
        return *representation_;
    }
    void keepValue(StackItem* value) { value_ = value; }

private:
    EvaluationEnvironment& home_;
    const LCC_Eval_Context_Info* context_;
    UpdateExpressionRoad& road_;
    ExpressionRepresentation* representation_ = nullptr;
    StackItem* value_ = nullptr;
};

bool isBlank(unsigned char c)
{
    return c == ' ';
}

bool nullTypeIndex(const TypeItem& type)
{
    return type.typeIndex() == EvaluatorTypeIndex();
}

} // namespace

UpdateTreeNode::UpdateTreeNode(const TypeItem& type, const TypeItem& formatType, const char* name)
    : FormatTreeNode(type, formatType, name)
{}

UpdateTreeNode::UpdateTreeNode(const TypeItem& type, const char* name, std::int64_t offset)
    : FormatTreeNode(type, name, offset)
{}

UpdateTreeNode::~UpdateTreeNode() = default;

StackItem* UpdateTreeNode::evaluateNow()
{
    return nullptr;
}

bool UpdateTreeNode::isConditionName() const
{
    return environmentLanguage() == EvaluationEnvironment::languageCOBOL && dataType().typeIndex() == 144u;
}

ByteString UpdateTreeNode::cleanString(const unsigned char* text)
{
    std::string s = text != nullptr ? reinterpret_cast<const char*>(text) : "";
    for (char& c : s)
        if (c == '\r' || c == '\n' || c == '\t')
            c = ' ';
    for (;;) {
        const std::size_t line = s.find("//");
        const std::size_t block = s.find("/*");
        if (line == std::string::npos && block == std::string::npos)
            break;
        if (line != std::string::npos && (block == std::string::npos || line < block)) {
            s.erase(line);
            break;
        }
        const std::size_t end = s.find("*/", block + 2);
        if (end == std::string::npos) {
            if (line != std::string::npos)
                s.erase(line);
            break;
        }
        s.erase(block, end + 2 - block);
    }
    std::size_t last = s.size();
    while (last > 0 && isBlank(static_cast<unsigned char>(s[last - 1])))
        --last;
    std::size_t first = 0;
    while (first < last && isBlank(static_cast<unsigned char>(s[first])))
        ++first;
    return ByteString(reinterpret_cast<const unsigned char*>(s.data() + first), static_cast<unsigned>(last - first));
}

std::uint16_t UpdateTreeNode::update(const LCC_Eval_Context_Info* context, int rep, unsigned char* text,
                                     StackItem& item)
{
    setInternalRepresentation();
    EvaluationEnvironment& home = *EvaluationEnvironment::currentRep();
    UpdateFlagScope updating(home);
    if (home.language() == EE_LanguageSQL)
        return updateSqlValue(context, text, item);

    const TypeItem& type = dataType();
    const ByteString identifier = debugNodeIdentifier();
    const bool conditionName = isConditionName();
    const DebuggeeLocation where = debuggeeAddress();
    bool pointerAsString = false;
    if (where.kind() == DebuggeeLocation::none) {
        if (!conditionName) {
            if (!type.hasFlag(TypeFlags::pointer) && !type.hasFlag(TypeFlags::array))
                return 11041;
            if (rep != 6 && rep != 23) {
                SVC::fTrace(__PRETTY_FUNCTION__, __LINE__,
                            "Attempt to update const pointer node %s with non-string representation",
                            identifier.data());
                return 11041;
            }
            pointerAsString = true;
        }
    } else if (where.kind() == DebuggeeLocation::debuggerBuffer) {
        SVC::fTrace(__PRETTY_FUNCTION__, __LINE__, "Attempt to update node %s in debugger space", identifier.data());
        return 11041;
    }
    SVC::fTrace(__PRETTY_FUNCTION__, __LINE__, "Updating node %s with value %s, using representation %d",
                identifier.data(), text != nullptr ? reinterpret_cast<const char*>(text) : "", rep);

    ByteString cleaned = cleanString(text);
    if (home.language() == EvaluationEnvironment::languageFortran) {
        const _TYPE_ENTRY* entry = item.type().typeEntry();
        if (entry != nullptr && entry->leaf == TE_COBOL_TABLE)
            return updateFortranCharacterString(cleaned);
    }
    if (type.hasFlag(TypeFlags::floating) && rep == 1)
        return updateFloatingPointHex(context, cleaned.data(), item);
    if (home.language() != EvaluationEnvironment::languageCOBOL && rep == 17) {
        static const ByteString trueWord(reinterpret_cast<const unsigned char*>("true"), 4);
        static const ByteString falseWord(reinterpret_cast<const unsigned char*>("false"), 5);
        if (cleaned == trueWord)
            cleaned = ByteString(reinterpret_cast<const unsigned char*>("1"), 1);
        else if (cleaned == falseWord)
            cleaned = ByteString(reinterpret_cast<const unsigned char*>("0"), 1);
    }
    if (conditionName) {
        if (cleaned.length() != 4 || strncasecmp(reinterpret_cast<const char*>(cleaned.data()), "TRUE", 4) != 0)
            return 11040;
        const ByteString name = item.environment().expression(&item);
        const std::string statement =
            "SET " + std::string(reinterpret_cast<const char*>(name.data()), name.length()) + " TO TRUE";
        cleaned = ByteString(reinterpret_cast<const unsigned char*>(statement.data()),
                             static_cast<unsigned>(statement.size()));
        SVC::fTrace(__PRETTY_FUNCTION__, __LINE__, "Updating condition name with expression %s", cleaned.data());
    }

    const std::uint8_t alternate = (rep == 5 || rep == 6) ? 1 : home.alternateCharset();
    const std::uint16_t status = evaluateAndWrite(
        context, cleaned, alternate, "node " + std::string(reinterpret_cast<const char*>(identifier.data())),
        conditionName, pointerAsString);
    if (status != 0)
        SVC::fTrace(__PRETTY_FUNCTION__, __LINE__, "Attempt to update node %s failed rc = %d (See preceeding errors)",
                    identifier.data(), status);
    return status;
}

StackItem* UpdateTreeNode::evaluate(ExpressionRepresentation* representation)
{
    EvaluationEnvironment* home = EvaluationEnvironment::currentOrNull();
    UpdateExpressionRoad& road = UpdateExpressionRoad::current();
    const ByteString text = representation->expression(nullptr);
    const char* shown = reinterpret_cast<const char*>(text.data());
    const auto backHome = [home] {
        if (home != nullptr)
            home->makeCurrent(nullptr);
    };
    const bool conditionName = isConditionName();

    const std::uint16_t validation = road.validate(*representation, representation->context());
    backHome();
    if (validation == 1000 || validation == 1001 || validation == 1003) {
        if (!conditionName) {
            SVC::fTrace(__PRETTY_FUNCTION__, __LINE__, "Validation of \"%s\" succeeded, but has a side effect", shown);
            throw InvalidOp(InvalidOp::RTRC_UpdateSideEffect, __PRETTY_FUNCTION__, __LINE__);
        }
    } else if (validation != 0 && validation != 1002) {
        SVC::fTrace(__PRETTY_FUNCTION__, __LINE__, "Validation of \"%s\" failed", shown);
        throw InvalidOp(InvalidOp::RTRC_Other, __PRETTY_FUNCTION__, __LINE__);
    }

    StackItem* result = nullptr;
    const std::uint16_t status = road.evaluate(*representation, representation->context(), result);
    backHome();
    if (status == 0 && result != nullptr) {
        SVC::fTrace(__PRETTY_FUNCTION__, __LINE__, "Evaluation of \"%s\" succeeded", shown);
        return result;
    }
    road.freeResult(result);
    if (status == 11050) {
        SVC::fTrace(__PRETTY_FUNCTION__, __LINE__, "Update of with \"%s\" failed - bad context", shown);
        throw InvalidOp(InvalidOp::RTRC_BadContext, __PRETTY_FUNCTION__, __LINE__);
    }
    SVC::fTrace(__PRETTY_FUNCTION__, __LINE__, "Evaluation of \"%s\" failed", shown);
    throw InvalidOp(InvalidOp::RTRC_Other, __PRETTY_FUNCTION__, __LINE__);
}

std::uint16_t UpdateTreeNode::updateSharedVariableElement(const LCC_Eval_Context_Info* context,
                                                          unsigned long long element, DebuggeeAddress& address,
                                                          unsigned)
{
    setLocation(DebuggeeLocation(address));
    setInternalRepresentation();
    EvaluationEnvironment& home = *EvaluationEnvironment::currentRep();
    UpdateFlagScope updating(home);
    const ByteString cleaned = cleanString(memberName());
    const std::uint16_t status =
        evaluateAndWrite(context, cleaned, home.alternateCharset(), "element " + std::to_string(element), false, false);
    return status;
}

std::uint16_t UpdateTreeNode::evaluateAndWrite(const LCC_Eval_Context_Info* context, const ByteString& text,
                                               std::uint8_t alternateCharset, const std::string& subject,
                                               bool conditionName, bool stringOnly)
{
    EvaluationEnvironment& home = *EvaluationEnvironment::currentRep();
    const char* what = subject.c_str();
    NestedExpression nested(home, context);
    try {
        ExpressionRepresentation& representation = nested.build(text, alternateCharset);
        StackItem* value = evaluate(&representation);
        nested.keepValue(value);
        if (conditionName)
            return 0;
        if (stringOnly && !value->inDebuggerAddressSpace()) {
            SVC::fTrace(__PRETTY_FUNCTION__, __LINE__, "Attempt to update const pointer %s with non-string value",
                        what);
            return 11041;
        }
        if (nullTypeIndex(value->type()) || nullTypeIndex(dataType())) {
            SVC::fTrace(__PRETTY_FUNCTION__, __LINE__, "Attempt to update %s fails with evaluation error", what);
            return 11040;
        }
        return writeValue(*value);
    } catch (const InvalidOp& e) {
        if (e.code() == InvalidOp::RTRC_BadContext) {
            SVC::fTrace(__PRETTY_FUNCTION__, __LINE__, "Attempt to update static %s with auto variable", what);
            return 11042;
        }
        if (e.code() == InvalidOp::RTRC_UpdateSideEffect) {
            SVC::fTrace(__PRETTY_FUNCTION__, __LINE__, "Attempt to update static %s with side effect", what);
            return 11043;
        }
        return 10000;
    } catch (...) {
        return 10000;
    }
}
