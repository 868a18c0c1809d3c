// The image file of a drive firmware download, as the download reads it: the refusal of sizes
// that the transfer commands cannot carry, the transfer count, and the pieces read one after
// the other. Byte 0 chooses the mode, "-ForceActivate" and a SATA device; byte 1 how many bytes
// the source holds beyond those measured (a file that shrinks after it was measured: 0-15
// fewer); the rest is the image.
#include "FuzzSupport.h"

#include <cstdlib>
#include <cstring>
#include <memory>

#include "CpMgmt/CmdPro/Files/DriveFirmwareImage.h"
#include "CpMgmt/CmdPro/Files/FlashImageReader.h"

namespace DFI = DriveFirmwareImage;

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    quietConsole();
    forbidPlatformCalls();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 2)
        return 0;
    const unsigned int mode = (data[0] & 1) != 0 ? DFI::MODE_WHOLE_IMAGE : DFI::MODE_PIECES;
    const bool force = (data[0] & 2) != 0;
    const bool sata = (data[0] & 4) != 0;
    const size_t shortBy = data[1] & 0x0F;
    const uint8_t* image = data + 2;
    const size_t measured = size - 2;
    if (DFI::refusal(measured, mode, force, sata) != nullptr)
        return 0;
    const DFI::Plan plan = DFI::plan(static_cast<uint32_t>(measured), mode, force);
    if (plan.transfers == 0 || plan.transfers > 255)
        abort();
    BufferImageSource source(image, measured > shortBy ? measured - shortBy : 0);
    std::unique_ptr<uint8_t[]> piece(new uint8_t[DFI::PIECE_SIZE]);
    uint32_t offset = 0;
    while (offset < plan.size) {
        const uint32_t length = DFI::readPiece(source, plan.size, offset, piece.get());
        if (length == 0)
            break;
        if (length > DFI::PIECE_SIZE || memcmp(piece.get(), image + offset, length) != 0)
            abort();
        offset += length;
    }
    // The pieces end where the file does: all of it, or where its bytes ran out.
    if (offset != plan.size && shortBy == 0)
        abort();
    return 0;
}
