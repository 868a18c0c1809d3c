#include "CpMgmt/CmdPro/Display/InfoLines.h"

#include "Output/VoMessage.h"
#include "Output/VtMessages.h"

namespace {

const char* const TITLE_INDENT = "                ";

} // namespace

void printSectionTitle(const char* title)
{
    printMessage(MSG_TEXT, TITLE_INDENT);
    printMessage(MSG_TEXT, title);
    printMessage(MSG_TEXT, TITLE_INDENT);
    printMessage(MSG_RULER_SHORT);
}

void printSectionTitleMessage(unsigned int titleMessage)
{
    printMessage(MSG_TEXT, TITLE_INDENT);
    printMessage(titleMessage);
    printMessage(MSG_TEXT, TITLE_INDENT);
    printMessage(MSG_RULER_SHORT);
}

void printNumberLine(const char* label, int value, const char* unit)
{
    printMessage(MSG_TEXT, label);
    printMessage(MSG_DECIMAL, value);
    if (unit != nullptr)
        printMessage(MSG_TEXT, unit);
    printMessage(MSG_NEWLINE);
}

void printTextLine(const char* label, const char* value)
{
    printMessage(MSG_TEXT, label);
    printMessage(MSG_TEXT, value);
    printMessage(MSG_NEWLINE);
}

void printYesNoLine(const char* label, bool yes)
{
    printTextLine(label, yesNo(yes));
}
