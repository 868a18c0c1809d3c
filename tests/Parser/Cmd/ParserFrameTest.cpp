// The rule families shared by the command parsers, and what every parser class of the adapter,
// drive-list and virtual-drive information commands owes the frame: its rule count within the
// table, an empty request list for a line that names no adapter.
#include "LineParseSupport.h"

#include "Parser/Cmd/ParserFrame.h"
#include "Parser/EnclSlotId.h"
#include "Parser/PdParsedObjects.h"

namespace {

TokenItem driveListToken(const char* text)
{
    return word(TOKEN_CHANNEL_TARGET_LIST, text);
}

std::vector<std::string> copies(const ArrayList<PdIdListObject*>& list)
{
    std::vector<std::string> result;
    for (unsigned char i = 0; i < list.count(); ++i)
        result.push_back(std::to_string(list.get(i)->getEnclosureId()) + ":" + std::to_string(list.get(i)->getSlot()));
    return result;
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
        {TOKEN_SET_ADPPROPERTY, 6}, {TOKEN_GET_ADPPROPERTY, 6},
    };
    parserRegistrationAnchor();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.commandToken);
        std::unique_ptr<Parser> parser(ParserFactory::instance()->create(c.commandToken));
        ASSERT_TRUE(parser);
        EXPECT_EQ(parser->getRuleCount(), c.rules);
        EXPECT_LT(parser->getRuleCount(), Parser::MAX_RULES);
    }
}

TEST(ParserClasses, LineWithoutAdapterGivesAnEmptyListAndPrintsNothing)
{
    parserRegistrationAnchor();
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
    expectEmpty({word(TOKEN_SET_ADPPROPERTY, "AdpSetProp"), word(TOKEN_REBUILDRATE, "RebuildRate"), num(30)});
}

TEST(KeptDriveListRule, ListNoRequestTookGoesWithTheParser)
{
    unsigned int usersBefore = sharedDriveListUsers;
    {
        TokenLine line{driveListToken("252:1,252:2")};
        KeptDriveList kept;
        ASSERT_EQ(kept.take(line.tokens(), 0, false), 0);
        EXPECT_EQ(line.consumed(), (std::vector<int>{1}));
        EXPECT_EQ(SharedDriveList::holdersOf(kept.get()), 1u);
        EXPECT_EQ(kept.get()->count(), 2);
    }
    // The sanitizer build checks that the list went with its last holder.
    EXPECT_EQ(sharedDriveListUsers, usersBefore);
}

TEST(KeptDriveListRule, RequestsKeepTheListAfterTheParserIsGone)
{
    TokenLine line{driveListToken("252:4")};
    KeptDriveList* kept = new KeptDriveList;
    ASSERT_EQ(kept->take(line.tokens(), 0, true), 0);
    PdInfoParsedObject* first = new PdInfoParsedObject(TOKEN_PDINFO, kept->get(), 0);
    PdInfoParsedObject* second = new PdInfoParsedObject(TOKEN_PDINFO, kept->get(), 1);
    delete kept;
    ASSERT_EQ(SharedDriveList::holdersOf(first->getDriveList()), 2u);
    EXPECT_EQ(first->getDriveList()->get(0)->getSlotNumber(), 4);
    delete first;
    EXPECT_EQ(second->getDriveList()->get(0)->getEnclosureId(), 252);
    delete second;
}

TEST(KeptDriveListRule, RefusedListLeavesTheKeptOneAndTheToken)
{
    TokenLine line{driveListToken("252:1"), driveListToken("252:1,252:2"), driveListToken("252:x"),
                   word(TOKEN_PHYSDRV, "PhysDrv")};
    KeptDriveList kept;
    ASSERT_EQ(kept.take(line.tokens(), 0, true), 0);
    ArrayList<EnclSlotId*>* first = kept.get();
    // Two drives for a one-drive rule, a malformed item, a token that is no list.
    EXPECT_EQ(kept.take(line.tokens(), 1, true), -1);
    EXPECT_EQ(kept.take(line.tokens(), 2, false), -1);
    EXPECT_EQ(kept.take(line.tokens(), 3, false), -1);
    EXPECT_EQ(kept.get(), first);
    EXPECT_EQ(line.consumed(), (std::vector<int>{1, 0, 0, 0}));
    // A keeping rule takes several drives.
    EXPECT_EQ(kept.take(line.tokens(), 1, false), 0);
    EXPECT_EQ(kept.get()->count(), 2);
}

