#include "DataProvider/ControllerId.h"
#include "DataProvider/DcmdOpcodes.h"
#include "DataProvider/DpParams.h"
#include "DataProvider/LinuxZprDataProvider.h"
#include "DataProvider/ZprFrame.h"
#include "FakeDriver.h"
#include "PavUtil/Memory.h"
#include "System/PavError.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

uint64_t addr(const void* p)
{
    return static_cast<uint64_t>(reinterpret_cast<uintptr_t>(p));
}

class Transport : public ::testing::Test {
protected:
    FakeDriver driver;
    LinuxCtrlId ctrl{LINUX_DRIVER_HWR, 7, 3};
    LinuxZprDataProvider* provider = nullptr;

    void SetUp() override
    {
        setOsBoundary(&driver);
        provider = LinuxZprDataProvider::instance(0);
        ASSERT_NE(provider, nullptr);
        PavError::setLastError(0x12345678);
    }
    void TearDown() override
    {
        setOsBoundary(nullptr);
        PavError::takeLastError();
    }

    int run(DpParams& p, ControllerId* id = nullptr)
    {
        p.setControllerId(id ? id : &ctrl);
        return provider->execute(&p);
    }
};

// ---- a controller command end to end ----------------------------------------------------------

TEST_F(Transport, ReadCommandPacketsAndCopyBack)
{
    std::vector<uint8_t> record(512, 0x11);
    DcmdZprDpParams p(DCMD_PD_GET_INFO, 5u, 0u, 0u, record.data(), 0, 0, 0);
    driver.status = 0;
    EXPECT_EQ(run(p), 0);
    ASSERT_EQ(driver.calls.size(), 1u);
    const IoctlCall& c = driver.calls[0];
    EXPECT_EQ(c.fd, 7);
    EXPECT_EQ(c.request, 0xC1944D01UL);

    // Ioctl packet header.
    EXPECT_EQ(le16(&c.packet[0]), 3);
    EXPECT_EQ(le16(&c.packet[2]), 0);
    EXPECT_EQ(le32(&c.packet[4]), 40u);
    EXPECT_EQ(le32(&c.packet[8]), 1u);
    EXPECT_EQ(le32(&c.packet[12]), 0u);
    EXPECT_EQ(le32(&c.packet[16]), 0u);
    // Its frame: flags 0x01 and 0x02 cleared, SGE count 1, the data area in the entry.
    const uint8_t* f = c.frame();
    EXPECT_EQ(f[0], 5);
    EXPECT_EQ(f[2], 0xFF);
    EXPECT_EQ(f[7], 1);
    EXPECT_EQ(le16(&f[16]), 0x14);
    EXPECT_EQ(le32(&f[20]), 512u);
    EXPECT_EQ(le32(&f[24]), DCMD_PD_GET_INFO);
    EXPECT_EQ(le32(&f[28]), 5u);
    EXPECT_EQ(le32(&f[48]), 512u);
    for (int i = 64; i < 128; ++i) EXPECT_EQ(f[i], 0) << i;
    // iovec 0: the driver packet's data area, 512 bytes; iovec 1 unused; the rest zero.
    EXPECT_EQ(c.iovLength(0), 512u);
    EXPECT_EQ(le64(&f[40]), c.iovAddress(0));
    EXPECT_NE(c.iovAddress(0), addr(record.data()));
    for (size_t i = 164; i < 404; ++i) EXPECT_EQ(c.packet[i], 0) << i;
    // Driver packet header.
    const uint8_t* h = c.driverHeader.data();
    EXPECT_EQ(le16(&h[0]), 0);
    EXPECT_EQ(le16(&h[2]), 3);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&h[4]), 8), "ORVANECO");
    EXPECT_EQ(le32(&h[12]), 0u);
    EXPECT_EQ(le32(&h[16]), 0u);
    for (int i = 20; i < 28; ++i) EXPECT_EQ(h[i], 0) << i;
    // A read starts from a zeroed data area and lands in the caller's buffer.
    EXPECT_EQ(c.data0, std::vector<uint8_t>(512, 0));
    EXPECT_EQ(record, std::vector<uint8_t>(512, 0xA5));
    EXPECT_EQ(PavError::takeLastError(), 0x02010000u);
    // The request's own frame is not written by the transport.
    EXPECT_EQ(p.frame()->readByte(2), 0xFF);
    EXPECT_EQ(p.frame()->readWord(16), 0x17);
}

