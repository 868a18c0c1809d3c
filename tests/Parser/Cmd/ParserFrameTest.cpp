// What every parser class of the adapter, drive-list and virtual-drive information commands owes
// the parser frame: its rule count within the table, and an empty request list without output
// for a line that names no adapter.
#include "LineParseSupport.h"

#include "RaidManager/EnclSlotId.h"
#include "Parser/PdParsedObjects.h"

namespace {

TokenItem driveListToken(const char* text)
{
    return word(TOKEN_CHANNEL_TARGET_LIST, text);
}

}  // namespace

TEST(ParserClasses, RuleCountsStayWithinTheTable)
{
    struct Case {
        unsigned short commandToken;
        int rules;
    } cases[] = {
        {TOKEN_ADPALLINFO, 4}, {TOKEN_ADPCACHEFLUSH, 4}, {TOKEN_ADPSHUTDOWN, 3}, {TOKEN_ADPRESTART, 3},
        {TOKEN_ADPDOWNGRADE, 4}, {TOKEN_CLIVERSION, 8}, {TOKEN_ADPFWFLASH, 6}, {TOKEN_PDLIST, 3},
        {TOKEN_PRESERVEDCACHELIST, 3}, {TOKEN_PDINFO, 6}, {TOKEN_LDINFO, 6}, {TOKEN_DISCARDPRESERVEDCACHE, 6},
        {TOKEN_LDPDINFO, 3}, {TOKEN_ADPFREESPACEINFO, 3}, {TOKEN_ADPGETPCIINFO, 4}, {TOKEN_ADPALILOG, 4},
        {TOKEN_SET_ADPPROPERTY, 6}, {TOKEN_GET_ADPPROPERTY, 6}, {TOKEN_ADPSETTINGS, 6}, {TOKEN_MUXSETMODE, 10},
        {TOKEN_MUXGETMODE, 10}, {TOKEN_PCISETLINKSPEED, 4}, {TOKEN_ADPAEC, 13}, {TOKEN_DPMSTAT, 14},
        {TOKEN_PERFMON, 9}, {TOKEN_CC_SCHEDULING, 11}, {TOKEN_SHOWSUMMARY, 7},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.commandToken);
        std::unique_ptr<Parser> parser(ParserFactory::instance()->create(c.commandToken));
        ASSERT_TRUE(parser);
        EXPECT_EQ(parser->getRuleCount(), c.rules);
        EXPECT_LT(parser->getRuleCount(), Parser::MAX_RULES);
    }
}

// The table refuses a rule beyond its 40; a class that reached the limit may have lost one, so
// every registered class must stay below it.
TEST(ParserClasses, EveryRegisteredClassStaysBelowTheRuleLimit)
{
    int idsServed = 0;
    for (unsigned int id = 0; id < ParserFactory::SLOT_COUNT; ++id) {
        std::unique_ptr<Parser> parser(ParserFactory::instance()->create(static_cast<unsigned short>(id)));
        if (!parser)
            continue;
        ++idsServed;
        EXPECT_LT(parser->getRuleCount(), Parser::MAX_RULES) << "parser of token " << id;
    }
    EXPECT_GE(idsServed, 68);
}

TEST(ParserClasses, LineWithoutAdapterGivesAnEmptyListAndPrintsNothing)
{
    auto expectEmpty = [](TokenLine&& line) {
        SCOPED_TRACE(line.at(0)->getId());
        PrintedText printed;
        std::unique_ptr<Parser> parser(ParserFactory::instance()->create(line.at(0)->getId()));
        ASSERT_TRUE(parser);
        ArrayList<ParsedObject*>* requests = parser->parse(line.tokens());
        ASSERT_NE(requests, nullptr);
        EXPECT_EQ(requests->count(), 0);
        deleteRequests(requests);
        EXPECT_EQ(printed.text(), "");
    };
    expectEmpty({word(TOKEN_ADPALLINFO, "AdpAllInfo")});
    expectEmpty({word(TOKEN_ADPCACHEFLUSH, "AdpCacheFlush")});
    expectEmpty({word(TOKEN_ADPSHUTDOWN, "AdpShutDown")});
    expectEmpty({word(TOKEN_ADPRESTART, "AdpRestart")});
    expectEmpty({word(TOKEN_ADPDOWNGRADE, "AdpDowngrade")});
    expectEmpty({word(TOKEN_CLIVERSION, "Version"), word(TOKEN_CTRL, "Ctrl")});
    expectEmpty({word(TOKEN_ADPFWFLASH, "AdpFwFlash"), word(TOKEN_FILE, "f"), word(TOKEN_ALPHANUM_CONSTANT, "fw")});
    expectEmpty({word(TOKEN_PDLIST, "PDList")});
    // The drive list read goes with the parser (checked by the sanitizer build).
    expectEmpty({word(TOKEN_PDINFO, "pdInfo"), word(TOKEN_PHYSDRV, "PhysDrv"), driveListToken("252:1")});
    expectEmpty({word(TOKEN_LDINFO, "LDInfo"), ldOption(), num(0)});
    expectEmpty({word(TOKEN_LDPDINFO, "LdPdInfo")});
    expectEmpty({word(TOKEN_ADPFREESPACEINFO, "CfgFreeSpaceinfo")});
    expectEmpty({word(TOKEN_ADPGETPCIINFO, "AdpGetPciInfo")});
    expectEmpty({word(TOKEN_ADPALILOG, "AdpAlILog")});
    expectEmpty({word(TOKEN_ADPSETTINGS, "AdpSettings"), word(TOKEN_ADPSTGREAD, "Read")});
    expectEmpty({word(TOKEN_MUXGETMODE, "AdpGetConnectorMode"), word(TOKEN_MUX_ALL, "ConnectorAll")});
    expectEmpty({word(TOKEN_PCISETLINKSPEED, "PciSetLinkSpeed"), num(2)});
    expectEmpty({word(TOKEN_ADPAEC, "AdpAEC"), word(TOKEN_SHOW, "Show")});
    expectEmpty({word(TOKEN_DPMSTAT, "DpmStat"), word(TOKEN_DISPLAY, "Dsply"), word(TOKEN_DPM_HIST, "Hist"),
                 word(TOKEN_PHYSDRV, "PhysDrv"), driveListToken("252:3")});
    expectEmpty({word(TOKEN_PERFMON, "PerfMon"), word(TOKEN_STOP, "Stop")});
    expectEmpty({word(TOKEN_CC_SCHEDULING, "AdpCcSched"), word(TOKEN_PRINFO, "Info")});
    expectEmpty({word(TOKEN_SHOWSUMMARY, "ShowSummary"), word(TOKEN_FILE, "f"), word(TOKEN_ALPHANUM_CONSTANT, "s")});
    expectEmpty({word(TOKEN_SET_ADPPROPERTY, "AdpSetProp"), word(TOKEN_REBUILDRATE, "RebuildRate"), num(30)});
}
