// The usage and help texts as data: each text is a table of elements printed in order, one
// console print per element, so paging and the console log treat them as any other output.
#ifndef HELPTEXT_H
#define HELPTEXT_H

#include <cstddef>

// One element: a format whose only possible argument is the program name ("%s"; "%%" prints one
// '%'). It does not always end a line: the next element may go on where it stops. `oem2Text`,
// when not null, is printed instead for OEM 2; an empty text prints nothing.
struct HelpLine {
    const char* text;
    const char* oem2Text;
};

struct HelpText {
    const HelpLine* lines;
    size_t count;
};

// The help text of one command and the topic word (upper case, no dash) that asks for it.
struct HelpEntry {
    const char* keyword;
    HelpText text;
};

struct HelpTable {
    const HelpEntry* entries;
    size_t count;
};

// Prints every element of the text for the OEM, formatted with the program name.
void printHelpText(const HelpText& text, const char* programName, unsigned char oemId);

// The text whose keyword equals the topic word in the table, or null.
const HelpText* findHelpText(const HelpTable& table, const char* topicWord);

// The full usage text.
extern const HelpText USAGE_TEXT;

// The help texts of the commands, one table per group of commands.
extern const HelpTable ADAPTER_DRIVE_HELP;         // adapter, drive, enclosure and phy commands
extern const HelpTable LOGICAL_DRIVE_CONFIG_HELP;  // logical-drive and configuration commands
extern const HelpTable EVENT_BATTERY_SECURITY_HELP;  // event log, battery, firmware, connectors, security, ...
extern const HelpTable VERSION_MIRROR_CACHE_HELP;  // version, mirror, power policy, secure erase, performance

extern const HelpTable HOST_CACHE_HELP;           // host-cache commands ("HK ...")

// Prints the help text of the host-cache command that the topic word names (upper case, no
// dash); true when it names one, false (nothing printed) otherwise.
bool printHostCacheHelp(const char* programName, const char* topicWord, unsigned char oemId);

#endif
