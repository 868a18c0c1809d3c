// Requests of the configuration commands (create, show, save, restore, clear, delete, foreign
// configurations), of the logical-drive commands, of the SSD-cache commands and of the
// host-cache command family.
//
// Every constructor takes the command token first and the adapter number last, the class's
// own fields in between (the host-cache request has no adapter: it addresses the host).
// Fields without an accessor are public: their processor reads them.
#ifndef CFGPARSEDOBJECTS_H
#define CFGPARSEDOBJECTS_H

#include "Parser/ParsedObject.h"

// Requests without fields of their own.

class CfgDsplyParsedObject : public ParsedObject {
public:
    CfgDsplyParsedObject(unsigned short commandToken, unsigned char adapterNumber);
    ParsedObject* clone() override;
};

class FreeSpaceInfoParsedObject : public ParsedObject {
public:
    FreeSpaceInfoParsedObject(unsigned short commandToken, unsigned char adapterNumber);
    ParsedObject* clone() override;
};

class LdPdInfoParsedObject : public ParsedObject {
public:
    LdPdInfoParsedObject(unsigned short commandToken, unsigned char adapterNumber);
    ParsedObject* clone() override;
};

class ObjNumberParsedObject : public ParsedObject {
public:
    ObjNumberParsedObject(unsigned short commandToken, unsigned char adapterNumber);
    ParsedObject* clone() override;
};

// Requests that carry only the LD list.

class LdMakeSecureParsedObject : public LdParsedObject {
public:
    LdMakeSecureParsedObject(unsigned short commandToken, const ArrayList<unsigned char>* ldList,
                             unsigned char adapterNumber);
    ParsedObject* clone() override;
};

class LdBBMClearParsedObject : public LdParsedObject {
public:
    LdBBMClearParsedObject(unsigned short commandToken, const ArrayList<unsigned char>* ldList,
                           unsigned char adapterNumber);
    ParsedObject* clone() override;
};

class LdExpansionInfoParsedObject : public LdParsedObject {
public:
    LdExpansionInfoParsedObject(unsigned short commandToken, const ArrayList<unsigned char>* ldList,
                                unsigned char adapterNumber);
    ParsedObject* clone() override;
};

class LdBbtEntriesParsedObject : public LdParsedObject {
public:
    LdBbtEntriesParsedObject(unsigned short commandToken, const ArrayList<unsigned char>* ldList,
                             unsigned char adapterNumber);
    ParsedObject* clone() override;
};

// Logical-drive requests with fields of their own.

class LdInfoParsedObject : public LdParsedObject {
public:
    LdInfoParsedObject(unsigned short commandToken, const ArrayList<unsigned char>* ldList, unsigned char force,
                       unsigned char adapterNumber);
    // Without "-Force".
    LdInfoParsedObject(unsigned short commandToken, const ArrayList<unsigned char>* ldList,
                       unsigned char adapterNumber);
    ParsedObject* clone() override;
    unsigned char getForce() const { return force; }

private:
    unsigned char force;
};

// Consistency check, initialisation and background initialisation. The operation is the
// token id of the operation word, 0 when none.
class LdOperationParsedObject : public LdParsedObject {
public:
    LdOperationParsedObject(unsigned short commandToken, const ArrayList<unsigned char>* ldList,
                            unsigned short operation, unsigned char full, unsigned char force,
                            unsigned char adapterNumber);
    ParsedObject* clone() override;
    unsigned short getOperation() const { return operation; }

    // 1 for a full initialisation.
    unsigned char full;
    unsigned char force;

private:
    unsigned short operation;
};

// Get or set one property of logical drives. The property is the token id of the property
// word; the name is the request's own copy of the "-Name" text, null when none was given.
class LdPropParsedObject : public LdParsedObject {
public:
    LdPropParsedObject(unsigned short commandToken, const ArrayList<unsigned char>* ldList, unsigned short property,
                       unsigned char immediate, const char* name, unsigned char adapterNumber);
    ~LdPropParsedObject() override;
    ParsedObject* clone() override;
    unsigned short getProperty() const { return property; }
    const char* getName() const { return name; }

