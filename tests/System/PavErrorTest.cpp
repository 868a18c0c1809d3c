#include "Output/VoError.h"
#include "System/PavError.h"

#include <gtest/gtest.h>

namespace {

// Read before main runs, so before any test could have stored anything.
const uint32_t wordAtStart = PavError::takeLastError();

class LastErrorWord : public ::testing::Test {
protected:
    void SetUp() override { PavError::takeLastError(); }
    void TearDown() override { PavError::takeLastError(); }
};

TEST_F(LastErrorWord, StartsAtZero) { EXPECT_EQ(0u, wordAtStart); }

TEST_F(LastErrorWord, TakeReturnsTheStoredValueOnceThenZero)
{
    PavError::setLastError(0x0201000C);
    EXPECT_EQ(0x0201000Cu, PavError::takeLastError());
    EXPECT_EQ(0u, PavError::takeLastError());
}

TEST_F(LastErrorWord, ASecondStoreReplacesTheFirst)
{
    PavError::setLastError(0x02010002);
    PavError::setLastError(0xFFFFFFFF);
    EXPECT_EQ(0xFFFFFFFFu, PavError::takeLastError());
    EXPECT_EQ(0u, PavError::takeLastError());
}

// The model and the transport record through the error module; the word must get the code
// unchanged, including the "no firmware error" 0 that replaces an earlier status.
TEST_F(LastErrorWord, SetLastErrorCodeForwardsUnchanged)
{
    setLastErrorCode(0x0201001A);
    EXPECT_EQ(0x0201001Au, PavError::takeLastError());

    PavError::setLastError(0x0201000C);
    setLastErrorCode(0);
    EXPECT_EQ(0u, PavError::takeLastError());
}

TEST(LastErrorEncoding, WordsHoldTheKindInBits16To23)
{
    EXPECT_EQ(PAVERROR_FW_STATUS, 0x02010000u);
    EXPECT_EQ(PAVERROR_IOCTL_FAILED, 0x02020000u);
    EXPECT_EQ(PAVERROR_KIND_MASK, 0x00FF0000u);
    EXPECT_EQ((PAVERROR_FW_STATUS | 0x2Du) & PAVERROR_KIND_MASK, 0x00010000u);
    EXPECT_EQ(PAVERROR_KIND_FW_STATUS, 0x00010000u);
    EXPECT_EQ((PAVERROR_IOCTL_FAILED | 0x5u) & PAVERROR_KIND_MASK, 0x00020000u);
    EXPECT_EQ(PAVERROR_KIND_IOCTL, 0x00020000u);
    // An ioctl that returned -1 leaves 0xFFFFFFFF (the transport tests show that): its kind
    // field must be neither a firmware status nor an ioctl failure.
    EXPECT_NE(0xFFFFFFFFu & PAVERROR_KIND_MASK, PAVERROR_KIND_FW_STATUS);
    EXPECT_NE(0xFFFFFFFFu & PAVERROR_KIND_MASK, PAVERROR_KIND_IOCTL);
}

} // namespace
