#include "SimHostFixture.h"

#include <cstdio>
#include <cstdlib>
#include <sstream>

#include "ControllerMgmt/Controller.h"
#include "ControllerMgmt/ControllerClasses.h"
#include "ControllerMgmt/ControllerMgmt.h"
#include "ControllerMgmt/LinuxControllerExplorer.h"
#include "ControllerMgmt/LinuxControllerMgmt.h"
#include "DataProvider/ControllerId.h"
#include "RaidManager/RaidManager.h"
#include "Simulator/Description/SimDescription.h"
#include "Simulator/Description/SimPresets.h"
#include "Simulator/SimHost.h"
#include "Simulator/SimTranscript.h"
#include "System/OsBoundary.h"

namespace simhost {

namespace {

const char* const COMMAND_LOG = "commands.log";

// The boundary installed when no host is: the real system's.
OsBoundary& realBoundary()
{
    static OsBoundary* real = nullptr;
    if (real == nullptr) {
        OsBoundary* installed = &osBoundary();
        setOsBoundary(nullptr);
        real = &osBoundary();
        if (installed != real)
            setOsBoundary(installed);
    }
    return *real;
}

// The value of `name=` in a log line, or -1 when the line has none.
long long field(const std::string& line, const char* name)
{
    std::string key = std::string(" ") + name + "=";
    size_t at = line.find(key);
    if (at == std::string::npos)
        return -1;
    return std::strtoll(line.c_str() + at + key.size(), nullptr, 0);
}

} // namespace

bool createHost(const std::string& dir, const std::string& preset, const StateEdit& edit)
{
    sim::HostModel model;
    if (!sim::SimPresets::state(preset, model)) {
        ADD_FAILURE() << "no simulated-host preset " << preset;
        return false;
    }
    if (edit)
        edit(model);
    if (sim::createHost(dir, model) != 0) {
        ADD_FAILURE() << "the simulated host of preset " << preset << " cannot be made in " << dir;
        return false;
    }
    return true;
}

StateEdit withControllers(unsigned count)
{
    return [count](sim::HostModel& model) {
        sim::Controller first = model.controllers.at(0);
        model.controllers.clear();
        for (unsigned i = 0; i < count; ++i) {
            sim::Controller c = first;
            c.host = static_cast<uint16_t>(2 + i);
            c.pci.bus = static_cast<uint8_t>(3 + i);
            c.info.serialNumber = "QR4080" + std::to_string(20001 + i);
            model.controllers.push_back(c);
        }
    };
}

StateEdit withCompatibility(unsigned index, uint16_t forward, uint16_t backward)
{
    return [index, forward, backward](sim::HostModel& model) {
        model.controllers.at(index).info.forwardCompatibility = forward;
        model.controllers.at(index).info.backwardCompatibility = backward;
    };
}

StateEdit withOemId(unsigned index, uint8_t oemId)
{
    return [index, oemId](sim::HostModel& model) { model.controllers.at(index).mfcOemData.oemId = oemId; };
}

StateEdit withEnclosures(unsigned index, const std::vector<unsigned>& deviceIds)
{
    return [index, deviceIds](sim::HostModel& model) {
        std::vector<sim::Enclosure>& list = model.controllers.at(index).enclosures;
        list.clear();
        for (unsigned id : deviceIds) {
            sim::Enclosure e;
            e.deviceId = static_cast<uint16_t>(id);
            e.slots = 8;
            list.push_back(e);
        }
    };
}

StateEdit withStatusFault(uint32_t opcode, uint8_t status, int scsiHost)
{
    return [opcode, status, scsiHost](sim::HostModel& model) {
        sim::Fault f;
        f.type = sim::FaultType::STATUS;
        f.opcode = opcode;
        f.status = status;
        if (scsiHost >= 0)
            f.host = static_cast<uint16_t>(scsiHost);
        model.faults.push_back(f);
    };
}

StateEdit withoutFaults()
{
    return [](sim::HostModel& model) { model.faults.clear(); };
}

StateEdit both(const StateEdit& first, const StateEdit& second)
{
    return [first, second](sim::HostModel& model) {
        if (first)
            first(model);
        if (second)
            second(model);
    };
}

StateEdit described(const std::string& description)
{
    return [description](sim::HostModel& model) {
        std::string error;
        sim::HostModel parsed;
        ASSERT_TRUE(sim::readDescription(description, parsed, error)) << error << "\n" << description;
        model = parsed;
    };
}

StateEdit withFault(const std::string& faultDescription)
{
    return [faultDescription](sim::HostModel& model) {
        std::string error;
        sim::Fault fault;
        ASSERT_TRUE(sim::readFault(faultDescription, fault, error)) << error << "\n" << faultDescription;
        std::vector<sim::Fault>& faults = model.faults;
        for (size_t i = faults.size(); i-- > 0;)
            if (faults[i].opcode == fault.opcode)
                faults.erase(faults.begin() + static_cast<long>(i));
        faults.push_back(fault);
    };
}

SimHostFixture::SimHostFixture(const std::string& preset, const StateEdit& edit, bool install)
    : tmp_("quill-simhost"), dir_(tmp_.path() + "/host")
{
    if (tmp_.path().empty()) {
        ADD_FAILURE() << "no temporary folder for the simulated host";
        return;
    }
    if (!createHost(dir_, preset, edit))
        return;
    host_.reset(new sim::SimHost(dir_));
    if (host_->load() != 0) {
        ADD_FAILURE() << "the simulated host in " << dir_ << " cannot be read";
        host_.reset();
        return;
    }
    if (install)
        this->install();
}

SimHostFixture::~SimHostFixture()
{
    uninstall();
}

void SimHostFixture::install()
{
    if (host_ == nullptr || installed_)
        return;
    const char* sysfs = getenv("SYSFS_PATH");
    hadSysfs_ = sysfs != nullptr;
    savedSysfs_ = hadSysfs_ ? sysfs : "";
    unsetenv("SYSFS_PATH");
    OsBoundary* current = &osBoundary();
    previous_ = current == &realBoundary() ? nullptr : current;
    host_->install();
    installed_ = true;
}

void SimHostFixture::uninstall()
{
    if (!installed_)
        return;
    if (previous_ == nullptr)
        host_->uninstall();
    else
        setOsBoundary(previous_);
    if (hadSysfs_)
        setenv("SYSFS_PATH", savedSysfs_.c_str(), 1);
    installed_ = false;
}

std::string SimHostFixture::file(const std::string& relative) const
{
    return testsupport::readText(dir_ + "/" + relative, "<missing>");
}

uint64_t SimHostFixture::clock() const
{
    return host_ != nullptr ? host_->state().clock() : 0;
}

void SimHostFixture::change(const StateEdit& edit)
{
    ASSERT_NE(host_, nullptr);
    edit(host_->state().model());
    host_->state().markChanged();
    ASSERT_EQ(host_->state().save(), 0) << "the changed state of " << dir_ << " is saved";
}

std::vector<std::string> SimHostFixture::commands() const
{
    std::vector<std::string> lines;
    std::string text = testsupport::readText(dir_ + "/" + COMMAND_LOG);
    size_t start = 0;
    for (size_t end = text.find('\n'); end != std::string::npos; end = text.find('\n', start)) {
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

std::vector<std::string> SimHostFixture::commandsWith(uint32_t opcode) const
{
    char key[32];
    snprintf(key, sizeof key, "opcode=0x%08x", opcode);
    std::vector<std::string> out;
    for (const std::string& line : commands())
        if (line.find(key) != std::string::npos)
            out.push_back(line.substr(line.find("opcode=")));
    return out;
}

std::vector<uint32_t> SimHostFixture::opcodes(int scsiHost) const
{
    std::vector<uint32_t> found;
    for (const std::string& line : commands()) {
        long long opcode = field(line, "opcode");
        if (opcode < 0 || (scsiHost >= 0 && field(line, "host") != scsiHost))
            continue;
        found.push_back(static_cast<uint32_t>(opcode));
    }
    return found;
}

size_t SimHostFixture::count(uint32_t opcode, int scsiHost) const
{
    size_t n = 0;
    for (uint32_t sent : opcodes(scsiHost))
        n += sent == opcode ? 1 : 0;
    return n;
}

void SimHostFixture::clearCommands()
{
    std::remove((dir_ + "/" + COMMAND_LOG).c_str());
}

std::vector<std::string> SimHostFixture::records(const std::string& kind) const
{
    return transcriptLines(dir_, kind);
}

void SimHostFixture::clearTranscript()
{
    std::remove((dir_ + "/" + sim::SimTranscript::FILE_NAME).c_str());
}

std::vector<std::string> transcriptLines(const std::string& hostDir, const std::string& kind)
{
    std::vector<std::string> lines;
    std::istringstream log(testsupport::readText(hostDir + "/" + sim::SimTranscript::FILE_NAME));
    std::string line;
    while (std::getline(log, line)) {
        const size_t blank = line.find(' ');
        if (line.rfind("t=", 0) != 0 || blank == std::string::npos)
            continue;
        const std::string record = line.substr(blank + 1);
        if (kind.empty())
            lines.push_back(record);
        else if (record.rfind(kind + " ", 0) == 0)
            lines.push_back(record.substr(kind.size() + 1));
    }
    return lines;
}

SimControllers::SimControllers() : explorer_(new LinuxControllerExplorer())
{
    ids_ = detect();
    if (ids_ != nullptr) {
        made_.assign(ids_->count(), nullptr);
        for (unsigned char i = 0; i < ids_->count(); ++i)
            ids_->get(i)->setNumber(i);
    }
}

SimControllers::~SimControllers()
{
    releaseRaidManagers();
    for (Controller* c : made_)
        Controller::release(c);
    if (ids_ != nullptr) {
        for (unsigned char i = 0; i < ids_->count(); ++i)
            delete ids_->get(i);
        delete ids_;
    }
}

unsigned SimControllers::count() const
{
    return ids_ != nullptr ? ids_->count() : 0;
}

Controller* SimControllers::controller(unsigned adapter)
{
    if (adapter >= count())
        return nullptr;
    if (made_[adapter] == nullptr)
        made_[adapter] = LinuxControllerMgmt::instance()->createController(ids_->get(static_cast<unsigned char>(adapter)));
    return made_[adapter];
}

ArrayList<ControllerId*>* SimControllers::detect()
{
    keepSupportedDevices();
    return explorer_->explore(ControllerMgmt::vendorDeviceIds());
}

void SimControllers::keepSupportedDevices()
{
    if (ControllerMgmt::vendorDeviceIds() != nullptr)
        return;
    ArrayList<VoVendorDeviceId*>* supported = OrvaneSasHwrController::supportedIds();
    ControllerMgmt::addVendorDeviceIds(supported);
    delete supported;
}

} // namespace simhost
