// The parser factory and the parser registrations.
#include "ParserTestSupport.h"

#include "Parser/Cmd/Adapter/AdpCountParser.h"
#include "Parser/Cmd/Adapter/AdpDiagParser.h"
#include "Parser/Cmd/Adapter/AdpFacDefSetParser.h"
#include "Parser/Cmd/Drive/EncInfoParser.h"
#include "Parser/Cmd/Security/AdPdKeyIDGetSetParser.h"
#include "Parser/Cmd/Config/CfgAddParser.h"
#include "Parser/Cmd/Config/CfgDsplyParser.h"
#include "Parser/Cmd/Cache/CfgSSCDParser.h"
#include "Parser/Cmd/Security/CreateLockKeyParser.h"
#include "Parser/Cmd/Security/DestroyLockKeyParser.h"
#include "Parser/Cmd/VirtualDrive/LdDelParser.h"
#include "Parser/Cmd/VirtualDrive/LdMirrorParser.h"
#include "Parser/Cmd/VirtualDrive/LdOperationParser.h"
#include "Parser/Cmd/VirtualDrive/LdPropParser.h"
#include "Parser/Cmd/Drive/PdOnLnParser.h"
#include "Parser/Cmd/Config/CfgSaveRestoreParser.h"
#include "Parser/Cmd/Config/ObjNumberParser.h"
#include "Parser/Cmd/Drive/PdReprovisionParser.h"
#include "Parser/ParserFactory.h"

#include <gtest/gtest.h>

#include <cxxabi.h>
#include <cstdlib>
#include <memory>
#include <set>
#include <typeinfo>

