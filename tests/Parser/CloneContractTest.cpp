// Every request class against the clone contract: a copy is of the same class, carries every
// field of its source (the adapter number included), shares nothing with it except the
// parser's drive list, and the two can be deleted in either order, also after the parser's
// own lists are gone. Run under the sanitizers, the deletions also prove that every list and
// entry is freed exactly once.
#include <functional>
#include <typeinfo>
#include <vector>

#include <gtest/gtest.h>

#include "RequestTestSupport.h"

namespace {

const unsigned char kAdapter = 3;

struct RequestCase {
    const char* name;
    // The request's command id, adapter number and fields as the constructor was given them
    // ("shared" for the parser's drive list, which is compared by identity).
    const char* expected;
    std::function<ParsedObject*(ParserLists&)> make;
    std::function<std::string(ParsedObject*)> fields;
    bool takesSharedList;
};

template <class R, class F>
std::function<std::string(ParsedObject*)> fieldsOf(F describe)
{
    return [describe](ParsedObject* p) {
        R* r = dynamic_cast<R*>(p);
        if (r == nullptr)
            return std::string("not the expected class");
        Fields out;
        describe(out, r);
        return out.str();
    };
}

template <class R>
std::function<std::string(ParsedObject*)> noFields()
{
    return fieldsOf<R>([](Fields&, R*) {});
}

AdpDateTime sampleDateTime()
{
    AdpDateTime t;
    t.year = 2024;
    t.month = 2;
    t.day = 29;
    t.hour = 23;
    t.minute = 59;
    t.second = 58;
    return t;
}

std::vector<RequestCase> allCases()
{
    const unsigned char schedule[8] = {1, 2, 3, 4, 17, 6, 7, 8};
    std::vector<RequestCase> c;

    // Adapter commands.
    c.push_back({"AdpAllInfoParsedObject", "5|3|",
                 [](ParserLists&) -> ParsedObject* { return new AdpAllInfoParsedObject(5, kAdapter); }, noFields<AdpAllInfoParsedObject>(), false});
    c.push_back({"AdpCacheFlushParsedObject", "9|3|",
                 [](ParserLists&) -> ParsedObject* { return new AdpCacheFlushParsedObject(9, kAdapter); }, noFields<AdpCacheFlushParsedObject>(), false});
    c.push_back({"AdpFacDefSetPo", "8|3|",
                 [](ParserLists&) -> ParsedObject* { return new AdpFacDefSetPo(8, kAdapter); }, noFields<AdpFacDefSetPo>(), false});
    c.push_back({"AdpShutDownParsedObject", "67|3|",
                 [](ParserLists&) -> ParsedObject* { return new AdpShutDownParsedObject(67, kAdapter); }, noFields<AdpShutDownParsedObject>(), false});
    c.push_back({"AdpAllInOneLogParsedObject", "105|3|",
                 [](ParserLists&) -> ParsedObject* { return new AdpAllInOneLogParsedObject(105, kAdapter); }, noFields<AdpAllInOneLogParsedObject>(), false});
    c.push_back({"AdpGetPciInfoParsedObject", "120|3|",
                 [](ParserLists&) -> ParsedObject* { return new AdpGetPciInfoParsedObject(120, kAdapter); }, noFields<AdpGetPciInfoParsedObject>(), false});
    c.push_back({"AdpDowngradeParsedObject", "139|3|",
                 [](ParserLists&) -> ParsedObject* { return new AdpDowngradeParsedObject(139, kAdapter); }, noFields<AdpDowngradeParsedObject>(), false});
    c.push_back({"AdpRestartParsedObject", "140|3|",
                 [](ParserLists&) -> ParsedObject* { return new AdpRestartParsedObject(140, kAdapter); }, noFields<AdpRestartParsedObject>(), false});
    c.push_back({"PhyErrCtParsedObject", "77|3|",
                 [](ParserLists&) -> ParsedObject* { return new PhyErrCtParsedObject(77, kAdapter); }, noFields<PhyErrCtParsedObject>(), false});
    c.push_back({"AdpPhyInfoParsedObject", "62|3|6|",
                 [](ParserLists&) -> ParsedObject* { return new AdpPhyInfoParsedObject(62, 6, kAdapter); },
                 fieldsOf<AdpPhyInfoParsedObject>([](Fields& f, AdpPhyInfoParsedObject* r) { f << r->getPhyNumber(); }), false});
    c.push_back({"AdpPhySetLinkSpeedParsedObject", "121|3|5|12|",
                 [](ParserLists&) -> ParsedObject* { return new AdpPhySetLinkSpeedParsedObject(121, 5, 12, kAdapter); },
                 fieldsOf<AdpPhySetLinkSpeedParsedObject>([](Fields& f, AdpPhySetLinkSpeedParsedObject* r) { f << r->getPhyNumber() << r->getLinkSpeed(); }), false});
    c.push_back({"PciLinkSpeedParsedObject", "138|3|3|",
                 [](ParserLists&) -> ParsedObject* { return new PciLinkSpeedParsedObject(138, 3, kAdapter); },
                 fieldsOf<PciLinkSpeedParsedObject>([](Fields& f, PciLinkSpeedParsedObject* r) { f << r->getLinkSpeed(); }), false});
    c.push_back({"CliVersionPo", "126|3|4|",
                 [](ParserLists&) -> ParsedObject* { return new CliVersionPo(126, 4, kAdapter); },
                 fieldsOf<CliVersionPo>([](Fields& f, CliVersionPo* r) { f << r->getVersionKind(); }), false});
    c.push_back({"AppVersionParsedObject", "1|3|\"AdpAllInfo\"|",
                 [](ParserLists&) -> ParsedObject* { return new AppVersionParsedObject(1, string("AdpAllInfo"), kAdapter); },
                 fieldsOf<AppVersionParsedObject>([](Fields& f, AppVersionParsedObject* r) { f << r->getHelpTopic(); }), false});
    c.push_back({"AdpBiosParsedObject", "13|3|421|",
                 [](ParserLists&) -> ParsedObject* { return new AdpBiosParsedObject(13, 0x1a5, kAdapter); },
                 fieldsOf<AdpBiosParsedObject>([](Fields& f, AdpBiosParsedObject* r) { f << r->getAction(); }), false});
    c.push_back({"AdpAutoRbldParsedObject", "7|3|356|",
                 [](ParserLists&) -> ParsedObject* { return new AdpAutoRbldParsedObject(7, 356, kAdapter); },
                 fieldsOf<AdpAutoRbldParsedObject>([](Fields& f, AdpAutoRbldParsedObject* r) { f << r->getAction(); }), false});
    c.push_back({"AdpTTYLogPo", "21|3|4|",
                 [](ParserLists&) -> ParsedObject* { return new AdpTTYLogPo(21, 4, kAdapter); },
                 fieldsOf<AdpTTYLogPo>([](Fields& f, AdpTTYLogPo* r) { f << r->getAction(); }), false});
    c.push_back({"AdpDiagParsedObject", "22|3|3600|",
                 [](ParserLists&) -> ParsedObject* { return new AdpDiagParsedObject(22, 3600u, kAdapter); },
                 fieldsOf<AdpDiagParsedObject>([](Fields& f, AdpDiagParsedObject* r) { f << r->getValue(); }), false});
    c.push_back({"AdpPropertyPo", "11|3|4176|-7|9|70000|11|",
                 [](ParserLists&) -> ParsedObject* { return new AdpPropertyPo(11, 4176, -7, 9, 70000, 11, kAdapter); },
                 fieldsOf<AdpPropertyPo>([](Fields& f, AdpPropertyPo* r) { f << r->getProperty() << r->getValue() << r->getValue2() << r->getValue3() << r->getValue4(); }), false});
    c.push_back({"AdpSettingsPo", "18|3|\"settings.txt\"|1|",
                 [](ParserLists&) -> ParsedObject* { return new AdpSettingsPo(18, string("settings.txt"), 1, kAdapter); },
                 fieldsOf<AdpSettingsPo>([](Fields& f, AdpSettingsPo* r) { f << r->getFileName() << r->getDirection(); }), false});
    c.push_back({"AdpSetVerifyPo", "65|3|\"verify.ini\"|",
                 [](ParserLists&) -> ParsedObject* { return new AdpSetVerifyPo(65, string("verify.ini"), kAdapter); },
                 fieldsOf<AdpSetVerifyPo>([](Fields& f, AdpSetVerifyPo* r) { f << r->getFileName(); }), false});
    c.push_back({"ShowSummaryPo", "10|3|1|\"summary.txt\"|",
                 [](ParserLists&) -> ParsedObject* { return new ShowSummaryPo(10, 1, string("summary.txt"), kAdapter); },
                 fieldsOf<ShowSummaryPo>([](Fields& f, ShowSummaryPo* r) { f << r->fileGiven << r->getFileName(); }), false});
    c.push_back({"AdpFwFlashPo", "60|3|\"fw.rom\"|1|0|1|2|",
                 [](ParserLists&) -> ParsedObject* { return new AdpFwFlashPo(60, string("fw.rom"), 1, 0, 1, kAdapter, 2); },
                 fieldsOf<AdpFwFlashPo>([](Fields& f, AdpFwFlashPo* r) { f << r->getFileName() << r->getFlag1() << r->getFlag2() << r->getFlag3() << r->getFwType(); }), false});
    c.push_back({"AdpTimeParsedObject", "15|3|0|2024|2|29|23|59|58|",
                 [](ParserLists&) -> ParsedObject* { AdpDateTime t = sampleDateTime(); return new AdpTimeParsedObject(15, &t, kAdapter); },
                 fieldsOf<AdpTimeParsedObject>([](Fields& f, AdpTimeParsedObject* r) {
                     AdpDateTime t = {};
                     f << r->getDateTime(&t) << t.year << t.month << t.day << t.hour << t.minute << t.second;
                 }), false});
    // The following-adapter flag is given by the copy sequence, not copied; tested on its own.
    c.push_back({"AdpEventLogPo", "20|3|\"events.log\"|6|48|25|[3 7 3 ]|",
                 [](ParserLists& l) -> ParsedObject* { return new AdpEventLogPo(20, string("events.log"), 6, 0x30, 25, l.lds(), 0, kAdapter); },
                 fieldsOf<AdpEventLogPo>([](Fields& f, AdpEventLogPo* r) { f << r->getFileName() << r->getAction() << r->getClassFilter() << r->getLatestCount() << r->getLdList(); }), false});
    c.push_back({"AdpBbuPo", "64|3|\"bbu.cfg\"|12|64|16|3|5|1|2|3|4|17|6|7|8|",
                 [schedule](ParserLists&) -> ParsedObject* { return new AdpBbuPo(64, string("bbu.cfg"), 12, 0x40, 16, kAdapter, 3, schedule, 5); },
                 fieldsOf<AdpBbuPo>([](Fields& f, AdpBbuPo* r) {
                     f << r->getFileName() << r->getAction() << r->getOffset() << r->getByteCount() << r->getScheduleAction() << r->learnDay;
                     for (int i = 0; i < AdpBbuPo::LEARN_SCHEDULE_SIZE; ++i)
                         f << r->getLearnSchedule()[i];
                 }), false});
    c.push_back({"AdpCCSchedParsedObject", "80|3|2|1|72|124-5-17 22:0:0|[3 7 3 ]|",
                 [](ParserLists& l) -> ParsedObject* { return new AdpCCSchedParsedObject(80, 2, 1, 72, l.startTime(), l.lds(), kAdapter); },
                 fieldsOf<AdpCCSchedParsedObject>([](Fields& f, AdpCCSchedParsedObject* r) { f << r->getAction() << r->getMode() << r->getDelay() << r->getStartTime() << r->getLdList(); }), false});
    c.push_back({"AdpPrParsedObject", "24|3|4660|168|124-5-17 22:0:0|",
                 [](ParserLists& l) -> ParsedObject* { return new AdpPrParsedObject(24, 0x1234, 168, l.startTime(), kAdapter); },
                 fieldsOf<AdpPrParsedObject>([](Fields& f, AdpPrParsedObject* r) { f << r->getAction() << r->getValue() << r->getStartTime(); }), false});
    c.push_back({"AdpBootDriveParsedObject", "14|3|360|9|shared|",
                 [](ParserLists& l) -> ParsedObject* {
                     AdpBootDriveParsedObject* r = new AdpBootDriveParsedObject(14, l.takeSharedList(), 360, kAdapter);
                     r->setLd(9);
                     return r; },
                 fieldsOf<AdpBootDriveParsedObject>([](Fields& f, AdpBootDriveParsedObject* r) { f << r->getAction() << r->getLd() << r->getDriveList(); }), true});
    c.push_back({"DpmStatParsedObject", "122|3|359|607|shared|",
                 [](ParserLists& l) -> ParsedObject* {
                     DpmStatParsedObject* r = new DpmStatParsedObject(122, l.takeSharedList(), 359, kAdapter);
                     r->setStatType(607);
                     return r; },
                 fieldsOf<DpmStatParsedObject>([](Fields& f, DpmStatParsedObject* r) { f << r->getAction() << r->getStatType() << r->getDriveList(); }), true});
    c.push_back({"PerfMonParsedObject", "115|3|2|5|\"perf.csv\"|",
                 [](ParserLists&) -> ParsedObject* { return new PerfMonParsedObject(115, 2, 5, string("perf.csv"), kAdapter); },
                 fieldsOf<PerfMonParsedObject>([](Fields& f, PerfMonParsedObject* r) { f << r->getAction() << r->getInterval() << r->getFileName(); }), false});
    c.push_back({"AdAECPo", "123|3|7|500|1|3735928559|4|\"KWAEC.dat\"|",
                 [](ParserLists&) -> ParsedObject* { return new AdAECPo(123, 7, 500u, 1, 0xDEADBEEFu, 4, string("KWAEC.dat"), kAdapter); },
                 fieldsOf<AdAECPo>([](Fields& f, AdAECPo* r) { f << r->getAction() << r->getValue() << r->getMode() << r->getSecondValue() << r->getOption() << r->getFileName(); }), false});
    c.push_back({"MuxModeParsedObject", "76|3|411|3|3|7|3|255|",
                 [](ParserLists& l) -> ParsedObject* { return new MuxModeParsedObject(76, 411, l.lds(), kAdapter); },
                 fieldsOf<MuxModeParsedObject>([](Fields& f, MuxModeParsedObject* r) {
                     f << r->getMode() << r->getMuxCount();
                     for (unsigned char i = 0; i <= r->getMuxCount(); ++i)
                         f << r->getMux(i);
                 }), false});

    // Configuration and logical-drive commands.
    c.push_back({"CfgDsplyParsedObject", "131|3|",
                 [](ParserLists&) -> ParsedObject* { return new CfgDsplyParsedObject(131, kAdapter); }, noFields<CfgDsplyParsedObject>(), false});
    c.push_back({"FreeSpaceInfoParsedObject", "56|3|",
                 [](ParserLists&) -> ParsedObject* { return new FreeSpaceInfoParsedObject(56, kAdapter); }, noFields<FreeSpaceInfoParsedObject>(), false});
    c.push_back({"LdPdInfoParsedObject", "31|3|",
                 [](ParserLists&) -> ParsedObject* { return new LdPdInfoParsedObject(31, kAdapter); }, noFields<LdPdInfoParsedObject>(), false});
    c.push_back({"ObjNumberParsedObject", "35|3|",
                 [](ParserLists&) -> ParsedObject* { return new ObjNumberParsedObject(35, kAdapter); }, noFields<ObjNumberParsedObject>(), false});
    c.push_back({"LdMakeSecureParsedObject", "92|3|ld[3 7 3 ]|",
                 [](ParserLists& l) -> ParsedObject* { return new LdMakeSecureParsedObject(92, l.lds(), kAdapter); },
                 fieldsOf<LdMakeSecureParsedObject>([](Fields& f, LdMakeSecureParsedObject* r) { f.ldList(r); }), false});
    c.push_back({"LdBBMClearParsedObject", "99|3|ld[3 7 3 ]|",
                 [](ParserLists& l) -> ParsedObject* { return new LdBBMClearParsedObject(99, l.lds(), kAdapter); },
                 fieldsOf<LdBBMClearParsedObject>([](Fields& f, LdBBMClearParsedObject* r) { f.ldList(r); }), false});
    c.push_back({"LdExpansionInfoParsedObject", "106|3|ld[3 7 3 ]|",
                 [](ParserLists& l) -> ParsedObject* { return new LdExpansionInfoParsedObject(106, l.lds(), kAdapter); },
                 fieldsOf<LdExpansionInfoParsedObject>([](Fields& f, LdExpansionInfoParsedObject* r) { f.ldList(r); }), false});
    c.push_back({"LdBbtEntriesParsedObject", "127|3|ld[3 7 3 ]|",
                 [](ParserLists& l) -> ParsedObject* { return new LdBbtEntriesParsedObject(127, l.lds(), kAdapter); },
                 fieldsOf<LdBbtEntriesParsedObject>([](Fields& f, LdBbtEntriesParsedObject* r) { f.ldList(r); }), false});
    c.push_back({"LdInfoParsedObject", "95|3|ld[3 7 3 ]|1|",
                 [](ParserLists& l) -> ParsedObject* { return new LdInfoParsedObject(95, l.lds(), 1, kAdapter); },
                 fieldsOf<LdInfoParsedObject>([](Fields& f, LdInfoParsedObject* r) { f.ldList(r) << r->getForce(); }), false});
    c.push_back({"LdOperationParsedObject", "29|3|ld[3 7 3 ]|353|1|1|",
                 [](ParserLists& l) -> ParsedObject* { return new LdOperationParsedObject(29, l.lds(), 353, 1, 1, kAdapter); },
                 fieldsOf<LdOperationParsedObject>([](Fields& f, LdOperationParsedObject* r) { f.ldList(r) << r->getOperation() << r->full << r->force; }), false});
    c.push_back({"LdPropParsedObject", "34|3|ld[3 7 3 ]|695|1|CacheVD|",
                 [](ParserLists& l) -> ParsedObject* { return new LdPropParsedObject(34, l.lds(), 0x2b7, 1, l.nameText(), kAdapter); },
                 fieldsOf<LdPropParsedObject>([](Fields& f, LdPropParsedObject* r) { f.ldList(r) << r->getProperty() << r->immediate << r->getName(); }), false});
    c.push_back({"LdPowerPolicyParsedObject", "119|3|ld[3 7 3 ]|597|",
                 [](ParserLists& l) -> ParsedObject* { return new LdPowerPolicyParsedObject(119, l.lds(), 597, kAdapter); },
                 fieldsOf<LdPowerPolicyParsedObject>([](Fields& f, LdPowerPolicyParsedObject* r) { f.ldList(r) << r->getPowerSavePolicy(); }), false});
    c.push_back({"LdMirrorParsedObject", "118|3|ld[3 7 3 ]|1|1|",
                 [](ParserLists& l) -> ParsedObject* { return new LdMirrorParsedObject(118, l.lds(), 1, 1, kAdapter); },
                 fieldsOf<LdMirrorParsedObject>([](Fields& f, LdMirrorParsedObject* r) { f.ldList(r) << r->getDataSource() << r->force; }), false});
    c.push_back({"LdExpansionParsedObject", "107|3|ld[3 7 3 ]|40|1|",
                 [](ParserLists& l) -> ParsedObject* { return new LdExpansionParsedObject(107, 40, 1, l.lds(), kAdapter); },
                 fieldsOf<LdExpansionParsedObject>([](Fields& f, LdExpansionParsedObject* r) { f.ldList(r) << r->getPercentage() << r->getDontExpandArray(); }), false});
    c.push_back({"LdDelParsedObject", "112|3|[3 7 3 ]|0|1|",
                 [](ParserLists& l) -> ParsedObject* { return new LdDelParsedObject(112, l.lds(), 0, 1, kAdapter); },
                 fieldsOf<LdDelParsedObject>([](Fields& f, LdDelParsedObject* r) { f << static_cast<const ArrayList<unsigned char>*>(r->ldList) << r->allDrives << r->force; }), false});
    c.push_back({"LdReconstructParsedObject", "32|3|shared|353|362|2|5|1|",
                 [](ParserLists& l) -> ParsedObject* { return new LdReconstructParsedObject(32, l.takeSharedList(), 353, 362, 2, 5, 1, kAdapter); },
                 fieldsOf<LdReconstructParsedObject>([](Fields& f, LdReconstructParsedObject* r) {
                     f << r->getDriveList() << r->getAction() << r->getDriveAction() << r->getLd() << r->getRaidLevel() << r->force;
                 }), true});
    c.push_back({"AdpCfgClrParsedObject", "55|3|1|",
                 [](ParserLists&) -> ParsedObject* { return new AdpCfgClrParsedObject(55, 1, kAdapter); },
                 fieldsOf<AdpCfgClrParsedObject>([](Fields& f, AdpCfgClrParsedObject* r) { f << r->force; }), false});
    c.push_back({"CfgSaveRestorePo", "53|3|\"saved.cfg\"|",
                 [](ParserLists&) -> ParsedObject* { return new CfgSaveRestorePo(53, string("saved.cfg"), kAdapter); },
                 fieldsOf<CfgSaveRestorePo>([](Fields& f, CfgSaveRestorePo* r) { f << r->getFileName(); }), false});
    c.push_back({"ForeignCfgParsedObject", "59|3|350|2|\"Pass phrase 1!\"|2|",
                 [](ParserLists&) -> ParsedObject* {
                     return new ForeignCfgParsedObject(59, 350, 2, string("Pass phrase 1!"), ForeignCfgParsedObject::KEY_PASSPHRASE, kAdapter); },
                 fieldsOf<ForeignCfgParsedObject>([](Fields& f, ForeignCfgParsedObject* r) { f << r->getAction() << r->getForeignConfigNumber() << r->getKeyText() << r->keyKind; }), false});
    auto cfgAddFields = [](Fields& f, CfgAddParsedObject* r) {
        f << r->raidLevel << r->readPolicy << r->writePolicy << r->ioPolicy << r->badBbuPolicy << r->stripSize << r->encryption
          << r->getPowerSavePolicy() << r->force << r->getEnablePi() << r->cache << r->getAfterLd()
          << static_cast<const ArrayList<ArrayList<PdIdListObject*>*>*>(r->getArrayList())
          << static_cast<const ArrayList<unsigned long long*>*>(r->getSizeList())
          << static_cast<const ArrayList<PdIdListObject*>*>(r->getHotSpareList());
    };
    c.push_back({"CfgAddParsedObject", "50|3|10|0|1|1|0|256|2|6|1|1|1|4|{[10:0 10:1 10:2 ]|[11:0 11:1 11:2 ]|}|[2097152 2199023255551 ]|[252:5 65535:9 ]|",
                 [](ParserLists& l) -> ParsedObject* {
                     return new CfgAddParsedObject(50, 10, 1, 1, 0, 1, 1, 0, 256, l.sizes(), l.arrays(), l.pds(), 2, 6, 1, 4, kAdapter); },
                 fieldsOf<CfgAddParsedObject>(cfgAddFields), false});
    c.push_back({"CfgAutoParsedObject", "82|3|6|2|0|1|1|128|3|254|0|1|1|255|(no list)|(no list)|(no list)|1|1|0|1|2|3|",
                 [](ParserLists&) -> ParsedObject* {
                     return new CfgAutoParsedObject(82, 6, 2, 0, 1, 1, 128, 1, 2, 3, 1, 1, 0, 3, 254, 1, 1, kAdapter); },
                 fieldsOf<CfgAutoParsedObject>([cfgAddFields](Fields& f, CfgAutoParsedObject* r) {
                     cfgAddFields(f, r);
                     f << r->getEnclAffinity() << r->getDedicated() << r->getRevertible() << r->getSataOnly() << r->getSpanCount() << r->getHotSpareCount();
                 }), false});
    c.push_back({"CfgSSCDAddParsedObject", "130|3|shared|CacheVD|1|1|3|2|[3 7 3 ]|",
                 [](ParserLists& l) -> ParsedObject* {
                     return new CfgSSCDAddParsedObject(130, l.takeSharedList(), l.nameText(), 1, 1, 3, CfgSSCDAddParsedObject::ASSIGN_REMOVE, l.lds(), kAdapter); },
                 fieldsOf<CfgSSCDAddParsedObject>([](Fields& f, CfgSSCDAddParsedObject* r) {
                     f << r->getDriveList() << r->getName() << r->getEnablePi() << r->getRaidLevel() << r->getWritePolicy() << r->assignAction
                       << static_cast<const ArrayList<unsigned char>*>(r->getLdList());
                 }), true});
    c.push_back({"TidexCmdParsedObject", "137|0|11|8|[sdb sdc ]|1|1|0|2|0|",
                 [](ParserLists& l) -> ParsedObject* { return new TidexCmdParsedObject(137, 11, 8, l.names(), 1, 1, 0, 2, 0); },
                 fieldsOf<TidexCmdParsedObject>([](Fields& f, TidexCmdParsedObject* r) {
                     f << r->getObjectKind() << r->getAction() << static_cast<const ArrayList<string*>*>(r->getNameList()) << r->getConfigured() << r->getForce()
                       << r->getAllIndices() << r->getIndex() << r->getCardInfo();
                 }), false});

    // Physical-drive, enclosure and security commands.
    c.push_back({"PdListParsedObject", "94|3|",
                 [](ParserLists&) -> ParsedObject* { return new PdListParsedObject(94, kAdapter); }, noFields<PdListParsedObject>(), false});
    c.push_back({"EncInfoParsedObject", "113|3|",
                 [](ParserLists&) -> ParsedObject* { return new EncInfoParsedObject(113, kAdapter); }, noFields<EncInfoParsedObject>(), false});
    c.push_back({"PdInfoParsedObject", "37|3|shared|",
                 [](ParserLists& l) -> ParsedObject* { return new PdInfoParsedObject(37, l.takeSharedList(), kAdapter); },
                 fieldsOf<PdInfoParsedObject>([](Fields& f, PdInfoParsedObject* r) { f << r->getDriveList(); }), true});
    c.push_back({"PdReplaceMissingParsedObject", "44|3|shared|2|1|",
                 [](ParserLists& l) -> ParsedObject* { return new PdReplaceMissingParsedObject(44, l.takeSharedList(), 2, 1, kAdapter); },
                 fieldsOf<PdReplaceMissingParsedObject>([](Fields& f, PdReplaceMissingParsedObject* r) { f << r->getDriveList() << r->getArrayNumber() << r->getRowNumber(); }), true});
    c.push_back({"PdOffLineParsedObject", "66|3|shared|1|",
                 [](ParserLists& l) -> ParsedObject* { return new PdOffLineParsedObject(66, l.takeSharedList(), 1, kAdapter); },
                 fieldsOf<PdOffLineParsedObject>([](Fields& f, PdOffLineParsedObject* r) { f << r->getDriveList() << r->force; }), true});
    c.push_back({"PdClrParsedObject", "41|3|shared|3|",
                 [](ParserLists& l) -> ParsedObject* { return new PdClrParsedObject(41, l.takeSharedList(), 3, kAdapter); },
                 fieldsOf<PdClrParsedObject>([](Fields& f, PdClrParsedObject* r) { f << r->getDriveList() << r->action; }), true});
    c.push_back({"PdPrpRmvParsedObject", "46|3|shared|1|",
                 [](ParserLists& l) -> ParsedObject* { return new PdPrpRmvParsedObject(46, l.takeSharedList(), 1, kAdapter); },
                 fieldsOf<PdPrpRmvParsedObject>([](Fields& f, PdPrpRmvParsedObject* r) { f << r->getDriveList() << r->undo; }), true});
    c.push_back({"PdReprovisionParsedObject", "110|3|shared|1|",
                 [](ParserLists& l) -> ParsedObject* { return new PdReprovisionParsedObject(110, l.takeSharedList(), 1, kAdapter); },
                 fieldsOf<PdReprovisionParsedObject>([](Fields& f, PdReprovisionParsedObject* r) { f << r->getDriveList() << r->force; }), true});
    c.push_back({"PdOnLineParsedObject", "39|3|[252:5 65535:9 ]|3|1|",
                 [](ParserLists& l) -> ParsedObject* {
                     return new PdOnLineParsedObject(39, l.pds(), PdOnLineParsedObject::OPERATION_LOCATE, 1, kAdapter); },
                 fieldsOf<PdOnLineParsedObject>([](Fields& f, PdOnLineParsedObject* r) {
                     f << static_cast<const ArrayList<PdIdListObject*>*>(r->driveList) << r->getOperation() << r->getStop(); }), false});
    c.push_back({"PdRebuildParsedObject", "40|3|[252:5 65535:9 ]|627|",
                 [](ParserLists& l) -> ParsedObject* { return new PdRebuildParsedObject(40, l.pds(), 627, kAdapter); },
                 fieldsOf<PdRebuildParsedObject>([](Fields& f, PdRebuildParsedObject* r) {
                     f << static_cast<const ArrayList<PdIdListObject*>*>(r->driveList) << r->getAction(); }), false});
    c.push_back({"PdCopyBackParsedObject", "81|3|[252:5 65535:9 ]|628|",
                 [](ParserLists& l) -> ParsedObject* { return new PdCopyBackParsedObject(81, l.pds(), 628, kAdapter); },
                 fieldsOf<PdCopyBackParsedObject>([](Fields& f, PdCopyBackParsedObject* r) {
                     f << static_cast<const ArrayList<PdIdListObject*>*>(r->driveList) << r->getAction(); }), false});
    c.push_back({"PdHspParsedObject", "47|3|[252:5 65535:9 ]|[0 2 ]|1|1|0|1|",
                 [](ParserLists& l) -> ParsedObject* { return new PdHspParsedObject(47, l.pds(), l.arrayNumbers(), 1, 1, 0, 1u, kAdapter); },
                 fieldsOf<PdHspParsedObject>([](Fields& f, PdHspParsedObject* r) {
                     f << static_cast<const ArrayList<PdIdListObject*>*>(r->driveList) << static_cast<const ArrayList<unsigned char*>*>(r->arrayNumbers)
                       << r->enclAffinity << r->dedicated << r->revertible << r->set;
                 }), false});
    c.push_back({"PdMappingParsedObject", "79|3|356|",
                 [](ParserLists&) -> ParsedObject* { return new PdMappingParsedObject(79, 356, kAdapter); },
                 fieldsOf<PdMappingParsedObject>([](Fields& f, PdMappingParsedObject* r) { f << r->getAction(); }), false});
    c.push_back({"PdFwDownloadPo", "73|3|1|1|shared|\"drive.fw\"|5|1|",
                 [](ParserLists& l) -> ParsedObject* { return new PdFwDownloadPo(73, 1, 1, l.takeSharedList(), string("drive.fw"), 5u, 1, kAdapter); },
                 fieldsOf<PdFwDownloadPo>([](Fields& f, PdFwDownloadPo* r) {
                     f << r->getForceActivate() << r->getSataBridge() << r->getDeviceList() << r->getFileName() << r->getMode() << r->getEncDevId();
                 }), true});
    c.push_back({"SecureErasePo", "124|3|ld[3 7 3 ]|353|shared|618|129|126|1|",
                 [](ParserLists& l) -> ParsedObject* { return new SecureErasePo(124, l.lds(), 353, l.takeSharedList(), 618, 0x81, 0x7E, 1, kAdapter); },
                 fieldsOf<SecureErasePo>([](Fields& f, SecureErasePo* r) {
                     f.ldList(r) << r->getAction() << r->getDriveList() << r->getEraseType() << r->getPattern1() << r->getPattern2() << r->deleteVd;
                 }), true});
    c.push_back({"AdPdKeyIDGetSetParsedObject", "91|3|shared|\"Key-ID 7\"|",
                 [](ParserLists& l) -> ParsedObject* { return new AdPdKeyIDGetSetParsedObject(91, l.takeSharedList(), string("Key-ID 7"), kAdapter); },
                 fieldsOf<AdPdKeyIDGetSetParsedObject>([](Fields& f, AdPdKeyIDGetSetParsedObject* r) { f << r->getDriveList() << r->getKeyId(); }), true});
    c.push_back({"LockKeyParsedObject", "88|3|\"NewKey#1\"|\"new phrase\"|\"kid\"|1|\"OldPhrase\"|1|",
                 [](ParserLists&) -> ParsedObject* {
                     return new LockKeyParsedObject(88, string("NewKey#1"), string("new phrase"), string("kid"), 1, kAdapter, string("OldPhrase"), 1); },
                 fieldsOf<LockKeyParsedObject>([](Fields& f, LockKeyParsedObject* r) {
                     f << r->getSecurityKey() << r->getPassphrase() << r->getKeyId() << r->useExternalKeyManagement << r->getOldSecurityKey() << r->oldIsPassphrase;
                 }), false});
    c.push_back({"DestroyLockKeyParsedObject", "87|3|1|1|",
                 [](ParserLists&) -> ParsedObject* { return new DestroyLockKeyParsedObject(87, 1, 1, kAdapter); },
                 fieldsOf<DestroyLockKeyParsedObject>([](Fields& f, DestroyLockKeyParsedObject* r) { f << r->force << r->deleteWord; }), false});
    return c;
}

std::string describe(const RequestCase& rc, ParsedObject* r)
{
    Fields base;
    base << r->getCommandToken() << r->getAdapterNumber();
    return base.str() + rc.fields(r);
}

// A description with the shared list's address left out, to compare with a case's literal.
std::string withoutAddresses(std::string text)
{
    const std::string mark = "shared@";
    for (size_t at = text.find(mark); at != std::string::npos; at = text.find(mark, at)) {
        size_t end = text.find('|', at);
        text.erase(at + mark.size() - 1, end - (at + mark.size() - 1));
        at += mark.size() - 1;
    }
    return text;
}

// A case's literal for the copy renumbered to `adapter`.
std::string expectedFor(const RequestCase& rc, unsigned adapter)
{
    std::string text = rc.expected;
    size_t token = text.find('|');
    size_t fields = text.find('|', token + 1);
    return text.substr(0, token + 1) + std::to_string(adapter) + text.substr(fields);
}

class CloneContract : public ::testing::TestWithParam<RequestCase> {
protected:
    void SetUp() override
    {
        CountedEnclSlotId::destroyed = 0;
        CountedDriveList::destroyed = 0;
        usersBefore = sharedDriveListUsers;
        AdpEventLogPo::restartCloneSequence();
    }

