// The five simple adapter-command parsers and the requests they build.
#include "ParserTestSupport.h"

#include "Parser/AdpParsedObjects.h"
#include "Parser/CfgParsedObjects.h"
#include "Parser/PdParsedObjects.h"
#include "Parser/ParserFactory.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

// Parses the line with the parser the factory gives for its first token.
struct ParsedLine {
    std::unique_ptr<Parser> parser;
    ArrayList<ParsedObject*>* requests = nullptr;

    ParsedLine(TokenLine& line)
    {
        parser.reset(ParserFactory::instance()->create(line.at(0)->getId()));
        if (parser)
            requests = parser->parse(line.tokens());
    }
    ~ParsedLine() { deleteRequests(requests); }

    // (command token, adapter) of every request, in order.
    std::vector<std::pair<int, int>> summary() const
    {
        std::vector<std::pair<int, int>> result;
        for (unsigned char i = 0; requests != nullptr && i < requests->count(); ++i)
            result.push_back({requests->get(i)->getCommandToken(), requests->get(i)->getAdapterNumber()});
        return result;
    }
    template <class Request>
    bool allOfClass() const
    {
        for (unsigned char i = 0; requests != nullptr && i < requests->count(); ++i) {
            if (dynamic_cast<Request*>(requests->get(i)) == nullptr)
                return false;
        }
        return true;
    }
};

typedef std::vector<std::pair<int, int>> Summary;

}  // namespace

TEST(EncInfoParser, RequestCarriesTheCommandWordGiven)
{
    TokenLine status{word(TOKEN_ENCSTATUS, "EncStatus"), adapterOption(), num(0)};
    ParsedLine parsedStatus(status);
    ASSERT_NE(parsedStatus.requests, nullptr);
    EXPECT_EQ(parsedStatus.summary(), (Summary{{TOKEN_ENCSTATUS, 0}}));
    EXPECT_TRUE(parsedStatus.allOfClass<EncInfoParsedObject>());

    TokenLine info{word(TOKEN_ENCINFO, "EncInfo"), adapterOption(), num(0)};
    ParsedLine parsedInfo(info);
    EXPECT_EQ(parsedInfo.summary(), (Summary{{TOKEN_ENCINFO, 0}}));
    EXPECT_TRUE(parsedInfo.allOfClass<EncInfoParsedObject>());
}

TEST(ObjNumberParser, OneRequestPerDistinctAdapterInOrder)
{
    TokenLine line{word(TOKEN_LDNUMBER, "LDGetNum"), adapterOption(), num(0), num(1), num(1)};
    ParsedLine parsed(line);
    ASSERT_NE(parsed.requests, nullptr);
    EXPECT_EQ(parsed.summary(), (Summary{{TOKEN_LDNUMBER, 0}, {TOKEN_LDNUMBER, 1}}));
    EXPECT_TRUE(parsed.allOfClass<ObjNumberParsedObject>());
    EXPECT_EQ(line.consumed(), (std::vector<int>{1, 1, 1, 1, 1}));
}

TEST(ObjNumberParser, AllAdaptersGiveOneRequestForAdapter252)
{
    TokenLine line{word(TOKEN_PDNUMBER, "PDGetNum"), allAdapters()};
    ParsedLine parsed(line);
    EXPECT_EQ(parsed.summary(), (Summary{{TOKEN_PDNUMBER, ALL_ADAPTERS}}));
    EXPECT_TRUE(parsed.allOfClass<ObjNumberParsedObject>());
}

TEST(AdpDiagParser, DiagnosticValueDefaultsTo20)
{
    TokenLine line{word(TOKEN_ADPDIAG, "AdpDiag"), adapterOption(), num(0)};
    ParsedLine parsed(line);
    ASSERT_NE(parsed.requests, nullptr);
    ASSERT_EQ(parsed.requests->count(), 1);
    AdpDiagParsedObject* request = dynamic_cast<AdpDiagParsedObject*>(parsed.requests->get(0));
    ASSERT_NE(request, nullptr);
    EXPECT_EQ(request->getValue(), 20u);
    EXPECT_EQ(request->getCommandToken(), TOKEN_ADPDIAG);
    EXPECT_EQ(request->getAdapterNumber(), 0);
}

