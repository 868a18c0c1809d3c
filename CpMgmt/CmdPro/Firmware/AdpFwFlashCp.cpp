#include "CpMgmt/CmdPro/Firmware/AdpFwFlashCp.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "CpMgmt/CmdPro/AdpCpSteps.h"
#include "CpMgmt/CmdPro/AdpDcmd.h"
#include "CpMgmt/CpFactoryRegistry.h"
#include "DataProvider/DcmdOpcodes.h"
#include "Parser/AdpParsedObjects.h"
#include "Parser/TokenIds.h"
#include "PavUtil/FileIO.h"
#include "PavUtil/PrintableText.h"
#include "RaidManager/Zpr/Records/Battery/ZprBbuDesignInfo.h"
#include "RaidManager/Zpr/Records/Controller/ZprControllerInfo.h"
#include "RaidManager/Zpr/Records/ZprFirmwareStatus.h"

namespace {

const int RESULT_INVALID_IMAGE = 17;
const uint8_t FW_TYPE_MAX = 1;
const uint32_t PIECE_SIZE = 32768;
const uint32_t PROGRESS_STEP = 5;
const uint32_t COMMIT_ONLINE = 1;
// Only so many characters of a module version count when an image is compared with it.
const size_t MODULE_VERSION_COMPARED = 6;

void printText(const char* text)
{
    printMessage(MSG_TEXT, text);
}

int closeDownload(CpController* cpController)
{
    return sendDcmdWithWord(cpController, DCMD_ADP_FLASH_CLOSE, 0, nullptr, 0);
}

int readControllerInfo(CpController* cpController, std::vector<uint8_t>& record)
{
    record.assign(ZprControllerInfo::SIZE, 0);
    return sendDcmdWithWord(cpController, DCMD_ADP_GET_INFO, 0, record.data(), 0);
}

// The progress goes straight to standard output, between texts of the message printer: both
// reach the same stream, flushed so that they keep their order.
void showProgress(uint32_t percent)
{
    std::fflush(stdout);
    std::printf("\r%u%%   Completed", percent);
    std::fflush(stdout);
    char text[64];
    std::snprintf(text, sizeof text, "\r%u %%  Download Completed", percent);
    printText(text);
}

bool isTag(const FlashImageHeader& header, const char* tag)
{
    return header.componentTag() == tag;
}

} // namespace

long long AdpFwFlashCp::getImageFileSize(const char* fileName, bool* openFailed)
{
    FileIO* io = FileIO::instance();
    FileHandle* file = io->open(fileName, "r");
    if (openFailed != nullptr)
        *openFailed = file == nullptr;
    if (file == nullptr) {
        printMessage(MSG_FILE_OPEN_FAILED, fileName);
        return -1;
    }
    long long size = io->seek(file, 0, FILEIO_SEEK_END) == 0 ? io->tell(file) : -1;
    io->close(file);
    return size;
}

int AdpFwFlashCp::process(CpController* cpController, ParsedObject* request)
{
    CpStart<AdpFwFlashPo> start(cpController, request, "AdpFwFlashPo *");
    if (!start)
        return start.result();
    AdpFwFlashPo* flashRequest = start.request();
    const string fileName = flashRequest->getFileName();
    bool openFailed = false;
    long long size = getImageFileSize(fileName.c_str(), &openFailed);
    fwType = flashRequest->getFwType();
    if (fwType > FW_TYPE_MAX) {
        printText("Invalid FW Type\n");
        return -1;
    }
    // A size that cannot be determined, or that the image's length field could not hold, is
    // never an image to send.
    bool sizeKnown = size >= 0 && size <= static_cast<long long>(UINT32_MAX);
    if (fwType != FlashImageReader::FW_TYPE_ANY_SIZE &&
        (!sizeKnown || !FlashImageReader::sizeFits(static_cast<uint64_t>(size), fwType))) {
        printMessage(MSG_IMAGE_VALIDATE_FAILED, fileName.c_str());
        return RESULT_INVALID_IMAGE;
    }
    if (!sizeKnown) {
        if (!openFailed)
            printMessage(MSG_FILE_OPEN_FAILED, fileName.c_str());
        return -1;
    }
    FileHandle* file = FileIO::instance()->open(fileName.c_str(), "rb");
    if (file == nullptr) {
        printMessage(MSG_FILE_OPEN_FAILED, fileName.c_str());
        return -1;
    }
    int result = flash(cpController, *flashRequest, file, static_cast<uint32_t>(size));
    FileIO::instance()->close(file);
    return result;
}

