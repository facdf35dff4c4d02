// Named text constants loaded through the constant load: an alphanumeric
// constant as a figurative-constant item of its type, national and DBCS
// constants as items of their kinds, each padded to its type.

#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "AddressFixture.h"
#include "machine/StackItemDbcsString.h"
#include "machine/StackItemFigConstant.h"
#include "machine/StackItemNationalString.h"
#include "services/InvalidOp.h"

namespace {

class TextConstantLoadTest : public AddressFixture {
protected:
    TextConstantLoadTest() : AddressFixture(languageCOBOL, 4) {}

    std::string topBytes()
    {
        const StackItem& item = *stack().top();
        return std::string(static_cast<const char*>(item.resultBuffer()), static_cast<std::size_t>(item.size()));
    }
};

} // namespace

TEST_F(TextConstantLoadTest, ConstantsOfEachTextKind)
{
    // The host's alphanumeric text ends with a zero byte; the national and
    // DBCS texts are as long as their types (zero bytes included).
    static const char title[] = "\xC1\xC2";
    static const char nationalAb[] = {0x00, 0x41, 0x00, 0x42};
    static const char dbcsA[] = {0x42, static_cast<char>(0xC1)};
    declare(records().constant("TITLE", records().charstringType(4), title));
    declare(records().constant("NAB", records().charstringType(4, TE_NATIONAL_STRING), nationalAb));
    declare(records().constant("DA", records().charstringType(2, TE_DBCS_STRING), dbcsA));

    stack().genLoadConstant(variable("TITLE"));
    EXPECT_NE(dynamic_cast<StackItemFigConstant*>(stack().top()), nullptr);
    EXPECT_EQ(topBytes(), std::string("\xC1\xC2\x40\x40", 4));

    stack().genLoadConstant(variable("NAB"));
    EXPECT_NE(dynamic_cast<StackItemNationalString*>(stack().top()), nullptr);
    EXPECT_EQ(topBytes(), std::string(nationalAb, 4));

    stack().genLoadConstant(variable("DA"));
    EXPECT_NE(dynamic_cast<StackItemDbcsString*>(stack().top()), nullptr);
    EXPECT_EQ(topBytes(), std::string(dbcsA, 2));
    EXPECT_EQ(stack().count(), 3u);
}
