// The parsers of the configuration commands: -CfgLdAdd, -CfgEachDskRaid0, -CfgAllFreeDrv,
// -CfgClr, -CfgDsply, -CfgTidewellDsply, -CfgTidewellAdd, -Tidewell and the host-cache family
// HK. Every case is a command line through the real scanner and grammar.
#include "CmdParserTestSupport.h"

#include "Parser/CfgParsedObjects.h"
#include "Parser/Cmd/Config/CfgAddParser.h"
#include "Parser/Cmd/Config/CfgClrParser.h"

#include <gtest/gtest.h>

using namespace cmdtest;

namespace {

const unsigned long long MB = 2048ULL;
const unsigned long long GB = 1ULL << 21;
const unsigned long long TB = 1ULL << 31;

std::vector<unsigned long long> sizesOf(const CfgAddParsedObject* request)
{
    std::vector<unsigned long long> result;
    const ArrayList<unsigned long long*>* sizes = request->getSizeList();
    for (unsigned char i = 0; sizes != nullptr && i < sizes->count(); ++i)
        result.push_back(*sizes->get(i));
    return result;
}

std::vector<Drives> arraysOf(const CfgAddParsedObject* request)
{
    std::vector<Drives> result;
    const ArrayList<ArrayList<PdIdListObject*>*>* arrays = request->getArrayList();
    for (unsigned char i = 0; arrays != nullptr && i < arrays->count(); ++i)
        result.push_back(entriesOf(arrays->get(i)));
    return result;
}

std::vector<int> ldsOf(const CfgSSCDAddParsedObject* request)
{
    return values(*request->getLdList());
}

std::vector<std::string> namesOf(const TidexCmdParsedObject* request)
{
    std::vector<std::string> result;
    const ArrayList<string*>* names = request->getNameList();
    for (unsigned char i = 0; i < names->count(); ++i)
        result.push_back(names->get(i)->c_str());
    return result;
}

}  // namespace

// ---- -CfgLdAdd and -CfgEachDskRaid0 -------------------------------------------------------

TEST(CfgAddParser, ValuesNotGivenKeepTheirMarks)
{
    ParsedLine parsed("-CfgLdAdd -r5 [252:0,252:1,252:2] -a0");
    ASSERT_EQ(parsed.summary(), (Summary{{TOKEN_ADPCFGADD, 0}}));
    CfgAddParsedObject* r = parsed.at<CfgAddParsedObject>(0);
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(r->raidLevel, 5);
    EXPECT_EQ(r->readPolicy, 255);
    EXPECT_EQ(r->writePolicy, 255);
    EXPECT_EQ(r->ioPolicy, 255);
    EXPECT_EQ(r->badBbuPolicy, 255);
    EXPECT_EQ(r->stripSize, 0xFFFF);
    EXPECT_EQ(r->getAfterLd(), 255);
    EXPECT_EQ(r->encryption, 0);
    EXPECT_EQ(r->getPowerSavePolicy(), 25);
    EXPECT_EQ(r->cache, 0);
    EXPECT_EQ(r->force, 0);
    EXPECT_EQ(r->getEnablePi(), 0);
    EXPECT_EQ(sizesOf(r), std::vector<unsigned long long>{});
    EXPECT_EQ(arraysOf(r), (std::vector<Drives>{{{252, 0}, {252, 1}, {252, 2}}}));
    ASSERT_NE(r->getHotSpareList(), nullptr);
    EXPECT_EQ(r->getHotSpareList()->count(), 0);
}

