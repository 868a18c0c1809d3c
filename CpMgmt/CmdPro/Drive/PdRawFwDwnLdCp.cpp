#include "CpMgmt/CmdPro/Drive/PdRawFwDwnLdCp.h"

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>

#include "CpMgmt/CmdPro/AdpCpSteps.h"
#include "CpMgmt/CmdPro/AdpDcmd.h"
#include "CpMgmt/CmdPro/Files/DriveFirmwareImage.h"
#include "CpMgmt/CmdPro/Files/FlashImageReader.h"
#include "CpMgmt/CmdPro/ReadFailure.h"
#include "CpMgmt/CmdPro/ScsiPassThrough.h"
#include "CpMgmt/CpFactoryRegistry.h"
#include "CpMgmt/EnclosureIdText.h"
#include "DataProvider/DcmdOpcodes.h"
#include "DataProvider/DpParams.h"
#include "DataProvider/LinuxZprDataProvider.h"
#include "Parser/PdParsedObjects.h"
#include "Parser/TokenIds.h"
#include "PavUtil/FileIO.h"
#include "PavUtil/IgnoreStatus.h"
#include "RaidManager/EnclSlotId.h"
#include "RaidManager/PhysicalDevice.h"
#include "RaidManager/RaidManager.h"
#include "RaidManager/RmData.h"
#include "RaidManager/Zpr/Records/Controller/ZprControllerInfo.h"
#include "RaidManager/Zpr/Records/Drive/ZprDriveFirmwareDownload.h"
#include "RaidManager/Zpr/Records/Drive/ZprDriveValues.h"
#include "RaidManager/Zpr/Records/ZprFirmwareStatus.h"
#include "System/OsBoundary.h"

namespace DFI = DriveFirmwareImage;

