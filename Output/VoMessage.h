// The message printer: every user-visible text is printed by message id from VT_MESSAGES,
// formatted with the caller's printf arguments.
#ifndef VOMESSAGE_H
#define VOMESSAGE_H

#include "Output/VtMessages.h"
#include "PavUtil/apstring.h"

class FileHandle;

// One looked-up message; lives only inside one printer call.
class VoMessage {
public:
    explicit VoMessage(unsigned int id);
    virtual ~VoMessage();

    // Searches the table anew and returns the text of the first row with this id, or an
    // empty text when no row has it. The text stays owned by the message and lives until the
    // next call or the message's destruction.
    string* text();
    unsigned int id() const;

    VoMessage(const VoMessage&) = delete;
    VoMessage& operator=(const VoMessage&) = delete;

private:
    unsigned int myId;
    string* myText;
};

// Largest formatted text, terminating NUL included; a longer result is cut at this size.
constexpr int VOMESSAGE_PRINT_BUFFER = 2048;
constexpr int VOMESSAGE_FILE_BUFFER = 1024;

// Prints the message through the console printer (paging, console log). An id that no row
// holds, or whose text is empty, prints nothing.
void printMessage(unsigned int id, ...);

// Appends the message, formatted as printMessage formats it, to `out`; nothing is printed. An
// id without text appends nothing. Used where a text block is built first and printed whole.
void appendMessage(string& out, unsigned int id, ...);

// Writes the message to an open file only (neither screen nor console log). 0, or -1 when the
// write failed; an id without text writes nothing and gives 0.
int printMessageToFile(FileHandle* file, unsigned int id, ...);

#endif
