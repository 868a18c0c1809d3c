// The three text blocks of a drive against drives that a simulated host describes: whole blocks
// for a typical drive, and a table of the lines that each edge case changes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "RaidManager/RaidElementId.h"
#include "RaidManager/RaidManager.h"
#include "RaidManager/Zpr/PdDataZpr.h"
#include "SimHostFixture.h"
#include "Simulator/SimModel.h"

namespace {


// The host's first controller holds just this drive (and enclosure 252); `features` are the
// controller's power-feature bits (bit 3: temperatures in the drive record).
simhost::StateEdit onlyDrive(const sim::Drive& drive, uint8_t powerFeatures = 0)
{
    return [=](sim::HostModel& model) {
        sim::Controller& c = model.controllers.at(0);
        c.drives = {drive};
        c.arrays.clear();
        c.lds.clear();
        c.spares.clear();
        sim::Enclosure enclosure;
        enclosure.deviceId = 252;
        c.enclosures = {enclosure};
        // The enclosure's own device, which knows the enclosure's position.
        sim::Drive device;
        device.deviceId = 252;
        device.enclosureId = 252;
        device.type = 0x0d;
        device.position = 1;
        // ... and hangs on the controller's only connector, which the controller reports.
        device.ports = {{0x5000c50001a2b3ffull, 0, false}};
        c.drives.push_back(device);
        c.info.powerFeatures = powerFeatures;
        c.info.reportingFeatures |= 0x20;
        c.connectorInfo.connectors = {{2, "Port 0 - 3"}};
    };
}

struct Blocks {
    std::string identity, state, security;
};

Blocks blocksOf(const sim::Drive& drive, uint8_t powerFeatures = 0, uint16_t foreignState = 0xFFFF,
                std::vector<std::string>* passThroughs = nullptr, const simhost::StateEdit& fault = {})
{
    simhost::SimHostFixture host("one", fault ? simhost::both(onlyDrive(drive, powerFeatures), fault)
                                              : onlyDrive(drive, powerFeatures));
    Blocks out;
    {
        simhost::SimControllers controllers;
        Controller* controller = controllers.controller(0);
        EXPECT_NE(controller, nullptr);
        PdDataZpr data(controller, new PdIdZpr(0, drive.slot, drive.deviceId, drive.enclosureId));
        if (foreignState != 0xFFFF) {
            EXPECT_EQ(data.setForeignState(foreignState), 0);
        }
        out.identity = data.toString().c_str();
        out.state = data.formatStateDetails().c_str();
        out.security = data.formatSecurityDetails().c_str();
        releaseRaidManagers();
    }
    if (passThroughs != nullptr)
        for (const std::string& line : host.commands())
            if (line.find("frame=4") != std::string::npos)
                passThroughs->push_back(line.substr(line.find("opcode=")));
    return out;
}

bool hasLine(const std::string& block, const std::string& line)
{
    return block.find(line) != std::string::npos;
}

sim::Drive sasDrive()
{
    sim::Drive d;
    d.deviceId = 9;
    d.sequence = 3;
    d.enclosureId = 252;
    d.slot = 3;
    d.state = 0x18;
    d.rawBlocks = 2097152;          // 1 GB
    d.nonCoercedBlocks = 2095104;
    d.coercedBlocks = 2094080;
    d.mediaErrors = 2;
    d.otherErrors = 1;
    d.temperature = 30;
    d.ports = {{0x5000c50001a2b3c1ull, 0, false}, {0x5000c50001a2b3c2ull, 1, false}};
    d.linkSpeed = 3;
    d.secondLinkSpeed = 2;
    d.connectedPorts = 1;
    d.diagnosticsDate = {2014, 3, 7, 9, 5, 30};
    // Device identification: one NAA descriptor, then a SCSI name string.
    d.vpd83 = {0x00, 0x83, 0x00, 0x1c, 0x01, 0x03, 0x00, 0x08, 0x50, 0x00, 0xc5, 0x00, 0x01, 0xa2, 0xb3, 0xc0,
               0x03, 0x08, 0x00, 0x0c, 0x00, 0x00, 0x00, 0x00, 'n',  'a',  'a',  '.',  '5',  '0',  '0',  '0'};
    return d;
}

} // namespace

