// The free space of the configuration ("-CfgFreeSpaceinfo"): for every span of every disk group
// its free extents, each with the capacity a new virtual drive of the span's level could use.
#ifndef FREESPACEINFOCP_H
#define FREESPACEINFOCP_H

#include "CpMgmt/CmdPro/CpFrame.h"
#include "Parser/TokenIds.h"

class Array;
class ArraySpaceInfo;

class FreeSpaceInfoCp : public CpFrame<FreeSpaceInfoCp, TOKEN_ADPFREESPACEINFO> {
public:
    FreeSpaceInfoCp() {}
    // 0; -1 for a missing request, model, array list or array; the status of a failed refresh
    // or disk-group read (the output so far stays).
    int process(CpController* cpController, ParsedObject* request) override;
    ~FreeSpaceInfoCp() override {}

    // Deletes every extent of the list, then the list; a null list is ignored.
    static void deleteExtentList(ArrayList<ArraySpaceInfo*>* extents);

private:
    static void showSpan(unsigned spanIndex, Array* array);
};

#endif
