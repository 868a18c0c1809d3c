// Where a drive sits (behind an enclosure, the enclosure's position, the connector leading to
// it, the slot count) and what only the drive tells through pass-through reads, over drives
// that a simulated host describes.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "RaidManager/RaidElementId.h"
#include "RaidManager/RaidManager.h"
#include "RaidManager/Zpr/PdDataZpr.h"
#include "SimHostFixture.h"
#include "Simulator/SimModel.h"

namespace {

const uint16_t ENCLOSURE = 252;
const uint16_t DRIVE = 9;

// An enclosure's own device on the drive list, at position 2 with 12 slots.
sim::Drive enclosureDevice(uint16_t deviceId, std::vector<sim::DrivePort> ports)
{
    sim::Drive e;
    e.deviceId = deviceId;
    e.enclosureId = deviceId;
    e.type = 0x0d;
    e.position = 2;
    e.slotCount = 12;
    e.ports = ports;
    return e;
}

sim::Drive disk(uint16_t enclosureId)
{
    sim::Drive d;
    d.deviceId = DRIVE;
    d.enclosureId = enclosureId;
    d.slot = 3;
    return d;
}

// A controller that reports its two connectors (0 internal, 1 external), with enclosure 252
// cabled to connector 1 through its second port (the first is passive), and drive 9 in it.
void standard(sim::Controller& c)
{
    c.arrays.clear();
    c.lds.clear();
    c.spares.clear();
    c.info.reportingFeatures = 0x20;
    c.info.storageFeatures = 0x01;
    c.connectorInfo.connectors = {{2, "Port 0 - 3"}, {3, "Port 4 - 7"}};
    c.drives = {disk(ENCLOSURE), enclosureDevice(ENCLOSURE, {{0x500a, 0, true}, {0x500b, 1, false}})};
}

// The drive data of device `deviceId` on a host whose first controller `edit` describes.
class Place {
public:
    Place(const std::function<void(sim::Controller&)>& edit, uint16_t deviceId = DRIVE)
        : host("one", [edit](sim::HostModel& m) { edit(m.controllers.at(0)); })
    {
        Controller* controller = controllers.controller(0);
        EXPECT_NE(controller, nullptr);
        data.reset(new PdDataZpr(controller, new PdIdZpr(0, 0, deviceId, 0)));
    }
    ~Place()
    {
        data.reset();
        releaseRaidManagers();
    }
    // The pass-through commands sent (command-log notes "target=N cdb=...").
    std::vector<std::string> passThroughs() const
    {
        std::vector<std::string> notes;
        for (const std::string& line : host.commands())
            if (line.find(" frame=4 ") != std::string::npos)
                notes.push_back(line.substr(line.find("status=")));
        return notes;
    }
    std::string connectorName()
    {
        string* name = nullptr;
        if (data->getConnectorName(&name) != 0)
            return name == nullptr ? "<refused>" : "<refused, but a name>";
        std::string text = name->c_str();
        delete name;
        return text;
    }

    simhost::SimHostFixture host;
    simhost::SimControllers controllers;
    std::unique_ptr<PdDataZpr> data;
};

}  // namespace

TEST(DrivePlace, DriveInAnEnclosureOnAConnector)
{
    Place p(standard);
    EXPECT_EQ(p.data->isBehindEnclosure(), 1);
    uint8_t position = 0, connector = 0xEE, location = 0;
    EXPECT_EQ(p.data->getEnclosurePosition(&position), 0);
    EXPECT_EQ(position, 2);
    EXPECT_EQ(p.data->getConnectorNumber(&connector), 0);
    EXPECT_EQ(connector, 1) << "port 0 is passive: port 1's connector";
    EXPECT_EQ(p.connectorName(), "Port 4 - 7");
    EXPECT_EQ(p.data->getConnectorLocation(&location), 0);
    EXPECT_EQ(location, 3);
    uint16_t slots = 0;
    EXPECT_EQ(p.data->getEnclosureSlotCount(&slots), 0);
    EXPECT_EQ(slots, 0) << "the drive's own record: no slots";

    Place e(standard, ENCLOSURE);
    EXPECT_EQ(e.data->isBehindEnclosure(), 1);
    EXPECT_EQ(e.data->getEnclosurePosition(&position), 0);
    EXPECT_EQ(position, 2);
    EXPECT_EQ(e.data->getEnclosureSlotCount(&slots), 0);
    EXPECT_EQ(slots, 12);
}