namespace {

// Every parser class of the program with the command tokens it serves, in registration order.
struct Registration {
    const char* parserClass;
    std::vector<unsigned short> commandTokens;
};

const Registration registrationTable[] = {
    {"PhySetLinkSpeedParser", {TOKEN_PHYSETLINKSPEED}},
    {"LdBbtEntriesParser", {TOKEN_LDGETBBTENTRIES}},
    {"AdpAllInfoParser", {TOKEN_ADPALLINFO}},
    {"AdpFacDefSetParser", {TOKEN_ADPFACDEFSET}},
    {"AdpEventLogParser", {TOKEN_ADPEVENTLOG}},
    {"AdpBbuParser", {TOKEN_ADPBBUCMD}},
    {"CfgAddParser", {TOKEN_ADPCFGADD, TOKEN_ADPCFGEACHDSKRAID0}},
    {"CfgFreeAllDrvParser", {TOKEN_ADPCFGALLFREEDRV}},
    {"CfgDsplyParser", {TOKEN_ADPCFGDISP, TOKEN_TIDEWELLDSPLY}},
    {"CfgClrParser", {TOKEN_ADPCFGCLR}},
    {"PdInfoParser", {TOKEN_PDINFO}},
    {"PdOnLnParser", {TOKEN_PDONLINE, TOKEN_PDMARKMISSING, TOKEN_PDGETMISSING, TOKEN_PDLOCATE}},
    {"PdOffLnParser", {TOKEN_PDOFFLINE}},
    {"PdMakeGoodParser", {TOKEN_PDMAKEGOOD}},
    {"PdMakeSystemParser", {TOKEN_PDMAKESYSTEM}},
    {"PdHspParser", {TOKEN_PDHSP}},
    {"PdListParser", {TOKEN_PDLIST, TOKEN_PRESERVEDCACHELIST}},
    {"PdPrpRmvParser", {TOKEN_PDPRPRMV}},
    {"PdClearParser", {TOKEN_PDCLEAR}},
    {"LdDelParser", {TOKEN_LDDEL, TOKEN_CFGTIDEWELLDEL}},
    {"FreeSpaceInfoParser", {TOKEN_ADPFREESPACEINFO}},
    {"CfgSpanAddParser", {TOKEN_ADPCFGSPANADD}},
    {"LdPdInfoParser", {TOKEN_LDPDINFO}},
    {"AdpPropertyParser", {TOKEN_SET_ADPPROPERTY, TOKEN_GET_ADPPROPERTY}},
    {"LdInfoParser", {TOKEN_LDINFO, TOKEN_DISCARDPRESERVEDCACHE}},
    {"LdPropParser", {TOKEN_GET_LDPROPERTY, TOKEN_SET_LDPROPERTY}},
    {"LdOperationParser", {TOKEN_LDCC, TOKEN_LDINIT, TOKEN_LDBI}},
    {"AdpFlashParser", {TOKEN_ADPFWFLASH}},
    {"PdRbldParser", {TOKEN_PDRBLD}},
    {"ObjNumberParser", {TOKEN_LDNUMBER, TOKEN_PDNUMBER}},
    {"AdpBiosParser", {TOKEN_ADPBIOS}},
    {"AdpBootDriveParser", {TOKEN_ADPBOOTDRV}},
    {"AppVersionParser", {TOKEN_APPVERSION, TOKEN_HELP, TOKEN_HELP_SHT, TOKEN_Q_MARK}},
    {"LdReconstructParser", {TOKEN_LDRECON}},
    {"PhyInfoParser", {TOKEN_PHYINFO}},
    {"AdpTimeParser", {TOKEN_SETTIME, TOKEN_GETTIME}},
    {"CfgSaveRestoreParser", {TOKEN_ADPCFGSAVE, TOKEN_ADPCFGRESTORE}},
    {"PdReplaceMissingParser", {TOKEN_PDREPLACEMISSING}},
    {"AdpPrParser", {TOKEN_ADPPR}},
    {"AdpTTYLogParser", {TOKEN_ADPTERMLOG}},
    {"ForeignCfgParser", {TOKEN_ADPFRNCFG}},
    {"AdpVerifyParser", {TOKEN_ADPSETVERIFY}},
    {"AdpShutDownParser", {TOKEN_ADPSHUTDOWN}},
    {"AdpRestartParser", {TOKEN_ADPRESTART}},
    {"MuxModeParser", {TOKEN_MUXSETMODE, TOKEN_MUXGETMODE}},
    {"PhyErrorCtParser", {TOKEN_PHYERRORCOUNTERS}},
    {"PdMappingParser", {TOKEN_DIRECTPDMAPPING}},
    {"AdpCCSchedParser", {TOKEN_CC_SCHEDULING}},
    {"PdCopyBackParser", {TOKEN_PDCPYBK}},
    {"AdpCacheFlushParser", {TOKEN_ADPCACHEFLUSH}},
    {"AdpAutoRbldParser", {TOKEN_ADPAUTORBLD}},
    {"AdpCountParser", {TOKEN_ADPCOUNT}},
    {"EncInfoParser", {TOKEN_ENCINFO, TOKEN_ENCSTATUS}},
    {"LdMakeSecureParser", {TOKEN_LDMAKESECURE}},
    {"PdReprovisionParser", {TOKEN_PDINSTANTSECUREERASE, TOKEN_PDREPROVISION}},
    {"DestroyLockKeyParser", {TOKEN_DESTROYSECURITYKEY, TOKEN_DELETESECURITYKEY}},
    {"ReKeyParser", {TOKEN_CHANGESECURITYKEY}},
    {"CreateLockKeyParser", {TOKEN_CREATESECURITYKEY, TOKEN_VERIFYSECURITYKEY}},
    {"AdPdKeyIDGetSetParser", {TOKEN_GET_KEYID, TOKEN_SET_KEYID}},
    {"CliVersionParser", {TOKEN_CLIVERSION}},
    {"AdpDiagParser", {TOKEN_ADPDIAG}},
    {"AdpGetPciInfoParser", {TOKEN_ADPGETPCIINFO}},
    {"PdFwDownloadParser", {TOKEN_PDFWDOWNLOAD}},
    {"AdpAllInOneLogParser", {TOKEN_ADPALILOG}},
    {"LdBBMClearParser", {TOKEN_LDBBMCLR}},
    {"LdExpansionInfoParser", {TOKEN_GETLDEXPANSIONINFO}},
    {"LdExpansionParser", {TOKEN_LDEXPANSION}},
    {"AdpSettingsParser", {TOKEN_ADPSETTINGS}},
    {"CfgSSCDParser", {TOKEN_CFGTIDEWELLADD, TOKEN_TIDEWELL}},
    {"ShowSummaryParser", {TOKEN_SHOWSUMMARY}},
    {"PerfMonParser", {TOKEN_PERFMON}},
    {"LdMirrorParser", {TOKEN_LDBREAKMIRROR, TOKEN_LDVIEWMIRROR, TOKEN_LDJOINMIRROR}},
    {"LdPowerPolicyParser", {TOKEN_LDSETPOWERPOLICY}},
    {"DpmStatParser", {TOKEN_DPMSTAT}},
    {"AdAECParser", {TOKEN_ADPAEC}},
    {"SecureEraseParser", {TOKEN_SECUREERASE}},
    {"TidexCmdParser", {TOKEN_TIDEX}},
    {"PciLinkSpeedParser", {TOKEN_PCISETLINKSPEED}},
    {"AdpDowngradeParser", {TOKEN_ADPDOWNGRADE}},
};

// Command words the grammar accepts but no parser serves.
const unsigned short commandsWithoutParser[] = {
    TOKEN_ADPSETSASA, TOKEN_ADPFACTORYSETTINGS, TOKEN_ADPBATTEST, TOKEN_ADPNVRAM, TOKEN_ADPRAIDINFO, TOKEN_ADPM0FLASH, TOKEN_ENCLSHOWENCLLIST, TOKEN_ENCLSHOWVPD, TOKEN_ENCLSHOWPDLIST, TOKEN_ENCLLOCATE, TOKEN_ENCLFWDOWNLOAD, TOKEN_ENCL_SETFACDEFAULT, TOKEN_MFGSETTINGS, TOKEN_ADPSETVERIFY_RAW, TOKEN_PDATAIDDATA, TOKEN_ADPLIST, TOKEN_ADPUPDATEPERSISTENTCFGPAGE, TOKEN_ADPCFGPAGE, TOKEN_ADPFWDUMP, TOKEN_ADPSETSUBOEMID, TOKEN_ADPGETSUBOEMID, TOKEN_ADPINFOCOMPARE, TOKEN_ADPNAMERTN, TOKEN_SNAPSHOT, TOKEN_FULLSTRSEEKTEST, TOKEN_BBUMFGSET, TOKEN_ADPHWDEVICE, TOKEN_ADPGETVPD, TOKEN_ADPSETVPD, TOKEN_PRSETDELAY, TOKEN_FILECFGDSPLY,
    TOKEN_GETGGEEPDATA, TOKEN_OFFSET, TOKEN_NUMBYTES, 0};

// Classes that serve their command words with rules of their own: their base part holds a
// command token that no scanned word carries.
const std::set<std::string> ownCommandWordClasses = {"CreateLockKeyParser", "ReKeyParser",
                                                     "DestroyLockKeyParser", "PdOffLnParser",
                                                     "PdOnLnParser", "PdRbldParser"};

std::string classNameOf(const Parser* parser)
{
    int status = 0;
    char* name = abi::__cxa_demangle(typeid(*parser).name(), nullptr, nullptr, &status);
    std::string result = status == 0 && name != nullptr ? name : typeid(*parser).name();
    std::free(name);
    return result;
}

// Nothing is called to fill the factory: the registrations sit beside their classes, and the
// whole-archive link keeps every one of them.
class ParserRegistrations : public ::testing::Test {};

}  // namespace

