// Firmware flash commands of the simulated firmware: a download is opened with the image's
// size, receives the image in pieces, each starting where the bytes so far end and staying
// within that size, and is committed only when it holds all of them. The commit takes the
// "APP" version and the package version from the image. A close is accepted in any state.
#include "Simulator/Firmware/SimFirmware.h"
#include "Simulator/Firmware/SimFirmwareValues.h"
#include "Simulator/Firmware/SimFlashImage.h"
#include "Simulator/SimState.h"

namespace sim {

namespace {

const uint32_t OP_FLASH_OPEN = 0x010F0100;
const uint32_t OP_FLASH_DOWNLOAD = 0x010F0200;
const uint32_t OP_FLASH_COMMIT = 0x010F0300;
const uint32_t OP_FLASH_CLOSE = 0x010F0400;

typedef FlashDownload::Phase Phase;

bool receiving(const FlashDownload& d)
{
    return d.phase == Phase::OPEN || d.phase == Phase::RECEIVING;
}

uint8_t flashOpen(SimState&, Controller& c, SimCommand& cmd)
{
    if (receiving(c.flash))
        return FW_STATUS_FLASH_BUSY;
    c.flash = FlashDownload();
    c.flash.phase = Phase::OPEN;
    c.flash.size = cmd.mailbox[0];
    return FW_STATUS_OK;
}

uint8_t flashDownload(SimState&, Controller& c, SimCommand& cmd)
{
    FlashDownload& d = c.flash;
    if (!receiving(d))
        return FW_STATUS_FLASH_NOT_OPEN;
    const uint64_t offset = cmd.mailbox[0];
    const uint64_t length = cmd.data.size();
    if (offset != d.image.size() || length == 0 || offset + length > d.size)
        return FW_STATUS_FLASH_SEQUENCE;
    d.image.insert(d.image.end(), cmd.data.begin(), cmd.data.end());
    d.phase = Phase::RECEIVING;
    return FW_STATUS_OK;
}

void setAppVersion(ControllerInfo& info, const std::string& version)
{
    for (ImageInfo& image : info.images)
        if (image.name == "APP") {
            image.version = version.substr(0, 31);
            return;
        }
    info.images.insert(info.images.begin(), ImageInfo{"APP", version.substr(0, 31), ""});
}

uint8_t flashCommit(SimState& state, Controller& c, SimCommand& cmd)
{
    FlashDownload& d = c.flash;
    if (!receiving(d))
        return FW_STATUS_FLASH_NOT_OPEN;
    if (d.image.size() != d.size)
        return FW_STATUS_FLASH_SEQUENCE;
    const bool online = (cmd.mailbox[0] & 0xFF) == 1;
    if (online && (c.info.firmwareFeatures & 0x01) == 0)
        return FW_STATUS_ONLINE_UPDATE_NOT_NOW;
    CommittedImage image = readCommittedImage(d.image);
    if (!image.appVersion.empty())
        setAppVersion(c.info, image.appVersion);
    if (!image.packageVersion.empty())
        c.info.packageBuild = image.packageVersion.substr(0, 95);
    d.phase = Phase::COMMITTED;
    d.image.clear();
    state.markChanged();
    return FW_STATUS_OK;
}

uint8_t flashClose(SimState&, Controller& c, SimCommand&)
{
    c.flash = FlashDownload();
    return FW_STATUS_OK;
}

const FwRegistration registration({
    fwNoData(OP_FLASH_OPEN, flashOpen),
    fwWrite(OP_FLASH_DOWNLOAD, 0, flashDownload),
    fwNoData(OP_FLASH_COMMIT, flashCommit),
    fwNoData(OP_FLASH_CLOSE, flashClose),
});

} // namespace

} // namespace sim
