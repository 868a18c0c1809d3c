// The parsers of span creation, virtual-drive properties, deletion, background operations and
// reconstruction; of the drive state, locate, removal, replace-missing, rebuild, clear and
// hot-spare commands; of configuration save and restore and of foreign configurations.
#include "LineParseSupport.h"

#include "Parser/CfgParsedObjects.h"
#include "Parser/Cmd/Drive/PdClearParser.h"
#include "Parser/PdParsedObjects.h"

namespace {

std::string lds(const LdParsedObject& request)
{
    std::string text;
    for (unsigned char i = 0; i < request.getLdCount(); ++i)
        text += (i ? "," : "") + std::to_string(request.getLd(i));
    return text;
}

std::string entries(const ArrayList<PdIdListObject*>* list)
{
    if (list == nullptr)
        return "none";
    std::string text;
    for (unsigned char i = 0; i < list->count(); ++i)
        text += (i ? "," : "") + std::to_string(list->get(i)->getEnclosureId()) + ":" +
                std::to_string(list->get(i)->getSlot());
    return text;
}

std::string spanAdd(const CfgAddParsedObject& r)
{
    std::string arrays;
    const ArrayList<ArrayList<PdIdListObject*>*>* list = r.getArrayList();
    for (unsigned char i = 0; list != nullptr && i < list->count(); ++i)
        arrays += "[" + entries(list->get(i)) + "]";
    std::string sizes;
    for (unsigned char i = 0; r.getSizeList() != nullptr && i < r.getSizeList()->count(); ++i)
        sizes += (i ? "," : "") + std::to_string(*r.getSizeList()->get(i));
    return head(r) + " r=" + std::to_string(r.raidLevel) + " force=" + std::to_string(r.force) +
           " pi=" + std::to_string(r.getEnablePi()) + " policies=" + std::to_string(r.readPolicy) + "," +
           std::to_string(r.writePolicy) + "," + std::to_string(r.ioPolicy) + "," + std::to_string(r.badBbuPolicy) +
           " strip=" + std::to_string(r.stripSize) + " sizes=" + sizes + " arrays=" + arrays +
           " hsp=" + entries(r.getHotSpareList()) + " enc=" + std::to_string(r.encryption) +
           " ps=" + std::to_string(r.getPowerSavePolicy()) + " cache=" + std::to_string(r.cache) +
           " after=" + std::to_string(r.getAfterLd());
}

std::string ldProp(const LdPropParsedObject& r)
{
    return head(r) + " lds=" + lds(r) + " property=" + std::to_string(r.getProperty()) +
           " immediate=" + std::to_string(r.immediate) + " name=" + (r.getName() ? r.getName() : "(null)");
}

std::string ldDel(const LdDelParsedObject& r)
{
    return head(r) + " lds=" + byteList(r.ldList) + " all=" + std::to_string(r.allDrives) +
           " force=" + std::to_string(r.force);
}

std::string ldOperation(const LdOperationParsedObject& r)
{
    return head(r) + " lds=" + lds(r) + " operation=" + std::to_string(r.getOperation()) +
           " full=" + std::to_string(r.full) + " force=" + std::to_string(r.force);
}

std::string ldRecon(const LdReconstructParsedObject& r)
{
    return head(r) + " action=" + std::to_string(r.getAction()) + " drives=" + std::to_string(r.getDriveAction()) +
           " ld=" + std::to_string(r.getLd()) + " r=" + std::to_string(r.getRaidLevel()) +
           " force=" + std::to_string(r.force) + " list=" + driveList(r.getDriveList());
}

std::string pdOffLine(const PdOffLineParsedObject& r)
{
    return head(r) + " force=" + std::to_string(r.force) + " drives=" + driveList(r.getDriveList());
}

std::string pdOnLine(const PdOnLineParsedObject& r)
{
    return head(r) + " operation=" + std::to_string(r.getOperation()) + " stop=" + std::to_string(r.getStop()) +
           " drives=" + entries(r.driveList);
}

std::string pdPrpRmv(const PdPrpRmvParsedObject& r)
{
    return head(r) + " undo=" + std::to_string(r.undo) + " drives=" + driveList(r.getDriveList());
}

std::string pdReplace(const PdReplaceMissingParsedObject& r)
{
    return head(r) + " array=" + std::to_string(r.getArrayNumber()) + " row=" + std::to_string(r.getRowNumber()) +
           " drives=" + driveList(r.getDriveList());
}

std::string pdRebuild(const PdRebuildParsedObject& r)
{
    return head(r) + " action=" + std::to_string(r.getAction()) + " drives=" + entries(r.driveList);
}

std::string pdClear(const PdClrParsedObject& r)
{
    return head(r) + " action=" + std::to_string(r.action) + " drives=" + driveList(r.getDriveList());
}

std::string pdHsp(const PdHspParsedObject& r)
{
    std::string arrays;
    for (unsigned char i = 0; r.arrayNumbers != nullptr && i < r.arrayNumbers->count(); ++i)
        arrays += (i ? "," : "") + std::to_string(*r.arrayNumbers->get(i));
    return head(r) + " set=" + std::to_string(r.set) + " dedicated=" + std::to_string(r.dedicated) +
           " affinity=" + std::to_string(r.enclAffinity) + " revertible=" + std::to_string(r.revertible) +
           " arrays=" + arrays + " drives=" + entries(r.driveList);
}

std::string cfgSaveRestore(const CfgSaveRestorePo& r)
{
    return head(r) + " file=" + r.getFileName().c_str();
}

std::string foreignCfg(const ForeignCfgParsedObject& r)
{
    return head(r) + " action=" + std::to_string(r.getAction()) +
           " index=" + std::to_string(r.getForeignConfigNumber()) + " key=" + r.getKeyText().c_str() +
           " kind=" + std::to_string(r.keyKind);
}

}  // namespace

