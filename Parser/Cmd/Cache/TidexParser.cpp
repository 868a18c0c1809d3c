#include "Parser/Cmd/TidexParser.h"

TidexParser::TidexParser(int commandToken) : Parser(commandToken)
{
    createSyntaxList();
}

TidexParser::~TidexParser()
{
}