TEST(CfgAddParser, EveryOptionReachesTheRequest)
{
    ParsedLine parsed("-CfgLdAdd -r1 [32:1,32:2] NORA WT -NoCachedBadBBU Direct -Hsp[32:5,32:6] -AfterLd 2 "
                      "-FDE -Maximum -Cache -EnblPI -Force -a3");
    ASSERT_EQ(parsed.summary(), (Summary{{TOKEN_ADPCFGADD, 3}}));
    CfgAddParsedObject* r = parsed.at<CfgAddParsedObject>(0);
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(r->raidLevel, 1);
    EXPECT_EQ(r->readPolicy, 2);
    EXPECT_EQ(r->writePolicy, 1);
    EXPECT_EQ(r->badBbuPolicy, 0);
    EXPECT_EQ(r->ioPolicy, 1);
    EXPECT_EQ(r->getAfterLd(), 2);
    EXPECT_EQ(r->encryption, 1);
    EXPECT_EQ(r->getPowerSavePolicy(), 2);
    EXPECT_EQ(r->cache, 1);
    EXPECT_EQ(r->getEnablePi(), 1);
    EXPECT_EQ(r->force, 1);
    // The hot spares never join the drive array.
    EXPECT_EQ(arraysOf(r), (std::vector<Drives>{{{32, 1}, {32, 2}}}));
    EXPECT_EQ(entriesOf(r->getHotSpareList()), (Drives{{32, 5}, {32, 6}}));
}

TEST(CfgAddParser, PolicyWordsGiveTheirCodes)
{
    struct Case {
        const char* words;
        int read, write, io, badBbu, encryption, powerSave;
    } cases[] = {
        {"RA WB Cached -CachedBadBBU -CtrlBased -Default", 0, 0, 0, 1, 2, 0},
        {"NORA WT Direct -NoCachedBadBBU -Secure -Automatic", 2, 1, 1, 0, 3, 1},
        {"-MaximumWithoutCaching", 255, 255, 255, 255, 0, 6},
        {"-None", 255, 255, 255, 255, 0, 254},
    };
    for (const Case& c : cases) {
        ParsedLine parsed(std::string("-CfgLdAdd -r0 [32:1] ") + c.words + " -a0");
        SCOPED_TRACE(c.words);
        CfgAddParsedObject* r = parsed.at<CfgAddParsedObject>(0);
        ASSERT_NE(r, nullptr);
        EXPECT_EQ(r->readPolicy, c.read);
        EXPECT_EQ(r->writePolicy, c.write);
        EXPECT_EQ(r->ioPolicy, c.io);
        EXPECT_EQ(r->badBbuPolicy, c.badBbu);
        EXPECT_EQ(r->encryption, c.encryption);
        EXPECT_EQ(r->getPowerSavePolicy(), c.powerSave);
    }
}

TEST(CfgAddParser, AdaptiveReadAheadIsReportedAndLeavesTheReadPolicyUnset)
{
    ParsedLine parsed("-CfgLdAdd -r1 [32:1,32:2] ADRA WB -a0");
    EXPECT_EQ(parsed.printed, "Unexpected parameter ADRA given in the command line.\n");
    CfgAddParsedObject* r = parsed.at<CfgAddParsedObject>(0);
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(r->readPolicy, 255);
    EXPECT_EQ(r->writePolicy, 0);
}

TEST(CfgAddParser, SizesInBlocks)
{
    struct Case {
        const char* sizes;
        std::vector<unsigned long long> blocks;
    } cases[] = {
        {"-sz100", {100 * MB}},
        {"-sz100 GB", {100 * GB}},
        {"-sz100GB", {100 * GB}},
        {"-sz0.5", {1024}},
        {"-sz1.5 GB", {GB + (500 * GB) / 1000}},
        {"-sz1.05 GB", {GB + (50 * GB) / 1000}},
        {"-sz1.1 GB", {GB + (100 * GB) / 1000}},
        {"-sz1.10 GB", {GB + (100 * GB) / 1000}},
        {"-sz1.25 GB", {GB + (250 * GB) / 1000}},
        {"-sz1.125 MB", {MB + (125 * MB) / 1000}},
        {"-sz2 TB", {2 * TB}},
        {"-sz1.5 TB", {TB + (500 * TB) / 1000}},
        {"-sz 10 -sz 20 GB -sz 30", {10 * MB, 20 * GB, 30 * MB}},
    };
    for (const Case& c : cases) {
        ParsedLine parsed(std::string("-CfgLdAdd -r0 [32:1] ") + c.sizes + " -a0");
        SCOPED_TRACE(c.sizes);
        CfgAddParsedObject* r = parsed.at<CfgAddParsedObject>(0);
        ASSERT_NE(r, nullptr);
        EXPECT_EQ(sizesOf(r), c.blocks);
    }
}