// ---- virtual drives -----------------------------------------------------------------------

TEST(CfgSpanAddParser, ArraysInTheOrderWrittenAndASpannedLevel)
{
    const std::string defaults = " policies=255,255,255,255 strip=65535 sizes= ";
    expectLines<CfgAddParsedObject>({
        {"-CfgSpanAdd -r10 -Array0[252:0,252:1] -Array1[252:2,252:3] -a0",
         {"token=50 adapter=0 r=10 force=0 pi=0" + defaults +
          "arrays=[252:0,252:1][252:2,252:3] hsp= enc=0 ps=25 cache=0 after=255"}},
        // The array numbers only name the lists: the first written is the first span.
        {"-CfgSpanAdd -r50 -Array1[252:4,252:5,252:6] -Array0[252:0,252:1,252:2] -a1",
         {"token=50 adapter=1 r=50 force=0 pi=0" + defaults +
          "arrays=[252:4,252:5,252:6][252:0,252:1,252:2] hsp= enc=0 ps=25 cache=0 after=255"}},
        {"-CfgSpanAdd -r60 -Array0[1:1,1:2,1:3,1:4] -Array1[1:5,1:6,1:7,1:8] WB RA Cached CachedBadBBU "
         "-strpsz64 -sz100 -AfterLd2 Secure -Maximum -enblPI -Force -a0",
         {"token=50 adapter=0 r=60 force=1 pi=1 policies=0,0,0,1 strip=64 sizes=204800 "
          "arrays=[1:1,1:2,1:3,1:4][1:5,1:6,1:7,1:8] hsp= enc=3 ps=2 cache=0 after=2"}},
        {"-CfgSpanAdd -r10 -Array0[32:1,32:2] -Array1[32:3,32:4] -Force -Cache -a0",
         {"token=50 adapter=0 r=10 force=1 pi=0" + defaults +
          "arrays=[32:1,32:2][32:3,32:4] hsp= enc=0 ps=25 cache=1 after=255"}},
        // A level above 9 that is no spanned level is the processor's to refuse.
        {"-CfgSpanAdd -r11 -Array0[32:1,32:2] -Array1[32:3,32:4] -a0",
         {"token=50 adapter=0 r=11 force=0 pi=0" + defaults +
          "arrays=[32:1,32:2][32:3,32:4] hsp= enc=0 ps=25 cache=0 after=255"}},
        // ADRA has no rule: reported, and the read policy stays not given.
        {"-CfgSpanAdd -r10 -Array0[32:1,32:2] -Array1[32:3,32:4] ADRA -a0",
         {"token=50 adapter=0 r=10 force=0 pi=0" + defaults +
          "arrays=[32:1,32:2][32:3,32:4] hsp= enc=0 ps=25 cache=0 after=255"},
         "Unexpected parameter ADRA given in the command line.\n"},
        {"-CfgSpanAdd -r5 -Array0[32:1,32:2] -Array1[32:3,32:4] -a0", REFUSED},
        {"-CfgSpanAdd -r9 -Array0[32:1,32:2] -Array1[32:3,32:4] -a0", REFUSED},
        {"-CfgSpanAdd -r256 -Array0[32:1,32:2] -Array1[32:3,32:4] -a0", REFUSED},
        {"-CfgSpanAdd -r10 -Array0[32:1,32:256] -Array1[32:3,32:4] -a0", REFUSED},
    }, spanAdd);
}

