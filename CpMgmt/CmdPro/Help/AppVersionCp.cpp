// The version and help commands ("-v", "-help", "-h", "?"). They need no controller: when none
// fits the adapter they name (none detected, or the adapter is absent) they run once on an
// executor without a controller, and the program is branded as for OEM 1.
#include "CpMgmt/CmdPro/Help/AppVersionCp.h"

#include <cctype>
#include <cstdio>
#include <cstring>

#include "CpMgmt/CmdPro/Help/HelpText.h"
#include "CpMgmt/CpController.h"
#include "CpMgmt/CpFactoryRegistry.h"
#include "Output/VoMessage.h"
#include "Output/VoPrint.h"
#include "Parser/AdpParsedObjects.h"
#include "Parser/TokenIds.h"
#include "RaidManager/Adapter.h"
#include "RaidManager/RaidManager.h"

namespace {

// The release number and the build date of this program.
const char VERSION_STRING[] = "1.02.00 Dec 10, 2026";

const unsigned char OEM_ID_DEFAULT = 1;

// The banners are formatted into this much room; the topic word is cut to fit its buffer (the
// longest keyword has 21 characters, so a cut word matches none).
const size_t BANNER_BUFFER_SIZE = 512;
const size_t TOPIC_BUFFER_SIZE = 48;

const HelpTable* const HELP_TABLES[] = {
    &ADAPTER_DRIVE_HELP,
    &LOGICAL_DRIVE_CONFIG_HELP,
    &EVENT_BATTERY_SECURITY_HELP,
    &VERSION_MIRROR_CACHE_HELP,
};

// Only OEM 2 knows the destroy command by this name.
const char OEM2_DELETE_KEYWORD[] = "DELETESECURITYKEY";
const char DESTROY_KEYWORD[] = "DESTROYSECURITYKEY";
const char DEFAULT_KEYWORD[] = "DEFAULT";

// The topic word: one leading '-' dropped, the rest upper case, cut to the buffer.
void normaliseTopic(const string& topic, char (&word)[TOPIC_BUFFER_SIZE])
{
    const char* text = topic.c_str();
    if (text[0] == '-')
        ++text;
    size_t i = 0;
    for (; text[i] != '\0' && i + 1 < sizeof word; ++i)
        word[i] = static_cast<char>(toupper(static_cast<unsigned char>(text[i])));
    word[i] = '\0';
}

const HelpText* findCommandHelp(const char* word)
{
    for (const HelpTable* table : HELP_TABLES) {
        const HelpText* text = findHelpText(*table, word);
        if (text != nullptr)
            return text;
    }
    return nullptr;
}

}  // namespace

AppVersionCp::AppVersionCp() : oemId(OEM_ID_DEFAULT) {}

AppVersionCp::~AppVersionCp() {}

const char* AppVersionCp::programName(unsigned char oem)
{
    return oem == OEM_ID_VOLANT ? "Volant2" : "QuillCli";
}

unsigned char AppVersionCp::readOemId(CpController* cpController)
{
    Controller* controller = cpController != nullptr ? cpController->controller() : nullptr;
    if (controller == nullptr)
        return OEM_ID_DEFAULT;
    RaidManager* manager = getRaidManager(controller);
    Adapter* adapter = nullptr;
    if (manager == nullptr || manager->getAdapter(&adapter) != 0 || adapter == nullptr)
        return OEM_ID_DEFAULT;
    // The controller asked anew: the answer brands this run, a failure brands it as OEM 1.
    int32_t answer = OEM_ID_DEFAULT;
    if (adapter->getOemId(&answer) != 0)
        return OEM_ID_DEFAULT;
    return static_cast<unsigned char>(answer);
}

void AppVersionCp::printBanner() const
{
    char banner[BANNER_BUFFER_SIZE];
    if (oemId == OEM_ID_VOLANT) {
        int used = snprintf(banner, sizeof banner, "\n\tKolvex(R) RAID Command Line Utilities Version 2");
        if (used > 0 && static_cast<size_t>(used) < sizeof banner)
            snprintf(banner + used, sizeof banner - used, "\n\t\tVer %s\n\n", VERSION_STRING);
        printText(string(banner));
    } else {
        printDefaultBanner();
    }
}

void printDefaultBanner()
{
    char banner[BANNER_BUFFER_SIZE];
    snprintf(banner, sizeof banner, "\n      QuillCLI SAS RAID Management Tool  Ver %s\n\n", VERSION_STRING);
    printText(string(banner));
}

int AppVersionCp::printHelp(const string& topic) const
{
    if (topic.length() == 0) {
        printHelpText(USAGE_TEXT, programName(oemId), oemId);
        return 0;
    }
    char word[TOPIC_BUFFER_SIZE];
    normaliseTopic(topic, word);
    const char* name = programName(oemId);

    const char* keyword = word;
    if (oemId == OEM_ID_PASSPHRASE && strcmp(word, OEM2_DELETE_KEYWORD) == 0)
        keyword = DESTROY_KEYWORD;
    const HelpText* text = findCommandHelp(keyword);
    if (text != nullptr) {
        printHelpText(*text, name, oemId);
        return 0;
    }
    if (printHostCacheHelp(name, word, oemId))
        return 0;
    if (strcmp(word, DEFAULT_KEYWORD) == 0) {
        printHelpText(USAGE_TEXT, name, oemId);
        return 0;
    }

    char line[BANNER_BUFFER_SIZE];
    snprintf(line, sizeof line, "Invalid input at or near token     %s\n", word);
    printMessage(MSG_TEXT, line);
    printMessage(MSG_TEXT, "Use -help to know command name\n");
    return -1;
}

int AppVersionCp::process(CpController* cpController, ParsedObject* request)
{
    if (request == nullptr)
        return -1;
    oemId = readOemId(cpController);
    printBanner();
    if (request->getCommandToken() == TOKEN_APPVERSION)
        return 0;
    AppVersionParsedObject* helpRequest = dynamic_cast<AppVersionParsedObject*>(request);
    if (helpRequest == nullptr)
        return -1;
    return printHelp(helpRequest->getHelpTopic());
}

void printText(const string& text)
{
    VoPrint* printer = VoPrint::instance();
    if (printer != nullptr)
        printer->print(text);
}

void copyVersionString(char* destination)
{
    memcpy(destination, VERSION_STRING, sizeof VERSION_STRING);
}

unsigned int versionStringSize()
{
    return sizeof VERSION_STRING;
}

namespace {

const CpRegistration<AppVersionCp> registration(CpTraits().withoutControllerIfNoneFits());

}  // namespace
