#include "Parser/Cmd/Adapter/AdpFacDefSetParser.h"

#include "Parser/AdpParsedObjects.h"
#include "Parser/ParserFactory.h"
#include "Parser/TokenIds.h"

AdpFacDefSetParser::AdpFacDefSetParser(int commandToken) : Parser(commandToken)
{
    addSyntaxWord(TOKEN_ADPFACDEFSET, "AdpFacDefSet");
    addSyntaxWord(TOKEN_ALL_ADAPTER, "aAll");
    addSyntaxWord(TOKEN_ADAPTER, "a");
}

AdpFacDefSetParser::~AdpFacDefSetParser()
{
}

Parser* AdpFacDefSetParser::create(unsigned short commandToken)
{
    return new (noThrowNew) AdpFacDefSetParser(commandToken);
}

ArrayList<unsigned short>* AdpFacDefSetParser::commandTokens()
{
    ArrayList<unsigned short>* ids = new (noThrowNew) ArrayList<unsigned short>(1);
    if (ids != nullptr)
        ids->add(TOKEN_ADPFACDEFSET);
    return ids;
}

ArrayList<ParsedObject*>* AdpFacDefSetParser::parse(ArrayList<Token*>* tokens)
{
    if (acceptTokens(tokens) != 0)
        return nullptr;
    unsigned short token = getCommandToken();
    return makeRequestsPerAdapter([token](unsigned char adapter) -> ParsedObject* {
        return new (noThrowNew) AdpFacDefSetPo(token, adapter);
    });
}

namespace {

const ParserFactoryRegistration<AdpFacDefSetParser> registration;

}  // namespace