TEST(LdPropParser, OnePropertyWordPerCommand)
{
    expectLines<LdPropParsedObject>({
        {"-LDSetProp -WB -Immediate -L0 -a0", {"token=34 adapter=0 lds=0 property=549 immediate=1 name="}},
        {"-LDSetProp -WB -L0 -a0", {"token=34 adapter=0 lds=0 property=549 immediate=0 name="}},
        {"-LDSetProp -Name Data1 -L0 -a0", {"token=34 adapter=0 lds=0 property=548 immediate=0 name=Data1"}},
        // The name is taken as typed: its length is the processor's to check.
        {"-LDSetProp -Name ABCDEFGHIJKLMNOPQRST -L1 -a0",
         {"token=34 adapter=0 lds=1 property=548 immediate=0 name=ABCDEFGHIJKLMNOPQRST"}},
        {"-LDGetProp -Name -L0 -a0", {"token=33 adapter=0 lds=0 property=548 immediate=0 name="}},
        {"-LDGetProp -Cache -LALL -a0", {"token=33 adapter=0 lds=64 property=340 immediate=0 name="}},
        {"-LDGetProp -Consistency -L1,2 -a0,1",
         {"token=33 adapter=0 lds=1,2 property=266 immediate=0 name=",
          "token=33 adapter=1 lds=1,2 property=266 immediate=0 name="}},
        {"-LDGetProp -DsblPI -L1 -a0", {"token=33 adapter=0 lds=1 property=634 immediate=0 name="}},
        {"-LDSetProp -DsblPI -L1 -a0", {"token=34 adapter=0 lds=1 property=634 immediate=0 name="}},
        {"-LDSetProp -RemoveBlocked -LALL -a0", {"token=34 adapter=0 lds=64 property=646 immediate=0 name="}},
        {"-LDSetProp -Consistent -L1 -a0", {"token=34 adapter=0 lds=1 property=267 immediate=0 name="}},
        {"-LDSetProp -EnDskCache -L1 -aALL", {"token=34 adapter=252 lds=1 property=564 immediate=0 name="}},
        {"-LDSetProp -WB -L300 -a0", REFUSED, "Invalid Logical Drive number.\n"},
    }, ldProp);
}

TEST(LdPropParser, AWordOfTheOtherCommandIsRefusedWithItsMessage)
{
    // The grammar never hands such lines over; the parser still refuses them.
    TokenLine setRead{word(TOKEN_SET_LDPROPERTY, "LDSetProp"), word(TOKEN_CACHE, "Cache"), ldOption(), num(0),
                      adapterOption(), num(0)};
    TokenLine getChange{word(TOKEN_GET_LDPROPERTY, "LDGetProp"), word(TOKEN_WB, "WB"), ldOption(), num(0),
                        adapterOption(), num(0)};
    for (TokenLine* line : {&setRead, &getChange}) {
        PrintedText printed;
        std::unique_ptr<Parser> parser(ParserFactory::instance()->create(line->at(0)->getId()));
        ASSERT_TRUE(parser);
        EXPECT_EQ(parser->parse(line->tokens()), nullptr);
        EXPECT_EQ(printed.text(), "\nInvalid option specified.\n");
    }
}

TEST(LdDelParser, ListAllFlagAndForce)
{
    expectLines<LdDelParsedObject>({
        {"-CfgLdDel -L1,3 -Force -a0", {"token=57 adapter=0 lds=1,3 all=0 force=1"}},
        {"-CfgLdDel -LALL -a0", {"token=57 adapter=0 lds=64 all=1 force=0"}},
        {"-CfgLdDel -L2 -a0,1", {"token=57 adapter=0 lds=2 all=0 force=0", "token=57 adapter=1 lds=2 all=0 force=0"}},
        {"-CfgTidewellDel -L2 -a0", {"token=112 adapter=0 lds=2 all=0 force=0"}},
        // A typed 64 or a number that is no drive never widens the deletion to every drive.
        {"-CfgLdDel -L64 -a0", REFUSED, "Invalid Logical Drive number.\n"},
        {"-CfgLdDel -L320 -a0", REFUSED, "Invalid Logical Drive number.\n"},
    }, ldDel);
}

