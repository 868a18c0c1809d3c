#include "Parser/Cmd/Drive/PdFwDownloadParser.h"

#include "Output/VoMessage.h"
#include "RaidManager/EnclSlotId.h"
#include "Parser/ParserFactory.h"
#include "Parser/PdParsedObjects.h"
#include "Parser/Token.h"
#include "Parser/TokenIds.h"
#include "PavUtil/Memory.h"

namespace {

// True when the four characters from the name's first '.' (from its start when it has none)
// are ".dlp" or ".DLP", exactly: the image format the retired download method used.
bool isRetiredImageName(const string& fileName)
{
    int point = fileName.find('.');
    string extension = fileName.substr(point < 0 ? 0 : point, 4);
    return extension == string(".dlp") || extension == string(".DLP");
}

}  // namespace

PdFwDownloadParser::PdFwDownloadParser(int commandToken)
    : Parser(commandToken), sataBridge(0), offline(0), forceActivate(0), mode(MODE_DEFAULT), encDevId(0)
{
    static const struct {
        unsigned short id;
        const char* word;
    } syntaxWords[] = {
        {TOKEN_PDFWDOWNLOAD, "PdFwDownload"}, {TOKEN_OFFLINE, "Offline"}, {TOKEN_FORCEACTIVATE, "forceActivate"},
        {TOKEN_SATA_BRIDGE, "SataBridge"}, {TOKEN_PHYSDRV, "PhysDrv"}, {TOKEN_ENCDEVID, "EncdevId"},
        {TOKEN_FILE, "f"}, {TOKEN_MODE, "mode"}, {TOKEN_ADAPTER, "a"}, {TOKEN_ALL_ADAPTER, "aAll"},
    };
    for (const auto& w : syntaxWords)
        addSyntaxWord(w.id, w.word);

    // The file name is read from the shared file rule: forget one kept from an earlier line.
    ParserUtil::clearFileName();
    addRule(TOKEN_PDFWDOWNLOAD, makeHandler(&PdFwDownloadParser::onCommandWord));
    addRule(TOKEN_SATA_BRIDGE, makeHandler(&PdFwDownloadParser::onSataBridge));
    addRule(TOKEN_CHANNEL_TARGET_LIST, makeHandler(&PdFwDownloadParser::onDriveList));
    addRule(TOKEN_PHYSDRV, makeHandler(&PdFwDownloadParser::onPhysDrv));
    addRule(TOKEN_FILE, makeFunctionHandler(&ParserUtil::onFileOption));
    addRule(TOKEN_OFFLINE, makeHandler(&PdFwDownloadParser::onOffline));
    addRule(TOKEN_FORCEACTIVATE, makeHandler(&PdFwDownloadParser::onForceActivate));
    addRule(TOKEN_ENCDEVID, makeHandler(&PdFwDownloadParser::onEncDevId));
    addRule(TOKEN_ENCDEVID_LIST, makeHandler(&PdFwDownloadParser::onEncDevIdList));
    addRule(TOKEN_MODE, makeHandler(&PdFwDownloadParser::onMode));
    addRule(TOKEN_NUMBER, makeHandler(&PdFwDownloadParser::onModeNumber));
}

PdFwDownloadParser::~PdFwDownloadParser()
{
}

Parser* PdFwDownloadParser::create(unsigned short commandToken)
{
    return new (noThrowNew) PdFwDownloadParser(commandToken);
}

ArrayList<unsigned short>* PdFwDownloadParser::commandTokens()
{
    return ParserUtil::tokenList({TOKEN_PDFWDOWNLOAD});
}

int PdFwDownloadParser::onCommandWord(ArrayList<Token*>* tokens, unsigned char position)
{
    return ParserUtil::acceptWord(tokens, position, {TOKEN_PDFWDOWNLOAD});
}

int PdFwDownloadParser::onSataBridge(ArrayList<Token*>* tokens, unsigned char position)
{
    return ParserUtil::takeFlagWord(tokens, position, TOKEN_SATA_BRIDGE, &sataBridge);
}

int PdFwDownloadParser::onDriveList(ArrayList<Token*>* tokens, unsigned char position)
{
    return ParserUtil::takeDriveList(tokens, position, &deviceList, false);
}

