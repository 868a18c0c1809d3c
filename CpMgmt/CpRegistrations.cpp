// The processor registrations: one CpRegistration object per command-processor class.
//
// The objects are built before the entry point, in the order in which they stand here, and
// fill the CpFactoryRegistry with each class's creator under the command ids the class names.
// No two classes name the same id. A new processor class adds its header and its one
// registration object at its place in this order (classes not written yet are shown in the
// comment list):
//
//   AdpAllInfoCp, LdBbtEntriesCp, AdpFacDefSetCp, AdpEventLogCp, AdpBbuCp, CfgDsplyCp, LdAddCp,
//   LdAutoCp, CfgEachDiskCp, AdpCfgClrCp, PdInfoCp, PdOnLnCp, PdOfLnCp, PdHspCp, PdListCp,
//   PdPrpForRmvCp, PdClrCp, LdDelCp, FreeSpaceInfoCp, LdPdInfoCp, AdpPropertyCp, LdInfoCp,
//   LdPropertyCp, LdOperationCp, AdpFwFlashCp, PdRbldCp, ObjNumberCp, AdpBiosCp,
//   AdpBootDriveCp, AppVersionCp, LdReconstructCp, AdpPhyInfoCp, AdpSetGetTimeCp,
//   CfgSaveRestoreCp, PdReplaceMissingCp, AdpPatrolReadCp, AdpTTYLogCp, ForeignCfgCp,
//   AdpSetVerifyCp, PdMakeGoodCp, PdMakeSystemCp, AdpShutDownCp, MuxModeCp, AdpPhyErrorCtsCp,
//   PdMappingCp, AdpCCSchedulingCp, PdCopyBackCp, AdpCacheFlushCp, AdpAutoRbldCp, EncInfoCp,
//   DiscardPreservedCacheCp, PreservedCacheListCp, CliVersionCp, AdpDiagCp, LdMakeSecureCp,
//   DestroyLockKeyCp, LockKeyCp, PdReprovisionCp, AdpPdKeyIDSetGetCp, PdRawFwDwnLdCp,
//   AdpAlIInLogCp, LdBBMClearCp, LdExpansionInfoCp, LdExpansionCp, AdpSettingsKvxCp,
//   AdpGetPciInfoCp, SSCDAddCp, ShowSummaryCp, LdMirrorCp, LdPowerPolicyCp, DpmStatCp, AdAECCp,
//   AdpPhySetLinkSpeedCp, SecureEraseCp, PerfMonCp, TidexCmdCp, PciLinkSpeedCp,
//   AdpDowngradeCp, AdpRestartCp.
//
// The controller count (6) and the comparison (102) have no processor: the dispatcher answers
// them itself.
#include "CpMgmt/CpFactoryRegistry.h"

void registerCommandProcessors()
{
}
