// The drive counts ("-LDGetNum", "-PDGetNum"): the number of virtual drives, or of disk and
// tape drives, of the adapter. The count is the command's result, so it becomes the exit code
// and a non-zero result does not stop the adapters after it.
#ifndef OBJNUMBERCP_H
#define OBJNUMBERCP_H

#include "CpMgmt/CommandProcessor.h"

class ObjNumberCp : public CommandProcessor {
public:
    static CommandProcessor* create(unsigned short kind);
    static ArrayList<unsigned short>* commandIds();

    ObjNumberCp() {}
    // The count printed; -1 without model or when the count cannot be read; 0 for a command
    // the class does not serve.
    int process(CpController* cpController, ParsedObject* request) override;
    ~ObjNumberCp() override {}
};

#endif