TEST(DrivePlace, WhereTheConnectorQueriesAreRefused)
{
    struct Case {
        const char* what;
        std::function<void(sim::Controller&)> edit;
        int behind;
        int connectorStatus;
        uint8_t connector;        // after getConnectorNumber (0xEE: untouched)
        std::string name;
    };
    const Case cases[] = {
        {"a drive in no enclosure", [](sim::Controller& c) { standard(c); c.drives[0].enclosureId = 0xFFFF; }, 0, -1,
         0xEE, "<refused>"},
        {"no connector information", [](sim::Controller& c) { standard(c); c.info.reportingFeatures = 0; }, 1, -1, 0xEE,
         "<refused>"},
        {"an enclosure whose ports are passive or not cabled",
         [](sim::Controller& c) {
             standard(c);
             c.drives[1].ports = {{0x500a, 0, true}, {0x500b, 0xFF, false}};
         },
         0, -1, 0xEE, "<refused>"},
        {"an enclosure on a connector the adapter does not have",
         [](sim::Controller& c) {
             standard(c);
             c.drives[1].ports = {{0x500a, 2, false}};
         },
         0, -1, 0xEE, "<refused>"},
        {"two enclosures naming each other",
         [](sim::Controller& c) {
             standard(c);
             c.drives[1].enclosureId = 253;
             sim::Drive other = enclosureDevice(253, {{0x500c, 0, false}});
             other.enclosureId = ENCLOSURE;
             c.drives.push_back(other);
         },
         1, -1, 0xEE, "<refused>"},
    };
    for (const Case& c : cases) {
        Place p(c.edit);
        EXPECT_EQ(p.data->isBehindEnclosure(), c.behind) << c.what;
        uint8_t connector = 0xEE, position = 0xEE, location = 0xEE;
        EXPECT_EQ(p.data->getConnectorNumber(&connector), c.connectorStatus) << c.what;
        EXPECT_EQ(connector, c.connector) << c.what;
        EXPECT_EQ(p.data->getEnclosurePosition(&position), -1) << c.what;
        EXPECT_EQ(position, 0xEE) << c.what;
        EXPECT_EQ(p.connectorName(), c.name) << c.what;
        EXPECT_EQ(p.data->getConnectorLocation(&location), -1) << c.what;
        EXPECT_EQ(location, 0xEE) << c.what;
    }
}

TEST(DrivePlace, EnclosureWithoutAQualifyingPortKeepsTheConnectorUnchanged)
{
    Place e([](sim::Controller& c) {
        standard(c);
        c.drives[1].ports = {{0x500a, 0, true}, {0x500b, 0xFF, false}};
    }, ENCLOSURE);
    uint8_t connector = 0xEE;
    EXPECT_EQ(e.data->getConnectorNumber(&connector), 0);
    EXPECT_EQ(connector, 0xEE);
    EXPECT_EQ(e.connectorName(), "<refused>") << "connector 0xFF is no connector of the adapter";
}

TEST(DrivePlace, SlotCountNeedsTheControllerFlag)
{
    Place e([](sim::Controller& c) { standard(c); c.info.storageFeatures = 0; }, ENCLOSURE);
    uint16_t slots = 0xEEEE;
    EXPECT_EQ(e.data->getEnclosureSlotCount(&slots), -1);
    EXPECT_EQ(slots, 0xEEEE);
}

// ---------------------------------------------------------------------------------------------
// Pass-through reads.

TEST(DrivePassThrough, AtaIdentifyTextInItsOrder)
{
    Place p([](sim::Controller& c) {
        standard(c);
        sim::Drive& d = c.drives[0];
        d.interface = "SATA";
        d.ataSerial = "S1234567890ABCDEFGHI";
        d.ataModel = "QUILL SATA DISK 2000";
        d.ataFirmware = "FW01";
    });
    char text[68];
    uint8_t length = 0;
    ASSERT_EQ(p.data->getAtaIdentifyText(text, &length), 0);
    EXPECT_EQ(length, 68);
    EXPECT_EQ(std::string(text, 68), "S1234567890ABCDEFGHI"
                                     "QUILL SATA DISK 2000                    "
                                     "FW01    ");
    EXPECT_EQ(p.passThroughs(), (std::vector<std::string>{"status=0x00 target=9 cdb=a1080b"}));

    // A drive that does not answer the identify: its status, nothing written.
    Place sas(standard);
    memset(text, 'x', sizeof text);
    length = 0;
    EXPECT_EQ(sas.data->getAtaIdentifyText(text, &length), 0x2d);
    EXPECT_EQ(length, 0);
    EXPECT_EQ(text[0], 'x');
}

