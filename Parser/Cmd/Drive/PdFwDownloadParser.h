// Parser of "-PdFwDownload" (also served: "-PdFwFlash"): sends a firmware image file to the
// drives given with -PhysDrv, or to the enclosure devices given with -EncdevId. Builds one
// PdFwDownloadPo per adapter; the requests share the device list, and each holds its own
// copy of the file name.
#ifndef PDFWDOWNLOADPARSER_H
#define PDFWDOWNLOADPARSER_H

#include "Parser/Parser.h"
#include "Parser/ParserUtil.h"

class PdFwDownloadParser : public Parser {
public:
    // Download modes; 7 unless "-Mode 5" is given.
    static constexpr int MODE_DEFAULT = 7;
    static constexpr int MODE_ALTERNATE = 5;

    explicit PdFwDownloadParser(int commandToken);
    ~PdFwDownloadParser() override;

    static Parser* create(unsigned short commandToken);
    static ArrayList<unsigned short>* commandTokens();

    // Refuses the offline method ("Invalid command.\n"), the retired ".dlp" image files
    // ("This command is deprecated.\n") and a line without a well-formed device list.
    ArrayList<ParsedObject*>* parse(ArrayList<Token*>* tokens) override;

    int onCommandWord(ArrayList<Token*>* tokens, unsigned char position);
    int onSataBridge(ArrayList<Token*>* tokens, unsigned char position);
    int onDriveList(ArrayList<Token*>* tokens, unsigned char position);
    int onPhysDrv(ArrayList<Token*>* tokens, unsigned char position);
    int onOffline(ArrayList<Token*>* tokens, unsigned char position);
    int onForceActivate(ArrayList<Token*>* tokens, unsigned char position);
    int onEncDevId(ArrayList<Token*>* tokens, unsigned char position);
    int onEncDevIdList(ArrayList<Token*>* tokens, unsigned char position);
    // "-Mode": the number after it is taken by onModeNumber.
    int onMode(ArrayList<Token*>* tokens, unsigned char position);
    // Every number no other rule took: the download mode, 5 or 7 ("Unsupported mode \n"
    // otherwise).
    int onModeNumber(ArrayList<Token*>* tokens, unsigned char position);

    // The enclosure device ids of a "-EncdevId[d,...]" text (the characters between the
    // brackets), each as an entry with slot 0, in text order; an empty text gives an empty
    // list. Null when an item is not a decimal number from 0 to 65535 (an id is never cut to
    // another device's) or memory runs out. The caller owns the list and its entries.
    static ArrayList<EnclSlotId*>* parseDeviceIdList(const char* text);

private:
    ParserDriveList deviceList;
    unsigned char sataBridge;
    unsigned char offline;
    unsigned char forceActivate;
    int mode;
    unsigned char encDevId;
};

#endif
