#include "Parser/CfgParsedObjects.h"

#include <cstring>

namespace {

// The request's own copy of a name text: null for a null text, and for an empty one when
// emptyIsNone is set.
char* copyName(const char* text, bool emptyIsNone)
{
    if (text == nullptr || (emptyIsNone && text[0] == '\0'))
        return nullptr;
    size_t length = std::strlen(text);
    char* copy = new (noThrowNew) char[length + 1];
    if (copy != nullptr)
        std::memcpy(copy, text, length + 1);
    return copy;
}

} // namespace

// Requests without fields of their own.

CfgDsplyParsedObject::CfgDsplyParsedObject(unsigned short commandToken, unsigned char adapterNumber)
    : ParsedObject(commandToken, adapterNumber)
{
}

ParsedObject* CfgDsplyParsedObject::clone()
{
    return new (noThrowNew) CfgDsplyParsedObject(getCommandToken(), getAdapterNumber());
}

FreeSpaceInfoParsedObject::FreeSpaceInfoParsedObject(unsigned short commandToken, unsigned char adapterNumber)
    : ParsedObject(commandToken, adapterNumber)
{
}

ParsedObject* FreeSpaceInfoParsedObject::clone()
{
    return new (noThrowNew) FreeSpaceInfoParsedObject(getCommandToken(), getAdapterNumber());
}

LdPdInfoParsedObject::LdPdInfoParsedObject(unsigned short commandToken, unsigned char adapterNumber)
    : ParsedObject(commandToken, adapterNumber)
{
}

ParsedObject* LdPdInfoParsedObject::clone()
{
    return new (noThrowNew) LdPdInfoParsedObject(getCommandToken(), getAdapterNumber());
}

ObjNumberParsedObject::ObjNumberParsedObject(unsigned short commandToken, unsigned char adapterNumber)
    : ParsedObject(commandToken, adapterNumber)
{
}

ParsedObject* ObjNumberParsedObject::clone()
{
    return new (noThrowNew) ObjNumberParsedObject(getCommandToken(), getAdapterNumber());
}

// Requests that carry only the LD list.

LdMakeSecureParsedObject::LdMakeSecureParsedObject(unsigned short commandToken,
                                                   const ArrayList<unsigned char>* ldList,
                                                   unsigned char adapterNumber)
    : LdParsedObject(commandToken, ldList, adapterNumber)
{
}

ParsedObject* LdMakeSecureParsedObject::clone()
{
    return new (noThrowNew) LdMakeSecureParsedObject(getCommandToken(), ownLdList(), getAdapterNumber());
}

LdBBMClearParsedObject::LdBBMClearParsedObject(unsigned short commandToken, const ArrayList<unsigned char>* ldList,
                                               unsigned char adapterNumber)
    : LdParsedObject(commandToken, ldList, adapterNumber)
{
}

ParsedObject* LdBBMClearParsedObject::clone()
{
    return new (noThrowNew) LdBBMClearParsedObject(getCommandToken(), ownLdList(), getAdapterNumber());
}

LdExpansionInfoParsedObject::LdExpansionInfoParsedObject(unsigned short commandToken,
                                                         const ArrayList<unsigned char>* ldList,
                                                         unsigned char adapterNumber)
    : LdParsedObject(commandToken, ldList, adapterNumber)
{
}

ParsedObject* LdExpansionInfoParsedObject::clone()
{
    return new (noThrowNew) LdExpansionInfoParsedObject(getCommandToken(), ownLdList(), getAdapterNumber());
}

LdBbtEntriesParsedObject::LdBbtEntriesParsedObject(unsigned short commandToken,
                                                   const ArrayList<unsigned char>* ldList,
                                                   unsigned char adapterNumber)
    : LdParsedObject(commandToken, ldList, adapterNumber)
{
}

ParsedObject* LdBbtEntriesParsedObject::clone()
{
    return new (noThrowNew) LdBbtEntriesParsedObject(getCommandToken(), ownLdList(), getAdapterNumber());
}

// Logical-drive requests with fields of their own.

LdInfoParsedObject::LdInfoParsedObject(unsigned short commandToken, const ArrayList<unsigned char>* ldList,
                                       unsigned char force, unsigned char adapterNumber)
    : LdParsedObject(commandToken, ldList, adapterNumber), force(force)
{
}

