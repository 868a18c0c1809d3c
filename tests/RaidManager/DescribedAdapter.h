// The adapter data of one controller described in the host-description format, made as a run
// makes it, over a simulated host installed in-process; the firmware commands it sends are read
// back from the host's command log, and what the host keeps from its saved state.
#ifndef DESCRIBEDADAPTER_H
#define DESCRIBEDADAPTER_H

#include <gtest/gtest.h>

#include <memory>
#include <cstdio>
#include <string>
#include <vector>

#include "RaidManager/Zpr/AdapterDataZpr.h"
#include "SimHostFixture.h"
#include "Simulator/Description/SimDescription.h"

namespace describedadapter {

// The host of one controller on SCSI host 2 described by `fields` (the keys of its object).
inline simhost::StateEdit described(const std::string& fields)
{
    return simhost::described("{\"controllers\": [{\"host\": 2" + (fields.empty() ? "" : ", " + fields) + "}]}");
}

// The firmware answers `status` to `opcode` once (or every time).
inline simhost::StateEdit failing(uint32_t opcode, uint8_t status, sim::FaultMode mode = sim::FaultMode::ONCE)
{
    return [opcode, status, mode](sim::HostModel& model) {
        sim::Fault f;
        f.type = sim::FaultType::STATUS;
        f.opcode = opcode;
        f.status = status;
        f.mode = mode;
        model.faults.push_back(f);
    };
}

// The adapter data of the described controller; commands are counted from its making on.
class DescribedAdapter {
public:
    // `faults` are added once the controller is made (making it reads its information).
    explicit DescribedAdapter(const std::string& fields, const simhost::StateEdit& faults = simhost::StateEdit())
        : host("one", described(fields))
    {
        Controller* controller = controllers.controller(0);
        EXPECT_NE(controller, nullptr);
        if (faults)
            host.change(faults);
        data.reset(new AdapterDataZpr(controller, nullptr));
        host.clearCommands();
    }

    size_t sent(uint32_t opcode) const { return host.count(opcode); }
    // The command-log lines of one opcode ("... opcode=0x07040000 ... len=59 status=0x00 ...").
    std::vector<std::string> lines(uint32_t opcode) const
    {
        char key[32];
        snprintf(key, sizeof key, "opcode=0x%08x ", opcode);
        std::vector<std::string> found;
        for (const std::string& line : host.commands())
            if (line.find(key) != std::string::npos)
                found.push_back(line);
        return found;
    }
    // The controller as the host saved it.
    sim::Controller saved() const
    {
        sim::HostModel model;
        std::string error;
        EXPECT_TRUE(sim::readDescription(host.file("state.json"), model, error)) << error;
        return model.controllers.empty() ? sim::Controller() : model.controllers.at(0);
    }
    // A new adapter data object over the same controller, as the next run would make it.
    void renew()
    {
        data.reset(new AdapterDataZpr(controllers.controller(0), nullptr));
        host.clearCommands();
    }

    simhost::SimHostFixture host;
    simhost::SimControllers controllers;
    std::unique_ptr<AdapterDataZpr> data;
};

}  // namespace describedadapter

#endif
