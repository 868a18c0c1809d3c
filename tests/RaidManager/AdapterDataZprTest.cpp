// The adapter data over described controllers of a simulated host: the record cache (one read
// per record, reads again after a failure, change marks and commits) and the capability,
// limit, image, OEM-id and runtime-status queries, with the firmware commands read back from
// the host's command log.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "PavUtil/List.h"
#include "DescribedAdapter.h"

namespace {

const uint32_t ADP_GET_INFO = 0x01010000;
const uint32_t ADP_GET_PROPERTIES = 0x01020100;
const uint32_t ADP_SET_PROPERTIES = 0x01020200;
const uint32_t ADP_BIOS_GET_DATA = 0x010c0100;
const uint32_t ADP_BIOS_SET_DATA = 0x010c0200;
const uint32_t ADP_MFC_GET_DEFAULTS = 0x010e0201;
const uint32_t ADP_MFC_GET_OEM_DATA = 0x010e8481;
const uint32_t CFG_GET_RUNTIME_STATUS = 0x04070000;
const uint32_t SAS_GET_PHY_INFO = 0x07010000;
const uint32_t SAS_GET_MUX_MODE = 0x07020100;
const uint32_t SAS_SET_MUX_MODE = 0x07020200;

using describedadapter::DescribedAdapter;
using describedadapter::failing;

std::vector<unsigned> itemsOf(ArrayList<unsigned char>* list)
{
    std::vector<unsigned> items;
    for (unsigned char i = 0; list != nullptr && i < list->count(); ++i)
        items.push_back(list->get(i));
    delete list;
    return items;
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// The record cache.

TEST(AdapterRecordCache, GettersOfOneRecordSendOneRead)
{
    DescribedAdapter a("");
    uint8_t count = 0, minStrip = 0, maxStrip = 0;
    EXPECT_EQ(a.data->getMaxVirtualDrives(&count), 0);
    EXPECT_EQ(a.data->getMinStripSize(&minStrip), 0);
    EXPECT_EQ(a.data->getMaxStripSize(&maxStrip), 0);
    EXPECT_EQ(count, 64);
    EXPECT_EQ(minStrip, 3);
    EXPECT_EQ(maxStrip, 11);
    EXPECT_EQ(a.sent(ADP_GET_INFO), 1u);
}

TEST(AdapterRecordCache, FailedReadCachesNothingAndLeavesOutParametersAlone)
{
    DescribedAdapter a("", failing(ADP_GET_INFO, 0x2d));
    uint8_t count = 0xEE;
    EXPECT_EQ(a.data->getMaxVirtualDrives(&count), 0x2d);
    EXPECT_EQ(count, 0xEE);
    EXPECT_EQ(a.data->getMaxVirtualDrives(&count), 0);
    EXPECT_EQ(count, 64);
    EXPECT_EQ(a.sent(ADP_GET_INFO), 2u);
}

TEST(AdapterRecordCache, CommitWithoutChangeSendsNothing)
{
    DescribedAdapter a("");
    EXPECT_EQ(a.data->commitProperties(), 0);
    EXPECT_EQ(a.data->loadProperties(), 0);
    EXPECT_EQ(a.data->commitProperties(), 0);
    EXPECT_EQ(a.sent(ADP_GET_PROPERTIES), 1u);
    EXPECT_EQ(a.sent(ADP_SET_PROPERTIES), 0u);
}

TEST(AdapterRecordCache, ChangeIsWrittenOnceAndStaysMarkedUntilTheControllerTakesIt)
{
    // A write the controller takes: the second commit has nothing to send.
    {
        DescribedAdapter a("\"properties\": {\"rebuildRate\": 30}");
        uint8_t rate = 55;
        ASSERT_EQ(a.data->setRebuildRate(&rate), 0);
        EXPECT_EQ(a.data->commitProperties(), 0);
        EXPECT_EQ(a.data->commitProperties(), 0);
        EXPECT_EQ(a.sent(ADP_SET_PROPERTIES), 1u);
        EXPECT_EQ(a.saved().properties.rebuildRate, 55);
    }
    // A write that fails: the change is sent again by the next commit.
    {
        DescribedAdapter a("", failing(ADP_SET_PROPERTIES, 0x03));
        uint8_t rate = 60;
        ASSERT_EQ(a.data->setRebuildRate(&rate), 0);
        EXPECT_EQ(a.data->commitProperties(), 0x03);
        EXPECT_EQ(a.data->commitProperties(), 0);
        EXPECT_EQ(a.data->commitProperties(), 0);
        EXPECT_EQ(a.sent(ADP_SET_PROPERTIES), 2u);
        EXPECT_EQ(a.saved().properties.rebuildRate, 60);
    }
}

TEST(AdapterRecordCache, BiosDataIsWrittenWithItsChecksum)
{
    // The simulated firmware refuses BIOS data whose 64 bytes do not add up to 0.
    DescribedAdapter a("\"bios\": {\"bootDevice\": 3, \"patch\": {\"0x20\": \"a5\"}}");
    uint8_t enabled = 0;
    ASSERT_EQ(a.data->isBiosEnabled(&enabled), 0);
    EXPECT_EQ(enabled, 1);
    ASSERT_EQ(a.data->setBiosEnabled(0), 0);
    EXPECT_EQ(a.data->commitBiosData(), 0);
    EXPECT_EQ(a.sent(ADP_BIOS_GET_DATA), 1u);
    EXPECT_EQ(a.sent(ADP_BIOS_SET_DATA), 1u);
    const sim::BiosData bios = a.saved().bios;
    EXPECT_EQ(bios.biosDisabled, 1);
    EXPECT_EQ(bios.bootDevice, 3);
}

TEST(AdapterRecordCache, ConnectorModes)
{
    DescribedAdapter a("\"connectorModes\": {\"modes\": [1, 0]}");
    // Nothing to commit, nor to change, before the modes were read.
    EXPECT_EQ(a.data->commitConnectorModes(), -1);
    EXPECT_EQ(a.data->setConnectorMode(2, 0), -1);
    EXPECT_EQ(a.host.commands().size(), 0u);

    ASSERT_EQ(a.data->loadConnectorModes(), 0);
    EXPECT_EQ(a.data->setConnectorMode(2, 1), -1) << "connector 1's mode cannot be set";
    EXPECT_EQ(a.data->setConnectorMode(2, 2), -1) << "no connector 2";
    EXPECT_EQ(a.data->setConnectorMode(0, 0), -1) << "mode 0 is not a mode";
    EXPECT_EQ(a.data->commitConnectorModes(), 0);
    EXPECT_EQ(a.sent(SAS_SET_MUX_MODE), 0u);

    EXPECT_EQ(a.data->setConnectorMode(2, 0), 0);
    uint8_t mode = 0;
    EXPECT_EQ(a.data->getConnectorMode(0, &mode), 0);
    EXPECT_EQ(mode, 2);
    EXPECT_EQ(a.data->commitConnectorModes(), 0);
    EXPECT_EQ(a.sent(SAS_GET_MUX_MODE), 1u);
    EXPECT_EQ(a.sent(SAS_SET_MUX_MODE), 1u);
    EXPECT_EQ(a.saved().connectorModes.modes, (std::vector<uint8_t>{2, 0}));
}

TEST(AdapterRecordCache, RefreshReadsTheControllerInformationAgain)
{
    DescribedAdapter a("\"info\": {\"securityState\": \"0x40\"}");
    uint8_t count = 0, bit = 0;
    ASSERT_EQ(a.data->getMaxVirtualDrives(&count), 0);
    ASSERT_EQ(a.data->refreshControllerInfo(&bit), 0);
    EXPECT_EQ(bit, 1);
    EXPECT_EQ(a.sent(ADP_GET_INFO), 2u);
}

TEST(AdapterRecordCache, PhyListStaysZeroedAfterAFailedRead)
{
    uint32_t count = 77;
    {
        DescribedAdapter a("\"phyList\": {\"phys\": [{}, {}, {}, {}]}", failing(SAS_GET_PHY_INFO, 0x04));
        EXPECT_EQ(a.data->getPhyCount(&count), 0x04);
        EXPECT_EQ(count, 77u);
        EXPECT_EQ(a.data->getPhyCount(&count), 0);
        EXPECT_EQ(count, 0u);
        EXPECT_EQ(a.sent(SAS_GET_PHY_INFO), 1u);
    }
    DescribedAdapter b("\"phyList\": {\"phys\": [{}, {}, {}, {}]}");
    EXPECT_EQ(b.data->getPhyCount(&count), 0);
    EXPECT_EQ(count, 4u);
}

// ---------------------------------------------------------------------------------------------
// Capability and limit queries.

TEST(AdapterCapabilities, SupportedLevelsAndStripSizes)
{
    struct Case {
        const char* info;
        std::vector<unsigned> levels;
        std::vector<unsigned> strips;
    } cases[] = {
        {"\"raidLevels\": \"0x06\", \"raidFeatures\": \"0x01\", \"minStripExponent\": 7, \"maxStripExponent\": 10",
         {1, 5, 32, 33}, {7, 8, 9, 10}},
        {"\"raidLevels\": \"0x17\", \"raidFeatures\": \"0x00\", \"minStripExponent\": 8, \"maxStripExponent\": 8",
         {0, 1, 5, 6}, {8}},
        {"\"raidLevels\": \"0xff\", \"raidFeatures\": \"0x01\", \"minStripExponent\": 9, \"maxStripExponent\": 7",
         {0, 1, 5, 6, 32, 33, 34}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.info);
        DescribedAdapter a(std::string("\"info\": {") + c.info + "}");
        ArrayList<unsigned char>* levels = nullptr;
        ASSERT_EQ(a.data->getSupportedRaidLevels(&levels), 0);
        EXPECT_EQ(itemsOf(levels), c.levels);
        ArrayList<unsigned char>* strips = nullptr;
        ASSERT_EQ(a.data->getSupportedStripSizes(&strips), 0);
        EXPECT_EQ(itemsOf(strips), c.strips);
    }
}

TEST(AdapterCapabilities, DrivesAndSpansPerLevel)
{
    const std::string limits =
        "\"driveLimits\": {\"raid0\": {\"min\": 1, \"max\": 32}, \"raid1\": {\"min\": 2, \"max\": 2},"
        " \"raid6\": {\"min\": 3, \"max\": 32}, \"raid50\": {\"min\": 6, \"max\": 240},"
        " \"raid60\": {\"min\": 7, \"max\": 256}, \"raid10\": {\"min\": 4, \"max\": 64},"
        " \"level35\": {\"min\": 2, \"max\": 16}, \"raid10Prl11\": {\"min\": 4, \"max\": 128}}";
    struct Case {
        const char* what;
        std::string info;
        uint8_t oemId;
        uint8_t level;
        int minStatus, minDrives, maxStatus, maxDrives;
    } cases[] = {
        {"RAID 0", limits, 1, 0, 0, 1, 0, 32},
        {"RAID 1", limits, 1, 1, 0, 2, 0, 2},
        {"RAID 1 under PRL 11 (bit 2)", limits + ", \"raidLevelOptions\": \"0x04\"", 1, 1, 0, 2, 0, 16},
        {"RAID 1 under PRL 11 (bit 3)", limits + ", \"raidLevelOptions\": \"0x08\"", 1, 1, 0, 2, 0, 16},
        {"spanned RAID 5: low nibble 6 halved, 240 drives over 8 spans",
         limits + ", \"maxSpans\": 8", 1, 33, 0, 3, 0, 30},
        {"spanned RAID 1 under PRL 11",
         limits + ", \"maxSpans\": 8, \"raidLevelOptions\": \"0x08\"", 1, 32, 0, 2, 0, 16},
        {"RAID 6 of OEM 2", limits, 2, 6, 0, 4, 0, 32},
        {"spanned RAID 6 of OEM 2", limits + ", \"maxSpans\": 4", 2, 34, 0, 4, 0, 64},
        {"spanned RAID 6 of another OEM", limits + ", \"maxSpans\": 4", 3, 34, 0, 3, 0, 64},
        {"no spans reported", limits + ", \"maxSpans\": 0", 1, 33, 0, 3, -1, 0},
        {"level 35", limits, 1, 35, 0, 2, 0, 16},
        {"no such level", limits, 1, 2, -1, 0, -1, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        DescribedAdapter a("\"info\": {" + c.info + "}, \"mfcOemData\": {\"oemId\": " + std::to_string(c.oemId) + "}");
        uint8_t minDrives = 0xEE, maxDrives = 0xEE;
        EXPECT_EQ(a.data->getLevelMinDrivesPerSpan(&minDrives, c.level), c.minStatus);
        EXPECT_EQ(a.data->getLevelMaxDrivesPerSpan(&maxDrives, c.level), c.maxStatus);
        EXPECT_EQ(minDrives, c.minStatus == 0 ? c.minDrives : 0xEE);
        EXPECT_EQ(maxDrives, c.maxStatus == 0 ? c.maxDrives : 0xEE);
    }
    DescribedAdapter a("\"info\": {\"maxSpans\": 8}");
    uint8_t spans = 0;
    EXPECT_EQ(a.data->getLevelMaxSpans(&spans, 33), 0);
    EXPECT_EQ(spans, 8);
    EXPECT_EQ(a.data->getLevelMaxSpans(&spans, 5), 0);
    EXPECT_EQ(spans, 1);
    EXPECT_EQ(a.data->getLevelMinSpans(&spans, 34), 0);
    EXPECT_EQ(spans, 2);
    EXPECT_EQ(a.data->isSpannedRaidLevel(32), 1);
    EXPECT_EQ(a.data->isSpannedRaidLevel(6), 0);
}

TEST(AdapterCapabilities, FlagsAnswerTheirBitsOnly)
{
    typedef int (AdapterDataZpr::*Flag)(uint8_t*);
    struct Case {
        const char* what;
        Flag query;
        const char* setsIt;    // info fields with the bit set (and every other bit of its byte clear)
        const char* clearsIt;  // info fields with only the other bits of the byte set
    } cases[] = {
        {"PRL 11 from bit 2", &AdapterDataZpr::isPrl11Supported,
         "\"raidLevelOptions\": \"0x04\"", "\"raidLevelOptions\": \"0xf3\""},
        {"SSD-cache RAID 5", &AdapterDataZpr::isSscRaid5Supported,
         "\"raidLevelOptions\": \"0x40\"", "\"raidLevelOptions\": \"0xbf\""},
        {"foreign import all", &AdapterDataZpr::isForeignImportAllSupported,
         "\"reportingFeatures\": \"0x10\"", "\"reportingFeatures\": \"0xef\""},
        {"connector info", &AdapterDataZpr::isConnectorInfoSupported,
         "\"reportingFeatures\": \"0x20\"", "\"reportingFeatures\": \"0xdf\""},
        {"flat phy indexing", &AdapterDataZpr::isFlatPhyIndexingSupported,
         "\"storageFeatures\": \"0x08\"", "\"storageFeatures\": \"0xf7\""},
        {"encryption", &AdapterDataZpr::isEncryptionEnabled,
         "\"storageFeatures\": \"0x04\"", "\"storageFeatures\": \"0xfb\""},
        {"snapshots", &AdapterDataZpr::isSnapshotSupported,
         "\"storageFeatures\": \"0x40\"", "\"storageFeatures\": \"0xbf\""},
        {"disk cache policy", &AdapterDataZpr::isDiskCachePolicyChangeSupported,
         "\"ldOperations\": \"0x10\"", "\"ldOperations\": \"0xef\""},
        {"mirrors", &AdapterDataZpr::isLdMirrorSupported, "\"ldFeatures\": \"0x40\"", "\"ldFeatures\": \"0xbf\""},
        {"SSD-cache write-back", &AdapterDataZpr::isSscWriteBackSupported,
         "\"ldFeatures\": \"0x80\"", "\"ldFeatures\": \"0x7f\""},
        {"alarm", &AdapterDataZpr::isAlarmPresent, "\"devicesPresent\": \"0x02\"", "\"devicesPresent\": \"0xfd\""},
        {"memory", &AdapterDataZpr::isMemoryPresent, "\"devicesPresent\": \"0x10\"", "\"devicesPresent\": \"0xef\""},
        {"spin-down", &AdapterDataZpr::isSpinDownSupported,
         "\"powerFeatures\": \"0x01\"", "\"powerFeatures\": \"0xfe\""},
        {"drive mix bit 3", &AdapterDataZpr::getDriveMixFlag5f0Bit3,
         "\"driveMixing\": \"0x08\"", "\"driveMixing\": \"0xf7\""},
        {"security key assigned", &AdapterDataZpr::isSecurityKeyAssigned,
         "\"securityState\": \"0x02\"", "\"securityState\": \"0xfd\""},
        {"read-write SSD cache", &AdapterDataZpr::isSscReadWriteType,
         "\"sscAndBootState\": \"0x02\"", "\"sscAndBootState\": \"0xfd\""},
        {"protection information", &AdapterDataZpr::isPiSupported,
         "\"piFeatures\": \"0x01\"", "\"piFeatures\": \"0xfe\""},
        {"emergency spares", &AdapterDataZpr::isEmergencySpareSupported,
         "\"spareFeatures\": \"0x01\"", "\"spareFeatures\": \"0xfe\""},
        {"sector sizes", &AdapterDataZpr::getInfoFlag7a6Bit1,
         "\"firmwareFeatures\": \"0x02\"", "\"firmwareFeatures\": \"0xfd\""},
        {"manual SSD-cache association", &AdapterDataZpr::isManualSscAssociationAllowed,
         "\"sscFeatures\": \"0x01\"", "\"sscFeatures\": \"0xfe\""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        // One host at a time: each is the process's OS boundary while it lives.
        for (int set = 1; set >= 0; --set) {
            DescribedAdapter a(std::string("\"info\": {") + (set ? c.setsIt : c.clearsIt) + "}");
            uint8_t flag = 7;
            EXPECT_EQ(((*a.data).*c.query)(&flag), 0);
            EXPECT_EQ(flag, set);
        }
    }
}

TEST(AdapterCapabilities, AnswersThatReadNothingOrIgnoreTheirBit)
{
    DescribedAdapter a("\"info\": {\"raidLevelOptions\": \"0x01\"}");
    uint8_t flag = 7;
    EXPECT_EQ(a.data->isSpanSlicingSupported(&flag), 0);
    EXPECT_EQ(flag, 1);
    EXPECT_EQ(a.host.commands().size(), 0u) << "span slicing is known without a read";
    EXPECT_EQ(a.data->getInfoFlag5ddBit0(&flag), 0);
    EXPECT_EQ(flag, 0) << "bit 0 of 0x5dd is set, yet the answer is 0";
    ArrayList<unsigned char>* list = nullptr;
    EXPECT_EQ(a.data->getVdChoiceList1(&list), 0);
    EXPECT_EQ(itemsOf(list), (std::vector<unsigned>{1, 0}));
    EXPECT_EQ(a.data->getVdChoiceList2(&list), 0);
    EXPECT_EQ(itemsOf(list), (std::vector<unsigned>{2, 0, 1}));
    EXPECT_EQ(a.data->getVdChoiceList3(&list), 0);
    EXPECT_EQ(itemsOf(list), (std::vector<unsigned>{1, 0}));
}

TEST(AdapterCapabilities, ValuesWithTheirFallbacks)
{
    {
        DescribedAdapter a("\"info\": {\"maxVdsPerArray\": 0, \"patch\": {\"0x7cc\": \"0000\", \"0x789\": \"00\"}}");
        uint8_t byte = 0;
        uint16_t word = 0;
        EXPECT_EQ(a.data->getInfoByte788Or16(&byte), 0);
        EXPECT_EQ(byte, 16);
        EXPECT_EQ(a.data->getInfoWord7ccOr16(&word), 0);
        EXPECT_EQ(word, 16);
        EXPECT_EQ(a.data->getInfoByte789Or788(&byte), 0);
        EXPECT_EQ(byte, 0);
    }
    {
        DescribedAdapter a("\"info\": {\"maxVdsPerArray\": 64, \"maxSscSizeGB\": 512, \"sscSizeGB\": 128,"
                           " \"sensorsPresent\": \"0x0c\", \"rocTemperature\": 61, \"controllerTemperature\": 48,"
                           " \"eccBucketCount\": 9, \"keyManagementState\": 4,"
                           " \"patch\": {\"0x789\": \"20\", \"0x7cc\": \"0300\", \"0x786\": \"3412\"}}");
        uint8_t byte = 0, present = 0, degrees = 0;
        uint16_t word = 0;
        EXPECT_EQ(a.data->getInfoByte788Or16(&byte), 0);
        EXPECT_EQ(byte, 64);
        EXPECT_EQ(a.data->getInfoByte789Or788(&byte), 0);
        EXPECT_EQ(byte, 0x20);
        EXPECT_EQ(a.data->getInfoWord7ccOr16(&word), 0);
        EXPECT_EQ(word, 3);
        EXPECT_EQ(a.data->getInfoWord786(&word), 0);
        EXPECT_EQ(word, 0x1234);
        EXPECT_EQ(a.data->getMaxSscCount(&word), 0);
        EXPECT_EQ(word, 512);
        EXPECT_EQ(a.data->getSscCount(&word), 0);
        EXPECT_EQ(word, 128);
        EXPECT_EQ(a.data->isSsdCachingSupported(&byte), 0);
        EXPECT_EQ(byte, 1);
        EXPECT_EQ(a.data->getRocTemperature(&present, &degrees), 0);
        EXPECT_EQ(present, 1);
        EXPECT_EQ(degrees, 61);
        EXPECT_EQ(a.data->getControllerTemperature(&present, &degrees), 0);
        EXPECT_EQ(present, 1);
        EXPECT_EQ(degrees, 48);
        EXPECT_EQ(a.data->getEccBucketCount(&word), 0);
        EXPECT_EQ(word, 9);
        EXPECT_EQ(a.data->getKeyManagementState(&byte), 0);
        EXPECT_EQ(byte, 4);
        EXPECT_EQ(a.sent(ADP_GET_INFO), 1u);
    }
}

TEST(AdapterCapabilities, PerformanceTuningFromTheCurrentProperties)
{
    DescribedAdapter a("\"properties\": {\"perfTunedMode\": \"0xfd\", \"perfModeValues\": \"0102030405060708\"}");
    uint8_t mode = 0, lines = 0, latency = 0;
    EXPECT_EQ(a.data->getPerfTunedMode(&mode), 0);
    EXPECT_EQ(mode, 1);
    EXPECT_EQ(a.data->getPerfModeValues(1, &lines, &latency), 0);
    EXPECT_EQ(lines, 3);
    EXPECT_EQ(latency, 4);
    EXPECT_EQ(a.data->getPerfModeValues(4, &lines, &latency), -1);
    EXPECT_EQ(a.sent(ADP_GET_PROPERTIES), 0u) << "read from the controller information's copy";
}

TEST(AdapterCapabilities, ValueGettersAnswerZeroWhenTheRecordCannotBeRead)
{
    {
        DescribedAdapter ok("\"info\": {\"devicesPresent\": \"0x01\", \"spareFeatures\": \"0x80\","
                            " \"firmwareFeatures\": \"0x04\", \"sscAndBootState\": \"0x04\"}");
        EXPECT_EQ(ok.data->getBatteryBackupFlag(), 1);
        EXPECT_EQ(ok.data->isRealTimeSchedulingSupported(), 1);
        EXPECT_EQ(ok.data->getInfoFlag7a6Bit2(), 1);
        EXPECT_EQ(ok.data->isSafeBootMode(), 1);
    }
    DescribedAdapter failed("\"info\": {\"devicesPresent\": \"0x01\", \"spareFeatures\": \"0x80\","
                            " \"firmwareFeatures\": \"0x04\", \"sscAndBootState\": \"0x04\"}",
                            failing(ADP_GET_INFO, 0x2d, sim::FaultMode::ALWAYS));
    EXPECT_EQ(failed.data->getBatteryBackupFlag(), 0);
    EXPECT_EQ(failed.data->isRealTimeSchedulingSupported(), 0);
    EXPECT_EQ(failed.data->getInfoFlag7a6Bit2(), 0);
    EXPECT_EQ(failed.data->isSafeBootMode(), 0);
    EXPECT_EQ(failed.sent(ADP_GET_INFO), 4u);
}

// ---------------------------------------------------------------------------------------------
// Manufacturing defaults.

TEST(AdapterDefaults, PlanningDefaults)
{
    struct Case {
        const char* defaults;
        int status29, value29, status28, value28, status30, value30, value27;
    } cases[] = {
        {"\"writePolicy\": 0, \"readPolicy\": 0, \"cacheWhenBbuBad\": 0, \"cachedIo\": 0", 0, 1, 0, 2, 0, 0, 1},
        {"\"writePolicy\": 1, \"readPolicy\": 1, \"cacheWhenBbuBad\": 1, \"cachedIo\": 1", 0, 0, 0, 0, 0, 1, 0},
        {"\"writePolicy\": 2, \"readPolicy\": 2, \"cacheWhenBbuBad\": 0, \"cachedIo\": 2", 0, 2, 0, 1, 0, 0, 1},
        // Codes outside the tables: refused; only the read policy hands its raw byte on.
        {"\"writePolicy\": 3, \"readPolicy\": 5, \"cacheWhenBbuBad\": 2, \"cachedIo\": 0", -1, 0xEE, -1, 5, -1, 0xEE, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.defaults);
        DescribedAdapter a(std::string("\"mfcDefaults\": {") + c.defaults + "}");
        uint8_t v29 = 0xEE, v28 = 0xEE, v30 = 0xEE, v27 = 0xEE;
        EXPECT_EQ(a.data->getDefaultVdParameter29(&v29), c.status29);
        EXPECT_EQ(v29, c.value29);
        EXPECT_EQ(a.data->getDefaultVdParameter28(&v28), c.status28);
        EXPECT_EQ(v28, c.value28);
        EXPECT_EQ(a.data->getDefaultVdParameter30(&v30), c.status30);
        EXPECT_EQ(v30, c.value30);
        EXPECT_EQ(a.data->getDefaultVdParameter27(&v27), 0);
        EXPECT_EQ(v27, c.value27);
        EXPECT_EQ(a.sent(ADP_MFC_GET_DEFAULTS), 1u);
    }
}

TEST(AdapterDefaults, OtherDefaults)
{
    DescribedAdapter a("\"mfcDefaults\": {\"stripExponent\": 8, \"uncertifiedDrives\": 2, \"treatR1eAsR10\": 3,"
                       " \"powerSavingOptions\": \"0x41\", \"features\": \"0x10\"}");
    uint8_t v = 0;
    EXPECT_EQ(a.data->getDefaultStripSize(&v), 0);
    EXPECT_EQ(v, 8);
    EXPECT_EQ(a.data->getUncertifiedDriveMode(&v), 0);
    EXPECT_EQ(v, 2);
    EXPECT_EQ(a.data->getTreatSingleSpanR1eAsR10(&v), 0);
    EXPECT_EQ(v, 1);
    EXPECT_EQ(a.data->getPowerSavingOptions(&v), 0);
    EXPECT_EQ(v, 0x41);
    EXPECT_EQ(a.data->isJoinMirrorAllowed(&v), 0);
    EXPECT_EQ(v, 0);
}

TEST(AdapterDefaults, JoinMirrorAllowedUnlessItsBitIsSet)
{
    DescribedAdapter b("\"mfcDefaults\": {\"features\": \"0xef\"}");
    uint8_t v = 0;
    EXPECT_EQ(b.data->isJoinMirrorAllowed(&v), 0);
    EXPECT_EQ(v, 1);
}

// ---------------------------------------------------------------------------------------------
// Images and texts.

TEST(AdapterImages, VersionsByComponentName)
{
    DescribedAdapter a("\"info\": {\"images\": [{\"name\": \"BIOSX\", \"version\": \"6.1\"},"
                       " {\"name\": \"APPL\", \"version\": \"4.800\"}, {\"name\": \"APP\", \"version\": \"9.9\"}]}");
    string version("unchanged");
    EXPECT_EQ(a.data->getAppImageVersion(&version), 0);
    EXPECT_STREQ(version.c_str(), "4.800") << "the first whose name begins with APP";
    EXPECT_EQ(a.data->getBiosImageVersion(&version), 0);
    EXPECT_STREQ(version.c_str(), "6.1");
    version = string("unchanged");
    EXPECT_EQ(a.data->getBootBlockImageVersion(&version), -1);
    EXPECT_STREQ(version.c_str(), "unchanged");

}

TEST(AdapterImages, NoApplicationImage)
{
    DescribedAdapter none("\"info\": {\"images\": [{\"name\": \"BIOS\", \"version\": \"6.1\"}]}");
    string version("unchanged");
    EXPECT_EQ(none.data->getAppImageVersion(&version), -1);
    EXPECT_STREQ(version.c_str(), "unchanged");
}

TEST(AdapterImages, CountsAndTextsStayWithinTheirFields)
{
    // A negative count names no component; one above 8 names no more than the record holds.
    string version("unchanged");
    {
        DescribedAdapter negative("\"info\": {\"patch\": {\"0xb4\": \"ffffffff\"}}");
        EXPECT_EQ(negative.data->getAppImageVersion(&version), -1);
    }
    {
    DescribedAdapter large("\"info\": {\"images\": [{\"name\": \"BIOS\", \"version\": \"6.1\"}],"
                           " \"patch\": {\"0xb4\": \"ffffff7f\"}}");
    EXPECT_EQ(large.data->getAppImageVersion(&version), -1);
    EXPECT_EQ(large.data->getBiosImageVersion(&version), 0);
    EXPECT_STREQ(version.c_str(), "6.1");
    }

    // Texts without their NUL end with their fields: an 80-byte name, a 64-byte version, a
    // 96-byte package build, whatever follows them.
    std::string name(160, '4'), build(192, '6'), appVersion(128, '7');
    DescribedAdapter full("\"info\": {\"images\": [{\"name\": \"APP\"}], \"patch\": {\"0x540\": \"" + name +
                          "\", \"0x590\": \"41\", \"0x640\": \"" + build + "\", \"0x6a0\": \"42\", \"0xc0\": \"" +
                          appVersion + "\", \"0x100\": \"43\"}}");
    string text;
    EXPECT_EQ(full.data->getProductName(&text), 0);
    EXPECT_EQ(std::string(text.c_str()), std::string(80, 'D'));
    EXPECT_EQ(full.data->getFirmwarePackageBuild(&text), 0);
    EXPECT_EQ(std::string(text.c_str()), std::string(96, 'f'));
    EXPECT_EQ(full.data->getAppImageVersion(&text), 0);
    EXPECT_EQ(std::string(text.c_str()), std::string(64, 'w'));
}

// ---------------------------------------------------------------------------------------------
// OEM id, compatibility and runtime status.

TEST(AdapterIdentity, OemIdIsReadOnEveryCall)
{
    struct Case {
        uint8_t oemId;
        uint8_t parameter31;
    } cases[] = {{1, 0}, {7, 2}, {9, 2}, {8, 0}};
    for (const Case& c : cases) {
        DescribedAdapter a("\"mfcOemData\": {\"oemId\": " + std::to_string(c.oemId) + "}");
        int32_t id = -5;
        uint8_t choice = 0xEE;
        EXPECT_EQ(a.data->getOemId(&id), 0);
        EXPECT_EQ(a.data->getOemId(&id), 0);
        EXPECT_EQ(id, c.oemId);
        EXPECT_EQ(a.data->getDefaultVdParameter31(&choice), 0);
        EXPECT_EQ(choice, c.parameter31);
        EXPECT_EQ(a.sent(ADP_MFC_GET_OEM_DATA), 3u);
    }
}

TEST(AdapterIdentity, CompatibilityLevels)
{
    DescribedAdapter a("\"info\": {\"forwardCompatibility\": 3, \"backwardCompatibility\": 2}");
    uint8_t update = 7;
    uint16_t firmware = 0, application = 9;
    EXPECT_EQ(a.data->checkApplicationCompatibility(&update, &firmware, &application), 0);
    EXPECT_EQ(update, 1);
    EXPECT_EQ(firmware, 3);
    EXPECT_EQ(application, 0);
    EXPECT_EQ(a.data->checkFirmwareCompatibility(&update, &firmware, &application), 0);
    EXPECT_EQ(update, 0);
    EXPECT_EQ(firmware, 2);
    EXPECT_EQ(application, 0);
}

TEST(AdapterIdentity, RuntimeStatusIsReadOnlyWhenAllowedOperationsAreReported)
{
    uint8_t bit = 7;
    {
        DescribedAdapter notReported("\"runtimeStatus\": \"0x0\"");
        EXPECT_EQ(notReported.data->getRuntimeStatusBit1(&bit), 0);
        EXPECT_EQ(bit, 1);
        EXPECT_EQ(notReported.sent(CFG_GET_RUNTIME_STATUS), 0u);
    }
    {
        DescribedAdapter reported("\"info\": {\"reportingFeatures\": \"0x40\"}, \"runtimeStatus\": \"0x2\"");
        EXPECT_EQ(reported.data->getRuntimeStatusBit1(&bit), 0);
        EXPECT_EQ(bit, 1);
        EXPECT_EQ(reported.data->getRuntimeStatusBit0(&bit), 0);
        EXPECT_EQ(bit, 0);
        EXPECT_EQ(reported.sent(CFG_GET_RUNTIME_STATUS), 2u) << "never cached";
    }

    DescribedAdapter failing1("\"info\": {\"reportingFeatures\": \"0x40\"}", failing(CFG_GET_RUNTIME_STATUS, 0x0c));
    bit = 7;
    EXPECT_EQ(failing1.data->getRuntimeStatusBit0(&bit), 0x0c);
    EXPECT_EQ(bit, 7);
}