TEST(LdOperationParser, OperationWordsOfEachCommand)
{
    expectLines<LdOperationParsedObject>({
        {"-LDCC -Start -L0 -a0", {"token=28 adapter=0 lds=0 operation=353 full=0 force=0"}},
        {"-LDCC -Start -Force -L1,2 -a0,1",
         {"token=28 adapter=0 lds=1,2 operation=353 full=0 force=1",
          "token=28 adapter=1 lds=1,2 operation=353 full=0 force=1"}},
        {"-LDCC -Suspend -LALL -a0", {"token=28 adapter=0 lds=64 operation=627 full=0 force=0"}},
        {"-LDCC -Resume -L1 -a0", {"token=28 adapter=0 lds=1 operation=628 full=0 force=0"}},
        {"-LDInit -Start -Full -LALL -aALL", {"token=29 adapter=252 lds=64 operation=353 full=1 force=0"}},
        {"-LDInit -Abort -L2 -a0", {"token=29 adapter=0 lds=2 operation=354 full=0 force=0"}},
        {"-LDInit -ProgDsply -L2 -a0", {"token=29 adapter=0 lds=2 operation=358 full=0 force=0"}},
        {"-ldbi -dsbl -L0 -a0", {"token=30 adapter=0 lds=0 operation=356 full=0 force=0"}},
        {"-LDBI -Enbl -L0 -a0", {"token=30 adapter=0 lds=0 operation=355 full=0 force=0"}},
        {"-LDBI -Stop -L0 -a0", {"token=30 adapter=0 lds=0 operation=354 full=0 force=0"}},
        {"-LDBI -getSetting -L3 -a0", {"token=30 adapter=0 lds=3 operation=366 full=0 force=0"}},
        {"-LDBI -ShowProg -L3 -a0", {"token=30 adapter=0 lds=3 operation=357 full=0 force=0"}},
    }, ldOperation);
}

TEST(LdReconstructParser, ActionsDrivesAndLevel)
{
    expectLines<LdReconstructParsedObject>({
        {"-LDRecon -Start -r5 -Add -PhysDrv[252:3] -L0 -a0",
         {"token=32 adapter=0 action=353 drives=362 ld=0 r=5 force=0 list=252:3"}},
        {"-LDRecon -Start -r1 -Rmv -PhysDrv[252:2,252:3] -L1 -Force -a0",
         {"token=32 adapter=0 action=353 drives=363 ld=1 r=1 force=1 list=252:2,252:3"}},
        {"-LDRecon -Start -r6 -L0 -a0", {"token=32 adapter=0 action=353 drives=65535 ld=0 r=6 force=0 list=none"}},
        {"-LDRecon -ShowProg -L2 -a1", {"token=32 adapter=1 action=357 drives=65535 ld=2 r=255 force=0 list=none"}},
        {"-LDRecon -ProgDsply -L2 -a0", {"token=32 adapter=0 action=358 drives=65535 ld=2 r=255 force=0 list=none"}},
        // Not offered: reported, and the request carries no action.
        {"-LDRecon -Suspend -L0 -a0", {"token=32 adapter=0 action=65535 drives=65535 ld=0 r=255 force=0 list=none"},
         "Unexpected parameter Suspend given in the command line.\n"},
        // A level that is no level code is refused, not cut (300 is not RAID 44).
        {"-LDRecon -Start -r300 -L0 -a0", REFUSED},
        {"-LDRecon -Start -r255 -L0 -a0", REFUSED},
        {"-LDRecon -Start -r5 -Add -PhysDrv[252:300] -L0 -a0", REFUSED},
    }, ldRecon);
}

// ---- drive states -------------------------------------------------------------------------