TEST_F(Transport, SoftwareRaidDriverUsesItsOwnRequestCode)
{
    LinuxCtrlId swr(LINUX_DRIVER_SWR, 9, 1);
    uint8_t info[2048];
    DcmdZprDpParams p(DCMD_ADP_GET_INFO, 0u, 0u, 0u, info, 0, 0, 0);
    EXPECT_EQ(run(p, &swr), 0);
    ASSERT_EQ(driver.calls.size(), 1u);
    EXPECT_EQ(driver.calls[0].request, 0xC1945201UL);
    EXPECT_EQ(driver.calls[0].fd, 9);
    EXPECT_EQ(le16(&driver.calls[0].packet[0]), 1);
}

TEST_F(Transport, CommandWithoutDataHasNoScatterGatherList)
{
    DcmdZprDpParams p(DCMD_ADP_CACHE_FLUSH, 0u, 0u, 0u, nullptr, 0, 0, 0);
    EXPECT_EQ(run(p), 0);
    ASSERT_EQ(driver.calls.size(), 1u);
    const IoctlCall& c = driver.calls[0];
    EXPECT_EQ(le32(&c.packet[4]), 0u);
    EXPECT_EQ(le32(&c.packet[8]), 0u);
    EXPECT_NE(c.iovAddress(0), 0u);     // still the data area's address
    EXPECT_EQ(c.iovLength(0), 0u);
    EXPECT_EQ(c.frame()[7], 1);
    EXPECT_EQ(le16(&c.frame()[16]), 0x04);
}

TEST_F(Transport, FailedFirmwareStatusLeavesTheBufferUntouched)
{
    std::vector<uint8_t> record(512, 0x3C);
    DcmdZprDpParams p(DCMD_PD_GET_INFO, 1u, 0u, 0u, record.data(), 0, 0, 0);
    driver.status = 0x2D;
    EXPECT_EQ(run(p), 0x2D);
    EXPECT_EQ(record, std::vector<uint8_t>(512, 0x3C));
    EXPECT_EQ(PavError::takeLastError(), 0x0201002Du);
}

TEST_F(Transport, IoctlFailureIsNotAStatus)
{
    std::vector<uint8_t> record(512, 0x3C);
    DcmdZprDpParams p(DCMD_PD_GET_INFO, 1u, 0u, 0u, record.data(), 0, 0, 0);
    driver.rc = -1;
    EXPECT_EQ(run(p), 0xFFFF);
    EXPECT_EQ(PavError::takeLastError(), 0xFFFFFFFFu);
    EXPECT_EQ(record, std::vector<uint8_t>(512, 0x3C));

    driver.rc = 5;
    EXPECT_EQ(run(p), 0xFF);
    EXPECT_EQ(PavError::takeLastError(), 0x02020005u);
    EXPECT_EQ(record, std::vector<uint8_t>(512, 0x3C));
}

// ---- which statuses and directions copy data ---------------------------------------------------

struct CopyCase {
    const char* what;
    uint32_t opcode;
    uint8_t status;
    bool copiedIn;
    bool copiedBack;
};

