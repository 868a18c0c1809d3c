// The adapter settings command ("-AdpSettings -Read -f file"): programs the controller's
// manufacturing defaults block from a KEY = value file, on controllers of OEM 8 only. The block
// is read, the file's keys change single fields of the kept copy, and the whole block is written
// back with one command; a file with a value out of its range writes nothing.
#ifndef ADPSETTINGSKVXCP_H
#define ADPSETTINGSKVXCP_H

#include <cstdint>

#include "CpMgmt/CmdPro/CpFrame.h"
#include "Parser/TokenIds.h"
#include "RaidManager/Zpr/Records/Mfc/ZprMfcDefaults.h"

class AdpSettingsPo;
class LeView;
struct MfcSettingKey;

class AdpSettingsKvxCp : public CpFrame<AdpSettingsKvxCp, TOKEN_ADPSETTINGS> {
public:
    AdpSettingsKvxCp();
    // 0 success; 3 a value out of range; -1 the processor's own failures (another OEM, the
    // "Write" form, a file that cannot be read); otherwise the firmware status.
    int process(CpController* cpController, ParsedObject* request) override;
    ~AdpSettingsKvxCp() override {}

    // The read-modify-write of the block from the request's file.
    int programFromFile(CpController* cpController, AdpSettingsPo* request);

    static void trimTrailingSpace(char* text);

private:
    enum class Applied { Stored, UnknownKey, Invalid };
    // One key = value pair applied to the kept block.
    Applied applyKey(const char* key, const char* value, unsigned featureLevel, const LeView& info);
    Applied applyFieldKey(const MfcSettingKey& row, const char* value, const LeView& info);

    uint8_t defaults[ZprMfcDefaults::SIZE];
};

#endif
