// The parsers of the drive, phy and logical-drive commands: -PDCpyBk, -PDMakeJBOD,
// -PhyErrorCounters, -DirectPdMapping, -PhySetLinkSpeed, -LDBBMClr, -getLdExpansionInfo,
// -GetBbtEntries, -LdExpansion, -LDSetPowerPolicy and the mirror commands.
#include "CmdParserTestSupport.h"

#include "Parser/AdpParsedObjects.h"
#include "Parser/CfgParsedObjects.h"
#include "Parser/Cmd/VirtualDrive/LdExpansionParser.h"
#include "Parser/Cmd/Drive/PdCopyBackParser.h"
#include "Parser/Cmd/Sas/PhySetLinkSpeedParser.h"
#include "Parser/PdParsedObjects.h"

#include <gtest/gtest.h>

using namespace cmdtest;

namespace {

std::vector<int> ldsOf(const LdParsedObject* request)
{
    std::vector<int> result;
    for (unsigned char i = 0; i < request->getLdCount(); ++i)
        result.push_back(request->getLd(i));
    return result;
}

// Parses a hand-made token list with a parser of the class.
template <class XParser>
bool parsesTokens(TokenLine& line, unsigned short commandToken)
{
    std::unique_ptr<Parser> parser(XParser::create(commandToken));
    ArrayList<ParsedObject*>* requests = parser->parse(line.tokens());
    bool accepted = requests != nullptr;
    deleteRequests(requests);
    return accepted;
}

}  // namespace

// ---- -PDCpyBk -----------------------------------------------------------------------------

TEST(PdCopyBackParser, Actions)
{
    struct Case {
        const char* line;
        int action;
        Drives drives;
    } cases[] = {
        {"-PDCpyBk -Start -PhysDrv[32:4,32:5] -a0", 353, {{32, 4}, {32, 5}}},
        {"-PDCpyBk -Stop -PhysDrv[32:4] -a0", 354, {{32, 4}}},
        {"-PDCpyBk -Abort -PhysDrv[32:4] -a0", 354, {{32, 4}}},
        {"-PDCpyBk -Suspend -PhysDrv[:4] -a0", 627, {{0xFFFF, 4}}},
        {"-PDCpyBk -Resume -PhysDrv[?:4] -a0", 628, {{0xCCCC, 4}}},
        {"-PDCpyBk -ShowProg -PhysDrv[32:4] -a0", 357, {{32, 4}}},
        {"-PDCpyBk -ProgDsply -PhysDrv[32:4] -a0", 358, {{32, 4}}},
    };
    for (const Case& c : cases) {
        ParsedLine parsed(c.line);
        SCOPED_TRACE(c.line);
        ASSERT_EQ(parsed.summary(), (Summary{{TOKEN_PDCPYBK, 0}}));
        PdCopyBackParsedObject* r = parsed.at<PdCopyBackParsedObject>(0);
        ASSERT_NE(r, nullptr);
        EXPECT_EQ(r->getAction(), c.action);
        EXPECT_EQ(entriesOf(r->driveList), c.drives);
    }
}

TEST(PdCopyBackParser, EachRequestHasItsOwnCopy)
{
    ParsedLine parsed("-PDCpyBk -Start -PhysDrv[32:4,32:5] -a0,1");
    ASSERT_EQ(parsed.summary(), (Summary{{TOKEN_PDCPYBK, 0}, {TOKEN_PDCPYBK, 1}}));
    PdCopyBackParsedObject* first = parsed.at<PdCopyBackParsedObject>(0);
    PdCopyBackParsedObject* second = parsed.at<PdCopyBackParsedObject>(1);
    ASSERT_TRUE(first != nullptr && second != nullptr);
    EXPECT_NE(first->driveList, second->driveList);
    parsed.dropParser();
    EXPECT_EQ(entriesOf(first->driveList), (Drives{{32, 4}, {32, 5}}));
    EXPECT_EQ(entriesOf(second->driveList), (Drives{{32, 4}, {32, 5}}));
}

