#include "GrammarTestSupport.h"

#include "PavUtil/Memory.h"

#include <cstdint>
#include <string>
#include <vector>

using grammartest::blankOutLine;
using grammartest::check;
using grammartest::Checked;
using grammartest::rejection;

namespace {

// One command line: accepted with its tokens, or rejected at a word; `echo` is what the
// scanner echoed before the blank-out line or the message.
struct LineCase {
    const char* line;
    const char* tokens;      // null: rejected
    const char* rejectedAt;  // the word the message names
    const char* echo;
};

LineCase ok(const char* line, const char* tokens, const char* echo = "")
{
    return LineCase{line, tokens, nullptr, echo};
}

LineCase no(const char* line, const char* word, const char* echo = "")
{
    return LineCase{line, nullptr, word, echo};
}

template <size_t N>
void expectLines(const LineCase (&cases)[N])
{
    for (const LineCase& c : cases) {
        Checked result = check(c.line);
        if (c.tokens != nullptr) {
            EXPECT_EQ(c.tokens, result.tokens) << c.line;
            EXPECT_EQ(c.echo + blankOutLine(), result.output) << c.line;
        } else {
            EXPECT_EQ("<null>", result.tokens) << c.line;
            EXPECT_EQ(c.echo + rejection(c.rejectedAt), result.output) << c.line;
        }
    }
}

TEST(GrammarTest, AdapterCommands)
{
    const LineCase cases[] = {
        ok("-AdpAllInfo -aALL ", "ADPALLINFO ALL_ADAPTER"),
        ok("-AdpAllInfo -a0,1,2 ", "ADPALLINFO ADAPTER NUMBER(0) NUMBER(1) NUMBER(2)", ",,"),
        no("-AdpAllInfo ", "-AdpAllInfo"),
        no("-AdpAllInfo -a ", "-a"),
        no("-AdpAllInfo -aALL -a0 ", "-a"),
        ok("-v ", "APPVERSION"),
        ok("-v -aALL ", "APPVERSION ALL_ADAPTER"),
        ok("-AdpCount ", "ADPCOUNT"),
        no("-AdpCount -a0 ", "-a"),
        ok("-AdpList ", "ADPLIST"),
        ok("-h ", "HELP_SHT"),
        ok("-help topic ", "HELP ALPHANUM_CONSTANT(topic)"),
        ok("-? topic -a0 ", "Q_MARK ALPHANUM_CONSTANT(topic) ADAPTER NUMBER(0)"),
        ok("-h -a0 ", "HELP_SHT ALPHANUM_CONSTANT(-a0)"),
        ok("-AdpAutoRbld -Dsbl -a0 ", "ADPAUTORBLD DISABLE ADAPTER NUMBER(0)"),
        no("-AdpAutoRbld -a0 ", "-a"),
        ok("-AdpFacDefSet -a0 ", "ADPFACDEFSET ADAPTER NUMBER(0)"),
        ok("-AdpCacheFlush -aALL ", "ADPCACHEFLUSH ALL_ADAPTER"),
        ok("-ShowSummary -f sum.txt -a0 ",
           "SHOWSUMMARY FILE ALPHANUM_CONSTANT(sum.txt) ADAPTER NUMBER(0)"),
        ok("-AdpSetProp -RebuildRate 30 -a0 ",
           "SET_ADPPROPERTY REBUILDRATE NUMBER(30) ADAPTER NUMBER(0)"),
        ok("-AdpSetProp AlarmSilence -aALL ", "SET_ADPPROPERTY ADPALARMSILENCE ALL_ADAPTER"),
        ok("-AdpSetProp -DefaultSnapshotSpace 10% -a0 ",
           "SET_ADPPROPERTY DEFAULT_SNAPSHOT_SPACE NUMBER(10) PERCENT ADAPTER NUMBER(0)"),
        ok("-AdpSetProp -DefaultLdPsPolicy -Automatic -a0 ",
           "SET_ADPPROPERTY DEFAULTLDPSPOLICY AUTO ADAPTER NUMBER(0)"),
        ok("-AdpSetProp -PerfMode 1 -MaxFlushLines 4 -NumIOsToOrder 8 -a0 ",
           "SET_ADPPROPERTY PERFMODE NUMBER(1) MAXFLUSHLINES NUMBER(4) NUMIOSTOORDER NUMBER(8) "
           "ADAPTER NUMBER(0)"),
        no("-AdpSetProp -RebuildRate -a0 ", "-a"),
        no("-AdpSetProp -RebuildRate 30 -CCRate 30 -a0 ", "-CCRate"),
        ok("-AdpGetProp -RebuildRate -aALL ", "GET_ADPPROPERTY REBUILDRATE ALL_ADAPTER"),
        no("-AdpGetProp -RebuildRate 5 -aALL ", "5"),
        ok("-AdpBios -SOE -a0 ", "ADPBIOS STOPONERROR ADAPTER NUMBER(0)"),
        ok("-AdpBootDrive -Set -L1 -a0 ",
           "ADPBOOTDRV SET LOGICAL_DRIVE NUMBER(1) ADAPTER NUMBER(0)"),
        ok("-AdpBootDrive -Unset -PhysDrv[32:1] -a0 ",
           "ADPBOOTDRV UNSET PHYSDRV CHANNEL_TARGET_LIST(32:1) ADAPTER NUMBER(0)"),
        no("-AdpBootDrive -Set -L1,2 -a0 ", "2", ","),
        ok("-AdpGetTime -a0 ", "GETTIME ADAPTER NUMBER(0)"),
        ok("-AdpSetTime 20240131 10 20 30 -a0 ",
           "SETTIME NUMBER(20240131) NUMBER(10) NUMBER(20) NUMBER(30) ADAPTER NUMBER(0)"),
        no("-AdpSetTime 20240131 10 20 -a0 ", "-a"),
        ok("-AdpSetSasA 500605b0 -a0 ", "ADPSETSASA ALPHANUM_CONSTANT(500605b0) ADAPTER NUMBER(0)"),
        no("-AdpSetSasA 500605b0 -aALL ", "-aALL"),
        no("-AdpSetSasA 500605b0 -a0,1 ", "1", ","),
        ok("-AdpSettings -Read -f s.bin -a0 ",
           "ADPSETTINGS ADPSTGREAD FILE ALPHANUM_CONSTANT(s.bin) ADAPTER NUMBER(0)"),
        ok("-AdpFactorySettings -SetSasAddress -f f.txt -a0 ",
           "ADPFACTORYSETTINGS SETSASADDR FILE ALPHANUM_CONSTANT(f.txt) ADAPTER NUMBER(0)"),
        ok("-AdpEventLog -GetEventLogInfo -aALL ", "ADPEVENTLOG GETEVENTLOGINFO ALL_ADAPTER"),
        ok("-AdpEventLog -GetEvents -fatal -info -f ev.log -a0 ",
           "ADPEVENTLOG GETEVENTS EVENT_FATAL PRINFO FILE ALPHANUM_CONSTANT(ev.log) ADAPTER "
           "NUMBER(0)"),
        ok("-AdpEventLog -GetLatest 20 -warning -critical -aALL ",
           "ADPEVENTLOG GETLATEST NUMBER(20) EVENT_WARNING EVENT_CRITICAL ALL_ADAPTER"),
        no("-AdpEventLog -GetEvents -warning -info -warning -a0 ", "-warning"),
        ok("-AdpEventLog -GetCCIncon -f cc.log -LALL -a0 ",
           "ADPEVENTLOG GETCCINCON FILE ALPHANUM_CONSTANT(cc.log) ALL_LOGICAL_DRIVE ADAPTER "
           "NUMBER(0)"),
        no("-AdpEventLog -Clear -info -a0 ", "-info"),
        ok("-FwTermLog -BbuOff -a0 ", "ADPTERMLOG BBUOFF ADAPTER NUMBER(0)"),
        ok("-AdpDiag -a0 ", "ADPDIAG ADAPTER NUMBER(0)"),
        ok("-AdpDiag 60 -a0 ", "ADPDIAG NUMBER(60) ADAPTER NUMBER(0)"),
        ok("-AdpBatTest -a0 ", "ADPBATTEST ADAPTER NUMBER(0)"),
        ok("-AdpPR -Info -aALL ", "ADPPR PRINFO ALL_ADAPTER"),
        ok("-AdpPR -SetStartTime 20240131 10 -a0 ",
           "ADPPR START_TIME NUMBER(20240131) NUMBER(10) ADAPTER NUMBER(0)"),
        ok("-AdpPR -SSDPatrolReadEnbl -a0 ", "ADPPR PR_SSD_ENABLE ADAPTER NUMBER(0)"),
        no("-AdpPR -Start -Stop -a0 ", "-Stop"),
        ok("-AdpNVRAM -Read -f nv.bin -StartOffset 0x10 -EndOffset 0x20 -a0 ",
           "ADPNVRAM ADPSTGREAD FILE ALPHANUM_CONSTANT(nv.bin) STARTOFFSET "
           "ALPHANUM_CONSTANT(0x10) ENDOFFSET ALPHANUM_CONSTANT(0x20) ADAPTER NUMBER(0)"),
        ok("-LDGetNum -a0 ", "LDNUMBER ADAPTER NUMBER(0)"),
        ok("-PDGetNum -aALL ", "PDNUMBER ALL_ADAPTER"),
        ok("-AdpFwFlash -f fw.rom -NoSigChk -NoVerChk -a0 ",
           "ADPFWFLASH FILE ALPHANUM_CONSTANT(fw.rom) NOSIGCHK NOVERCHK ADAPTER NUMBER(0)"),
        ok("-AdpFwFlash -f fw.rom -ResetNow -NoVerChk -NoSigChk -FwType 2 -aALL ",
           "ADPFWFLASH FILE ALPHANUM_CONSTANT(fw.rom) NORESETNOW NOVERCHK NOSIGCHK FWTYPE "
           "NUMBER(2) ALL_ADAPTER"),
        no("-AdpFwFlash -f fw.rom -NoSigChk -ResetNow -a0 ", "-ResetNow"),
        no("-AdpFwFlash -f fw.rom -NoSigChk -NoSigChk -a0 ", "-NoSigChk"),
        ok("-AdpM0Flash -f m0.bin ", "ADPM0FLASH FILE ALPHANUM_CONSTANT(m0.bin)"),
        no("-AdpM0Flash -f m0.bin -a0 ", "-a"),
        ok("-PhyInfo -Phy 3 -a0 ", "PHYINFO PHY NUMBER(3) ADAPTER NUMBER(0)"),
        ok("-AdpBbuCmd -a0 ", "ADPBBUCMD ADAPTER NUMBER(0)"),
        ok("-AdpBbuCmd -GetGGEEPData -Offset 0x10 -NumBytes 16 -a0 ",
           "ADPBBUCMD GETGGEEPDATA OFFSET ALPHANUM_CONSTANT(0x10) NUMBYTES NUMBER(16) ADAPTER "
           "NUMBER(0)"),
        ok("-AdpBbuCmd -ScheduleLearn -StartTime Mon 10 -a0 ",
           "ADPBBUCMD SCHEDULELEARN STARTTIME ALPHANUM_CONSTANT(Mon) NUMBER(10) ADAPTER NUMBER(0)"),
        ok("-AdpSetVerify -f v.txt -a0 ", "ADPSETVERIFY FILE ALPHANUM_CONSTANT(v.txt) ADAPTER NUMBER(0)"),
        ok("-AdpShutDown -a0 ", "ADPSHUTDOWN ADAPTER NUMBER(0)"),
        ok("-AdpGetConnectorMode -ConnectorAll -a0 ", "MUXGETMODE MUX_ALL ADAPTER NUMBER(0)"),
        ok("-AdpSetConnectorMode -Internal -Connector 0,1 -a0 ",
           "MUXSETMODE MUXINTERNAL MUXNUM NUMBER(0) NUMBER(1) ADAPTER NUMBER(0)", ","),
        ok("-AdpMfgSet -f m.txt -a0 ", "MFGSETTINGS FILE ALPHANUM_CONSTANT(m.txt) ADAPTER NUMBER(0)"),
        ok("-AdpCcSched -ModeConc -ExcludeLD -L0,1 -SetStartTime 20240131 10 -SetDelay 24 -a0 ",
           "CC_SCHEDULING MODECONC EXCLUDE_LD LOGICAL_DRIVE NUMBER(0) NUMBER(1) START_TIME "
           "NUMBER(20240131) NUMBER(10) PRSETDELAY NUMBER(24) ADAPTER NUMBER(0)",
           ","),
        no("-AdpCcSched -ModeSeq -SetDelay 24 -SetStartTime 20240131 10 -a0 ", "-SetStartTime"),
        ok("-AdpSetVerifyRaw -f r.txt -a0 ",
           "ADPSETVERIFY_RAW FILE ALPHANUM_CONSTANT(r.txt) ADAPTER NUMBER(0)"),
        ok("-AdpUpdatePersistentPage -Clear -a0 ", "ADPUPDATEPERSISTENTCFGPAGE CLEAR ADAPTER NUMBER(0)"),
        ok("-AdpCfgPage -Read 1 -PageType mfg 0 100 -f page.bin -a0 ",
           "ADPCFGPAGE ADPSTGREAD NUMBER(1) PAGETYPE ALPHANUM_CONSTANT(mfg) NUMBER(0) NUMBER(100) "
           "FILE ALPHANUM_CONSTANT(page.bin) ADAPTER NUMBER(0)"),
        ok("-AdpFwDump ", "ADPFWDUMP"),
        ok("-AdpFwDump -f dump.bin ", "ADPFWDUMP FILE ALPHANUM_CONSTANT(dump.bin)"),
        ok("-AdpSetSubOEMId 0x12 -a0 ", "ADPSETSUBOEMID ALPHANUM_CONSTANT(0x12) ADAPTER NUMBER(0)"),
        ok("-AdpGetSubOEMId -a0 ", "ADPGETSUBOEMID ADAPTER NUMBER(0)"),
        ok("-AdpInfoCompare -CheckFw 1.2.3 -a0 ",
           "ADPINFOCOMPARE COMPARE_FW ALPHANUM_CONSTANT(1.2.3) ADAPTER NUMBER(0)"),
        ok("-AdpNameRtn -a0 ", "ADPNAMERTN ADAPTER NUMBER(0)"),
        ok("-AdpAliLog -a0 ", "ADPALILOG ADAPTER NUMBER(0)"),
        ok("-EncStatus -aALL ", "ENCSTATUS ALL_ADAPTER"),
        ok("-PerfMon -Start -Interval 5 -a0 ", "PERFMON START INTERVAL NUMBER(5) ADAPTER NUMBER(0)"),
        ok("-PerfMon -GetResults -Format CSV -f out.csv -a0 ",
           "PERFMON GET_RESULTS FORMAT CSV FILE ALPHANUM_CONSTANT(out.csv) ADAPTER NUMBER(0)"),
        ok("-AdpGetPciInfo -a0 ", "ADPGETPCIINFO ADAPTER NUMBER(0)"),
        ok("-DpmStat -Dsply -Lct -PhysDrv[32:1] -a0 ",
           "DPMSTAT DISPLAY DPM_LCT PHYSDRV CHANNEL_TARGET_LIST(32:1) ADAPTER NUMBER(0)"),
        no("-DpmStat -Clear -Hist -PhysDrv[32:1] -a0 ", "-PhysDrv"),
        ok("-AdpAEC -Filter 1 -Group 2 -a0 ", "ADPAEC FILTER NUMBER(1) GROUP NUMBER(2) ADAPTER NUMBER(0)"),
        ok("-AdpAEC -CaptureMode -Continuous -a0 ", "ADPAEC CAPTURE_MODE CONTINUOUS ADAPTER NUMBER(0)"),
        ok("-FullStrSeekTest -a0 ", "FULLSTRSEEKTEST ADAPTER NUMBER(0)"),
        ok("-Version -Ctrl -aALL ", "CLIVERSION CTRL ALL_ADAPTER"),
        ok("-BbuMfgSet -f b.txt -a0 ", "BBUMFGSET FILE ALPHANUM_CONSTANT(b.txt) ADAPTER NUMBER(0)"),
        ok("-AdpHWDevice -Read -DeviceType 1 -Start 0 -Sz 16 -f x.bin -a0 ",
           "ADPHWDEVICE ADPSTGREAD DEVICETYPE NUMBER(1) START NUMBER(0) SIZE NUMBER(16) FILE "
           "ALPHANUM_CONSTANT(x.bin) ADAPTER NUMBER(0)"),
        no("-AdpHWDevice -Write -DeviceType 1 -Start 0 -Sz 16 -f x.bin -a0 ", "-Sz"),
        ok("-AdpGetVpd -a0 ", "ADPGETVPD ADAPTER NUMBER(0)"),
        ok("-AdpSetVpd -f vpd.bin -a0 ", "ADPSETVPD FILE ALPHANUM_CONSTANT(vpd.bin) ADAPTER NUMBER(0)"),
        ok("-PciSetLinkSpeed 3 -a0 ", "PCISETLINKSPEED NUMBER(3) ADAPTER NUMBER(0)"),
        ok("-AdpDowngrade -a0 ", "ADPDOWNGRADE ADAPTER NUMBER(0)"),
        ok("-AdpRestart -aALL ", "ADPRESTART ALL_ADAPTER"),
        ok("-SetDelay 5 -a0 ", "PRSETDELAY NUMBER(5) ADAPTER NUMBER(0)"),
        ok("-AdpRaidInfo -a0 ", "ADPRAIDINFO ADAPTER NUMBER(0)"),
    };
    expectLines(cases);
}

TEST(GrammarTest, LogicalDriveCommands)
{
    const LineCase cases[] = {
        ok("-LDInfo -Lall -aAll ", "LDINFO ALL_LOGICAL_DRIVE ALL_ADAPTER"),
        ok("-LDInfo -L0,1 -a0 ", "LDINFO LOGICAL_DRIVE NUMBER(0) NUMBER(1) ADAPTER NUMBER(0)", ","),
        no("-LDInfo -a0 ", "-a"),
        ok("-LDCC -Start -Force -L0 -a0 ", "LDCC START FORCE LOGICAL_DRIVE NUMBER(0) ADAPTER NUMBER(0)"),
        ok("-LDInit -Start -Full -L0 -a0 ", "LDINIT START FULL LOGICAL_DRIVE NUMBER(0) ADAPTER NUMBER(0)"),
        no("-LDInit -Start -Force -L0 -a0 ", "-Force"),
        ok("-LDBI -GetSetting -LALL -aALL ", "LDBI GETSETTING ALL_LOGICAL_DRIVE ALL_ADAPTER"),
        ok("-LDPDInfo -aALL ", "LDPDINFO ALL_ADAPTER"),
        ok("-LDRecon -Start -r5 -Add -PhysDrv[32:3] -L0 -a0 ",
           "LDRECON START RAID NUMBER(5) ADD PHYSDRV CHANNEL_TARGET_LIST(32:3) LOGICAL_DRIVE "
           "NUMBER(0) ADAPTER NUMBER(0)"),
        no("-LDRecon -ShowProg -L0 -aALL ", "-aALL"),
        no("-LDRecon -ShowProg -L0,1 -a0 ", "1", ","),
        ok("-LDGetProp -Cache -L0 -a0 ", "GET_LDPROPERTY CACHE LOGICAL_DRIVE NUMBER(0) ADAPTER NUMBER(0)"),
        ok("-LDGetProp -Name -L0 -a0 ", "GET_LDPROPERTY NAME LOGICAL_DRIVE NUMBER(0) ADAPTER NUMBER(0)"),
        ok("-LDSetProp -Name My-VD -L0 -a0 ",
           "SET_LDPROPERTY NAME ALPHANUM_CONSTANT(My-VD) LOGICAL_DRIVE NUMBER(0) ADAPTER NUMBER(0)"),
        ok("-LDSetProp WT -Immediate -Lall -aAll ", "SET_LDPROPERTY WT IMMEDIATE ALL_LOGICAL_DRIVE ALL_ADAPTER"),
        ok("-LDSetProp -Cached -L0 -a0 ", "SET_LDPROPERTY CIO LOGICAL_DRIVE NUMBER(0) ADAPTER NUMBER(0)"),
        no("-LDSetProp WT RA -L0 -a0 ", "RA"),
        ok("-CfgLdDel -L0 -Force -a0 ", "LDDEL LOGICAL_DRIVE NUMBER(0) FORCE ADAPTER NUMBER(0)"),
        ok("-LDMakeSecure -L0 -a0 ", "LDMAKESECURE LOGICAL_DRIVE NUMBER(0) ADAPTER NUMBER(0)"),
        ok("-GetPreservedCacheList -a0 ", "PRESERVEDCACHELIST ADAPTER NUMBER(0)"),
        ok("-DiscardPreservedCache -L1 -Force -a0 ",
           "DISCARDPRESERVEDCACHE LOGICAL_DRIVE NUMBER(1) FORCE ADAPTER NUMBER(0)"),
        ok("-LDBBMClr -L0 -a0 ", "LDBBMCLR LOGICAL_DRIVE NUMBER(0) ADAPTER NUMBER(0)"),
        ok("-GetLDExpansionInfo -L0 -a0 ", "GETLDEXPANSIONINFO LOGICAL_DRIVE NUMBER(0) ADAPTER NUMBER(0)"),
        ok("-LDExpansion -p 20 -dontExpandArray -L0 -a0 ",
           "LDEXPANSION PERCENTAGE NUMBER(20) DONTEXPANDARRAY LOGICAL_DRIVE NUMBER(0) ADAPTER NUMBER(0)"),
        ok("-LDBreakMirror -L0 -a0 ", "LDBREAKMIRROR LOGICAL_DRIVE NUMBER(0) ADAPTER NUMBER(0)"),
        ok("-LDViewMirror -L0 -a0 ", "LDVIEWMIRROR LOGICAL_DRIVE NUMBER(0) ADAPTER NUMBER(0)"),
        ok("-LDJoinMirror -DataSrc 1 -Force -L0 -a0 ",
           "LDJOINMIRROR DATASRC NUMBER(1) FORCE LOGICAL_DRIVE NUMBER(0) ADAPTER NUMBER(0)"),
        ok("-LDSetPowerPolicy -Default -L0 -a0 ",
           "LDSETPOWERPOLICY DEFAULT LOGICAL_DRIVE NUMBER(0) ADAPTER NUMBER(0)"),
        no("-LDSetPowerPolicy -L0 -a0 ", "-L"),
        ok("-SecureErase -Start -Normal -ErasePattern aa -ErasePattern bb -L0 -a0 ",
           "SECUREERASE START NORMAL ERASEPATTERN ALPHANUM_CONSTANT(aa) ERASEPATTERN "
           "ALPHANUM_CONSTANT(bb) LOGICAL_DRIVE NUMBER(0) ADAPTER NUMBER(0)"),
        no("-SecureErase -Start -Simple -ErasePattern aa -ErasePattern bb -L0 -a0 ", "-ErasePattern"),
        ok("-SecureErase -Start -Simple -DeleteVD -PhysDrv[32:1] -a0 ",
           "SECUREERASE START SIMPLE DELETEVD PHYSDRV CHANNEL_TARGET_LIST(32:1) ADAPTER NUMBER(0)"),
        ok("-GetBbtEntries -L0 -a0 ", "LDGETBBTENTRIES LOGICAL_DRIVE NUMBER(0) ADAPTER NUMBER(0)"),
    };
    expectLines(cases);
}

TEST(GrammarTest, ConfigurationCommands)
{
    const LineCase cases[] = {
        ok("-CfgLdAdd -r5 [32:1,32:2,32:3] -sz1.5 -a0 ",
           "ADPCFGADD RAID NUMBER(5) CHANNEL_TARGET_LIST(32:1,32:2,32:3) SIZE DEC_NUMBER(1.5) "
           "ADAPTER NUMBER(0)",
           " "),
        // The four policy groups in any order, each at most once.
        ok("-CfgLdAdd -r1 [32:1,32:2] NORA WT -a0 ",
           "ADPCFGADD RAID NUMBER(1) CHANNEL_TARGET_LIST(32:1,32:2) RAN WT ADAPTER NUMBER(0)"),
        ok("-CfgLdAdd -r1 [32:1,32:2] -NoCachedBadBBU Direct ADRA WB -a0 ",
           "ADPCFGADD RAID NUMBER(1) CHANNEL_TARGET_LIST(32:1,32:2) CACHE_BADBBU_NO DIO RAA WB "
           "ADAPTER NUMBER(0)"),
        no("-CfgLdAdd -r1 [32:1,32:2] WB RA WT -a0 ", "WT"),
        // Several sizes on one side of the stripe size, not on both.
        ok("-CfgLdAdd -r0 [32:1] -sz 100 GB -sz 200 -strpsz 64 -a0 ",
           "ADPCFGADD RAID NUMBER(0) CHANNEL_TARGET_LIST(32:1) SIZE NUMBER(100) SZ_GB SIZE "
           "NUMBER(200) STRPSZ NUMBER(64) ADAPTER NUMBER(0)"),
        ok("-CfgLdAdd -r0 [32:1] -strpsz 64 -sz 100 -sz 200 -a0 ",
           "ADPCFGADD RAID NUMBER(0) CHANNEL_TARGET_LIST(32:1) STRPSZ NUMBER(64) SIZE NUMBER(100) "
           "SIZE NUMBER(200) ADAPTER NUMBER(0)"),
        no("-CfgLdAdd -r0 [32:1] -sz 100 -strpsz 64 -sz 200 -a0 ", "-sz"),
        ok("-CfgLdAdd -r1 [32:1,32:2] -Hsp[32:5] -AfterLd 2 -FDE -Maximum -Cache -EnblPI -Force -a0 ",
           "ADPCFGADD RAID NUMBER(1) CHANNEL_TARGET_LIST(32:1,32:2) HOTSPARE "
           "CHANNEL_TARGET_LIST(32:5) AFTERLD NUMBER(2) FDE MAX CACHE ENBLPI FORCE ADAPTER NUMBER(0)"),
        no("-CfgLdAdd -r1 [32:1,32:2] -EnblPI -Cache -a0 ", "-Cache"),
        no("-CfgLdAdd -r1 [32:1,32:2] -a0,1 ", "1", ","),
        no("-CfgLdAdd -r1 [32:1,32:2] -aALL ", "-aALL"),
        no("-CfgLdAdd -r1 -a0 ", "-a"),
        ok("-CfgSpanAdd -r10 -Array0[32:1,32:2] -Array1[32:3,32:4] -Force -Cache -a0 ",
           "ADPCFGSPANADD RAID NUMBER(10) ARRAY NUMBER(0) CHANNEL_TARGET_LIST(32:1,32:2) ARRAY "
           "NUMBER(1) CHANNEL_TARGET_LIST(32:3,32:4) FORCE CACHE ADAPTER NUMBER(0)"),
        no("-CfgSpanAdd -r10 -Array0[32:1,32:2] -a0 ", "-a"),
        no("-CfgSpanAdd -r10 -Array0[32:1,32:2] -Array1[32:3,32:4] -Cache -Force -a0 ", "-Force"),
        ok("-CfgSpanAdd -r50 -Array0[1:1,1:2,1:3] -Array1[1:4,1:5,1:6] -Array2[1:7,1:8,1:9] "
           "-EnblPI -Force -a0 ",
           "ADPCFGSPANADD RAID NUMBER(50) ARRAY NUMBER(0) CHANNEL_TARGET_LIST(1:1,1:2,1:3) ARRAY "
           "NUMBER(1) CHANNEL_TARGET_LIST(1:4,1:5,1:6) ARRAY NUMBER(2) "
           "CHANNEL_TARGET_LIST(1:7,1:8,1:9) ENBLPI FORCE ADAPTER NUMBER(0)"),
        ok("-CfgEachDskRaid0 WB RA Direct -strpsz 64 -aALL ",
           "ADPCFGEACHDSKRAID0 WB RA DIO STRPSZ NUMBER(64) ALL_ADAPTER"),
        ok("-CfgEachDskRaid0 -strpsz 64 WT -aALL ",
           "ADPCFGEACHDSKRAID0 STRPSZ NUMBER(64) WT ALL_ADAPTER"),
        ok("-CfgAllFreeDrv -r5 -SATAOnly -SpanCount 2 WB -strpsz 64 -HspCount 1 -HspType "
           "-Dedicated -EnclAffinity -nonRevertible -a0 ",
           "ADPCFGALLFREEDRV RAID NUMBER(5) SATAONLY SPAN_COUNT NUMBER(2) WB STRPSZ NUMBER(64) "
           "HSP_COUNT NUMBER(1) HSP_TYPE DEDICATED ENCL_AFFINITY NONREVERTIBLE ADAPTER NUMBER(0)"),
        ok("-CfgDsply -aALL ", "ADPCFGDISP ALL_ADAPTER"),
        ok("-CfgSave -f cfg.txt -a0 ", "ADPCFGSAVE FILE ALPHANUM_CONSTANT(cfg.txt) ADAPTER NUMBER(0)"),
        ok("-AdpCfgRestore -f cfg.txt -a0 ",
           "ADPCFGRESTORE FILE ALPHANUM_CONSTANT(cfg.txt) ADAPTER NUMBER(0)"),
        ok("-CfgClr -Force -aALL ", "ADPCFGCLR FORCE ALL_ADAPTER"),
        ok("-CfgFreeSpaceInfo -a0 ", "ADPFREESPACEINFO ADAPTER NUMBER(0)"),
        no("-CfgForeign -Scan 1 -a0 ", "1"),
        ok("-CfgForeign -Import 1 -a0 ", "ADPFRNCFG IMPORT NUMBER(1) ADAPTER NUMBER(0)"),
        ok("-CfgForeign -Scan -SecurityKey Abc! -a0 ",
           "ADPFRNCFG SCAN SECURITYKEY ALPHANUM_CONSTANT(Abc!) ADAPTER NUMBER(0)"),
        ok("-CfgTidewellAdd -PhysDrv[32:1] -Name fast -WB -a0 ",
           "CFGTIDEWELLADD PHYSDRV CHANNEL_TARGET_LIST(32:1) NAME ALPHANUM_CONSTANT(fast) WB ADAPTER "
           "NUMBER(0)"),
        ok("-CfgTidewellAdd -r0 -PhysDrv[32:1] -Assign -L0 -a0 ",
           "CFGTIDEWELLADD RAID NUMBER(0) PHYSDRV CHANNEL_TARGET_LIST(32:1) ASSIGN LOGICAL_DRIVE "
           "NUMBER(0) ADAPTER NUMBER(0)"),
        ok("-CfgTidewellDel -L0 -a0 ", "CFGTIDEWELLDEL LOGICAL_DRIVE NUMBER(0) ADAPTER NUMBER(0)"),
        ok("-Tidewell -Assign -L0 -a0 ", "TIDEWELL ASSIGN LOGICAL_DRIVE NUMBER(0) ADAPTER NUMBER(0)"),
        ok("-CfgTidewellDsply -a0 ", "TIDEWELLDSPLY ADAPTER NUMBER(0)"),
    };
    expectLines(cases);
}

TEST(GrammarTest, PhysicalDriveAndEnclosureCommands)
{
    const LineCase cases[] = {
        ok("-PDList -aALL ", "PDLIST ALL_ADAPTER"),
        ok("-PDInfo -PhysDrv[32:1] -a0 ", "PDINFO PHYSDRV CHANNEL_TARGET_LIST(32:1) ADAPTER NUMBER(0)"),
        ok("-PDInfo -PhysDrv [32:1] -a0 ", "PDINFO PHYSDRV CHANNEL_TARGET_LIST(32:1) ADAPTER NUMBER(0)"),
        // A malformed list is no list: the grammar stops at the first number.
        no("-PDInfo -PhysDrv[32:1,] -a0 ", "32", "["),
        no("-PDInfo -PhysDrv[1] -a0 ", "[1"),
        ok("-PDOffline -PhysDrv[32:1] -a0 ", "PDOFFLINE PHYSDRV CHANNEL_TARGET_LIST(32:1) ADAPTER NUMBER(0)"),
        ok("-PDOnline -PhysDrv[32:1] -a0 ", "PDONLINE PHYSDRV CHANNEL_TARGET_LIST(32:1) ADAPTER NUMBER(0)"),
        ok("-PDRbld -Start -PhysDrv[32:1] -a0 ",
           "PDRBLD START PHYSDRV CHANNEL_TARGET_LIST(32:1) ADAPTER NUMBER(0)"),
        no("-PDRbld -PhysDrv[32:1] -a0 ", "-PhysDrv"),
        ok("-PDClear -ShowProg -PhysDrv[32:1] -a0 ",
           "PDCLEAR SHOWPROG PHYSDRV CHANNEL_TARGET_LIST(32:1) ADAPTER NUMBER(0)"),
        ok("-PDMarkMissing -PhysDrv[32:1] -a0 ",
           "PDMARKMISSING PHYSDRV CHANNEL_TARGET_LIST(32:1) ADAPTER NUMBER(0)"),
        ok("-PDGetMissing -a0 ", "PDGETMISSING ADAPTER NUMBER(0)"),
        ok("-PDReplaceMissing -PhysDrv[32:1] -Array0 -row1 -a0 ",
           "PDREPLACEMISSING PHYSDRV CHANNEL_TARGET_LIST(32:1) ARRAY NUMBER(0) ROWNUM NUMBER(1) "
           "ADAPTER NUMBER(0)"),
        ok("-PDLocate -PhysDrv[32:1] -a0 ", "PDLOCATE PHYSDRV CHANNEL_TARGET_LIST(32:1) ADAPTER NUMBER(0)"),
        ok("-PDLocate -Stop -PhysDrv[32:1] -a0 ",
           "PDLOCATE STOP PHYSDRV CHANNEL_TARGET_LIST(32:1) ADAPTER NUMBER(0)"),
        ok("-PDPrpRmv -Undo -PhysDrv[32:1] -a0 ",
           "PDPRPRMV UNDO PHYSDRV CHANNEL_TARGET_LIST(32:1) ADAPTER NUMBER(0)"),
        ok("-PDHSP -Set -PhysDrv[32:1] -a0 ", "PDHSP SET PHYSDRV CHANNEL_TARGET_LIST(32:1) ADAPTER NUMBER(0)"),
        ok("-PDHSP -Set -Dedicated -Array0,1 -EnclAffinity -nonRevertible -PhysDrv[32:1] -a0 ",
           "PDHSP SET DEDICATED ARRAY NUMBER(0) NUMBER(1) ENCL_AFFINITY NONREVERTIBLE PHYSDRV "
           "CHANNEL_TARGET_LIST(32:1) ADAPTER NUMBER(0)",
           ","),
        ok("-PDHSP -Set -Dedicated -EnclAffinity -Array0 -PhysDrv[32:1] -a0 ",
           "PDHSP SET DEDICATED ENCL_AFFINITY ARRAY NUMBER(0) PHYSDRV CHANNEL_TARGET_LIST(32:1) "
           "ADAPTER NUMBER(0)"),
        no("-PDHSP -Set -Dedicated -nonRevertible -Array0 -PhysDrv[32:1] -a0 ", "-nonRevertible"),
        no("-PDHSP -Set -Dedicated -PhysDrv[32:1] -a0 ", "-PhysDrv"),
        ok("-PDHSP -Rmv -PhysDrv[32:1] -a0 ", "PDHSP RMV PHYSDRV CHANNEL_TARGET_LIST(32:1) ADAPTER NUMBER(0)"),
        ok("-PDMakeGood -PhysDrv[32:1] -Force -a0 ",
           "PDMAKEGOOD PHYSDRV CHANNEL_TARGET_LIST(32:1) FORCE ADAPTER NUMBER(0)"),
        ok("-PdFwDownload -PhysDrv[32:1] -f fw.bin -a0 ",
           "PDFWDOWNLOAD PHYSDRV CHANNEL_TARGET_LIST(32:1) FILE ALPHANUM_CONSTANT(fw.bin) ADAPTER "
           "NUMBER(0)"),
        ok("-PdFwFlash -Offline -ForceActivate -EncDevId[1,2] -f fw.bin -Mode 7 -a0 ",
           "PDFWDOWNLOAD OFFLINE FORCEACTIVATE ENCDEVID ENCDEVID_LIST(1,2) FILE "
           "ALPHANUM_CONSTANT(fw.bin) MODE NUMBER(7) ADAPTER NUMBER(0)"),
        no("-PdFwDownload -SataBridge -EncDevId[1] -f fw.bin -a0 ", "-EncDevId"),
        ok("-PhyErrorCounters -a0 ", "PHYERRORCOUNTERS ADAPTER NUMBER(0)"),
        ok("-DirectPdMapping -Dsply -a0 ", "DIRECTPDMAPPING DISPLAY ADAPTER NUMBER(0)"),
        ok("-PDCpyBk -Start -PhysDrv[32:1,32:2] -a0 ",
           "PDCPYBK START PHYSDRV CHANNEL_TARGET_LIST(32:1,32:2) ADAPTER NUMBER(0)"),
        ok("-PdAtaIdData -PhysDrv[32:1] -f id.bin -a0 ",
           "PDATAIDDATA PHYSDRV CHANNEL_TARGET_LIST(32:1) FILE ALPHANUM_CONSTANT(id.bin) ADAPTER "
           "NUMBER(0)"),
        ok("-PDReprovision -PhysDrv[32:1] -Force -a0 ",
           "PDREPROVISION PHYSDRV CHANNEL_TARGET_LIST(32:1) FORCE ADAPTER NUMBER(0)"),
        ok("-PDMakeJBOD -PhysDrv[32:1] -a0 ", "PDMAKESYSTEM PHYSDRV CHANNEL_TARGET_LIST(32:1) ADAPTER NUMBER(0)"),
        ok("-PDInstantSecureErase -PhysDrv[32:1] -a0 ",
           "PDINSTANTSECUREERASE PHYSDRV CHANNEL_TARGET_LIST(32:1) ADAPTER NUMBER(0)"),
        ok("-PhySetLinkSpeed -Phy 1 3 -a0 ", "PHYSETLINKSPEED PHY NUMBER(1) NUMBER(3) ADAPTER NUMBER(0)"),
        ok("-EncInfo -aALL ", "ENCINFO ALL_ADAPTER"),
        ok("-EncList -a0 ", "ENCLSHOWENCLLIST ADAPTER NUMBER(0)"),
        ok("-ShowPdList -Encl 1 -a0 ", "ENCLSHOWPDLIST ENCL NUMBER(1) ADAPTER NUMBER(0)"),
        ok("-EnclLocate -Start -Encl 1 -a0 ", "ENCLLOCATE START ENCL NUMBER(1) ADAPTER NUMBER(0)"),
        ok("-EncFwFlash -Encl 1 -Esm A -f fw.bin -a0 ",
           "ENCLFWDOWNLOAD ENCL NUMBER(1) ESM ALPHANUM_CONSTANT(A) FILE ALPHANUM_CONSTANT(fw.bin) "
           "ADAPTER NUMBER(0)"),
        ok("-EnclFacDefSet -Encl 1 -Esm B -a0 ",
           "ENCL_SETFACDEFAULT ENCL NUMBER(1) ESM ALPHANUM_CONSTANT(B) ADAPTER NUMBER(0)"),
        // The page word of this command is the global PAGE option's: no line reaches its rule.
        no("-EncVPD -Page 0 -Encl 1 -a0 ", "-Page"),
    };
    expectLines(cases);
}

TEST(GrammarTest, SecuritySnapshotAndHostCacheCommands)
{
    const LineCase cases[] = {
        ok("-CreateSecurityKey -SecurityKey Abc123! -Passphrase pass -KeyID id1 -a0 ",
           "CREATESECURITYKEY SECURITYKEY ALPHANUM_CONSTANT(Abc123!) PASSPHRASE "
           "ALPHANUM_CONSTANT(pass) KEYID ALPHANUM_CONSTANT(id1) ADAPTER NUMBER(0)"),
        ok("-CreateSecurityKey -UseEKMS -a0 ", "CREATESECURITYKEY USEEKMS ADAPTER NUMBER(0)"),
        no("-CreateSecurityKey -a0 ", "-a"),
        ok("-DestroySecurityKey -Force -a0 ", "DESTROYSECURITYKEY FORCE ADAPTER NUMBER(0)"),
        ok("-DeleteSecurityKey -a0 ", "DELETESECURITYKEY ADAPTER NUMBER(0)"),
        no("-DestroySecurityKey -aALL ", "-aALL"),
        ok("-ChangeSecurityKey -OldSecurityKey a -SecurityKey b -a0 ",
           "CHANGESECURITYKEY OLDSECURITYKEY ALPHANUM_CONSTANT(a) SECURITYKEY ALPHANUM_CONSTANT(b) "
           "ADAPTER NUMBER(0)"),
        ok("-ChangeSecurityKey -UseEKMS -OldPassphrase x -a0 ",
           "CHANGESECURITYKEY USEEKMS OLDPASSPHRASE ALPHANUM_CONSTANT(x) ADAPTER NUMBER(0)"),
        ok("-GetKeyID -a0 ", "GET_KEYID ADAPTER NUMBER(0)"),
        ok("-SetKeyID -KeyID abc -a0 ", "SET_KEYID KEYID ALPHANUM_CONSTANT(abc) ADAPTER NUMBER(0)"),
        ok("-VerifySecurityKey -Passphrase p -a0 ",
           "VERIFYSECURITYKEY PASSPHRASE ALPHANUM_CONSTANT(p) ADAPTER NUMBER(0)"),
        ok("-Snapshot -TakeSnapshot -SnapshotName daily -CreateView -ViewName v1 -RO -L0,1 -a0 ",
           "SNAPSHOT TAKE_SNAPSHOT SNAPSHOT_NAME ALPHANUM_CONSTANT(daily) CREATE_VIEW VIEW_NAME "
           "ALPHANUM_CONSTANT(v1) ACCESS_RO LOGICAL_DRIVE NUMBER(0) NUMBER(1) ADAPTER NUMBER(0)",
           ","),
        ok("-Snapshot -Enbl -SnapshotRepositoryLD 2 -L0 -a0 ",
           "SNAPSHOT ENABLE SNAPSHOT_TARGETID NUMBER(2) LOGICAL_DRIVE NUMBER(0) ADAPTER NUMBER(0)"),
        no("-Snapshot -Enbl -SnapshotRepositoryLD 2 -L0,1 -a0 ", "1", ","),
        ok("-Snapshot -Info -SnapshotTime 2024 1 31 10 -L0 -aALL ",
           "SNAPSHOT PRINFO SNAPSHOT_TIME NUMBER(2024) NUMBER(1) NUMBER(31) NUMBER(10) "
           "LOGICAL_DRIVE NUMBER(0) ALL_ADAPTER"),
        ok("-Snapshot -GetViewInfo -a0 ", "SNAPSHOT VIEW_INFO ADAPTER NUMBER(0)"),
        no("-Snapshot -DeleteSnapshot -LALL -a0 ", "-LALL"),
        ok("-HK -AddVD /dev/sdb ", "TIDEX ADDVD ALPHANUM_CONSTANT(/dev/sdb)"),
        ok("-HK -VDList -Configured ", "TIDEX VDLIST CONFIGURED"),
        ok("-HK -AddCDev /dev/sdc -Force ", "TIDEX ADDCDEV ALPHANUM_CONSTANT(/dev/sdc) FORCE"),
        ok("-HK -BlazeCardInfo -iALL ", "TIDEX BLAZECARDINFO ALL_INDICES"),
        ok("-HK -BlazeCardInfo -i 1 ", "TIDEX BLAZECARDINFO INDEX NUMBER(1)"),
        no("-HK -ConfigInfo -a0 ", "-a"),
    };
    expectLines(cases);
}

TEST(GrammarTest, GlobalOptionsComeLastInTheirOrder)
{
    const LineCase cases[] = {
        ok("-AdpAllInfo -aALL -page ", "ADPALLINFO ALL_ADAPTER PAGEBRK"),
        ok("-AdpAllInfo -aALL -page20 ", "ADPALLINFO ALL_ADAPTER PAGEBRK NUMBER(20)"),
        ok("-AdpAllInfo -aALL -Silent -AppLogFile my.log -SetDbgLevel 3 -LogFile app.log -NoLog "
           "-NewFile -page 20 ",
           "ADPALLINFO ALL_ADAPTER SILENT APP_LOG_FILE_NAME ALPHANUM_CONSTANT(my.log) SET_LOG_LEVEL "
           "NUMBER(3) SET_LOG_FILE_NAME ALPHANUM_CONSTANT(app.log) NOLOG NEWLOGFILE PAGEBRK "
           "NUMBER(20)"),
        ok("-PDList -a0 -Append ", "PDLIST ADAPTER NUMBER(0) APPENDLOGFILE"),
        ok("-AdpAllInfo -aALL -AppLogFile -odd-name.log ",
           "ADPALLINFO ALL_ADAPTER APP_LOG_FILE_NAME ALPHANUM_CONSTANT(-odd-name.log)"),
        no("-AdpAllInfo -aALL -NoLog -Silent ", "-Silent"),
        no("-AdpAllInfo -aALL -Silent -Silent ", "-Silent"),
        no("-AdpAllInfo -aALL -NewFile -Append ", "-Append"),
        no("-AdpAllInfo -aALL -page 20 -NoLog ", "-NoLog"),
        no("-AdpAllInfo -Silent -aALL ", "-Silent"),
        no("-AdpAllInfo -aALL -SetDbgLevel ", "-SetDbgLevel"),
        no("-AdpAllInfo -aALL -page 20 30 ", "30"),
        ok("-h -page ", "HELP_SHT PAGEBRK"),
        ok("-h -Silent ", "HELP_SHT SILENT"),
        ok("-h -AppLogFile x.log ", "HELP_SHT APP_LOG_FILE_NAME ALPHANUM_CONSTANT(x.log)"),
        ok("-h topic -NoLog ", "HELP_SHT ALPHANUM_CONSTANT(topic) NOLOG"),
    };
    expectLines(cases);
}

// A first word that is not in the keyword table ends the reading at once; a known first word
// that is no command word is named and the rest of the line is still read and echoed.
TEST(GrammarTest, FirstWordErrorRules)
{
    struct FirstWordCase {
        const char* line;
        std::string output;
    };
    const FirstWordCase cases[] = {
        {"-Bogus -a0,1 ", rejection("-Bogus")},
        {"-Adp-AllInfo -aALL ", rejection("-Adp")},
        {"-a0 -AdpAllInfo ", rejection("-a0")},
        {" ", rejection("")},
        {"-Silent -a0,1 ", rejection("-Silent") + ","},
        {"-aALL -AdpAllInfo -a0,1,2 ", rejection("-aALL") + ",,"},
        {"-FileCfgDsply -f x -a0;1 ", rejection("-FileCfgDsply") + ";"},
        {"-AdpAlarmEnbl -a0 ", rejection("-AdpAlarmEnbl")},
        {"", rejection("")},
    };
    for (const FirstWordCase& c : cases) {
        Checked result = check(c.line);
        EXPECT_EQ("<null>", result.tokens) << c.line;
        EXPECT_EQ(c.output, result.output) << c.line;
    }
}

TEST(GrammarTest, YyparseResults)
{
    struct ParseCase {
        const char* line;
        int result;
    };
    const ParseCase cases[] = {
        {"-AdpAllInfo -aALL ", GRAMMAR_ACCEPTED},
        {"-AdpAllInfo ", GRAMMAR_SYNTAX_ERROR},
        {"-Bogus ", GRAMMAR_NOT_A_COMMAND},
        {"-Silent ", GRAMMAR_NOT_A_COMMAND},
    };
    for (const ParseCase& c : cases) {
        grammartest::quietPrinter();
        scannerResetState();
        testsupport::StreamCapture captured;
        scannerInit(c.line);
        int result = yyparse();
        deleteTokenList(scannerTakeTokenList());
        scannerRelease();
        captured.take();
        EXPECT_EQ(c.result, result) << c.line;
    }
}

// A line of more words than a token list holds is refused at the first word that does not
// fit, with the grammar's message.
TEST(GrammarTest, LinesBeyondTheTokenLimitAreRejected)
{
    auto adapterLine = [](int numbers) {
        std::string line = "-PDList -a";
        for (int i = 0; i < numbers; ++i)
            line += (i > 0 ? "," : "") + std::to_string(i);
        return line + " ";
    };
    // PDLIST, ADAPTER and 250 numbers: the largest list.
    Checked full = check(adapterLine(SCANNER_MAX_TOKENS - 2));
    EXPECT_NE("<null>", full.tokens);
    EXPECT_EQ(std::string(249, ',') + blankOutLine(), full.output);

    Checked over = check(adapterLine(300));
    EXPECT_EQ("<null>", over.tokens);
    EXPECT_EQ(std::string(250, ',') + rejection("250"), over.output);

    // Also while the rest of a rejected line is read.
    std::string drained = "-Silent " + adapterLine(300).substr(8);
    Checked rest = check(drained);
    EXPECT_EQ(rejection("-Silent") + std::string(299, ','), rest.output);
}

TEST(GrammarTest, NumbersBeyondIntAreRejected)
{
    const LineCase cases[] = {
        ok("-PDList -a2147483647 ", "PDLIST ADAPTER NUMBER(2147483647)"),
        no("-PDList -a2147483648 ", "2147483648"),
        no("-AdpDiag 99999999999999999999 -a0 ", "99999999999999999999"),
        no("-PDList -a0 -page4294967297 ", "4294967297"),
    };
    expectLines(cases);
}

TEST(GrammarTest, TokenizerOwnsTheAcceptedList)
{
    grammartest::quietPrinter();
    scannerResetState();
    testsupport::StreamCapture captured;
    {
        Tokenizer tokenizer;
        ArrayList<Token*>* tokens = tokenizer.tokenize(string("-PDList -a0,1 "));
        ASSERT_NE(nullptr, tokens);
        EXPECT_EQ(4, tokens->count());
        tokens->get(1)->setConsumed(1);
        // A second line replaces (and deletes) the first list.
        scannerResetState();
        EXPECT_EQ(nullptr, tokenizer.tokenize(string("-PDList ")));
    }
    {
        Tokenizer unused;
    }
    std::string output = captured.take();
    EXPECT_EQ("," + blankOutLine() + rejection("-PDList"), output);
}

TEST(GrammarTest, OutOfMemoryWhileScanningRejectsTheLine)
{
    for (unsigned int failures = 1; failures <= 6; ++failures) {
        grammartest::quietPrinter();
        scannerResetState();
        testsupport::StreamCapture captured;
        failNextAllocations(failures);
        ArrayList<Token*>* tokens = tokenize("-PDList -a0 ");
        failNextAllocations(0);
        captured.take();
        deleteTokenList(tokens);
    }
    // Nothing leaked or crashed (the sanitizer build checks); a normal line still works.
    EXPECT_NE("<null>", check("-PDList -a0 ").tokens);
}

// Random lines, made of keywords, values and stray bytes: every line is either accepted with
// the blank-out line last or rejected with exactly one message.
TEST(GrammarTest, RandomLinesEndInOneVerdict)
{
    const char* fragments[] = {"-AdpAllInfo ", "-PDList ", "-CfgLdAdd ", "-h ", "-f ", "-a", "0",
                            ",", "1 ", "-aALL ", "-L", "ALL ", "[32:1,32:2] ", "[1,2] ", "[",
                            "]", ":", "?", "\"q t\" ", "\"", "-Name ", "-LDSetProp ", "-page ",
                            "-Silent ", "-NoLog ", "1.25 ", "%", "\n", "\t", " ", "-", "\xff",
                            "-r5 ", "WB ", "RA ", "-sz ", "99999999999 ", "-Snapshot ", "x "};
    const int fragmentCount = static_cast<int>(sizeof(fragments) / sizeof(fragments[0]));
    std::uint32_t seed = 12345;
    auto next = [&seed]() {
        seed = seed * 1103515245u + 12345u;
        return static_cast<int>((seed >> 16) & 0x7FFF);
    };
    const std::string message = "Invalid input at or near token";
    for (int round = 0; round < 1500; ++round) {
        std::string line;
        int length = 1 + next() % 40;
        for (int i = 0; i < length; ++i) {
            if (next() % 5 == 0)
                line += static_cast<char>(1 + next() % 255);
            else
                line += fragments[next() % fragmentCount];
        }
        Checked result = check(line);
        size_t first = result.output.find(message);
        if (result.tokens == "<null>") {
            ASSERT_NE(std::string::npos, first) << line;
            EXPECT_EQ(std::string::npos, result.output.find(message, first + 1)) << line;
        } else {
            EXPECT_EQ(std::string::npos, first) << line;
            ASSERT_GE(result.output.size(), blankOutLine().size());
            EXPECT_EQ(blankOutLine(), result.output.substr(result.output.size() - blankOutLine().size()));
        }
    }
}

}  // namespace