LdInfoParsedObject::LdInfoParsedObject(unsigned short commandToken, const ArrayList<unsigned char>* ldList,
                                       unsigned char adapterNumber)
    : LdParsedObject(commandToken, ldList, adapterNumber), force(0)
{
}

ParsedObject* LdInfoParsedObject::clone()
{
    return new (noThrowNew) LdInfoParsedObject(getCommandToken(), ownLdList(), force, getAdapterNumber());
}

LdOperationParsedObject::LdOperationParsedObject(unsigned short commandToken, const ArrayList<unsigned char>* ldList,
                                                 unsigned short operation, unsigned char full, unsigned char force,
                                                 unsigned char adapterNumber)
    : LdParsedObject(commandToken, ldList, adapterNumber), full(full), force(force), operation(operation)
{
}

ParsedObject* LdOperationParsedObject::clone()
{
    return new (noThrowNew) LdOperationParsedObject(getCommandToken(), ownLdList(), operation, full, force,
                                                    getAdapterNumber());
}

LdPropParsedObject::LdPropParsedObject(unsigned short commandToken, const ArrayList<unsigned char>* ldList,
                                       unsigned short property, unsigned char immediate, const char* name,
                                       unsigned char adapterNumber)
    : LdParsedObject(commandToken, ldList, adapterNumber), immediate(immediate), property(property),
      name(copyName(name, false))
{
}

LdPropParsedObject::~LdPropParsedObject()
{
    delete[] name;
}

ParsedObject* LdPropParsedObject::clone()
{
    return new (noThrowNew) LdPropParsedObject(getCommandToken(), ownLdList(), property, immediate, name,
                                               getAdapterNumber());
}

LdPowerPolicyParsedObject::LdPowerPolicyParsedObject(unsigned short commandToken,
                                                     const ArrayList<unsigned char>* ldList,
                                                     unsigned short powerSavePolicy, unsigned char adapterNumber)
    : LdParsedObject(commandToken, ldList, adapterNumber), powerSavePolicy(powerSavePolicy)
{
}

ParsedObject* LdPowerPolicyParsedObject::clone()
{
    return new (noThrowNew) LdPowerPolicyParsedObject(getCommandToken(), ownLdList(), powerSavePolicy,
                                                      getAdapterNumber());
}

LdMirrorParsedObject::LdMirrorParsedObject(unsigned short commandToken, const ArrayList<unsigned char>* ldList,
                                           unsigned char dataSource, unsigned char force,
                                           unsigned char adapterNumber)
    : LdParsedObject(commandToken, ldList, adapterNumber), force(force), dataSource(dataSource)
{
}

ParsedObject* LdMirrorParsedObject::clone()
{
    return new (noThrowNew) LdMirrorParsedObject(getCommandToken(), ownLdList(), dataSource, force,
                                                 getAdapterNumber());
}

LdExpansionParsedObject::LdExpansionParsedObject(unsigned short commandToken, unsigned char percentage,
                                                 unsigned char dontExpandArray,
                                                 const ArrayList<unsigned char>* ldList, unsigned char adapterNumber)
    : LdParsedObject(commandToken, ldList, adapterNumber), percentage(percentage), dontExpandArray(dontExpandArray)
{
}

ParsedObject* LdExpansionParsedObject::clone()
{
    return new (noThrowNew) LdExpansionParsedObject(getCommandToken(), percentage, dontExpandArray, ownLdList(),
                                                    getAdapterNumber());
}

LdDelParsedObject::LdDelParsedObject(unsigned short commandToken, const ArrayList<unsigned char>* ldList,
                                     unsigned char allDrives, unsigned char force, unsigned char adapterNumber)
    : ParsedObject(commandToken, adapterNumber), ldList(copyByteValues(ldList)), allDrives(allDrives), force(force)
{
}

LdDelParsedObject::~LdDelParsedObject()
{
    delete ldList;
}

ParsedObject* LdDelParsedObject::clone()
{
    return new (noThrowNew) LdDelParsedObject(getCommandToken(), ldList, allDrives, force, getAdapterNumber());
}

LdReconstructParsedObject::LdReconstructParsedObject(unsigned short commandToken, ArrayList<EnclSlotId*>* driveList,
                                                     unsigned short action, unsigned short driveAction,
                                                     unsigned char ld, unsigned char raidLevel, unsigned char force,
                                                     unsigned char adapterNumber)
    : ParsedObject(commandToken, adapterNumber), force(force), action(action), driveAction(driveAction), ld(ld),
      raidLevel(raidLevel), driveList(driveList)
{
}