    unsigned char immediate;

private:
    unsigned short property;
    char* name;
};

class LdPowerPolicyParsedObject : public LdParsedObject {
public:
    LdPowerPolicyParsedObject(unsigned short commandToken, const ArrayList<unsigned char>* ldList,
                              unsigned short powerSavePolicy, unsigned char adapterNumber);
    ParsedObject* clone() override;
    // Token id of the policy word, 0 when none.
    unsigned short getPowerSavePolicy() const { return powerSavePolicy; }

private:
    unsigned short powerSavePolicy;
};

// Break, view or join a mirror. Data source: the LD given after "-DataSrc", 255 when none.
class LdMirrorParsedObject : public LdParsedObject {
public:
    LdMirrorParsedObject(unsigned short commandToken, const ArrayList<unsigned char>* ldList,
                         unsigned char dataSource, unsigned char force, unsigned char adapterNumber);
    ParsedObject* clone() override;
    unsigned char getDataSource() const { return dataSource; }

    unsigned char force;

private:
    unsigned char dataSource;
};

class LdExpansionParsedObject : public LdParsedObject {
public:
    LdExpansionParsedObject(unsigned short commandToken, unsigned char percentage, unsigned char dontExpandArray,
                            const ArrayList<unsigned char>* ldList, unsigned char adapterNumber);
    ParsedObject* clone() override;
    unsigned char getPercentage() const { return percentage; }
    unsigned char getDontExpandArray() const { return dontExpandArray; }

private:
    unsigned char percentage;
    unsigned char dontExpandArray;
};

// Delete logical drives.
class LdDelParsedObject : public ParsedObject {
public:
    LdDelParsedObject(unsigned short commandToken, const ArrayList<unsigned char>* ldList, unsigned char allDrives,
                      unsigned char force, unsigned char adapterNumber);
    ~LdDelParsedObject() override;
    ParsedObject* clone() override;

    // The request's own copy of the "-L" list (ALL_LDS for "-LALL"); null when none was given.
    ArrayList<unsigned char>* ldList;
    // 1 when the first number of the list is ALL_LDS.
    unsigned char allDrives;
    unsigned char force;
};

// Reconstruct a logical drive. Action and drive action are token ids, 0xFFFF when none.
class LdReconstructParsedObject : public ParsedObject {
public:
    LdReconstructParsedObject(unsigned short commandToken, ArrayList<EnclSlotId*>* driveList,
                              unsigned short action, unsigned short driveAction, unsigned char ld,
                              unsigned char raidLevel, unsigned char force, unsigned char adapterNumber);
    ParsedObject* clone() override;
    unsigned short getAction() const { return action; }
    unsigned short getDriveAction() const { return driveAction; }
    unsigned char getLd() const { return ld; }
    // The RAID level given with "-R", 255 when none.
    unsigned char getRaidLevel() const { return raidLevel; }
    ArrayList<EnclSlotId*>* getDriveList() const { return driveList.get(); }

    unsigned char force;

private:
    unsigned short action;
    unsigned short driveAction;
    unsigned char ld;
    unsigned char raidLevel;
    SharedDriveList driveList;
};

class AdpCfgClrParsedObject : public ParsedObject {
public:
    AdpCfgClrParsedObject(unsigned short commandToken, unsigned char force, unsigned char adapterNumber);
    ParsedObject* clone() override;

    unsigned char force;
};

class CfgSaveRestorePo : public ParsedObject {
public:
    CfgSaveRestorePo(unsigned short commandToken, const string& fileName, unsigned char adapterNumber);
    ParsedObject* clone() override;
    string getFileName() const { return fileName; }

private:
    string fileName;
};

// Foreign configurations: scan, show, preview, import or clear, optionally after handing the
// controller the key that unlocks locked foreign drives.
class ForeignCfgParsedObject : public ParsedObject {
public:
    // Kinds of the key text.
    static const unsigned char KEY_NONE = 0;
    static const unsigned char KEY_SECURITY_KEY = 1;
    static const unsigned char KEY_PASSPHRASE = 2;

