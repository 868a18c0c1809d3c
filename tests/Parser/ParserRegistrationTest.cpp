// A command token belongs to one parser class: a second registration of it is refused.
#include "ParserTestSupport.h"

#include "Parser/ParserFactory.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

const unsigned short FREE_TOKEN = 253;  // no parser class of the program serves it
const unsigned short OTHER_FREE_TOKEN = 252;

class ClaimingParser : public Parser {
public:
    explicit ClaimingParser(int commandToken) : Parser(commandToken) {}
    static Parser* create(unsigned short commandToken) { return new ClaimingParser(commandToken); }
    static ArrayList<unsigned short>* commandTokens()
    {
        ArrayList<unsigned short>* ids = new ArrayList<unsigned short>(1);
        ids->add(FREE_TOKEN);
        return ids;
    }
    ArrayList<ParsedObject*>* parse(ArrayList<Token*>*) override { return nullptr; }
};

class LateClaimingParser : public Parser {
public:
    explicit LateClaimingParser(int commandToken) : Parser(commandToken) {}
    static Parser* create(unsigned short commandToken) { return new LateClaimingParser(commandToken); }
    static ArrayList<unsigned short>* commandTokens()
    {
        ArrayList<unsigned short>* ids = new ArrayList<unsigned short>(2);
        ids->add(FREE_TOKEN);
        ids->add(OTHER_FREE_TOKEN);
        return ids;
    }
    ArrayList<ParsedObject*>* parse(ArrayList<Token*>*) override { return nullptr; }
};

TEST(ParserFactoryRegistration, SecondClassForATokenIsRefusedAndTheRestOfItsListRegisters)
{
    ParserFactory* factory = ParserFactory::instance();
    ASSERT_FALSE(factory->hasCreator(FREE_TOKEN));
    ASSERT_FALSE(factory->hasCreator(OTHER_FREE_TOKEN));
    PrintedText printed;
    {
        ParserFactoryRegistration<ClaimingParser> first;
        ParserFactoryRegistration<LateClaimingParser> second;
    }
    EXPECT_EQ(printed.text(), "Token id 253 has a parser already\n");
    std::unique_ptr<Parser> kept(factory->create(FREE_TOKEN));
    std::unique_ptr<Parser> other(factory->create(OTHER_FREE_TOKEN));
    EXPECT_NE(dynamic_cast<ClaimingParser*>(kept.get()), nullptr) << "the first class keeps the token";
    EXPECT_NE(dynamic_cast<LateClaimingParser*>(other.get()), nullptr);
    factory->registerCreator(FREE_TOKEN, ParserCreator());
    factory->registerCreator(OTHER_FREE_TOKEN, ParserCreator());
}

}  // namespace
