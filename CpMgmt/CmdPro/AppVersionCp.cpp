// The version and help commands ("-v", "-help", "-h", "-?"): they need no controller, so when
// none fits the adapter they name (none detected, or the adapter is absent) they run once on an
// executor without a controller.
//
// The processor class AppVersionCp is not written yet. Until it is, the command's traits stand
// here alone, so that dispatch treats the command as it will treat it then; the class replaces
// this object by its own registration with the same traits:
//   const CpRegistration<AppVersionCp> registration(CpTraits().withoutControllerIfNoneFits());
#include "CpMgmt/CpFactoryRegistry.h"
#include "Parser/TokenIds.h"

namespace {

const CpTraitsRegistration registration({TOKEN_APPVERSION, TOKEN_HELP, TOKEN_HELP_SHT, TOKEN_Q_MARK},
                                        CpTraits().withoutControllerIfNoneFits());

}  // namespace
