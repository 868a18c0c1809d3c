// The parser registrations: one ParserFactoryRegistration object per parser class.
//
// The objects are built before the entry point, in the order in which they stand here, and
// fill the ParserFactory with each class's creator under the command tokens the class names.
// No two classes name the same token, so the order decides nothing about which parser serves
// a command; it is kept fixed so that a run is the same whatever the link order.
//
// A new parser class adds its header and its one registration object at its place in this
// order (classes not written yet are shown in the comment list between the objects):
//
//   PhySetLinkSpeedParser, LdBbtEntriesParser, AdpAllInfoParser, AdpFacDefSetParser,
//   AdpEventLogParser, AdpBbuParser, CfgAddParser, CfgFreeAllDrvParser, CfgDsplyParser,
//   CfgClrParser, PdInfoParser, PdOnLnParser, PdOffLnParser, PdMakeGoodParser,
//   PdMakeSystemParser, PdHspParser, PdListParser, PdPrpRmvParser, PdClearParser, LdDelParser,
//   FreeSpaceInfoParser, CfgSpanAddParser, LdPdInfoParser, AdpPropertyParser, LdInfoParser,
//   LdPropParser, LdOperationParser, AdpFlashParser, PdRbldParser, ObjNumberParser,
//   AdpBiosParser, AdpBootDriveParser, AppVersionParser, LdReconstructParser, PhyInfoParser,
//   AdpTimeParser, CfgSaveRestoreParser, PdReplaceMissingParser, AdpPrParser, AdpTTYLogParser,
//   ForeignCfgParser, AdpVerifyParser, AdpShutDownParser, AdpRestartParser, MuxModeParser,
//   PhyErrorCtParser, PdMappingParser, AdpCCSchedParser, PdCopyBackParser, AdpCacheFlushParser,
//   AdpAutoRbldParser, AdpCountParser, EncInfoParser, LdMakeSecureParser, PdReprovisionParser,
//   DestroyLockKeyParser, ReKeyParser, CreateLockKeyParser, AdPdKeyIDGetSetParser,
//   CliVersionParser, AdpDiagParser, AdpGetPciInfoParser, PdFwDownloadParser,
//   AdpAllInOneLogParser, LdBBMClearParser, LdExpansionInfoParser, LdExpansionParser,
//   AdpSettingsParser, CfgSSCDParser, ShowSummaryParser, PerfMonParser, LdMirrorParser,
//   LdPowerPolicyParser, DpmStatParser, AdAECParser, SecureEraseParser, TidexCmdParser,
//   PciLinkSpeedParser, AdpDowngradeParser.
#include "Parser/ParserFactory.h"

#include "Parser/Cmd/AdpCountParser.h"
#include "Parser/Cmd/AdpDiagParser.h"
#include "Parser/Cmd/AdpFacDefSetParser.h"
#include "Parser/Cmd/EncInfoParser.h"
#include "Parser/Cmd/ObjNumberParser.h"

namespace {

ParserFactoryRegistration<AdpFacDefSetParser> adpFacDefSetParserRegistration;
ParserFactoryRegistration<ObjNumberParser> objNumberParserRegistration;
ParserFactoryRegistration<AdpCountParser> adpCountParserRegistration;
ParserFactoryRegistration<EncInfoParser> encInfoParserRegistration;
ParserFactoryRegistration<AdpDiagParser> adpDiagParserRegistration;

}  // namespace

void parserRegistrationAnchor()
{
}
