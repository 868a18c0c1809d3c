#include "CpMgmt/CmdPro/Config/ForeignCfgCp.h"

#include "CpMgmt/CmdPro/AdpCpSteps.h"
#include "CpMgmt/CmdPro/Security/LockKeyCp.h"
#include "CpMgmt/CpFactoryRegistry.h"
#include "CpMgmt/EnclosureIdText.h"
#include "Parser/CfgParsedObjects.h"
#include "Parser/TokenIds.h"
#include "PavUtil/IgnoreStatus.h"
#include "RaidManager/Adapter.h"
#include "RaidManager/PhysicalDevice.h"
#include "RaidManager/RaidManager.h"
#include "RaidManager/RmCfg.h"
#include "RaidManager/RmStatus.h"
#include "RaidManager/Zpr/Records/Config/ZprForeignScan.h"
#include "RaidManager/Zpr/Records/Security/ZprKeyTextBlock.h"

namespace {

const char* const OPERATION = "Foreign Config";
const char* const NO_RM_INSTANCE = "\nFailed to get RM instance\n";

int operationFailed(uint8_t adapterNumber, int status)
{
    printMessage(MSG_OPERATION_FAILED, static_cast<int>(adapterNumber), OPERATION);
    return status;
}

} // namespace

ForeignCfgCp::ForeignCfgCp()
    : manager(nullptr), adapter(nullptr), adapterNumber(0), encryptionEnabled(0), keyAssigned(0), bootKeyFailed(0),
      importAll(0), cleared(0), stop(false)
{
}

bool ForeignCfgCp::prepare(CpController* cpController, ForeignCfgParsedObject* request, int* result)
{
    *result = -1;
    // A longer escrow key would be cut, and a cut key unlocks nothing: refused before any command.
    if (request->getKeyText().length() > ZprKeyTextBlock::MAX_LENGTH) {
        invalidInput();
        return false;
    }
    // The model is taken only after the key is checked, with a message of its own that names
    // no adapter; a failed read is left to the adapter lookup, whose failure gives its status.
    manager = getRaidManager(controllerOf(cpController));
    if (manager == nullptr) {
        printMessage(MSG_TEXT, NO_RM_INSTANCE);
        return false;
    }
    ignoreStatus(manager->refresh(), "a failed read leaves the adapter absent, which the next step reports");
    const int status = manager->getAdapter(&adapter);
    if (status != 0) {
        printMessage(MSG_ADAPTER_COMM_FAILED, static_cast<int>(adapterNumber));
        *result = status;
        return false;
    }
    if (adapter == nullptr) {
        operationFailed(adapterNumber, -1);
        return false;
    }
    const bool passPhraseDialect = oemIdOf(adapter) == OEM_PASSPHRASE_DIALECT;
    if ((request->keyKind == ForeignCfgParsedObject::KEY_PASSPHRASE && !passPhraseDialect) ||
        (request->keyKind == ForeignCfgParsedObject::KEY_SECURITY_KEY && passPhraseDialect)) {
        invalidInput();
        return false;
    }
    ignoreStatus(adapter->isEncryptionEnabled(&encryptionEnabled), "an unread flag keeps 0: no encryption");
    if (encryptionEnabled == 1) {
        ignoreStatus(adapter->isSecurityKeyAssigned(&keyAssigned), "an unread flag keeps 0: no key");
        ignoreStatus(adapter->getSecurityKeyBit2(&bootKeyFailed),
                     "an unread flag keeps 0: no failed boot key");
    }
    return true;
}

int ForeignCfgCp::process(CpController* cpController, ParsedObject* request)
{
    CpStart<ForeignCfgParsedObject> start(cpController, request, "ForeignCfgParsedObject *");
    if (!start)
        return start.result();
    adapterNumber = start.number();
    ForeignCfgParsedObject* own = start.request();
    int result = -1;
    if (!prepare(cpController, own, &result))
        return result;
    int status = adapter->isForeignImportAllSupported(&importAll);
    if (status != 0)
        return operationFailed(adapterNumber, status);
    if (own->getKeyText().length() > 0) {
        if (encryptionEnabled != 1) {
            printMessage(MSG_ENCRYPTION_DISABLED, static_cast<int>(adapterNumber));
            return -1;
        }
        status = adapter->setEscrowKey(own->getKeyText());
        if (status != 0) {
            printMessage(MSG_ESCROW_KEY_FAILED, static_cast<int>(adapterNumber));
            return status;
        }
        ignoreStatus(manager->refresh(),
                     "a failed read leaves the adapter absent, which the next step reports");
        // The refresh made a new adapter element.
        if (manager->getAdapter(&adapter) != 0 || adapter == nullptr)
            return operationFailed(adapterNumber, -1);
    }
    // A failed scan is a failure, not a count of 255 configurations.
    const int scanned = manager->scanForeignConfigs();
    if (scanned < 0)
        return operationFailed(adapterNumber, -1);
    const uint8_t count = static_cast<uint8_t>(scanned);
    if (count == 0) {
        printMessage(MSG_FOREIGN_NONE, static_cast<int>(adapterNumber));
        return 0;
    }
    const unsigned short action = own->getAction();
    if (action == TOKEN_SCAN) {
        printMessage(MSG_FOREIGN_COUNT, static_cast<int>(count), static_cast<int>(adapterNumber));
        return 0;
    }
    const uint8_t index = own->getForeignConfigNumber();
    if (index != ALL_FOREIGN_CONFIGS && index >= count) {
        printMessage(MSG_FOREIGN_NOT_FOUND, static_cast<int>(index), static_cast<int>(adapterNumber));
        return 0;
    }
    int last = 0;
    for (unsigned i = 0; i < count && !stop; ++i) {
        if (index != ALL_FOREIGN_CONFIGS && i != index)
            continue;
        const uint8_t at = static_cast<uint8_t>(i);
        if (action == TOKEN_DISPLAY) {
            if ((last = displayOne(at, cpController)) != 0)
                return last;
        } else if (action == TOKEN_PREVIEW) {
            last = importAll == 1 && index == ALL_FOREIGN_CONFIGS ? previewAll(cpController) : previewOne(at, cpController);
        } else if (action == TOKEN_IMPORT) {
            last = importOne(at, index, cpController);
        } else if (action == TOKEN_CLEAR) {
            last = clearOne(at);
        } else {
            return -1;
        }
    }
    return last;
}

