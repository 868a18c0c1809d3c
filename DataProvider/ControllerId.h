// Identifiers of detected controllers.
//
// Every detected controller is known by one identifier: the adapter number that the dispatcher
// assigns and the addressing its transport needs. Discovery makes the identifiers and hands them
// over in the list it returns; the dispatcher deletes them at the end of the run. Controllers and
// firmware requests only hold the pointer.
#ifndef CONTROLLERID_H
#define CONTROLLERID_H

#include <cstdint>

// Adapter number of an identifier that the dispatcher has not numbered yet.
const uint8_t CONTROLLER_NUMBER_UNASSIGNED = 255;

// Driver kinds of a controller served by the Linux driver.
const uint32_t LINUX_DRIVER_HWR = 0;  // the hardware-RAID driver (quillraid_sas)
const uint32_t LINUX_DRIVER_SWR = 1;  // the software-RAID driver (node quillraid_swr)

class ControllerId {
public:
    virtual ~ControllerId() = 0;

    uint8_t getNumber() const { return number; }
    void setNumber(uint8_t value) { number = value; }

protected:
    explicit ControllerId(uint8_t initialNumber = CONTROLLER_NUMBER_UNASSIGNED) : number(initialNumber) {}

private:
    ControllerId(const ControllerId&) = delete;
    ControllerId& operator=(const ControllerId&) = delete;

    uint8_t number;
};

// A controller served by the Linux driver: its SCSI host number, the descriptor of the driver's
// ioctl node that serves it and the driver kind.
class LinuxCtrlId : public ControllerId {
public:
    LinuxCtrlId(uint32_t kind, int32_t fd, uint32_t hostNumber);
    ~LinuxCtrlId() override;

    uint32_t getKind() const { return driverKind; }
    int32_t getFd() const { return fileDescriptor; }
    uint32_t getHostNumber() const { return hostNo; }

private:
    uint32_t hostNo;
    int32_t fileDescriptor;
    uint32_t driverKind;
};

// A controller that the integrated-RAID library reports, named by the library's own id.
class AkIr2CtrlId : public ControllerId {
public:
    AkIr2CtrlId(uint32_t libraryId, uint8_t number);
    ~AkIr2CtrlId() override;

    uint32_t getLibraryId() const { return libraryControllerId; }

private:
    uint32_t libraryControllerId;
};

#endif
