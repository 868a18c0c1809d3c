// The controller firmware flash ("-AdpFwFlash"): checks the image file against the controller
// (a whole image of this controller's family, newer than what it runs), then downloads it in
// 32 KiB pieces and has the controller write it to its flash memory, for the next reboot or as
// an online update. It runs without the controller check, since it must reach a controller
// whose model cannot be read or whose firmware is incompatible, and it uses no RAID model.
#ifndef ADPFWFLASHCP_H
#define ADPFWFLASHCP_H

#include <cstdint>

#include "CpMgmt/CmdPro/Files/FlashImageReader.h"
#include "CpMgmt/CmdPro/CpFrame.h"
#include "Parser/TokenIds.h"

class AdpFwFlashPo;
class FileHandle;
class ZprControllerInfo;

class AdpFwFlashCp : public CpFrame<AdpFwFlashCp, TOKEN_ADPFWFLASH> {
public:
    AdpFwFlashCp() {}
    // 0 flashed; 17 an invalid image; -1 a refusal of the command's own; otherwise the
    // firmware status of the command that failed.
    int process(CpController* cpController, ParsedObject* request) override;
    ~AdpFwFlashCp() override {}

    // The file's size in bytes, or -1: message 0x30009 when the file cannot be opened (and
    // `openFailed` set), none when its end cannot be found.
    static long long getImageFileSize(const char* fileName, bool* openFailed = nullptr);

private:
    enum class ImageCheck { PASS, INVALID, NOT_NEWER, FAILED };

    int flash(CpController* cpController, const AdpFwFlashPo& request, FileHandle* file, uint32_t size);
    ImageCheck checkImage(CpController* cpController, const AdpFwFlashPo& request, FileHandle* file, uint32_t size,
                          const ZprControllerInfo& info);
    ImageCheck checkVersion(CpController* cpController, const ZprControllerInfo& info);
    ImageCheck checkAppVersion(const FlashImageHeader& header, const ZprControllerInfo& info);
    ImageCheck checkModuleVersion(CpController* cpController, const FlashImageHeader& header);
    int download(CpController* cpController, FileHandle* file, uint32_t size);
    int commit(CpController* cpController, bool online);

    uint8_t fwType = 0;
    // The image's component headers, read once by the checks.
    FlashImageReader imageHeaders;
};

#endif