int AdpFwFlashCp::flash(CpController* cpController, const AdpFwFlashPo& request, FileHandle* file, uint32_t size)
{
    uint8_t adapterNumber = adapterNumberOf(cpController);
    std::vector<uint8_t> record;
    int status = readControllerInfo(cpController, record);
    if (status != 0) {
        printMessage(MSG_FLASH_CTRL_INFO_FAILED);
        return status;
    }
    ZprControllerInfo info(record.data(), record.size());
    char productName[ZprControllerInfo::PRODUCT_NAME_WIDTH + 1] = {};
    info.productName(productName, sizeof productName);
    printMessage(MSG_ADAPTER_TEXT, static_cast<int>(adapterNumber), makePrintable(productName));
    printMessage(MSG_VENDOR_DEVICE_ID, static_cast<unsigned>(info.pciVendorId()),
                 static_cast<unsigned>(info.pciDeviceId()));

    switch (checkImage(cpController, request, file, size, info)) {
    case ImageCheck::INVALID:
        return RESULT_INVALID_IMAGE;
    case ImageCheck::NOT_NEWER:
        printMessage(MSG_IMAGE_NOT_NEWER);
        return -1;
    case ImageCheck::FAILED:
        return -1;
    case ImageCheck::PASS:
        break;
    }

    closeDownload(cpController);   // ends a download left open; its status does not matter
    status = sendDcmdWithWord(cpController, DCMD_ADP_FLASH_OPEN, size, nullptr, 0);
    if (status != 0) {
        printMessage(status == STATUS_NO_FLASH_MEMORY        ? MSG_FLASH_NO_MEMORY
                     : status == STATUS_DOWNLOAD_IN_PROGRESS ? MSG_FLASH_IN_PROGRESS
                                                             : MSG_FLASH_OPEN_FAILED);
        return status;
    }
    status = download(cpController, file, size);
    if (status != 0) {
        closeDownload(cpController);
        return status;
    }
    return commit(cpController, request.getFlag1() != 0);
}

AdpFwFlashCp::ImageCheck AdpFwFlashCp::checkImage(CpController* cpController, const AdpFwFlashPo& request,
                                                  FileHandle* file, uint32_t size, const ZprControllerInfo& info)
{
    bool signatureCheck = request.getFlag2() == 0;
    bool versionCheck = request.getFlag3() == 0;
    if (!signatureCheck && !versionCheck)
        return ImageCheck::PASS;   // kept on purpose: any file that keeps the size rule is sent
    imageHeaders = FlashImageReader(fwType);
    FileImageSource source(file);
    if (imageHeaders.parseImageHeaders(source, size) != 0) {
        printMessage(MSG_IMAGE_INVALID);
        return ImageCheck::INVALID;
    }
    if (signatureCheck && imageHeaders.imageHeaders().front().signature() != info.imageCheckWord()) {
        printMessage(MSG_IMAGE_INVALID);
        return ImageCheck::INVALID;
    }
    return versionCheck ? checkVersion(cpController, info) : ImageCheck::PASS;
}

AdpFwFlashCp::ImageCheck AdpFwFlashCp::checkVersion(CpController* cpController, const ZprControllerInfo& info)
{
    for (const FlashImageHeader& header : imageHeaders.imageHeaders()) {
        if (isTag(header, "APP "))
            return checkAppVersion(header, info);
        if (isTag(header, "KPRB"))
            return checkModuleVersion(cpController, header);
    }
    return ImageCheck::PASS;
}

AdpFwFlashCp::ImageCheck AdpFwFlashCp::checkAppVersion(const FlashImageHeader& header, const ZprControllerInfo& info)
{
    char controllerPackage[ZprControllerInfo::PACKAGE_BUILD_WIDTH + 1] = {};
    info.packageBuild(controllerPackage, sizeof controllerPackage);
    std::string imagePackage;
    if (controllerPackage[0] != '\0' && header.packageVersion(imagePackage)) {
        printMessage(MSG_PACKAGE_VERSION_CONTROLLER, controllerPackage);
        printMessage(MSG_PACKAGE_VERSION_IMAGE, imagePackage.c_str());
        return FlashImageReader::compareVersionStrings(imagePackage.c_str(), controllerPackage) <= 0
                   ? ImageCheck::NOT_NEWER
                   : ImageCheck::PASS;
    }
    for (uint32_t i = 0; i < info.imageCount(); ++i) {
        char name[ZprControllerInfo::IMAGE_NAME_WIDTH + 1] = {};
        info.imageName(i, name, sizeof name);
        if (std::strncmp(name, "APP", 3) != 0)
            continue;
        char version[ZprControllerInfo::IMAGE_VERSION_WIDTH + 1] = {};
        info.imageVersion(i, version, sizeof version);
        std::string imageVersion = header.versionText();
        printMessage(MSG_FW_VERSION_CONTROLLER, printableText(version).c_str());
        printMessage(MSG_FW_VERSION_IMAGE, imageVersion.c_str());
        return FlashImageReader::compareVersionStrings(imageVersion.c_str(), version) <= 0 ? ImageCheck::NOT_NEWER
                                                                                           : ImageCheck::PASS;
    }
    return ImageCheck::PASS;
}

