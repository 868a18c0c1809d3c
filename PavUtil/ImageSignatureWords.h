// The signature words of the controller family's firmware images: the chip and board codes,
// four ASCII characters each. A firmware image's component header begins with one of them
// (read as a 32-bit little-endian word), and a controller expects the word of its own chip or
// board as the image's check word. The program and the simulated firmware share this one table.
#ifndef IMAGESIGNATUREWORDS_H
#define IMAGESIGNATUREWORDS_H

#include <cstddef>
#include <cstdint>

// The 32-bit little-endian word formed by a four-character code.
constexpr uint32_t imageSignatureWord(const char (&code)[5])
{
    return static_cast<uint32_t>(static_cast<uint8_t>(code[0])) |
           (static_cast<uint32_t>(static_cast<uint8_t>(code[1])) << 8) |
           (static_cast<uint32_t>(static_cast<uint8_t>(code[2])) << 16) |
           (static_cast<uint32_t>(static_cast<uint8_t>(code[3])) << 24);
}

constexpr size_t IMAGE_SIGNATURE_COUNT = 16;

// Chip codes first (QR2x: 6 Gb/s, QR3x: 12 Gb/s, QR4x: tri-mode), then the board codes.
inline constexpr uint32_t IMAGE_SIGNATURE_WORDS[IMAGE_SIGNATURE_COUNT] = {
    imageSignatureWord("QR20"), imageSignatureWord("QR21"), imageSignatureWord("QR22"), imageSignatureWord("QR30"),
    imageSignatureWord("QR31"), imageSignatureWord("QR32"), imageSignatureWord("QR40"), imageSignatureWord("QR41"),
    imageSignatureWord("QB08"), imageSignatureWord("QB0C"), imageSignatureWord("QB10"), imageSignatureWord("QB16"),
    imageSignatureWord("QB24"), imageSignatureWord("QB4E"), imageSignatureWord("QB8I"), imageSignatureWord("QB8E"),
};

constexpr bool isImageSignatureWord(uint32_t word)
{
    for (uint32_t known : IMAGE_SIGNATURE_WORDS)
        if (known == word)
            return true;
    return false;
}

#endif
