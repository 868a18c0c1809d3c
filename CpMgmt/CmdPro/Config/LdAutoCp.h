// "-CfgAllFreeDrv": one virtual drive over the controller's unconfigured good drives (only the
// SATA ones with -SATAOnly), optionally spanned, with the largest drives kept back as hot
// spares.
//
// The drives are taken smallest first: the virtual drive uses the n smallest (n = the free
// drives less the hot-spare count), laid into the spans largest first. A spanned layout that
// does not divide n, or that the controller refuses, is tried again with one span fewer, down
// to two. After the drive is made every configurable drive left becomes a hot spare (dedicated
// to the new drive's arrays with -HspType -Dedicated). A span count of 0, or a hot-spare count
// that leaves no drive for the virtual drive, is refused before anything is sent.
#ifndef LDAUTOCP_H
#define LDAUTOCP_H

#include <cstdint>

#include "CpMgmt/CmdPro/Config/LdAddCp.h"
#include "CpMgmt/CmdPro/CpFrame.h"
#include "Parser/TokenIds.h"

class CfgAutoParsedObject;

class LdAutoCp : public CpFrameOver<LdAddCp, LdAutoCp, TOKEN_ADPCFGALLFREEDRV> {
public:
    LdAutoCp() {}
    // 0 after "Configured the Adapter!!"; 12 without a free drive, 30 for a spanned level with
    // one span, 11 when no configuration is possible, -1 for the refusals; else the status of
    // the last attempt or of the hot spares, or of a read that failed (the drive list, the
    // configuration or a drive's information: the free drives are then unknown, never none).
    int process(CpController* cpController, ParsedObject* request) override;
    ~LdAutoCp() override {}

protected:
    // Every drive of the list becomes a hot spare, in order, until one fails (no message per
    // drive): dedicated to the arrays of `vdId` with the request's dedicated flag, else global.
    // 0, -1 for a null request, 3 when the drive or its arrays cannot be found, or the status of
    // the lookup (after message 0x30025 when the configuration cannot be read) or of the spare
    // that failed.
    int makeHotSpares(CpController* cpController, ArrayList<PhysicalDevice*>* drives, VdId* vdId,
                      CfgAutoParsedObject* request);

private:
    // The drive lists of `spans` spans over the first n drives of the sorted list, the largest
    // first. false when a list cannot be made.
    bool layDriveLists(ArrayList<PhysicalDevice*>* sorted, uint8_t n, uint8_t spans);
    // The attempts from `spans` spans down: 0 with the new drive's id in *vdId, or the result of
    // the command after its message.
    int createDrive(CpController* cpController, CfgAutoParsedObject* request, ArrayList<PhysicalDevice*>* sorted,
                    uint8_t n, uint8_t spans, VdId** vdId);
    // The hot spares after the drive is made: 0, or the failing status after its message.
    int addHotSpares(CpController* cpController, CfgAutoParsedObject* request, VdId* vdId);
};

#endif
