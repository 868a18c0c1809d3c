// The saved-configuration file through the model, over simulated hosts: the file a save
// writes (read back byte by byte), saves that fail and what they leave, the files a restore
// refuses before it sends anything, and what a restore sends and leaves on the controller.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "PavUtil/LeView.h"
#include "RaidManager/RaidManager.h"
#include "RaidManager/Zpr/SavedConfigHeader.h"
#include "SimHostFixture.h"
#include "Simulator/SimHost.h"
#include "Simulator/SimModel.h"
#include "Simulator/SimState.h"

namespace {

const uint32_t CFG_READ = 0x04010000;
const uint32_t CFG_ADD = 0x04020000;
const uint32_t GET_PROPERTIES = 0x01020100;
const uint32_t SET_PROPERTIES = 0x01020200;
const uint32_t PD_LIST_OPERATION = 0x020D0200;

// The file of the host below: an 88-byte header, a buffer of 616 bytes (header, one array,
// one logical drive, one spare) and the 64-byte properties.
const size_t FILE_SIZE = 768;
const size_t BUFFER = 88;
const size_t BUFFER_SIZE = 616;
const size_t ARRAY = BUFFER + 32;
const size_t LD = ARRAY + 288;
const size_t SPARE = LD + 256;
const size_t PROPERTIES = BUFFER + BUFFER_SIZE;

uint64_t le(const std::string& bytes, size_t at, int width)
{
    uint64_t value = 0;
    for (int i = width - 1; i >= 0; --i)
        value = (value << 8) | static_cast<uint8_t>(bytes.at(at + i));
    return value;
}

void putLe(std::string& bytes, size_t at, uint64_t value, int width)
{
    for (int i = 0; i < width; ++i)
        bytes.at(at + i) = static_cast<char>(value >> (8 * i));
}

// The test's own checksum: 0 minus the sum of the buffer's size / 4 words.
void fixChecksum(std::string& file)
{
    const uint32_t size = static_cast<uint32_t>(le(file, 40, 4));
    uint32_t sum = 0;
    for (size_t at = 0; at + 4 <= size && BUFFER + at + 4 <= file.size(); at += 4)
        sum += static_cast<uint32_t>(le(file, BUFFER + at, 4));
    putLe(file, 44, 0u - sum, 4);
}

void writeBytes(const std::string& path, const std::string& bytes)
{
    FILE* f = fopen(path.c_str(), "wb");
    ASSERT_NE(f, nullptr) << path;
    fwrite(bytes.data(), 1, bytes.size(), f);
    fclose(f);
}

sim::Controller& model(sim::HostModel& m) { return m.controllers.at(0); }
const sim::Controller& state(simhost::SimHostFixture& host) { return host.host().state().model().controllers.at(0); }

sim::Drive* drive(sim::Controller& c, uint16_t deviceId)
{
    for (sim::Drive& d : c.drives)
        if (d.deviceId == deviceId)
            return &d;
    return nullptr;
}

void removeDrive(sim::Controller& c, uint16_t deviceId)
{
    for (size_t i = 0; i < c.drives.size(); ++i)
        if (c.drives[i].deviceId == deviceId) {
            c.drives.erase(c.drives.begin() + static_cast<long>(i));
            return;
        }
}

// The preset's mirror (target id 0 on drives 8 and 9, array 0) and drive 10 as a global spare.
void withSpare(sim::HostModel& m)
{
    sim::Spare spare;
    spare.deviceId = 10;
    model(m).spares = {spare};
    drive(model(m), 10)->state = 0x02;
}

// The configuration cleared as a clear leaves it: every drive unconfigured good.
void cleared(sim::HostModel& m)
{
    sim::Controller& c = model(m);
    c.lds.clear();
    c.arrays.clear();
    c.spares.clear();
    for (sim::Drive& d : c.drives)
        d.state = sim::PD_STATE_UNCONFIGURED_GOOD;
}

struct Manager {
    simhost::SimControllers controllers;
    RaidManager* manager = getRaidManager(controllers.controller(0));
};

bool exists(const std::string& path)
{
    struct stat st;
    return ::lstat(path.c_str(), &st) == 0;
}

// A host with the spare, whose configuration was saved into `file` (the saved bytes in
// `saved`) and which was then changed by `edit`; its command log is empty.
struct SavedHost {
    explicit SavedHost(const simhost::StateEdit& edit = simhost::StateEdit()) : host("one", withSpare)
    {
        {
            Manager m;
            EXPECT_EQ(m.manager->saveConfig(file.c_str()), 0);
        }
        saved = testsupport::readText(file, "<missing>");
        if (edit)
            host.change(edit);
        host.clearCommands();
    }
    // The restore of `bytes` (of `path` when given), and only its commands in the log.
    int restore(const std::string& bytes, const std::string& path = "")
    {
        writeBytes(file, bytes);
        Manager m;
        host.clearCommands();
        return m.manager->restoreConfig((path.empty() ? file : path).c_str());
    }
    // Nothing that changes the controller reached it.
    bool nothingChanged() const
    {
        return host.count(CFG_ADD) == 0 && host.count(SET_PROPERTIES) == 0 && host.count(PD_LIST_OPERATION) == 0;
    }

