#include "Parser/Cmd/Drive/PdReprovisionParser.h"

#include "Parser/ParserFactory.h"
#include "Parser/PdParsedObjects.h"
#include "Parser/TokenIds.h"
#include "PavUtil/Memory.h"

PdReprovisionParser::PdReprovisionParser(int commandToken) : Parser(commandToken), force(0)
{
    addSyntaxWord(TOKEN_PDINSTANTSECUREERASE, "PDINSTANTSECUREERASE");
    addSyntaxWord(TOKEN_PDREPROVISION, "PDREPROVISION");
    addSyntaxWord(TOKEN_ALL_ADAPTER, "aAll");
    addSyntaxWord(TOKEN_ADAPTER, "a");
    addSyntaxWord(TOKEN_PHYSDRV, "PhysDrv");
    addRule(TOKEN_PDINSTANTSECUREERASE, makeHandler(&PdReprovisionParser::onCommandWord));
    addRule(TOKEN_PDREPROVISION, makeHandler(&PdReprovisionParser::onCommandWord));
    addRule(TOKEN_CHANNEL_TARGET_LIST, makeHandler(&PdReprovisionParser::onDriveList));
    addRule(TOKEN_PHYSDRV, makeHandler(&PdReprovisionParser::onPhysDrv));
    addRule(TOKEN_FORCE, makeHandler(&PdReprovisionParser::onForce));
}

PdReprovisionParser::~PdReprovisionParser()
{
}

Parser* PdReprovisionParser::create(unsigned short commandToken)
{
    return new (noThrowNew) PdReprovisionParser(commandToken);
}

ArrayList<unsigned short>* PdReprovisionParser::commandTokens()
{
    return ParserUtil::tokenList({TOKEN_PDINSTANTSECUREERASE, TOKEN_PDREPROVISION});
}

int PdReprovisionParser::onCommandWord(ArrayList<Token*>* tokens, unsigned char position)
{
    return ParserUtil::acceptWord(tokens, position, {TOKEN_PDINSTANTSECUREERASE, TOKEN_PDREPROVISION});
}

int PdReprovisionParser::onDriveList(ArrayList<Token*>* tokens, unsigned char position)
{
    return ParserUtil::takeDriveList(tokens, position, &driveList, false);
}

int PdReprovisionParser::onPhysDrv(ArrayList<Token*>* tokens, unsigned char position)
{
    return ParserUtil::acceptWord(tokens, position, {TOKEN_PHYSDRV});
}

int PdReprovisionParser::onForce(ArrayList<Token*>* tokens, unsigned char position)
{
    return ParserUtil::takeFlagWord(tokens, position, TOKEN_FORCE, &force);
}

ArrayList<ParsedObject*>* PdReprovisionParser::parse(ArrayList<Token*>* tokens)
{
    if (acceptTokens(tokens) != 0 || driveList.get() == nullptr)
        return nullptr;
    return makeRequestsPerAdapter([this](unsigned char adapter) -> ParsedObject* {
        return new (noThrowNew) PdReprovisionParsedObject(getCommandToken(), driveList.get(), force, adapter);
    });
}

namespace {
const ParserFactoryRegistration<PdReprovisionParser> registration;
}  // namespace
