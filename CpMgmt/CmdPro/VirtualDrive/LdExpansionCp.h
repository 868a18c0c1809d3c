// Growth of virtual drives into free space of their own arrays, without drives added:
// "-getLdExpansionInfo" reports, for each selected drive and each of its spans, whether it can
// grow and how much room the array and its drives leave (LdExpansionInfoCp); "-LdExpansion"
// first grows each span's array to its smallest drive (unless -dontExpandArray) and then asks
// the firmware to grow the drive by a percentage of the free space (LdExpansionCp). The firmware
// computes the new size; the processors compute sizes only for the report.
#ifndef LDEXPANSIONCP_H
#define LDEXPANSIONCP_H

#include <cstdint>

#include "CpMgmt/CmdPro/CpFrame.h"
#include "Parser/TokenIds.h"

class Array;
class LdExpansionParsedObject;
class Span;
class VirtualDisk;

class LdExpansionInfoCp : public CpFrame<LdExpansionInfoCp, TOKEN_GETLDEXPANSIONINFO> {
public:
    LdExpansionInfoCp() {}
    // The status left by the last drive or span handled; 0 when the controller cannot expand
    // drives without new drives or has no virtual drive; -1 or a model status for a step that
    // ends the command (a configuration or a drive's allowed operations that cannot be read
    // after its line).
    int process(CpController* cpController, ParsedObject* request) override;
    ~LdExpansionInfoCp() override {}

    // The blocks the drive could grow to within its array's drives, beyond its size: the room
    // its level leaves on `drivesPerSpan` drives of `smallestDrive` blocks each, less `vdSize`;
    // 0 when the drive already fills the room (never wraps). -1 for a level without a rule.
    static int roomWithinDisks(uint8_t raidLevel, uint8_t drivesPerSpan, uint64_t smallestDrive, uint64_t vdSize,
                               uint64_t* room);

private:
    // The steps of one drive, one span, and the room within the array's drives: each updates
    // the walk's `status` and answers whether the walk goes on (false: `status` ends the
    // command).
    bool showDrive(VirtualDisk* vd, uint8_t adapterNumber, uint8_t number, uint8_t targetId, int* status);
    bool showSpan(VirtualDisk* vd, Span* span, uint8_t number, uint8_t targetId, int* status);
    bool showDiskRoom(VirtualDisk* vd, Array* array, int* status);
};

class LdExpansionCp : public CpFrame<LdExpansionCp, TOKEN_LDEXPANSION> {
public:
    LdExpansionCp() {}
    // The status left by the last drive or span handled (a failed expansion's firmware status
    // among them); 0 when the controller cannot expand drives without new drives, for a
    // percentage above 100 and without virtual drives; -1 or a model status for a step that
    // ends the command (a configuration or a drive's allowed operations that cannot be read
    // after its line).
    int process(CpController* cpController, ParsedObject* request) override;
    ~LdExpansionCp() override {}

private:
    // As the info command's steps: each updates `status` and answers whether the walk goes on.
    bool expandDrive(const LdExpansionParsedObject* request, VirtualDisk* vd, uint8_t number, int* status);
    bool expandSpan(const LdExpansionParsedObject* request, VirtualDisk* vd, Span* span, uint8_t number,
                    int* status);
};

#endif
