// SCSI pass-through to the controller's drives, addressed by the low 8 bits of a drive's device
// id: ATA identify of a SATA drive (through ATA PASS-THROUGH(12)), standard inquiry and the VPD
// pages 0x01 and 0xC3, the temperature (0x0D) and bridge-firmware (0x35) log pages, and the
// headers of the primary and grown defect lists (READ DEFECT DATA(12)); and an enclosure's SES
// configuration (01h) and enclosure status (02h) pages, answered to RECEIVE DIAGNOSTIC RESULTS at
// the low 8 bits of the enclosure's device id. What a drive is not described to answer ends with
// a device error (0x2d); a target without a drive, or a logical-drive frame, with 0x0c.
#include "Simulator/Firmware/SimFirmware.h"

#include <algorithm>
#include <cstdio>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace sim {

namespace {

const uint32_t CDB_INQUIRY = 0x12;
const uint32_t CDB_LOG_SENSE = 0x4D;
const uint32_t CDB_ATA_PASS_THROUGH_12 = 0xA1;
const uint32_t CDB_READ_DEFECT_DATA_12 = 0xB7;
const uint32_t CDB_RECEIVE_DIAGNOSTIC = 0x1C;

const uint8_t ATA_IDENTIFY_DEVICE = 0xEC;
const size_t ATA_IDENTIFY_SIZE = 512;
const size_t INQUIRY_SIZE = 256;
const size_t TEMPERATURE_PAGE_SIZE = 32;
const size_t BRIDGE_PAGE_SIZE = 158;
const size_t DEFECT_HEADER_SIZE = 8;
const uint32_t DEFECT_ENTRY_SIZE = 8;      // format 5: physical sector
const uint8_t DEFECT_LIST_PRIMARY = 0x10;  // CDB byte 1: PLIST bit
const uint8_t DEFECT_LIST_GROWN = 0x08;    // GLIST bit

// The command log notes the target and the command block's first three bytes ("target=9
// cdb=4d004d"); false for a logical-drive frame.
bool notePassThrough(SimCommand& cmd)
{
    char note[40];
    snprintf(note, sizeof note, "target=%u cdb=%02x%02x%02x", cmd.target, cmd.cdb[0], cmd.cdb[1], cmd.cdb[2]);
    cmd.note = note;
    return cmd.frameCommand == FRAME_PD_SCSI_IO;
}

// The drive addressed.
Drive* targetDrive(Controller& c, SimCommand& cmd)
{
    if (!notePassThrough(cmd))
        return nullptr;
    for (Drive& d : c.drives)
        if ((d.deviceId & 0xFF) == cmd.target)
            return &d;
    return nullptr;
}

// A text padded with blanks to its field, as inquiry and ATA texts are.
void putPadded(Bytes& r, size_t off, size_t width, const std::string& s)
{
    for (size_t i = 0; i < width; ++i)
        put8(r, off + i, i < s.size() ? static_cast<uint8_t>(s[i]) : ' ');
}

// An ATA text: two characters per 16-bit word, the first in the word's high byte.
void putAtaText(Bytes& r, size_t off, size_t width, const std::string& s)
{
    for (size_t i = 0; i < width; ++i)
        put8(r, off + (i ^ 1), i < s.size() ? static_cast<uint8_t>(s[i]) : ' ');
}

uint8_t ataPassThrough(SimState&, Controller& c, SimCommand& cmd)
{
    Drive* d = targetDrive(c, cmd);
    if (!d)
        return FW_STATUS_NO_DEVICE;
    const bool identify = cmd.cdb[9] == ATA_IDENTIFY_DEVICE;
    const bool described = !d->ataSerial.empty() || !d->ataModel.empty() || !d->ataFirmware.empty();
    if (!identify || d->interface != "SATA" || !described)
        return FW_STATUS_SCSI_ERROR;
    Bytes r(ATA_IDENTIFY_SIZE, 0);
    putAtaText(r, 20, 20, d->ataSerial);
    putAtaText(r, 46, 8, d->ataFirmware);
    putAtaText(r, 54, 40, d->ataModel);
    return fwReply(cmd, r);
}

uint8_t inquiry(SimState&, Controller& c, SimCommand& cmd)
{
    Drive* d = targetDrive(c, cmd);
    if (!d)
        return FW_STATUS_NO_DEVICE;
    if ((cmd.cdb[1] & 1) != 0) {
        const Bytes* page = cmd.cdb[2] == 0x01 ? &d->vpd01 : cmd.cdb[2] == 0xC3 ? &d->vpdC3 : nullptr;
        if (!page || page->empty())
            return FW_STATUS_SCSI_ERROR;
        Bytes r(INQUIRY_SIZE, 0);
        putBytes(r, 0, *page);
        return fwReply(cmd, r);
    }
    Bytes r(INQUIRY_SIZE, 0);
    put8(r, 0, d->type);
    put8(r, 4, INQUIRY_SIZE - 5);
    putPadded(r, 8, 8, d->vendor);
    putPadded(r, 16, 16, d->product);
    putPadded(r, 32, 4, d->revision);
    if (!d->enclosureSerial.empty())
        putPadded(r, 36, 8, d->enclosureSerial);
    if (!d->fruText.empty())
        putPadded(r, 114, 12, d->fruText);
    return fwReply(cmd, r);
}

uint8_t logSense(SimState&, Controller& c, SimCommand& cmd)
{
    Drive* d = targetDrive(c, cmd);
    if (!d)
        return FW_STATUS_NO_DEVICE;
    const uint8_t page = cmd.cdb[2] & 0x3F;
    if (page == 0x0D) {
        Bytes r(TEMPERATURE_PAGE_SIZE, 0);
        put8(r, 0, 0x0D);
        put8(r, 3, TEMPERATURE_PAGE_SIZE - 4);
        put8(r, 9, d->logTemperature);
        return fwReply(cmd, r);
    }
    const bool bridged =
        !d->bridgeFirmwareVersion.empty() || !d->bridgeBootLoaderVersion.empty() || !d->bridgeConfigVersion.empty();
    if (page == 0x35 && bridged) {
        Bytes r(BRIDGE_PAGE_SIZE, 0);
        put8(r, 0, 0x35);
        put8(r, 3, BRIDGE_PAGE_SIZE - 4);
        putPadded(r, 126, 12, d->bridgeFirmwareVersion);
        putPadded(r, 138, 12, d->bridgeBootLoaderVersion);
        putPadded(r, 150, 8, d->bridgeConfigVersion);
        return fwReply(cmd, r);
    }
    return FW_STATUS_SCSI_ERROR;
}

// READ DEFECT DATA(12): the header of the list asked for (primary or grown), its length in
// bytes (8 per entry, capped at what the 16-bit length field holds) at bytes 2-3. A drive
// described to reject the list ends with a device error.
uint8_t readDefectData(SimState&, Controller& c, SimCommand& cmd)
{
    Drive* d = targetDrive(c, cmd);
    if (!d)
        return FW_STATUS_NO_DEVICE;
    const bool primary = (cmd.cdb[1] & DEFECT_LIST_PRIMARY) != 0;
    const bool grown = (cmd.cdb[1] & DEFECT_LIST_GROWN) != 0;
    if (primary == grown || (primary && d->rejectsPrimaryDefects) || (grown && d->rejectsGrownDefects))
        return FW_STATUS_SCSI_ERROR;
    const uint64_t entries = primary ? d->primaryDefects : d->grownDefects;
    const uint64_t bytes = entries * DEFECT_ENTRY_SIZE;
    const uint16_t length = bytes > 0xFFFF ? 0xFFFF : static_cast<uint16_t>(bytes);
    Bytes r(DEFECT_HEADER_SIZE, 0);
    put8(r, 1, static_cast<uint8_t>(cmd.cdb[1] & 0x1F));
    put8(r, 2, static_cast<uint8_t>(length >> 8));
    put8(r, 3, static_cast<uint8_t>(length & 0xFF));
    return fwReply(cmd, r);
}

// An enclosure's element types: those described, else one per count of its list entry (the
// slots as array device slots), every element OK (status code 1) and every temperature 25 C.
std::vector<SesElementType> sesElementTypes(const Enclosure& e)
{
    if (!e.sesElements.empty())
        return e.sesElements;
    const std::pair<uint8_t, uint8_t> counted[] = {{0x17, e.slots},  {0x02, e.powerSupplies}, {0x03, e.fans},
                                                   {0x04, e.temperatureSensors}, {0x06, e.alarms},
                                                   {0x07, e.simModules}};
    std::vector<SesElementType> types;
    for (const auto& c : counted) {
        SesElementType t;
        t.type = c.first;
        t.count = c.second;
        const Bytes element = {0x01, 0, static_cast<uint8_t>(c.first == 0x04 ? 45 : 0), 0};
        for (unsigned i = 0; i < c.second; ++i)
            t.status.insert(t.status.end(), element.begin(), element.end());
        types.push_back(t);
    }
    return types;
}

// A page of at least SES_PAGE_SIZE bytes whose first `used` bytes are the page: its code, its
// big-endian length (the bytes after the first four, unless described), the patch laid over.
Bytes sesPage(uint8_t code, size_t used, std::optional<uint16_t> length)
{
    Bytes r(used > SES_PAGE_SIZE ? used : SES_PAGE_SIZE, 0);
    put8(r, 0, code);
    const uint16_t reported = length ? *length : static_cast<uint16_t>(used - 4);
    put8(r, 2, static_cast<uint8_t>(reported >> 8));
    put8(r, 3, static_cast<uint8_t>(reported));
    return r;
}

// 01h: the header, one enclosure descriptor (its length at byte 11), then a 4-byte type
// descriptor header per element type: the type and its number of possible elements.
Bytes sesConfigurationPage(const Enclosure& e)
{
    const std::vector<SesElementType> types = sesElementTypes(e);
    const size_t headers = 12 + e.sesDescriptorLength;
    Bytes r = sesPage(0x01, headers + 4 * types.size(), e.sesConfigLength);
    put8(r, 10, e.sesTypeCount ? *e.sesTypeCount : static_cast<uint8_t>(types.size()));
    put8(r, 11, e.sesDescriptorLength);
    for (size_t i = 0; i < types.size(); ++i) {
        put8(r, headers + 4 * i, types[i].type);
        put8(r, headers + 4 * i + 1, types[i].count);
    }
    applyPatch(r, e.sesConfigPatch);
    return r;
}

// 02h: after 8 header bytes, per element type its overall element and its `count` individual
// elements, 4 bytes each.
Bytes sesStatusPage(const Enclosure& e)
{
    const std::vector<SesElementType> types = sesElementTypes(e);
    size_t used = 8;
    for (const SesElementType& t : types)
        used += SES_ELEMENT_SIZE * (1 + t.count);
    Bytes r = sesPage(0x02, used, e.sesStatusLength);
    size_t at = 8;
    for (const SesElementType& t : types) {
        putBytes(r, at, t.overall);
        const size_t room = SES_ELEMENT_SIZE * t.count;
        putBytes(r, at + SES_ELEMENT_SIZE,
                 Bytes(t.status.begin(), t.status.begin() + static_cast<long>(std::min(room, t.status.size()))));
        at += SES_ELEMENT_SIZE + room;
    }
    applyPatch(r, e.sesStatusPatch);
    return r;
}

uint8_t receiveDiagnostic(SimState&, Controller& c, SimCommand& cmd)
{
    if (!notePassThrough(cmd))
        return FW_STATUS_NO_DEVICE;
    for (const Enclosure& e : c.enclosures) {
        if ((e.deviceId & 0xFF) != cmd.target)
            continue;
        if (cmd.cdb[2] == 0x01)
            return fwReply(cmd, sesConfigurationPage(e));
        if (cmd.cdb[2] == 0x02)
            return fwReply(cmd, sesStatusPage(e));
        return FW_STATUS_SCSI_ERROR;
    }
    return FW_STATUS_NO_DEVICE;
}

const FwRegistration registration({
    fwRead(CDB_READ_DEFECT_DATA_12, 0, readDefectData, FrameKind::DCDB),
    fwRead(CDB_INQUIRY, 0, inquiry, FrameKind::DCDB),
    fwRead(CDB_LOG_SENSE, 0, logSense, FrameKind::DCDB),
    fwRead(CDB_ATA_PASS_THROUGH_12, 0, ataPassThrough, FrameKind::DCDB),
    fwRead(CDB_RECEIVE_DIAGNOSTIC, 0, receiveDiagnostic, FrameKind::DCDB),
});

} // namespace

} // namespace sim