TEST(CfgAddParser, StripSizeAndAfterLdAsTyped)
{
    ParsedLine parsed("-CfgLdAdd -r0 [32:1] -strpsz 65535 -AfterLd 255 -a0");
    CfgAddParsedObject* r = parsed.at<CfgAddParsedObject>(0);
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(r->stripSize, 65535);
    EXPECT_EQ(r->getAfterLd(), 255);
}

TEST(CfgAddParser, DriveAddressesAsTyped)
{
    ParsedLine parsed("-CfgLdAdd -r1 [:1,?:2,0:255] -a0");
    CfgAddParsedObject* r = parsed.at<CfgAddParsedObject>(0);
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(arraysOf(r), (std::vector<Drives>{{{0xFFFF, 1}, {0xCCCC, 2}, {0, 255}}}));
}

// Numbers are never cut into their fields: a cut value would configure another level, size or
// drive than the one typed.
TEST(CfgAddParser, ValuesThatDoNotFitTheirFieldsRefuseTheLine)
{
    const char* lines[] = {
        "-CfgLdAdd -r256 [252:0] -a0",
        "-CfgLdAdd -r0 [32:1] -strpsz 65536 -a0",
        "-CfgLdAdd -r0 [32:1] -AfterLd 256 -a0",
        "-CfgLdAdd -r0 [32:300] -a0",
        "-CfgLdAdd -r1 [32:1,32:2] -Hsp[32:256] -a0",
    };
    for (const char* line : lines) {
        ParsedLine parsed(line);
        SCOPED_TRACE(line);
        EXPECT_FALSE(parsed.accepted());
        EXPECT_EQ(parsed.printed, "");
    }
}

TEST(CfgAddParser, EachDiskRaid0CarriesNoListsAndAllAdapters)
{
    ParsedLine parsed("-CfgEachDskRaid0 WB RA Direct -strpsz 64 -aALL");
    ASSERT_EQ(parsed.summary(), (Summary{{TOKEN_ADPCFGEACHDSKRAID0, ALL_ADAPTERS}}));
    CfgAddParsedObject* r = parsed.at<CfgAddParsedObject>(0);
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(r->raidLevel, 255);
    EXPECT_EQ(r->getArrayList(), nullptr);
    ASSERT_NE(r->getSizeList(), nullptr);
    EXPECT_EQ(r->getSizeList()->count(), 0);
    EXPECT_EQ(r->getAfterLd(), 255);
    EXPECT_EQ(r->force, 0);
    EXPECT_EQ(r->stripSize, 64);
    EXPECT_EQ(r->writePolicy, 0);
    EXPECT_EQ(r->readPolicy, 0);
    EXPECT_EQ(r->ioPolicy, 1);
}

TEST(CfgAddParser, EachDiskRaid0OnSeveralAdapters)
{
    ParsedLine parsed("-CfgEachDskRaid0 -EnblPI -a0,2");
    EXPECT_EQ(parsed.summary(), (Summary{{TOKEN_ADPCFGEACHDSKRAID0, 0}, {TOKEN_ADPCFGEACHDSKRAID0, 2}}));
    CfgAddParsedObject* r = parsed.at<CfgAddParsedObject>(1);
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(r->getEnablePi(), 1);
}

// The requests hold copies: they outlive the parser, as they do in the program.
TEST(CfgAddParser, RequestsOutliveTheParser)
{
    ParsedLine parsed("-CfgLdAdd -r1 [32:1,32:2] -sz 10 -Hsp[32:5] -a0");
    parsed.dropParser();
    CfgAddParsedObject* r = parsed.at<CfgAddParsedObject>(0);
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(arraysOf(r), (std::vector<Drives>{{{32, 1}, {32, 2}}}));
    EXPECT_EQ(entriesOf(r->getHotSpareList()), (Drives{{32, 5}}));
    EXPECT_EQ(sizesOf(r), std::vector<unsigned long long>{10 * MB});
}