TEST(PdCopyBackParser, RefusedLines)
{
    for (const char* line : {"-PDCpyBk -Start -PhysDrv[32:260] -a0", "-PDCpyBk -Stop -PhysDrv[32: 4] -a0"}) {
        ParsedLine parsed(line);
        SCOPED_TRACE(line);
        EXPECT_FALSE(parsed.accepted());
    }
    // The whole line is searched for exactly one action word.
    TokenLine none{word(TOKEN_PDCPYBK, "PDCpyBk"), word(TOKEN_PHYSDRV, "PhysDrv"),
                   word(TOKEN_CHANNEL_TARGET_LIST, "32:4"), adapterOption(), num(0)};
    EXPECT_FALSE(parsesTokens<PdCopyBackParser>(none, TOKEN_PDCPYBK));
    TokenLine two{word(TOKEN_PDCPYBK, "PDCpyBk"), word(TOKEN_STOP, "Stop"), word(TOKEN_CHANNEL_TARGET_LIST, "32:4"),
                  word(TOKEN_RESUME, "Resume"), adapterOption(), num(0)};
    EXPECT_FALSE(parsesTokens<PdCopyBackParser>(two, TOKEN_PDCPYBK));
    TokenLine late{word(TOKEN_PDCPYBK, "PDCpyBk"), word(TOKEN_CHANNEL_TARGET_LIST, "32:4"), adapterOption(), num(0),
                   word(TOKEN_SUSPEND, "Suspend")};
    EXPECT_TRUE(parsesTokens<PdCopyBackParser>(late, TOKEN_PDCPYBK));
}

// ---- -PDMakeJBOD, -PhyErrorCounters, -DirectPdMapping, -PhySetLinkSpeed -------------------

TEST(PdMakeSystemParser, RequestsShareTheDriveList)
{
    ParsedLine parsed("-PDMakeJBOD -PhysDrv[32:4,32:5] -a0,1");
    ASSERT_EQ(parsed.summary(), (Summary{{TOKEN_PDMAKESYSTEM, 0}, {TOKEN_PDMAKESYSTEM, 1}}));
    PdOffLineParsedObject* first = parsed.at<PdOffLineParsedObject>(0);
    PdOffLineParsedObject* second = parsed.at<PdOffLineParsedObject>(1);
    ASSERT_TRUE(first != nullptr && second != nullptr);
    EXPECT_EQ(first->force, 0);
    EXPECT_EQ(first->getDriveList(), second->getDriveList());
    EXPECT_EQ(drivesOf(first->getDriveList()), (Drives{{32, 4}, {32, 5}}));

    ParsedLine all("-PDMakeJBOD -PhysDrv[32:4] -aALL");
    EXPECT_EQ(all.summary(), (Summary{{TOKEN_PDMAKESYSTEM, ALL_ADAPTERS}}));

    ParsedLine malformed("-PDMakeJBOD -PhysDrv[32:260] -a0");
    EXPECT_FALSE(malformed.accepted());
}

TEST(PhyParsers, ErrorCountersAndMapping)
{
    ParsedLine counters("-PhyErrorCounters -a0,2");
    EXPECT_EQ(counters.summary(), (Summary{{TOKEN_PHYERRORCOUNTERS, 0}, {TOKEN_PHYERRORCOUNTERS, 2}}));
    EXPECT_NE(counters.at<PhyErrCtParsedObject>(1), nullptr);

    struct Case {
        const char* line;
        int action;
    } cases[] = {
        {"-DirectPdMapping -Dsply -a0", 359},
        {"-DirectPdMapping -Enbl -a0", 355},
        {"-DirectPdMapping -Dsbl -a0", 356},
        {"-DirectPdMapping -Disable -a0", 356},
    };
    for (const Case& c : cases) {
        ParsedLine parsed(c.line);
        SCOPED_TRACE(c.line);
        ASSERT_EQ(parsed.summary(), (Summary{{TOKEN_DIRECTPDMAPPING, 0}}));
        PdMappingParsedObject* r = parsed.at<PdMappingParsedObject>(0);
        ASSERT_NE(r, nullptr);
        EXPECT_EQ(r->getAction(), c.action);
    }
}

TEST(PhySetLinkSpeedParser, PhyAndSpeed)
{
    ParsedLine parsed("-PhySetLinkSpeed -Phy 7 3 -a0,1");
    ASSERT_EQ(parsed.summary(), (Summary{{TOKEN_PHYSETLINKSPEED, 0}, {TOKEN_PHYSETLINKSPEED, 1}}));
    AdpPhySetLinkSpeedParsedObject* r = parsed.at<AdpPhySetLinkSpeedParsedObject>(1);
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(r->getPhyNumber(), 7);
    EXPECT_EQ(r->getLinkSpeed(), 3);

    ParsedLine largest("-PhySetLinkSpeed -Phy 255 255 -a0");
    r = largest.at<AdpPhySetLinkSpeedParsedObject>(0);
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(r->getPhyNumber(), 255);
    EXPECT_EQ(r->getLinkSpeed(), 255);
}

