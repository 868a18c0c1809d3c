// Requests of the physical-drive commands (state changes, rebuild, copy-back, clearing, hot
// spares, missing drives, drive firmware download, secure erase), of the enclosure
// information commands and of the drive-security key commands.
//
// Every constructor takes the command token first and the adapter number last, the class's
// own fields in between (the key requests take two fields after the adapter number). Fields
// without an accessor are public: their processor reads them. An ArrayList<EnclSlotId*> drive
// list is the parser's shared list (see SharedDriveList); an ArrayList<PdIdListObject*> list
// is the request's own copy.
#ifndef PDPARSEDOBJECTS_H
#define PDPARSEDOBJECTS_H

#include "Parser/ParsedObject.h"

// Requests without fields of their own.

class PdListParsedObject : public ParsedObject {
public:
    PdListParsedObject(unsigned short commandToken, unsigned char adapterNumber);
    ParsedObject* clone() override;
};

class EncInfoParsedObject : public ParsedObject {
public:
    EncInfoParsedObject(unsigned short commandToken, unsigned char adapterNumber);
    ParsedObject* clone() override;
};

// Requests on the drives of the parser's shared drive list.

class PdInfoParsedObject : public ParsedObject {
public:
    PdInfoParsedObject(unsigned short commandToken, ArrayList<EnclSlotId*>* driveList, unsigned char adapterNumber);
    ParsedObject* clone() override;
    ArrayList<EnclSlotId*>* getDriveList() const { return driveList.get(); }

private:
    SharedDriveList driveList;
};

// Put a drive in the place of a missing one: the array and row it fills.
class PdReplaceMissingParsedObject : public PdInfoParsedObject {
public:
    PdReplaceMissingParsedObject(unsigned short commandToken, ArrayList<EnclSlotId*>* driveList,
                                 unsigned char arrayNumber, unsigned char rowNumber, unsigned char adapterNumber);
    ParsedObject* clone() override;
    unsigned char getArrayNumber() const { return arrayNumber; }
    unsigned char getRowNumber() const { return rowNumber; }

private:
    unsigned char arrayNumber;
    unsigned char rowNumber;
};

// Offline, make good, make JBOD.
class PdOffLineParsedObject : public ParsedObject {
public:
    PdOffLineParsedObject(unsigned short commandToken, ArrayList<EnclSlotId*>* driveList, unsigned char force,
                          unsigned char adapterNumber);
    ParsedObject* clone() override;
    ArrayList<EnclSlotId*>* getDriveList() const { return driveList.get(); }

    unsigned char force;

private:
    SharedDriveList driveList;
};

// Drive clear. Action: 0 start, 1 stop, 2 show progress, 3 progress display.
class PdClrParsedObject : public ParsedObject {
public:
    PdClrParsedObject(unsigned short commandToken, ArrayList<EnclSlotId*>* driveList, unsigned char action,
                      unsigned char adapterNumber);
    ParsedObject* clone() override;
    ArrayList<EnclSlotId*>* getDriveList() const { return driveList.get(); }

    unsigned char action;

private:
    SharedDriveList driveList;
};

// Prepare drives for removal, or undo it.
class PdPrpRmvParsedObject : public ParsedObject {
public:
    PdPrpRmvParsedObject(unsigned short commandToken, ArrayList<EnclSlotId*>* driveList, unsigned char undo,
                         unsigned char adapterNumber);
    ParsedObject* clone() override;
    ArrayList<EnclSlotId*>* getDriveList() const { return driveList.get(); }

    unsigned char undo;

private:
    SharedDriveList driveList;
};

// Reprovision or instantly erase self-encrypting drives.
class PdReprovisionParsedObject : public ParsedObject {
public:
    PdReprovisionParsedObject(unsigned short commandToken, ArrayList<EnclSlotId*>* driveList, unsigned char force,
                              unsigned char adapterNumber);
    ParsedObject* clone() override;
    ArrayList<EnclSlotId*>* getDriveList() const { return driveList.get(); }

    unsigned char force;

private:
    SharedDriveList driveList;
};

// Requests on the request's own drive copies.

// Online, mark missing, get missing, locate: one command id serves all four words.
class PdOnLineParsedObject : public ParsedObject {
public:
    static const unsigned char OPERATION_MARK_MISSING = 0;
    static const unsigned char OPERATION_GET_MISSING = 1;
    static const unsigned char OPERATION_ONLINE = 2;
    static const unsigned char OPERATION_LOCATE = 3;

    PdOnLineParsedObject(unsigned short commandToken, const ArrayList<PdIdListObject*>* driveList,
                         unsigned char operation, unsigned char stop, unsigned char adapterNumber);
    ~PdOnLineParsedObject() override;
    ParsedObject* clone() override;
    unsigned char getOperation() const { return operation; }
    // 1 to stop locating.
    unsigned char getStop() const { return stop; }

    // The request's own copy; null when none was given.
    ArrayList<PdIdListObject*>* driveList;

private:
    unsigned char operation;
    unsigned char stop;
};

// Rebuild. The action is the token id of the action word, 0 when none.
class PdRebuildParsedObject : public ParsedObject {
public:
    PdRebuildParsedObject(unsigned short commandToken, const ArrayList<PdIdListObject*>* driveList,
                          unsigned short action, unsigned char adapterNumber);
    ~PdRebuildParsedObject() override;
    ParsedObject* clone() override;
    unsigned short getAction() const { return action; }

    // The request's own copy; null when none was given.
    ArrayList<PdIdListObject*>* driveList;

private:
    unsigned short action;
};

