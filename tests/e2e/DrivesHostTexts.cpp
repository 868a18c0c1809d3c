#include "DrivesHostTexts.h"

#include <algorithm>

std::string driveText(const Shown& d)
{
    return "Enclosure Device ID: 252\nSlot Number: " + std::to_string(d.slot) + "\n" + d.position +
           "Enclosure position: N/A\nDevice Id: " + std::to_string(d.deviceId) +
           "\nWWN: \nSequence Number: 1\nMedia Error Count: 0\nOther Error Count: 0\n"
           "Predictive Failure Count: 0\nLast Predictive Failure Event Seq Number: 0\nPD Type: SAS\n" +
           (d.spare.empty() ? "\n" : d.spare) +
           "Raw Size: 931.512 GB [0x74706db0 Sectors]\nNon Coerced Size: 931.512 GB [0x74706db0 Sectors]\n"
           "Coerced Size: 931.0 GB [0x74600000 Sectors]\nSector Size:  512\nFirmware state: " +
           d.state +
           "\nDevice Firmware Level: A001\nShield Counter: 0\nSuccessful diagnostics completion on :  N/A\n"
           "Connected Port Number: 0 \nInquiry Data: QUILLDSKQD1000SAS       A001                    \n"
           "FDE Capable: Not Capable\nFDE Enable: Disable\nSecured: Unsecured\nLocked: Unlocked\n"
           "Needs EKM Attention: No\nForeign State: None \nDevice Speed: 6.0Gb/s \nLink Speed: 6.0Gb/s \n"
           "Media Type: Hard Disk Device\nDrive Temperature :" +
           d.temperature +
           "\nPI Eligibility:  No \nDrive is formatted for PI information:  No\nPI: No PI\n"
           "Drive has flagged a S.M.A.R.T alert : No\n\n\n\n";
}

std::string position(int group, int span, int arm)
{
    return "Drive's position: DiskGroup: " + std::to_string(group) + ", Span: " + std::to_string(span) +
           ", Arm: " + std::to_string(arm) + "\n";
}

// The drives of tests/e2e/data/drives-host.json, by slot.
const std::vector<Shown>& describedDrives()
{
    static const std::vector<Shown> drives = {
        {8, 0, "Online, Spun Up", "30C (86.00 F)", position(1, 0, 0), ""},
        {9, 1, "Online, Spun Up", "31C (87.80 F)", position(1, 0, 1), ""},
        {10, 2, "Online, Spun Up", "30C (86.00 F)", position(0, 0, 0), ""},
        {11, 3, "Online, Spun Up", "30C (86.00 F)", position(0, 0, 1), ""},
        {12, 4, "Online, Spun Up", "30C (86.00 F)", position(0, 0, 2), ""},
        {13, 5, "Hotspare, Spun Up", "29C (84.20 F)", "", "Hotspare Information: \nType: Dedicated\nArray #: 0\n"},
        {14, 6, "Unconfigured(good), Spun Up", "33C (91.40 F)", "", ""},
    };
    return drives;
}

nlohmann::json drivesHost()
{
    return nlohmann::json::parse(readFile(std::string(QUILL_SOURCE_DIR) + "/tests/e2e/data/drives-host.json"));
}

// How many of the logged commands carry the opcode.
size_t sent(const std::vector<std::string>& log, const std::string& opcode)
{
    return static_cast<size_t>(std::count_if(log.begin(), log.end(), [&](const std::string& line) {
        return line.find("opcode=" + opcode + " ") != std::string::npos;
    }));
}