// Phy 300 cut to a byte would set phy 44.
TEST(PhySetLinkSpeedParser, NumbersAboveAByteRefuse)
{
    for (const char* line : {"-PhySetLinkSpeed -Phy 300 3 -a0", "-PhySetLinkSpeed -Phy 1 258 -a0"}) {
        ParsedLine parsed(line);
        SCOPED_TRACE(line);
        EXPECT_FALSE(parsed.accepted());
        EXPECT_EQ(parsed.printed, "");
    }
    TokenLine oneNumber{word(TOKEN_PHYSETLINKSPEED, "PhySetLinkSpeed"), word(TOKEN_PHY, "Phy"), num(1)};
    EXPECT_FALSE(parsesTokens<PhySetLinkSpeedParser>(oneNumber, TOKEN_PHYSETLINKSPEED));
}

// ---- logical-drive commands ---------------------------------------------------------------

TEST(LdParsers, ListOnlyCommands)
{
    struct Case {
        const char* line;
        Summary summary;
        std::vector<int> lds;
    } cases[] = {
        {"-LDBBMClr -LALL -aALL", {{TOKEN_LDBBMCLR, ALL_ADAPTERS}}, {ALL_LDS}},
        {"-getLdExpansionInfo -L1,1 -a0,1", {{TOKEN_GETLDEXPANSIONINFO, 0}, {TOKEN_GETLDEXPANSIONINFO, 1}}, {1, 1}},
        {"-GetBbtEntries -L0 -a3", {{TOKEN_LDGETBBTENTRIES, 3}}, {0}},
        {"-LDViewMirror -L2 -a0", {{TOKEN_LDVIEWMIRROR, 0}}, {2}},
    };
    for (const Case& c : cases) {
        ParsedLine parsed(c.line);
        SCOPED_TRACE(c.line);
        ASSERT_EQ(parsed.summary(), c.summary);
        for (unsigned char i = 0; i < c.summary.size(); ++i)
            EXPECT_EQ(ldsOf(parsed.at<LdParsedObject>(i)), c.lds);
    }
    ParsedLine bbm("-LDBBMClr -L0 -a0");
    EXPECT_NE(bbm.at<LdBBMClearParsedObject>(0), nullptr);
    ParsedLine info("-getLdExpansionInfo -L0 -a0");
    EXPECT_NE(info.at<LdExpansionInfoParsedObject>(0), nullptr);
    ParsedLine bbt("-GetBbtEntries -L0 -a0");
    EXPECT_NE(bbt.at<LdBbtEntriesParsedObject>(0), nullptr);
}

TEST(LdParsers, LogicalDriveNumbersAreCheckedWhole)
{
    for (const char* line : {"-LDBBMClr -L300 -a0", "-GetBbtEntries -L64 -a0", "-LdExpansion -p10 -L256 -a0"}) {
        ParsedLine parsed(line);
        SCOPED_TRACE(line);
        EXPECT_FALSE(parsed.accepted());
        EXPECT_EQ(parsed.printed, "Invalid Logical Drive number.\n");
    }
}

TEST(LdExpansionParser, PercentageAndArrayFlag)
{
    struct Case {
        const char* line;
        int percentage;
        int dontExpandArray;
    } cases[] = {
        {"-LdExpansion -p150 -L0 -a0", 150, 0},
        {"-LdExpansion -p10 -dontExpandArray -L0 -a0", 10, 1},
        {"-LdExpansion -p255 -L0,1 -a0", 255, 0},
    };
    for (const Case& c : cases) {
        ParsedLine parsed(c.line);
        SCOPED_TRACE(c.line);
        ASSERT_EQ(parsed.summary(), (Summary{{TOKEN_LDEXPANSION, 0}}));
        LdExpansionParsedObject* r = parsed.at<LdExpansionParsedObject>(0);
        ASSERT_NE(r, nullptr);
        EXPECT_EQ(r->getPercentage(), c.percentage);
        EXPECT_EQ(r->getDontExpandArray(), c.dontExpandArray);
    }
    // 300 cut to a byte would expand by 44 percent.
    ParsedLine tooLarge("-LdExpansion -p300 -L0 -a0");
    EXPECT_FALSE(tooLarge.accepted());
    EXPECT_EQ(tooLarge.printed, "");
    TokenLine nothingAfter{word(TOKEN_LDEXPANSION, "LdExpansion"), word(TOKEN_PERCENTAGE, "p"), num(5)};
    EXPECT_FALSE(parsesTokens<LdExpansionParser>(nothingAfter, TOKEN_LDEXPANSION));
}

