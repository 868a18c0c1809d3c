#include "CpMgmt/CmdPro/Display/ProgressDisplay.h"

#include <curses.h>
#include <term.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>

#include "ControllerMgmt/Controller.h"
#include "CpMgmt/CmdPro/AdpCpSteps.h"
#include "CpMgmt/CmdPro/ReadFailure.h"
#include "CpMgmt/CommandProcessor.h"
#include "CpMgmt/EnclosureIdText.h"
#include "Output/VoMessage.h"
#include "Output/VoPrint.h"
#include "RaidManager/EnclSlotId.h"
#include "RaidManager/EnclosureIds.h"
#include "RaidManager/PhysicalDevice.h"
#include "RaidManager/RaidManager.h"
#include "RaidManager/Zpr/Records/Drive/ZprPdProgressBlock.h"
#include "System/OsBoundary.h"

namespace {

const char* const CLEAR_SCREEN = "clear";
const char* const ONE_SECOND = "sleep 1";
const char* const READING_PAUSE = "sleep 5";
const int ESCAPE_KEY = 27;
// Bar columns that carry the percentage (or ERROR) over the bar.
const int PERCENT_COLUMN = 22;

void runShell(const char* command)
{
    // The item lines go straight to standard output: they must be out before the shell draws.
    fflush(stdout);
    osBoundary().system(command);
}

// The terminal in full-screen mode for the time of one display. A terminal that cannot be
// opened (no or an unknown TERM) leaves the display on the plain console instead of ending
// the program in the middle of it.
class FullScreen {
public:
    FullScreen() : screen(nullptr)
    {
        // The terminal's description is looked up first: a failed newterm leaves an
        // allocation of the terminal library behind.
        int error = 0;
        if (setupterm(nullptr, fileno(stdout), &error) != OK)
            return;
        del_curterm(cur_term);
        screen = newterm(nullptr, stdout, stdin);
        if (screen != nullptr)
            noecho();
    }
    ~FullScreen() { finish(); }

    // The waiting character, cut to 8 bits by the caller; -1 when none can be read.
    int readKey()
    {
        if (screen != nullptr)
            return wgetch(stdscr);
        unsigned char c = 0;
        return ::read(0, &c, 1) == 1 ? c : -1;
    }

    void update()
    {
        fflush(stdout);
        if (screen != nullptr)
            wrefresh(stdscr);
    }

    void finish()
    {
        if (screen == nullptr)
            return;
        echo();
        endwin();
        delscreen(screen);
        screen = nullptr;
    }

    FullScreen(const FullScreen&) = delete;
    FullScreen& operator=(const FullScreen&) = delete;

private:
    SCREEN* screen;
};

bool countsUp(ElapsedRule rule, const ProgressRecord& record)
{
    switch (rule) {
    case ElapsedRule::UNTIL_ENDED:
        return record.progress != PROGRESS_ENDED;
    case ElapsedRule::UNTIL_ENDED_ONCE_STARTED:
        return record.progress != PROGRESS_ENDED && record.elapsedSeconds != 0;
    case ElapsedRule::ALWAYS:
        return true;
    }
    return false;
}

}  // namespace

int progressPercent(uint16_t progress)
{
    return static_cast<int>(static_cast<uint32_t>(progress) * 100u / 65535u);
}

void formatProgressBar(const ProgressRecord& record, bool firstRead, bool error, const ProgressDisplayStyle& style,
                       char* out, size_t size)
{
    int percent = progressPercent(record.progress);
    if (style.zeroIsFullOnceRead && record.progress == 0 && !firstRead)
        percent = 100;
    char bar[PROGRESS_BAR_COLUMNS + 1];
    for (int i = 0; i < PROGRESS_BAR_COLUMNS; ++i)
        bar[i] = i < percent / 2 ? '#' : style.fill;
    bar[PROGRESS_BAR_COLUMNS] = '\0';
    if (error) {
        memcpy(bar + PERCENT_COLUMN, "ERROR", 5);
    } else {
        if (percent == 100)
            bar[PERCENT_COLUMN] = '1';
        bar[PERCENT_COLUMN + 1] = static_cast<char>('0' + percent / 10 % 10);
        bar[PERCENT_COLUMN + 2] = static_cast<char>('0' + percent % 10);
        bar[PERCENT_COLUMN + 3] = ' ';
        bar[PERCENT_COLUMN + 4] = '%';
    }
    const unsigned seconds = record.elapsedSeconds;
    snprintf(out, size, "%s %.2u:%.2u:%.2u\n\r", bar, seconds / 3600, seconds % 3600 / 60, seconds % 60);
}

void formatDrivePrefix(uint16_t enclosureId, uint8_t slot, char* out, size_t size)
{
    if (enclosureId == ENCLOSURE_ID_NONE)
        snprintf(out, size, "       -- :%.2d     ", slot);
    else
        snprintf(out, size, "       %.3d :%.2d     ", enclosureId, slot);
}