AdpFwFlashCp::ImageCheck AdpFwFlashCp::checkModuleVersion(CpController* cpController, const FlashImageHeader& header)
{
    std::vector<uint8_t> record(ZprBbuDesignInfo::SIZE, 0);
    if (sendDcmdWithWord(cpController, DCMD_BBU_GET_DESIGN_INFO, 0, record.data(), 0) != 0) {
        printMessage(MSG_ADAPTER_TEXT, static_cast<int>(adapterNumberOf(cpController)), "Get BBU Design Info Failed.");
        return ImageCheck::FAILED;
    }
    char moduleVersion[ZprBbuDesignInfo::MODULE_FW_VERSION_WIDTH + 1] = {};
    ZprBbuDesignInfo(record.data(), record.size()).moduleFwVersion(moduleVersion, sizeof moduleVersion);
    std::string imageVersion = header.versionText();
    printMessage(MSG_FW_VERSION_CONTROLLER, printableText(moduleVersion).c_str());
    printMessage(MSG_FW_VERSION_IMAGE, imageVersion.c_str());
    // For the module only an older image is refused; the same version may be flashed again.
    return std::strncmp(imageVersion.c_str(), moduleVersion, MODULE_VERSION_COMPARED) < 0 ? ImageCheck::NOT_NEWER
                                                                                          : ImageCheck::PASS;
}

// Sends the file in pieces from offset 0, never more than the size the download was opened
// with; a file that ends early or goes on past that size is not sent whole, and fails.
int AdpFwFlashCp::download(CpController* cpController, FileHandle* file, uint32_t size)
{
    FileIO* io = FileIO::instance();
    std::vector<uint8_t> piece(PIECE_SIZE);
    if (io->seek(file, 0, FILEIO_SEEK_BEGIN) != 0) {
        printMessage(MSG_FLASH_DOWNLOAD_FAILED);
        return -1;
    }
    uint64_t sent = 0;
    uint32_t percent = 0;
    for (uint32_t k = 0;; ++k) {
        uint64_t left = size - sent;
        // At the announced size one more byte is asked for, only to see that the file ends there.
        unsigned int want = left == 0 ? 1 : static_cast<unsigned int>(left < PIECE_SIZE ? left : PIECE_SIZE);
        unsigned int got = static_cast<unsigned int>(io->read(piece.data(), 1, want, file));
        if (io->error(file) != 0) {
            std::fflush(stdout);
            std::fputs("\nFile Read Error!!!!!!\n", stdout);
            std::fflush(stdout);
            printMessage(MSG_FLASH_DOWNLOAD_FAILED);
            return -1;
        }
        if (left == 0 || got == 0) {
            if (got != 0 || sent != size) {
                printMessage(MSG_FLASH_DOWNLOAD_FAILED);
                return -1;
            }
            printText("\rDownload Completed.     \n");
            return 0;
        }
        int status = sendDcmdWithWord(cpController, DCMD_ADP_FLASH_DOWNLOAD, k * PIECE_SIZE, piece.data(), got);
        if (status != 0) {
            printMessage(MSG_FLASH_DOWNLOAD_FAILED);
            return status;
        }
        sent += got;
        if (static_cast<uint64_t>(percent + PROGRESS_STEP) * size / 100 < sent) {
            percent += PROGRESS_STEP;
            showProgress(percent);
        }
    }
}

int AdpFwFlashCp::commit(CpController* cpController, bool online)
{
    std::vector<uint8_t> record;
    int status = readControllerInfo(cpController, record);
    if (status != 0) {
        printMessage(MSG_FLASH_CTRL_INFO_FAILED);
        closeDownload(cpController);
        return status;
    }
    printMessage(MSG_FLASHING_IMAGE);
    if (online && !ZprControllerInfo(record.data(), record.size()).onlineFwUpdateSupported()) {
        printText("Online FW update not supported");
        closeDownload(cpController);
        return -1;
    }
    status = sendDcmdWithWord(cpController, DCMD_ADP_FLASH_COMMIT, online ? COMMIT_ONLINE : 0, nullptr, 0);
    if (online && status == STATUS_ONLINE_UPDATE_NOT_NOW) {
        printText("Online FW update is not possible.Please reboot the system for the changes to take effect\n");
        return status;
    }
    if (status != 0) {
        printMessage(MSG_FLASH_COMMIT_FAILED);
        closeDownload(cpController);
        return status;
    }
    printMessage(MSG_FLASH_COMPLETED, static_cast<int>(adapterNumberOf(cpController)));
    if (!online)
        printMessage(MSG_REBOOT_REQUIRED);
    return 0;
}

namespace {

const CpRegistration<AdpFwFlashCp> registration(CpTraits().withoutControllerCheck());

} // namespace