TEST(PdOffLnAndMakeGoodParsers, RequestsShareTheDriveList)
{
    expectLines<PdOffLineParsedObject>({
        {"-PDOffline -PhysDrv[252:2,252:3] -a0,1",
         {"token=38 adapter=0 force=0 drives=252:2,252:3", "token=38 adapter=1 force=0 drives=252:2,252:3"}},
        {"-PDOffline -PhysDrv[:3] -aALL", {"token=38 adapter=252 force=0 drives=65535:3"}},
        {"-PDMakeGood -PhysDrv[252:6] -a0", {"token=66 adapter=0 force=0 drives=252:6"}},
        {"-PDMakeGood -PhysDrv[252:6] -Force -a0", {"token=66 adapter=0 force=1 drives=252:6"}},
        {"-PDOffline -PhysDrv[252:256] -a0", REFUSED},
        {"-PDMakeGood -PhysDrv[252:1] -a251", REFUSED, "Invalid Adapter number.\n"},
    }, pdOffLine);
}

TEST(PdOnLnParser, FourWordsOneCommandToken)
{
    expectLines<PdOnLineParsedObject>({
        {"-PDOnline -PhysDrv[252:2] -a0", {"token=39 adapter=0 operation=2 stop=0 drives=252:2"}},
        {"-PdMarkMissing -PhysDrv[252:2,?:4] -a0", {"token=39 adapter=0 operation=0 stop=0 drives=252:2,52428:4"}},
        {"-PdGetMissing -a0", {"token=39 adapter=0 operation=1 stop=0 drives="}},
        {"-PdLocate -PhysDrv[252:2] -a0", {"token=39 adapter=0 operation=3 stop=0 drives=252:2"}},
        {"-PdLocate -start -PhysDrv[252:2] -a0", {"token=39 adapter=0 operation=3 stop=0 drives=252:2"}},
        {"-PdLocate -stop -PhysDrv[252:2] -a0", {"token=39 adapter=0 operation=3 stop=1 drives=252:2"}},
        {"-PdLocate -abort -PhysDrv[252:2] -a0,1",
         {"token=39 adapter=0 operation=3 stop=1 drives=252:2", "token=39 adapter=1 operation=3 stop=1 drives=252:2"}},
        {"-PDOnline -PhysDrv[252:2,252:1x] -a0", REFUSED_BY_GRAMMAR},
        {"-PDOnline -PhysDrv[252:300] -a0", REFUSED},
    }, pdOnLine);
}

TEST(PdPrpRmvParser, UndoFlag)
{
    expectLines<PdPrpRmvParsedObject>({
        {"-PdPrpRmv -PhysDrv[252:4] -a0,1", {"token=46 adapter=0 undo=0 drives=252:4", "token=46 adapter=1 undo=0 drives=252:4"}},
        {"-PdPrpRmv -UnDo -PhysDrv[252:4,252:5] -a0", {"token=46 adapter=0 undo=1 drives=252:4,252:5"}},
    }, pdPrpRmv);
}

TEST(PdReplaceMissingParser, ArrayAndRowTestedAsTyped)
{
    expectLines<PdReplaceMissingParsedObject>({
        {"-PdReplaceMissing -PhysDrv[252:6] -Array0 -row1 -a0", {"token=44 adapter=0 array=0 row=1 drives=252:6"}},
        {"-PdReplaceMissing -PhysDrv[252:6] -Array127 -row31 -a0",
         {"token=44 adapter=0 array=127 row=31 drives=252:6"}},
        {"-PdReplaceMissing -PhysDrv[252:6] -Array128 -row1 -a0", REFUSED},
        {"-PdReplaceMissing -PhysDrv[252:6] -Array0 -row32 -a0", REFUSED},
        // Never cut to another array or row (300 is not 44, 260 not 4).
        {"-PdReplaceMissing -PhysDrv[252:6] -array300 -row1 -a0", REFUSED},
        {"-PdReplaceMissing -PhysDrv[252:6] -Array0 -row260 -a0", REFUSED},
    }, pdReplace);
}

// ---- rebuild, clear, hot spares -----------------------------------------------------------