    ForeignCfgParsedObject(unsigned short commandToken, unsigned short action, unsigned char foreignConfigNumber,
                           const string& keyText, unsigned char keyKind, unsigned char adapterNumber);
    ParsedObject* clone() override;
    // Token id of the action word, 0 when none.
    unsigned short getAction() const { return action; }
    // The foreign configuration asked for, 255 for all.
    unsigned char getForeignConfigNumber() const { return foreignConfigNumber; }
    string getKeyText() const { return keyText; }

    unsigned char keyKind;

private:
    unsigned short action;
    unsigned char foreignConfigNumber;
    string keyText;
};

// The policy values shared by the configuration-creating requests; the configuration
// processors read them directly. 255 (strip size 0xFFFF, power-save 25) means not given.
class CfgParsedObject : public ParsedObject {
public:
    CfgParsedObject(unsigned short commandToken, unsigned char raidLevel, unsigned char readPolicy,
                    unsigned char writePolicy, unsigned char ioPolicy, unsigned char badBbuPolicy,
                    unsigned short stripSize, unsigned char encryption, unsigned char powerSavePolicy,
                    unsigned char adapterNumber);
    ParsedObject* clone() override = 0;

    unsigned char raidLevel;
    // 0 read ahead, 2 no read ahead.
    unsigned char readPolicy;
    // 0 write back, 1 write through.
    unsigned char writePolicy;
    // 0 cached, 1 direct.
    unsigned char ioPolicy;
    // 1 keep caching with a bad battery, 0 do not.
    unsigned char badBbuPolicy;
    // As typed after "-strpsz".
    unsigned short stripSize;
    // 0 none, 1 drive-based, 2 controller-based, 3 secure.
    unsigned char encryption;
    // 0 default, 1 automatic, 2 maximum, 6 maximum without caching, 254 none.
    unsigned char powerSavePolicy;
};

// Create virtual drives on new arrays or spans. All three lists are the request's own deep
// copies; a list not given is null.
class CfgAddParsedObject : public CfgParsedObject {
public:
    CfgAddParsedObject(unsigned short commandToken, unsigned char raidLevel, unsigned char force,
                       unsigned char enablePi, unsigned char readPolicy, unsigned char writePolicy,
                       unsigned char ioPolicy, unsigned char badBbuPolicy, unsigned short stripSize,
                       const ArrayList<unsigned long long*>* sizeList,
                       const ArrayList<ArrayList<PdIdListObject*>*>* arrayList,
                       const ArrayList<PdIdListObject*>* hotSpareList, unsigned char encryption,
                       unsigned char powerSavePolicy, unsigned char cache, unsigned char afterLd,
                       unsigned char adapterNumber);
    ~CfgAddParsedObject() override;
    ParsedObject* clone() override;

    unsigned char getEnablePi() const { return enablePi; }
    // The LD after which the new one goes, 255 when none.
    unsigned char getAfterLd() const { return afterLd; }
    // One drive list per bracketed array (per span for span creation).
    ArrayList<ArrayList<PdIdListObject*>*>* getArrayList() const { return arrays; }
    // One size per new virtual drive, in 512-byte blocks.
    ArrayList<unsigned long long*>* getSizeList() const { return sizes; }
    ArrayList<PdIdListObject*>* getHotSpareList() const { return hotSpares; }
    unsigned char getPowerSavePolicy() const { return powerSavePolicy; }

    unsigned char force;
    unsigned char cache;

private:
    unsigned char enablePi;
    unsigned char afterLd;
    ArrayList<ArrayList<PdIdListObject*>*>* arrays;
    ArrayList<unsigned long long*>* sizes;
    ArrayList<PdIdListObject*>* hotSpares;
};

// Configure every free drive automatically. No lists, no force, after-LD 255.
class CfgAutoParsedObject : public CfgAddParsedObject {
public:
    CfgAutoParsedObject(unsigned short commandToken, unsigned char raidLevel, unsigned char readPolicy,
                        unsigned char writePolicy, unsigned char ioPolicy, unsigned char badBbuPolicy,
                        unsigned short stripSize, unsigned char sataOnly, unsigned char spanCount,
                        unsigned char hotSpareCount, unsigned char dedicated, unsigned char enclAffinity,
                        unsigned char revertible, unsigned char encryption, unsigned char powerSavePolicy,
                        unsigned char enablePi, unsigned char cache, unsigned char adapterNumber);
    ParsedObject* clone() override;