ParsedObject* LdReconstructParsedObject::clone()
{
    return new (noThrowNew) LdReconstructParsedObject(getCommandToken(), driveList.get(), action, driveAction, ld,
                                                      raidLevel, force, getAdapterNumber());
}

AdpCfgClrParsedObject::AdpCfgClrParsedObject(unsigned short commandToken, unsigned char force,
                                             unsigned char adapterNumber)
    : ParsedObject(commandToken, adapterNumber), force(force)
{
}

ParsedObject* AdpCfgClrParsedObject::clone()
{
    return new (noThrowNew) AdpCfgClrParsedObject(getCommandToken(), force, getAdapterNumber());
}

CfgSaveRestorePo::CfgSaveRestorePo(unsigned short commandToken, const string& fileName, unsigned char adapterNumber)
    : ParsedObject(commandToken, adapterNumber), fileName(fileName)
{
}

ParsedObject* CfgSaveRestorePo::clone()
{
    return new (noThrowNew) CfgSaveRestorePo(getCommandToken(), fileName, getAdapterNumber());
}

ForeignCfgParsedObject::ForeignCfgParsedObject(unsigned short commandToken, unsigned short action,
                                               unsigned char foreignConfigNumber, const string& keyText,
                                               unsigned char keyKind, unsigned char adapterNumber)
    : ParsedObject(commandToken, adapterNumber), keyKind(keyKind), action(action),
      foreignConfigNumber(foreignConfigNumber), keyText(keyText)
{
}

ParsedObject* ForeignCfgParsedObject::clone()
{
    return new (noThrowNew) ForeignCfgParsedObject(getCommandToken(), action, foreignConfigNumber, keyText, keyKind,
                                                   getAdapterNumber());
}

// Configuration-creating requests.

CfgParsedObject::CfgParsedObject(unsigned short commandToken, unsigned char raidLevel, unsigned char readPolicy,
                                 unsigned char writePolicy, unsigned char ioPolicy, unsigned char badBbuPolicy,
                                 unsigned short stripSize, unsigned char encryption, unsigned char powerSavePolicy,
                                 unsigned char adapterNumber)
    : ParsedObject(commandToken, adapterNumber), raidLevel(raidLevel), readPolicy(readPolicy),
      writePolicy(writePolicy), ioPolicy(ioPolicy), badBbuPolicy(badBbuPolicy), stripSize(stripSize),
      encryption(encryption), powerSavePolicy(powerSavePolicy)
{
}

CfgAddParsedObject::CfgAddParsedObject(unsigned short commandToken, unsigned char raidLevel, unsigned char force,
                                       unsigned char enablePi, unsigned char readPolicy, unsigned char writePolicy,
                                       unsigned char ioPolicy, unsigned char badBbuPolicy, unsigned short stripSize,
                                       const ArrayList<unsigned long long*>* sizeList,
                                       const ArrayList<ArrayList<PdIdListObject*>*>* arrayList,
                                       const ArrayList<PdIdListObject*>* hotSpareList, unsigned char encryption,
                                       unsigned char powerSavePolicy, unsigned char cache, unsigned char afterLd,
                                       unsigned char adapterNumber)
    : CfgParsedObject(commandToken, raidLevel, readPolicy, writePolicy, ioPolicy, badBbuPolicy, stripSize,
                      encryption, powerSavePolicy, adapterNumber),
      force(force), cache(cache), enablePi(enablePi), afterLd(afterLd),
      arrays(copyOwnedList(arrayList, PdIdListObject::copyList, PdIdListObject::deleteList)),
      sizes(copyOwnedList(sizeList, copyOwnedValue<unsigned long long>)),
      hotSpares(PdIdListObject::copyList(hotSpareList))
{
}

CfgAddParsedObject::~CfgAddParsedObject()
{
    deleteOwnedList(arrays, PdIdListObject::deleteList);
    deleteOwnedList(sizes);
    PdIdListObject::deleteList(hotSpares);
}