TEST(LdPowerPolicyParser, PolicyWords)
{
    struct Case {
        const char* word;
        int policy;
    } cases[] = {
        {"-None", 606}, {"-Maximum", 595}, {"-Automatic", 596}, {"-MaximumWithoutCaching", 597}, {"-Default", 598},
    };
    for (const Case& c : cases) {
        ParsedLine parsed(std::string("-LDSetPowerPolicy ") + c.word + " -L0 -aALL");
        SCOPED_TRACE(c.word);
        ASSERT_EQ(parsed.summary(), (Summary{{TOKEN_LDSETPOWERPOLICY, ALL_ADAPTERS}}));
        LdPowerPolicyParsedObject* r = parsed.at<LdPowerPolicyParsedObject>(0);
        ASSERT_NE(r, nullptr);
        EXPECT_EQ(r->getPowerSavePolicy(), c.policy);
    }
    TokenLine two{word(TOKEN_LDSETPOWERPOLICY, "LDSetPowerPolicy"), word(TOKEN_NONE, "None"),
                  word(TOKEN_MAX, "Maximum"), ldOption(), num(0), adapterOption(), num(0)};
    std::unique_ptr<Parser> parser(ParserFactory::instance()->create(TOKEN_LDSETPOWERPOLICY));
    EXPECT_EQ(parser->parse(two.tokens()), nullptr);
}

TEST(LdMirrorParser, MirrorCommands)
{
    struct Case {
        const char* line;
        int command;
        int dataSource;
        int force;
    } cases[] = {
        {"-LDJoinMirror -DataSrc 1 -force -L0 -a0", TOKEN_LDJOINMIRROR, 1, 1},
        {"-LDJoinMirror -DataSrc 0 -L0 -a0", TOKEN_LDJOINMIRROR, 0, 0},
        {"-LDBreakMirror -L0 -a0", TOKEN_LDBREAKMIRROR, 255, 0},
        {"-LDViewMirror -L0 -a0", TOKEN_LDVIEWMIRROR, 255, 0},
    };
    for (const Case& c : cases) {
        ParsedLine parsed(c.line);
        SCOPED_TRACE(c.line);
        ASSERT_EQ(parsed.summary(), (Summary{{c.command, 0}}));
        LdMirrorParsedObject* r = parsed.at<LdMirrorParsedObject>(0);
        ASSERT_NE(r, nullptr);
        EXPECT_EQ(r->getDataSource(), c.dataSource);
        EXPECT_EQ(r->force, c.force);
        EXPECT_EQ(ldsOf(r), std::vector<int>{0});
    }
    // A data source that does not fit a byte, or that would pose as "not given", refuses.
    for (const char* line : {"-LDJoinMirror -DataSrc 256 -L0 -a0", "-LDJoinMirror -DataSrc 255 -L0 -a0"}) {
        ParsedLine parsed(line);
        SCOPED_TRACE(line);
        EXPECT_FALSE(parsed.accepted());
    }
    TokenLine two{word(TOKEN_LDJOINMIRROR, "LDJoinMirror"), word(TOKEN_DATASRC, "DataSrc"), num(1),
                  word(TOKEN_DATASRC, "DataSrc"), num(0), ldOption(), num(0), adapterOption(), num(0)};
    std::unique_ptr<Parser> parser(ParserFactory::instance()->create(TOKEN_LDJOINMIRROR));
    EXPECT_EQ(parser->parse(two.tokens()), nullptr);
}

