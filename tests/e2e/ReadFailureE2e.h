// What the end-to-end tests of firmware reads that fail share: the lines that name the read
// that failed, the commands of a host's log with chosen opcodes, and hosts made from a preset or
// from a description of tests/e2e/data, their first controller edited and faults added.
#ifndef READFAILUREE2E_H
#define READFAILUREE2E_H

#include "DrivesHostTexts.h"
#include "E2eHarness.h"
#include "FirmwareCaseE2e.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

// The configuration that lists the virtual drives could not be read.
inline const std::string VD_LIST_FAILED = "Failed to get Virtual Drive list\n";

// A drive's information could not be read.
inline const std::string PD_INFO_FAILED = "Adapter #0: Failed to Perform get PD info Operation.\n";

// The drive at enclosure 252, `slot`, could not be read (its information or the drive list).
inline std::string driveUnreadable(int adapter, int slot)
{
    return "Adapter " + std::to_string(adapter) + ": Failed to Get Drive Information on Device(Encl-252 Slot-" +
           std::to_string(slot) + ")\n";
}

// The information of virtual drive `target` could not be read.
inline std::string vdDataUnreadable(int adapter, int target)
{
    return "Failed to get VD data on Adapter " + std::to_string(adapter) + ", VD " + std::to_string(target) + "\n";
}

// The commands of the host's log with one of `opcodes`, in the order sent, as
// loggedFirmwareCommands gives them.
inline Lines loggedWithOpcodes(const std::string& hostDir, const Lines& opcodes)
{
    Lines kept;
    for (const std::string& line : loggedFirmwareCommands(hostDir))
        for (const std::string& opcode : opcodes)
            if (line.find(" opcode=" + opcode + " ") != std::string::npos)
                kept.push_back(line);
    return kept;
}

// Runs on hosts made for each row; every folder made is removed after the test.
class ReadFailureE2e : public DrivesHostE2e {
protected:
    // A change to a description's first controller.
    typedef std::function<void(nlohmann::json&)> Edit;

    // The edit that merges `patch` into the controller; none for a null patch.
    static Edit merged(const nlohmann::json& patch)
    {
        if (patch.is_null())
            return nullptr;
        return [patch](nlohmann::json& controller) { controller.merge_patch(patch); };
    }

    // A host made from `name`, a quillsim preset or a description in tests/e2e/data (a name
    // ending in .json), its first controller changed by `edit` when there is one, with `faults`
    // (each the arguments of one "quillsim fault HOST ...") added.
    std::string hostNamed(const std::string& name, const Edit& edit, const std::vector<Lines>& faults)
    {
        const bool described = name.size() > 5 && name.compare(name.size() - 5, 5, ".json") == 0;
        std::string dir;
        if (!described && !edit) {
            dir = makeSimHost(name);
        } else {
            nlohmann::json description;
            if (described) {
                const std::string path = std::string(QUILL_SOURCE_DIR) + "/tests/e2e/data/" + name;
                description = nlohmann::json::parse(readFile(path));
            } else {
                const std::string preset = makeSimHost(name);
                cleanup.push_back(preset.substr(0, preset.rfind('/')));
                description = nlohmann::json::parse(readFile(preset + "/state.json"));
            }
            if (edit)
                edit(description["controllers"][0]);
            dir = makeSimHostFrom(description.dump(2));
        }
        cleanup.push_back(dir.substr(0, dir.rfind('/')));
        for (const Lines& fault : faults)
            EXPECT_EQ(addSimFault(dir, fault), "");
        return dir;
    }

    // The same with one fault, or none when `fault` is empty.
    std::string hostNamed(const std::string& name, const Edit& edit, const Lines& fault)
    {
        return hostNamed(name, edit, fault.empty() ? std::vector<Lines>() : std::vector<Lines>{fault});
    }
};

#endif
