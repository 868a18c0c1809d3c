// One controller property shown ("-AdpGetProp") or changed ("-AdpSetProp"). Most properties
// live in the controller's properties record: a set changes the adapter element's kept copy and
// writes it back once, at the end; a few (alarm, drive performance monitoring) are sent by their
// own commands inside the adapter element.
//
// What each property word reads or changes, and the words it prints, are rows of two tables
// (AdpPropertyCp.cpp for the shows, AdpPropertySet.cpp for the changes); the processor itself
// takes the common steps around a row.
//
// Results: 0 success, -1 a failure the processor found itself (refused input, missing
// capability), else the status of the failed firmware command or model operation.
#ifndef ADPPROPERTYCP_H
#define ADPPROPERTYCP_H

#include <cstddef>
#include <cstdint>

#include "CpMgmt/CmdPro/CpFrame.h"
#include "Parser/TokenIds.h"

class Adapter;
class AdpPropertyPo;

// What one row of either table works with.
struct PropertyRun {
    CpController* cpController;
    Adapter* adapter;
    AdpPropertyPo* request;
    uint8_t adapterNumber;
    int32_t oemId;             // a failed read counts as an OEM other than 2
    const uint8_t* info;       // the controller information read at the start (zeros when it failed)
    size_t infoSize;
    bool endNow;               // the row ended the command at once, with its own message
    char setText[160];         // the %s of the set success line
};

// The OEM whose wordings differ: pass phrases, maximum drive latency.
constexpr int32_t PROPERTY_OEM_LATENCY = 2;

// Bit `bit` of byte `offset` of the controller information.
bool propertyCapability(const PropertyRun& run, size_t offset, unsigned bit);

// The row of the code: false when the code has none. Otherwise *status is the row's status
// (its lines printed); a row that ends the command at once sets run.endNow.
bool showPropertyRow(PropertyRun& run, unsigned short code, int* status);
// The same for a change; on success run.setText holds the set text.
bool changePropertyRow(PropertyRun& run, unsigned short code, int* status);

class AdpPropertyCp : public CpFrame<AdpPropertyCp, TOKEN_SET_ADPPROPERTY, TOKEN_GET_ADPPROPERTY> {
public:
    AdpPropertyCp() {}
    int process(CpController* cpController, ParsedObject* request) override;
    ~AdpPropertyCp() override {}

    // 0 when write-back caching is possible now; -1 after the message that says why not.
    static int isWriteBackPossible(CpController* cpController);

private:
    static int show(PropertyRun& run, unsigned short code, int provisional);
    static int change(PropertyRun& run, unsigned short code);
};

#endif
