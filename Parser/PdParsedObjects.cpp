#include "Parser/PdParsedObjects.h"

// Requests without fields of their own.

PdListParsedObject::PdListParsedObject(unsigned short commandToken, unsigned char adapterNumber)
    : ParsedObject(commandToken, adapterNumber)
{
}

ParsedObject* PdListParsedObject::clone()
{
    return new (noThrowNew) PdListParsedObject(getCommandToken(), getAdapterNumber());
}

EncInfoParsedObject::EncInfoParsedObject(unsigned short commandToken, unsigned char adapterNumber)
    : ParsedObject(commandToken, adapterNumber)
{
}

ParsedObject* EncInfoParsedObject::clone()
{
    return new (noThrowNew) EncInfoParsedObject(getCommandToken(), getAdapterNumber());
}

// Requests on the drives of the parser's shared drive list.

PdInfoParsedObject::PdInfoParsedObject(unsigned short commandToken, ArrayList<EnclSlotId*>* driveList,
                                       unsigned char adapterNumber)
    : ParsedObject(commandToken, adapterNumber), driveList(driveList)
{
}

ParsedObject* PdInfoParsedObject::clone()
{
    return new (noThrowNew) PdInfoParsedObject(getCommandToken(), driveList.get(), getAdapterNumber());
}

PdReplaceMissingParsedObject::PdReplaceMissingParsedObject(unsigned short commandToken,
                                                           ArrayList<EnclSlotId*>* driveList,
                                                           unsigned char arrayNumber, unsigned char rowNumber,
                                                           unsigned char adapterNumber)
    : PdInfoParsedObject(commandToken, driveList, adapterNumber), arrayNumber(arrayNumber), rowNumber(rowNumber)
{
}

ParsedObject* PdReplaceMissingParsedObject::clone()
{
    return new (noThrowNew) PdReplaceMissingParsedObject(getCommandToken(), getDriveList(), arrayNumber, rowNumber,
                                                         getAdapterNumber());
}

PdOffLineParsedObject::PdOffLineParsedObject(unsigned short commandToken, ArrayList<EnclSlotId*>* driveList,
                                             unsigned char force, unsigned char adapterNumber)
    : ParsedObject(commandToken, adapterNumber), force(force), driveList(driveList)
{
}

ParsedObject* PdOffLineParsedObject::clone()
{
    return new (noThrowNew) PdOffLineParsedObject(getCommandToken(), driveList.get(), force, getAdapterNumber());
}

PdClrParsedObject::PdClrParsedObject(unsigned short commandToken, ArrayList<EnclSlotId*>* driveList,
                                     unsigned char action, unsigned char adapterNumber)
    : ParsedObject(commandToken, adapterNumber), action(action), driveList(driveList)
{
}

ParsedObject* PdClrParsedObject::clone()
{
    return new (noThrowNew) PdClrParsedObject(getCommandToken(), driveList.get(), action, getAdapterNumber());
}

PdPrpRmvParsedObject::PdPrpRmvParsedObject(unsigned short commandToken, ArrayList<EnclSlotId*>* driveList,
                                           unsigned char undo, unsigned char adapterNumber)
    : ParsedObject(commandToken, adapterNumber), undo(undo), driveList(driveList)
{
}

ParsedObject* PdPrpRmvParsedObject::clone()
{
    return new (noThrowNew) PdPrpRmvParsedObject(getCommandToken(), driveList.get(), undo, getAdapterNumber());
}

PdReprovisionParsedObject::PdReprovisionParsedObject(unsigned short commandToken, ArrayList<EnclSlotId*>* driveList,
                                                     unsigned char force, unsigned char adapterNumber)
    : ParsedObject(commandToken, adapterNumber), force(force), driveList(driveList)
{
}

ParsedObject* PdReprovisionParsedObject::clone()
{
    return new (noThrowNew) PdReprovisionParsedObject(getCommandToken(), driveList.get(), force,
                                                      getAdapterNumber());
}

// Requests on the request's own drive copies.

PdOnLineParsedObject::PdOnLineParsedObject(unsigned short commandToken, const ArrayList<PdIdListObject*>* driveList,
                                           unsigned char operation, unsigned char stop, unsigned char adapterNumber)
    : ParsedObject(commandToken, adapterNumber), driveList(PdIdListObject::copyList(driveList)),
      operation(operation), stop(stop)
{
}

PdOnLineParsedObject::~PdOnLineParsedObject()
{
    PdIdListObject::deleteList(driveList);
}

ParsedObject* PdOnLineParsedObject::clone()
{
    return new (noThrowNew) PdOnLineParsedObject(getCommandToken(), driveList, operation, stop, getAdapterNumber());
}

PdRebuildParsedObject::PdRebuildParsedObject(unsigned short commandToken, const ArrayList<PdIdListObject*>* driveList,
                                             unsigned short action, unsigned char adapterNumber)
    : ParsedObject(commandToken, adapterNumber), driveList(PdIdListObject::copyList(driveList)), action(action)
{
}

PdRebuildParsedObject::~PdRebuildParsedObject()
{
    PdIdListObject::deleteList(driveList);
}

ParsedObject* PdRebuildParsedObject::clone()
{
    return new (noThrowNew) PdRebuildParsedObject(getCommandToken(), driveList, action, getAdapterNumber());
}

PdCopyBackParsedObject::PdCopyBackParsedObject(unsigned short commandToken,
                                               const ArrayList<PdIdListObject*>* driveList, unsigned short action,
                                               unsigned char adapterNumber)
    : ParsedObject(commandToken, adapterNumber), driveList(PdIdListObject::copyList(driveList)), action(action)
{
}