TEST(DrivePassThrough, FruCruTextOfItsVendorOnly)
{
    struct Case {
        const char* vendor;
        uint8_t found;
    };
    const Case cases[] = {{"IBM-ESXS", 1}, {"IBM", 0}, {"QUILLDSK", 0}};
    for (const Case& c : cases) {
        Place p([&c](sim::Controller& ctl) {
            standard(ctl);
            ctl.drives[0].vendor = c.vendor;
            ctl.drives[0].fruText = "49Y1234";
        });
        uint8_t found = 0xEE;
        uint8_t text[12];
        memset(text, 0, sizeof text);
        EXPECT_EQ(p.data->getFruCru(&found, text), 0) << c.vendor;
        EXPECT_EQ(found, c.found) << c.vendor;
        if (c.found) {
            EXPECT_EQ(std::string(reinterpret_cast<char*>(text), 12), "49Y1234     ");
        }
    }
}

TEST(DrivePassThrough, EnclosureModelData)
{
    auto model = [](const char* vendor, const char* product) {
        return [=](sim::Controller& c) {
            standard(c);
            sim::Drive& e = c.drives[1];
            e.vendor = vendor;
            e.product = product;
            e.enclosureSerial = "SN000042";
            e.vpd01 = sim::Bytes(32, 0);
            const char fru[] = "43W7580 ";
            for (size_t i = 0; i < 8; ++i)
                e.vpd01[8 + i] = static_cast<uint8_t>(fru[i]);
            e.vpd01[5] = 'A';
            e.vpd01[6] = 'B';
            e.vpd01[7] = 'C';
            for (size_t i = 0; i < 6; ++i)
                e.vpd01[26 + i] = static_cast<uint8_t>('1' + i);
            e.vpdC3 = sim::Bytes(12, 0);
            e.vpdC3[8] = 'Z';
            e.vpdC3[11] = '2';
        };
    };
    struct Case {
        const char* what;
        const char* vendor;
        const char* product;
        uint8_t isModel;
        size_t passThroughs;
    };
    const Case cases[] = {
        {"a model, product padded with blanks", "IBM", "EXP2512", 1, 3},
        {"the other model", "IBM", "EXP2524", 1, 3},
        {"the FRU/CRU vendor is no enclosure model", "IBM-ESXS", "EXP2512", 0, 1},
        {"another product", "IBM", "EXP3000", 0, 1},
    };
    for (const Case& c : cases) {
        Place p(model(c.vendor, c.product), ENCLOSURE);
        uint8_t isModel = 0xEE, serial[8] = {}, field3[3] = {}, fru[8] = {}, esm[6] = {}, zoning[4] = {9, 9, 9, 9};
        EXPECT_EQ(p.data->getEnclosureModelData(&isModel, serial, field3, fru, esm, zoning), -1)
            << "the record was not loaded yet";
        EXPECT_EQ(isModel, 0);
        EXPECT_EQ(std::string(reinterpret_cast<char*>(zoning), 4), std::string(4, '\0'));
        uint16_t id = 0;
        ASSERT_EQ(p.data->getDeviceId(&id), 0);
        p.host.clearCommands();
        EXPECT_EQ(p.data->getEnclosureModelData(&isModel, serial, field3, fru, esm, zoning), 0) << c.what;
        EXPECT_EQ(isModel, c.isModel) << c.what;
        EXPECT_EQ(p.passThroughs().size(), c.passThroughs) << c.what;
        if (c.isModel) {
            EXPECT_EQ(std::string(reinterpret_cast<char*>(serial), 8), "SN000042");
            EXPECT_EQ(std::string(reinterpret_cast<char*>(field3), 3), "ABC");
            EXPECT_EQ(std::string(reinterpret_cast<char*>(fru), 8), "43W7580 ");
            EXPECT_EQ(std::string(reinterpret_cast<char*>(esm), 6), "123456");
            EXPECT_EQ(std::string(reinterpret_cast<char*>(zoning), 4), std::string("Z\0\0" "2", 4));
        }
    }
}

