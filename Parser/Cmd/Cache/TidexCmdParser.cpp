#include "Parser/Cmd/Cache/TidexCmdParser.h"

#include "Parser/CfgParsedObjects.h"
#include "Parser/ParserFactory.h"
#include "Parser/ParserUtil.h"
#include "Parser/Token.h"
#include "Parser/TokenIds.h"
#include "PavUtil/Memory.h"

#include <cstring>
#include <iterator>

namespace {

// The sub-command words and the action code each sets (0: sets none).
const struct {
    unsigned short id;
    unsigned char action;
    bool takesNames;
} subCommands[] = {
    {TOKEN_ADDVD, 8, true},       {TOKEN_REMVD, 9, true},        {TOKEN_VDLIST, 2, false},
    {TOKEN_ADDCDEV, 6, true},     {TOKEN_REMCDEV, 7, true},      {TOKEN_CDEVLIST, 1, false},
    {TOKEN_CONFIGURED, 0, false}, {TOKEN_UNCONFIGURED, 0, false}, {TOKEN_FORCE, 0, false},
    {TOKEN_CONFIGINFO, 3, false}, {TOKEN_TIDEXPERFSTATS, 10, false},
    {TOKEN_TIDEWELLOHCLCONFIGURATION, 5, false}, {TOKEN_ONLINEVD, 12, true},
    {TOKEN_BLAZECARDINFO, 0, false},
};

}  // namespace

TidexCmdParser::TidexCmdParser(int commandToken)
    : TidexParser(commandToken),
      objectKind(0),
      action(0),
      index(0),
      names(4),
      configured(0),
      force(0),
      allIndices(1),
      cardInfo(0)
{
    static const struct {
        unsigned short id;
        const char* word;
    } syntaxWords[] = {
        {TOKEN_INDEX, "i"}, {TOKEN_ALL_INDICES, "iAll"}, {TOKEN_TIDEX, "TIDEX"}, {TOKEN_ADDVD, "AddVd"},
        {TOKEN_REMVD, "RemVd"}, {TOKEN_VDLIST, "VDList"}, {TOKEN_ADDCDEV, "AddCDev"}, {TOKEN_REMCDEV, "RemCDev"},
        {TOKEN_CDEVLIST, "CdevList"}, {TOKEN_CONFIGINFO, "ConfigInfo"}, {TOKEN_TIDEXPERFSTATS, "PerfStats"},
        {TOKEN_TIDEWELLOHCLCONFIGURATION, "TidewellOHCLConfiguration"}, {TOKEN_ONLINEVD, "OnlineVd"},
        {TOKEN_BLAZECARDINFO, "BlazecardInfo"},
    };
    for (const auto& w : syntaxWords)
        addSyntaxWord(w.id, w.word);

    addRule(TOKEN_TIDEX, makeHandler(&TidexCmdParser::onCommandWord));
    for (const auto& sub : subCommands)
        addRule(sub.id, makeHandler(&TidexCmdParser::onSubCommand));
    addRule(TOKEN_INDEX, makeHandler(&TidexCmdParser::onIndex));
    addRule(TOKEN_ALL_INDICES, makeHandler(&TidexCmdParser::onAllIndices));
}

TidexCmdParser::~TidexCmdParser()
{
    for (unsigned char i = 0; i < names.count(); ++i)
        delete names.get(i);
}

Parser* TidexCmdParser::create(unsigned short commandToken)
{
    return new (noThrowNew) TidexCmdParser(commandToken);
}

ArrayList<unsigned short>* TidexCmdParser::commandTokens()
{
    return ParserUtil::tokenList({TOKEN_TIDEX});
}

int TidexCmdParser::onCommandWord(ArrayList<Token*>* tokens, unsigned char position)
{
    return ParserUtil::acceptWord(tokens, position, {TOKEN_TIDEX});
}

int TidexCmdParser::addNames(const string& text)
{
    const char* p = text.c_str();
    while (*p != '\0') {
        while (*p == ':')
            ++p;
        if (*p == '\0')
            break;
        const char* end = std::strchr(p, ':');
        size_t length = end != nullptr ? static_cast<size_t>(end - p) : std::strlen(p);
        string* name = new (noThrowNew) string(text.substr(static_cast<int>(p - text.c_str()),
                                                           static_cast<int>(length)));
        if (name == nullptr || names.add(name) != 0) {
            delete name;
            return -1;
        }
        p += length;
    }
    return 0;
}

int TidexCmdParser::onSubCommand(ArrayList<Token*>* tokens, unsigned char position)
{
    Token* word = ParserUtil::tokenAt(tokens, position);
    if (word == nullptr)
        return -1;
    const auto* sub = std::begin(subCommands);
    while (sub != std::end(subCommands) && sub->id != word->getId())
        ++sub;
    if (sub == std::end(subCommands))
        return -1;

    objectKind = KIND_CACHE;
    if (sub->takesNames) {
        Token* text = ParserUtil::tokenAt(tokens, position + 1);
        string value;
        if (text == nullptr || !ParserUtil::getText(text, &value) || addNames(value) != 0)
            return -1;
        text->setConsumed(1);
    }
    if (sub->action != 0)
        action = sub->action;
    switch (sub->id) {
    case TOKEN_CONFIGURED:
        configured = 1;
        allIndices = 0;
        break;
    case TOKEN_UNCONFIGURED:
        configured = 0;
        allIndices = 0;
        break;
    case TOKEN_FORCE:
        force = 1;
        break;
    case TOKEN_BLAZECARDINFO:
        objectKind = KIND_FLASH_CARD;
        cardInfo = 1;
        break;
    default:
        break;
    }
    word->setConsumed(1);
    return 0;
}

int TidexCmdParser::onIndex(ArrayList<Token*>* tokens, unsigned char position)
{
    int value = 0;
    if (ParserUtil::takeNumberAfterWord(tokens, position, TOKEN_INDEX, 0xFF, &value) != 0)
        return -1;
    allIndices = 0;
    index = static_cast<unsigned char>(value);
    return 0;
}

int TidexCmdParser::onAllIndices(ArrayList<Token*>* tokens, unsigned char position)
{
    return ParserUtil::takeFlagWord(tokens, position, TOKEN_ALL_INDICES, &allIndices);
}

ArrayList<ParsedObject*>* TidexCmdParser::parse(ArrayList<Token*>* tokens)
{
    if (acceptTokens(tokens) != 0)
        return nullptr;
    ArrayList<ParsedObject*>* requests = new (noThrowNew) ArrayList<ParsedObject*>(1);
    if (requests == nullptr)
        return nullptr;
    TidexCmdParsedObject* request = new (noThrowNew) TidexCmdParsedObject(
        getCommandToken(), objectKind, action, &names, configured, force, allIndices, index, cardInfo);
    // A request that lost a device name to a failed copy would act on fewer devices than typed.
    if (request == nullptr || request->getNameList()->count() != names.count() || requests->add(request) != 0) {
        delete request;
        delete requests;
        return nullptr;
    }
    return requests;
}

namespace {
const ParserFactoryRegistration<TidexCmdParser> registration;
}  // namespace
