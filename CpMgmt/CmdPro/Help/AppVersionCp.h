// The version and help commands ("-v", "-help", "-h", "?"): the banner that brands the program
// after the controller's OEM identifier, then, for the help commands, the full usage text or
// the help text of the one command that the topic word names.
#ifndef APPVERSIONCP_H
#define APPVERSIONCP_H

#include "CpMgmt/CmdPro/CpFrame.h"
#include "Parser/TokenIds.h"
#include "PavUtil/apstring.h"

// The version command and the three spellings of help.
class AppVersionCp : public CpFrame<AppVersionCp, TOKEN_APPVERSION, TOKEN_HELP, TOKEN_HELP_SHT, TOKEN_Q_MARK> {
public:
    // The OEM identifier that brands the program as Volant2.
    static const unsigned char OEM_ID_VOLANT = 8;
    // The OEM identifier whose texts speak of pass phrases and secure drives.
    static const unsigned char OEM_ID_PASSPHRASE = 2;

    AppVersionCp();
    ~AppVersionCp() override;

    // 0 done; -1 for a missing request or a help topic that names no command.
    int process(CpController* cpController, ParsedObject* request) override;

    // The controller's OEM identifier, 1 until process has read it and whenever no controller
    // answers.
    unsigned char getOemId() const { return oemId; }

    // "Volant2" for OEM 8, "QuillCli" for every other OEM.
    static const char* programName(unsigned char oemId);

private:
    unsigned char readOemId(CpController* cpController);
    void printBanner() const;
    int printHelp(const string& topic) const;

    unsigned char oemId;
};

// Prints a ready text through the console printer (paging, console log).
void printText(const string& text);

// Prints the banner of every OEM but the one with its own brand, with the version string.
void printDefaultBanner();

// Copies the version string (release number and build date) with its NUL into the buffer, which
// must hold at least versionStringSize() bytes.
void copyVersionString(char* destination);
// Bytes copyVersionString writes, NUL included.
unsigned int versionStringSize();

#endif