ParsedObject* CfgAddParsedObject::clone()
{
    return new (noThrowNew) CfgAddParsedObject(getCommandToken(), raidLevel, force, enablePi, readPolicy,
                                               writePolicy, ioPolicy, badBbuPolicy, stripSize, sizes, arrays,
                                               hotSpares, encryption, powerSavePolicy, cache, afterLd,
                                               getAdapterNumber());
}

CfgAutoParsedObject::CfgAutoParsedObject(unsigned short commandToken, unsigned char raidLevel,
                                         unsigned char readPolicy, unsigned char writePolicy, unsigned char ioPolicy,
                                         unsigned char badBbuPolicy, unsigned short stripSize,
                                         unsigned char sataOnly, unsigned char spanCount,
                                         unsigned char hotSpareCount, unsigned char dedicated,
                                         unsigned char enclAffinity, unsigned char revertible,
                                         unsigned char encryption, unsigned char powerSavePolicy,
                                         unsigned char enablePi, unsigned char cache, unsigned char adapterNumber)
    : CfgAddParsedObject(commandToken, raidLevel, 0, enablePi, readPolicy, writePolicy, ioPolicy, badBbuPolicy,
                         stripSize, nullptr, nullptr, nullptr, encryption, powerSavePolicy, cache, 255,
                         adapterNumber),
      enclAffinity(enclAffinity), dedicated(dedicated), revertible(revertible), sataOnly(sataOnly),
      spanCount(spanCount), hotSpareCount(hotSpareCount)
{
}

ParsedObject* CfgAutoParsedObject::clone()
{
    return new (noThrowNew) CfgAutoParsedObject(getCommandToken(), raidLevel, readPolicy, writePolicy, ioPolicy,
                                                badBbuPolicy, stripSize, sataOnly, spanCount, hotSpareCount,
                                                dedicated, enclAffinity, revertible, encryption, powerSavePolicy,
                                                getEnablePi(), cache, getAdapterNumber());
}

CfgSSCDAddParsedObject::CfgSSCDAddParsedObject(unsigned short commandToken, ArrayList<EnclSlotId*>* driveList,
                                               const char* name, unsigned char enablePi, unsigned char raidLevel,
                                               unsigned char writePolicy, unsigned char assignAction,
                                               const ArrayList<unsigned char>* ldList, unsigned char adapterNumber)
    : ParsedObject(commandToken, adapterNumber), assignAction(assignAction), enablePi(enablePi),
      driveList(driveList), name(copyName(name, true)), raidLevel(raidLevel), writePolicy(writePolicy), ldList(4)
{
    appendByteValues(&this->ldList, ldList);
}

CfgSSCDAddParsedObject::~CfgSSCDAddParsedObject()
{
    delete[] name;
}

ParsedObject* CfgSSCDAddParsedObject::clone()
{
    return new (noThrowNew) CfgSSCDAddParsedObject(getCommandToken(), driveList.get(), name, enablePi, raidLevel,
                                                   writePolicy, assignAction, &ldList, getAdapterNumber());
}

// Host-cache requests.

TidexParsedObject::TidexParsedObject(unsigned short commandToken) : ParsedObject(commandToken, 0)
{
}

TidexCmdParsedObject::TidexCmdParsedObject(unsigned short commandToken, unsigned char objectKind,
                                           unsigned char action, const ArrayList<string*>* names,
                                           unsigned char configured, unsigned char force, unsigned char allIndices,
                                           unsigned char index, unsigned char cardInfo)
    : TidexParsedObject(commandToken), action(action), objectKind(objectKind), index(index), names(4),
      configured(configured), force(force), allIndices(allIndices), cardInfo(cardInfo)
{
    if (names == nullptr)
        return;
    for (unsigned char i = 0; i < names->count(); ++i) {
        string* name = names->get(i);
        if (name == nullptr)
            continue;
        string* own = new (noThrowNew) string(*name);
        if (own != nullptr && this->names.add(own) != 0)
            delete own;
    }
}

TidexCmdParsedObject::~TidexCmdParsedObject()
{
    for (unsigned char i = 0; i < names.count(); ++i)
        delete names.get(i);
}

ParsedObject* TidexCmdParsedObject::clone()
{
    TidexCmdParsedObject* copy = new (noThrowNew) TidexCmdParsedObject(getCommandToken(), objectKind, action, &names,
                                                                       configured, force, allIndices, index,
                                                                       cardInfo);
    if (copy != nullptr)
        copy->setAdapterNumber(getAdapterNumber());
    return copy;
}
