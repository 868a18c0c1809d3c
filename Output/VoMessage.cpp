#include "Output/VoMessage.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "Output/VoPrint.h"
#include "Output/VtMessages.h"
#include "PavUtil/FileIO.h"
#include "PavUtil/Memory.h"

namespace {

// The ids of the message table, in its row order (the same list that makes VT_MESSAGES).
constexpr unsigned int MESSAGE_IDS[] = {
#define VT_MESSAGE(id, text) id,
#include "Output/VtMessages.def"
};
constexpr unsigned int MESSAGE_ROWS = sizeof(MESSAGE_IDS) / sizeof(MESSAGE_IDS[0]);

// A hash index from id to row, built by the compiler: a lookup costs a few probes, not a walk
// over the table. Slots hold the row plus one (0: empty); the first row of an id wins.
constexpr unsigned int ID_SLOT_BITS = 12;
constexpr unsigned int ID_SLOTS = 1u << ID_SLOT_BITS;
static_assert(2 * MESSAGE_ROWS <= ID_SLOTS && MESSAGE_ROWS < 0xFFFF, "room for every row");

struct MessageIdIndex {
    unsigned short slot[ID_SLOTS];
};

constexpr unsigned int firstSlot(unsigned int id)
{
    return (id * 2654435761u) >> (32 - ID_SLOT_BITS);
}

constexpr MessageIdIndex buildIdIndex()
{
    MessageIdIndex index{};
    for (unsigned int row = 0; row < MESSAGE_ROWS; ++row) {
        unsigned int i = firstSlot(MESSAGE_IDS[row]);
        while (index.slot[i] != 0 && MESSAGE_IDS[index.slot[i] - 1] != MESSAGE_IDS[row])
            i = (i + 1) % ID_SLOTS;
        if (index.slot[i] == 0)
            index.slot[i] = static_cast<unsigned short>(row + 1);
    }
    return index;
}

constexpr MessageIdIndex MESSAGE_ID_INDEX = buildIdIndex();

// The row of the id; -1 when no row holds it.
int findMessageRow(unsigned int id)
{
    for (unsigned int i = firstSlot(id);; i = (i + 1) % ID_SLOTS) {
        unsigned short entry = MESSAGE_ID_INDEX.slot[i];
        if (entry == 0)
            return -1;
        if (MESSAGE_IDS[entry - 1] == id)
            return entry - 1;
    }
}

}  // namespace

VoMessage::VoMessage(unsigned int id)
    : myId(id), myText(new (noThrowNew) string())
{
}

VoMessage::~VoMessage()
{
    delete myText;
}

string* VoMessage::text()
{
    delete myText;
    myText = nullptr;

    int row = findMessageRow(myId);
    const char* found = row >= 0 && static_cast<unsigned int>(row) < VT_MESSAGES_COUNT
                            ? VT_MESSAGES[row].text
                            : "";
    // Null when memory ran out; the printers then print nothing.
    myText = new (noThrowNew) string(found);
    return myText;
}

unsigned int VoMessage::id() const
{
    return myId;
}

namespace {

// The table text of the id; empty when no row holds it (or memory ran out).
string lookUp(unsigned int id)
{
    VoMessage message(id);
    string* text = message.text();
    return text != nullptr ? string(*text) : string();
}

// Formats with a bound: arguments are often texts the user typed (file names, keys), so a
// result longer than the buffer is cut, never written past its end. The format itself always
// comes from the table.
void formatInto(char* buffer, int size, const char* format, va_list args)
{
    memset(buffer, 0, static_cast<size_t>(size));
    int written = vsnprintf(buffer, static_cast<size_t>(size), format, args);
    if (written < 0)
        buffer[0] = '\0';
}

}  // namespace

void printMessage(unsigned int id, ...)
{
    string format = lookUp(id);
    if (format.length() == 0)
        return;

    char buffer[VOMESSAGE_PRINT_BUFFER];
    va_list args;
    va_start(args, id);
    formatInto(buffer, sizeof(buffer), format.c_str(), args);
    va_end(args);

    VoPrint::instance()->print(string(buffer));
}

void appendMessage(string& out, unsigned int id, ...)
{
    string format = lookUp(id);
    if (format.length() == 0)
        return;

    char buffer[VOMESSAGE_PRINT_BUFFER];
    va_list args;
    va_start(args, id);
    formatInto(buffer, sizeof(buffer), format.c_str(), args);
    va_end(args);

    out += string(buffer);
}

int printMessageToFile(FileHandle* file, unsigned int id, ...)
{
    string format = lookUp(id);
    if (format.length() == 0)
        return 0;
    if (file == nullptr)
        return -1;

    char buffer[VOMESSAGE_FILE_BUFFER];
    va_list args;
    va_start(args, id);
    formatInto(buffer, sizeof(buffer), format.c_str(), args);
    va_end(args);

    // The formatted text is data: it is never used as a format a second time.
    return FileIO::instance()->printf(file, "%s", buffer) < 0 ? -1 : 0;
}