TEST(CopyingDriveListRule, AppendsCopiesInOrderOrNothing)
{
    TokenLine line{driveListToken("252:1,:2,?:3"), driveListToken("252:4,252:300"), word(TOKEN_FORCE, "Force")};
    ArrayList<PdIdListObject*> target(4);
    EXPECT_EQ(ParserFrame::takeDriveCopies(line.tokens(), 0, &target), 0);
    EXPECT_EQ(copies(target), (std::vector<std::string>{"252:1", "65535:2", "52428:3"}));
    EXPECT_EQ(ParserFrame::takeDriveCopies(line.tokens(), 1, &target), -1);
    EXPECT_EQ(ParserFrame::takeDriveCopies(line.tokens(), 2, &target), -1);
    EXPECT_EQ(copies(target), (std::vector<std::string>{"252:1", "65535:2", "52428:3"}));
    EXPECT_EQ(line.consumed(), (std::vector<int>{1, 0, 0}));
    for (unsigned char i = 0; i < target.count(); ++i)
        delete target.get(i);
}

TEST(CopyingDriveListRule, ListThatCannotTakeEveryDriveIsLeftAsItWas)
{
    std::string text;
    for (int slot = 0; slot < 200; ++slot)
        text += (slot ? "," : "") + std::string("1:") + std::to_string(slot);
    TokenLine line{driveListToken(text.c_str()), driveListToken(text.c_str())};
    ArrayList<PdIdListObject*> target(4);
    EXPECT_EQ(ParserFrame::takeDriveCopies(line.tokens(), 0, &target), 0);
    EXPECT_EQ(target.count(), 200);
    EXPECT_EQ(ParserFrame::takeDriveCopies(line.tokens(), 1, &target), -1);
    EXPECT_EQ(target.count(), 200);
    for (unsigned char i = 0; i < target.count(); ++i)
        delete target.get(i);
}

TEST(NumberAfterItsWord, WholeNumberIsTestedBeforeItIsStored)
{
    TokenLine line{word(TOKEN_FWTYPE, "FwType"), num(255), word(TOKEN_FWTYPE, "FwType"), num(256),
                   word(TOKEN_FWTYPE, "FwType"), word(TOKEN_ADAPTER, "a"), word(TOKEN_FWTYPE, "FwType")};
    unsigned int value = 7;
    EXPECT_EQ(ParserFrame::takeNumberAfter(line.tokens(), 0, 255, &value), 0);
    EXPECT_EQ(value, 255u);
    EXPECT_EQ(ParserFrame::takeNumberAfter(line.tokens(), 2, 255, &value), -1);
    EXPECT_EQ(ParserFrame::takeNumberAfter(line.tokens(), 4, 255, &value), -1);
    EXPECT_EQ(ParserFrame::takeNumberAfter(line.tokens(), 6, 255, &value), -1);
    EXPECT_EQ(value, 255u);
}

TEST(OwnFileNameRule, TakesTheFreeTextAfterTheOption)
{
    TokenLine line{word(TOKEN_FILE, "f"), word(TOKEN_ALPHANUM_CONSTANT, "fw.rom"), word(TOKEN_FILE, "f"),
                   word(TOKEN_ADAPTER, "a"), word(TOKEN_FILE, "f")};
    string name;
    EXPECT_EQ(ParserFrame::takeFileName(line.tokens(), 0, &name), 0);
    EXPECT_STREQ(name.c_str(), "fw.rom");
    EXPECT_EQ(ParserFrame::takeFileName(line.tokens(), 2, &name), -1);
    EXPECT_EQ(ParserFrame::takeFileName(line.tokens(), 4, &name), -1);
    EXPECT_EQ(ParserFrame::takeFileName(line.tokens(), 1, &name), -1);
    EXPECT_STREQ(name.c_str(), "fw.rom");
}
