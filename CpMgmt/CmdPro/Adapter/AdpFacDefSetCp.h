// The factory-defaults command ("-AdpFacDefSet"): the controller restores its factory
// settings at once, without asking; they take effect after a reboot.
#ifndef ADPFACDEFSETCP_H
#define ADPFACDEFSETCP_H

#include "CpMgmt/CommandProcessor.h"

class AdpFacDefSetCp : public CommandProcessor {
public:
    static CommandProcessor* create(unsigned short kind);
    static ArrayList<unsigned short>* commandIds();

    AdpFacDefSetCp() {}
    // The firmware status of the command (0 success); -1 for a request of another class.
    int process(CpController* cpController, ParsedObject* request) override;
    ~AdpFacDefSetCp() override {}
};

#endif