// The base rules the configuration parsers share, on lists the grammar admits only in parts.
TEST(CfgParser, SeveralBracketedListsAndHotSpareRouting)
{
    TokenLine line{word(TOKEN_ADPCFGADD, "CfgLdAdd"),
                   word(TOKEN_CHANNEL_TARGET_LIST, "1:1,1:2"),
                   word(TOKEN_HOTSPARE, "Hsp"),
                   word(TOKEN_CHANNEL_TARGET_LIST, "1:9"),
                   word(TOKEN_CHANNEL_TARGET_LIST, "2:1 2:2"),
                   word(TOKEN_SZ_GB, "GB"),
                   num(3),
                   word(TOKEN_SZ_TB, "TB"),
                   adapterOption(),
                   num(0)};
    CfgAddParser parser(TOKEN_ADPCFGADD);
    ArrayList<ParsedObject*>* requests = parser.parse(line.tokens());
    ASSERT_NE(requests, nullptr);
    ASSERT_NE(parser.getDriveArrays(), nullptr);
    ASSERT_EQ(parser.getDriveArrays()->count(), 2);
    EXPECT_EQ(entriesOf(parser.getDriveArrays()->get(0)), (Drives{{1, 1}, {1, 2}}));
    EXPECT_EQ(entriesOf(parser.getDriveArrays()->get(1)), (Drives{{2, 1}, {2, 2}}));
    EXPECT_EQ(entriesOf(&parser.getHotSpares()), (Drives{{1, 9}}));
    // A unit word no size took starts a size of its own, and takes the unit after it.
    ASSERT_EQ(parser.getSizeList().count(), 1);
    EXPECT_EQ(*parser.getSizeList().get(0), 3 * TB);
    deleteRequests(requests);
}