TEST(DriveText, OnlineSasDriveInAnEnclosure)
{
    Blocks b = blocksOf(sasDrive(), 0x08);
    EXPECT_EQ(b.identity, "Enclosure Device ID: 252\n"
                          "Slot Number: 3\n"
                          "Enclosure position: 1\n"
                          "Device Id: 9\n"
                          "WWN: naa.5000\n"
                          "Sequence Number: 3\n"
                          "Media Error Count: 2\n"
                          "Other Error Count: 1\n"
                          "Predictive Failure Count: 0\n"
                          "Last Predictive Failure Event Seq Number: 0\n"
                          "PD Type: SAS\n");
    EXPECT_EQ(b.state, "Raw Size: 1.0 GB [0x200000 Sectors]\n"
                       "Non Coerced Size: 1023.0 MB [0x1ff800 Sectors]\n"
                       "Coerced Size: 1022.5 MB [0x1ff400 Sectors]\n"
                       "Sector Size:  512\n"
                       "Firmware state: Online, Spun Up\n"
                       "Device Firmware Level: A001\n"
                       "Shield Counter: 0\n"
                       "Successful diagnostics completion on (MM-DD-YYYY):  3-7-2014  9:5:30\n"
                       "SAS Address(0): 0x5000c50001a2b3c1\n"
                       "SAS Address(1): 0x5000c50001a2b3c2\n"
                       "Connected Port Number: 0 \n"
                       "Inquiry Data: QUILLDSKQD1000SAS       A001                    ");
    EXPECT_EQ(b.security, "FDE Capable: Not Capable\n"
                          "FDE Enable: Disable\n"
                          "Secured: Unsecured\n"
                          "Locked: Unlocked\n"
                          "Needs EKM Attention: No\n"
                          "Foreign State: None \n"
                          "Device Speed: 6.0Gb/s \n"
                          "Link Speed: 6.0Gb/s \n"
                          "Media Type: Hard Disk Device\n"
                          "Drive Temperature :30C (86.00 F)\n"
                          "PI Eligibility:  No \n"
                          "Drive is formatted for PI information:  No\n"
                          "PI: No PI\n"
                          "Port-0 :\n"
                          "Port status: Active\n"
                          "Port's Linkspeed: 6.0Gb/s \n"
                          "Port-1 :\n"
                          "Port status: Active\n"
                          "Port's Linkspeed: 3.0Gb/s \n"
                          "Drive has flagged a S.M.A.R.T alert : No\n"
                          "\n\n");
}

