// The logical-drive information record, with the logical-drive list and the controller
// information that bound which target ids are asked for: the exposer's table of each logical
// drive's identification page.
#include "FirmwareFuzz.h"
#include "FuzzSupport.h"

#include "ControllerMgmt/LinExpLd.h"
#include "DataProvider/DcmdOpcodes.h"
#include "RaidManager/Zpr/Records/Controller/ZprControllerInfo.h"
#include "RaidManager/Zpr/Records/LogicalDrive/ZprLdInfo.h"
#include "RaidManager/Zpr/Records/LogicalDrive/ZprLdList.h"

#include <memory>

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    quietConsole();
    forbidPlatformCalls();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedFirmware fw(data, size, layout::LD_INFO);
    std::unique_ptr<LdVpd83Table> table(new LdVpd83Table);
    LinExpLd::instance()->get_ld_vpd83_table(&fw.controller, 0, table.get());
    return 0;
}