TEST(PdRbldParser, EachRequestHasItsOwnCopyOfTheDrives)
{
    expectLines<PdRebuildParsedObject>({
        {"-PDRbld -Stop -PhysDrv[252:1,252:2] -a0,1",
         {"token=40 adapter=0 action=354 drives=252:1,252:2", "token=40 adapter=1 action=354 drives=252:1,252:2"}},
        {"-PDRbld -Abort -PhysDrv[252:1] -a0", {"token=40 adapter=0 action=354 drives=252:1"}},
        {"-PDRbld -Start -PhysDrv[252:4,252:5] -a0", {"token=40 adapter=0 action=353 drives=252:4,252:5"}},
        {"-PDRbld -Suspend -PhysDrv[252:4] -a0", {"token=40 adapter=0 action=627 drives=252:4"}},
        {"-PDRbld -Resume -PhysDrv[252:4] -a0", {"token=40 adapter=0 action=628 drives=252:4"}},
        {"-PDRbld -ShowProg -PhysDrv[252:4] -a0", {"token=40 adapter=0 action=357 drives=252:4"}},
        {"-PDRbld -ProgDsply -PhysDrv[:4] -aALL", {"token=40 adapter=252 action=358 drives=65535:4"}},
        {"-PDRbld -Start -PhysDrv[252:256] -a0", REFUSED},
    }, pdRebuild);
}

TEST(PdClearParser, ActionsAndTheSharedList)
{
    expectLines<PdClrParsedObject>({
        {"-PDClear -Start -PhysDrv[252:1,252:2] -a0", {"token=41 adapter=0 action=0 drives=252:1,252:2"}},
        {"-PDClear -Stop -PhysDrv[252:1] -a0", {"token=41 adapter=0 action=1 drives=252:1"}},
        {"-PDClear -ShowProg -PhysDrv[252:1] -a0,1",
         {"token=41 adapter=0 action=2 drives=252:1", "token=41 adapter=1 action=2 drives=252:1"}},
        {"-PDClear -ProgDsply -PhysDrv[:3] -aALL", {"token=41 adapter=252 action=3 drives=65535:3"}},
        // Not offered: reported, and the request carries no action (the processor refuses it).
        {"-PDClear -Resume -PhysDrv[252:1] -a0",
         {"token=41 adapter=0 action=" + std::to_string(PdClearParser::ACTION_NONE) + " drives=252:1"},
         "Unexpected parameter Resume given in the command line.\n"},
    }, pdClear);
}

TEST(PdHspParser, SetOrRemoveWithArraysAndFlags)
{
    expectLines<PdHspParsedObject>({
        {"-PDHSP -Set -PhysDrv[252:4] -a0",
         {"token=47 adapter=0 set=1 dedicated=0 affinity=0 revertible=1 arrays= drives=252:4"}},
        {"-PDHSP -Set -Dedicated -Array0,2 -EnclAffinity -nonRevertible -PhysDrv[252:4,252:5] -a0",
         {"token=47 adapter=0 set=1 dedicated=1 affinity=1 revertible=0 arrays=0,2 drives=252:4,252:5"}},
        {"-PDHSP -Set -Dedicated -EnclAffinity -Array1 -PhysDrv[252:4] -a0",
         {"token=47 adapter=0 set=1 dedicated=1 affinity=1 revertible=1 arrays=1 drives=252:4"}},
        {"-PDHSP -Rmv -PhysDrv[252:4] -aALL",
         {"token=47 adapter=252 set=0 dedicated=0 affinity=0 revertible=1 arrays= drives=252:4"}},
        {"-PDHSP -Set -Dedicated -Array127 -PhysDrv[252:4] -a0",
         {"token=47 adapter=0 set=1 dedicated=1 affinity=0 revertible=1 arrays=127 drives=252:4"}},
        // Never cut to another array (256 is not array 0).
        {"-PDHSP -Set -Dedicated -Array256 -PhysDrv[252:4] -a0", REFUSED},
        {"-PDHSP -Set -Dedicated -Array0,128 -PhysDrv[252:4] -a0", REFUSED},
    }, pdHsp);
}

// ---- configuration files, foreign configurations ------------------------------------------

TEST(CfgSaveRestoreParser, FileNameAsTyped)
{
    expectLines<CfgSaveRestorePo>({
        {"-CfgSave -f cfg.dat -a0", {"token=52 adapter=0 file=cfg.dat"}},
        {"-AdpCfgSave -f cfg.dat -a0", {"token=52 adapter=0 file=cfg.dat"}},
        {"-CfgRestore -f /var/tmp/saved.v2.cfg -a1", {"token=53 adapter=1 file=/var/tmp/saved.v2.cfg"}},
    }, cfgSaveRestore);
}