TEST(AdpDiagParser, NumberAfterTheCommandWordGoesToEveryRequest)
{
    TokenLine line{word(TOKEN_ADPDIAG, "AdpDiag"), num(60), adapterOption(), num(0), num(2)};
    ParsedLine parsed(line);
    ASSERT_NE(parsed.requests, nullptr);
    EXPECT_EQ(parsed.summary(), (Summary{{TOKEN_ADPDIAG, 0}, {TOKEN_ADPDIAG, 2}}));
    for (unsigned char i = 0; i < parsed.requests->count(); ++i) {
        AdpDiagParsedObject* request = dynamic_cast<AdpDiagParsedObject*>(parsed.requests->get(i));
        ASSERT_NE(request, nullptr);
        EXPECT_EQ(request->getValue(), 60u);
    }
}

TEST(AdpDiagParser, CommandWordAtTheEndOfTheLineRejects)
{
    TokenLine line{word(TOKEN_ADPDIAG, "AdpDiag")};
    ParsedLine parsed(line);
    EXPECT_EQ(parsed.requests, nullptr);
}

TEST(AdpCountParser, OneRequestForNoAdapterWhateverAdaptersAreNamed)
{
    TokenLine alone{word(TOKEN_ADPCOUNT, "AdpCount")};
    ParsedLine parsedAlone(alone);
    ASSERT_NE(parsedAlone.requests, nullptr);
    EXPECT_EQ(parsedAlone.summary(), (Summary{{TOKEN_ADPCOUNT, NO_ADAPTER}}));
    EXPECT_TRUE(parsedAlone.allOfClass<AdpCountParsedObject>());

    TokenLine withAdapters{word(TOKEN_ADPCOUNT, "AdpCount"), adapterOption(), num(0), num(1)};
    ParsedLine parsedWith(withAdapters);
    EXPECT_EQ(parsedWith.summary(), (Summary{{TOKEN_ADPCOUNT, NO_ADAPTER}}));
}

TEST(AdpCountParser, InvalidAdapterStillRejects)
{
    PrintedText printed;
    TokenLine line{word(TOKEN_ADPCOUNT, "AdpCount"), adapterOption(), num(251)};
    ParsedLine parsed(line);
    EXPECT_EQ(parsed.requests, nullptr);
    EXPECT_EQ(printed.text(), "Invalid Adapter number.\n");
}

TEST(AdpFacDefSetParser, OneRequestPerAdapter)
{
    TokenLine line{word(TOKEN_ADPFACDEFSET, "AdpFacDefSet"), adapterOption(), num(3), num(1)};
    ParsedLine parsed(line);
    EXPECT_EQ(parsed.summary(), (Summary{{TOKEN_ADPFACDEFSET, 3}, {TOKEN_ADPFACDEFSET, 1}}));
    EXPECT_TRUE(parsed.allOfClass<AdpFacDefSetPo>());
}

TEST(AdpFacDefSetParser, AdapterAboveTheLargestRejectsWithoutRequests)
{
    PrintedText printed;
    TokenLine line{word(TOKEN_ADPFACDEFSET, "AdpFacDefSet"), adapterOption(), num(251)};
    ParsedLine parsed(line);
    EXPECT_EQ(parsed.requests, nullptr);
    EXPECT_EQ(printed.text(), "Invalid Adapter number.\n");
}

TEST(SimpleParsers, LineWithoutAdapterGivesAnEmptyList)
{
    for (unsigned short id : {TOKEN_ADPFACDEFSET, TOKEN_LDNUMBER, TOKEN_ENCINFO}) {
        TokenLine line{word(id, "command")};
        ParsedLine parsed(line);
        ASSERT_NE(parsed.requests, nullptr) << id;
        EXPECT_EQ(parsed.requests->count(), 0) << id;
    }
}

TEST(SimpleParsers, StrayTokenIsReportedAndTheCommandStillRuns)
{
    PrintedText printed;
    TokenLine line{word(TOKEN_ENCINFO, "EncInfo"), num(5), adapterOption(), num(0)};
    ParsedLine parsed(line);
    EXPECT_EQ(parsed.summary(), (Summary{{TOKEN_ENCINFO, 0}}));
    EXPECT_EQ(printed.text(), "Unexpected parameter 5 given in the command line.\n");
}
