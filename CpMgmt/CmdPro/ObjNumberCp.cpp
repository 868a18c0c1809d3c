// The drive counts ("-LDGetNum", "-PDGetNum"): their result is the count they print, so a
// non-zero result does not stop the adapters after it.
//
// The processor class ObjNumberCp is not written yet. Until it is, the command's traits stand
// here alone, so that dispatch treats the command as it will treat it then; the class replaces
// this object by its own registration with the same traits:
//   const CpRegistration<ObjNumberCp> registration(CpTraits().countResult());
#include "CpMgmt/CpFactoryRegistry.h"
#include "Parser/TokenIds.h"

namespace {

const CpTraitsRegistration registration({TOKEN_LDNUMBER, TOKEN_PDNUMBER}, CpTraits().countResult());

}  // namespace