int ForeignCfgCp::displayOne(uint8_t i, CpController* cpController)
{
    RmCfg* config = nullptr;
    const int status = manager->previewForeignConfig(&config, i, 0);
    if (status != 0) {
        printMessage(MSG_FOREIGN_GET_FAILED, static_cast<int>(i), static_cast<int>(adapterNumber));
        return status;
    }
    printMessage(MSG_FOREIGN_TITLE, static_cast<int>(i), static_cast<int>(adapterNumber));
    printForeignConfig(config, cpController, 0);
    delete config;
    return 0;
}

int ForeignCfgCp::previewOne(uint8_t i, CpController* cpController)
{
    RmCfg* config = nullptr;
    const int status = manager->previewForeignConfig(&config, i, 1);
    if (status != 0) {
        printMessage(MSG_FOREIGN_GET_FAILED, static_cast<int>(i), static_cast<int>(adapterNumber));
        return status;
    }
    printMessage(MSG_FOREIGN_PREVIEW_TITLE, static_cast<int>(i), static_cast<int>(adapterNumber));
    printForeignConfig(config, cpController, 0);
    delete config;
    return 0;
}

int ForeignCfgCp::previewAll(CpController* cpController)
{
    RmCfg* config = nullptr;
    const int status = manager->previewForeignConfig(&config, ALL_FOREIGN_CONFIGS, 1);
    if (status != 0) {
        // The loop goes on and asks again for the next configuration.
        printMessage(MSG_FOREIGN_GET_ALL_FAILED, static_cast<int>(adapterNumber));
        return status;
    }
    printMessage(MSG_FOREIGN_PREVIEW_ALL_TITLE, static_cast<int>(adapterNumber));
    printForeignConfig(config, cpController, 1);
    delete config;
    reportConflictingDrives();
    stop = true;
    return 0;
}

void ForeignCfgCp::reportConflictingDrives()
{
    ArrayList<PhysicalDevice*> drives(4);
    if (manager->getForeignPdsOutsidePreview(&drives) != 0)
        return;
    for (unsigned char k = 0; k < drives.count(); ++k) {
        uint16_t enclosureId = 0;
        uint8_t slot = 0;
        PhysicalDevice* pd = drives.get(k);
        if (pd == nullptr || pd->getEnclosureDeviceId(&enclosureId) != 0 || pd->getSlotNumber(&slot) != 0)
            continue;
        printMessage(MSG_SPARE_ADDRESS, formatEnclosureId(enclosureId), static_cast<int>(slot));
        printMessage(MSG_FOREIGN_CONFLICT);
    }
}

int ForeignCfgCp::importOne(uint8_t i, uint8_t index, CpController* cpController)
{
    RmCfg* config = nullptr;
    int status = manager->previewForeignConfig(&config, index, 1);
    if (status != 0) {
        printMessage(MSG_FOREIGN_GET_ALL_FAILED, static_cast<int>(adapterNumber));
        return status;
    }
    uint8_t flag = 1;
    status = checkForeignConfigForImport(config, cpController, &flag);
    delete config;
    if (status != 0) {
        stop = true;
        return status;
    }
    const bool all = importAll == 1 && index == ALL_FOREIGN_CONFIGS;
    status = manager->importForeignConfig(all ? ALL_FOREIGN_CONFIGS : i);
    reportImport(i, all, status);
    stop = stop || all;
    return status;
}

void ForeignCfgCp::reportImport(uint8_t i, bool all, int status)
{
    if (status == 0 || status == OS_STEP_FAILED) {
        if (all)
            printMessage(MSG_FOREIGN_ALL_IMPORTED, static_cast<int>(adapterNumber));
        else
            printMessage(MSG_FOREIGN_IMPORTED, static_cast<int>(i), static_cast<int>(adapterNumber));
        if (status == OS_STEP_FAILED)
            printMessage(MSG_OS_UPDATE_FAILED);
        return;
    }
    if (encryptionEnabled == 1) {
        if (bootKeyFailed == 1)
            printMessage(MSG_BOOT_LOCK_KEY_FAILED, static_cast<int>(adapterNumber));
        else if (keyAssigned == 0)
            printMessage(MSG_KEY_NOT_HELD);
    }
    if (all)
        printMessage(MSG_FOREIGN_IMPORT_ALL_FAILED, static_cast<int>(adapterNumber));
    else
        printMessage(MSG_FOREIGN_IMPORT_FAILED, static_cast<int>(i), static_cast<int>(adapterNumber));
}

int ForeignCfgCp::clearOne(uint8_t i)
{
    // The controller renumbers the configurations after each clear.
    const int status = manager->clearForeignConfigs(static_cast<uint8_t>(i - cleared));
    if (status != 0) {
        printMessage(MSG_FOREIGN_CLEAR_FAILED, static_cast<int>(i), static_cast<int>(adapterNumber));
        return status;
    }
    printMessage(MSG_FOREIGN_CLEARED, static_cast<int>(i), static_cast<int>(adapterNumber));
    ++cleared;
    return 0;
}

namespace {

const CpRegistration<ForeignCfgCp> registration;

} // namespace