// Copy-back: the first drive is the source (or the only drive), the second the destination.
class PdCopyBackParsedObject : public ParsedObject {
public:
    PdCopyBackParsedObject(unsigned short commandToken, const ArrayList<PdIdListObject*>* driveList,
                           unsigned short action, unsigned char adapterNumber);
    ~PdCopyBackParsedObject() override;
    ParsedObject* clone() override;
    unsigned short getAction() const { return action; }

    // The request's own copy; null when none was given.
    ArrayList<PdIdListObject*>* driveList;

private:
    unsigned short action;
};

// Set or remove a hot spare, global or dedicated to arrays. Both lists are the request's own
// copies (one allocated byte per array number); null when none was given.
class PdHspParsedObject : public ParsedObject {
public:
    PdHspParsedObject(unsigned short commandToken, const ArrayList<PdIdListObject*>* driveList,
                      const ArrayList<unsigned char*>* arrayNumbers, unsigned char enclAffinity,
                      unsigned char dedicated, unsigned char revertible, unsigned int set,
                      unsigned char adapterNumber);
    ~PdHspParsedObject() override;
    ParsedObject* clone() override;

    ArrayList<PdIdListObject*>* driveList;
    ArrayList<unsigned char*>* arrayNumbers;
    unsigned char enclAffinity;
    unsigned char dedicated;
    // 1 unless "-NonRevertible" was given.
    unsigned char revertible;
    // 1 to set, 0 to remove.
    unsigned int set;
};

// Direct drive mapping. The action is the token id of the action word.
class PdMappingParsedObject : public ParsedObject {
public:
    PdMappingParsedObject(unsigned short commandToken, unsigned short action, unsigned char adapterNumber);
    ParsedObject* clone() override;
    unsigned short getAction() const { return action; }

private:
    unsigned short action;
};

// Drive (or enclosure device) firmware download. Mode 7 when none was given.
class PdFwDownloadPo : public ParsedObject {
public:
    PdFwDownloadPo(unsigned short commandToken, unsigned char forceActivate, unsigned char sataBridge,
                   ArrayList<EnclSlotId*>* deviceList, const string& fileName, unsigned int mode,
                   unsigned char encDevId, unsigned char adapterNumber);
    ParsedObject* clone() override;

    string getFileName() const { return fileName; }
    unsigned char getSataBridge() const { return sataBridge; }
    unsigned char getForceActivate() const { return forceActivate; }
    // 1 when the targets are enclosure devices.
    unsigned char getEncDevId() const { return encDevId; }
    unsigned int getMode() const { return mode; }
    ArrayList<EnclSlotId*>* getDeviceList() const { return deviceList.get(); }

private:
    string fileName;
    unsigned char sataBridge;
    unsigned char forceActivate;
    unsigned char encDevId;
    unsigned int mode;
    SharedDriveList deviceList;
};

// Secure erase of virtual drives (the LD list) or drives (the shared drive list). Erase type
// and action are token ids, 0 when none. A pattern byte holds the eight '0'/'1' characters of
// its "-ErasePattern" text, the first character as bit 0x80.
class SecureErasePo : public LdParsedObject {
public:
    SecureErasePo(unsigned short commandToken, const ArrayList<unsigned char>* ldList, unsigned short action,
                  ArrayList<EnclSlotId*>* driveList, unsigned short eraseType, unsigned char pattern1,
                  unsigned char pattern2, unsigned char deleteVd, unsigned char adapterNumber);
    ParsedObject* clone() override;

    unsigned short getEraseType() const { return eraseType; }
    unsigned char getPattern1() const { return pattern1; }
    unsigned char getPattern2() const { return pattern2; }
    ArrayList<EnclSlotId*>* getDriveList() const { return driveList.get(); }
    unsigned short getAction() const { return action; }

    // 1 to delete the virtual drive after erasing it.
    unsigned char deleteVd;

private:
    unsigned short eraseType;
    unsigned char pattern1;
    unsigned char pattern2;
    SharedDriveList driveList;
    unsigned short action;
};

// Get or set the security key id of drives (or of the adapter when no drive list is given).
class AdPdKeyIDGetSetParsedObject : public ParsedObject {
public:
    AdPdKeyIDGetSetParsedObject(unsigned short commandToken, ArrayList<EnclSlotId*>* driveList,
                                const string& keyId, unsigned char adapterNumber);
    ParsedObject* clone() override;
    ArrayList<EnclSlotId*>* getDriveList() const { return driveList.get(); }
    string getKeyId() const { return keyId; }

private:
    SharedDriveList driveList;
    string keyId;
};

// Create, verify or change the controller's security key.
class LockKeyParsedObject : public ParsedObject {
public:
    LockKeyParsedObject(unsigned short commandToken, const string& securityKey, const string& passphrase,
                        const string& keyId, unsigned char useExternalKeyManagement, unsigned char adapterNumber,
                        const string& oldSecurityKey, unsigned char oldIsPassphrase);
    ParsedObject* clone() override;

    string getSecurityKey() const { return securityKey; }
    string getPassphrase() const { return passphrase; }
    // The old key or old pass phrase of a key change; empty otherwise.
    string getOldSecurityKey() const { return oldSecurityKey; }
    string getKeyId() const { return keyId; }

    unsigned char useExternalKeyManagement;
    // 1 when the old text is a pass phrase.
    unsigned char oldIsPassphrase;

private:
    string securityKey;
    string passphrase;
    string oldSecurityKey;
    string keyId;
};

// Destroy the controller's security key; one command id serves both command words.
class DestroyLockKeyParsedObject : public ParsedObject {
public:
    DestroyLockKeyParsedObject(unsigned short commandToken, unsigned char force, unsigned char deleteWord,
                               unsigned char adapterNumber);
    ParsedObject* clone() override;

    unsigned char force;
    // 1 when the command word was the delete form.
    unsigned char deleteWord;
};

#endif