// Token lists the grammar already refuses; the rules refuse them as well.
TEST(CfgParser, MalformedOperandsRefuse)
{
    struct Case {
        const char* name;
        TokenItem operand;
        TokenItem unit;
    } cases[] = {
        // Four digits after the point are no thousandths.
        {"longFraction", word(TOKEN_DEC_NUMBER, "1.2345"), word(TOKEN_SZ_GB, "GB")},
        // A block count beyond 64 bits.
        {"beyond64Bits", word(TOKEN_DEC_NUMBER, "9000000000.5"), word(TOKEN_SZ_TB, "TB")},
        {"negative", num(-1), word(TOKEN_SZ_MB, "MB")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TokenLine line{word(TOKEN_ADPCFGADD, "CfgLdAdd"), word(TOKEN_SIZE, "sz"), c.operand, c.unit,
                       adapterOption(), num(0)};
        CfgAddParser parser(TOKEN_ADPCFGADD);
        EXPECT_EQ(parser.parse(line.tokens()), nullptr);
        EXPECT_EQ(parser.getSizeList().count(), 0);
    }
    TokenLine badItem{word(TOKEN_ADPCFGADD, "CfgLdAdd"), word(TOKEN_CHANNEL_TARGET_LIST, "32:1,x:2"),
                      adapterOption(), num(0)};
    CfgAddParser parser(TOKEN_ADPCFGADD);
    EXPECT_EQ(parser.parse(badItem.tokens()), nullptr);
    EXPECT_EQ(badItem.consumed(), (std::vector<int>{1, 0, 0, 0}));
}

TEST(CfgParser, SizeWithoutItsNumberOrFollowerRefuses)
{
    TokenLine noNumber{word(TOKEN_ADPCFGADD, "CfgLdAdd"), word(TOKEN_SIZE, "sz"), adapterOption(), num(0)};
    TokenLine lastToken{word(TOKEN_ADPCFGADD, "CfgLdAdd"), word(TOKEN_SIZE, "sz"), num(4)};
    for (TokenLine* line : {&noNumber, &lastToken}) {
        CfgAddParser parser(TOKEN_ADPCFGADD);
        EXPECT_EQ(parser.parse(line->tokens()), nullptr);
    }
}

TEST(CfgParser, TableHoldsTheBaseAndTheClassRules)
{
    CfgAddParser add(TOKEN_ADPCFGADD);
    EXPECT_EQ(add.getRuleCount(), 33);
    std::unique_ptr<Parser> freeAll(ParserFactory::instance()->create(TOKEN_ADPCFGALLFREEDRV));
    ASSERT_TRUE(freeAll);
    EXPECT_EQ(freeAll->getRuleCount(), 37);
}

// ---- -CfgAllFreeDrv -----------------------------------------------------------------------

TEST(CfgFreeAllDrvParser, SpannedLevels)
{
    struct Case {
        const char* line;
        int raidLevel;
        int spanCount;
    } cases[] = {
        {"-CfgAllFreeDrv -r5 -SpanCount 2 -a0", 50, 2},
        {"-CfgAllFreeDrv -r1 -SpanCount 2 -a0", 10, 2},
        {"-CfgAllFreeDrv -r6 -SpanCount 3 -a0", 60, 3},
        {"-CfgAllFreeDrv -r0 -SpanCount 2 -a0", 0, 2},
        {"-CfgAllFreeDrv -r5 -SpanCount 1 -a0", 5, 1},
        {"-CfgAllFreeDrv -r5 -a0", 5, 1},
        {"-CfgAllFreeDrv -r10 -SpanCount 2 -a0", 10, 2},
    };
    for (const Case& c : cases) {
        ParsedLine parsed(c.line);
        SCOPED_TRACE(c.line);
        CfgAutoParsedObject* r = parsed.at<CfgAutoParsedObject>(0);
        ASSERT_NE(r, nullptr);
        EXPECT_EQ(r->raidLevel, c.raidLevel);
        EXPECT_EQ(r->getSpanCount(), c.spanCount);
    }
}

TEST(CfgFreeAllDrvParser, DefaultsAndFlags)
{
    ParsedLine plain("-CfgAllFreeDrv -r1 -a0");
    ASSERT_EQ(plain.summary(), (Summary{{TOKEN_ADPCFGALLFREEDRV, 0}}));
    CfgAutoParsedObject* r = plain.at<CfgAutoParsedObject>(0);
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(r->getHotSpareCount(), 0);
    EXPECT_EQ(r->getRevertible(), 1);
    EXPECT_EQ(r->getDedicated(), 0);
    EXPECT_EQ(r->getEnclAffinity(), 0);
    EXPECT_EQ(r->getSataOnly(), 0);
    EXPECT_EQ(r->getEnablePi(), 0);
    EXPECT_EQ(r->getPowerSavePolicy(), 25);
    EXPECT_EQ(r->getAfterLd(), 255);
    EXPECT_EQ(r->getArrayList(), nullptr);
    EXPECT_EQ(r->force, 0);

    ParsedLine full("-CfgAllFreeDrv -r5 -SATAOnly -SpanCount 2 WB -strpsz 64 -HspCount 1 -HspType -Dedicated "
                    "-EnclAffinity -nonRevertible -Automatic -Cache -EnblPI -a1");
    r = full.at<CfgAutoParsedObject>(0);
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(r->getAdapterNumber(), 1);
    EXPECT_EQ(r->raidLevel, 50);
    EXPECT_EQ(r->getSataOnly(), 1);
    EXPECT_EQ(r->writePolicy, 0);
    EXPECT_EQ(r->stripSize, 64);
    EXPECT_EQ(r->getHotSpareCount(), 1);
    EXPECT_EQ(r->getDedicated(), 1);
    EXPECT_EQ(r->getEnclAffinity(), 1);
    EXPECT_EQ(r->getRevertible(), 0);
    EXPECT_EQ(r->getPowerSavePolicy(), 1);
    EXPECT_EQ(r->cache, 1);
    EXPECT_EQ(r->getEnablePi(), 1);

    // HSPTYPE alone changes nothing.
    ParsedLine typeOnly("-CfgAllFreeDrv -r1 -HspCount 2 -HspType -a0");
    r = typeOnly.at<CfgAutoParsedObject>(0);
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(r->getHotSpareCount(), 2);
    EXPECT_EQ(r->getDedicated(), 0);
    EXPECT_EQ(r->getRevertible(), 1);
}

TEST(CfgFreeAllDrvParser, CountsThatDoNotFitAByteRefuse)
{
    for (const char* line : {"-CfgAllFreeDrv -r5 -SpanCount 256 -a0", "-CfgAllFreeDrv -r5 -HspCount 300 -a0",
                             "-CfgAllFreeDrv -r256 -a0"}) {
        ParsedLine parsed(line);
        SCOPED_TRACE(line);
        EXPECT_FALSE(parsed.accepted());
    }
}

// ---- -CfgClr, -CfgDsply, -CfgTidewellDsply -----------------------------------------------

TEST(CfgClrParser, ForceAndAdapters)
{
    ParsedLine two("-CfgClr -a0,1");
    EXPECT_EQ(two.summary(), (Summary{{TOKEN_ADPCFGCLR, 0}, {TOKEN_ADPCFGCLR, 1}}));
    for (unsigned char i = 0; i < 2; ++i) {
        AdpCfgClrParsedObject* r = two.at<AdpCfgClrParsedObject>(i);
        ASSERT_NE(r, nullptr);
        EXPECT_EQ(r->force, 0);
    }
    ParsedLine forced("-CfgClr -Force -aALL");
    EXPECT_EQ(forced.summary(), (Summary{{TOKEN_ADPCFGCLR, ALL_ADAPTERS}}));
    AdpCfgClrParsedObject* r = forced.at<AdpCfgClrParsedObject>(0);
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(r->force, 1);
}

TEST(CfgClrParser, RequestCarriesTheClearCommandWhateverTheParserWasMadeFor)
{
    CfgClrParser parser(TOKEN_LDBBMCLR);
    TokenLine line{word(TOKEN_LDBBMCLR, "LDBBMClr"), word(TOKEN_FORCE, "Force"), adapterOption(), num(0)};
    ArrayList<ParsedObject*>* requests = parser.parse(line.tokens());
    ASSERT_NE(requests, nullptr);
    ASSERT_EQ(requests->count(), 1);
    EXPECT_EQ(requests->get(0)->getCommandToken(), TOKEN_ADPCFGCLR);
    deleteRequests(requests);
}

TEST(CfgDsplyParser, CommandWordTellsTheDisplaysApart)
{
    ParsedLine config("-CfgDsply -a0");
    EXPECT_EQ(config.summary(), (Summary{{TOKEN_ADPCFGDISP, 0}}));
    EXPECT_NE(config.at<CfgDsplyParsedObject>(0), nullptr);
    ParsedLine ssdCache("-CfgTidewellDsply -aALL");
    EXPECT_EQ(ssdCache.summary(), (Summary{{TOKEN_TIDEWELLDSPLY, ALL_ADAPTERS}}));
    EXPECT_NE(ssdCache.at<CfgDsplyParsedObject>(0), nullptr);
}

TEST(CfgDsplyParser, AdapterAboveTheLargestRefuses)
{
    ParsedLine parsed("-CfgDsply -a251");
    EXPECT_FALSE(parsed.accepted());
    EXPECT_EQ(parsed.printed, "Invalid Adapter number.\n");
}

// ---- -CfgTidewellAdd and -Tidewell -------------------------------------------------------

TEST(CfgSSCDParser, AddDefaults)
{
    ParsedLine parsed("-CfgTidewellAdd -PhysDrv[252:2,252:3] -a0");
    ASSERT_EQ(parsed.summary(), (Summary{{TOKEN_CFGTIDEWELLADD, 0}}));
    CfgSSCDAddParsedObject* r = parsed.at<CfgSSCDAddParsedObject>(0);
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(r->getRaidLevel(), 0);
    EXPECT_EQ(r->getWritePolicy(), 1);
    EXPECT_EQ(r->getName(), nullptr);
    EXPECT_EQ(r->getEnablePi(), 0);
    EXPECT_EQ(r->assignAction, 0);
    EXPECT_EQ(ldsOf(r), std::vector<int>{});
    EXPECT_EQ(drivesOf(r->getDriveList()), (Drives{{252, 2}, {252, 3}}));
}

TEST(CfgSSCDParser, AddWithEveryOption)
{
    struct Case {
        const char* line;
        int raidLevel;
        int writePolicy;
        const char* name;
        int action;
        std::vector<int> lds;
    } cases[] = {
        {"-CfgTidewellAdd -r1 -PhysDrv[32:1,32:2] -Name fast ForcedWB -a0", 1, 3, "fast", 0, {}},
        {"-CfgTidewellAdd -PhysDrv[32:1] -Name cache1 WB -Assign -L0,2,5 -a0", 0, 0, "cache1", 1, {0, 2, 5}},
        {"-CfgTidewellAdd -PhysDrv[32:1] WT -Assign -LALL -a0", 0, 1, nullptr, 1, {ALL_LDS}},
        // No range test and no de-duplication beyond the logical-drive rules.
        {"-CfgTidewellAdd -PhysDrv[32:1] -Assign -L3,3 -a0", 0, 1, nullptr, 1, {3, 3}},
    };
    for (const Case& c : cases) {
        ParsedLine parsed(c.line);
        SCOPED_TRACE(c.line);
        CfgSSCDAddParsedObject* r = parsed.at<CfgSSCDAddParsedObject>(0);
        ASSERT_NE(r, nullptr);
        EXPECT_EQ(r->getRaidLevel(), c.raidLevel);
        EXPECT_EQ(r->getWritePolicy(), c.writePolicy);
        if (c.name == nullptr)
            EXPECT_EQ(r->getName(), nullptr);
        else
            EXPECT_STREQ(r->getName(), c.name);
        EXPECT_EQ(r->assignAction, c.action);
        EXPECT_EQ(ldsOf(r), c.lds);
    }
}

TEST(CfgSSCDParser, AssociationCarriesNoDriveList)
{
    ParsedLine assign("-Tidewell -Assign -L0 -a0,1");
    EXPECT_EQ(assign.summary(), (Summary{{TOKEN_TIDEWELL, 0}, {TOKEN_TIDEWELL, 1}}));
    CfgSSCDAddParsedObject* r = assign.at<CfgSSCDAddParsedObject>(1);
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(r->getDriveList(), nullptr);
    EXPECT_EQ(r->getRaidLevel(), 0);
    EXPECT_EQ(r->getWritePolicy(), 1);
    EXPECT_EQ(r->assignAction, 1);
    EXPECT_EQ(ldsOf(r), std::vector<int>{0});

    ParsedLine remove("-Tidewell -Remove -LALL -aALL");
    EXPECT_EQ(remove.summary(), (Summary{{TOKEN_TIDEWELL, ALL_ADAPTERS}}));
    r = remove.at<CfgSSCDAddParsedObject>(0);
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(r->assignAction, 2);
    EXPECT_EQ(ldsOf(r), std::vector<int>{ALL_LDS});
}

// A malformed drive item is not a parse failure here: the request carries no drive list.
TEST(CfgSSCDParser, MalformedDriveListLeavesNoList)
{
    ParsedLine parsed("-CfgTidewellAdd -PhysDrv[32:300] -a0");
    CfgSSCDAddParsedObject* r = parsed.at<CfgSSCDAddParsedObject>(0);
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(r->getDriveList(), nullptr);
}

TEST(CfgSSCDParser, NumbersThatDoNotFitRefuse)
{
    ParsedLine level("-CfgTidewellAdd -r256 -PhysDrv[32:1] -a0");
    EXPECT_FALSE(level.accepted());
    ParsedLine ld("-Tidewell -Assign -L300 -a0");
    EXPECT_FALSE(ld.accepted());
    EXPECT_EQ(ld.printed, "Invalid Logical Drive number.\n");
}

TEST(CfgSSCDParser, DriveListOutlivesTheParserAndIsFreedWithTheLastRequest)
{
    ParsedLine parsed("-CfgTidewellAdd -PhysDrv[32:1] -a0");
    CfgSSCDAddParsedObject* r = parsed.at<CfgSSCDAddParsedObject>(0);
    ASSERT_NE(r, nullptr);
    ArrayList<EnclSlotId*>* list = r->getDriveList();
    EXPECT_EQ(SharedDriveList::holdersOf(list), 2u);  // the parser and the request
    parsed.dropParser();
    EXPECT_EQ(SharedDriveList::holdersOf(list), 1u);
    EXPECT_EQ(drivesOf(r->getDriveList()), (Drives{{32, 1}}));
}

// ---- HK -----------------------------------------------------------------------------------

TEST(TidexCmdParser, SubCommands)
{
    struct Case {
        const char* line;
        int kind, action, configured, force, all, index, cardInfo;
        std::vector<std::string> names;
    } cases[] = {
        {"-HK -AddVd /dev/sdb:/dev/sdc", 11, 8, 0, 0, 1, 0, 0, {"/dev/sdb", "/dev/sdc"}},
        {"-HK -AddVd /dev/sdb::/dev/sdc:", 11, 8, 0, 0, 1, 0, 0, {"/dev/sdb", "/dev/sdc"}},
        {"-HK -RemVd :sdb", 11, 9, 0, 0, 1, 0, 0, {"sdb"}},
        {"-HK -AddCdev sdd -Force", 11, 6, 0, 1, 1, 0, 0, {"sdd"}},
        {"-HK -RemCdev sdd", 11, 7, 0, 0, 1, 0, 0, {"sdd"}},
        {"-HK -OnlineVd sde", 11, 12, 0, 0, 1, 0, 0, {"sde"}},
        {"-HK -VdList", 11, 2, 0, 0, 1, 0, 0, {}},
        {"-HK -VdList -Configured", 11, 2, 1, 0, 0, 0, 0, {}},
        {"-HK -CdevList -Unconfigured", 11, 1, 0, 0, 0, 0, 0, {}},
        {"-HK -ConfigInfo", 11, 3, 0, 0, 1, 0, 0, {}},
        {"-HK -PerfStats", 11, 10, 0, 0, 1, 0, 0, {}},
        {"-HK -TidewellOHCLConfiguration", 11, 5, 0, 0, 1, 0, 0, {}},
        {"-HK -BlazeCardInfo -iALL", 10, 0, 0, 0, 1, 0, 1, {}},
        {"-HK -BlazeCardInfo -i2", 10, 0, 0, 0, 0, 2, 1, {}},
        {"-HK -BlazeCardInfo -i255", 10, 0, 0, 0, 0, 255, 1, {}},
    };
    for (const Case& c : cases) {
        ParsedLine parsed(c.line);
        SCOPED_TRACE(c.line);
        ASSERT_EQ(parsed.summary(), (Summary{{TOKEN_TIDEX, 0}}));
        TidexCmdParsedObject* r = parsed.at<TidexCmdParsedObject>(0);
        ASSERT_NE(r, nullptr);
        EXPECT_EQ(r->getObjectKind(), c.kind);
        EXPECT_EQ(r->getAction(), c.action);
        EXPECT_EQ(r->getConfigured(), c.configured);
        EXPECT_EQ(r->getForce(), c.force);
        EXPECT_EQ(r->getAllIndices(), c.all);
        EXPECT_EQ(r->getIndex(), c.index);
        EXPECT_EQ(r->getCardInfo(), c.cardInfo);
        EXPECT_EQ(namesOf(r), c.names);
    }
}

TEST(TidexCmdParser, IndexAboveAByteRefuses)
{
    ParsedLine parsed("-HK -BlazeCardInfo -i256");
    EXPECT_FALSE(parsed.accepted());
}

TEST(TidexCmdParser, NamesOutliveTheParser)
{
    ParsedLine parsed("-HK -AddVd a:b");
    parsed.dropParser();
    TidexCmdParsedObject* r = parsed.at<TidexCmdParsedObject>(0);
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(namesOf(r), (std::vector<std::string>{"a", "b"}));
}