    simhost::SimHostFixture host;
    std::string file = host.dir() + "/saved.cfg";
    std::string saved;
};

}  // namespace

TEST(SavedConfig, SaveWritesHeaderBufferAndProperties)
{
    simhost::SimHostFixture host("one", withSpare);
    Manager m;
    const std::string file = host.dir() + "/saved.cfg";
    ASSERT_EQ(m.manager->saveConfig(file.c_str()), 0);
    const std::string bytes = testsupport::readText(file);
    ASSERT_EQ(bytes.size(), FILE_SIZE);
    EXPECT_EQ(bytes.substr(0, 8), std::string("1.00.00\0", 8));
    EXPECT_EQ(bytes.substr(8, 32), std::string("ORVANESASCONFIGSTRUCT") + std::string(11, '\0'));
    EXPECT_EQ(le(bytes, 40, 4), 616u);
    EXPECT_EQ(le(bytes, 48, 8), 0x300u) << "the total length: size + 152";
    EXPECT_EQ(bytes.substr(56, 32), std::string(32, '\0'));
    uint32_t sum = static_cast<uint32_t>(le(bytes, 44, 4));
    for (size_t at = BUFFER; at < PROPERTIES; at += 4)
        sum += static_cast<uint32_t>(le(bytes, at, 4));
    EXPECT_EQ(sum, 0u) << "words and checksum add up to 0";
    // The buffer as the controller gave it: its size, one record of each kind, the members and
    // the spare; then the properties record with the controller's sequence number and rates.
    EXPECT_EQ(le(bytes, BUFFER, 4), 616u);
    EXPECT_EQ(le(bytes, BUFFER + 4, 2), 1u);
    EXPECT_EQ(le(bytes, BUFFER + 8, 2), 1u);
    EXPECT_EQ(le(bytes, BUFFER + 12, 2), 1u);
    EXPECT_EQ(le(bytes, ARRAY + 8, 1), 2u);
    EXPECT_EQ(le(bytes, ARRAY + 32, 2), 8u);
    EXPECT_EQ(le(bytes, ARRAY + 40, 2), 9u);
    EXPECT_EQ(le(bytes, LD + 32, 1), 1u) << "RAID 1";
    EXPECT_EQ(le(bytes, SPARE, 2), 10u);
    EXPECT_EQ(le(bytes, PROPERTIES, 2), 1u);
    EXPECT_EQ(le(bytes, PROPERTIES + 8, 1), 30u) << "the rebuild rate";
    EXPECT_FALSE(exists(file + ".tmp"));
    EXPECT_EQ(host.count(CFG_ADD) + host.count(SET_PROPERTIES), 0u) << "a save changes nothing";
}

