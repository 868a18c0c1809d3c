// The controller firmware image of a flash, as the flash checks it before anything is sent: the
// size rule, the walk over its component headers, each header's tag, version and PACKAGE texts,
// and the version comparison. Byte 0 chooses the firmware type (bit 0: no size rule); the rest
// is the image.
#include "FuzzSupport.h"

#include <cstdlib>
#include <string>

#include "CpMgmt/CmdPro/Files/FlashImageReader.h"

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    quietConsole();
    forbidPlatformCalls();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1 || size - 1 > UINT32_MAX)
        return 0;
    const uint8_t fwType = (data[0] & 1) != 0 ? FlashImageReader::FW_TYPE_ANY_SIZE : 0;
    BufferImageSource source(data + 1, size - 1);
    FlashImageReader reader(fwType);
    const int result = reader.parseImageHeaders(source, static_cast<uint32_t>(size - 1));
    if (result != 0 && result != 1)
        abort();
    const std::vector<FlashImageHeader>& headers = reader.imageHeaders();
    if (result == 0 && headers.empty())
        abort();
    if (headers.size() > FlashImageReader::MAX_HEADERS)
        abort();
    std::string previous;
    for (const FlashImageHeader& header : headers) {
        (void)header.signature();
        (void)header.componentLength();
        (void)header.componentTag();
        const std::string version = header.versionText();
        std::string package;
        if (header.packageVersion(package))
            (void)FlashImageReader::compareVersionStrings(package.c_str(), version.c_str());
        (void)FlashImageReader::compareVersionStrings(version.c_str(), previous.c_str());
        previous = version;
    }
    return 0;
}
