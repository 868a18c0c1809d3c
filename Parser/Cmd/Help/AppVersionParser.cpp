#include "Parser/Cmd/Help/AppVersionParser.h"

#include "Parser/AdpParsedObjects.h"
#include "Parser/ParserFactory.h"
#include "Parser/ParserUtil.h"
#include "Parser/Token.h"
#include "Parser/TokenIds.h"

#include <strings.h>

const char* const AppVersionParser::DEFAULT_TOPIC = "default";

namespace {

enum class AdapterChoice { None, Numbers, All };

// What a help topic text is when it reads as an adapter choice ("-a0", "-a0,1", "-aALL").
AdapterChoice adapterChoiceOf(const char* text)
{
    if (*text == '-')
        ++text;
    if (*text != 'a' && *text != 'A')
        return AdapterChoice::None;
    ++text;
    if (strcasecmp(text, "ALL") == 0)
        return AdapterChoice::All;
    if (*text < '0' || *text > '9')
        return AdapterChoice::None;
    for (; *text != '\0'; ++text) {
        if ((*text < '0' || *text > '9') && *text != ',')
            return AdapterChoice::None;
    }
    return AdapterChoice::Numbers;
}

}  // namespace

AppVersionParser::AppVersionParser(int commandToken) : Parser(commandToken)
{
    addSyntaxWord(TOKEN_APPVERSION, "v");
    for (unsigned short word : {TOKEN_APPVERSION, TOKEN_HELP, TOKEN_HELP_SHT, TOKEN_Q_MARK})
        addRule(static_cast<short>(word), makeHandler(&AppVersionParser::onCommandWord));
}

Parser* AppVersionParser::create(unsigned short commandToken)
{
    return new (noThrowNew) AppVersionParser(commandToken);
}

ArrayList<unsigned short>* AppVersionParser::commandTokens()
{
    return ParserUtil::tokenList({TOKEN_APPVERSION, TOKEN_HELP, TOKEN_HELP_SHT, TOKEN_Q_MARK});
}

int AppVersionParser::onCommandWord(ArrayList<Token*>* tokens, unsigned char position)
{
    Token* word = ParserUtil::takeWord(tokens, position, {TOKEN_APPVERSION, TOKEN_HELP, TOKEN_HELP_SHT, TOKEN_Q_MARK});
    if (word == nullptr)
        return -1;
    Token* next = ParserUtil::tokenAt(tokens, position + 1);
    if (next == nullptr)
        return -1;
    if (next->getId() == TOKEN_ADAPTER)
        return 0;
    // "-v -aALL" asks for the version of every controller, as "-v -a0,1" does for two.
    if (next->getId() == TOKEN_ALL_ADAPTER && word->getId() == TOKEN_APPVERSION)
        return 0;
    string topic;
    if (next->getId() != TOKEN_ALPHANUM_CONSTANT || !ParserUtil::getText(next, &topic))
        return -1;
    next->setConsumed(1);
    // The scanner hands every word after a help word over as text, an adapter choice too: that
    // is no topic. "-a0" asks for the full usage as no word would; "-aALL" for the default.
    AdapterChoice choice = adapterChoiceOf(topic.c_str());
    if (choice == AdapterChoice::All)
        return -1;
    if (choice == AdapterChoice::None)
        helpTopic = topic;
    return 0;
}

ArrayList<ParsedObject*>* AppVersionParser::parse(ArrayList<Token*>* tokens)
{
    checkSyntaxList(syntaxList);
    // No failing rule refuses these commands, which only show texts: the version is shown for
    // the adapters accepted before an adapter number that names none (adapter 0 when there are
    // none), and the help falls back to the full usage. The refused number has been reported.
    int walk = dispatchTokens(tokens);

    unsigned short token = getCommandToken();
    if (token != TOKEN_APPVERSION) {
        string topic = walk == -1 ? string(DEFAULT_TOPIC) : helpTopic;
        ArrayList<ParsedObject*>* requests = new (noThrowNew) ArrayList<ParsedObject*>(1);
        ParsedObject* request = requests != nullptr ? new (noThrowNew) AppVersionParsedObject(token, topic, 0) : nullptr;
        if (request == nullptr || requests->add(request) != 0) {
            deleteRequest(request);
            deleteRequests(requests);
            return nullptr;
        }
        return requests;
    }
    if (adapters.count() == 0 && adapters.add(0) != 0)
        return nullptr;
    string noTopic;
    return makeRequestsPerAdapter([token, &noTopic](unsigned char adapter) -> ParsedObject* {
        return new (noThrowNew) AppVersionParsedObject(token, noTopic, adapter);
    });
}

namespace {

const ParserFactoryRegistration<AppVersionParser> registration;

}  // namespace
