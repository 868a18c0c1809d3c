// Whole command lines through the scanner and the grammar, then the parser of the command.
#include "ParserTestSupport.h"

#include "Parser/AdpParsedObjects.h"
#include "Parser/Grammar.h"
#include "Parser/ParserFactory.h"
#include "Parser/Scanner.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

struct Outcome {
    bool lineValid = false;
    bool parserFound = false;
    bool parsed = false;
    std::vector<std::pair<int, int>> requests;  // (command token, adapter)
    std::vector<unsigned int> values;           // diagnostic values, where the request has one
};

Outcome run(const char* line)
{
    Outcome outcome;
    scannerResetState();
    ArrayList<Token*>* tokens = tokenize(line);
    if (tokens == nullptr)
        return outcome;
    outcome.lineValid = true;
    std::unique_ptr<Parser> parser(ParserFactory::instance()->create(tokens->get(0)->getId()));
    if (parser) {
        outcome.parserFound = true;
        ArrayList<ParsedObject*>* requests = parser->parse(tokens);
        outcome.parsed = requests != nullptr;
        for (unsigned char i = 0; requests != nullptr && i < requests->count(); ++i) {
            ParsedObject* request = requests->get(i);
            outcome.requests.push_back({request->getCommandToken(), request->getAdapterNumber()});
            if (AdpDiagParsedObject* diag = dynamic_cast<AdpDiagParsedObject*>(request))
                outcome.values.push_back(diag->getValue());
        }
        deleteRequests(requests);
    }
    deleteTokenList(tokens);
    return outcome;
}

typedef std::vector<std::pair<int, int>> Requests;

}  // namespace

TEST(CommandLines, SimpleCommandsBuildTheirRequests)
{
    PrintedText printed;
    Outcome ld = run("-LDGetNum -a0,1,1 ");
    EXPECT_TRUE(ld.parsed);
    EXPECT_EQ(ld.requests, (Requests{{TOKEN_LDNUMBER, 0}, {TOKEN_LDNUMBER, 1}}));

    Outcome pd = run("-PDGetNum -aALL ");
    EXPECT_EQ(pd.requests, (Requests{{TOKEN_PDNUMBER, ALL_ADAPTERS}}));

    Outcome status = run("-EncStatus -a0 ");
    EXPECT_EQ(status.requests, (Requests{{TOKEN_ENCSTATUS, 0}}));

    Outcome diag = run("-AdpDiag 60 -a0,2 ");
    EXPECT_EQ(diag.requests, (Requests{{TOKEN_ADPDIAG, 0}, {TOKEN_ADPDIAG, 2}}));
    EXPECT_EQ(diag.values, (std::vector<unsigned int>{60, 60}));

    Outcome diagDefault = run("-AdpDiag -a0 ");
    EXPECT_EQ(diagDefault.values, (std::vector<unsigned int>{20}));

    Outcome count = run("-AdpCount ");
    EXPECT_EQ(count.requests, (Requests{{TOKEN_ADPCOUNT, NO_ADAPTER}}));

    Outcome facDef = run("-AdpFacDefSet -a2,0,2 ");
    EXPECT_EQ(facDef.requests, (Requests{{TOKEN_ADPFACDEFSET, 2}, {TOKEN_ADPFACDEFSET, 0}}));
}

TEST(CommandLines, AdapterAboveTheLargestIsRejectedByTheParser)
{
    PrintedText printed;
    Outcome outcome = run("-AdpFacDefSet -a251 ");
    EXPECT_TRUE(outcome.lineValid);
    EXPECT_TRUE(outcome.parserFound);
    EXPECT_FALSE(outcome.parsed);
    EXPECT_NE(printed.text().find("Invalid Adapter number.\n"), std::string::npos);
}

TEST(CommandLines, AdapterBeyondTheRangeOfANumberNeverBecomesAnotherAdapter)
{
    PrintedText printed;
    for (const char* line : {"-AdpFacDefSet -a4294967296 ", "-AdpFacDefSet -a4294967297 ",
                             "-LDGetNum -a0,18446744073709551616 "}) {
        Outcome outcome = run(line);
        EXPECT_FALSE(outcome.parsed) << line;
        EXPECT_TRUE(outcome.requests.empty()) << line;
    }
}

TEST(CommandLines, CommandWordWithoutParserFindsNone)
{
    PrintedText printed;
    Outcome outcome = run("-AdpGetVpd -a0 ");
    EXPECT_TRUE(outcome.lineValid);
    EXPECT_FALSE(outcome.parserFound);
}