TEST(ForeignCfgParser, ActionIndexAndKey)
{
    expectLines<ForeignCfgParsedObject>({
        {"-CfgForeign -Scan -a0", {"token=59 adapter=0 action=348 index=255 key= kind=0"}},
        {"-CfgForeign -Dsply 1 -a0", {"token=59 adapter=0 action=359 index=1 key= kind=0"}},
        {"-CfgForeign -Dsply -a0", {"token=59 adapter=0 action=359 index=255 key= kind=0"}},
        {"-CfgForeign -Preview 254 -a0", {"token=59 adapter=0 action=349 index=254 key= kind=0"}},
        {"-CfgForeign -Clear 0 -a0", {"token=59 adapter=0 action=320 index=0 key= kind=0"}},
        {"-CfgForeign -Import -SecurityKey Tr0ub4dor+3 -a0,1",
         {"token=59 adapter=0 action=350 index=255 key=Tr0ub4dor+3 kind=1",
          "token=59 adapter=1 action=350 index=255 key=Tr0ub4dor+3 kind=1"}},
        {"-CfgForeign -Import 2 -Passphrase Pa55-phrase -a0",
         {"token=59 adapter=0 action=350 index=2 key=Pa55-phrase kind=2"}},
        {"-CfgForeign -Scan -SecurityKey Abc! -aALL", {"token=59 adapter=252 action=348 index=255 key=Abc! kind=1"}},
        // Tested as typed: 300 is not configuration 44, and a typed 255 does not mean all.
        {"-CfgForeign -Import 300 -a0", REFUSED},
        {"-CfgForeign -Clear 255 -a0", REFUSED},
    }, foreignCfg);
}

// Lines the grammar never hands over: the operation word is looked for on the whole line,
// exactly once, and a line that neither sets nor removes a spare is refused.
TEST(OperationWordParsers, ExactlyOneOperationWordOnTheLine)
{
    struct Case {
        std::vector<TokenItem> items;
        bool accepted;
    } cases[] = {
        {{word(TOKEN_LDCC, "LDCC"), ldOption(), num(0), adapterOption(), num(0)}, false},
        {{word(TOKEN_LDCC, "LDCC"), word(TOKEN_START, "Start"), ldOption(), num(0), word(TOKEN_STOP, "Stop"),
          adapterOption(), num(0)},
         false},
        // An operation word after the adapter still counts.
        {{word(TOKEN_LDCC, "LDCC"), ldOption(), num(0), adapterOption(), num(0), word(TOKEN_SUSPEND, "Suspend")},
         true},
        // Enable is an operation of -LDBI only.
        {{word(TOKEN_LDINIT, "LDInit"), word(TOKEN_ENABLE, "Enbl"), ldOption(), num(0), adapterOption(), num(0)},
         false},
        {{word(TOKEN_PDRBLD, "PDRbld"), word(TOKEN_CHANNEL_TARGET_LIST, "32:4"), adapterOption(), num(0)}, false},
        {{word(TOKEN_PDRBLD, "PDRbld"), word(TOKEN_START, "Start"), word(TOKEN_CHANNEL_TARGET_LIST, "32:4"),
          word(TOKEN_RESUME, "Resume"), adapterOption(), num(0)},
         false},
        {{word(TOKEN_PDHSP, "PDHSP"), word(TOKEN_CHANNEL_TARGET_LIST, "32:4"), adapterOption(), num(0)}, false},
        {{word(TOKEN_PDREPLACEMISSING, "PdReplaceMissing"), word(TOKEN_CHANNEL_TARGET_LIST, "32:4"),
          word(TOKEN_ARRAY, "Array"), num(0), adapterOption(), num(0)},
         false},
    };
    for (const Case& c : cases) {
        TokenLine line{};
        for (const TokenItem& item : c.items) {
            TokenValue* value = item.id == TOKEN_NUMBER ? static_cast<TokenValue*>(new TokenValueInt(item.number))
                                                        : new TokenValueStr(string(item.text.c_str()));
            line.tokens()->add(new Token(item.id, value));
        }
        SCOPED_TRACE(c.items[0].text + " case " + std::to_string(&c - cases));
        std::unique_ptr<Parser> parser(ParserFactory::instance()->create(c.items[0].id));
        ASSERT_TRUE(parser);
        ArrayList<ParsedObject*>* requests = parser->parse(line.tokens());
        EXPECT_EQ(requests != nullptr, c.accepted);
        deleteRequests(requests);
    }
}