void formatVdPrefix(uint8_t targetId, char* out, size_t size)
{
    snprintf(out, size, "         %2d         ", targetId);
}

void printProgressLine(const char* prefix, const ProgressRecord& record, bool firstRead, bool error,
                       const ProgressDisplayStyle& style)
{
    char rest[PROGRESS_BAR_COLUMNS + 32];
    formatProgressBar(record, firstRead, error, style, rest, sizeof rest);
    printf("%s%s", prefix, rest);
}

void pauseAfterNotRunningLines()
{
    runShell(READING_PAUSE);
}

namespace {

// One cycle's line of one item: refreshes it when the cycle asks, and prints it. False when the
// item is not shown in this cycle.
struct CycleState {
    int cycle;
    bool firstRead;
    bool allDone;
    int result;
};

bool showItem(ProgressItems& items, size_t index, std::vector<bool>& errors, CycleState& state,
              const ProgressDisplayStyle& style, FirstReadClears clears)
{
    ProgressRecord& record = items.record(index);
    if (state.cycle % REFRESH_CYCLES != 0) {
        if (countsUp(style.elapsed, record))
            ++record.elapsedSeconds;
        state.allDone = false;
    } else {
        ProgressItems::ReadOutcome outcome = ProgressItems::ReadOutcome::NOT_SHOWN;
        state.result = items.refresh(index, &outcome);
        if (outcome == ProgressItems::ReadOutcome::NOT_SHOWN)
            return false;
        if (outcome == ProgressItems::ReadOutcome::FAILED) {
            ++record.elapsedSeconds;
            errors[index] = true;
        } else {
            const bool succeeded = outcome != ProgressItems::ReadOutcome::UNCHANGED;
            if (state.cycle > 0 && (clears == FirstReadClears::AT_ANY_REFRESH || succeeded))
                state.firstRead = false;
            if (outcome == ProgressItems::ReadOutcome::RUNNING)
                state.allDone = false;
            errors[index] = false;
        }
    }
    char prefix[64];
    items.prefix(index, prefix, sizeof prefix);
    printProgressLine(prefix, record, state.firstRead, errors[index], style);
    return true;
}

}  // namespace

int runProgressDisplay(ProgressItems& items, const ProgressDisplayStyle& style, FirstReadClears clears)
{
    FullScreen screen;
    std::vector<bool> errors(items.count(), false);
    CycleState state = {0, true, true, 0};
    for (;; ++state.cycle) {
        state.allDone = true;
        if (style.lineEndFirst)
            printMessage(MSG_NEWLINE);
        runShell(CLEAR_SCREEN);
        printMessage(style.titleMessage);
        printMessage(style.headerMessage);
        for (size_t i = 0; i < items.count(); ++i) {
            if (items.present(i))
                showItem(items, i, errors, state, style, clears);
        }
        printMessage(MSG_PRESS_ESC);
        if (state.allDone)
            break;
        if (keyPressed() != 0 && (screen.readKey() & 0xFF) == ESCAPE_KEY)
            break;
        screen.update();
        runShell(ONE_SECOND);
    }
    fflush(stdout);
    screen.finish();
    if (style.clearAtEnd)
        runShell(CLEAR_SCREEN);
    return state.result;
}

// ---- the drive members --------------------------------------------------------------------------

namespace {

struct DriveItem {
    PhysicalDevice* pd;          // the model's; null until found
    uint16_t enclosureId;        // resolved
    uint8_t slot;
    ProgressRecord record;
    uint8_t block[PdProgressBlock::SIZE];   // the last block read for this drive
};

class DriveItems : public ProgressItems {
public:
    DriveItems(RaidManager* manager, const DriveProgressMember& member) : manager(manager), member(member) {}

    std::vector<DriveItem> items;

    size_t count() const override { return items.size(); }
    ProgressRecord& record(size_t index) override { return items[index].record; }

    int refresh(size_t index, ReadOutcome* outcome) override
    {
        DriveItem& item = items[index];
        if (member.lookUpAtRefresh) {
            EnclSlotId address(item.enclosureId, item.slot);
            item.pd = nullptr;
            if (const int unread = manager->findPdByEnclSlot(&address, &item.pd)) {
                // A drive list that cannot be read says nothing of the drive: it has not gone
                // away, and its line keeps what it showed (or shows the error).
                *outcome = member.showsErrors ? ReadOutcome::FAILED : ReadOutcome::UNCHANGED;
                return unread;
            }
        }
        if (item.pd == nullptr) {
            // A drive that went away shows its operation as ended; it keeps nothing alive.
            item.record.progress = PROGRESS_ENDED;
            *outcome = ReadOutcome::ENDED;
            return -1;
        }
        uint8_t fresh[PdProgressBlock::SIZE] = {};
        const int status = item.pd->getProgress(fresh);
        if (status != 0 && member.showsErrors) {
            *outcome = ReadOutcome::FAILED;
            return status;
        }
        // Without errors shown, a failed read leaves the line on the drive's last block.
        if (status == 0)
            memcpy(item.block, fresh, sizeof fresh);
        PdProgressBlock block(item.block, sizeof item.block);
        if ((block.running() & member.runningBit) != 0) {
            item.record.progress = block.progress(member.entry);
            item.record.elapsedSeconds = block.elapsedSeconds(member.entry);
            *outcome = ReadOutcome::RUNNING;
        } else {
            item.record.progress = PROGRESS_ENDED;
            *outcome = ReadOutcome::ENDED;
        }
        return status;
    }

