// The simulated host as in-process test equipment for the model and processor tests: a host
// made from one of the simulator's presets (changed by the test where it needs to) in a
// temporary folder, installed as the process's OS boundary while the fixture lives, with the
// firmware commands it received read back from its command log. The firmware answers come from
// the simulator, through the product's own driver transport: a test never answers an opcode.
//
//   simhost::SimHostFixture host("two");                 // installed at once
//   simhost::SimControllers controllers;                  // discovered as a run does
//   RaidManager* manager = getRaidManager(controllers.controller(0));
//   ...
//   EXPECT_EQ(host.count(0x01010000), 1u);                // what reached the firmware
//
// Only the simulator's entry points for in-process use are taken here (a preset's model, host
// creation, the host with its boundary); tests change a host through its typed model.
#ifndef SIMHOSTFIXTURE_H
#define SIMHOSTFIXTURE_H

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "PavUtil/List.h"
#include "Simulator/SimModel.h"
#include "TestSupport.h"

class Controller;
class ControllerId;
class OsBoundary;
class LinuxControllerExplorer;
namespace sim {
class SimHost;
}

namespace simhost {

// A change of the host description before the host is made, or of its state while it runs.
typedef std::function<void(sim::HostModel&)> StateEdit;

// `count` controllers like the preset's first one, on SCSI hosts 2, 3, ... (PCI buses 3, 4, ...),
// each with its own serial number.
StateEdit withControllers(unsigned count);
// The compatibility levels in the controller information of controller `index`.
StateEdit withCompatibility(unsigned index, uint16_t forward, uint16_t backward);
// The OEM id of controller `index`.
StateEdit withOemId(unsigned index, uint8_t oemId);
// Gives controller `index` these enclosures (device ids, 8 slots each).
StateEdit withEnclosures(unsigned index, const std::vector<unsigned>& deviceIds);
// The firmware answers `status` to every command `opcode`, of every controller or of the one
// on SCSI host `scsiHost`.
StateEdit withStatusFault(uint32_t opcode, uint8_t status, int scsiHost = -1);
// No fault injected any more.
StateEdit withoutFaults();
// Runs the edits in order.
StateEdit both(const StateEdit& first, const StateEdit& second);
// The host of a description (the JSON text `quillsim create --from` takes) in place of the
// preset's; a description the simulator refuses is a test failure.
StateEdit described(const std::string& description);
// Adds the fault of a fault description (JSON, as in a description's "faults"), after taking
// away the faults on the same opcode.
StateEdit withFault(const std::string& faultDescription);

// Makes a host folder `dir` (which must not exist) from a preset's description changed by
// `edit`; false, with a test failure, when it cannot be made.
bool createHost(const std::string& dir, const std::string& preset, const StateEdit& edit = StateEdit());

class SimHostFixture {
public:
    // Makes the host; with `install` it becomes the OS boundary at once. A host that cannot be
    // made is a test failure (ready() false).
    explicit SimHostFixture(const std::string& preset = "one", const StateEdit& edit = StateEdit(),
                            bool install = true);
    // Puts the previous boundary back (when this host is installed) and removes the folder.
    ~SimHostFixture();
    SimHostFixture(const SimHostFixture&) = delete;
    SimHostFixture& operator=(const SimHostFixture&) = delete;

    bool ready() const { return host_ != nullptr; }
    const std::string& dir() const { return dir_; }
    // A file of the host folder ("<missing>" when there is none).
    std::string file(const std::string& relative) const;
    sim::SimHost& host() { return *host_; }
    // The simulated clock, in seconds.
    uint64_t clock() const;

    // Makes this host the OS boundary (and unsets SYSFS_PATH, which would reroute sysfs), or
    // puts back the boundary and SYSFS_PATH of before. Installations of several hosts nest.
    void install();
    void uninstall();
    bool installed() const { return installed_; }

    // Changes the running host's state, as a test step (saved as the host would save it).
    void change(const StateEdit& edit);

    // The firmware commands received so far, one log line each ("t=0 host=2 frame=5 opcode=...").
    std::vector<std::string> commands() const;
    // The log lines of the commands with this opcode, each from its "opcode=" on.
    std::vector<std::string> commandsWith(uint32_t opcode) const;
    // The opcodes of the commands received, in order; `scsiHost` >= 0 keeps one controller's.
    std::vector<uint32_t> opcodes(int scsiHost = -1) const;
    size_t count(uint32_t opcode, int scsiHost = -1) const;
    // Forgets the commands received so far.
    void clearCommands();

    // The transcript lines of one kind ("visibility", "disk", "open", "sleep", ...), in order,
    // each without its clock and kind.
    std::vector<std::string> records(const std::string& kind) const;
    // Forgets the transcript so far.
    void clearTranscript();

private:
    testsupport::TempDir tmp_;
    std::string dir_;
    std::unique_ptr<sim::SimHost> host_;
    bool installed_ = false;
    OsBoundary* previous_ = nullptr;   // null: the real system's
    bool hadSysfs_ = false;
    std::string savedSysfs_;
};

// The lines of a host folder's transcript (transcript.log), each without its clock ("t=N "); with
// `kind` ("shell", "visibility", ...) only those of that kind, without the kind.
std::vector<std::string> transcriptLines(const std::string& hostDir, const std::string& kind = "");

// The controllers of the installed host, discovered with an explorer of their own (the
// process-wide one keeps the driver node of the first host it saw) and made by the Linux
// controller management, numbered in discovery order as the dispatcher numbers them. The RAID
// managers, controllers and identifiers are released with the object.
class SimControllers {
public:
    SimControllers();
    ~SimControllers();
    SimControllers(const SimControllers&) = delete;
    SimControllers& operator=(const SimControllers&) = delete;

    unsigned count() const;
    // The controller of adapter number `adapter`, made on first use; null when there is none.
    Controller* controller(unsigned adapter);

    // A fresh list of new identifiers from the same explorer, as ControllerMgmt::detect gives
    // it (the caller deletes list and identifiers); null when no controller is found.
    ArrayList<ControllerId*>* detect();

    // Makes sure the process-wide supported-device list exists: tests that destroy management
    // objects release it, and discovery matches against it.
    static void keepSupportedDevices();

private:
    std::unique_ptr<LinuxControllerExplorer> explorer_;
    ArrayList<ControllerId*>* ids_ = nullptr;
    std::vector<Controller*> made_;
};

} // namespace simhost

#endif
