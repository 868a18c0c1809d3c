// The words that the controller-property lines print for a value, and the capabilities some
// properties need, shared by the show and the change rows.
#ifndef ADPPROPERTYWORDS_H
#define ADPPROPERTYWORDS_H

#include <cstdint>

#include "RaidManager/Zpr/Records/LogicalDrive/ZprLdValues.h"

struct PropertyRun;

// The words of the values: either two words (0 and any other value), or one word per value from
// 0 with a word for the values beyond.
struct PropertyWords {
    const char* const* words;
    uint8_t count;
    bool twoState;
    const char* beyond;
};

const char* propertyWord(const PropertyWords& words, uint32_t value);

extern const PropertyWords ENABLED_WORDS;            // 0 "Disabled", else "Enabled"
extern const PropertyWords DISABLED_WORDS;           // 0 "Enabled", else "Disabled"
extern const PropertyWords ENABLE_WORDS;             // 0 "Disable", else "Enable"
extern const PropertyWords DISABLE_WORDS;            // 0 "Enable", else "Disable"
extern const PropertyWords COERCION_WORDS;
extern const PropertyWords ALARM_SHOW_WORDS;
extern const PropertyWords ALARM_SET_WORDS;
extern const PropertyWords BACKPLANE_WORDS;
extern const PropertyWords LOAD_BALANCE_SHOW_WORDS;
extern const PropertyWords LOAD_BALANCE_SET_WORDS;

// The default power-saving policy of new logical drives.
const char* powerSavingPolicyText(uint8_t policy, bool withoutCacheSupported);

// What a property needs of the controller besides its row.
enum class PropertyNeed : uint8_t {
    NONE,
    SPIN_DOWN,         // drives may be spun down
    PI,                // protection information
    SSD_PATROL_READ,   // patrol read of SSDs may be switched
};

// True when the controller has what the property needs. Otherwise the refusal is printed and
// *status is the status of the capability query (0 when the query answered "no").
bool propertyNeedMet(PropertyRun& run, PropertyNeed need, int* status);

#endif
