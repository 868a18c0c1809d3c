#include "Parser/Cmd/Cache/TidexParser.h"

TidexParser::TidexParser(int commandToken) : Parser(commandToken)
{
    createSyntaxList();
}

TidexParser::~TidexParser()
{
}
