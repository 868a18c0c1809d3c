// The saved-configuration file (-CfgRestore): the input is the file, read through an
// in-memory stream in place of the named file, and restored onto the controller of
// SavedConfigFuzz.h up to the point where the configuration would be added.
//
// What must hold for every input:
// - the run opens no file but the input, and that only for reading (no file is written);
// - a file the reader refuses sends no firmware command at all;
// - nothing that changes the controller is sent unless the configuration add is reached, and
//   then the add carries exactly the file's buffer size, a buffer whose structure holds, every
//   drive entry with the present drive's sequence number (or a missing member) and every
//   logical drive with sequence number 0; the restore then ends with the add's refusal.
#include "FuzzSupport.h"
#include "SavedConfigFuzz.h"

#include "PavUtil/FileIO.h"
#include "RaidManager/RaidManager.h"
#include "RaidManager/Zpr/SavedConfigFile.h"
#include "RaidManager/Zpr/ZprData.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

const char* const FILE_NAME = "saved.cfg";
std::vector<uint8_t> fileBytes;

// The one file the run may open: the input, read only.
FILE* openInput(const char* path, const char* mode)
{
    if (std::strcmp(path, FILE_NAME) != 0 || std::strcmp(mode, "rb") != 0) {
        std::fprintf(stderr, "fuzz: the restore opened %s with \"%s\"\n", path, mode);
        std::abort();
    }
    // A stream over no bytes cannot be made; an empty file reads the same as one that ends
    // at once, so a stream over /dev/null stands for it.
    if (fileBytes.empty())
        return std::fopen("/dev/null", "rb");
    return fmemopen(fileBytes.data(), fileBytes.size(), "rb");
}

void check(bool holds, const char* what)
{
    if (!holds) {
        std::fprintf(stderr, "fuzz: %s\n", what);
        std::abort();
    }
}

// The add's buffer: its structure holds, and it carries what the controller has now.
void checkAdded(const savedconfig::Firmware& firmware, uint32_t fileConfigSize)
{
    std::vector<uint8_t> sent = firmware.added;
    check(firmware.addLength == fileConfigSize && sent.size() == fileConfigSize, "the add's length is not the file's size");
    ZprConfigBuffer config(sent.data(), sent.size());
    check(SavedConfigFile::holds(config, fileConfigSize), "the add carries a buffer whose structure does not hold");
    for (uint32_t a = 0; a < config.arrayCount(); ++a) {
        const ZprArrayRecord array = config.arrayRecord(a);
        for (uint32_t d = 0; d < array.driveEntryCount(); ++d) {
            const ZprArrayDrive entry = array.drive(d);
            const uint16_t id = entry.deviceId();
            const bool present = id >= savedconfig::FIRST_DRIVE && id < savedconfig::FIRST_DRIVE + savedconfig::DRIVES;
            check(id == 0xFFFF || present, "the add names a drive that is not present");
            check(id != savedconfig::ONLINE_DRIVE, "the add names a drive in use");
            check(!present || entry.sequenceNumber() == savedconfig::sequenceOf(id), "a drive's old sequence number");
        }
    }
    for (uint32_t l = 0; l < config.ldCount(); ++l) {
        check(config.ldRecord(l).sequenceNumber() == 0, "a logical drive keeps its sequence number");
        check(config.ldRecord(l).targetId() != savedconfig::CONFIGURED_TARGET_ID, "a configured target id is added");
    }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    quietConsole();
    forbidPlatformCalls();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    resetConsole();
    fileBytes.assign(data, data + size);
    setFileStreamOpener(openInput);
    SavedConfigFile file;
    const bool accepted = file.read(FILE_NAME) == 0;
    const uint32_t configSize = file.configSize();
    savedconfig::Firmware firmware;
    scripted::TestController controller(&firmware);
    RaidManager* manager = getRaidManager(&controller);
    check(manager != nullptr, "no manager");
    const int result = manager->restoreConfig(FILE_NAME);
    if (!accepted)
        check(result == -1 && firmware.commands == 0, "a refused file reached the controller");
    if (firmware.adds == 0) {
        check(result != 0, "a restore without an add succeeded");
        check(firmware.spinUps == 0 && firmware.otherChanges == 0, "a refused restore changed the controller");
    } else {
        check(firmware.adds == 1 && result == savedconfig::ADD_REFUSED && firmware.otherChanges == 0,
              "the restore went on past the refused add");
        checkAdded(firmware, configSize);
    }
    releaseRaidManagers();
    ZprData::releaseAll();
    return 0;
}
