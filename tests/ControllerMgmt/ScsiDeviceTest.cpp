// The SCSI side: device names, INQUIRY on new and old kernels, identification pages.
#include "ExposureFixture.h"

using namespace exposure;

namespace {

TEST(SdName, MapsIndexToOneOrTwoLetters)
{
    struct Case {
        int n;
        const char* name;
    } cases[] = {{0, "a"}, {1, "b"}, {25, "z"}, {26, "aa"}, {27, "ab"}, {51, "az"}, {52, "ba"}, {701, "zz"}};
    for (const Case& c : cases) {
        char out[4] = {'x', 'x', 'x', 'x'};
        ASSERT_EQ(LinExpLd::sd_name(c.n, out, sizeof out), 0) << c.n;
        EXPECT_STREQ(out, c.name) << c.n;
    }
    char out[4] = {0};
    EXPECT_EQ(LinExpLd::sd_name(702, out, sizeof out), -1);
    EXPECT_EQ(LinExpLd::sd_name(-1, out, sizeof out), -1);
    EXPECT_EQ(LinExpLd::sd_name(26, out, 2), -1) << "two letters and a NUL do not fit in 2 bytes";
}

TEST(Vpd83Pages, CompareOverPageLengthPlusFourAtMost64Bytes)
{
    Bytes a = naaPage(1), b = naaPage(1);
    a.resize(96, 0);
    b.resize(96, 0);
    EXPECT_TRUE(LinExpLd::vpd83_equal(a.data(), b.data()));

    b[30] = 0xEE;   // beyond page length + 4 (24 bytes): not compared
    EXPECT_TRUE(LinExpLd::vpd83_equal(a.data(), b.data()));

    b = a;
    b[23] ^= 1;     // last byte of the designator
    EXPECT_FALSE(LinExpLd::vpd83_equal(a.data(), b.data()));

    b = a;
    b[3] = 21;      // page lengths differ
    EXPECT_FALSE(LinExpLd::vpd83_equal(a.data(), b.data()));

    // A page length of 70 compares the first 64 bytes only.
    a.assign(96, 0x11);
    a[3] = 70;
    b = a;
    b[64] = 0x22;
    b[80] = 0x22;
    EXPECT_TRUE(LinExpLd::vpd83_equal(a.data(), b.data()));
    b[63] = 0x22;
    EXPECT_FALSE(LinExpLd::vpd83_equal(a.data(), b.data()));
}

// One controller on SCSI host 7 whose logical drive `target` shows the disk `node` ("sdb").
std::string diskHost(const std::string& release, unsigned target, const std::string& node, const std::string& more = "")
{
    return hostOf(release, controllerOf(7, ldOf(target, diskOf(node, more))));
}

class Inquiry : public ExposureTest {};

TEST_F(Inquiry, NewKernelSendsSgIoWithAllocationLength96)
{
    describe(diskHost(NEW_KERNEL, 0, "sdb"));
    uint8_t out[64];
    memset(out, 0xAA, sizeof out);
    ASSERT_EQ(exposer->scsi_inquiry("/dev/sdb", 0x83, 64, out), 0);
    // The disk takes a request only through the SCSI generic interface 'S'.
    ASSERT_EQ(sgRequests().size(), 1u);
    const DiskRequest r = sgRequests()[0];
    EXPECT_EQ(r.cdb, (Bytes{0x12, 0x01, 0x83, 0x00, 0x60, 0x00}));
    EXPECT_EQ(r.direction, "from-device");
    EXPECT_EQ(r.dxferLength, 96u);
    EXPECT_EQ(r.senseLength, 32u);
    EXPECT_EQ(r.timeout, 20000u);
    Bytes expected = naaPage(1);
    expected.resize(64, 0);
    EXPECT_EQ(Bytes(out, out + 64), expected) << "the answer is copied, the rest zeroed";
    EXPECT_EQ(openDescriptors(), 0u);

    // Page 0 asks for the standard data: no EVPD bit; the allocation length stays 96.
    ASSERT_EQ(exposer->scsi_inquiry("/dev/sdb", 0, 8, out), 0);
    ASSERT_EQ(sgRequests().size(), 2u);
    EXPECT_EQ(sgRequests()[1].cdb, (Bytes{0x12, 0x00, 0x00, 0x00, 0x60, 0x00}));
}

TEST_F(Inquiry, OldKernelSendsTheCommandBlockAndReadsTheAnswerAfterItsHeader)
{
    describe(diskHost(OLD_KERNEL, 3, "sdc"));
    const Bytes page = naaPage(4);
    uint8_t out[96];
    ASSERT_EQ(exposer->scsi_inquiry("/dev/sdc", 0x83, 96, out), 0);
    EXPECT_TRUE(sgRequests().empty());
    ASSERT_EQ(sendCommandBlocks().size(), 1u);
    EXPECT_EQ(sendCommandBlocks()[0].block, (Bytes{0, 0, 0, 0, 96, 0, 0, 0, 0x12, 0x01, 0x83, 0x00, 0x60, 0x00}));
    EXPECT_EQ(Bytes(out, out + page.size()), page);
    EXPECT_EQ(openDescriptors(), 0u);
}

TEST_F(Inquiry, FailuresGiveMinusOneAndCloseTheDevice)
{
    struct Case {
        const char* what;
        const char* release;
        void (*change)(sim::LdDisk&);
    } cases[] = {
        {"old SCSI generic interface", "3.10.0", [](sim::LdDisk& d) { d.sgVersion = 29999; }},
        {"failing ioctl", "3.10.0", [](sim::LdDisk& d) { d.ioctlFails = true; }},
        {"check condition through SG_IO", "3.10.0", [](sim::LdDisk& d) { d.rejectsInquiry = true; }},
        {"check condition through the old ioctl", "2.4.21", [](sim::LdDisk& d) { d.rejectsInquiry = true; }},
        {"kernel release without a dot", "3", [](sim::LdDisk&) {}},
    };
    describe(diskHost(NEW_KERNEL, 0, "sdb"));
    for (const Case& c : cases) {
        setRelease(c.release);
        changeDisk(0, [&c](sim::LdDisk& d) {
            d = sim::LdDisk();
            d.name = "sdb";
            c.change(d);
        });
        uint8_t out[64];
        memset(out, 0xAA, sizeof out);
        EXPECT_EQ(exposer->scsi_inquiry("/dev/sdb", 0x83, 64, out), -1) << c.what;
        EXPECT_EQ(Bytes(out, out + 64), Bytes(64, 0)) << c.what;
        EXPECT_EQ(openDescriptors(), 0u) << c.what;
    }
    uint8_t out[64];
    EXPECT_EQ(exposer->scsi_inquiry("/dev/sdq", 0x83, 64, out), -1) << "missing node";
}

TEST_F(Inquiry, ALongerRequestThanTheAllocationLengthGetsOnly96Bytes)
{
    Bytes page(96, 0x5A);
    page[1] = 0x83;
    describe(diskHost(NEW_KERNEL, 0, "sdb", "\"vpd83\": \"" + hexOf(page) + "\""));
    uint8_t out[200];
    memset(out, 0xAA, sizeof out);
    ASSERT_EQ(exposer->scsi_inquiry("/dev/sdb", 0x83, sizeof out, out), 0);
    EXPECT_EQ(Bytes(out, out + 96), page);
    EXPECT_EQ(Bytes(out + 96, out + 200), Bytes(104, 0));
}

TEST_F(Inquiry, SdDeviceIdentityComesFromGetIdlun)
{
    describe(hostOf(NEW_KERNEL, controllerOf(9, ldOf(4, diskOf("sdab", "\"channel\": 2, \"lun\": 1")))));
    char node[16];
    uint8_t identity[8];
    ASSERT_EQ(exposer->sd_get_idlun(27, node, identity), 0);
    EXPECT_STREQ(node, "/dev/sdab");
    EXPECT_EQ(identity[4], 9);
    EXPECT_EQ(identity[5], 2);
    EXPECT_EQ(identity[6], 4);
    EXPECT_EQ(identity[7], 1);
    EXPECT_EQ(exposer->sd_get_idlun(0, node, identity), -1) << "no /dev/sda";
    EXPECT_EQ(exposer->sd_get_idlun(702, node, identity), -1);
}

TEST_F(Inquiry, SdPageIsAcceptedOnlyForPage83WithAnNaaDesignator)
{
    struct Case {
        const char* what;
        uint8_t byte1;
        uint8_t byte5;
        int result;
    } cases[] = {
        {"NAA designator", 0x83, 0x03, 0},
        {"NAA with the association bits set", 0x83, 0x13, 0},
        {"T10 vendor id designator", 0x83, 0x01, -1},
        {"EUI-64 designator", 0x83, 0x02, -1},
        {"another page", 0x80, 0x03, -1},
    };
    describe(diskHost(NEW_KERNEL, 0, "sda"));
    for (const Case& c : cases) {
        Bytes answered = naaPage(1);
        answered[1] = c.byte1;
        answered[5] = c.byte5;
        changeDisk(0, [&answered](sim::LdDisk& d) { d.vpd83 = answered; });
        uint8_t page[64];
        char node[16];
        uint8_t identity[8];
        EXPECT_EQ(exposer->sd_get_vpd83(0, page, node, identity), c.result) << c.what;
        if (c.result == 0) {
            EXPECT_EQ(Bytes(page, page + answered.size()), answered) << c.what;
        }
    }
}

TEST_F(Inquiry, SdPageLength70IsCopiedAs64Bytes)
{
    Bytes answered(96, 0);
    answered[1] = 0x83;
    answered[3] = 70;
    answered[5] = 0x03;
    for (int i = 6; i < 96; ++i)
        answered[i] = static_cast<uint8_t>(i);
    describe(diskHost(NEW_KERNEL, 0, "sda", "\"vpd83\": \"" + hexOf(answered) + "\""));
    for (const char* release : {"3.10.0", "2.4.21"}) {
        setRelease(release);
        // The caller's page is 64 bytes; the guard behind it must stay untouched.
        uint8_t buffer[80];
        memset(buffer, 0xEE, sizeof buffer);
        char node[16];
        uint8_t identity[8];
        ASSERT_EQ(exposer->sd_get_vpd83(0, buffer, node, identity), 0) << release;
        EXPECT_EQ(Bytes(buffer, buffer + 64), Bytes(answered.begin(), answered.begin() + 64)) << release;
        EXPECT_EQ(Bytes(buffer + 64, buffer + 80), Bytes(16, 0xEE)) << release;
    }
}

} // namespace