TEST(LdParsers, LineWithoutLogicalDriveRefuses)
{
    for (unsigned short id : {TOKEN_LDBBMCLR, TOKEN_GETLDEXPANSIONINFO, TOKEN_LDGETBBTENTRIES, TOKEN_LDBREAKMIRROR,
                              TOKEN_LDSETPOWERPOLICY, TOKEN_LDMAKESECURE, TOKEN_SECUREERASE}) {
        TokenLine line{word(id, "command"), adapterOption(), num(0)};
        std::unique_ptr<Parser> parser(ParserFactory::instance()->create(id));
        ASSERT_TRUE(parser) << id;
        EXPECT_EQ(parser->parse(line.tokens()), nullptr) << id;
    }
}

// ---- drive lists held by the parsers ------------------------------------------------------

// A line refused after its drive list was read leaves the list with the parser, which frees
// it; the sanitizer build shows any leak.
TEST(ParserDriveLists, RefusedLineFreesTheListWithTheParser)
{
    unsigned int usersBefore = sharedDriveListUsers;
    struct Case {
        unsigned short command;
        std::vector<TokenItem> items;
    } cases[] = {
        {TOKEN_PDREPROVISION, {word(TOKEN_PHYSDRV, "PhysDrv"), word(TOKEN_CHANNEL_TARGET_LIST, "32:1"),
                               adapterOption(), num(251)}},
        {TOKEN_PDMAKESYSTEM, {word(TOKEN_PHYSDRV, "PhysDrv"), word(TOKEN_CHANNEL_TARGET_LIST, "32:1"),
                              adapterOption(), num(300)}},
        {TOKEN_GET_KEYID, {word(TOKEN_PHYSDRV, "PhysDrv"), word(TOKEN_CHANNEL_TARGET_LIST, "32:1"),
                           word(TOKEN_KEYID, "KeyID")}},
        {TOKEN_SECUREERASE, {word(TOKEN_STOP, "Stop"), word(TOKEN_CHANNEL_TARGET_LIST, "32:1"),
                             word(TOKEN_SHOWPROG, "ShowProg"), adapterOption(), num(0)}},
        {TOKEN_PDFWDOWNLOAD, {word(TOKEN_OFFLINE, "Offline"), word(TOKEN_CHANNEL_TARGET_LIST, "32:1"),
                              word(TOKEN_FILE, "f"), word(TOKEN_ALPHANUM_CONSTANT, "fw.bin"), adapterOption(),
                              num(0)}},
        {TOKEN_CFGTIDEWELLADD, {word(TOKEN_CHANNEL_TARGET_LIST, "32:1"), word(TOKEN_RAID, "r"), num(256),
                                adapterOption(), num(0)}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.command);
        TokenLine line{word(c.command, "command")};
        appendTokens(line, c.items);
        PrintedText quiet;
        std::unique_ptr<Parser> parser(ParserFactory::instance()->create(c.command));
        ASSERT_TRUE(parser);
        EXPECT_EQ(parser->parse(line.tokens()), nullptr);
        EXPECT_EQ(sharedDriveListUsers, usersBefore + 1);  // the parser's own hold
        parser.reset();
        EXPECT_EQ(sharedDriveListUsers, usersBefore);
    }
}

// The requests and their copies may go in any order, before or after the parser; the list
// is deleted once, by the last of them.
TEST(ParserDriveLists, ListIsFreedOnceWhateverTheOrder)
{
    for (int order = 0; order < 3; ++order) {
        SCOPED_TRACE(order);
        unsigned int usersBefore = sharedDriveListUsers;
        ParsedLine parsed("-PDMakeJBOD -PhysDrv[32:4,32:5] -a0,1");
        ASSERT_EQ(parsed.count(), 2);
        ArrayList<EnclSlotId*>* list = parsed.at<PdOffLineParsedObject>(0)->getDriveList();
        ParsedObject* copy = parsed.requests->get(1)->clone();
        ASSERT_NE(copy, nullptr);
        EXPECT_EQ(SharedDriveList::holdersOf(list), 4u);
        if (order == 0)
            parsed.dropParser();
        if (order == 1) {
            delete copy;
            copy = nullptr;
        }
        deleteRequests(parsed.requests);
        parsed.requests = nullptr;
        if (copy != nullptr) {
            EXPECT_EQ(drivesOf(static_cast<PdOffLineParsedObject*>(copy)->getDriveList()), (Drives{{32, 4}, {32, 5}}));
            delete copy;
        }
        parsed.dropParser();
        EXPECT_EQ(sharedDriveListUsers, usersBefore);
    }
}