    void prefix(size_t index, char* out, size_t size) override
    {
        const DriveItem& item = items[index];
        uint16_t enclosureId = item.enclosureId;
        uint8_t slot = item.slot;
        if (member.addressFromDrive && item.pd != nullptr) {
            uint16_t ownEnclosure = 0;
            uint8_t ownSlot = 0;
            if (item.pd->getEnclosureDeviceId(&ownEnclosure) == 0 && item.pd->getSlotNumber(&ownSlot) == 0) {
                enclosureId = ownEnclosure;
                slot = ownSlot;
            }
        }
        formatDrivePrefix(enclosureId, slot, out, size);
    }

private:
    RaidManager* manager;
    const DriveProgressMember& member;
};

// What the first pass found for one drive.
enum class FirstPass { KEPT, LEFT_OUT, NOT_RUNNING, ENDS };

void reportNotRunning(const DriveProgressMember& member, const DriveItem& item, bool suspended)
{
    if (suspended && member.suspendedText != nullptr) {
        printMessage(MSG_TEXT, member.suspendedText);
        if (member.suspendedTextAlone)
            return;
    }
    if (member.notRunningNamesDrive)
        printMessage(member.notRunningMessage, formatEnclosureId(item.enclosureId), item.slot);
    else
        printMessage(member.notRunningMessage);
}

FirstPass passDrive(CpController* cpController, RaidManager* manager, const DriveProgressMember& member,
                    const DriveAddress& address, DriveItem& item, int* result)
{
    item = DriveItem();
    item.enclosureId = address.enclosureId;
    item.slot = address.slot;
    int status = CommandProcessor::resolveEnclosureId(cpController, &item.enclosureId);
    if (status != 0) {
        *result = status;
        return FirstPass::ENDS;
    }
    EnclSlotId lookup(item.enclosureId, item.slot);
    status = manager->findPdByEnclSlot(&lookup, &item.pd);
    if (status != 0) {
        // Unknown is not missing: the display ends on the drive list that cannot be read.
        *result = driveUnreadable(adapterNumberOf(cpController), item.enclosureId, item.slot, status);
        return FirstPass::ENDS;
    }
    if (item.pd == nullptr) {
        if (member.reportsMissing)
            printMessage(MSG_PD_NOT_FOUND, static_cast<int>(adapterNumberOf(cpController)),
                         formatEnclosureId(item.enclosureId), item.slot);
        if (!member.missingEnds)
            return FirstPass::LEFT_OUT;
        *result = -1;
        return FirstPass::ENDS;
    }
    status = item.pd->getProgress(item.block);
    if (status != 0) {
        // No block to judge by: the drive is left out, and the status stays the result.
        *result = status;
        return FirstPass::LEFT_OUT;
    }
    PdProgressBlock block(item.block, sizeof item.block);
    const bool running = (block.running() & member.runningBit) != 0;
    const bool suspended = member.suspendedBit != 0 && (block.suspended() & member.suspendedBit) != 0;
    if (running && !suspended)
        return FirstPass::KEPT;
    reportNotRunning(member, item, suspended);
    if (member.everyMustRun) {
        *result = -1;
        return FirstPass::ENDS;
    }
    return FirstPass::NOT_RUNNING;
}

}  // namespace

int showDriveProgress(CpController* cpController, const std::vector<DriveAddress>& drives,
                      const DriveProgressMember& member)
{
    Controller* controller = controllerOf(cpController);
    RaidManager* manager = controller != nullptr ? getRaidManager(controller) : nullptr;
    if (manager == nullptr)
        return -1;
    DriveItems items(manager, member);
    int result = 0;
    bool notRunningShown = false;
    for (const DriveAddress& address : drives) {
        DriveItem item;
        switch (passDrive(cpController, manager, member, address, item, &result)) {
        case FirstPass::KEPT:
            items.items.push_back(item);
            break;
        case FirstPass::NOT_RUNNING:
            notRunningShown = true;
            break;
        case FirstPass::LEFT_OUT:
            break;
        case FirstPass::ENDS:
            return result;
        }
    }
    if (notRunningShown)
        pauseAfterNotRunningLines();
    if (items.items.empty())
        return result;
    return runProgressDisplay(items, member.style, member.firstReadClears);
}