PdCopyBackParsedObject::~PdCopyBackParsedObject()
{
    PdIdListObject::deleteList(driveList);
}

ParsedObject* PdCopyBackParsedObject::clone()
{
    return new (noThrowNew) PdCopyBackParsedObject(getCommandToken(), driveList, action, getAdapterNumber());
}

PdHspParsedObject::PdHspParsedObject(unsigned short commandToken, const ArrayList<PdIdListObject*>* driveList,
                                     const ArrayList<unsigned char*>* arrayNumbers, unsigned char enclAffinity,
                                     unsigned char dedicated, unsigned char revertible, unsigned int set,
                                     unsigned char adapterNumber)
    : ParsedObject(commandToken, adapterNumber), driveList(PdIdListObject::copyList(driveList)),
      arrayNumbers(copyOwnedList(arrayNumbers, copyOwnedValue<unsigned char>)), enclAffinity(enclAffinity), dedicated(dedicated),
      revertible(revertible), set(set)
{
}

PdHspParsedObject::~PdHspParsedObject()
{
    PdIdListObject::deleteList(driveList);
    deleteOwnedList(arrayNumbers);
}

ParsedObject* PdHspParsedObject::clone()
{
    return new (noThrowNew) PdHspParsedObject(getCommandToken(), driveList, arrayNumbers, enclAffinity, dedicated,
                                              revertible, set, getAdapterNumber());
}

PdMappingParsedObject::PdMappingParsedObject(unsigned short commandToken, unsigned short action,
                                             unsigned char adapterNumber)
    : ParsedObject(commandToken, adapterNumber), action(action)
{
}

ParsedObject* PdMappingParsedObject::clone()
{
    return new (noThrowNew) PdMappingParsedObject(getCommandToken(), action, getAdapterNumber());
}

PdFwDownloadPo::PdFwDownloadPo(unsigned short commandToken, unsigned char forceActivate, unsigned char sataBridge,
                               ArrayList<EnclSlotId*>* deviceList, const string& fileName, unsigned int mode,
                               unsigned char encDevId, unsigned char adapterNumber)
    : ParsedObject(commandToken, adapterNumber), fileName(fileName), sataBridge(sataBridge),
      forceActivate(forceActivate), encDevId(encDevId), mode(mode), deviceList(deviceList)
{
}

ParsedObject* PdFwDownloadPo::clone()
{
    return new (noThrowNew) PdFwDownloadPo(getCommandToken(), forceActivate, sataBridge, deviceList.get(), fileName,
                                           mode, encDevId, getAdapterNumber());
}

SecureErasePo::SecureErasePo(unsigned short commandToken, const ArrayList<unsigned char>* ldList,
                             unsigned short action, ArrayList<EnclSlotId*>* driveList, unsigned short eraseType,
                             unsigned char pattern1, unsigned char pattern2, unsigned char deleteVd,
                             unsigned char adapterNumber)
    : LdParsedObject(commandToken, ldList, adapterNumber), deleteVd(deleteVd), eraseType(eraseType),
      pattern1(pattern1), pattern2(pattern2), driveList(driveList), action(action)
{
}

ParsedObject* SecureErasePo::clone()
{
    return new (noThrowNew) SecureErasePo(getCommandToken(), ownLdList(), action, driveList.get(), eraseType,
                                          pattern1, pattern2, deleteVd, getAdapterNumber());
}

AdPdKeyIDGetSetParsedObject::AdPdKeyIDGetSetParsedObject(unsigned short commandToken,
                                                         ArrayList<EnclSlotId*>* driveList, const string& keyId,
                                                         unsigned char adapterNumber)
    : ParsedObject(commandToken, adapterNumber), driveList(driveList), keyId(keyId)
{
}

ParsedObject* AdPdKeyIDGetSetParsedObject::clone()
{
    return new (noThrowNew) AdPdKeyIDGetSetParsedObject(getCommandToken(), driveList.get(), keyId,
                                                        getAdapterNumber());
}

LockKeyParsedObject::LockKeyParsedObject(unsigned short commandToken, const string& securityKey,
                                         const string& passphrase, const string& keyId,
                                         unsigned char useExternalKeyManagement, unsigned char adapterNumber,
                                         const string& oldSecurityKey, unsigned char oldIsPassphrase)
    : ParsedObject(commandToken, adapterNumber), useExternalKeyManagement(useExternalKeyManagement),
      oldIsPassphrase(oldIsPassphrase), securityKey(securityKey), passphrase(passphrase),
      oldSecurityKey(oldSecurityKey), keyId(keyId)
{
}

ParsedObject* LockKeyParsedObject::clone()
{
    return new (noThrowNew) LockKeyParsedObject(getCommandToken(), securityKey, passphrase, keyId,
                                                useExternalKeyManagement, getAdapterNumber(), oldSecurityKey,
                                                oldIsPassphrase);
}

DestroyLockKeyParsedObject::DestroyLockKeyParsedObject(unsigned short commandToken, unsigned char force,
                                                       unsigned char deleteWord, unsigned char adapterNumber)
    : ParsedObject(commandToken, adapterNumber), force(force), deleteWord(deleteWord)
{
}

ParsedObject* DestroyLockKeyParsedObject::clone()
{
    return new (noThrowNew) DestroyLockKeyParsedObject(getCommandToken(), force, deleteWord, getAdapterNumber());
}
