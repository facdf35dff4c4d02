#include "compiler/EE_OstrelLiteralValue.h"

#include "compiler/ServicesRefusal.h"

EE_String EE_OstrelLiteralValue::signature()
{
    EE_String out;
    if (kind == NationalDecimal || kind > Hexadecimal)
        servicesRefuse();
    if (!spelling.isEmpty())
        return out << spelling;
    switch (kind) {
    case Integral:
    case Real:
    case DecimalReal:
    case PackedDecimal:
    case FixedPointBinary:
    case ZonedDecimal: out << text; break;
    case Alphanumeric:
    case Character: out << "'" << text << "'"; break;
    case WideCharacter: out << "L'" << text << "'"; break;
    case String: out << '"' << text << '"'; break;
    case WideString: out << 'L' << '"' << text << '"'; break;
    case National: out << 'N' << '"' << text << '"'; break;
    case Dbcs: out << 'G' << '"' << text << '"'; break;
    case Hexadecimal: out << "H'" << text << "'"; break;
    default: servicesRefuse();
    }
    return out;
}
