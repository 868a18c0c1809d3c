// The controller firmware flash ("-AdpFwFlash"): it runs without the controller check, since it
// must reach a controller whose model cannot be read or whose firmware is incompatible.
//
// The processor class AdpFwFlashCp is not written yet. Until it is, the command's traits stand
// here alone, so that dispatch treats the command as it will treat it then; the class replaces
// this object by its own registration with the same traits:
//   const CpRegistration<AdpFwFlashCp> registration(CpTraits().withoutControllerCheck());
#include "CpMgmt/CpFactoryRegistry.h"
#include "Parser/TokenIds.h"

namespace {

const CpTraitsRegistration registration({TOKEN_ADPFWFLASH}, CpTraits().withoutControllerCheck());

}  // namespace