TEST(DrivePassThrough, LogPages)
{
    Place p([](sim::Controller& c) {
        standard(c);
        c.drives[0].logTemperature = 41;
        c.drives[0].bridgeFirmwareVersion = "FW 1.2.3";
        c.drives[0].bridgeBootLoaderVersion = "BL 0.9";
        c.drives[0].bridgeConfigVersion = "CFG7";
    });
    uint8_t page[158];
    memset(page, 0, sizeof page);
    EXPECT_EQ(p.data->readTemperaturePage(page), 0);
    EXPECT_EQ(page[9], 41);
    memset(page, 0, sizeof page);
    EXPECT_EQ(p.data->readBridgeFirmwarePage(page, DRIVE), 0);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(page) + 126, 12), "FW 1.2.3    ");
    EXPECT_EQ(std::string(reinterpret_cast<char*>(page) + 150, 8), "CFG7    ");
    EXPECT_EQ(p.passThroughs(), (std::vector<std::string>{"status=0x00 target=9 cdb=4d004d",
                                                          "status=0x00 target=9 cdb=4d0075"}));
    // A device that does not answer the page: the status's low 8 bits.
    EXPECT_EQ(p.data->readBridgeFirmwarePage(page, ENCLOSURE), 0x2d);
    EXPECT_EQ(p.data->readBridgeFirmwarePage(page, 77), 0x0c);
}

TEST(DriveTexts, Trimming)
{
    struct Case {
        const char* text;
        const char* trailing;
        const char* leading;
        const char* both;
    };
    const Case cases[] = {
        {"  IBM  ", "  IBM", "IBM  ", "IBM"},
        {"EXP2512         ", "EXP2512", "EXP2512         ", "EXP2512"},
        {"\t a b \n", "\t a b", "a b \n", "a b"},
        {"   ", "", "", ""},
        {"", "", "", ""},
    };
    for (const Case& c : cases) {
        char buffer[32];
        strcpy(buffer, c.text);
        EXPECT_STREQ(PdDataZpr::trimTrailingSpaces(buffer), c.trailing) << "[" << c.text << "]";
        strcpy(buffer, c.text);
        EXPECT_STREQ(PdDataZpr::trimLeadingSpaces(buffer), c.leading) << "[" << c.text << "]";
        strcpy(buffer, c.text);
        EXPECT_STREQ(PdDataZpr::trimSpaces(buffer), c.both) << "[" << c.text << "]";
    }
    EXPECT_EQ(PdDataZpr::trimSpaces(nullptr), nullptr);
}

TEST(DrivePlace, PartnerDrive)
{
    Place none(standard);
    PhysicalDevice* partner = reinterpret_cast<PhysicalDevice*>(0x1);
    EXPECT_EQ(none.data->getPartnerDevice(&partner), -1);
    EXPECT_EQ(partner, reinterpret_cast<PhysicalDevice*>(0x1));

    Place paired([](sim::Controller& c) {
        standard(c);
        c.drives[0].partnerId = ENCLOSURE;
    });
    ASSERT_EQ(paired.data->getPartnerDevice(&partner), 0);
    ASSERT_NE(partner, nullptr);
    uint16_t id = 0;
    EXPECT_EQ(partner->getDeviceId(&id), 0);
    EXPECT_EQ(id, ENCLOSURE);
}

TEST(DrivePlace, EnclosureWithoutProperty)
{
    struct Case {
        const char* what;
        std::vector<uint16_t> listed;   // enclosures of the enclosure list
        uint8_t property;
        int answer;
    };
    const Case cases[] = {
        {"listed without property", {ENCLOSURE}, 0xFF, 1},
        {"listed with a property", {ENCLOSURE}, 1, 0},
        {"not listed", {253}, 1, 1},
    };
    for (const Case& c : cases) {
        Place p([&c](sim::Controller& ctl) {
            standard(ctl);
            ctl.enclosures.clear();
            for (uint16_t id : c.listed) {
                sim::Enclosure e;
                e.deviceId = id;
                e.connector = c.property;
                ctl.enclosures.push_back(e);
            }
        });
        EXPECT_EQ(p.data->hasNoEnclosureProperty(), c.answer) << c.what;
    }
}
