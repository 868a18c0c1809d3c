// Writes the seed corpus of the firmware targets: small, well-formed answers (a controller
// with a few drives, one array, one logical drive and a spare), each cut into its target's
// input with fuzzInputFor; and the saved files of the saved-configuration target. Run by
// scripts/fuzz.sh --seeds; the seeds are kept in fuzz/corpus/<target>/.
#include "FirmwareFuzz.h"
#include "SavedConfigFuzz.h"

#include "RaidManager/Zpr/Records/Config/ZprConfigBuffer.h"

#include <cstdio>
#include <string>
#include <sys/stat.h>

namespace {

typedef std::vector<uint8_t> Record;

void put(Record& record, size_t offset, uint64_t value, int width)
{
    scripted::put(record, offset, value, width);
}

Record controllerInfo()
{
    Record info(ZprControllerInfo::SIZE, 0);
    put(info, ZprControllerInfo::MAX_VIRTUAL_DRIVES, 64, 1);
    put(info, ZprControllerInfo::FW_FORWARD_COMPAT, 1, 2);
    return info;
}

Record batteryControllerInfo()
{
    Record info = controllerInfo();
    put(info, ZprControllerInfo::DEVICES_PRESENT, 1, 1);
    return info;
}

Record oemData()
{
    Record oem(ZprMfcOemData::SIZE, 0);
    put(oem, ZprMfcOemData::OEM_ID, 1, 1);
    return oem;
}

Record ldList(uint32_t count)
{
    Record list(ZprLdList::ENTRIES + count * ZprLdList::ENTRY_SIZE, 0);
    put(list, ZprLdList::COUNT, count, 4);
    for (uint32_t i = 0; i < count; ++i)
        put(list, ZprLdList::ENTRIES + i * ZprLdList::ENTRY_SIZE + ZprLdList::ENTRY_TARGET_ID, i, 1);
    return list;
}

Record ldIdList(uint32_t count)
{
    Record list((count == 0 ? 1 : count) * ZprLdIdList::UNIT, 0);
    put(list, ZprListHeader::SIZE, list.size(), 4);
    put(list, ZprListHeader::COUNT, count, 4);
    for (uint32_t i = 0; i < count; ++i)
        put(list, ZprLdIdList::IDS + i, i, 1);
    return list;
}

Record enclosureList(uint32_t count)
{
    Record list(ZprEnclosureList::ENTRIES + count * ZprEnclosureEntry::SIZE, 0);
    put(list, ZprEnclosureList::COUNT, count, 4);
    for (uint32_t i = 0; i < count; ++i)
        put(list, ZprEnclosureList::ENTRIES + i * ZprEnclosureEntry::SIZE + ZprEnclosureEntry::DEVICE_ID, 0x20 + i, 2);
    return list;
}

// One array of the first two drives of scripted::pdList, one logical drive, one spare.
Record configuration()
{
    Record config = scripted::configBuffer(1, 1, 1);
    put(config, ZprConfigBuffer::ARRAYS + ZprArrayRecord::DRIVE_COUNT, 2, 1);
    for (uint32_t d = 0; d < 2; ++d)
        put(config, ZprConfigBuffer::ARRAYS + ZprArrayRecord::DRIVES + d * ZprArrayDrive::SIZE + ZprArrayDrive::DEVICE_ID,
            0x10 + d, 2);
    return config;
}

// A SAS disk with device id 0x10 (the id the target asks for) and its inquiry text.
Record driveInfo()
{
    Record info(ZprDriveInfo::SIZE, 0);
    put(info, ZprDriveInfo::DEVICE_ID, 0x10, 2);
    put(info, ZprDriveInfo::SEQUENCE, 1, 2);
    const char inquiry[] = "QUILL   DISK-1TB        0001";
    for (size_t i = 0; i + 1 < sizeof inquiry; ++i)
        put(info, ZprDriveInfo::VENDOR + i, static_cast<uint8_t>(inquiry[i]), 1);
    put(info, ZprDriveInfo::PORT_COUNT, 2, 1);
    put(info, ZprDriveInfo::SAS_ADDRESSES, 0x5000C50012345678ULL, 8);
    return info;
}

// The key=value texts of a controller, each with its NUL, after the block's 4-byte word.
Record keyValues()
{
    Record block(ZprKeyValueBlock::SIZE, 0);
    const char texts[] = "boardName=QR4080\0delaySOD=30\0";
    for (size_t i = 0; i + 1 < sizeof texts; ++i)
        put(block, 4 + i, static_cast<uint8_t>(texts[i]), 1);
    return block;
}

// A type-1 battery in its optimal state, with the smart battery's flags and readings.
Record bbuStatus()
{
    Record status(ZprBbuStatus::SIZE, 0);
    put(status, ZprBbuStatus::TYPE, 1, 1);
    put(status, ZprBbuStatus::VOLTAGE, 4050, 2);
    put(status, ZprBbuStatus::GAS_GAUGE, 0xa0, 2);
    put(status, ZprBbuStatus::READINGS, 100, 2);
    put(status, ZprBbuStatus::CHARGE_TIME, 12, 1);
    return status;
}

// Learning enabled in mode 2 of the list.
Record bbuProperties()
{
    Record properties(ZprBbuProperties::SIZE, 0);
    put(properties, ZprBbuProperties::AUTO_LEARN_PERIOD, 2419200, 4);
    put(properties, ZprBbuProperties::BBU_MODE, 2, 1);
    return properties;
}

// Two modes.
Record bbuModeList()
{
    Record list(ZprBbuModeList::sizeFor(2), 0);
    put(list, ZprBbuModeList::COUNT, 2, 4);
    for (size_t i = 0; i < 2; ++i) {
        size_t at = ZprBbuModeList::FIRST_RECORD + i * ZprBbuModeList::RECORD_SIZE;
        put(list, at + ZprBbuModeList::MODE_ID, i + 1, 1);
        put(list, at + ZprBbuModeList::RETENTION_HOURS, 24 * (i + 1), 1);
        put(list, at + ZprBbuModeList::SERVICE_LIFE, 3, 1);
    }
    return list;
}

bool write(const std::string& folder, const std::string& name, const std::vector<uint8_t>& input)
{
    ::mkdir(folder.c_str(), 0755);
    std::string path = folder + "/" + name;
    FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr)
        return false;
    bool ok = std::fwrite(input.data(), 1, input.size(), file) == input.size();
    return std::fclose(file) == 0 && ok;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <corpus folder>\n", argv[0]);
        return 2;
    }
    const std::string root = argv[1];
    bool ok = true;
    ok &= write(root + "/controllerinfo", "seed-info", fuzzInputFor(layout::CONTROLLER_INFO, {oemData(), controllerInfo()}));
    ok &= write(root + "/ldlist", "seed-two", fuzzInputFor(layout::LD_LIST, {ldIdList(2), ldList(2)}));
    ok &= write(root + "/ldlist", "seed-none", fuzzInputFor(layout::LD_LIST, {ldIdList(0), ldList(0)}));
    ok &= write(root + "/ldinfo", "seed-two", fuzzInputFor(layout::LD_INFO, {ldList(2), controllerInfo(), Record(ZprLdInfo::SIZE, 0)}));
    ok &= write(root + "/enclosurelist", "seed-two", fuzzInputFor(layout::ENCLOSURE_LIST, {enclosureList(2)}));
    ok &= write(root + "/config", "seed-one-of-each", fuzzInputFor(layout::CONFIG, {scripted::pdList(3), configuration()}));
    ok &= write(root + "/config", "seed-empty", fuzzInputFor(layout::CONFIG, {scripted::pdList(0), scripted::configBuffer(0, 0, 0)}));
    ok &= write(root + "/drivelist", "seed-three", fuzzInputFor(layout::DRIVE_LIST, {scripted::pdList(2), scripted::pdList(3)}));
    ok &= write(root + "/driveinfo", "seed-sas-disk", fuzzInputFor(layout::DRIVE_INFO, {driveInfo()}));
    ok &= write(root + "/adpallinfo", "seed-info",
                fuzzInputFor(layout::ADP_ALL_INFO, {Record(ZprMfcMfgData::SIZE, 0), keyValues(), oemData(),
                                                    Record(ZprMfcDefaults::SIZE, 0), Record(ZprBiosData::SIZE, 0),
                                                    Record(ZprControllerTime::SIZE, 0), Record(ZprMfcFruData::SIZE, 0),
                                                    controllerInfo()}));
    ok &= write(root + "/bbu", "seed-battery",
                fuzzInputFor(layout::BBU, {Record(ZprBbuDesignInfo::SIZE, 0), bbuProperties(), Record(ZprBbuCapacityInfo::SIZE, 0),
                                           Record(ZprMfcFruData::SIZE, 0), oemData(), batteryControllerInfo(), bbuModeList(),
                                           bbuStatus()}));
    // Saved files for the drives of SavedConfigFuzz.h: one that reaches the add (with the
    // spun-down drive and a spare), one with a missing member, and one refused at each check of
    // the drives and target ids.
    namespace sc = savedconfig;
    ok &= write(root + "/savedconfig", "seed-restorable", sc::fileOf(sc::configuration({0x10, 0x11}, 0, 0x12)));
    ok &= write(root + "/savedconfig", "seed-missing-member", sc::fileOf(sc::configuration({0x10, 0xFFFF}, 1, 0)));
    ok &= write(root + "/savedconfig", "seed-drive-in-use", sc::fileOf(sc::configuration({0x13}, 0, 0)));
    ok &= write(root + "/savedconfig", "seed-target-configured", sc::fileOf(sc::configuration({0x10}, 5, 0)));
    ok &= write(root + "/savedconfig", "seed-absent-drive", sc::fileOf(sc::configuration({0x30}, 0, 0)));
    if (!ok)
        std::fprintf(stderr, "%s: cannot write the seeds under %s\n", argv[0], root.c_str());
    return ok ? 0 : 1;
}
