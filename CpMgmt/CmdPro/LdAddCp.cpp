#include "CpMgmt/CmdPro/LdAddCp.h"

#include "Parser/CfgParsedObjects.h"
#include "Parser/TokenIds.h"
#include "RaidManager/PhysicalDevice.h"

CommandProcessor* LdAddCp::create(unsigned short kind)
{
    return createCommandProcessor<LdAddCp>(kind);
}

ArrayList<unsigned short>* LdAddCp::commandIds()
{
    static const unsigned short ids[] = {TOKEN_ADPCFGADD, TOKEN_ADPCFGSPANADD};
    return makeCommandIdList(ids, 2);
}

LdAddCp::~LdAddCp()
{
    deleteDriveLists();
}

void LdAddCp::deleteDriveLists()
{
    if (driveLists == nullptr)
        return;
    for (unsigned char i = 0; i < driveLists->count(); ++i)
        delete driveLists->get(i);
    delete driveLists;
    driveLists = nullptr;
}

int LdAddCp::process(CpController*, ParsedObject*)
{
    return -1;
}

int LdAddCp::decidePowerSavePolicy(uint8_t, bool, bool, uint8_t, uint8_t*, const char**)
{
    return -1;
}

int LdAddCp::buildDriveLists(CpController*, CfgAddParsedObject*)
{
    return -1;
}

int LdAddCp::addDedicatedHotSpares(CpController*, ArrayList<PdIdListObject*>*, VdId*)
{
    return -1;
}

int LdAddCp::addVdOnFreshDrives(CpController*, CfgAddParsedObject*, VdId** vdId)
{
    if (vdId != nullptr)
        *vdId = nullptr;
    return -1;
}

int LdAddCp::addVdOnFreeSpace(CpController*, CfgAddParsedObject*, DiskGroup*, VdId** vdId, uint8_t, uint8_t)
{
    if (vdId != nullptr)
        *vdId = nullptr;
    return -1;
}

int LdAddCp::spinUpDrives(CpController*, CfgAddParsedObject*, ArrayList<ArrayList<PhysicalDevice*>*>*)
{
    return -1;
}

int LdAddCp::applyPowerSave(CpController*, CfgAddParsedObject*, UnConfiguredVd*)
{
    return -1;
}