    // The shared list is freed (entries first) exactly when no holder is left, and only then.
    void expectSharedListFreed(bool freed)
    {
        if (!GetParam().takesSharedList) {
            EXPECT_EQ(CountedDriveList::destroyed, 0);
            return;
        }
        EXPECT_EQ(CountedEnclSlotId::destroyed, freed ? 2 : 0);
        EXPECT_EQ(CountedDriveList::destroyed, freed ? 1 : 0);
    }

    unsigned int usersBefore = 0;
};

TEST_P(CloneContract, CopyCarriesEveryFieldAndOutlivesItsSource)
{
    const RequestCase& rc = GetParam();
    ParserLists lists;
    ParsedObject* source = rc.make(lists);
    // The literal fixes the values; the full description also holds the shared list's address.
    std::string expected = describe(rc, source);
    ASSERT_EQ(withoutAddresses(expected), rc.expected) << "the request keeps what its constructor was given";
    lists.release();  // the parser's own lists go before any copy is made

    EXPECT_EQ(describe(rc, source), expected) << "the request must not read the parser's lists";
    ParsedObject* copy = source->clone();
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(typeid(*copy), typeid(*source));
    EXPECT_NE(copy, source);
    EXPECT_EQ(describe(rc, copy), expected);

    delete source;
    expectSharedListFreed(false);
    EXPECT_EQ(describe(rc, copy), expected);
    delete copy;
    expectSharedListFreed(true);
    EXPECT_EQ(sharedDriveListUsers, usersBefore);
}

TEST_P(CloneContract, SourceOutlivesItsCopy)
{
    const RequestCase& rc = GetParam();
    ParserLists lists;
    ParsedObject* source = rc.make(lists);
    std::string expected = describe(rc, source);
    ASSERT_EQ(withoutAddresses(expected), rc.expected);
    ParsedObject* copy = source->clone();
    ASSERT_NE(copy, nullptr);

    delete copy;
    expectSharedListFreed(false);
    lists.release();
    EXPECT_EQ(describe(rc, source), expected);
    delete source;
    expectSharedListFreed(true);
    EXPECT_EQ(sharedDriveListUsers, usersBefore);
}

// The dispatcher's use: clone per controller, renumber, delete the source, run the copies.
TEST_P(CloneContract, ThreeControllerCopiesAfterTheSourceIsGone)
{
    const RequestCase& rc = GetParam();
    ParserLists lists;
    ParsedObject* source = rc.make(lists);
    source->setAdapterNumber(ALL_ADAPTERS);
    const std::string sharedListOfSource = rc.fields(source);   // the list's address, for identity

    ParsedObject* copies[3];
    for (unsigned char a = 0; a < 3; ++a) {
        copies[a] = source->clone();
        ASSERT_NE(copies[a], nullptr);
        EXPECT_EQ(copies[a]->getAdapterNumber(), ALL_ADAPTERS);
        copies[a]->setAdapterNumber(a);
    }
    delete source;
    lists.release();
    expectSharedListFreed(false);

    for (unsigned char a = 0; a < 3; ++a) {
        EXPECT_EQ(withoutAddresses(describe(rc, copies[a])), expectedFor(rc, a));
        EXPECT_EQ(rc.fields(copies[a]), sharedListOfSource) << "every copy holds the parser's very drive list";
    }
    delete copies[1];
    delete copies[0];
    expectSharedListFreed(false);
    delete copies[2];
    expectSharedListFreed(true);
    EXPECT_EQ(sharedDriveListUsers, usersBefore);
}

INSTANTIATE_TEST_SUITE_P(EveryRequest, CloneContract, ::testing::ValuesIn(allCases()),
                         [](const ::testing::TestParamInfo<RequestCase>& info) { return std::string(info.param.name); });

// The controller count never runs per controller: its request clones to null.
TEST(NullCloningRequests, AdapterCountClonesToNull)
{
    AdpCountParsedObject count(6);
    EXPECT_EQ(count.getAdapterNumber(), NO_ADAPTER);
    EXPECT_EQ(count.getCommandToken(), 6);
    EXPECT_EQ(count.clone(), nullptr);
}

} // namespace