TEST(DriveText, EdgeCasesChangeTheirLines)
{
    struct Case {
        const char* what;
        sim::Drive drive;
        uint8_t powerFeatures;
        uint16_t foreignState;
        std::vector<std::string> identityLines, stateLines, securityLines;
        std::vector<std::string> absent;   // in no block
    };
    auto drive = [](void (*edit)(sim::Drive&)) {
        sim::Drive d = sasDrive();
        edit(d);
        return d;
    };
    const Case cases[] = {
        {"4K sectors: 1000 sectors are 4000 KB", drive([](sim::Drive& d) { d.sectorSize = 4096; d.rawBlocks = 1000; }),
         8, 0xFFFF, {}, {"Raw Size: 3.906 MB [0x3e8 Sectors]\n", "Sector Size:  4096\n"}, {}, {}},
        {"512-byte sectors: 1000 sectors are 500 KB", drive([](sim::Drive& d) { d.rawBlocks = 1000; }), 8, 0xFFFF,
         {}, {"Raw Size: 500 KB [0x3e8 Sectors]\n"}, {}, {}},
        {"sector size 0 counts as 512", drive([](sim::Drive& d) { d.sectorSize = 0; d.rawBlocks = 1000; }), 8, 0xFFFF,
         {}, {"Raw Size: 500 KB [0x3e8 Sectors]\n", "Sector Size:  0\n"}, {}, {}},
        {"outside any enclosure", drive([](sim::Drive& d) { d.enclosureId = 0xFFFF; }), 8, 0xFFFF,
         {"Enclosure Device ID: N/A\n", "Enclosure position: N/A\n"}, {}, {}, {}},
        {"outside any enclosure with a position of its own",
         drive([](sim::Drive& d) { d.enclosureId = 0xFFFF; d.position = 4; }), 8, 0xFFFF,
         {"Enclosure position: 4\n"}, {}, {}, {}},
        {"never diagnosed", drive([](sim::Drive& d) { d.diagnosticsDate.clear(); }), 8, 0xFFFF, {},
         {"Successful diagnostics completion on :  N/A\n"}, {}, {}},
        {"a foreign drive shows its stored state and no foreign lines",
         drive([](sim::Drive& d) { d.configFlags = 0x10; }), 8, 0x00, {},
         {"Firmware state: Unconfigured(good), Spun Up\n"}, {"Foreign State: None \n"}, {"Foreign Secure"}},
        {"a foreign drive without stored state", drive([](sim::Drive& d) { d.configFlags = 0x10; d.security = 0x10; }),
         8, 0xFFFF, {}, {},
         {"Foreign State: Foreign \nForeign Secure: Drive is secured by a foreign lock key\n"}, {}},
        {"spun-down hot spare", drive([](sim::Drive& d) { d.state = 0x02; d.powerState = 1; }), 8, 0xFFFF, {},
         {"Firmware state: Hotspare, Spun down\n"}, {}, {}},
        {"in transition", drive([](sim::Drive& d) { d.powerState = 0xFF; }), 8, 0xFFFF, {},
         {"Firmware state: Online, Transition\n"}, {}, {}},
        {"unknown state", drive([](sim::Drive& d) { d.state = 0x33; }), 8, 0xFFFF, {}, {"Firmware state: Unknown\n"},
         {}, {}},
        {"spun down, no temperature in the record", drive([](sim::Drive& d) { d.powerState = 1; }), 0, 0xFFFF, {}, {},
         {"Drive Temperature : N/A\n"}, {}},
        {"port 0 passive: port 1 shows the first speed",
         drive([](sim::Drive& d) { d.ports[0].passive = true; }), 8, 0xFFFF, {}, {},
         {"Port-0 :\nPort status: Passive\nPort's Linkspeed: 3.0Gb/s \n",
          "Port-1 :\nPort status: Active\nPort's Linkspeed: 6.0Gb/s \n"},
         {}},
        {"protection information", drive([](sim::Drive& d) { d.protection = 0x1A; }), 8, 0xFFFF, {}, {},
         {"PI Eligibility:  Yes \nNumber of bytes of user data in LBA: 512 \n",
          "Drive is formatted for PI information:  Yes \n", "PI: PI with type 2\n"},
         {}},
        {"not supported wins over not certified",
         drive([](sim::Drive& d) { d.unsupported = 1; d.notCertified = 1; }), 8, 0xFFFF, {}, {},
         {"Drive:  Not Supported\n"}, {"Not Certified"}},
        {"bridge and wide port", drive([](sim::Drive& d) {
             d.bridgeVendor = "BRIDGEVN";
             d.bridgeProduct = "BRPROD";
             d.bridgeRevision = "R1";
             d.widePort = true;
             d.media = "SSD";
             d.predictiveFailures = 1;
         }),
         8, 0xFFFF, {"Predictive Failure Count: 1\n"}, {},
         {"Media Type: Solid State Device\n", "Drive has flagged a S.M.A.R.T alert : Yes\n",
          "SasSataBridge Vendor :  BRIDGEVN\nSasSataBridge Product Id :  BRPROD  \n"
          "SasSataBridge Product Revision Level :  R1  Wide Port Capable\n\n\n"},
         {}},
    };
    for (const Case& c : cases) {
        Blocks b = blocksOf(c.drive, c.powerFeatures, c.foreignState);
        for (const std::string& line : c.identityLines)
            EXPECT_TRUE(hasLine(b.identity, line)) << c.what << ": " << line << "\n" << b.identity;
        for (const std::string& line : c.stateLines)
            EXPECT_TRUE(hasLine(b.state, line)) << c.what << ": " << line << "\n" << b.state;
        for (const std::string& line : c.securityLines)
            EXPECT_TRUE(hasLine(b.security, line)) << c.what << ": " << line << "\n" << b.security;
        for (const std::string& text : c.absent)
            EXPECT_FALSE(hasLine(b.identity + b.state + b.security, text)) << c.what << ": " << text;
    }
}

TEST(DriveText, TapeAndUnreadableDrive)
{
    sim::Drive tape = sasDrive();
    tape.type = 1;
    tape.interface = "FC";
    tape.linkSpeed = 4;
    Blocks b = blocksOf(tape, 8);
    EXPECT_EQ(b.identity, "Device Id: 9\n"
                          "Inquiry Data: QUILLDSKQD1000SAS       A001                    \n"
                          "SCSI Device Type : Tape\n"
                          "Interface Type: FC\n"
                          "Link Speed: 12.0Gb/s \n");
    EXPECT_EQ(b.state, "");
    EXPECT_EQ(b.security, "");

    // A device id the controller does not have: every block is empty.
    simhost::SimHostFixture host("one", onlyDrive(sasDrive(), 8));
    simhost::SimControllers controllers;
    PdDataZpr missing(controllers.controller(0), new PdIdZpr(0, 7, 77, 252));
    EXPECT_EQ(std::string(missing.toString().c_str()), "");
    EXPECT_EQ(std::string(missing.formatStateDetails().c_str()), "");
    EXPECT_EQ(std::string(missing.formatSecurityDetails().c_str()), "");
    releaseRaidManagers();
}