    unsigned char getEnclAffinity() const { return enclAffinity; }
    unsigned char getDedicated() const { return dedicated; }
    unsigned char getRevertible() const { return revertible; }
    unsigned char getSataOnly() const { return sataOnly; }
    unsigned char getSpanCount() const { return spanCount; }
    unsigned char getHotSpareCount() const { return hotSpareCount; }

private:
    unsigned char enclAffinity;
    unsigned char dedicated;
    unsigned char revertible;
    unsigned char sataOnly;
    unsigned char spanCount;
    unsigned char hotSpareCount;
};

// Create an SSD cache drive, or associate virtual drives with it or remove them.
class CfgSSCDAddParsedObject : public ParsedObject {
public:
    // Assign actions.
    static const unsigned char ASSIGN_NONE = 0;
    static const unsigned char ASSIGN_ADD = 1;
    static const unsigned char ASSIGN_REMOVE = 2;

    // The name is copied; a null or empty text means none was given.
    CfgSSCDAddParsedObject(unsigned short commandToken, ArrayList<EnclSlotId*>* driveList, const char* name,
                           unsigned char enablePi, unsigned char raidLevel, unsigned char writePolicy,
                           unsigned char assignAction, const ArrayList<unsigned char>* ldList,
                           unsigned char adapterNumber);
    ~CfgSSCDAddParsedObject() override;
    ParsedObject* clone() override;

    unsigned char getEnablePi() const { return enablePi; }
    ArrayList<EnclSlotId*>* getDriveList() const { return driveList.get(); }
    // Null when no name was given.
    const char* getName() const { return name; }
    unsigned char getRaidLevel() const { return raidLevel; }
    // 0 write back, 1 write through (also when none given), 3 always write back.
    unsigned char getWritePolicy() const { return writePolicy; }
    // The virtual drives to associate or remove; empty when none.
    ArrayList<unsigned char>* getLdList() { return &ldList; }
    const ArrayList<unsigned char>* getLdList() const { return &ldList; }

    unsigned char assignAction;

private:
    unsigned char enablePi;
    SharedDriveList driveList;
    char* name;
    unsigned char raidLevel;
    unsigned char writePolicy;
    ArrayList<unsigned char> ldList;
};

// Base of the host-cache requests: they address the host, so the adapter number is 0.
class TidexParsedObject : public ParsedObject {
public:
    explicit TidexParsedObject(unsigned short commandToken);
    ParsedObject* clone() override = 0;
};

// Host-cache command. Action: 1 cache-device list, 2 VD list, 3 configuration, 5 full
// configuration, 6 add cache device, 7 remove cache device, 8 add VD, 9 remove VD,
// 10 performance statistics, 12 VD online. Object kind: 11, or 10 for flash-card information.
class TidexCmdParsedObject : public TidexParsedObject {
public:
    TidexCmdParsedObject(unsigned short commandToken, unsigned char objectKind, unsigned char action,
                         const ArrayList<string*>* names, unsigned char configured, unsigned char force,
                         unsigned char allIndices, unsigned char index, unsigned char cardInfo);
    ~TidexCmdParsedObject() override;
    ParsedObject* clone() override;

    unsigned char getAction() const { return action; }
    unsigned char getObjectKind() const { return objectKind; }
    unsigned char getIndex() const { return index; }
    // The request's own device names, in command-line order.
    ArrayList<string*>* getNameList() { return &names; }
    const ArrayList<string*>* getNameList() const { return &names; }
    unsigned char getConfigured() const { return configured; }
    unsigned char getForce() const { return force; }
    // 1 unless narrowed to one index or to the configured or unconfigured devices.
    unsigned char getAllIndices() const { return allIndices; }
    unsigned char getCardInfo() const { return cardInfo; }

private:
    unsigned char action;
    unsigned char objectKind;
    unsigned char index;
    ArrayList<string*> names;
    unsigned char configured;
    unsigned char force;
    unsigned char allIndices;
    unsigned char cardInfo;
};

#endif
