// Base of the parsers of the commands that create virtual drives ("-CfgLdAdd",
// "-CfgEachDskRaid0", "-CfgAllFreeDrv", "-CfgSpanAdd").
//
// It holds every property a command line can give a new virtual drive (RAID level, the four
// cache policies, strip size, sizes, the place after an existing LD, encryption, power-save
// policy, the cache-pool flag) with the bracketed drive lists, and registers the rules that
// fill them. It serves no command word of its own and builds no request: a derived parser
// adds its command words and options, and its parse builds the request from these fields.
//
// A value the line does not give keeps its "not given" value: 255 for the RAID level, the
// policies and the after-LD number, 0xFFFF for the strip size, 25 for the power-save policy,
// 0 for encryption. Numbers that do not fit their field are refused, never cut.
//
// The parser owns the size values, the drive arrays with their entries and the hot-spare
// entries; a request takes copies of its own, so everything here is freed with the parser.
#ifndef CFGPARSER_H
#define CFGPARSER_H

#include "Parser/Parser.h"

#include <initializer_list>

class PdIdListObject;

class CfgParser : public Parser {
public:
    // Values of the fields while the line has not given them.
    static constexpr unsigned char NOT_GIVEN = 255;
    static constexpr unsigned short STRIP_SIZE_NOT_GIVEN = 0xFFFF;
    static constexpr unsigned char POWER_SAVE_NOT_GIVEN = 25;

    explicit CfgParser(int commandToken);
    ~CfgParser() override;

    // The rules (each takes the token at position and what belongs to it).
    int onAfterLd(ArrayList<Token*>* tokens, unsigned char position);
    int onWritePolicy(ArrayList<Token*>* tokens, unsigned char position);
    int onReadPolicy(ArrayList<Token*>* tokens, unsigned char position);
    int onIoPolicy(ArrayList<Token*>* tokens, unsigned char position);
    int onBadBbuPolicy(ArrayList<Token*>* tokens, unsigned char position);
    int onStripSize(ArrayList<Token*>* tokens, unsigned char position);
    int onRaidLevel(ArrayList<Token*>* tokens, unsigned char position);
    // "-sz" N or N.N with an optional unit word (MB when none); also a unit word that no size
    // took, which starts a size of its own.
    int onSize(ArrayList<Token*>* tokens, unsigned char position);
    // A bracketed drive list: one new drive array, or the hot-spare list right after HSP.
    int onDriveList(ArrayList<Token*>* tokens, unsigned char position);
    int onEncryption(ArrayList<Token*>* tokens, unsigned char position);
    int onPowerSavePolicy(ArrayList<Token*>* tokens, unsigned char position);
    int onCacheFlag(ArrayList<Token*>* tokens, unsigned char position);

    unsigned char getRaidLevel() const { return raidLevel; }
    unsigned char getReadPolicy() const { return readPolicy; }
    unsigned char getWritePolicy() const { return writePolicy; }
    unsigned char getIoPolicy() const { return ioPolicy; }
    unsigned char getBadBbuPolicy() const { return badBbuPolicy; }
    unsigned short getStripSize() const { return stripSize; }
    unsigned char getAfterLd() const { return afterLd; }
    unsigned char getEncryption() const { return encryption; }
    unsigned char getPowerSavePolicy() const { return powerSavePolicy; }
    const ArrayList<unsigned long long*>& getSizeList() const { return sizeList; }
    // Null until the first bracketed list.
    const ArrayList<ArrayList<PdIdListObject*>*>* getDriveArrays() const { return driveArrays; }
    const ArrayList<PdIdListObject*>& getHotSpares() const { return hotSpares; }
    unsigned char getCacheFlag() const { return cacheFlag; }

protected:
    // The next bracketed list becomes the hot-spare list (the derived parser's HSP rule).
    void expectHotSpareList() { hotSparePending = 1; }
    // The last step of the parsers that create virtual drives on named drives: one
    // CfgAddParsedObject per adapter, carrying the command token given, the two flags and every
    // field read. Null when a request cannot be made whole.
    ArrayList<ParsedObject*>* makeAddRequests(unsigned short token, unsigned char force, unsigned char enablePi);

    unsigned char raidLevel;
    unsigned char readPolicy;
    unsigned char writePolicy;
    unsigned char ioPolicy;
    unsigned char badBbuPolicy;
    unsigned short stripSize;
    unsigned char afterLd;
    unsigned char encryption;
    unsigned char powerSavePolicy;
    ArrayList<unsigned long long*> sizeList;
    ArrayList<ArrayList<PdIdListObject*>*>* driveArrays;
    ArrayList<PdIdListObject*> hotSpares;
    unsigned char hotSparePending;
    unsigned char cacheFlag;

private:
    // Choice rule: the word at position selects one value of the table (ids[i] -> values[i]).
    static int takeChoice(ArrayList<Token*>* tokens, unsigned char position,
                          std::initializer_list<unsigned short> ids, std::initializer_list<unsigned char> values,
                          unsigned char* field);
    // The size after a size or unit word, in 512-byte blocks; -1 when none can be read.
    static int readSize(ArrayList<Token*>* tokens, unsigned char position, unsigned long long* blocks);
};

#endif
