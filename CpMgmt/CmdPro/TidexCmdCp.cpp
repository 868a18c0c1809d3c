// The host-cache commands ("-HK"): their devices come from the integrated-RAID library, not
// from the Linux driver, and they run without the controller check (they do not talk to a
// controller's firmware).
//
// The processor class TidexCmdCp is not written yet. Until it is, the command's traits stand
// here alone, so that dispatch treats the command as it will treat it then; the class replaces
// this object by its own registration with the same traits:
//   const CpRegistration<TidexCmdCp> registration(
//       CpTraits().withoutControllerCheck().managedBy(CpManagementKind::HostCacheLibrary));
#include "CpMgmt/CpFactoryRegistry.h"
#include "Parser/TokenIds.h"

namespace {

const CpTraitsRegistration registration(
    {TOKEN_TIDEX}, CpTraits().withoutControllerCheck().managedBy(CpManagementKind::HostCacheLibrary));

}  // namespace