TEST_F(Transport, CopyInAndBackByDirectionAndStatus)
{
    const CopyCase cases[] = {
        { "read, success", DCMD_ADP_GET_PROPERTIES, 0x00, false, true },
        { "read, 0x55", DCMD_ADP_GET_PROPERTIES, 0x55, false, true },
        { "read, 0x59", DCMD_ADP_GET_PROPERTIES, 0x59, false, true },
        { "read, 0x2D", DCMD_ADP_GET_PROPERTIES, 0x2D, false, false },
        { "read, 0x01", DCMD_ADP_GET_PROPERTIES, 0x01, false, false },
        { "write, success", DCMD_ADP_SET_PROPERTIES, 0x00, true, false },
        { "write, 0x55", DCMD_ADP_SET_PROPERTIES, 0x55, true, true },
        { "write, 0x59", DCMD_ADP_SET_PROPERTIES, 0x59, true, false },
        { "both, success", DCMD_PD_LIST_OPERATION, 0x00, true, true },
        { "both, 0x59", DCMD_PD_LIST_OPERATION, 0x59, true, true },
        { "none, success", DCMD_LD_SET_PROPERTY_DIRECT, 0x00, false, false },
        { "none, 0x55", DCMD_LD_SET_PROPERTY_DIRECT, 0x55, false, false },
        // Direction none with a large length: a small buffer is neither read nor written.
        { "none with a length, 0x55", DCMD_ADP_DIAG_START, 0x55, false, false },
    };
    for (const CopyCase& k : cases) {
        SCOPED_TRACE(k.what);
        driver.calls.clear();
        driver.status = k.status;
        std::unique_ptr<uint8_t[]> buf(new uint8_t[64]);
        memset(buf.get(), 0x42, 64);
        DcmdZprDpParams p(k.opcode, 0u, 0u, 0u, buf.get(), 64, 0, 0);
        EXPECT_EQ(run(p), k.status);
        ASSERT_EQ(driver.calls.size(), 1u);
        const std::vector<uint8_t>& seen = driver.calls[0].data0;
        bool sawCallerData = !seen.empty() && seen[0] == 0x42;
        EXPECT_EQ(sawCallerData, k.copiedIn);
        EXPECT_EQ(buf[0] == 0xA5, k.copiedBack);
        EXPECT_EQ(buf[63] == 0xA5, k.copiedBack);
    }
}

TEST_F(Transport, RepeatedExecutionSendsTheSameFrame)
{
    uint8_t info[2048];
    DcmdZprDpParams p(DCMD_ADP_GET_INFO, 0u, 0u, 0u, info, 0, 0, 0);
    EXPECT_EQ(run(p), 0);
    EXPECT_EQ(run(p), 0);
    ASSERT_EQ(driver.calls.size(), 2u);
    EXPECT_EQ(std::vector<uint8_t>(driver.calls[0].frame(), driver.calls[0].frame() + 40),
              std::vector<uint8_t>(driver.calls[1].frame(), driver.calls[1].frame() + 40));
}

// ---- never more than the caller's buffer --------------------------------------------------------

TEST_F(Transport, CopyBackStopsAtTheCallersDeclaredLength)
{
    // The catalogue length (1032) is sent; only the 10 declared bytes reach the buffer (the
    // guard bytes after them stay as they were).
    std::unique_ptr<uint8_t[]> buf(new uint8_t[20]);
    memset(buf.get(), 0, 20);
    DcmdZprDpParams p(DCMD_LD_GET_LIST, 0u, 0u, 0u, buf.get(), 10, 0, 0);
    EXPECT_EQ(run(p), 0);
    ASSERT_EQ(driver.calls.size(), 1u);
    EXPECT_EQ(driver.calls[0].iovLength(0), 1032u);
    EXPECT_EQ(le32(&driver.calls[0].frame()[20]), 1032u);
    for (int i = 0; i < 10; ++i) EXPECT_EQ(buf[i], 0xA5) << i;
    for (int i = 10; i < 20; ++i) EXPECT_EQ(buf[i], 0) << i;
}

TEST_F(Transport, CopyInStopsAtTheCallersDeclaredLength)
{
    std::unique_ptr<uint8_t[]> buf(new uint8_t[16]);
    memset(buf.get(), 0x42, 16);
    DcmdZprDpParams p(DCMD_ADP_SET_PROPERTIES, 0u, 0u, 0u, buf.get(), 8, 0, 0);
    EXPECT_EQ(run(p), 0);
    ASSERT_EQ(driver.calls.size(), 1u);
    std::vector<uint8_t> expected(64, 0);
    memset(expected.data(), 0x42, 8);
    EXPECT_EQ(driver.calls[0].data0, expected);
}