TEST_F(ParserRegistrations, EveryRegisteredIdGivesItsClassMadeWithThatId)
{
    int registered = 0;
    for (const Registration& row : registrationTable) {
        for (unsigned short id : row.commandTokens) {
            SCOPED_TRACE(std::string(row.parserClass) + " for token " + std::to_string(id));
            std::unique_ptr<Parser> parser(ParserFactory::instance()->create(id));
            ASSERT_TRUE(parser) << "every command of the table has its parser";
            ++registered;
            EXPECT_EQ(classNameOf(parser.get()), row.parserClass);
            if (ownCommandWordClasses.count(row.parserClass) > 0)
                EXPECT_EQ(parser->getCommandToken(), 0xFFFF);
            else
                EXPECT_EQ(parser->getCommandToken(), id);
        }
    }
    EXPECT_EQ(registered, 106);
}

TEST_F(ParserRegistrations, NoOtherIdHasAParser)
{
    std::set<unsigned short> served;
    for (const Registration& row : registrationTable)
        served.insert(row.commandTokens.begin(), row.commandTokens.end());
    EXPECT_EQ(served.size(), 106u);

    PrintedText printed;
    for (unsigned short id : commandsWithoutParser)
        EXPECT_EQ(served.count(id), 0u) << id;
    for (unsigned int id = 0; id < ParserFactory::SLOT_COUNT; ++id) {
        if (served.count(static_cast<unsigned short>(id)) == 0) {
            EXPECT_EQ(ParserFactory::instance()->create(static_cast<unsigned short>(id)), nullptr) << id;
        }
    }
    for (unsigned short id : {TOKEN_PRSETDELAY, static_cast<unsigned short>(255),
                              TOKEN_ADAPTER, TOKEN_UNKNOWN})
        EXPECT_EQ(ParserFactory::instance()->create(id), nullptr) << id;
    EXPECT_EQ(printed.text(), "");
}

