// The full-screen progress display of the long operations ("-ProgDsply"): one line per drive or
// virtual drive with a 50-column bar, the percentage and the elapsed time, redrawn once a
// second until every operation shown has ended or Escape is pressed.
//
// The display re-reads the firmware's progress only every REFRESH_CYCLES cycles and counts the
// elapsed time up by itself in between. The shell sleeps it runs are what moves time on, so a
// simulated host advances its operations through them.
//
// The processors that offer the display each make a first pass of their own over the items of
// the request (what is running, what is reported as not running), then hand the kept items to
// runProgressDisplay. The drive members share DriveProgressMember/showDriveProgress; the
// virtual-drive members share VdProgressMember/showVdProgress.
#ifndef PROGRESSDISPLAY_H
#define PROGRESSDISPLAY_H

#include <cstddef>
#include <cstdint>
#include <vector>

class CpController;
class LdParsedObject;
class LdProgressBlock;

// Progress of one shown item, as the firmware's progress entry carries it.
struct ProgressRecord {
    uint16_t progress;         // in 65535ths; PROGRESS_ENDED once the operation no longer runs
    uint16_t elapsedSeconds;
};

const uint16_t PROGRESS_ENDED = 0xFFFF;
const int REFRESH_CYCLES = 15;
const int PROGRESS_BAR_COLUMNS = 50;

// When the elapsed time of a record counts up between two reads.
enum class ElapsedRule {
    UNTIL_ENDED,               // while the progress is not PROGRESS_ENDED
    UNTIL_ENDED_ONCE_STARTED,  // the same, and only once some time has been reported
    ALWAYS,
};

// What a display draws around its lines and how it counts.
struct ProgressDisplayStyle {
    unsigned int titleMessage;
    unsigned int headerMessage;
    char fill;                  // bar columns beyond the percentage
    bool zeroIsFullOnceRead;    // a progress of 0 shows 100 % once the first-read flag is clear
    ElapsedRule elapsed;
    bool lineEndFirst;          // a line end opens every cycle (the virtual-drive members)
    bool clearAtEnd;            // the screen is cleared after the display
};

// The percentage of a progress in 65535ths, truncated.
int progressPercent(uint16_t progress);

// The bar and the time of one item line after its prefix: "<50 columns> HH:MM:SS\n\r". The
// result is what printProgressLine prints after the prefix.
void formatProgressBar(const ProgressRecord& record, bool firstRead, bool error, const ProgressDisplayStyle& style,
                       char* out, size_t size);
// The item prefixes: a drive's enclosure and slot (no enclosure: "--"), a virtual drive's
// target id.
void formatDrivePrefix(uint16_t enclosureId, uint8_t slot, char* out, size_t size);
void formatVdPrefix(uint8_t targetId, char* out, size_t size);
// One item line, straight to standard output (neither paged nor copied to the console log).
void printProgressLine(const char* prefix, const ProgressRecord& record, bool firstRead, bool error,
                       const ProgressDisplayStyle& style);

// The items one display shows, in order.
class ProgressItems {
public:
    // What a refresh read found.
    enum class ReadOutcome {
        RUNNING,      // the record was filled from the firmware
        ENDED,        // the operation no longer runs: the record shows PROGRESS_ENDED
        FAILED,       // the read failed: the line shows ERROR (members that show errors)
        UNCHANGED,    // the read failed and the line keeps what it showed
        NOT_SHOWN,    // the item is not shown in this cycle
    };

    virtual ~ProgressItems() {}
    virtual size_t count() const = 0;
    // False when the item is not to be shown in this cycle (without a line).
    virtual bool present(size_t /*index*/) { return true; }
    // Reads the item's progress afresh into its record; the status of the read (or lookup).
    virtual int refresh(size_t index, ReadOutcome* outcome) = 0;
    virtual ProgressRecord& record(size_t index) = 0;
    virtual void prefix(size_t index, char* out, size_t size) = 0;
};

// When the first-read flag is cleared in the cycles after cycle 0.
enum class FirstReadClears {
    AT_ANY_REFRESH,
    AT_SUCCESSFUL_READ,
};

// The screen loop over items that passed a first pass: returns the status of the last refresh
// read (0 when it succeeded, also when left with Escape).
int runProgressDisplay(ProgressItems& items, const ProgressDisplayStyle& style, FirstReadClears clears);

// Runs the pause that lets a not-running line be read before the screen is cleared.
void pauseAfterNotRunningLines();

// ---- the drive members ------------------------------------------------------------------------

// One drive of a request's list: the enclosure id as written and the slot.
struct DriveAddress {
    uint16_t enclosureId;
    uint8_t slot;
};

struct DriveProgressMember {
    uint32_t runningBit;          // in the progress block's running word
    size_t entry;                 // the progress entry of the operation
    uint32_t suspendedBit;        // in the suspended word; 0: not tested
    // A drive that cannot be found in the first pass: left out (false) or the end of the
    // display with -1 (true), with message 0x33005 when reportsMissing. A drive list that
    // cannot be read always ends the display, after message 0x33006, with the read's status.
    bool missingEnds;
    bool reportsMissing;
    // Not running: the suspended text (message 0x1) when suspended, then the not-running
    // message unless the suspended text stands alone; everyAllRun: the first drive that does not
    // run ends the display with -1 (no pause).
    const char* suspendedText;
    bool suspendedTextAlone;
    unsigned int notRunningMessage;
    bool notRunningNamesDrive;    // the message takes the enclosure text and the slot
    bool everyMustRun;
    // The line shows the drive's own address (true) or the request's; the drive is looked up
    // again at every refresh (true) or kept from the first pass.
    bool addressFromDrive;
    bool lookUpAtRefresh;
    bool showsErrors;
    FirstReadClears firstReadClears;
    ProgressDisplayStyle style;
};

// The drive display: first pass over the drives, the pause, then the screen. The result is the
// display's (0 when nothing runs; -1 for a first-pass failure; else the last read's status).
int showDriveProgress(CpController* cpController, const std::vector<DriveAddress>& drives,
                      const DriveProgressMember& member);

// ---- the virtual-drive members ---------------------------------------------------------------

struct VdProgressMember {
    uint32_t runningBit;
    size_t entry;
    uint32_t suspendedBit;        // 0: not tested
    const char* suspendedText;    // printed (message 0x1) before the not-running message
    unsigned int notRunningMessage;   // with the target id
    ProgressDisplayStyle style;
};

// The display of the virtual drives of a request's logical-drive list (or all of them), reading
// into the processor's progress block. The logical-drive list or the configuration that cannot
// be read ends it, after its line, with the read's status; a drive whose lookup or progress
// cannot be read in the first pass gets its line, and the status is the result unless the
// screen runs.
int showVdProgress(CpController* cpController, const LdParsedObject* request, LdProgressBlock* block,
                   const VdProgressMember& member);

#endif