TEST(DriveText, WorldWideNameFromBoundedDescriptors)
{
    struct Case {
        const char* what;
        sim::Bytes vpd83;
        const char* wwn;
    };
    const Case cases[] = {
        {"a later name replaces an earlier one",
         {0, 0x83, 0, 24, 0x03, 0x08, 0, 6, 0, 0, 0, 0, 'a', 'b', 0x03, 0x08, 0, 6, 0, 0, 0, 0, 'c', 'd', 0, 0, 0, 0},
         "cd"},
        {"a name too short to hold a character is skipped",
         {0, 0x83, 0, 16, 0x03, 0x08, 0, 6, 0, 0, 0, 0, 'a', 'b', 0x03, 0x08, 0, 4, 0, 0, 0, 0}, "ab"},
        {"a descriptor reaching past the area is never copied",
         {0, 0x83, 0, 0xFF, 0x03, 0x08, 0, 6, 0, 0, 0, 0, 'a', 'b', 0x03, 0x08, 0, 0xF0, 0, 0, 0, 0, 'x'}, "ab"},
        {"a page length past the area stops at its end",
         [] {
             sim::Bytes area(128, 0);
             area[3] = 0xFF;
             return area;
         }(),
         ""},
        {"no descriptors", {0, 0x83, 0, 0}, ""},
    };
    for (const Case& c : cases) {
        sim::Drive d = sasDrive();
        d.vpd83 = c.vpd83;
        Blocks b = blocksOf(d, 8);
        EXPECT_TRUE(hasLine(b.identity, std::string("WWN: ") + c.wwn + "\nSequence")) << c.what << "\n" << b.identity;
    }
}

TEST(DriveText, SataIdentifyAndPassThroughReads)
{
    sim::Drive sata = sasDrive();
    sata.interface = "SATA";
    sata.vpd83 = {0, 0, 0, 0, 0, 0, 0, 0, 0x50, 0x01, 0x23, 0x45, 0x67, 0x89, 0xab, 0xcd};
    sata.ataSerial = "SN9";
    sata.ataModel = "QUILLDSK QD1000SAS";
    sata.ataFirmware = "A001";
    std::vector<std::string> sent;
    Blocks b = blocksOf(sata, 8, 0xFFFF, &sent);
    EXPECT_TRUE(hasLine(b.identity, "WWN: 500123456789abcd\n")) << b.identity;
    EXPECT_TRUE(hasLine(b.identity, "PD Type: SATA\n")) << b.identity;
    EXPECT_TRUE(hasLine(b.state, "Inquiry Data: SN9                 QUILLDSK QD1000SAS                      A001    "))
        << b.state;
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].substr(0, 18), "opcode=0x000000a1 ");

    // The identify read fails: the standard inquiry characters of the record instead.
    sent.clear();
    b = blocksOf(sata, 8, 0xFFFF, &sent, simhost::withStatusFault(0xA1, 0x02));
    EXPECT_TRUE(hasLine(b.state, "Inquiry Data: QUILLDSKQD1000SAS       A001                    ")) << b.state;

    // A spun-up SAS drive on a controller that keeps no temperatures in the drive record: the
    // temperature log page; spun down: no read at all.
    sim::Drive sas = sasDrive();
    sas.logTemperature = 41;
    sent.clear();
    b = blocksOf(sas, 0, 0xFFFF, &sent);
    EXPECT_TRUE(hasLine(b.security, "Drive Temperature :41C (105.80 F)\n")) << b.security;
    EXPECT_EQ(sent.size(), 2u) << "the inquiry for the FRU text and the temperature page";
    sas.powerState = 1;
    sent.clear();
    b = blocksOf(sas, 0, 0xFFFF, &sent);
    EXPECT_TRUE(hasLine(b.security, "Drive Temperature : N/A\n")) << b.security;
    EXPECT_EQ(sent.size(), 1u) << "only the inquiry";
}

TEST(DriveText, BridgeFirmwareVersionsFromTheBridgePage)
{
    sim::Drive bridged = sasDrive();
    bridged.bridgeVendor = "BRIDGEVN";
    bridged.bridgeProduct = "BRPROD";
    bridged.bridgeRevision = "R1";
    bridged.bridgeFirmwareVersion = "FW0102";
    bridged.bridgeBootLoaderVersion = "BL03";
    bridged.bridgeConfigVersion = "CF4";
    Blocks b = blocksOf(bridged, 8);
    EXPECT_TRUE(hasLine(b.security, "SasSataBridge Product Revision Level :  R1  \n"
                                    "SasSataBridge FW Version: FW0102      \n"
                                    "SasSataBridge BTLDR Ver: BL03        \n"
                                    "SasSataBridge CFG Ver: CF4     \n\n"))
        << b.security;
}