TEST_F(ParserRegistrations, ClassesServingSeveralWordsKnowWhichWordSelectedThem)
{
    std::unique_ptr<Parser> info(ParserFactory::instance()->create(TOKEN_ENCINFO));
    std::unique_ptr<Parser> status(ParserFactory::instance()->create(TOKEN_ENCSTATUS));
    ASSERT_TRUE(info && status);
    EXPECT_NE(dynamic_cast<EncInfoParser*>(status.get()), nullptr);
    EXPECT_EQ(info->getCommandToken(), TOKEN_ENCINFO);
    EXPECT_EQ(status->getCommandToken(), TOKEN_ENCSTATUS);
}

TEST(ParserClasses, CommandTokensListTheIdsInTheirOrder)
{
    struct Case {
        ArrayList<unsigned short>* (*commandTokens)();
        std::vector<int> ids;
    } cases[] = {
        {&AdpFacDefSetParser::commandTokens, {TOKEN_ADPFACDEFSET}},
        {&ObjNumberParser::commandTokens, {TOKEN_LDNUMBER, TOKEN_PDNUMBER}},
        {&EncInfoParser::commandTokens, {TOKEN_ENCINFO, TOKEN_ENCSTATUS}},
        {&AdpDiagParser::commandTokens, {TOKEN_ADPDIAG}},
        {&AdpCountParser::commandTokens, {TOKEN_ADPCOUNT}},
        {&CfgAddParser::commandTokens, {TOKEN_ADPCFGADD, TOKEN_ADPCFGEACHDSKRAID0}},
        {&CfgDsplyParser::commandTokens, {TOKEN_ADPCFGDISP, TOKEN_TIDEWELLDSPLY}},
        {&CfgSSCDParser::commandTokens, {TOKEN_CFGTIDEWELLADD, TOKEN_TIDEWELL}},
        {&CreateLockKeyParser::commandTokens, {TOKEN_CREATESECURITYKEY, TOKEN_VERIFYSECURITYKEY}},
        {&DestroyLockKeyParser::commandTokens, {TOKEN_DESTROYSECURITYKEY, TOKEN_DELETESECURITYKEY}},
        {&AdPdKeyIDGetSetParser::commandTokens, {TOKEN_GET_KEYID, TOKEN_SET_KEYID}},
        {&PdReprovisionParser::commandTokens, {TOKEN_PDINSTANTSECUREERASE, TOKEN_PDREPROVISION}},
        {&LdMirrorParser::commandTokens, {TOKEN_LDBREAKMIRROR, TOKEN_LDVIEWMIRROR, TOKEN_LDJOINMIRROR}},
        {&LdPropParser::commandTokens, {TOKEN_GET_LDPROPERTY, TOKEN_SET_LDPROPERTY}},
        {&LdDelParser::commandTokens, {TOKEN_LDDEL, TOKEN_CFGTIDEWELLDEL}},
        {&LdOperationParser::commandTokens, {TOKEN_LDCC, TOKEN_LDINIT, TOKEN_LDBI}},
        {&PdOnLnParser::commandTokens, {TOKEN_PDONLINE, TOKEN_PDMARKMISSING, TOKEN_PDGETMISSING, TOKEN_PDLOCATE}},
        {&CfgSaveRestoreParser::commandTokens, {TOKEN_ADPCFGSAVE, TOKEN_ADPCFGRESTORE}},
    };
    for (const Case& c : cases) {
        ArrayList<unsigned short>* ids = c.commandTokens();
        ASSERT_NE(ids, nullptr);
        std::vector<int> read;
        for (unsigned char i = 0; i < ids->count(); ++i)
            read.push_back(ids->get(i));
        EXPECT_EQ(read, c.ids);
        delete ids;
    }
}

// ---- the factory itself -------------------------------------------------------------------

namespace {

// Two made-up parser classes, to watch the factory and the registration template.
class FirstProbeParser : public Parser {
public:
    explicit FirstProbeParser(int commandToken) : Parser(commandToken) {}
    static Parser* create(unsigned short commandToken) { return new FirstProbeParser(commandToken); }
    static ArrayList<unsigned short>* commandTokens()
    {
        ArrayList<unsigned short>* ids = new ArrayList<unsigned short>(2);
        ids->add(254);
        ids->add(300);
        return ids;
    }
    ArrayList<ParsedObject*>* parse(ArrayList<Token*>*) override { return nullptr; }
};

class SecondProbeParser : public Parser {
public:
    explicit SecondProbeParser(int commandToken) : Parser(commandToken) {}
    static Parser* create(unsigned short commandToken) { return new SecondProbeParser(commandToken); }
    static ArrayList<unsigned short>* commandTokens() { return nullptr; }
    ArrayList<ParsedObject*>* parse(ArrayList<Token*>*) override { return nullptr; }
};

}  // namespace

