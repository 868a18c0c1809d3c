#include "Output/VoMessage.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "Output/VoPrint.h"
#include "PavUtil/FileIO.h"
#include "PavUtil/Memory.h"

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

    const char* found = "";
    for (unsigned int row = 0; row < VT_MESSAGES_COUNT; ++row) {
        if (VT_MESSAGES[row].id == myId) {
            found = VT_MESSAGES[row].text;
            break;
        }
    }
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
