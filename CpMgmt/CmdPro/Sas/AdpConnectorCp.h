// The controller settings of its SAS side: the mode of each connector (internal, external or
// chosen by the controller; "-AdpGetConnectorMode", "-AdpSetConnectorMode") and the direct
// drive mapping of the manufacturing defaults ("-DirectPdMapping").
#ifndef ADPCONNECTORCP_H
#define ADPCONNECTORCP_H

#include <cstdint>

#include "CpMgmt/CmdPro/CpFrame.h"
#include "Parser/TokenIds.h"

class Adapter;
class MuxModeParsedObject;

class MuxModeCp : public CpFrame<MuxModeCp, TOKEN_MUXGETMODE, TOKEN_MUXSETMODE> {
public:
    MuxModeCp() {}
    // 0, -1 (no request, model, adapter or connector), or the failed operation's status.
    int process(CpController* cpController, ParsedObject* request) override;
    ~MuxModeCp() override {}

private:
    int showModes(Adapter* adapter, MuxModeParsedObject* request, uint8_t count, int adapterNumber);
    int setModes(Adapter* adapter, MuxModeParsedObject* request, uint8_t count, int adapterNumber);
};

class PdMappingCp : public CpFrame<PdMappingCp, TOKEN_DIRECTPDMAPPING> {
public:
    PdMappingCp() {}
    // 0, or -1 when the defaults cannot be read or written.
    int process(CpController* cpController, ParsedObject* request) override;
    ~PdMappingCp() override {}
};

#endif
