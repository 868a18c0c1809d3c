// Enclosure ids as the processors print them.
#include <gtest/gtest.h>

#include "CpMgmt/EnclosureIdText.h"

namespace {

TEST(EnclosureIdText, NoneIsNotApplicableOthersAreDecimal)
{
    EXPECT_STREQ(formatEnclosureId(0xFFFF), "N/A");
    EXPECT_STREQ(formatEnclosureId(0), "0");
    EXPECT_STREQ(formatEnclosureId(252), "252");
    EXPECT_STREQ(formatEnclosureId(0xCCCC), "52428");
    EXPECT_STREQ(formatEnclosureId(0xFFFE), "65534");
    const char* first = formatEnclosureId(7);
    formatEnclosureId(9);
    EXPECT_STREQ(first, "9") << "one static buffer";
}

}  // namespace