TEST(ParserFactory, NewFactoryHasNoCreators)
{
    ParserFactory factory;
    for (unsigned int id = 0; id <= 0xFFFF; ++id)
        ASSERT_EQ(factory.create(static_cast<unsigned short>(id)), nullptr) << id;
}

TEST(ParserFactory, IdBeyondTheTableIsReportedAndStoresNothing)
{
    ParserFactory factory;
    PrintedText printed;
    factory.registerCreator(255, makeParserCreator<FirstProbeParser>());
    factory.registerCreator(0xFFFF, makeParserCreator<FirstProbeParser>());
    EXPECT_EQ(printed.text(), "Invalid tokenId 255 - max allowed is 255\n"
                              "Invalid tokenId 65535 - max allowed is 255\n");
    for (unsigned int id = 0; id < ParserFactory::SLOT_COUNT; ++id)
        EXPECT_FALSE(factory.hasCreator(static_cast<unsigned short>(id))) << id;
}

TEST(ParserFactory, LastSlotAndSlotZeroCanBeFilled)
{
    ParserFactory factory;
    factory.registerCreator(254, makeParserCreator<FirstProbeParser>());
    factory.registerCreator(0, makeParserCreator<FirstProbeParser>());
    std::unique_ptr<Parser> last(factory.create(254));
    std::unique_ptr<Parser> first(factory.create(0));
    ASSERT_TRUE(last && first);
    EXPECT_EQ(last->getCommandToken(), 254);
    EXPECT_EQ(first->getCommandToken(), 0);
}

TEST(ParserFactory, LaterCreatorForAnIdReplacesTheEarlierOne)
{
    ParserFactory factory;
    factory.registerCreator(7, makeParserCreator<FirstProbeParser>());
    factory.registerCreator(7, makeParserCreator<SecondProbeParser>());
    std::unique_ptr<Parser> parser(factory.create(7));
    EXPECT_NE(dynamic_cast<SecondProbeParser*>(parser.get()), nullptr);
    // An empty creator empties the slot again.
    factory.registerCreator(7, ParserCreator());
    EXPECT_EQ(factory.create(7), nullptr);
}

TEST(ParserFactory, CreatorsOfOneClassAreEqualAndOfTwoClassesNot)
{
    EXPECT_EQ(makeParserCreator<FirstProbeParser>(), makeParserCreator<FirstProbeParser>());
    EXPECT_NE(makeParserCreator<FirstProbeParser>(), makeParserCreator<SecondProbeParser>());
    EXPECT_NE(makeParserCreator<FirstProbeParser>(), ParserCreator());
}

TEST(ParserFactoryRegistration, RegistersEveryIdOfItsClassAndOutlivesNothing)
{
    ParserFactory* factory = ParserFactory::instance();
    ASSERT_FALSE(factory->hasCreator(254));
    PrintedText printed;
    {
        ParserFactoryRegistration<FirstProbeParser> registration;
    }
    // The id beyond the table is reported and the registration goes on; destroying the
    // registration object leaves its creators in place.
    EXPECT_EQ(printed.text(), "Invalid tokenId 300 - max allowed is 255\n");
    std::unique_ptr<Parser> parser(factory->create(254));
    EXPECT_NE(dynamic_cast<FirstProbeParser*>(parser.get()), nullptr);
    factory->registerCreator(254, ParserCreator());
}

TEST(ParserFactoryRegistration, MissingIdListRegistersNothing)
{
    ParserFactory* factory = ParserFactory::instance();
    std::vector<bool> before;
    for (unsigned int id = 0; id < ParserFactory::SLOT_COUNT; ++id)
        before.push_back(factory->hasCreator(static_cast<unsigned short>(id)));
    ParserFactoryRegistration<SecondProbeParser> registration;
    for (unsigned int id = 0; id < ParserFactory::SLOT_COUNT; ++id)
        EXPECT_EQ(factory->hasCreator(static_cast<unsigned short>(id)), before[id]) << id;
}