int PdFwDownloadParser::onPhysDrv(ArrayList<Token*>* tokens, unsigned char position)
{
    return ParserUtil::acceptWord(tokens, position, {TOKEN_PHYSDRV});
}

int PdFwDownloadParser::onOffline(ArrayList<Token*>* tokens, unsigned char position)
{
    return ParserUtil::takeFlagWord(tokens, position, TOKEN_OFFLINE, &offline);
}

int PdFwDownloadParser::onForceActivate(ArrayList<Token*>* tokens, unsigned char position)
{
    return ParserUtil::takeFlagWord(tokens, position, TOKEN_FORCEACTIVATE, &forceActivate);
}

int PdFwDownloadParser::onEncDevId(ArrayList<Token*>* tokens, unsigned char position)
{
    return ParserUtil::takeFlagWord(tokens, position, TOKEN_ENCDEVID, &encDevId);
}

int PdFwDownloadParser::onEncDevIdList(ArrayList<Token*>* tokens, unsigned char position)
{
    Token* token = ParserUtil::tokenAt(tokens, position);
    string text;
    if (token == nullptr || token->getId() != TOKEN_ENCDEVID_LIST || !ParserUtil::getText(token, &text))
        return -1;
    ArrayList<EnclSlotId*>* devices = parseDeviceIdList(text.c_str());
    if (devices == nullptr || deviceList.set(devices) != 0)
        return -1;
    token->setConsumed(1);
    return 0;
}

int PdFwDownloadParser::onMode(ArrayList<Token*>* tokens, unsigned char position)
{
    return ParserUtil::acceptWord(tokens, position, {TOKEN_MODE});
}

int PdFwDownloadParser::onModeNumber(ArrayList<Token*>* tokens, unsigned char position)
{
    Token* token = ParserUtil::tokenAt(tokens, position);
    int value = 0;
    if (!ParserUtil::getNumber(token, &value))
        return -1;
    if (value != MODE_DEFAULT && value != MODE_ALTERNATE) {
        printMessage(MSG_TEXT, "Unsupported mode \n");
        return -1;
    }
    mode = value;
    token->setConsumed(1);
    return 0;
}

ArrayList<EnclSlotId*>* PdFwDownloadParser::parseDeviceIdList(const char* text)
{
    if (text == nullptr)
        return nullptr;
    ArrayList<EnclSlotId*>* list = new (noThrowNew) ArrayList<EnclSlotId*>(4);
    if (list == nullptr)
        return nullptr;
    for (const char* p = text; *p != '\0';) {
        long value = 0;
        int digits = 0;
        for (; *p != '\0' && *p != ','; ++p) {
            if (*p == ' ' || *p == '\t')
                continue;
            if (*p >= '0' && *p <= '9')
                value = value * 10 + (*p - '0');
            if (*p < '0' || *p > '9' || value > 0xFFFF) {
                ParserUtil::deleteEnclSlotList(list);
                return nullptr;
            }
            ++digits;
        }
        EnclSlotId* entry =
            digits == 0 ? nullptr : new (noThrowNew) EnclSlotId(static_cast<unsigned short>(value), 0);
        if (entry == nullptr || list->add(entry) != 0) {
            delete entry;
            ParserUtil::deleteEnclSlotList(list);
            return nullptr;
        }
        if (*p == ',')
            ++p;
    }
    return list;
}

ArrayList<ParsedObject*>* PdFwDownloadParser::parse(ArrayList<Token*>* tokens)
{
    if (acceptTokens(tokens) != 0)
        return nullptr;
    if (offline) {
        // The offline method is not offered.
        printMessage(MSG_TEXT, "Invalid command.\n");
        return nullptr;
    }
    string fileName = ParserUtil::getFileName();
    if (isRetiredImageName(fileName)) {
        printMessage(MSG_TEXT, "This command is deprecated.\n");
        return nullptr;
    }
    if (deviceList.get() == nullptr)
        return nullptr;
    return makeRequestsPerAdapter([this, &fileName](unsigned char adapter) -> ParsedObject* {
        return new (noThrowNew) PdFwDownloadPo(getCommandToken(), forceActivate, sataBridge, deviceList.get(),
                                               fileName, static_cast<unsigned int>(mode), encDevId, adapter);
    });
}

namespace {
const ParserFactoryRegistration<PdFwDownloadParser> registration;
}  // namespace
