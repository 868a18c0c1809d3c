// The traits of the commands that no processor class serves.
//
// - The controller count ("-AdpCount") is answered by the dispatcher: it prints the number of
//   controllers, which is also the command's result.
// - The NVRAM command has no processor; were it dispatched, it would skip the controller check
//   as the firmware flash does, and then fail as unsupported.
// - The adapter comparison has no processor: it is an ordinary command that fails as
//   unsupported.
#include "CpMgmt/CpFactoryRegistry.h"
#include "Parser/TokenIds.h"

namespace {

const CpTraitsRegistration controllerCount({TOKEN_ADPCOUNT}, CpTraits().answeredBy(CpAnswer::ControllerCount));
const CpTraitsRegistration nvram({TOKEN_ADPNVRAM}, CpTraits().withoutControllerCheck());
const CpTraitsRegistration comparison({TOKEN_ADPINFOCOMPARE}, CpTraits());

}  // namespace
