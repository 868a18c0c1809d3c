// Parser of "-AdpGetConnectorMode -ConnectorN|-Connector0,1|-ConnectorAll -aN|-a0,1,2|-aALL" and
// "-AdpSetConnectorMode -Internal|-External|-Auto -ConnectorN|-Connector0,1|-ConnectorAll
// -aN|-a0,1,2|-aALL": shows or sets the mode of the adapter's external connectors. The connector
// number 255 stands for every connector.
#ifndef MUXMODEPARSER_H
#define MUXMODEPARSER_H

#include "Parser/Parser.h"

class MuxModeParser : public Parser {
public:
    // The connector number of "-ConnectorAll".
    static constexpr unsigned char ALL_CONNECTORS = 255;

    explicit MuxModeParser(int commandToken);

    static Parser* create(unsigned short commandToken);
    static ArrayList<unsigned short>* commandTokens();

    ArrayList<ParsedObject*>* parse(ArrayList<Token*>* tokens) override;

    int onCommandWord(ArrayList<Token*>* tokens, unsigned char position);
    // "-Connector" and its numbers, in the order given, repeats kept. A number above 255 is
    // no connector and refuses the command; so does a number the list cannot take.
    int onConnector(ArrayList<Token*>* tokens, unsigned char position);
    int onConnectorAll(ArrayList<Token*>* tokens, unsigned char position);
    // INTERNAL, EXTERNAL or AUTO: the mode is the word's token id.
    int onMode(ArrayList<Token*>* tokens, unsigned char position);

private:
    // No mode word (the show command has none).
    static constexpr short NO_MODE = 0;

    short mode;
    ArrayList<unsigned char> connectorList;
};

#endif
