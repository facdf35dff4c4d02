#include "frontend/EE_TypeDescriptor.h"

#include "frontend/EE_Declaration.h"
#include "frontend/EE_Exception.h"

namespace {

// The text of a basic kind, or null for a kind that has none.
const char* basicKindText(EE_TypeDescriptor::Kind kind)
{
    switch (kind) {
    case EE_TypeDescriptor::AlphanumericString: return "ALPHANUMERIC";
    case EE_TypeDescriptor::Bool: return "bool";
    case EE_TypeDescriptor::Char: return "char";
    case EE_TypeDescriptor::SignedChar: return "signed char";
    case EE_TypeDescriptor::UnsignedChar: return "unsigned char";
    case EE_TypeDescriptor::Short: return "short";
    case EE_TypeDescriptor::UnsignedShort: return "unsigned short";
    case EE_TypeDescriptor::Int: return "int";
    case EE_TypeDescriptor::UnsignedInt: return "unsigned int";
    case EE_TypeDescriptor::Long: return "long";
    case EE_TypeDescriptor::UnsignedLong: return "unsigned long";
    case EE_TypeDescriptor::LongLong: return "long long";
    case EE_TypeDescriptor::UnsignedLongLong: return "unsigned long long";
    case EE_TypeDescriptor::Float:
    case EE_TypeDescriptor::HexFloat: return "float";
    case EE_TypeDescriptor::Double:
    case EE_TypeDescriptor::HexDouble: return "double";
    case EE_TypeDescriptor::LongDouble:
    case EE_TypeDescriptor::HexLongDouble: return "long double";
    case EE_TypeDescriptor::ComplexFloat:
    case EE_TypeDescriptor::HexComplexFloat: return "complex float";
    case EE_TypeDescriptor::ComplexDouble:
    case EE_TypeDescriptor::HexComplexDouble: return "complex double";
    case EE_TypeDescriptor::ComplexLongDouble:
    case EE_TypeDescriptor::HexComplexLongDouble: return "complex long double";
    case EE_TypeDescriptor::Void: return "void";
    case EE_TypeDescriptor::WcharT: return "wchar_t";
    case EE_TypeDescriptor::Decimal32: return "Decimal32";
    case EE_TypeDescriptor::Decimal64: return "Decimal64";
    case EE_TypeDescriptor::Decimal128: return "Decimal128";
    case EE_TypeDescriptor::PackedDecimal: return "decimal(n,p)";
    case EE_TypeDescriptor::FixedPointBinary: return "BINARY";
    case EE_TypeDescriptor::ZonedDecimal: return "zoned decimal(n,p)";
    case EE_TypeDescriptor::NationalDecimal: return "national decimal(n,p)";
    case EE_TypeDescriptor::NationalString: return "national string";
    case EE_TypeDescriptor::IndexName: return "index name";
    case EE_TypeDescriptor::IndexDataItem: return "index data item";
    case EE_TypeDescriptor::ExternalFloat: return "external float";
    case EE_TypeDescriptor::AlphanumericEdited: return "alphanumeric edited";
    case EE_TypeDescriptor::NumericEdited: return "numeric edited";
    case EE_TypeDescriptor::NationalExternalFloat: return "national external float";
    case EE_TypeDescriptor::NationalEdited: return "national edited";
    case EE_TypeDescriptor::NationalNumericEdited: return "national numeric edited";
    default: return nullptr;
    }
}

// out := prefix + out
void prepend(EE_String& out, const EE_String& prefix)
{
    EE_String text(prefix);
    text << out;
    out = text;
}

// out := "(" + out + ")"
void wrap(EE_String& out)
{
    EE_String text("(");
    text << out << ")";
    out = text;
}

// out := level + (out empty ? "" : " " + out)
void placeInFront(EE_String& out, EE_String& level)
{
    if (!out.isEmpty())
        level << " " << out;
    out = level;
}

} // namespace

EE_String EE_TypeDescriptor::signature() const
{
    EE_String text;
    buildSignature(text, 1, 0, nullptr);
    return text;
}

void EE_TypeDescriptor::buildSignature(EE_String& out, int qualify, int, EE_DeclarationStore*) const
{
    bool pointerDeclarator = false;
    // A second cursor moving at half speed: meeting it means the chain of
    // levels runs in a circle, which no type can do.
    const EE_TypeDescriptor* slow = this;
    bool moveSlow = false;
    for (const EE_TypeDescriptor* level = this; level != nullptr; level = level->next) {
        switch (level->kind) {
        case Pointer: {
            EE_String text("*");
            if (level->isConst)
                text << (out.isEmpty() ? " const" : " const ");
            prepend(out, text);
            pointerDeclarator = true;
            break;
        }
        case Reference:
            prepend(out, EE_String("&"));
            pointerDeclarator = true;
            break;
        case Array:
            if (pointerDeclarator)
                wrap(out);
            if (level->arrayBound == 0)
                out << "[]";
            else
                out << "[" << level->arrayBound << "]";
            pointerDeclarator = false;
            break;
        case Function:
            if (pointerDeclarator)
                wrap(out);
            out << "()";
            if (level->isConst)
                out << " const";
            break;
        case Class:
        case Union:
        case Enumeration: {
            if (level->declaration == nullptr)
                throw EE_Exception(EE_Exception::InternalFailure);
            EE_String text;
            if (level->isConst)
                text << "const ";
            if (qualify)
                level->declaration->fullyQualifiedName(text);
            else
                level->declaration->id(text);
            placeInFront(out, text);
            break;
        }
        default: {
            const char* name = level->kind <= LastKind ? basicKindText(level->kind) : nullptr;
            if (name == nullptr)
                throw EE_Exception(EE_Exception::InternalFailure);
            EE_String text;
            if (level->isConst)
                text << "const ";
            text << name;
            placeInFront(out, text);
            break;
        }
        }
        if (moveSlow)
            slow = slow->next;
        moveSlow = !moveSlow;
        if (level->next != nullptr && level->next == slow)
            throw EE_Exception(EE_Exception::InternalFailure);
    }
}
