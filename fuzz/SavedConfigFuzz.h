// The controller of the saved-configuration target and of its seeds: four drives (device ids
// 0x10-0x13, each record's sequence number 0x20 + the id's low nibble; 0x13 online, the others
// unconfigured good, 0x11 spun down), a configuration holding one logical drive with target id
// 5, and a controller that spins drives up before they are configured.
//
// The firmware answers every read from these records and counts what would change the
// controller. It refuses the configuration add (ADD_REFUSED), so that a restore stops there:
// the target reads the file up to the point where the configuration would be sent, and the
// operating-system step after an add is never reached.
#ifndef FUZZ_SAVEDCONFIGFUZZ_H
#define FUZZ_SAVEDCONFIGFUZZ_H

#include "ScriptedController.h"

#include "DataProvider/DcmdOpcodes.h"
#include "RaidManager/Zpr/SavedConfigHeader.h"
#include "RaidManager/Zpr/Records/Config/ZprConfigBuffer.h"
#include "RaidManager/Zpr/Records/Controller/ZprControllerInfo.h"
#include "RaidManager/Zpr/Records/Drive/ZprDriveInfo.h"
#include "RaidManager/Zpr/Records/Mfc/ZprMfcOemData.h"

#include <cstring>
#include <vector>

namespace savedconfig {

const int ADD_REFUSED = 0x03;
const uint16_t FIRST_DRIVE = 0x10;
const uint16_t DRIVES = 4;
const uint16_t ONLINE_DRIVE = 0x13;
const uint16_t SPUN_DOWN_DRIVE = 0x11;
const uint8_t CONFIGURED_TARGET_ID = 5;

inline uint16_t sequenceOf(uint16_t deviceId)
{
    return static_cast<uint16_t>(0x20 + (deviceId & 0x0F));
}

class Firmware : public scripted::Firmware {
public:
    Firmware()
    {
        std::vector<uint8_t> info(ZprControllerInfo::SIZE, 0);
        scripted::put(info, ZprControllerInfo::MAX_VIRTUAL_DRIVES, 64, 1);
        scripted::put(info, ZprControllerInfo::POWER_FEATURES, 0x02, 1);
        records[DCMD_ADP_GET_INFO] = info;
        std::vector<uint8_t> oem(ZprMfcOemData::SIZE, 0);
        scripted::put(oem, ZprMfcOemData::OEM_ID, 1, 1);
        records[DCMD_ADP_MFC_GET_OEM_DATA] = oem;
        std::vector<uint8_t> drives(8 + 24 * DRIVES, 0);
        scripted::put(drives, 0, drives.size(), 4);
        scripted::put(drives, 4, DRIVES, 4);
        for (uint16_t i = 0; i < DRIVES; ++i)
            scripted::put(drives, 8 + 24 * i, FIRST_DRIVE + i, 2);
        records[DCMD_PD_GET_LIST] = drives;
        records[DCMD_PD_LIST_QUERY] = drives;
        std::vector<uint8_t> config = scripted::configBuffer(0, 1, 0);
        scripted::put(config, ZprConfigBuffer::ARRAYS + ZprLdRecord::TARGET_ID, CONFIGURED_TARGET_ID, 1);
        records[DCMD_CFG_READ] = config;
    }

    int execute(DpParams* request) override
    {
        DcmdZprDpParams* dcmd = dynamic_cast<DcmdZprDpParams*>(request);
        if (dcmd == nullptr)
            return -1;
        ++commands;
        const uint32_t opcode = dcmd->getOpcode();
        const uint32_t room = dcmd->bufferLength() < dcmd->dataLength() ? dcmd->bufferLength() : dcmd->dataLength();
        uint8_t* data = static_cast<uint8_t*>(request->dataBuffer());
        if (opcode == DCMD_CFG_ADD) {
            ++adds;
            added.assign(data, data + room);
            addLength = dcmd->dataLength();
            return ADD_REFUSED;
        }
        if (opcode == DCMD_ADP_SET_PROPERTIES || opcode == DCMD_CFG_CLEAR) {
            ++otherChanges;
            return 0;
        }
        if (opcode == DCMD_PD_LIST_OPERATION) {
            ++spinUps;
            return 0;
        }
        std::vector<uint8_t> answer;
        if (opcode == DCMD_PD_GET_INFO)
            answer = driveInfo(static_cast<uint16_t>(dcmd->getMailbox0() & 0xFFFF));
        else if (records.count(opcode) != 0)
            answer = records[opcode];
        const size_t n = answer.size() < room ? answer.size() : room;
        if (data != nullptr && n != 0)
            std::memcpy(data, answer.data(), n);
        return 0;
    }

    static std::vector<uint8_t> driveInfo(uint16_t deviceId)
    {
        std::vector<uint8_t> info(ZprDriveInfo::SIZE, 0);
        scripted::put(info, ZprDriveInfo::DEVICE_ID, deviceId, 2);
        scripted::put(info, ZprDriveInfo::SEQUENCE, sequenceOf(deviceId), 2);
        scripted::put(info, ZprDriveInfo::FIRMWARE_STATE, deviceId == ONLINE_DRIVE ? 0x18 : 0x00, 2);
        scripted::put(info, ZprDriveInfo::POWER_STATE, deviceId == SPUN_DOWN_DRIVE ? 1 : 0, 1);
        return info;
    }

    unsigned commands = 0;
    unsigned adds = 0;
    unsigned spinUps = 0;
    unsigned otherChanges = 0;
    std::vector<uint8_t> added;
    uint32_t addLength = 0;
};

// A saved file of `config` with zeroed properties, as a save writes it.
inline std::vector<uint8_t> fileOf(const std::vector<uint8_t>& config)
{
    std::vector<uint8_t> file(SavedConfigHeader::SIZE, 0);
    SavedConfigHeader header(LeView(file.data(), file.size()));
    header.build(static_cast<uint32_t>(config.size()),
                 SavedConfigHeader::checksumOf(LeView(config.data(), config.size()), static_cast<uint32_t>(config.size())));
    file.insert(file.end(), config.begin(), config.end());
    file.resize(file.size() + ZprControllerProperties::SIZE, 0);
    return file;
}

// A configuration of one array of `members` (0xFFFF: a missing member), one logical drive with
// the target id and one global spare (none for device id 0).
inline std::vector<uint8_t> configuration(const std::vector<uint16_t>& members, uint8_t targetId, uint16_t spare)
{
    std::vector<uint8_t> config = scripted::configBuffer(1, 1, spare != 0 ? 1 : 0);
    const size_t array = ZprConfigBuffer::ARRAYS;
    scripted::put(config, array + ZprArrayRecord::DRIVE_COUNT, members.size(), 1);
    for (size_t d = 0; d < members.size(); ++d)
        scripted::put(config, array + ZprArrayRecord::DRIVES + d * ZprArrayDrive::SIZE + ZprArrayDrive::DEVICE_ID,
                      members[d], 2);
    const size_t ld = array + ZprArrayRecord::SIZE;
    scripted::put(config, ld + ZprLdRecord::TARGET_ID, targetId, 1);
    scripted::put(config, ld + ZprLdRecord::SEQUENCE, 7, 2);
    if (spare != 0)
        scripted::put(config, ld + ZprLdRecord::SIZE + ZprSpareRecord::DEVICE_ID, spare, 2);
    return config;
}

}  // namespace savedconfig

#endif
