// The command grammar: one syntax description per nonterminal, the command line's start
// symbol first. Data table, compiled into the recognizer's tables when the program is built
// (GrammarGenMain.cpp); the recognizer itself is in Grammar.cpp.
//
// Notation: a word in capitals (digits and underscores allowed) is a terminal, the token id
// named TOKEN_ + the word; any other word is a nonterminal of this table. [x] is optional,
// a | b a choice, parentheses group, x+ is one or more x, x* zero or more, and <a b c> holds
// parts of which each may appear at most once, in any order, all of them optional.
#include "Parser/GrammarGen/SyntaxCompiler.h"

const GrammarRule GRAMMAR_RULES[] = {
    {"clOption",
     "clSubOption clPropOption"},
    {"clSubOption",
     "vlnOption | helpOption | adpAllInfo | adpAutoRebuild | adpFacDefSet | adpCacheFlush | "
     "ShowSummary | adpSetProp | adpGetProp | adpBios | adpBootDrive | adpSetTime | adpGetTime | "
     "adpSetSasA | adpSettings | adpFactorySettings | adpEventLog | fwTermLog | adpDiag | "
     "adpBatteryTest | adpPr | adpNVRAMManip | vdGetNum | pdGetNum | adpRaidInfo | adpFwFlash | "
     "adpM0Flash | phyInfo | encInfo | adpBbuCmd | adpSetVerify | adpShutDown | muxgetmode | "
     "muxsetmode | adpMfgSet | adpCCSched | adpSetVerifyRaw | adpUpdatePersistentPage | "
     "adpCfgPage | adpFwDump | adpSetSubOEMId | adpGetSubOEMId | AdpInfoCompare | AdpNameRtn | "
     "adpalilog | encStatus | perfMon | adpgetpciinfo | DpmStat | adpAEC | fullStrSeekTest | "
     "cliVersion | BBUMfgSet | adpHWDevice | adpgetvpd | adpsetvpd | PciSetLinkSpeed | "
     "adpDowngrade | adpRestart | adpPrSetDelay | vdInfo | vdCc | vdInit | vdBi | vdPdInfo | "
     "vdRecon | vdGetProp | vdSetProp | cfgLdDel | ldMakeSecure | getPreservedCacheList | "
     "discardPreservedCacheList | LdBBMClr | vdExpansionInfo | vdExpansion | LDBreakMirror | "
     "LDViewMirror | LDJoinMirror | vdSetPwrPolicy | SecureErase | getbbtentries | cfgEachDisk | "
     "cfgVdAdd | cfgSpanAdd | cfgDsply | cfgSave | cfgRestore | cfgClr | cfgFreeSpaceInfo | "
     "cfgForeign | cfgAllFreeDrvAdd | cfgTidewellAdd | cfgTidewellDel | tidewellOperations | "
     "cfgTidewellDsply | pdList | pdInfo | pdOffline | pdOnline | pdRbld | pdClear | "
     "pdMarkMissing | pdGetMissing | pdReplaceMissing | pdLocate | pdPrpRmv | pdHsp | pdMakeGood "
     "| pdFwDownload | phyerrorcounters | directpdmapping | pdCpyBk | pdataidentifydata | "
     "pdReprovision | pdMakeSystem | pdInstantSecureErase | phySetLinkSpeed | showEnclList | "
     "showVPD | showPdList | enclLocate | enclFwDownload | enclSetFacDef | destroyLockKey | "
     "changeSecurityKey | createSecurityKey | getKeyID | setKeyID | verifySecurityKey | Snapshot "
     "| tidexOption"},
    {"clPropOption",
     "[SILENT] [APP_LOG_FILE_NAME ALPHANUM_CONSTANT] [SET_LOG_LEVEL NUMBER] [SET_LOG_FILE_NAME "
     "ALPHANUM_CONSTANT] [NOLOG] [NEWLOGFILE | APPENDLOGFILE] [PAGEBRK [NUMBER]]"},
    {"adapterOption",
     "ADAPTER numberList | ALL_ADAPTER"},
    {"singleAdpOption",
     "ADAPTER NUMBER"},
    {"vdIdOption",
     "LOGICAL_DRIVE numberList | ALL_LOGICAL_DRIVE"},
    {"singleVdIdOption",
     "LOGICAL_DRIVE NUMBER"},
    {"pdIdList",
     "PHYSDRV CHANNEL_TARGET_LIST"},
    {"fileName",
     "FILE ALPHANUM_CONSTANT"},
    {"setDelay",
     "PRSETDELAY NUMBER"},
    {"setStartTime",
     "START_TIME NUMBER NUMBER"},
    {"vlnOption",
     "APPVERSION [adapterOption] | ADPCOUNT | ADPLIST"},
    {"helpOption",
     "(HELP | HELP_SHT | Q_MARK) [ALPHANUM_CONSTANT] [adapterOption]"},
    {"adpAllInfo",
     "ADPALLINFO adapterOption"},
    {"adpAutoRebuild",
     "ADPAUTORBLD (ENABLE | DISABLE | DISPLAY) adapterOption"},
    {"adpFacDefSet",
     "ADPFACDEFSET adapterOption"},
    {"adpCacheFlush",
     "ADPCACHEFLUSH adapterOption"},
    {"ShowSummary",
     "SHOWSUMMARY [fileName] adapterOption"},
    {"adpSetProp",
     "SET_ADPPROPERTY adpSetPropOption adapterOption"},
    {"adpGetProp",
     "GET_ADPPROPERTY adpGetPropOption adapterOption"},
    {"adpBios",
     "ADPBIOS (ENABLE | DISABLE | STOPONERROR | BYPASSERROR | ENBLAUTOSELECTBOOTLD | "
     "DSBLAUTOSELECTBOOTLD | DISPLAY | HEADLESSCONTINUEONERROR | HEADLESSAFEMODE) adapterOption"},
    {"adpBootDrive",
     "ADPBOOTDRV ((SET | UNSET) (singleVdIdOption | pdIdList) | GET) adapterOption"},
    {"adpSetTime",
     "SETTIME NUMBER NUMBER NUMBER NUMBER adapterOption"},
    {"adpGetTime",
     "GETTIME adapterOption"},
    {"adpSetSasA",
     "ADPSETSASA ALPHANUM_CONSTANT singleAdpOption"},
    {"adpSettings",
     "ADPSETTINGS (ADPSTGREAD | ADPSTGWRITE) fileName singleAdpOption"},
    {"adpFactorySettings",
     "ADPFACTORYSETTINGS [SETMFGDATA | SETMFCDATA | SETPCIDATA | SETSASADDR] fileName "
     "singleAdpOption"},
    {"adpEventLog",
     "ADPEVENTLOG (CLEAR | GETEVENTLOGINFO | GETCCINCON fileName vdIdOption | (GETEVENTS | "
     "GETSINCEREBOOT | GETSINCESHUTDOWN | INCLUDEDELETED | GETLATEST NUMBER) adpEventFilter "
     "[fileName]) adapterOption"},
    {"fwTermLog",
     "ADPTERMLOG (BBUON | BBUOFF | BBUOFF_TEMP | BBUGET | CLEAR | DISPLAY) adapterOption"},
    {"adpDiag",
     "ADPDIAG [NUMBER] adapterOption"},
    {"adpBatteryTest",
     "ADPBATTEST adapterOption"},
    {"adpPr",
     "ADPPR (PRENABLEAUTO | PRENABLEMANUAL | DISABLE | START | STOP | PRINFO | setDelay | "
     "setStartTime | MAXCONCURRENT_PD NUMBER | SUSPEND | RESUME | PR_SSD_ENABLE | "
     "PR_SSD_DISABLE) adapterOption"},
    {"adpNVRAMManip",
     "ADPNVRAM (ADPSTGREAD fileName | ADPSTGWRITE fileName | CLEAR) [STARTOFFSET "
     "ALPHANUM_CONSTANT] [ENDOFFSET ALPHANUM_CONSTANT] singleAdpOption"},
    {"vdGetNum",
     "LDNUMBER adapterOption"},
    {"pdGetNum",
     "PDNUMBER adapterOption"},
    {"adpRaidInfo",
     "ADPRAIDINFO adapterOption"},
    {"adpFwFlash",
     "ADPFWFLASH fileName [NORESETNOW] [NOSIGCHK [NOVERCHK] | NOVERCHK [NOSIGCHK]] [FWTYPE "
     "NUMBER] adapterOption"},
    {"adpM0Flash",
     "ADPM0FLASH fileName"},
    {"phyInfo",
     "PHYINFO PHY NUMBER adapterOption"},
    {"encInfo",
     "ENCINFO adapterOption"},
    {"adpBbuCmd",
     "ADPBBUCMD [GETBBUSTATUS | GETBBUCAPACITYINFO | GETBBUDESIGNINFO | BBULEARN | "
     "GETBBUPROPERTIES | BBUMFGSLEEP | BBUMFGSEAL | SETBBUPROPERTIES fileName | GETGGEEPDATA "
     "[OFFSET ALPHANUM_CONSTANT] NUMBYTES NUMBER | GETBBUMODES | SCHEDULELEARN (DISABLE | PRINFO "
     "| STARTTIME ALPHANUM_CONSTANT NUMBER)] adapterOption"},
    {"adpSetVerify",
     "ADPSETVERIFY fileName adapterOption"},
    {"adpShutDown",
     "ADPSHUTDOWN adapterOption"},
    {"muxgetmode",
     "MUXGETMODE (MUXNUM numberList | MUX_ALL) adapterOption"},
    {"muxsetmode",
     "MUXSETMODE (MUXINTERNAL | MUXEXTERNAL | MUXAUTO) (MUXNUM numberList | MUX_ALL) "
     "adapterOption"},
    {"adpMfgSet",
     "MFGSETTINGS fileName singleAdpOption"},
    {"adpCCSched",
     "CC_SCHEDULING (PRINFO | DISABLE | (MODESEQ | MODECONC) [EXCLUDE_LD LOGICAL_DRIVE "
     "numberList] [setStartTime] [setDelay] | setStartTime | setDelay) adapterOption"},
    {"adpSetVerifyRaw",
     "ADPSETVERIFY_RAW fileName adapterOption"},
    {"adpUpdatePersistentPage",
     "ADPUPDATEPERSISTENTCFGPAGE (CLEAR | fileName [NOSIGCHK [NOVERCHK] | NOVERCHK [NOSIGCHK]]) "
     "adapterOption"},
    {"adpCfgPage",
     "ADPCFGPAGE (ADPSTGREAD | ADPSTGWRITE) NUMBER PAGETYPE ALPHANUM_CONSTANT NUMBER NUMBER "
     "fileName singleAdpOption"},
    {"adpFwDump",
     "ADPFWDUMP [fileName]"},
    {"adpSetSubOEMId",
     "ADPSETSUBOEMID ALPHANUM_CONSTANT singleAdpOption"},
    {"adpGetSubOEMId",
     "ADPGETSUBOEMID singleAdpOption"},
    {"AdpInfoCompare",
     "ADPINFOCOMPARE (COMPARE_FW ALPHANUM_CONSTANT | COMPARE_ID ALPHANUM_CONSTANT | COMPARE_BATT "
     "NUMBER | COMPARE_DIMM NUMBER) adapterOption"},
    {"AdpNameRtn",
     "ADPNAMERTN adapterOption"},
    {"adpalilog",
     "ADPALILOG adapterOption"},
    {"encStatus",
     "ENCSTATUS adapterOption"},
    {"perfMon",
     "PERFMON (START [INTERVAL NUMBER] | STOP | GET_RESULTS [FORMAT CSV] fileName) adapterOption"},
    {"adpgetpciinfo",
     "ADPGETPCIINFO adapterOption"},
    {"DpmStatOption",
     "DPM_EXT | DPM_LCT | DPM_HIST | RA"},
    {"DpmStat",
     "DPMSTAT (DISPLAY DpmStatOption [pdIdList] | CLEAR DpmStatOption) adapterOption"},
    {"adpAEC",
     "ADPAEC (START [NUM_EVENTS NUMBER] | STOP | DISABLE | CAPTURE_MODE (FULL | CONTINUOUS) | "
     "GET [fileName] | SHOW | FILTER NUMBER GROUP NUMBER | CLEAR NUMBER GROUP NUMBER) "
     "adapterOption"},
    {"fullStrSeekTest",
     "FULLSTRSEEKTEST adapterOption"},
    {"cliVersion",
     "CLIVERSION [CTRL | CLI | DRIVER | UEFI | PD] adapterOption"},
    {"BBUMfgSet",
     "BBUMFGSET fileName adapterOption"},
    {"adpHWDevice",
     "ADPHWDEVICE (ADPSTGREAD DEVICETYPE NUMBER [BUS NUMBER SLAVEADDR NUMBER] [[START NUMBER] "
     "SIZE NUMBER] fileName | ADPSTGWRITE DEVICETYPE NUMBER [BUS NUMBER SLAVEADDR NUMBER] [START "
     "NUMBER] fileName) singleAdpOption"},
    {"adpgetvpd",
     "ADPGETVPD [fileName] singleAdpOption"},
    {"adpsetvpd",
     "ADPSETVPD fileName singleAdpOption"},
    {"PciSetLinkSpeed",
     "PCISETLINKSPEED NUMBER adapterOption"},
    {"adpDowngrade",
     "ADPDOWNGRADE adapterOption"},
    {"adpRestart",
     "ADPRESTART adapterOption"},
    {"adpPrSetDelay",
     "PRSETDELAY NUMBER adapterOption"},
    {"adpSetPropOption",
     "REBUILDRATE NUMBER | PATROLREADRATE NUMBER | BGIRATE NUMBER | CCRATE NUMBER | RECONRATE "
     "NUMBER | SPINUPDRVCNT NUMBER | SPINUPDELAY NUMBER | COERCIONMODE NUMBER | "
     "DISKWRITECACHEENABLE NUMBER | CLUSTERENABLE NUMBER | CACHEFLUSH NUMBER | PREDFAILPOLLINT "
     "NUMBER | BATWARNDISABLE NUMBER | ECCBUCKETSIZE NUMBER | ECCBUCKETLEAKRATE NUMBER | "
     "ABORTCCONERROR NUMBER | ADPALARMENBL | ADPALARMDSBL | ADPALARMSILENCE | CPYBKENABLE NUMBER "
     "| AUTODTBACKPLANEDISABLE NUMBER | SMART_CPYBKENABLE NUMBER | SSD_SMART_CPYBKENABLE NUMBER "
     "| LOADBALANCE NUMBER | USEFDEONLYENCRYPT NUMBER | PRCORRECTUNCFGDAREAS NUMBER | NCQENBL | "
     "NCQDSBL | MAINT_PD_FAIL_HIST_ENBL NUMBER | ENBLSPINDNUNCFGDRV NUMBER | "
     "AUTOENHANCEDIMPORTENBL | AUTOENHANCEDIMPORTDSBL | EXPOSE_ENCL_DEV_ENBL NUMBER | "
     "RSTRHOTSPAREONINSERT NUMBER | DISABLEONLINECTRLRESET NUMBER | ALLOWBOOTWITHPINNEDCACHE "
     "NUMBER | DSBLSPINDNHOTSPARE NUMBER | SPINDOWNTIME NUMBER | DEFAULT_SNAPSHOT_SPACE NUMBER "
     "PERCENT | DEFAULT_VIEW_SPACE NUMBER PERCENT | AUTO_SNAPSHOT_SPACE NUMBER PERCENT | "
     "ENBL_JBOD NUMBER | DSBL_CACHEBYPASS NUMBER | SECUREALLPDS NUMBER | SECURITYKEYPERPD NUMBER "
     "| USE_DISK_ACTIVITY_FOR_LOCATE NUMBER | DEFAULTLDPSPOLICY (NONE | MAX | AUTO | DONOTCACHE) "
     "| DISABLELDPS INTERVAL NUMBER TIME NUMBER | SPINUPENCDRVCNT NUMBER | SPINUPENCDELAY NUMBER "
     "| DPMENABLE NUMBER | ENBL_E_GHSP NUMBER | ENBL_E_UG NUMBER | ENBL_E_SMARTER NUMBER | "
     "PREVENTPIIMPORT NUMBER | ENBLPI NUMBER | PERFMODE NUMBER [MAXFLUSHLINES NUMBER "
     "(NUMIOSTOORDER | MAXPDLATENCYMS) NUMBER] | SUPPORTSSDPATROLREAD NUMBER | FORCESGPIO NUMBER"},
    {"adpGetPropOption",
     "REBUILDRATE | PATROLREADRATE | BGIRATE | CCRATE | RECONRATE | SPINUPDRVCNT | SPINUPDELAY | "
     "COERCIONMODE | DISKWRITECACHEENABLE | CLUSTERENABLE | CACHEFLUSH | PREDFAILPOLLINT | "
     "BATWARNDISABLE | ECCBUCKETSIZE | ECCBUCKETLEAKRATE | ECCBUCKETCOUNT | ABORTCCONERROR | "
     "ADPALARMDSPLY | CPYBKENABLE | AUTODTBACKPLANEDISABLE | SMART_CPYBKENABLE | "
     "SSD_SMART_CPYBKENABLE | LOADBALANCE | USEFDEONLYENCRYPT | PRCORRECTUNCFGDAREAS | NCQDSPLY "
     "| MAINT_PD_FAIL_HIST_ENBL | ENBLSPINDNUNCFGDRV | WBSUPPORT | AUTOENHANCEDIMPORTDSPLY | "
     "EXPOSE_ENCL_DEV_ENBL | RSTRHOTSPAREONINSERT | DISABLEONLINECTRLRESET | "
     "ALLOWBOOTWITHPINNEDCACHE | DSBLSPINDNHOTSPARE | SPINDOWNTIME | DEFAULT_SNAPSHOT_SPACE | "
     "DEFAULT_VIEW_SPACE | AUTO_SNAPSHOT_SPACE | ENBL_JBOD | DSBL_CACHEBYPASS | SECUREALLPDS | "
     "SECURITYKEYPERPD | USE_DISK_ACTIVITY_FOR_LOCATE | DEFAULTLDPSPOLICY | SPINUPENCDRVCNT | "
     "SPINUPENCDELAY | DISABLELDPSINTERVAL | DISABLELDPSTIME | DISABLELDPS | DPMENABLE | "
     "ENBL_E_GHSP | ENBL_E_UG | ENBL_E_SMARTER | PREVENTPIIMPORT | ENBLPI | PERFMODE | "
     "PERFMODEVALUES | SUPPORTSSDPATROLREAD | FORCESGPIO"},
    {"raidOption",
     "RAID NUMBER"},
    {"arrayNum",
     "ARRAY NUMBER"},
    {"enclNumber",
     "ENCL NUMBER"},
    {"esmOption",
     "ESM ALPHANUM_CONSTANT"},
    {"multipleVdIdOption",
     "LOGICAL_DRIVE numberList"},
    {"enclIdList",
     "ENCDEVID ENCDEVID_LIST"},
    {"pdOperationOption",
     "START | STOP | SHOWPROG | PROGDSPLY | SUSPEND | RESUME"},
    {"securityKeyOption",
     "[FORCE]"},
    {"cfgEncryptType",
     "[FDE | CTRLBASED | SECURE]"},
    {"assignVdToCachePool",
     "[CACHE]"},
    {"stripeSizeOption",
     "[STRPSZ NUMBER]"},
    {"afterVdOption",
     "[AFTERLD NUMBER]"},
    {"vdAddHspOption",
     "[HOTSPARE CHANNEL_TARGET_LIST]"},
    {"vdSize",
     "SIZE (NUMBER | DEC_NUMBER) [SZ_MB | SZ_GB | SZ_TB]"},
    {"cfgOptions",
     "vdAddPropOption (vdSizeOption stripeSizeOption | stripeSizeOption vdSizeOption)"},
    {"vdConstSpec",
     "raidOption CHANNEL_TARGET_LIST"},
    {"arraySpec",
     "arrayNum CHANNEL_TARGET_LIST"},
    {"enclAff",
     "[ENCL_AFFINITY]"},
    {"nonRevertible",
     "[NONREVERTIBLE]"},
    {"securityKey",
     "SECURITYKEY ALPHANUM_CONSTANT"},
    {"passPhraseOption",
     "PASSPHRASE ALPHANUM_CONSTANT"},
    {"passPhrase",
     "[PASSPHRASE ALPHANUM_CONSTANT]"},
    {"keyID",
     "[KEYID ALPHANUM_CONSTANT]"},
    {"oldsecuritykey",
     "OLDSECURITYKEY ALPHANUM_CONSTANT"},
    {"oldpassphrase",
     "OLDPASSPHRASE ALPHANUM_CONSTANT"},
    {"snapshotTime",
     "SNAPSHOT_TIME NUMBER NUMBER NUMBER NUMBER"},
    {"viewTime",
     "VIEW_TIME NUMBER NUMBER NUMBER NUMBER"},
    {"ViewAccessOption",
     "ACCESS_RW | ACCESS_RO | ACCESS_BLK"},
    {"targetIdOption",
     "SNAPSHOT_TARGETID NUMBER"},
    {"vdInfo",
     "LDINFO vdIdOption adapterOption"},
    {"vdCc",
     "LDCC (START [FORCE] | STOP | SHOWPROG | PROGDSPLY | SUSPEND | RESUME) vdIdOption "
     "adapterOption"},
    {"vdInit",
     "LDINIT (START [FULL] | STOP | SHOWPROG | PROGDSPLY) vdIdOption adapterOption"},
    {"vdBi",
     "LDBI (ENABLE | DISABLE | GETSETTING | STOP | SHOWPROG | PROGDSPLY | SUSPEND | RESUME) "
     "vdIdOption adapterOption"},
    {"vdPdInfo",
     "LDPDINFO adapterOption"},
    {"vdRecon",
     "LDRECON (START raidOption [ADD pdIdList | RMV pdIdList] | SHOWPROG | PROGDSPLY | SUSPEND | "
     "RESUME) singleVdIdOption [FORCE] singleAdpOption"},
    {"vdGetProp",
     "GET_LDPROPERTY (CACHE | ACCESS | DSKCACHE | NAME | CONSISTENCY | PSPOLICY | DSBLPI) "
     "vdIdOption adapterOption"},
    {"vdSetProp",
     "SET_LDPROPERTY vdSetPropOption [IMMEDIATE] vdIdOption adapterOption"},
    {"cfgLdDel",
     "LDDEL vdIdOption [FORCE] adapterOption"},
    {"ldMakeSecure",
     "LDMAKESECURE vdIdOption adapterOption"},
    {"getPreservedCacheList",
     "PRESERVEDCACHELIST adapterOption"},
    {"discardPreservedCacheList",
     "DISCARDPRESERVEDCACHE vdIdOption [FORCE] adapterOption"},
    {"LdBBMClr",
     "LDBBMCLR vdIdOption adapterOption"},
    {"vdExpansionInfo",
     "GETLDEXPANSIONINFO vdIdOption adapterOption"},
    {"vdExpansion",
     "LDEXPANSION PERCENTAGE NUMBER [DONTEXPANDARRAY] vdIdOption adapterOption"},
    {"LDBreakMirror",
     "LDBREAKMIRROR vdIdOption adapterOption"},
    {"LDViewMirror",
     "LDVIEWMIRROR vdIdOption adapterOption"},
    {"LDJoinMirror",
     "LDJOINMIRROR DATASRC NUMBER [FORCE] vdIdOption adapterOption"},
    {"vdSetPwrPolicy",
     "LDSETPOWERPOLICY powerSavingOptions vdIdOption adapterOption"},
    {"SecureErase",
     "SECUREERASE (START (SIMPLE [ERASEPATTERN ALPHANUM_CONSTANT] | (NORMAL | THOROUGH) "
     "[ERASEPATTERN ALPHANUM_CONSTANT [ERASEPATTERN ALPHANUM_CONSTANT]]) [DELETEVD] | STOP | "
     "SHOWPROG | PROGDSPLY) (vdIdOption | pdIdList) adapterOption"},
    {"getbbtentries",
     "LDGETBBTENTRIES vdIdOption adapterOption"},
    {"cfgEachDisk",
     "ADPCFGEACHDSKRAID0 (vdAddPropOption stripeSizeOption | stripeSizeOption vdAddPropOption) "
     "cfgEncryptType vdPowerSavingOptions assignVdToCachePool [ENBLPI] adapterOption"},
    {"cfgVdAdd",
     "ADPCFGADD raidOption CHANNEL_TARGET_LIST cfgOptions vdAddHspOption afterVdOption "
     "cfgEncryptType vdPowerSavingOptions assignVdToCachePool [ENBLPI] [FORCE] singleAdpOption"},
    {"cfgSpanAdd",
     "ADPCFGSPANADD raidOption arraySpecList cfgOptions afterVdOption cfgEncryptType "
     "vdPowerSavingOptions ([ENBLPI] [FORCE] | [FORCE] CACHE) singleAdpOption"},
    {"cfgDsply",
     "ADPCFGDISP adapterOption"},
    {"cfgSave",
     "ADPCFGSAVE fileName singleAdpOption"},
    {"cfgRestore",
     "ADPCFGRESTORE fileName singleAdpOption"},
    {"cfgClr",
     "ADPCFGCLR [FORCE] adapterOption"},
    {"cfgFreeSpaceInfo",
     "ADPFREESPACEINFO adapterOption"},
    {"cfgForeign",
     "ADPFRNCFG (SCAN | (DISPLAY | PREVIEW | IMPORT | CLEAR) [NUMBER]) [SECURITYKEY "
     "ALPHANUM_CONSTANT | PASSPHRASE ALPHANUM_CONSTANT] adapterOption"},
    {"cfgAllFreeDrvAdd",
     "ADPCFGALLFREEDRV raidOption [SATAONLY] [SPAN_COUNT NUMBER] (vdAddPropOption "
     "stripeSizeOption | stripeSizeOption vdAddPropOption) [HSP_COUNT NUMBER [HSP_TYPE "
     "[DEDICATED] (enclAff nonRevertible | nonRevertible enclAff)]] cfgEncryptType "
     "vdPowerSavingOptions assignVdToCachePool [ENBLPI] singleAdpOption"},
    {"cfgTidewellAdd",
     "CFGTIDEWELLADD [raidOption] pdIdList tidewellOptions [ASSIGN vdIdOption] singleAdpOption"},
    {"tidewellWritePol",
     "[WT | WB | FORCED_WB]"},
    {"tidewellOptions",
     "[vdSetPropNameOption] tidewellWritePol"},
    {"cfgTidewellDel",
     "CFGTIDEWELLDEL vdIdOption adapterOption"},
    {"tidewellOperations",
     "TIDEWELL (ASSIGN | REMOVE) vdIdOption adapterOption"},
    {"cfgTidewellDsply",
     "TIDEWELLDSPLY adapterOption"},
    {"pdList",
     "PDLIST adapterOption"},
    {"pdInfo",
     "PDINFO pdIdList adapterOption"},
    {"pdOffline",
     "PDOFFLINE pdIdList adapterOption"},
    {"pdOnline",
     "PDONLINE pdIdList adapterOption"},
    {"pdRbld",
     "PDRBLD pdOperationOption pdIdList adapterOption"},
    {"pdClear",
     "PDCLEAR pdOperationOption pdIdList adapterOption"},
    {"pdMarkMissing",
     "PDMARKMISSING pdIdList adapterOption"},
    {"pdGetMissing",
     "PDGETMISSING adapterOption"},
    {"pdReplaceMissing",
     "PDREPLACEMISSING pdIdList arrayNum ROWNUM NUMBER singleAdpOption"},
    {"pdLocate",
     "PDLOCATE [START | STOP] pdIdList adapterOption"},
    {"pdPrpRmv",
     "PDPRPRMV [UNDO] pdIdList adapterOption"},
    {"pdHsp",
     "PDHSP (SET [ENCL_AFFINITY] [NONREVERTIBLE] | SET DEDICATED (arrays [ENCL_AFFINITY] | "
     "[ENCL_AFFINITY] arrays) [NONREVERTIBLE] | RMV) pdIdList adapterOption"},
    {"pdMakeGood",
     "PDMAKEGOOD pdIdList [FORCE] adapterOption"},
    {"pdFwDownload",
     "PDFWDOWNLOAD [OFFLINE] ([SATA_BRIDGE] pdIdList | [FORCEACTIVATE] enclIdList) fileName "
     "[MODE NUMBER] adapterOption"},
    {"phyerrorcounters",
     "PHYERRORCOUNTERS adapterOption"},
    {"directpdmapping",
     "DIRECTPDMAPPING (DISPLAY | ENABLE | DISABLE) adapterOption"},
    {"pdIdCpyBkList",
     "PHYSDRV CHANNEL_TARGET_LIST"},
    {"pdCpyBk",
     "PDCPYBK pdOperationOption pdIdCpyBkList adapterOption"},
    {"pdataidentifydata",
     "PDATAIDDATA pdIdList fileName singleAdpOption"},
    {"pdReprovision",
     "PDREPROVISION pdIdList securityKeyOption adapterOption"},
    {"pdMakeSystem",
     "PDMAKESYSTEM pdIdList adapterOption"},
    {"pdInstantSecureErase",
     "PDINSTANTSECUREERASE pdIdList securityKeyOption adapterOption"},
    {"phySetLinkSpeed",
     "PHYSETLINKSPEED PHY NUMBER NUMBER adapterOption"},
    {"showEnclList",
     "ENCLSHOWENCLLIST adapterOption"},
    {"showVPD",
     "ENCLSHOWVPD PAGE NUMBER enclNumber adapterOption"},
    {"showPdList",
     "ENCLSHOWPDLIST enclNumber adapterOption"},
    {"enclLocate",
     "ENCLLOCATE (START | STOP) enclNumber adapterOption"},
    {"enclFwDownload",
     "ENCLFWDOWNLOAD enclNumber esmOption fileName adapterOption"},
    {"enclSetFacDef",
     "ENCL_SETFACDEFAULT enclNumber esmOption adapterOption"},
    {"destroyLockKey",
     "(DESTROYSECURITYKEY | DELETESECURITYKEY) securityKeyOption singleAdpOption"},
    {"changeSecurityKey",
     "CHANGESECURITYKEY ([oldsecuritykey] securityKey passPhrase keyID | [oldpassphrase] "
     "passPhraseOption keyID | USEEKMS [oldsecuritykey | oldpassphrase]) singleAdpOption"},
    {"createSecurityKey",
     "CREATESECURITYKEY (securityKey passPhrase keyID | passPhraseOption keyID | USEEKMS) "
     "singleAdpOption"},
    {"getKeyID",
     "GET_KEYID [pdIdList] singleAdpOption"},
    {"setKeyID",
     "SET_KEYID KEYID ALPHANUM_CONSTANT singleAdpOption"},
    {"verifySecurityKey",
     "VERIFYSECURITYKEY (securityKey | passPhraseOption) singleAdpOption"},
    {"Snapshot",
     "SNAPSHOT (DISABLE singleVdIdOption | ENABLE [SIZE NUMBER] targetIdOption [AUTO_SNAPSHOT] "
     "[AUTO_DELETE_OLDEST_SNAPSHOT] singleVdIdOption | SNAPSHOT_SETPROP (AUTO_SNAPSHOT | "
     "AUTO_DELETE_OLDEST_SNAPSHOT) NUMBER singleVdIdOption | TAKE_SNAPSHOT [SNAPSHOT_NAME "
     "ALPHANUM_CONSTANT] viewParams multipleVdIdOption | DELETE_SNAPSHOT [snapshotTime | ALL] "
     "[FORCE | YES] multipleVdIdOption | createViewParams singleVdIdOption | DELETE_VIEW "
     "[snapshotTime] singleVdIdOption | ROLLBACK snapshotTime [FORCE | YES] singleVdIdOption | "
     "PRINFO [snapshotTime | viewTime] singleVdIdOption | CLEAN_SNAPSHOT singleVdIdOption | "
     "VIEW_INFO [VIEW_TARGETID NUMBER]) adapterOption"},
    {"viewParams",
     "[CREATE_VIEW [VIEW_NAME ALPHANUM_CONSTANT] [ViewAccessOption] [SIZE NUMBER]]"},
    {"createViewParams",
     "CREATE_VIEW snapshotTime [VIEW_NAME ALPHANUM_CONSTANT] [ViewAccessOption] [SIZE NUMBER]"},
    {"tidexOption",
     "TIDEX (ADDVD ALPHANUM_CONSTANT | REMVD ALPHANUM_CONSTANT | VDLIST [CONFIGURED | "
     "UNCONFIGURED] | ADDCDEV ALPHANUM_CONSTANT [FORCE] | REMCDEV ALPHANUM_CONSTANT | ONLINEVD "
     "ALPHANUM_CONSTANT | CDEVLIST [CONFIGURED | UNCONFIGURED] | CONFIGINFO | TIDEXPERFSTATS | "
     "TIDEWELLOHCLCONFIGURATION | BLAZECARDINFO (INDEX NUMBER | ALL_INDICES))"},
    {"adpEventInfo",
     "PRINFO"},
    {"adpEventWarning",
     "EVENT_WARNING"},
    {"adpEventCritical",
     "EVENT_CRITICAL"},
    {"adpEventFatal",
     "EVENT_FATAL"},
    {"adpEventFilter",
     "<adpEventInfo adpEventWarning adpEventCritical adpEventFatal>"},
    {"wpOption",
     "WT | WB"},
    {"rpOption",
     "RA | RAA | RAN"},
    {"cacheOption",
     "CIO | DIO"},
    {"badBbuOption",
     "CACHE_BADBBU | CACHE_BADBBU_NO"},
    {"vdAddPropOption",
     "<wpOption rpOption cacheOption badBbuOption>"},
    {"vdSetPropCacheOption",
     "DSBLPI | CIO | DIO | WT | WB | FORCED_WB | RA | RAA | RAN | CACHE_BADBBU | CACHE_BADBBU_NO"},
    {"vdSetPropAccessOption",
     "ACCESS_RW | ACCESS_RO | ACCESS_BLK | REMOVE_BLKACCESS"},
    {"vdSetPropNameOption",
     "NAME ALPHANUM_CONSTANT"},
    {"vdSetPropDskCacheOption",
     "DSKCACHE_EN | DSKCACHE_DIS"},
    {"vdSetPropConsistnecyOption",
     "CONSISTENT | INCONSISTENT"},
    {"vdSetPropOption",
     "vdSetPropCacheOption | vdSetPropAccessOption | vdSetPropNameOption | "
     "vdSetPropDskCacheOption | vdSetPropConsistnecyOption"},
    {"powerSavingOptions",
     "NONE | MAX | AUTO | DEFAULT | DONOTCACHE"},
    {"vdPowerSavingOptions",
     "[powerSavingOptions]"},
    {"numberList",
     "NUMBER+"},
    {"vdSizeOption",
     "vdSize*"},
    {"arraySpecList",
     "arraySpec arraySpec+"},
    {"arrays",
     "arrayNum NUMBER*"},
};

const int GRAMMAR_RULE_COUNT = sizeof(GRAMMAR_RULES) / sizeof(GRAMMAR_RULES[0]);