namespace {

const uint8_t SCSI_TYPE_ENCLOSURE = 0x0D;
const uint16_t MAX_TARGET_DEVICE_ID = 0xFF;
const unsigned PREPARE_ATTEMPTS = 7;
const char* const BUSY_PAUSE = "sleep 30";

// What the prepare command's answers mean; any other status fails with -1.
struct PrepareAnswer {
    int status;
    const char* text;
};
const PrepareAnswer PREPARE_ANSWERS[] = {
    {0x0C, "\ninvalid device ID\n"},
    {0x20, "\nFW can't allocate sufficient memory - try again later\n"},
    {0x40, "\nOnly one PD can be updated within an array, at one time\n"},
    {0x03, "\nOne or more input Parameters is invalid\n"},
    {0x01, "\nFw doesnt support microcode update to multiple PDs\n"},
};

// The command and one device of it.
struct Download {
    CpController* cpController;
    int adapter;
    const char* fileName;
    unsigned int mode;
    bool forceActivate;
};

struct Device {
    uint16_t deviceId;
    uint8_t interfaceType;
    bool bridgeCode;          // a bridge drive: WRITE BUFFER carries the file-type code
    uint8_t fileType;
    unsigned short enclosureId;
    uint8_t slot;
};

// An image file opened for reading, closed with the object.
class OpenImage {
public:
    explicit OpenImage(const char* path) : handle(FileIO::instance()->open(path, "rb")) {}
    ~OpenImage()
    {
        if (handle != nullptr)
            FileIO::instance()->close(handle);
    }
    FileHandle* get() const { return handle; }
    OpenImage(const OpenImage&) = delete;
    OpenImage& operator=(const OpenImage&) = delete;

private:
    FileHandle* handle;
};

// The file's length in bytes; false after message 0x30009 when it cannot be opened or measured.
bool measureImage(const char* fileName, uint64_t* size)
{
    OpenImage image(fileName);
    FileIO* io = FileIO::instance();
    long long end = -1;
    if (image.get() != nullptr && io->seek(image.get(), 0, FILEIO_SEEK_END) == 0)
        end = io->tell(image.get());
    if (end < 0) {
        printMessage(MSG_FILE_OPEN_FAILED, fileName);
        return false;
    }
    *size = static_cast<uint64_t>(end);
    return true;
}

// One transfer; the "Flashing" line goes straight to standard output, not through the printer.
int sendTransfer(const Download& d, const Device& device, const uint8_t* cdb, uint8_t cdbLength, uint8_t* data,
                 uint32_t length)
{
    if (LinuxZprDataProvider::instance() != nullptr) {
        std::fflush(stdout);
        std::printf("Flashing firmware image size 0x%x (0x%x 0x%x 0x%x). Please wait...\n", length, cdb[6], cdb[7],
                    cdb[8]);
        std::fflush(stdout);
    }
    return sendScsiPassThrough(d.cpController, static_cast<uint8_t>(device.deviceId), DP_DIRECTION_WRITE, cdb,
                               cdbLength, data, length);
}

int sendPiece(const Download& d, const Device& device, uint32_t offset, uint8_t* data, uint32_t length)
{
    if (device.interfaceType == INTERFACE_SATA) {
        uint8_t cdb[ZprAtaDownloadMicrocodeCdb::SIZE];
        ZprAtaDownloadMicrocodeCdb::build(cdb, length);
        return sendTransfer(d, device, cdb, sizeof cdb, data, length);
    }
    uint8_t cdb[ZprWriteBufferCdb::SIZE];
    const uint8_t mode =
        d.forceActivate ? ZprWriteBufferCdb::MODE_OFFSETS_SAVE_DEFER : ZprWriteBufferCdb::MODE_OFFSETS_AND_SAVE;
    const uint8_t bufferId = device.bridgeCode && !d.forceActivate ? device.fileType : 0;
    ZprWriteBufferCdb::build(cdb, mode, bufferId, offset, length);
    return sendTransfer(d, device, cdb, sizeof cdb, data, length);
}

// The image in 32 KiB pieces with their offsets; with "-ForceActivate" the deferred code is
// then activated (not on a SATA device).
int sendFirmwareChunks(const Download& d, const Device& device, uint32_t size)
{
    OpenImage image(d.fileName);
    std::unique_ptr<uint8_t[]> piece(new (std::nothrow) uint8_t[DFI::PIECE_SIZE]);
    if (image.get() == nullptr || !piece) {
        printMessage(MSG_FILE_OPEN_FAILED, d.fileName);
        return -1;
    }
    FileImageSource source(image.get());
    for (uint32_t offset = 0; offset < size;) {
        const uint32_t length = DFI::readPiece(source, size, offset, piece.get());
        if (length == 0) {
            printMessage(MSG_PD_FW_IMAGE_REFUSED, d.fileName, "the file is shorter than it was");
            return -1;
        }
        const int status = sendPiece(d, device, offset, piece.get(), length);
        if (status != 0)
            return status;
        offset += length;
    }
    if (!d.forceActivate || device.interfaceType == INTERFACE_SATA)
        return 0;
    uint8_t cdb[ZprWriteBufferCdb::SIZE];
    ZprWriteBufferCdb::build(cdb, ZprWriteBufferCdb::MODE_ACTIVATE_DEFERRED, 0, 0, 0);
    return sendTransfer(d, device, cdb, sizeof cdb, nullptr, 0);
}

// The whole image in one command.
int sendWholeImage(const Download& d, const Device& device, uint32_t size)
{
    OpenImage image(d.fileName);
    std::unique_ptr<uint8_t[]> bytes(new (std::nothrow) uint8_t[size]);
    if (image.get() == nullptr || !bytes) {
        printMessage(MSG_FILE_OPEN_FAILED, d.fileName);
        return -1;
    }
    memset(bytes.get(), 0, size);
    FileImageSource source(image.get());
    if (source.readAt(0, bytes.get(), size) != size) {
        printMessage(MSG_PD_FW_IMAGE_REFUSED, d.fileName, "the file is shorter than it was");
        return -1;
    }
    if (device.interfaceType == INTERFACE_SATA) {
        uint8_t cdb[ZprAtaDownloadMicrocodeCdb::SIZE];
        ZprAtaDownloadMicrocodeCdb::build(cdb, size);
        return sendTransfer(d, device, cdb, sizeof cdb, bytes.get(), size);
    }
    uint8_t cdb[ZprWriteBufferCdb::SIZE];
    ZprWriteBufferCdb::build(cdb, ZprWriteBufferCdb::MODE_DOWNLOAD_AND_SAVE, 0, 0, size);
    return sendTransfer(d, device, cdb, sizeof cdb, bytes.get(), size);
}

// The prepare command, sent again after a pause while another update is in progress.
int prepareDownload(const Download& d, uint16_t deviceId, const DFI::Plan& plan)
{
    for (unsigned attempt = 0; attempt < PREPARE_ATTEMPTS; ++attempt) {
        if (LinuxZprDataProvider::instance() == nullptr) {
            printMessage(MSG_ZPR_INSTANCE_FAILED, d.adapter);
            return -1;
        }
        uint8_t block[ZprFwDownloadPrepare::SIZE];
        memset(block, 0, sizeof block);
        ZprFwDownloadPrepare prepare(LeView(block, sizeof block));
        prepare.setTransferCount(static_cast<uint8_t>(plan.transfers));
        prepare.setImageSize(plan.size);
        const int status = sendDcmdWithWord(d.cpController, DCMD_ADP_PD_FW_DOWNLOAD_PREPARE, deviceId, block, 0);
        if (status == 0) {
            printMessage(MSG_NEWLINE);
            return 0;
        }
        if (status == STATUS_WRONG_STATE) {
            printMessage(MSG_TEXT, "\nMicroCode Update is already in progress. Please wait...");
            osBoundary().system(BUSY_PAUSE);
            continue;
        }
        for (const PrepareAnswer& answer : PREPARE_ANSWERS) {
            if (answer.status == status) {
                printMessage(MSG_TEXT, answer.text);
                return status;
            }
        }
        printMessage(MSG_TEXT, "\nExecution of KW_DCMD_CTRL_PD_FW_DOWNLOAD_PREPARE command failed\n ");
        return -1;
    }
    printMessage(MSG_TEXT, "\nMicroCode Update is already in progress. try again later");
    printMessage(MSG_NEWLINE);
    return STATUS_WRONG_STATE;
}

int checkControllerInfo(const Download& d)
{
    if (LinuxZprDataProvider::instance() == nullptr) {
        printMessage(MSG_ZPR_INSTANCE_FAILED, d.adapter);
        return -1;
    }
    uint8_t info[ZprControllerInfo::SIZE];
    memset(info, 0, sizeof info);
    const int status = sendDcmd(d.cpController, DCMD_ADP_GET_INFO, info);
    if (status != 0)
        printMessage(MSG_OPERATION_FAILED, d.adapter, "Get Controller Info command failed");
    return status;
}

void printFailed(const Download& d, const Device& device)
{
    printMessage(MSG_PD_FW_DOWNLOAD_FAILED, formatEnclosureId(device.enclosureId), static_cast<int>(device.slot),
                 d.adapter);
}

// Prepare, then the transfer, of one device.
int downloadTo(const Download& d, const Device& device, unsigned int mode)
{
    uint64_t measured = 0;
    if (!measureImage(d.fileName, &measured)) {
        printFailed(d, device);
        return -1;
    }
    const char* refused = DFI::refusal(measured, mode, d.forceActivate, device.interfaceType == INTERFACE_SATA);
    if (refused != nullptr) {
        printMessage(MSG_PD_FW_IMAGE_REFUSED, d.fileName, refused);
        return -1;
    }
    const uint32_t size = static_cast<uint32_t>(measured);
    int status = prepareDownload(d, device.deviceId, DFI::plan(size, mode, d.forceActivate));
    if (status != 0) {
        printFailed(d, device);
        return status;
    }
    status = checkControllerInfo(d);
    if (status != 0)
        return status;
    if (mode == DFI::MODE_PIECES)
        status = sendFirmwareChunks(d, device, size);
    const bool wholeFits =
        DFI::refusal(measured, DFI::MODE_WHOLE_IMAGE, false, device.interfaceType == INTERFACE_SATA) == nullptr;
    if ((status != 0 || mode == DFI::MODE_WHOLE_IMAGE) && !d.forceActivate && wholeFits)
        status = sendWholeImage(d, device, size);
    return status;
}

// The device of a "-PhysDrv" entry: 0, 1 when the drive list read has no such drive (reported,
// skipped), or the command's result (a drive list or drive information that cannot be read is
// reported and ends the command: a drive that may be there is not passed over).
int findDrive(const Download& d, RmData* rmData, const EnclSlotId& entry, uint8_t sataBridge, Device* device,
              unsigned int* mode)
{
    unsigned short enclosureId = entry.getEnclosureId();
    int status = CommandProcessor::resolveEnclosureId(d.cpController, &enclosureId);
    if (status != 0)
        return status;
    device->enclosureId = enclosureId;
    device->slot = entry.getSlotNumber();
    PhysicalDevice* pd = nullptr;
    status = lookUpDrive(rmData, static_cast<uint8_t>(d.adapter), enclosureId, device->slot, &pd);
    if (status != 0)
        return status;
    if (pd == nullptr) {
        printMessage(MSG_PD_NOT_FOUND, d.adapter, formatEnclosureId(enclosureId), static_cast<int>(device->slot));
        return 1;
    }
    if (sataBridge != 0) {
        uint8_t bridge = 0;
        status = pd->hasSasSataBridge(&bridge);
        if (status != 0)
            return status;
        if (bridge == 0) {
            printMessage(MSG_PD_NOT_SATA_BRIDGE, d.adapter, formatEnclosureId(enclosureId), static_cast<int>(device->slot));
            return -1;
        }
        *mode = DFI::MODE_PIECES;
        device->bridgeCode = true;
        if (!DFI::fileTypeCode(d.fileName, &device->fileType)) {
            printMessage(MSG_TEXT, "Invalid firmware type for Vesk device -- valid Vesk firmware required\n");
            return -1;
        }
    }
    uint8_t blocked = 1;
    status = pd->isFirmwareDownloadBlocked(&blocked);
    if (status != 0)
        return status;
    if (blocked != 0) {
        printMessage(MSG_PD_FW_DOWNLOAD_NOT_ALLOWED, formatEnclosureId(enclosureId), static_cast<int>(device->slot),
                     d.adapter);
        return -1;
    }
    status = pd->getDeviceId(&device->deviceId);
    if (status == 0)
        status = pd->getInterfaceType(&device->interfaceType);
    return status;
}

// The device of an "-EncdevId" entry: it must be an enclosure device of this adapter.
int findEnclosureDevice(const Download& d, RmData* rmData, const EnclSlotId& entry, Device* device)
{
    device->deviceId = entry.getEnclosureId();
    device->enclosureId = entry.getEnclosureId();
    device->slot = 0;
    PhysicalDevice* pd = rmData != nullptr ? rmData->getPdByDeviceId(device->deviceId) : nullptr;
    uint8_t type = 0;
    if (pd == nullptr || pd->getScsiDeviceType(&type) != 0 || type != SCSI_TYPE_ENCLOSURE) {
        printMessage(MSG_PD_NOT_FOUND, d.adapter, formatEnclosureId(device->enclosureId), 0);
        return -1;
    }
    return pd->getInterfaceType(&device->interfaceType);
}

int downloadToDevices(const Download& d, const PdFwDownloadPo& request)
{
    CpQuietRefresh<CpModelSteps> model(d.cpController, static_cast<uint8_t>(d.adapter));
    if (!model)
        return model.result();
    RaidManager* manager = model.manager();
    ArrayList<EnclSlotId*>* devices = request.getDeviceList();
    unsigned int mode = d.mode;
    for (unsigned char i = 0; devices != nullptr && i < devices->count(); ++i) {
        const EnclSlotId* entry = devices->get(i);
        if (entry == nullptr)
            return -1;
        Device device = {};
        int status = 0;
        if (request.getEncDevId() == 1) {
            mode = DFI::MODE_PIECES;
            status = findEnclosureDevice(d, manager->getRmData(), *entry, &device);
        } else {
            status = findDrive(d, manager->getRmData(), *entry, request.getSataBridge(), &device, &mode);
            if (status == 1)
                continue;
        }
        if (status != 0)
            return status;
        // The pass-through names its target by 8 bits.
        if (device.deviceId > MAX_TARGET_DEVICE_ID) {
            printFailed(d, device);
            return -1;
        }
        status = downloadTo(d, device, mode);
        if (status != 0)
            return status;
    }
    return 0;
}

}  // namespace

int PdRawFwDwnLdCp::process(CpController* cpController, ParsedObject* request)
{
    // This command opens in its own way: a request of another class ends it without a message,
    // and the model's refresh is not checked (downloadToDevices).
    PdFwDownloadPo* own = dynamic_cast<PdFwDownloadPo*>(request);
    if (own == nullptr)
        return -1;
    const string fileName = own->getFileName();
    const Download d = {cpController, adapterNumberOf(cpController), fileName.c_str(), own->getMode(),
                        own->getForceActivate() != 0};
    return downloadToDevices(d, *own);
}

namespace {
const CpRegistration<PdRawFwDwnLdCp> registration;
}  // namespace
