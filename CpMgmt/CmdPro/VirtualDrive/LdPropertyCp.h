// The virtual-drive properties ("-LDGetProp", "-LDSetProp"): for each selected virtual drive,
// show one property, or change one and report the outcome.
#ifndef LDPROPERTYCP_H
#define LDPROPERTYCP_H

#include <cstddef>
#include <cstdint>

#include "CpMgmt/CmdPro/CpFrame.h"
#include "Parser/TokenIds.h"

class Adapter;
class LdPropParsedObject;
class RaidManager;
class VirtualDisk;

class LdPropertyCp : public CpFrame<LdPropertyCp, TOKEN_SET_LDPROPERTY, TOKEN_GET_LDPROPERTY> {
public:
    LdPropertyCp() {}
    // The drives in the request's order (every drive by target id with -Lall). The result is
    // that of the last property written (0 when all were written or shown); a refusal, a
    // failed check or an unknown property ends the walk at once with -1 or the failing status;
    // a configuration that cannot be read or a failed lookup ends it with the read's status.
    int process(CpController* cpController, ParsedObject* request) override;
    ~LdPropertyCp() override {}

    // 0 when a write-back policy can take effect at once; else -1 after printing why (no or
    // failing battery, a learn cycle, a reconstruction on any drive of the adapter).
    int checkBatteryForWriteBack(VirtualDisk* vd, CpController* cpController);

private:
    // One drive: `ends` is set when the command ends with the result returned.
    struct Step {
        CpController* cpController;
        LdPropParsedObject* request;
        RaidManager* manager;
        Adapter* adapter;
        uint8_t adapterNumber;
        bool all;
        bool lastDrive;
    };
    int showProperty(const Step& step, VirtualDisk* vd, uint8_t targetId, bool* ends);
    int changeProperty(const Step& step, VirtualDisk* vd, uint8_t targetId, bool* ends);
    int checkDiskCacheChange(const Step& step, uint8_t targetId, bool* ends);
    int removeBlockedAccess(const Step& step, VirtualDisk* vd, uint8_t targetId, bool* ends);
    // The change itself on loaded properties: its status, and the text X of the outcome lines.
    int applyChange(const Step& step, VirtualDisk* vd, char* text, size_t textSize, bool* ends);
    // Protection information off: the firmware's status; a refusal ends the command.
    int disablePi(const Step& step, VirtualDisk* vd, bool* ends);
};

#endif