TEST(SavedConfig, AFailedSaveKeepsThePreviousFile)
{
    struct Case {
        const char* what;
        std::function<void(const std::string& dir)> prepare;
        std::string target;               // relative to the host folder
        uint32_t faultOpcode;             // 0: none
        int result;
        bool previousKept;                // a file "previous" at the target stays as it was
    };
    const std::vector<Case> cases = {
        {"a directory that does not exist", [](const std::string&) {}, "missing/saved.cfg", 0, -1, false},
        {"the temporary name is taken by a directory",
         [](const std::string& dir) { ::mkdir((dir + "/saved.cfg.tmp").c_str(), 0700);
                                      writeBytes(dir + "/saved.cfg.tmp/x", "x"); },
         "saved.cfg", 0, -1, true},
        {"the target cannot be replaced",
         [](const std::string& dir) { ::mkdir((dir + "/dir.cfg").c_str(), 0700); writeBytes(dir + "/dir.cfg/x", "x"); },
         "dir.cfg", 0, -1, false},
        {"the configuration cannot be read", [](const std::string&) {}, "saved.cfg", CFG_READ, 0x2d, true},
        {"the properties cannot be read", [](const std::string&) {}, "saved.cfg", GET_PROPERTIES, 0x2d, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        simhost::SimHostFixture host("one", c.faultOpcode != 0 ? simhost::withStatusFault(c.faultOpcode, 0x2d)
                                                               : simhost::StateEdit());
        const std::string target = host.dir() + "/" + c.target;
        c.prepare(host.dir());
        if (c.previousKept)
            writeBytes(target, "previous");
        Manager m;
        EXPECT_EQ(m.manager->saveConfig(target.c_str()), c.result);
        if (c.previousKept) {
            EXPECT_EQ(testsupport::readText(target), "previous");
        } else if (c.target == "dir.cfg") {
            EXPECT_EQ(testsupport::readText(target + "/x"), "x");
        } else {
            EXPECT_FALSE(exists(target));
        }
        if (c.target != "saved.cfg" || c.faultOpcode != 0) {
            EXPECT_FALSE(exists(target + ".tmp")) << "the temporary file is removed";
        }
    }
}

TEST(SavedConfig, ALeftoverTemporaryNameIsReplacedWithoutFollowingALink)
{
    simhost::SimHostFixture host("one");
    const std::string file = host.dir() + "/saved.cfg";
    writeBytes(host.dir() + "/victim", "victim");
    ASSERT_EQ(::symlink((host.dir() + "/victim").c_str(), (file + ".tmp").c_str()), 0);
    writeBytes(file, "previous");
    Manager m;
    ASSERT_EQ(m.manager->saveConfig(file.c_str()), 0);
    EXPECT_EQ(testsupport::readText(host.dir() + "/victim"), "victim");
    EXPECT_EQ(testsupport::readText(file).size(), 728u) << "a buffer of 576 bytes";
    EXPECT_FALSE(exists(file + ".tmp"));
}

TEST(SavedConfig, TheChecksumLeavesTrailingBytesOut)
{
    uint8_t bytes[] = {1, 0, 0, 0, 2, 0, 0, 0, 0xff, 0xff, 0xff};
    EXPECT_EQ(SavedConfigHeader::checksumOf(LeView(static_cast<const uint8_t*>(bytes), sizeof bytes), 11), 0xFFFFFFFDu);
    bytes[10] = 0;
    EXPECT_EQ(SavedConfigHeader::checksumOf(LeView(static_cast<const uint8_t*>(bytes), sizeof bytes), 11), 0xFFFFFFFDu);
}

TEST(SavedConfig, ARestoreRefusesADamagedFileWithoutSendingAnything)
{
    struct Case {
        const char* what;
        std::function<void(std::string&)> damage;
        bool checksumFixed;               // the damage is hidden from the checksum
    };
    const std::vector<Case> cases = {
        {"one byte longer than its length field", [](std::string& f) { f.push_back('\0'); }, false},
        {"one byte shorter", [](std::string& f) { f.pop_back(); }, false},
        {"a signature one letter off", [](std::string& f) { f[8 + 6] = 'F'; }, false},
        {"one bit of the buffer flipped", [](std::string& f) { f[LD + 4] ^= 0x01; }, false},
        {"a size below a configuration header",
         [](std::string& f) {
             f = f.substr(0, BUFFER + 16) + f.substr(PROPERTIES);
             putLe(f, 40, 16, 4);
             putLe(f, 48, 168, 8);
         },
         true},
        {"a size that does not fill the file", [](std::string& f) { putLe(f, 40, 612, 4); }, true},
        {"the buffer's own size differs", [](std::string& f) { putLe(f, BUFFER, 620, 4); }, true},
        {"an array record size of 280", [](std::string& f) { putLe(f, BUFFER + 6, 280, 2); }, true},
        {"counts beyond the buffer", [](std::string& f) { putLe(f, BUFFER + 4, 2, 2); }, true},
        {"33 drives in an array", [](std::string& f) { putLe(f, ARRAY + 8, 33, 1); }, true},
        {"9 spans in a logical drive", [](std::string& f) { putLe(f, LD + 37, 9, 1); }, true},
        {"17 array references of a spare", [](std::string& f) { putLe(f, SPARE + 7, 17, 1); }, true},
        {"an empty file", [](std::string& f) { f.clear(); }, false},
        {"a header alone", [](std::string& f) { f.resize(88); putLe(f, 48, 88, 8); }, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SavedHost h(cleared);
        std::string bytes = h.saved;
        c.damage(bytes);
        if (c.checksumFixed)
            fixChecksum(bytes);
        EXPECT_EQ(h.restore(bytes), -1);
        EXPECT_TRUE(h.host.commands().empty()) << "the file is refused before the controller is asked anything";
    }
    SavedHost h(cleared);
    EXPECT_EQ(h.restore(h.saved, h.host.dir() + "/none.cfg"), -1) << "no such file";
    EXPECT_TRUE(h.host.commands().empty());
}

TEST(SavedConfig, ARestoreTakesAnotherVersionAndBytesAfterTheSignature)
{
    const std::vector<std::pair<const char*, std::function<void(std::string&)>>> cases = {
        {"version 9.99.99", [](std::string& f) { f.replace(0, 7, "9.99.99"); }},
        {"bytes after the signature's NUL", [](std::string& f) { f[8 + 22] = 'X'; f[8 + 31] = 'Y'; }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.first);
        SavedHost h(cleared);
        std::string bytes = h.saved;
        c.second(bytes);
        EXPECT_EQ(h.restore(bytes), 0);
        EXPECT_EQ(state(h.host).lds.size(), 1u);
    }
}

TEST(SavedConfig, ARestoreSendsTheFileFittedToTheControllerOfNow)
{
    // Since the save: the configuration cleared, drives 8 and 10 with new records, the
    // properties changed (their sequence number moved on to 5).
    SavedHost h([](sim::HostModel& m) {
        cleared(m);
        drive(model(m), 8)->sequence = 0x31;
        drive(model(m), 10)->sequence = 0x44;
        model(m).properties.sequence = 5;
        model(m).properties.rebuildRate = 77;
    });
    ASSERT_EQ(h.restore(h.saved), 0);
    const std::vector<uint32_t> sent = h.host.opcodes();
    std::vector<uint32_t> changes;
    for (uint32_t op : sent)
        if (op == CFG_ADD || op == SET_PROPERTIES || op == PD_LIST_OPERATION)
            changes.push_back(op);
    EXPECT_EQ(changes, (std::vector<uint32_t>{CFG_ADD, SET_PROPERTIES}));
    bool fullLength = false;
    for (const std::string& line : h.host.commands())
        fullLength = fullLength || line.find("opcode=0x04020000 mbox=0x00000000,0x00000000,0x00000000 len=616 status=0x00") !=
                                       std::string::npos;
    EXPECT_TRUE(fullLength) << "the buffer is sent with the header's size, taken by the controller";
    // The controller took the drives' current sequence numbers and the logical drive's cleared
    // one (it refuses anything else), and the properties with its own sequence number, which
    // it then moved on.
    const sim::Controller& c = state(h.host);
    ASSERT_EQ(c.lds.size(), 1u);
    EXPECT_EQ(c.lds[0].targetId, 0);
    EXPECT_EQ(c.lds[0].raidLevel, 1);
    ASSERT_EQ(c.arrays.size(), 1u);
    EXPECT_EQ(c.arrays[0].drives, (std::vector<uint16_t>{8, 9}));
    ASSERT_EQ(c.spares.size(), 1u);
    EXPECT_EQ(c.spares[0].deviceId, 10);
    EXPECT_EQ(c.drives[0].state, sim::PD_STATE_ONLINE);
    EXPECT_EQ(c.properties.rebuildRate, 30);
    EXPECT_EQ(c.properties.sequence, 6) << "5 sent, then moved on; the saved 1 would give 2";
}

TEST(SavedConfig, ARestoreRefusesDrivesAndTargetIdsBeforeChangingAnything)
{
    struct Case {
        const char* what;
        simhost::StateEdit edit;
    };
    const std::vector<Case> cases = {
        {"a member drive gone", [](sim::HostModel& m) { cleared(m); removeDrive(model(m), 9); }},
        {"the spare's drive gone", [](sim::HostModel& m) { cleared(m); removeDrive(model(m), 10); }},
        {"the configuration still there", [](sim::HostModel&) {}},
        {"the spare's drive a JBOD drive", [](sim::HostModel& m) { cleared(m); drive(model(m), 10)->state = 0x40; }},
        {"target id 0 configured on another drive",
         [](sim::HostModel& m) {
             cleared(m);
             sim::Array a;
             a.ref = 1;
             a.drives = {11};
             sim::LogicalDrive ld;
             ld.targetId = 0;
             ld.drives = {11};
             sim::Span span;
             span.array = 1;
             ld.spans = {span};
             model(m).arrays = {a};
             model(m).lds = {ld};
             drive(model(m), 11)->state = sim::PD_STATE_ONLINE;
         }},
        {"a spun-down member and the spare gone: no spin-up",
         [](sim::HostModel& m) {
             cleared(m);
             model(m).info.powerFeatures = 0x02;
             drive(model(m), 8)->powerState = 1;
             removeDrive(model(m), 10);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SavedHost h(c.edit);
        EXPECT_EQ(h.restore(h.saved), -1);
        EXPECT_TRUE(h.nothingChanged());
    }
}

TEST(SavedConfig, ARestoreKeepsAMissingMember)
{
    SavedHost h([](sim::HostModel& m) {
        cleared(m);
        removeDrive(model(m), 9);
    });
    std::string bytes = h.saved;
    putLe(bytes, ARRAY + 40, 0xFFFF, 2);
    fixChecksum(bytes);
    ASSERT_EQ(h.restore(bytes), 0);
    const sim::Controller& c = state(h.host);
    ASSERT_EQ(c.arrays.size(), 1u);
    EXPECT_EQ(c.arrays[0].drives, (std::vector<uint16_t>{8, 0xFFFF}));
    ASSERT_EQ(c.lds.size(), 1u);
    EXPECT_EQ(c.lds[0].state, 2) << "degraded";
}

TEST(SavedConfig, ARestoreSpinsDrivesUpOnlyAfterTheChecks)
{
    SavedHost h([](sim::HostModel& m) {
        cleared(m);
        model(m).info.powerFeatures = 0x02;
        drive(model(m), 9)->powerState = 1;
    });
    ASSERT_EQ(h.restore(h.saved), 0);
    std::vector<uint32_t> changes;
    for (uint32_t op : h.host.opcodes())
        if (op == CFG_ADD || op == SET_PROPERTIES || op == PD_LIST_OPERATION)
            changes.push_back(op);
    EXPECT_EQ(changes, (std::vector<uint32_t>{PD_LIST_OPERATION, CFG_ADD, SET_PROPERTIES})) << "drive 9 alone";
    EXPECT_EQ(state(h.host).drives[1].powerState, 0);
}

TEST(SavedConfig, ARestoreReturnsTheFirmwaresRefusal)
{
    struct Case {
        const char* what;
        uint32_t opcode;
        std::vector<uint32_t> changes;
        size_t lds;
    };
    const std::vector<Case> cases = {
        {"the spin-up", PD_LIST_OPERATION, {PD_LIST_OPERATION}, 0},
        {"the configuration add", CFG_ADD, {PD_LIST_OPERATION, CFG_ADD}, 0},
        {"the properties write: the configuration stays", SET_PROPERTIES,
         {PD_LIST_OPERATION, CFG_ADD, SET_PROPERTIES}, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SavedHost h(simhost::both(
            [](sim::HostModel& m) {
                cleared(m);
                model(m).info.powerFeatures = 0x02;
                drive(model(m), 8)->powerState = 1;
            },
            simhost::withStatusFault(c.opcode, 0x0c)));
        EXPECT_EQ(h.restore(h.saved), 0x0c);
        std::vector<uint32_t> changes;
        for (uint32_t op : h.host.opcodes())
            if (op == CFG_ADD || op == SET_PROPERTIES || op == PD_LIST_OPERATION)
                changes.push_back(op);
        EXPECT_EQ(changes, c.changes);
        EXPECT_EQ(state(h.host).lds.size(), c.lds);
    }
}
