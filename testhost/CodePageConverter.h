#ifndef NORVEXA_TESTHOST_CODEPAGECONVERTER_H
#define NORVEXA_TESTHOST_CODEPAGECONVERTER_H

#include <cstdint>
#include <string>

// The simulated host's code-page service (slot 52), over iconv. A code-page
// name is taken by its trailing number ("QUV-1047", "1047" and "CP1047" all
// name page 1047); an empty or null name is page 1047. Mixed DBCS pages
// (930, 939, 1390, 1399) shift with 0x0E and 0x0F; page 1200 is UTF-16
// big-endian. On Windows, which has no iconv, pages 1047, 037 and 1140 (037
// with the euro sign) are converted from tables frozen from iconv, and page
// 1200; no DBCS page.
namespace codepage {

// The iconv name for a host code-page name ("" when it has no number).
std::string iconvName(const char* codePage);

// Converts source in the direction of the Conversion code (HostRecords.h):
// 0 UTF-8 to the page, 1 the page to UTF-16 in host byte order, 2 the page
// to UTF-8, 3 the page to wchar_t with a terminating zero. Writes at most
// targetRoom units (bytes; wchar_t elements for 3) and answers how many the
// whole conversion needs; -1 for an unknown page, direction or bad input.
std::int32_t convert(const char* codePage, int conversion, const void* source, std::uint16_t sourceLength, void* target,
                     std::uint16_t targetRoom);

} // namespace codepage

#endif
