#include "CpMgmt/CmdPro/Help/HelpText.h"

#include <cstdio>
#include <cstring>

#include "CpMgmt/CmdPro/Help/AppVersionCp.h"
#include "Output/VoMessage.h"

namespace {

// Room for the longest element with the longer program name.
const size_t LINE_BUFFER_SIZE = 512;

}  // namespace

void printHelpText(const HelpText& text, const char* programName, unsigned char oemId)
{
    char line[LINE_BUFFER_SIZE];
    for (size_t i = 0; i < text.count; ++i) {
        const HelpLine& element = text.lines[i];
        const char* format =
            oemId == AppVersionCp::OEM_ID_PASSPHRASE && element.oem2Text != nullptr ? element.oem2Text : element.text;
        if (format[0] == '\0')
            continue;  // an element that one OEM's wording leaves out
        // The elements are this program's own formats with the program name as their only
        // argument; the user's words never reach a format.
        snprintf(line, sizeof line, format, programName);
        printMessage(MSG_TEXT, line);
    }
}

const HelpText* findHelpText(const HelpTable& table, const char* topicWord)
{
    for (size_t i = 0; i < table.count; ++i) {
        if (strcmp(table.entries[i].keyword, topicWord) == 0)
            return &table.entries[i].text;
    }
    return nullptr;
}

bool printHostCacheHelp(const char* programName, const char* topicWord, unsigned char oemId)
{
    const HelpText* text = findHelpText(HOST_CACHE_HELP, topicWord);
    if (text == nullptr)
        return false;
    printHelpText(*text, programName, oemId);
    return true;
}