TEST_F(Transport, CallerLengthZeroMeansTheCatalogueLength)
{
    std::vector<uint8_t> props(64, 0);
    DcmdZprDpParams p(DCMD_ADP_GET_PROPERTIES, 0u, 0u, 0u, props.data(), 0, 0, 0);
    EXPECT_EQ(run(p), 0);
    EXPECT_EQ(props, std::vector<uint8_t>(64, 0xA5));
}

// ---- requests that are not sent ----------------------------------------------------------------

TEST_F(Transport, RequestsThatAreNeverSent)
{
    uint8_t small[16] = {};
    LinuxCtrlId noNode(LINUX_DRIVER_HWR, 0, 3);
    LinuxCtrlId badKind(2, 7, 3);
    AkIr2CtrlId library(1, 255);

    DcmdZprDpParams unlisted(0x01FF0000, 0u, 0u, 0u, small, sizeof small, 0, 0);
    DcmdZprDpPrvParams unlistedPrivate(DCMD_ADP_GET_INFO, 0u, 0u, 0u, small, sizeof small, 0, 0);
    DriverZprDPParams unlistedDriver(0xF0990000, 0u, 0u, 0u, small, sizeof small, 0, 0);
    DcmdZprDpParams listed(DCMD_ADP_ALARM_GET, 0u, 0u, 0u, small, 1, 0, 0);

    const struct { const char* what; DpParams* p; ControllerId* id; } cases[] = {
        { "opcode no catalogue lists", &unlisted, &ctrl },
        { "opcode the private table does not list", &unlistedPrivate, &ctrl },
        { "opcode the driver table does not list", &unlistedDriver, &ctrl },
        { "no driver node open", &listed, &noNode },
        { "unknown driver kind", &listed, &badKind },
        { "not a Linux controller", &listed, &library },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        PavError::setLastError(0x0201000C);
        c.p->setControllerId(c.id);
        EXPECT_EQ(provider->execute(c.p), 0xFFFF);
        EXPECT_TRUE(driver.calls.empty());
        EXPECT_EQ(PavError::takeLastError(), 0x0201000Cu);
    }
    for (uint8_t b : small) EXPECT_EQ(b, 0);

    DcmdZprDpParams noId(DCMD_ADP_ALARM_GET, 0u, 0u, 0u, small, 1, 0, 0);
    EXPECT_EQ(provider->execute(&noId), 0xFFFF);
    EXPECT_TRUE(driver.calls.empty());
}

TEST_F(Transport, PacketThatCannotBeAllocatedIsNotSent)
{
    uint8_t info[2048];
    DcmdZprDpParams p(DCMD_ADP_GET_INFO, 0u, 0u, 0u, info, 0, 0, 0);
    PavError::setLastError(0);
    p.setControllerId(&ctrl);
    failNextAllocations(1);
    testsupport::StreamCapture captured;
    EXPECT_EQ(provider->execute(&p), 0xFFFF);
    EXPECT_EQ(captured.take(), "!!! SYSTEM IS OUT OF MEMORY !!!\n");
    EXPECT_TRUE(driver.calls.empty());
    EXPECT_EQ(PavError::takeLastError(), 0u);
}

// ---- pass-through and driver commands ----------------------------------------------------------

