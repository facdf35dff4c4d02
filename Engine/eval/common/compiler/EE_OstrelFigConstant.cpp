#include "compiler/EE_OstrelFigConstant.h"

EE_String EE_OstrelFigConstant::signature()
{
    const char* word = "?";
    switch (tokenKind) {
    case 103: word = "HIGH-VALUES"; break;
    case 105: word = "LOW-VALUES"; break;
    case 106: word = "NULLS"; break;
    case 108: word = "QUOTES"; break;
    case 109: word = "SPACES"; break;
    case 110: word = "ZEROS"; break;
    case 120: word = "HIGH-VALUE"; break;
    case 121: word = "LOW-VALUE"; break;
    case 122: word = "NULL"; break;
    case 123: word = "QUOTE"; break;
    case 124: word = "SPACE"; break;
    case 125: word = "ZERO"; break;
    default: break;
    }
    EE_String out;
    out << word;
    return out;
}
