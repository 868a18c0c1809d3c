#include "System/OsBoundary.h"

#include <gtest/gtest.h>

namespace {
class CountingBoundary : public OsBoundary {
public:
    int sleeps = 0;
    unsigned int sleep(unsigned int) override { ++sleeps; return 0; }
};
}

TEST(OsBoundary, InstalledBoundaryIsUsedAndNullRestoresTheCLibrary)
{
    CountingBoundary counting;
    setOsBoundary(&counting);
    osBoundary().sleep(30);
    EXPECT_EQ(counting.sleeps, 1);
    setOsBoundary(nullptr);
    EXPECT_NE(&osBoundary(), static_cast<OsBoundary*>(&counting));
    EXPECT_STREQ(osBoundary().libraryPathPattern(0), "/opt/QuillRAID/QuillCli/lib%s.so");
    EXPECT_EQ(osBoundary().libraryPathPattern(3), nullptr);
}