TEST_F(Transport, ScsiPassThroughToDriveAndLogicalDriveAlike)
{
    for (uint32_t command : { 4u, 3u }) {
        SCOPED_TRACE(command);
        driver.calls.clear();
        const uint8_t cdb[6] = { 0x12, 0, 0, 0, 36, 0 };
        uint8_t sense[32] = {};
        std::vector<uint8_t> inquiry(36, 0);
        DcdbZprDpParams p(command, 0x0A, 0, 6, cdb, 36, inquiry.data(), DP_DIRECTION_READ, 32,
                          addr(sense), 0, 0);
        EXPECT_EQ(run(p), 0);
        ASSERT_EQ(driver.calls.size(), 1u);
        const IoctlCall& c = driver.calls[0];
        EXPECT_EQ(le32(&c.packet[4]), 48u);
        EXPECT_EQ(le32(&c.packet[8]), 1u);
        EXPECT_EQ(le32(&c.packet[12]), 24u);
        EXPECT_EQ(le32(&c.packet[16]), 32u);
        EXPECT_EQ(c.frame()[0], command);
        EXPECT_EQ(c.frame()[7], 1);
        EXPECT_EQ(le16(&c.frame()[16]), 0x14);
        EXPECT_EQ(c.iovLength(0), 36u);
        EXPECT_EQ(le64(&c.frame()[48]), c.iovAddress(0));
        EXPECT_EQ(le32(&c.frame()[56]), 36u);
        // The sense address points at the driver packet's sense area (32 bytes before data).
        EXPECT_EQ(le64(&c.frame()[24]), c.iovAddress(0) - 32);
        EXPECT_EQ(le32(&c.driverHeader[12]), 30u);
        EXPECT_EQ(le32(&c.driverHeader[16]), 0u);
        EXPECT_EQ(inquiry, std::vector<uint8_t>(36, 0xA5));
        for (uint8_t b : sense) EXPECT_EQ(b, 0);    // sense data is never handed back
    }
}

TEST_F(Transport, SataPassThroughHasAResponseAreaBeforeTheData)
{
    uint8_t fis[20] = { 0x27, 0x80, 0xEC };
    std::vector<uint8_t> identify(512, 0);
    StpZprDpParams p(8, 4, 0, fis, 20, 0, 512, identify.data(), DP_DIRECTION_READ, 0, 0, 0, 0, 0x5A);
    driver.fillByte = 0x66;          // lands in the response area (iovec 0) only
    EXPECT_EQ(run(p), 0);
    ASSERT_EQ(driver.calls.size(), 1u);
    const IoctlCall& c = driver.calls[0];
    EXPECT_EQ(le32(&c.packet[4]), 48u);
    EXPECT_EQ(le32(&c.packet[8]), 2u);
    EXPECT_EQ(le32(&c.packet[12]), 0u);
    EXPECT_EQ(le32(&c.packet[16]), 0u);
    EXPECT_EQ(c.frame()[7], 2);
    EXPECT_EQ(c.iovLength(0), 20u);
    EXPECT_EQ(c.iovLength(1), 512u);
    EXPECT_EQ(c.iovAddress(1), c.iovAddress(0) + 20);
    EXPECT_EQ(le64(&c.frame()[48]), c.iovAddress(0));
    EXPECT_EQ(le32(&c.frame()[56]), 20u);
    EXPECT_EQ(le64(&c.frame()[60]), c.iovAddress(1));
    EXPECT_EQ(le32(&c.frame()[68]), 512u);
    EXPECT_EQ(le32(&c.driverHeader[12]), 30u);
    EXPECT_EQ(le32(&c.driverHeader[16]), 0x5Au);
    // The data area is copied back, the response area is not.
    EXPECT_EQ(identify, std::vector<uint8_t>(512, 0));
}

TEST_F(Transport, DriverCommandCarriesItsControlCode)
{
    std::vector<uint8_t> info(112, 0);
    DriverZprDPParams p(DCMD_DRIVER_GET_INFO, 0u, 0u, 0u, info.data(), 0, 0, 0);
    EXPECT_EQ(run(p), 0);
    ASSERT_EQ(driver.calls.size(), 1u);
    const IoctlCall& c = driver.calls[0];
    EXPECT_EQ(le32(&c.driverHeader[16]), 0xF0010000u);
    EXPECT_EQ(c.frame()[7], 1);
    EXPECT_EQ(le32(&c.frame()[48]), 112u);
    EXPECT_EQ(le32(&c.packet[4]), 40u);
    EXPECT_EQ(le32(&c.packet[8]), 1u);
    EXPECT_EQ(info, std::vector<uint8_t>(112, 0xA5));
}

