#include "CpMgmt/CmdPro/Adapter/AdpPropertyWords.h"

#include "CpMgmt/CmdPro/Adapter/AdpPropertyCp.h"
#include "Output/VoMessage.h"
#include "Output/VtMessages.h"
#include "RaidManager/Adapter.h"
#include "RaidManager/Zpr/Records/Controller/ZprControllerInfo.h"

namespace {

const char* const ENABLED[] = {"Disabled", "Enabled"};
const char* const DISABLED[] = {"Enabled", "Disabled"};
const char* const ENABLE[] = {"Disable", "Enable"};
const char* const DISABLE[] = {"Enable", "Disable"};
const char* const COERCION[] = {"Disabled", "128MB", "1GB"};
const char* const ALARM_SHOW[] = {"Disabled", "Enabled", "Unknown", "Missing"};
const char* const ALARM_SET[] = {"Disabled", "Enabled", "Silenced"};
const char* const BACKPLANE[] = {"None", "SGPIO", "i2c SEP", "SGPIO/i2c SEP"};
const char* const LOAD_BALANCE_SHOW[] = {"Auto", "Disabled"};
const char* const LOAD_BALANCE_SET[] = {"Auto", "Disable"};

struct PolicyText {
    uint8_t policy;
    const char* text;
};

const PolicyText POLICY_TEXTS[] = {
    {0, "Controller defined"}, {1, "Automatic"}, {5, "Automatic"}, {POWER_SAVE_MAXIMUM, "Maximum"}, {254, "None"},
};

}  // namespace

const PropertyWords ENABLED_WORDS = {ENABLED, 2, true, ""};
const PropertyWords DISABLED_WORDS = {DISABLED, 2, true, ""};
const PropertyWords ENABLE_WORDS = {ENABLE, 2, true, ""};
const PropertyWords DISABLE_WORDS = {DISABLE, 2, true, ""};
const PropertyWords COERCION_WORDS = {COERCION, 3, false, "128MB"};
const PropertyWords ALARM_SHOW_WORDS = {ALARM_SHOW, 4, false, "Unknown"};
const PropertyWords ALARM_SET_WORDS = {ALARM_SET, 3, false, ""};
// A value beyond the four the controller defines has no name of its own.
const PropertyWords BACKPLANE_WORDS = {BACKPLANE, 4, false, "Unknown"};
const PropertyWords LOAD_BALANCE_SHOW_WORDS = {LOAD_BALANCE_SHOW, 2, true, ""};
const PropertyWords LOAD_BALANCE_SET_WORDS = {LOAD_BALANCE_SET, 2, true, ""};

const char* propertyWord(const PropertyWords& words, uint32_t value)
{
    if (words.twoState)
        return words.words[value != 0 ? 1 : 0];
    return value < words.count ? words.words[value] : words.beyond;
}

const char* powerSavingPolicyText(uint8_t policy, bool withoutCacheSupported)
{
    if (policy == POWER_SAVE_MAXIMUM_WITHOUT_CACHING)
        return withoutCacheSupported ? "Maximum without caching" : "Maximum";
    for (const PolicyText& row : POLICY_TEXTS)
        if (row.policy == policy)
            return row.text;
    return "";
}

bool propertyNeedMet(PropertyRun& run, PropertyNeed need, int* status)
{
    uint8_t supported = 1;
    const int adapter = static_cast<int>(run.adapterNumber);
    switch (need) {
    case PropertyNeed::NONE:
        return true;
    case PropertyNeed::SPIN_DOWN:
        *status = run.adapter->isSpinDownSupported(&supported);
        if (*status == 0 && supported != 0)
            return true;
        printMessage(MSG_PROP_SPIN_DOWN_UNSUPPORTED, adapter);
        return false;
    case PropertyNeed::PI:
        *status = run.adapter->isPiSupported(&supported);
        if (*status == 0 && supported != 0)
            return true;
        printMessage(MSG_PROP_PI_UNSUPPORTED, adapter);
        return false;
    case PropertyNeed::SSD_PATROL_READ:
        *status = 0;
        if (propertyCapability(run, ZprControllerInfo::SPARE_FEATURES, ZprControllerInfo::SSD_PATROL_READ_BIT))
            return true;
        printMessage(MSG_PROP_NOT_SUPPORTED, adapter);
        return false;
    }
    return true;
}
