// The processor registry, the processor registrations of the program and the command-side
// controller classes with their factory.
#include "DispatchFakes.h"

#include <gtest/gtest.h>

#include <cxxabi.h>
#include <cstdlib>
#include <set>
#include <typeinfo>

#include "CpMgmt/CpController.h"
#include "CpMgmt/CpControllerFactory.h"
#include "CpMgmt/CpFactoryRegistry.h"
#include "Parser/TokenIds.h"

namespace {

// Every processor class of the program with the command ids it serves, in registration order.
struct Registration {
    const char* processorClass;
    std::vector<unsigned short> commandIds;
};

const Registration registrationTable[] = {
    {"AdpAllInfoCp", {TOKEN_ADPALLINFO}},
    {"LdBbtEntriesCp", {TOKEN_LDGETBBTENTRIES}},
    {"AdpFacDefSetCp", {TOKEN_ADPFACDEFSET}},
    {"AdpEventLogCp", {TOKEN_ADPEVENTLOG}},
    {"AdpBbuCp", {TOKEN_ADPBBUCMD}},
    {"CfgDsplyCp", {TOKEN_ADPCFGDISP, TOKEN_TIDEWELLDSPLY}},
    {"LdAddCp", {TOKEN_ADPCFGADD, TOKEN_ADPCFGSPANADD}},
    {"LdAutoCp", {TOKEN_ADPCFGALLFREEDRV}},
    {"CfgEachDiskCp", {TOKEN_ADPCFGEACHDSKRAID0}},
    {"AdpCfgClrCp", {TOKEN_ADPCFGCLR}},
    {"PdInfoCp", {TOKEN_PDINFO}},
    {"PdOnLnCp", {TOKEN_PDONLINE}},
    {"PdOfLnCp", {TOKEN_PDOFFLINE}},
    {"PdHspCp", {TOKEN_PDHSP}},
    {"PdListCp", {TOKEN_PDLIST}},
    {"PdPrpForRmvCp", {TOKEN_PDPRPRMV}},
    {"PdClrCp", {TOKEN_PDCLEAR}},
    {"LdDelCp", {TOKEN_LDDEL, TOKEN_CFGTIDEWELLDEL}},
    {"FreeSpaceInfoCp", {TOKEN_ADPFREESPACEINFO}},
    {"LdPdInfoCp", {TOKEN_LDPDINFO}},
    {"AdpPropertyCp", {TOKEN_SET_ADPPROPERTY, TOKEN_GET_ADPPROPERTY}},
    {"LdInfoCp", {TOKEN_LDINFO}},
    {"LdPropertyCp", {TOKEN_SET_LDPROPERTY, TOKEN_GET_LDPROPERTY}},
    {"LdOperationCp", {TOKEN_LDCC, TOKEN_LDINIT, TOKEN_LDBI}},
    {"AdpFwFlashCp", {TOKEN_ADPFWFLASH}},
    {"PdRbldCp", {TOKEN_PDRBLD}},
    {"ObjNumberCp", {TOKEN_LDNUMBER, TOKEN_PDNUMBER}},
    {"AdpBiosCp", {TOKEN_ADPBIOS}},
    {"AdpBootDriveCp", {TOKEN_ADPBOOTDRV}},
    {"AppVersionCp", {TOKEN_APPVERSION, TOKEN_HELP, TOKEN_HELP_SHT, TOKEN_Q_MARK}},
    {"LdReconstructCp", {TOKEN_LDRECON}},
    {"AdpPhyInfoCp", {TOKEN_PHYINFO}},
    {"AdpSetGetTimeCp", {TOKEN_SETTIME, TOKEN_GETTIME}},
    {"CfgSaveRestoreCp", {TOKEN_ADPCFGSAVE, TOKEN_ADPCFGRESTORE}},
    {"PdReplaceMissingCp", {TOKEN_PDREPLACEMISSING}},
    {"AdpPatrolReadCp", {TOKEN_ADPPR}},
    {"AdpTTYLogCp", {TOKEN_ADPTERMLOG}},
    {"ForeignCfgCp", {TOKEN_ADPFRNCFG}},
    {"AdpSetVerifyCp", {TOKEN_ADPSETVERIFY}},
    {"PdMakeGoodCp", {TOKEN_PDMAKEGOOD}},
    {"PdMakeSystemCp", {TOKEN_PDMAKESYSTEM}},
    {"AdpShutDownCp", {TOKEN_ADPSHUTDOWN}},
    {"MuxModeCp", {TOKEN_MUXGETMODE, TOKEN_MUXSETMODE}},
    {"AdpPhyErrorCtsCp", {TOKEN_PHYERRORCOUNTERS}},
    {"PdMappingCp", {TOKEN_DIRECTPDMAPPING}},
    {"AdpCCSchedulingCp", {TOKEN_CC_SCHEDULING}},
    {"PdCopyBackCp", {TOKEN_PDCPYBK}},
    {"AdpCacheFlushCp", {TOKEN_ADPCACHEFLUSH}},
    {"AdpAutoRbldCp", {TOKEN_ADPAUTORBLD}},
    {"EncInfoCp", {TOKEN_ENCINFO, TOKEN_ENCSTATUS}},
    {"DiscardPreservedCacheCp", {TOKEN_DISCARDPRESERVEDCACHE}},
    {"PreservedCacheListCp", {TOKEN_PRESERVEDCACHELIST}},
    {"CliVersionCp", {TOKEN_CLIVERSION}},
    {"AdpDiagCp", {TOKEN_ADPDIAG}},
    {"LdMakeSecureCp", {TOKEN_LDMAKESECURE}},
    {"DestroyLockKeyCp", {TOKEN_DESTROYSECURITYKEY}},
    {"LockKeyCp", {TOKEN_CREATESECURITYKEY, TOKEN_CHANGESECURITYKEY, TOKEN_VERIFYSECURITYKEY}},
    {"PdReprovisionCp", {TOKEN_PDINSTANTSECUREERASE, TOKEN_PDREPROVISION}},
    {"AdpPdKeyIDSetGetCp", {TOKEN_GET_KEYID, TOKEN_SET_KEYID}},
    {"PdRawFwDwnLdCp", {TOKEN_PDFWDOWNLOAD}},
    {"AdpAlIInLogCp", {TOKEN_ADPALILOG}},
    {"LdBBMClearCp", {TOKEN_LDBBMCLR}},
    {"LdExpansionInfoCp", {TOKEN_GETLDEXPANSIONINFO}},
    {"LdExpansionCp", {TOKEN_LDEXPANSION}},
    {"AdpSettingsKvxCp", {TOKEN_ADPSETTINGS}},
    {"AdpGetPciInfoCp", {TOKEN_ADPGETPCIINFO}},
    {"SSCDAddCp", {TOKEN_CFGTIDEWELLADD, TOKEN_TIDEWELL}},
    {"ShowSummaryCp", {TOKEN_SHOWSUMMARY}},
    {"LdMirrorCp", {TOKEN_LDBREAKMIRROR, TOKEN_LDVIEWMIRROR, TOKEN_LDJOINMIRROR}},
    {"LdPowerPolicyCp", {TOKEN_LDSETPOWERPOLICY}},
    {"DpmStatCp", {TOKEN_DPMSTAT}},
    {"AdAECCp", {TOKEN_ADPAEC}},
    {"AdpPhySetLinkSpeedCp", {TOKEN_PHYSETLINKSPEED}},
    {"SecureEraseCp", {TOKEN_SECUREERASE}},
    {"PerfMonCp", {TOKEN_PERFMON}},
    {"TidexCmdCp", {TOKEN_TIDEX}},
    {"PciLinkSpeedCp", {TOKEN_PCISETLINKSPEED}},
    {"AdpDowngradeCp", {TOKEN_ADPDOWNGRADE}},
    {"AdpRestartCp", {TOKEN_ADPRESTART}},
};

std::string className(const CommandProcessor& processor)
{
    int status = 0;
    char* name = abi::__cxa_demangle(typeid(processor).name(), nullptr, nullptr, &status);
    std::string text = status == 0 && name != nullptr ? name : typeid(processor).name();
    free(name);
    return text;
}

TEST(ProcessorRegistrations, TableIsConsistent)
{
    std::set<unsigned short> ids;
    size_t count = 0;
    for (const Registration& row : registrationTable) {
        for (unsigned short id : row.commandIds) {
            EXPECT_TRUE(ids.insert(id).second) << "id " << id << " served twice";
            EXPECT_GE(id, 1);
            EXPECT_LE(id, 140);
            ++count;
        }
    }
    EXPECT_EQ(sizeof registrationTable / sizeof registrationTable[0], 79u);
    EXPECT_EQ(count, 101u);
}

// Nothing is called to fill the registry: the registrations sit beside their classes, and the
// whole-archive link keeps every one of them, so every command of the table has its processor.
TEST(ProcessorRegistrations, EveryCommandOfTheTableHasItsProcessorWithoutBeingAsked)
{
    CpFactoryRegistry* registry = CpFactoryRegistry::instance();
    ASSERT_NE(registry, nullptr);
    size_t registered = 0;
    for (const Registration& row : registrationTable) {
        for (unsigned short id : row.commandIds) {
            EXPECT_EQ(registry->creatorCount(id), 1) << row.processorClass << " for id " << id;
            registered += registry->creatorCount(id) == 1;
        }
    }
    EXPECT_EQ(registered, 101u);
}

TEST(ProcessorRegistrations, EveryRegisteredIdYieldsTheClassOfItsRow)
{
    CpFactoryRegistry* registry = CpFactoryRegistry::instance();
    ASSERT_NE(registry, nullptr);
    std::map<unsigned short, const char*> classOf;
    for (const Registration& row : registrationTable)
        for (unsigned short id : row.commandIds)
            classOf[id] = row.processorClass;
    for (unsigned short id = 0; id < CpFactoryRegistry::ROW_COUNT; ++id) {
        unsigned char creators = registry->creatorCount(id);
        auto row = classOf.find(id);
        if (row == classOf.end()) {
            EXPECT_EQ(creators, 0) << "id " << id << " has no processor class";
            continue;
        }
        if (creators == 0)
            continue;  // the class has not been written yet
        EXPECT_EQ(creators, 1) << "id " << id;
        TestRequest request(id, 0);
        CommandProcessor* processor = registry->find(nullptr, &request);
        ASSERT_NE(processor, nullptr) << "id " << id;
        EXPECT_EQ(className(*processor), row->second) << "id " << id;
        EXPECT_TRUE(processor->isDone());
        delete processor;
    }
    for (unsigned short id : {TOKEN_ADPCOUNT, (unsigned short)102}) {
        TestRequest request(id, 0);
        EXPECT_EQ(registry->find(nullptr, &request), nullptr) << "id " << id;
    }
}

// Processors of a local registry that say which creator made them.
struct FirstCp : CommandProcessor {
    int process(CpController*, ParsedObject*) override { return 1; }
    static CommandProcessor* create(unsigned short kind) { return createCommandProcessor<FirstCp>(kind); }
};
struct SecondCp : CommandProcessor {
    int process(CpController*, ParsedObject*) override { return 2; }
    static CommandProcessor* create(unsigned short kind) { return createCommandProcessor<SecondCp>(kind); }
};
CommandProcessor* declineAll(unsigned short) { return nullptr; }

TEST(CpFactoryRegistry, FindsTheFirstCreatorThatMakesAProcessor)
{
    CpFactoryRegistry registry;
    registry.add(50, makeFunctor(&declineAll));
    registry.add(50, makeCpCreator<SecondCp>());
    registry.add(50, makeCpCreator<FirstCp>());
    TestRequest request(50, 0);
    CommandProcessor* processor = registry.find(nullptr, &request);
    ASSERT_NE(processor, nullptr);
    EXPECT_EQ(processor->process(nullptr, nullptr), 2);
    delete processor;

    TestRequest other(51, 0);
    EXPECT_EQ(registry.find(nullptr, &other), nullptr);
    TestRequest beyond(300, 0);
    registry.add(300, makeCpCreator<FirstCp>());
    EXPECT_EQ(registry.creatorCount(300), 0);
    EXPECT_EQ(registry.find(nullptr, &beyond), nullptr);
}

TEST(CpFactoryRegistry, FifthCreatorIsRefused)
{
    CpFactoryRegistry registry;
    for (int i = 0; i < 4; ++i)
        registry.add(9, makeCpCreator<FirstCp>());
    OutputCapture capture;
    registry.add(9, makeCpCreator<SecondCp>());
    EXPECT_EQ(capture.take(), "Count 4 exceeded for token id 9\n");
    EXPECT_EQ(registry.creatorCount(9), 4);
    TestRequest request(9, 0);
    CommandProcessor* processor = registry.find(nullptr, &request);
    ASSERT_NE(processor, nullptr);
    EXPECT_EQ(processor->process(nullptr, nullptr), 1);
    delete processor;
}

TEST(CpFactoryRegistry, CreateAcceptsTheDefaultKindOnly)
{
    CommandProcessor* made = FirstCp::create(CP_KIND_DEFAULT);
    EXPECT_NE(made, nullptr);
    delete made;
    EXPECT_EQ(FirstCp::create(1), nullptr);
}

TEST(CpControllerFactory, MakesTheClassOfTheControllerType)
{
    registerCpControllers();
    registerCpControllers();  // a second call changes nothing
    CpControllerFactory* factory = CpControllerFactory::instance();
    ASSERT_NE(factory, nullptr);
    for (unsigned short type = 0; type < CpControllerFactory::SLOT_COUNT; ++type)
        EXPECT_EQ(factory->hasCreator(type), type == 7 || type == 14) << type;

    struct Case {
        uint16_t controllerType;
        int expectedType;  // -1: no executor
    } cases[] = {{7, 7}, {14, 14}, {4, -1}, {11, -1}, {0, -1}, {40, -1}};
    for (const Case& c : cases) {
        FakeControllerId id;
        FakeController controller(&id, c.controllerType, nullptr);
        TestRequest* request = new TestRequest(200, 0);
        CpController* cpController = factory->create(&controller, request);
        if (c.expectedType < 0) {
            EXPECT_EQ(cpController, nullptr) << c.controllerType;
            delete request;  // still the caller's
            continue;
        }
        ASSERT_NE(cpController, nullptr) << c.controllerType;
        EXPECT_EQ(cpController->type(), c.expectedType);
        EXPECT_EQ(cpController->controller(), &controller);
        EXPECT_EQ(cpController->getRequest(), request);
        delete cpController;  // through the base: the request goes once, the controller stays
        EXPECT_EQ(TestRequest::alive, 0);
        EXPECT_EQ(controller.type(), c.controllerType);
    }
    EXPECT_EQ(factory->create(nullptr, nullptr), nullptr);
}

TEST(CpController, WithoutControllerIsTypeZero)
{
    CpController plain(nullptr, new TestRequest(200, NO_ADAPTER));
    EXPECT_EQ(plain.type(), 0);
    EXPECT_EQ(plain.controller(), nullptr);
    EXPECT_TRUE(plain.isDone()) << "no processor found yet";
}

TEST(CpController, LevelsReportTheirOwnTypeCodes)
{
    OemCpController oem(nullptr, nullptr);
    ProtocolCpController protocol(nullptr, nullptr);
    OrvaneCpController orvane(nullptr, nullptr);
    SasCpController sas(nullptr, nullptr);
    RAIDCpController raid(nullptr, nullptr);
    HwrCpController hwr(nullptr, nullptr);
    EXPECT_EQ(oem.type(), 1);
    EXPECT_EQ(protocol.type(), 2);
    EXPECT_EQ(orvane.type(), 4);
    EXPECT_EQ(sas.type(), 5);
    EXPECT_EQ(raid.type(), 10);
    EXPECT_EQ(hwr.type(), 11);
}

}  // namespace
