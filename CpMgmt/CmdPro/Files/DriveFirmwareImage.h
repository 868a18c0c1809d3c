// The image file of a drive or enclosure firmware download: its type (for drives behind a
// SAS-SATA bridge, by the name's extension), whether the transfer commands can carry it, and
// its pieces. The file is whatever the user names, so nothing in it is trusted: a size that the
// commands cannot express is refused before anything is sent, and a file that yields fewer
// bytes than were measured fails the transfer instead of sending short or empty pieces.
#ifndef DRIVEFIRMWAREIMAGE_H
#define DRIVEFIRMWAREIMAGE_H

#include <cstdint>

class ImageSource;

namespace DriveFirmwareImage {

// Piece-wise transfer (32 KiB pieces with their offsets) or the whole image in one command.
const unsigned int MODE_WHOLE_IMAGE = 5;
const unsigned int MODE_PIECES = 7;
const uint32_t PIECE_SIZE = 32768;

// The WRITE BUFFER buffer id of a bridge drive's image, from the extension: the (up to) four
// characters that begin at the first '.' of the name. false for any other name.
bool fileTypeCode(const char* fileName, uint8_t* code);

// What the transfer will be.
struct Plan {
    uint32_t size = 0;          // bytes
    uint32_t transfers = 0;     // prepare count: pieces (plus the activation) or 1
};

// Why an image cannot be sent; null when it can. `sata` is a device of interface type SATA,
// whose commands count 512-byte sectors in 16 bits.
const char* refusal(uint64_t size, unsigned int mode, bool forceActivate, bool sata);

// The plan of an image of `size` bytes (after refusal() accepted it).
Plan plan(uint32_t size, unsigned int mode, bool forceActivate);

// Reads the piece at `offset` (PIECE_SIZE bytes, or the rest) into `out`; its length, or 0 when
// the source yields fewer bytes than the plan's size promised.
uint32_t readPiece(ImageSource& source, uint32_t size, uint32_t offset, uint8_t* out);

}  // namespace DriveFirmwareImage

#endif
