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
    c.push_back({"AdpAllInfoParsedObject", [](ParserLists&) -> ParsedObject* { return new AdpAllInfoParsedObject(5, kAdapter); }, noFields<AdpAllInfoParsedObject>(), false});
    c.push_back({"AdpCacheFlushParsedObject", [](ParserLists&) -> ParsedObject* { return new AdpCacheFlushParsedObject(9, kAdapter); }, noFields<AdpCacheFlushParsedObject>(), false});
    c.push_back({"AdpFacDefSetPo", [](ParserLists&) -> ParsedObject* { return new AdpFacDefSetPo(8, kAdapter); }, noFields<AdpFacDefSetPo>(), false});
    c.push_back({"AdpShutDownParsedObject", [](ParserLists&) -> ParsedObject* { return new AdpShutDownParsedObject(67, kAdapter); }, noFields<AdpShutDownParsedObject>(), false});
    c.push_back({"AdpAllInOneLogParsedObject", [](ParserLists&) -> ParsedObject* { return new AdpAllInOneLogParsedObject(105, kAdapter); }, noFields<AdpAllInOneLogParsedObject>(), false});
    c.push_back({"AdpGetPciInfoParsedObject", [](ParserLists&) -> ParsedObject* { return new AdpGetPciInfoParsedObject(120, kAdapter); }, noFields<AdpGetPciInfoParsedObject>(), false});
    c.push_back({"AdpDowngradeParsedObject", [](ParserLists&) -> ParsedObject* { return new AdpDowngradeParsedObject(139, kAdapter); }, noFields<AdpDowngradeParsedObject>(), false});
    c.push_back({"AdpRestartParsedObject", [](ParserLists&) -> ParsedObject* { return new AdpRestartParsedObject(140, kAdapter); }, noFields<AdpRestartParsedObject>(), false});
    c.push_back({"PhyErrCtParsedObject", [](ParserLists&) -> ParsedObject* { return new PhyErrCtParsedObject(77, kAdapter); }, noFields<PhyErrCtParsedObject>(), false});
    c.push_back({"AdpPhyInfoParsedObject", [](ParserLists&) -> ParsedObject* { return new AdpPhyInfoParsedObject(62, 6, kAdapter); },
                 fieldsOf<AdpPhyInfoParsedObject>([](Fields& f, AdpPhyInfoParsedObject* r) { f << r->getPhyNumber(); }), false});
    c.push_back({"AdpPhySetLinkSpeedParsedObject", [](ParserLists&) -> ParsedObject* { return new AdpPhySetLinkSpeedParsedObject(121, 5, 12, kAdapter); },
                 fieldsOf<AdpPhySetLinkSpeedParsedObject>([](Fields& f, AdpPhySetLinkSpeedParsedObject* r) { f << r->getPhyNumber() << r->getLinkSpeed(); }), false});
    c.push_back({"PciLinkSpeedParsedObject", [](ParserLists&) -> ParsedObject* { return new PciLinkSpeedParsedObject(138, 3, kAdapter); },
                 fieldsOf<PciLinkSpeedParsedObject>([](Fields& f, PciLinkSpeedParsedObject* r) { f << r->getLinkSpeed(); }), false});
    c.push_back({"CliVersionPo", [](ParserLists&) -> ParsedObject* { return new CliVersionPo(126, 4, kAdapter); },
                 fieldsOf<CliVersionPo>([](Fields& f, CliVersionPo* r) { f << r->getVersionKind(); }), false});
    c.push_back({"AdpBiosParsedObject", [](ParserLists&) -> ParsedObject* { return new AdpBiosParsedObject(13, 0x1a5, kAdapter); },
                 fieldsOf<AdpBiosParsedObject>([](Fields& f, AdpBiosParsedObject* r) { f << r->getAction(); }), false});
    c.push_back({"AdpAutoRbldParsedObject", [](ParserLists&) -> ParsedObject* { return new AdpAutoRbldParsedObject(7, 356, kAdapter); },
                 fieldsOf<AdpAutoRbldParsedObject>([](Fields& f, AdpAutoRbldParsedObject* r) { f << r->getAction(); }), false});
    c.push_back({"AdpTTYLogPo", [](ParserLists&) -> ParsedObject* { return new AdpTTYLogPo(21, 4, kAdapter); },
                 fieldsOf<AdpTTYLogPo>([](Fields& f, AdpTTYLogPo* r) { f << r->getAction(); }), false});
    c.push_back({"AdpDiagParsedObject", [](ParserLists&) -> ParsedObject* { return new AdpDiagParsedObject(22, 3600u, kAdapter); },
                 fieldsOf<AdpDiagParsedObject>([](Fields& f, AdpDiagParsedObject* r) { f << r->getValue(); }), false});
    c.push_back({"AdpPropertyPo", [](ParserLists&) -> ParsedObject* { return new AdpPropertyPo(11, 4176, -7, 9, 70000, 11, kAdapter); },
                 fieldsOf<AdpPropertyPo>([](Fields& f, AdpPropertyPo* r) { f << r->getProperty() << r->getValue() << r->getValue2() << r->getValue3() << r->getValue4(); }), false});
    c.push_back({"AdpSettingsPo", [](ParserLists&) -> ParsedObject* { return new AdpSettingsPo(18, string("settings.txt"), 1, kAdapter); },
                 fieldsOf<AdpSettingsPo>([](Fields& f, AdpSettingsPo* r) { f << r->getFileName() << r->getDirection(); }), false});
    c.push_back({"AdpSetVerifyPo", [](ParserLists&) -> ParsedObject* { return new AdpSetVerifyPo(65, string("verify.ini"), kAdapter); },
                 fieldsOf<AdpSetVerifyPo>([](Fields& f, AdpSetVerifyPo* r) { f << r->getFileName(); }), false});
    c.push_back({"ShowSummaryPo", [](ParserLists&) -> ParsedObject* { return new ShowSummaryPo(10, 1, string("summary.txt"), kAdapter); },
                 fieldsOf<ShowSummaryPo>([](Fields& f, ShowSummaryPo* r) { f << r->fileGiven << r->getFileName(); }), false});
    c.push_back({"AdpFwFlashPo", [](ParserLists&) -> ParsedObject* { return new AdpFwFlashPo(60, string("fw.rom"), 1, 0, 1, kAdapter, 2); },
                 fieldsOf<AdpFwFlashPo>([](Fields& f, AdpFwFlashPo* r) { f << r->getFileName() << r->getFlag1() << r->getFlag2() << r->getFlag3() << r->getFwType(); }), false});
    c.push_back({"AdpTimeParsedObject", [](ParserLists&) -> ParsedObject* { AdpDateTime t = sampleDateTime(); return new AdpTimeParsedObject(15, &t, kAdapter); },
                 fieldsOf<AdpTimeParsedObject>([](Fields& f, AdpTimeParsedObject* r) {
                     AdpDateTime t = {};
                     f << r->getDateTime(&t) << t.year << t.month << t.day << t.hour << t.minute << t.second;
                 }), false});
    // The following-adapter flag is given by the copy sequence, not copied; tested on its own.
    c.push_back({"AdpEventLogPo", [](ParserLists& l) -> ParsedObject* { return new AdpEventLogPo(20, string("events.log"), 6, 0x30, 25, l.lds(), 0, kAdapter); },
                 fieldsOf<AdpEventLogPo>([](Fields& f, AdpEventLogPo* r) { f << r->getFileName() << r->getAction() << r->getClassFilter() << r->getLatestCount() << r->getLdList(); }), false});
    c.push_back({"AdpBbuPo", [schedule](ParserLists&) -> ParsedObject* { return new AdpBbuPo(64, string("bbu.cfg"), 12, 0x40, 16, kAdapter, 3, schedule, 5); },
                 fieldsOf<AdpBbuPo>([](Fields& f, AdpBbuPo* r) {
                     f << r->getFileName() << r->getAction() << r->getOffset() << r->getByteCount() << r->getScheduleAction() << r->learnDay;
                     for (int i = 0; i < AdpBbuPo::LEARN_SCHEDULE_SIZE; ++i)
                         f << r->getLearnSchedule()[i];
                 }), false});
    c.push_back({"AdpCCSchedParsedObject", [](ParserLists& l) -> ParsedObject* { return new AdpCCSchedParsedObject(80, 2, 1, 72, l.startTime(), l.lds(), kAdapter); },
                 fieldsOf<AdpCCSchedParsedObject>([](Fields& f, AdpCCSchedParsedObject* r) { f << r->getAction() << r->getMode() << r->getDelay() << r->getStartTime() << r->getLdList(); }), false});
    c.push_back({"AdpPrParsedObject", [](ParserLists& l) -> ParsedObject* { return new AdpPrParsedObject(24, 0x1234, 168, l.startTime(), kAdapter); },
                 fieldsOf<AdpPrParsedObject>([](Fields& f, AdpPrParsedObject* r) { f << r->getAction() << r->getValue() << r->getStartTime(); }), false});
    c.push_back({"AdpBootDriveParsedObject", [](ParserLists& l) -> ParsedObject* {
                     AdpBootDriveParsedObject* r = new AdpBootDriveParsedObject(14, l.takeSharedList(), 360, kAdapter);
                     r->setLd(9);
                     return r; },
                 fieldsOf<AdpBootDriveParsedObject>([](Fields& f, AdpBootDriveParsedObject* r) { f << r->getAction() << r->getLd() << r->getDriveList(); }), true});
    c.push_back({"DpmStatParsedObject", [](ParserLists& l) -> ParsedObject* {
                     DpmStatParsedObject* r = new DpmStatParsedObject(122, l.takeSharedList(), 359, kAdapter);
                     r->setStatType(607);
                     return r; },
                 fieldsOf<DpmStatParsedObject>([](Fields& f, DpmStatParsedObject* r) { f << r->getAction() << r->getStatType() << r->getDriveList(); }), true});
    c.push_back({"PerfMonParsedObject", [](ParserLists&) -> ParsedObject* { return new PerfMonParsedObject(115, 2, 5, string("perf.csv"), kAdapter); },
                 fieldsOf<PerfMonParsedObject>([](Fields& f, PerfMonParsedObject* r) { f << r->getAction() << r->getInterval() << r->getFileName(); }), false});
    c.push_back({"AdAECPo", [](ParserLists&) -> ParsedObject* { return new AdAECPo(123, 7, 500u, 1, 0xDEADBEEFu, 4, string("KWAEC.dat"), kAdapter); },
                 fieldsOf<AdAECPo>([](Fields& f, AdAECPo* r) { f << r->getAction() << r->getValue() << r->getMode() << r->getSecondValue() << r->getOption() << r->getFileName(); }), false});
    c.push_back({"MuxModeParsedObject", [](ParserLists& l) -> ParsedObject* { return new MuxModeParsedObject(76, 411, l.lds(), kAdapter); },
                 fieldsOf<MuxModeParsedObject>([](Fields& f, MuxModeParsedObject* r) {
                     f << r->getMode() << r->getMuxCount();
                     for (unsigned char i = 0; i <= r->getMuxCount(); ++i)
                         f << r->getMux(i);
                 }), false});

    // Configuration and logical-drive commands.
    c.push_back({"CfgDsplyParsedObject", [](ParserLists&) -> ParsedObject* { return new CfgDsplyParsedObject(131, kAdapter); }, noFields<CfgDsplyParsedObject>(), false});
    c.push_back({"FreeSpaceInfoParsedObject", [](ParserLists&) -> ParsedObject* { return new FreeSpaceInfoParsedObject(56, kAdapter); }, noFields<FreeSpaceInfoParsedObject>(), false});
    c.push_back({"LdPdInfoParsedObject", [](ParserLists&) -> ParsedObject* { return new LdPdInfoParsedObject(31, kAdapter); }, noFields<LdPdInfoParsedObject>(), false});
    c.push_back({"ObjNumberParsedObject", [](ParserLists&) -> ParsedObject* { return new ObjNumberParsedObject(35, kAdapter); }, noFields<ObjNumberParsedObject>(), false});
    c.push_back({"LdMakeSecureParsedObject", [](ParserLists& l) -> ParsedObject* { return new LdMakeSecureParsedObject(92, l.lds(), kAdapter); },
                 fieldsOf<LdMakeSecureParsedObject>([](Fields& f, LdMakeSecureParsedObject* r) { f.ldList(r); }), false});
    c.push_back({"LdBBMClearParsedObject", [](ParserLists& l) -> ParsedObject* { return new LdBBMClearParsedObject(99, l.lds(), kAdapter); },
                 fieldsOf<LdBBMClearParsedObject>([](Fields& f, LdBBMClearParsedObject* r) { f.ldList(r); }), false});
    c.push_back({"LdExpansionInfoParsedObject", [](ParserLists& l) -> ParsedObject* { return new LdExpansionInfoParsedObject(106, l.lds(), kAdapter); },
                 fieldsOf<LdExpansionInfoParsedObject>([](Fields& f, LdExpansionInfoParsedObject* r) { f.ldList(r); }), false});
    c.push_back({"LdBbtEntriesParsedObject", [](ParserLists& l) -> ParsedObject* { return new LdBbtEntriesParsedObject(127, l.lds(), kAdapter); },
                 fieldsOf<LdBbtEntriesParsedObject>([](Fields& f, LdBbtEntriesParsedObject* r) { f.ldList(r); }), false});
    c.push_back({"LdInfoParsedObject", [](ParserLists& l) -> ParsedObject* { return new LdInfoParsedObject(95, l.lds(), 1, kAdapter); },
                 fieldsOf<LdInfoParsedObject>([](Fields& f, LdInfoParsedObject* r) { f.ldList(r) << r->getForce(); }), false});
    c.push_back({"LdOperationParsedObject", [](ParserLists& l) -> ParsedObject* { return new LdOperationParsedObject(29, l.lds(), 353, 1, 1, kAdapter); },
                 fieldsOf<LdOperationParsedObject>([](Fields& f, LdOperationParsedObject* r) { f.ldList(r) << r->getOperation() << r->full << r->force; }), false});
    c.push_back({"LdPropParsedObject", [](ParserLists& l) -> ParsedObject* { return new LdPropParsedObject(34, l.lds(), 0x2b7, 1, l.nameText(), kAdapter); },
                 fieldsOf<LdPropParsedObject>([](Fields& f, LdPropParsedObject* r) { f.ldList(r) << r->getProperty() << r->immediate << r->getName(); }), false});
    c.push_back({"LdPowerPolicyParsedObject", [](ParserLists& l) -> ParsedObject* { return new LdPowerPolicyParsedObject(119, l.lds(), 597, kAdapter); },
                 fieldsOf<LdPowerPolicyParsedObject>([](Fields& f, LdPowerPolicyParsedObject* r) { f.ldList(r) << r->getPowerSavePolicy(); }), false});
    c.push_back({"LdMirrorParsedObject", [](ParserLists& l) -> ParsedObject* { return new LdMirrorParsedObject(118, l.lds(), 1, 1, kAdapter); },
                 fieldsOf<LdMirrorParsedObject>([](Fields& f, LdMirrorParsedObject* r) { f.ldList(r) << r->getDataSource() << r->force; }), false});
    c.push_back({"LdExpansionParsedObject", [](ParserLists& l) -> ParsedObject* { return new LdExpansionParsedObject(107, 40, 1, l.lds(), kAdapter); },
                 fieldsOf<LdExpansionParsedObject>([](Fields& f, LdExpansionParsedObject* r) { f.ldList(r) << r->getPercentage() << r->getDontExpandArray(); }), false});
    c.push_back({"LdDelParsedObject", [](ParserLists& l) -> ParsedObject* { return new LdDelParsedObject(112, l.lds(), 0, 1, kAdapter); },
                 fieldsOf<LdDelParsedObject>([](Fields& f, LdDelParsedObject* r) { f << static_cast<const ArrayList<unsigned char>*>(r->ldList) << r->allDrives << r->force; }), false});
    c.push_back({"LdReconstructParsedObject", [](ParserLists& l) -> ParsedObject* { return new LdReconstructParsedObject(32, l.takeSharedList(), 353, 362, 2, 5, 1, kAdapter); },
                 fieldsOf<LdReconstructParsedObject>([](Fields& f, LdReconstructParsedObject* r) {
                     f << r->getDriveList() << r->getAction() << r->getDriveAction() << r->getLd() << r->getRaidLevel() << r->force;
                 }), true});
    c.push_back({"AdpCfgClrParsedObject", [](ParserLists&) -> ParsedObject* { return new AdpCfgClrParsedObject(55, 1, kAdapter); },
                 fieldsOf<AdpCfgClrParsedObject>([](Fields& f, AdpCfgClrParsedObject* r) { f << r->force; }), false});
    c.push_back({"CfgSaveRestorePo", [](ParserLists&) -> ParsedObject* { return new CfgSaveRestorePo(53, string("saved.cfg"), kAdapter); },
                 fieldsOf<CfgSaveRestorePo>([](Fields& f, CfgSaveRestorePo* r) { f << r->getFileName(); }), false});
    c.push_back({"ForeignCfgParsedObject", [](ParserLists&) -> ParsedObject* {
                     return new ForeignCfgParsedObject(59, 350, 2, string("Pass phrase 1!"), ForeignCfgParsedObject::KEY_PASSPHRASE, kAdapter); },
                 fieldsOf<ForeignCfgParsedObject>([](Fields& f, ForeignCfgParsedObject* r) { f << r->getAction() << r->getForeignConfigNumber() << r->getKeyText() << r->keyKind; }), false});
    auto cfgAddFields = [](Fields& f, CfgAddParsedObject* r) {
        f << r->raidLevel << r->readPolicy << r->writePolicy << r->ioPolicy << r->badBbuPolicy << r->stripSize << r->encryption
          << r->getPowerSavePolicy() << r->force << r->getEnablePi() << r->cache << r->getAfterLd()
          << static_cast<const ArrayList<ArrayList<PdIdListObject*>*>*>(r->getArrayList())
          << static_cast<const ArrayList<unsigned long long*>*>(r->getSizeList())
          << static_cast<const ArrayList<PdIdListObject*>*>(r->getHotSpareList());
    };
    c.push_back({"CfgAddParsedObject", [](ParserLists& l) -> ParsedObject* {
                     return new CfgAddParsedObject(50, 10, 1, 1, 0, 1, 1, 0, 256, l.sizes(), l.arrays(), l.pds(), 2, 6, 1, 4, kAdapter); },
                 fieldsOf<CfgAddParsedObject>(cfgAddFields), false});
    c.push_back({"CfgAutoParsedObject", [](ParserLists&) -> ParsedObject* {
                     return new CfgAutoParsedObject(82, 6, 2, 0, 1, 1, 128, 1, 2, 3, 1, 1, 0, 3, 254, 1, 1, kAdapter); },
                 fieldsOf<CfgAutoParsedObject>([cfgAddFields](Fields& f, CfgAutoParsedObject* r) {
                     cfgAddFields(f, r);
                     f << r->getEnclAffinity() << r->getDedicated() << r->getRevertible() << r->getSataOnly() << r->getSpanCount() << r->getHotSpareCount();
                 }), false});
    c.push_back({"CfgSSCDAddParsedObject", [](ParserLists& l) -> ParsedObject* {
                     return new CfgSSCDAddParsedObject(130, l.takeSharedList(), l.nameText(), 1, 1, 3, CfgSSCDAddParsedObject::ASSIGN_REMOVE, l.lds(), kAdapter); },
                 fieldsOf<CfgSSCDAddParsedObject>([](Fields& f, CfgSSCDAddParsedObject* r) {
                     f << r->getDriveList() << r->getName() << r->getEnablePi() << r->getRaidLevel() << r->getWritePolicy() << r->assignAction
                       << static_cast<const ArrayList<unsigned char>*>(r->getLdList());
                 }), true});
    c.push_back({"TidexCmdParsedObject", [](ParserLists& l) -> ParsedObject* { return new TidexCmdParsedObject(137, 11, 8, l.names(), 1, 1, 0, 2, 0); },
                 fieldsOf<TidexCmdParsedObject>([](Fields& f, TidexCmdParsedObject* r) {
                     f << r->getObjectKind() << r->getAction() << static_cast<const ArrayList<string*>*>(r->getNameList()) << r->getConfigured() << r->getForce()
                       << r->getAllIndices() << r->getIndex() << r->getCardInfo();
                 }), false});

    // Physical-drive, enclosure and security commands.
    c.push_back({"PdListParsedObject", [](ParserLists&) -> ParsedObject* { return new PdListParsedObject(94, kAdapter); }, noFields<PdListParsedObject>(), false});
    c.push_back({"EncInfoParsedObject", [](ParserLists&) -> ParsedObject* { return new EncInfoParsedObject(113, kAdapter); }, noFields<EncInfoParsedObject>(), false});
    c.push_back({"PdInfoParsedObject", [](ParserLists& l) -> ParsedObject* { return new PdInfoParsedObject(37, l.takeSharedList(), kAdapter); },
                 fieldsOf<PdInfoParsedObject>([](Fields& f, PdInfoParsedObject* r) { f << r->getDriveList(); }), true});
    c.push_back({"PdReplaceMissingParsedObject", [](ParserLists& l) -> ParsedObject* { return new PdReplaceMissingParsedObject(44, l.takeSharedList(), 2, 1, kAdapter); },
                 fieldsOf<PdReplaceMissingParsedObject>([](Fields& f, PdReplaceMissingParsedObject* r) { f << r->getDriveList() << r->getArrayNumber() << r->getRowNumber(); }), true});
    c.push_back({"PdOffLineParsedObject", [](ParserLists& l) -> ParsedObject* { return new PdOffLineParsedObject(66, l.takeSharedList(), 1, kAdapter); },
                 fieldsOf<PdOffLineParsedObject>([](Fields& f, PdOffLineParsedObject* r) { f << r->getDriveList() << r->force; }), true});
    c.push_back({"PdClrParsedObject", [](ParserLists& l) -> ParsedObject* { return new PdClrParsedObject(41, l.takeSharedList(), 3, kAdapter); },
                 fieldsOf<PdClrParsedObject>([](Fields& f, PdClrParsedObject* r) { f << r->getDriveList() << r->action; }), true});
    c.push_back({"PdPrpRmvParsedObject", [](ParserLists& l) -> ParsedObject* { return new PdPrpRmvParsedObject(46, l.takeSharedList(), 1, kAdapter); },
                 fieldsOf<PdPrpRmvParsedObject>([](Fields& f, PdPrpRmvParsedObject* r) { f << r->getDriveList() << r->undo; }), true});
    c.push_back({"PdReprovisionParsedObject", [](ParserLists& l) -> ParsedObject* { return new PdReprovisionParsedObject(110, l.takeSharedList(), 1, kAdapter); },
                 fieldsOf<PdReprovisionParsedObject>([](Fields& f, PdReprovisionParsedObject* r) { f << r->getDriveList() << r->force; }), true});
    c.push_back({"PdOnLineParsedObject", [](ParserLists& l) -> ParsedObject* {
                     return new PdOnLineParsedObject(39, l.pds(), PdOnLineParsedObject::OPERATION_LOCATE, 1, kAdapter); },
                 fieldsOf<PdOnLineParsedObject>([](Fields& f, PdOnLineParsedObject* r) {
                     f << static_cast<const ArrayList<PdIdListObject*>*>(r->driveList) << r->getOperation() << r->getStop(); }), false});
    c.push_back({"PdRebuildParsedObject", [](ParserLists& l) -> ParsedObject* { return new PdRebuildParsedObject(40, l.pds(), 627, kAdapter); },
                 fieldsOf<PdRebuildParsedObject>([](Fields& f, PdRebuildParsedObject* r) {
                     f << static_cast<const ArrayList<PdIdListObject*>*>(r->driveList) << r->getAction(); }), false});
    c.push_back({"PdCopyBackParsedObject", [](ParserLists& l) -> ParsedObject* { return new PdCopyBackParsedObject(81, l.pds(), 628, kAdapter); },
                 fieldsOf<PdCopyBackParsedObject>([](Fields& f, PdCopyBackParsedObject* r) {
                     f << static_cast<const ArrayList<PdIdListObject*>*>(r->driveList) << r->getAction(); }), false});
    c.push_back({"PdHspParsedObject", [](ParserLists& l) -> ParsedObject* { return new PdHspParsedObject(47, l.pds(), l.arrayNumbers(), 1, 1, 0, 1u, kAdapter); },
                 fieldsOf<PdHspParsedObject>([](Fields& f, PdHspParsedObject* r) {
                     f << static_cast<const ArrayList<PdIdListObject*>*>(r->driveList) << static_cast<const ArrayList<unsigned char*>*>(r->arrayNumbers)
                       << r->enclAffinity << r->dedicated << r->revertible << r->set;
                 }), false});
    c.push_back({"PdMappingParsedObject", [](ParserLists&) -> ParsedObject* { return new PdMappingParsedObject(79, 356, kAdapter); },
                 fieldsOf<PdMappingParsedObject>([](Fields& f, PdMappingParsedObject* r) { f << r->getAction(); }), false});
    c.push_back({"PdFwDownloadPo", [](ParserLists& l) -> ParsedObject* { return new PdFwDownloadPo(73, 1, 1, l.takeSharedList(), string("drive.fw"), 5u, 1, kAdapter); },
                 fieldsOf<PdFwDownloadPo>([](Fields& f, PdFwDownloadPo* r) {
                     f << r->getForceActivate() << r->getSataBridge() << r->getDeviceList() << r->getFileName() << r->getMode() << r->getEncDevId();
                 }), true});
    c.push_back({"SecureErasePo", [](ParserLists& l) -> ParsedObject* { return new SecureErasePo(124, l.lds(), 353, l.takeSharedList(), 618, 0x81, 0x7E, 1, kAdapter); },
                 fieldsOf<SecureErasePo>([](Fields& f, SecureErasePo* r) {
                     f.ldList(r) << r->getAction() << r->getDriveList() << r->getEraseType() << r->getPattern1() << r->getPattern2() << r->deleteVd;
                 }), true});
    c.push_back({"AdPdKeyIDGetSetParsedObject", [](ParserLists& l) -> ParsedObject* { return new AdPdKeyIDGetSetParsedObject(91, l.takeSharedList(), string("Key-ID 7"), kAdapter); },
                 fieldsOf<AdPdKeyIDGetSetParsedObject>([](Fields& f, AdPdKeyIDGetSetParsedObject* r) { f << r->getDriveList() << r->getKeyId(); }), true});
    c.push_back({"LockKeyParsedObject", [](ParserLists&) -> ParsedObject* {
                     return new LockKeyParsedObject(88, string("NewKey#1"), string("new phrase"), string("kid"), 1, kAdapter, string("OldPhrase"), 1); },
                 fieldsOf<LockKeyParsedObject>([](Fields& f, LockKeyParsedObject* r) {
                     f << r->getSecurityKey() << r->getPassphrase() << r->getKeyId() << r->useExternalKeyManagement << r->getOldSecurityKey() << r->oldIsPassphrase;
                 }), false});
    c.push_back({"DestroyLockKeyParsedObject", [](ParserLists&) -> ParsedObject* { return new DestroyLockKeyParsedObject(87, 1, 1, kAdapter); },
                 fieldsOf<DestroyLockKeyParsedObject>([](Fields& f, DestroyLockKeyParsedObject* r) { f << r->force << r->deleteWord; }), false});
    return c;
}

