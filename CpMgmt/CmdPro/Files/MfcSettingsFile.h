// The KEY = value files that program and verify the controller's manufacturing defaults, and
// the keys that name the fields of the defaults record.
//
// A file is read in pieces of at most 254 characters (a longer line arrives as several pieces,
// each taken as a line of its own); each piece is cut at its first '#', then split at '=' runs:
// the key is the first run of other characters, the value the second, anything after a further
// '=' is ignored. A piece without a key or a value, or whose key or value is empty once white
// space is trimmed, is skipped. The file is untrusted: every buffer is bounded, and a file that
// cannot be read to its end is reported as such, never taken as a shorter file.
#ifndef MFCSETTINGSFILE_H
#define MFCSETTINGSFILE_H

#include <cstddef>
#include <cstdint>

class FileHandle;
class LeView;

// How a key's value is judged before it is stored.
enum class MfcValueRule : uint8_t {
    Any,                  // any number; the field's low bits are stored
    Range,                // min to max, inclusive
    StripSize,            // the controller's smallest to largest strip-size code
    BiosContinueOnError,  // 0 to 3; 2 and 3 only where the controller permits them
    ZcrConfig,            // 0, 1 or 16 to 31
    SpinDownTime,         // 0 (field left as it is) or 30 to 65535
};

struct MfcSettingKey {
    const char* key;        // as the file gives it, upper-cased
    const char* fieldName;  // the field's name in the verification's difference list
    uint8_t offset;         // in the defaults record
    uint8_t shift;          // the field's lowest bit within its byte (0 for a byte or word)
    uint8_t width;          // 8 a byte, 16 a 16-bit word, 1 or 2 a bit field
    MfcValueRule rule;
    uint32_t min;
    uint32_t max;
    bool aboveBaseLevel;    // exists only when the block's feature level is above the base
};

// The key's row among the keys that name a field of the defaults record, or null when the key
// names none at this feature level.
const MfcSettingKey* findMfcSettingKey(const char* key, unsigned featureLevel);

// The block's feature level (a stored 0 counts as the base level).
unsigned mfcFeatureLevel(const LeView& defaults);

// The field's current value (a bit field as its own bits, shifted down).
uint32_t mfcFieldValue(const MfcSettingKey& row, const LeView& defaults);
// Stores the value's low bits in the field; the other bits of a bit field's byte stay.
void storeMfcField(const MfcSettingKey& row, LeView& defaults, uint32_t value);

// A SAS address text "50:06:05:b0:..." as a 64-bit address: the first 31 characters are
// read, groups separated by runs of ':', the first group the most significant byte (a ninth
// group wraps to the most significant byte again). 0 on success; 1 when a group is above 0xff
// (the address is then 0).
int parseSasAddress(const char* text, uint64_t* address);

// A decimal value as the settings rules read it: leading white space skipped, an optional sign,
// the digits up to the first other character (none give 0); saturated instead of wrapping.
long long settingsNumber(const char* text);

// Reads a settings file pair by pair.
class SettingsFileReader {
public:
    // Which white space is trimmed from the key and the value: the programming command keeps
    // leading blanks (a key with them is not a known key), the verification trims both ends.
    enum class Trim { Trailing, Both };

    explicit SettingsFileReader(Trim trim) : trimMode(trim), file(nullptr), readFailed(false) {}
    ~SettingsFileReader() { close(); }
    SettingsFileReader(const SettingsFileReader&) = delete;
    SettingsFileReader& operator=(const SettingsFileReader&) = delete;

    // False when the file cannot be opened for reading.
    bool open(const char* path);
    // The next pair, pointing into the reader's own piece (valid until the next call); the key
    // is upper-cased. False at the end of the file, and when it cannot be read further.
    bool next(char** key, char** value);
    // True when reading stopped because the file could not be read (a folder, an I/O error).
    bool failed() const { return readFailed; }
    void close();

    // A piece holds at most this many characters, the NUL included.
    static constexpr int PIECE_SIZE = 255;

private:
    bool split(char** key, char** value);

    Trim trimMode;
    FileHandle* file;
    bool readFailed;
    char piece[PIECE_SIZE];
};

// Removes trailing white space in place; never steps before the text's first character.
void trimTrailingSpace(char* text);
// Removes leading and trailing white space in place, moving the text left.
void trimSpace(char* text);

#endif
