// The foreign configurations ("-CfgForeign -Scan|-Dsply|-Preview|-Import|-Clear [n]
// [-SecurityKey t|-Passphrase t]"): configurations that drives moved in from another controller
// carry. The key, when given, goes to the controller as its escrow key before the scan; then
// the configurations are counted, shown as they are or as an import would make them, imported
// or cleared, one (by index) or all.
#ifndef FOREIGNCFGCP_H
#define FOREIGNCFGCP_H

#include <cstdint>

#include "CpMgmt/CmdPro/CpFrame.h"
#include "Parser/TokenIds.h"

class Adapter;
class ForeignCfgParsedObject;
class RaidManager;
class RmCfg;

class ForeignCfgCp : public CpFrame<ForeignCfgCp, TOKEN_ADPFRNCFG> {
public:
    ForeignCfgCp();
    // 0, -1, or the status of the last operation of the loop over the configurations (a failed
    // display or import check ends the command with its status at once).
    int process(CpController* cpController, ParsedObject* request) override;
    ~ForeignCfgCp() override {}

    // Prints a configuration disk group by disk group, span by span; mode 1 adds the warnings of
    // an import. 0, or -1 / the failing status after its message (the output so far stays).
    static int printForeignConfig(RmCfg* config, CpController* cpController, uint8_t mode);
    // Walks a configuration before its import without printing it: the same failures as the
    // printer, the virtual-drive limit (flag 1 in), the missing spans and drives, and a virtual
    // drive with protection information on a controller without that support (the flag then
    // comes back 1; the import goes ahead). 0 lets the import go ahead.
    static int checkForeignConfigForImport(RmCfg* config, CpController* cpController, uint8_t* flag);

private:
    // The steps of process before the loop: true to go on, else the command's result in `result`.
    bool prepare(CpController* cpController, ForeignCfgParsedObject* request, int* result);
    int displayOne(uint8_t i, CpController* cpController);
    int previewOne(uint8_t i, CpController* cpController);
    int previewAll(CpController* cpController);
    int importOne(uint8_t i, uint8_t index, CpController* cpController);
    int clearOne(uint8_t i);
    void reportImport(uint8_t i, bool all, int status);
    void reportConflictingDrives();

    RaidManager* manager;
    Adapter* adapter;
    uint8_t adapterNumber;
    uint8_t encryptionEnabled;
    uint8_t keyAssigned;
    uint8_t bootKeyFailed;
    uint8_t importAll;
    uint8_t cleared;
    bool stop;
};

#endif
