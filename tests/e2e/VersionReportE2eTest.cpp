// The version report ("-Version -Ctrl|-Cli|-Driver|-Pd") through the real binary and simulated
// hosts: console, exit code, and the firmware commands each controller received.
#include "FirmwareCaseE2e.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <nlohmann/json.hpp>

namespace {

using namespace e2ecase;

const std::string BANNER = "\n      QuillCLI SAS RAID Management Tool  Ver 1.02.00 Dec 10, 2026\n\n";

class VersionReportE2e : public FirmwareCaseE2e {};

// One adapter of the "one" preset; the report reads the controller information itself.
Lines onAdapter0(const char* status = "0x00")
{
    return Lines{sent(2, INFO)} + action(2, false, {sent(2, INFO, status)});
}

const std::string CTRL_HEADING = "\t\tCTRL VERSION:\n\t\t================\n\n";
const std::string CTRL_LINES =
    "Product Name : QuillRAID SAS 4080-8i\nSerial No : QR408009999\nFw Package Build : 4.80.0-0123\n";
const nlohmann::json SERIAL = {{"info", {{"serialNumber", "QR408009999"}}}};

}  // namespace

TEST_F(VersionReportE2e, ControllerAndProgram)
{
    const nlohmann::json noApp = {{"info", {{"serialNumber", "QR408009999"},
                                            {"images", {{{"name", "BIOS"}, {"version", "6.10.02.0"}}}}}}};
    const nlohmann::json appSecond = {{"info", {{"serialNumber", "QR408009999"},
                                                {"images", {{{"name", "BIOS"}, {"version", "6.10.02.0"}},
                                                            {{"name", "APPX"}, {"version", "9.1"}}}}}}};
    const nlohmann::json oem8 = {{"mfcOemData", {{"oemId", 8}}}};
    expectRuns({
        {"-Ctrl", "one", SERIAL, {}, {"-Version", "-Ctrl", "-a0"}, 0,
         BLANK_OUT + CTRL_HEADING + CTRL_LINES + "FW Version : 4.800.00-1234\n" + exitLine("00"), onAdapter0(), {}},
        {"no APP image: an empty line", "one", noApp, {}, {"-Version", "-Ctrl", "-a0"}, 0,
         BLANK_OUT + CTRL_HEADING + CTRL_LINES + "\n" + exitLine("00"), onAdapter0(), {}},
        {"the first image whose name begins with APP", "one", appSecond, {}, {"-Version", "-Ctrl", "-a0"}, 0,
         BLANK_OUT + CTRL_HEADING + CTRL_LINES + "FW Version : 9.1\n" + exitLine("00"), onAdapter0(), {}},
        {"-Cli shows the common banner also on an OEM 8 controller", "one", oem8, {}, {"-Version", "-Cli", "-a0"}, 0,
         BLANK_OUT + BANNER + exitLine("00"), onAdapter0(), {}},
        {"the information read fails, also for -Cli", "one", {}, {{"status", INFO, "0x2d", "--from", "3"}},
         {"-Version", "-Cli", "-a0"}, 0x2d,
         BLANK_OUT + "Adapter #0: Failed to Perform AdpAll information Operation.\n" + DEVICE_BUSY + exitLine("2d"),
         onAdapter0("0x2d"), {}},
        {"no kind word: nothing, -1", "one", {}, {}, {"-Version", "-a0"}, 1, BLANK_OUT + exitLine("01"), onAdapter0(),
         {}},
        {"-Uefi: nothing, -1", "one", {}, {}, {"-Version", "-Uefi", "-a0"}, 1, BLANK_OUT + exitLine("01"), onAdapter0(),
         {}},
        {"-aALL", "two", {}, {}, {"-Version", "-Cli", "-aALL"}, 0, BLANK_OUT + BANNER + BANNER + exitLine("00"),
         Lines{sent(2, INFO), sent(3, INFO)} + action(2, false, {sent(2, INFO)}) + action(3, false, {sent(3, INFO)}), {}},
    }, {});
}

TEST_F(VersionReportE2e, DriverAndDrives)
{
    const nlohmann::json drives = {
        {"enclosures", {{{"deviceId", 252}}}},
        {"drives", {{{"deviceId", 8}, {"enclosureId", 252}, {"slot", 4}, {"product", "QD1000SAS       "},
                     {"revision", "QR07"}},
                    {{"deviceId", 9}, {"slot", 1}, {"product", "QD2000"}}}},
    };
    const nlohmann::json driver = {{"info", {{"driverVersion", "07.01.02.03"}}}};
    expectRuns({
        {"-Driver", "one", driver, {}, {"-Version", "-Driver", "-a0"}, 0,
         BLANK_OUT + "\n\t\tDRIVER VERSION:\n\t\t================\n\nDriver Name:        quillraid_sas\n"
                     "Driver Version:     07.01.02.03\n" + exitLine("00"),
         onAdapter0(), {}},
        // A product text that fills its 16 bytes runs on into the revision; a drive without
        // enclosure shows 65535.
        {"-Pd", "one", drives, {}, {"-Version", "-Pd", "-a0"}, 0,
         BLANK_OUT + "Location\tModel\t        Fw Version\n252 4 \t\tQD1000SAS       QR07\n65535 1 \t\tQD2000\n" +
             exitLine("00"),
         onAdapter0(), {}},
    }, {});
}