TEST_F(Transport, PrivateVariantCopiesByItsOwnDirection)
{
    // Frame flags say read (0x17); the private direction is write: the 8 bytes go to the
    // controller and nothing comes back on success.
    uint8_t data[8] = { 1, 2, 3, 4, 5, 6, 7, 8 };
    DcmdZprDpPrvParams p(DCMD_ADP_MFC_SUBCMD_0182, 0u, 0u, 0u, data, 0, 0, 0);
    EXPECT_EQ(run(p), 0);
    ASSERT_EQ(driver.calls.size(), 1u);
    EXPECT_EQ(driver.calls[0].data0, std::vector<uint8_t>(data, data + 8));
    EXPECT_EQ(le16(&driver.calls[0].frame()[16]), 0x14);
    EXPECT_EQ(data[0], 1);

    uint8_t oem[24] = {};
    DcmdZprDpPrvParams r(DCMD_ADP_MFC_GET_OEM_DATA, 0u, 0u, 0u, oem, 0, 0, 0);
    EXPECT_EQ(run(r), 0);
    EXPECT_EQ(oem[0], 0xA5);
    EXPECT_EQ(oem[23], 0xA5);
}

// ---- dispatch ----------------------------------------------------------------------------------

class ScriptedProvider : public ZprDataProvider {
public:
    int answer = 0;
    int sendDcmd(DpParams*) override { return answer; }
    int sendDcdb(DpParams*) override { return 1; }
    int sendDriverCommand(DpParams*) override { return 2; }
    int sendStp(DpParams*) override { return 3; }
};

class OtherKind : public DpParams {
public:
    OtherKind() : DpParams(nullptr) {}
    uint8_t type() const override { return 9; }
};

TEST(ZprDataProvider, DispatchesByKindAndReducesTo16Bits)
{
    ScriptedProvider provider;
    for (uint8_t kind = 0; kind < 4; ++kind) EXPECT_TRUE(provider.supports(kind));
    EXPECT_FALSE(provider.supports(DP_KIND_AK_IR2));

    DcmdZprDpParams dcmd(DCMD_ADP_GET_INFO, 0u, 0u, 0u, nullptr, 0, 0, 0);
    DcdbZprDpParams dcdb(4, 0, 0, 0, nullptr, 0, nullptr, 0, 0, 0, 0, 0);
    DriverZprDPParams drv(DCMD_DRIVER_GET_INFO, 0u, 0u, 0u, nullptr, 0, 0, 0);
    StpZprDpParams stp(8, 0, 0, nullptr, 0, 0, 0, nullptr, 0, 0, 0, 0, 0, 0);
    EXPECT_EQ(provider.execute(&dcdb), 1);
    EXPECT_EQ(provider.execute(&drv), 2);
    EXPECT_EQ(provider.execute(&stp), 3);
    provider.answer = -1;
    EXPECT_EQ(provider.execute(&dcmd), 0xFFFF);
    provider.answer = 0x12345;
    EXPECT_EQ(provider.execute(&dcmd), 0x2345);

    OtherKind other;
    EXPECT_EQ(provider.execute(&other), -1);
    ArraykitIr2DpParams library(nullptr);
    EXPECT_EQ(provider.execute(&library), -1);
}

int answerOne(DpParams*) { return 1; }
int answerTwo(DpParams*) { return 2; }

TEST(SendOperationTable, NewestPairWinsAndTheTableHolds32)
{
    SendOperationTable table;
    EXPECT_TRUE(table.find(0).isEmpty());
    table.add(0, makeFunctor(&answerOne));
    table.add(0, makeFunctor(&answerTwo));
    EXPECT_EQ(table.find(0).call(nullptr), 2);
    for (int i = 0; i < 40; ++i) table.add(static_cast<uint16_t>(100 + i), makeFunctor(&answerOne));
    EXPECT_EQ(table.size(), 32);
    EXPECT_FALSE(table.find(129).isEmpty());
    EXPECT_TRUE(table.find(130).isEmpty());
}

TEST(LinuxZprDataProvider, OneInstancePerProcess)
{
    LinuxZprDataProvider* a = LinuxZprDataProvider::instance(0);
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(LinuxZprDataProvider::instance(42), a);
    EXPECT_TRUE(a->supports(DP_KIND_DCMD));
    EXPECT_FALSE(a->supports(DP_KIND_AK_IR2));
}

} // namespace