std::string describe(const RequestCase& rc, ParsedObject* r)
{
    Fields base;
    base << r->getCommandToken() << r->getAdapterNumber();
    return base.str() + rc.fields(r);
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
    std::string expected = describe(rc, source);
    ASSERT_EQ(expected.find("not the expected class"), std::string::npos) << expected;
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
    std::string expectedFields = rc.fields(source);
    unsigned short token = source->getCommandToken();

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
        EXPECT_EQ(copies[a]->getCommandToken(), token);
        EXPECT_EQ(copies[a]->getAdapterNumber(), a);
        EXPECT_EQ(rc.fields(copies[a]), expectedFields);
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

// The requests that never run per controller clone to null; the source stays intact.
TEST(NullCloningRequests, VersionAndAdapterCountCloneToNull)
{
    AppVersionParsedObject version(2, string("AdpAllInfo"), 0);
    EXPECT_EQ(version.clone(), nullptr);
    EXPECT_STREQ(version.getHelpTopic().c_str(), "AdpAllInfo");

    AdpCountParsedObject count(6);
    EXPECT_EQ(count.getAdapterNumber(), NO_ADAPTER);
    EXPECT_EQ(count.getCommandToken(), 6);
    EXPECT_EQ(count.clone(), nullptr);
}

} // namespace
