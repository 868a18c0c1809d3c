// What dispatch needs to know of a command, and the table that holds it by command id.
//
// Each command's traits are registered beside its processor class, by the same CpRegistration
// object that enters the class's creator (CpFactoryRegistry.h); a command that has no processor
// class registers its traits alone (CpTraitsRegistration). The dispatcher (CpControllerMgmt,
// CpController) reads these traits and never names a command. A command id without a row has
// the default traits: it runs on the controller its request names, after the controller check,
// and a non-zero result is a failure.
//
//   namespace {
//   const CpRegistration<ObjNumberCp> registration(CpTraits().countResult());
//   }
#ifndef CPTRAITS_H
#define CPTRAITS_H

// Which controller management detects and makes the controllers of a command.
enum class CpManagementKind : unsigned char {
    LinuxDriver,       // the controllers of the Linux driver
    HostCacheLibrary,  // the devices that the integrated-RAID library presents (host cache)
};

// Who answers a command.
enum class CpAnswer : unsigned char {
    Processor,        // the processor registered for the command id
    ControllerCount,  // the dispatcher: the number of controllers is printed and is the result
};

struct CpTraits {
    // False: when no controller fits the request's adapter (none detected, or the adapter is
    // absent), the command runs once on an executor without a controller instead of failing;
    // an all-adapters request whose request cannot be copied runs that way too.
    bool needsController = true;
    // False: the command runs without the controller check (model refresh, adapter, OEM
    // identifier, compatibility), e.g. to reach a controller whose model cannot be read.
    bool checksController = true;
    // True: the result is a count, so a non-zero result does not stop the adapters after it.
    bool resultIsCount = false;
    CpManagementKind management = CpManagementKind::LinuxDriver;
    CpAnswer answer = CpAnswer::Processor;

    // Chainable setters, for one-line registrations.
    constexpr CpTraits withoutControllerIfNoneFits() const
    {
        CpTraits traits = *this;
        traits.needsController = false;
        return traits;
    }
    constexpr CpTraits withoutControllerCheck() const
    {
        CpTraits traits = *this;
        traits.checksController = false;
        return traits;
    }
    constexpr CpTraits countResult() const
    {
        CpTraits traits = *this;
        traits.resultIsCount = true;
        return traits;
    }
    constexpr CpTraits managedBy(CpManagementKind kind) const
    {
        CpTraits traits = *this;
        traits.management = kind;
        return traits;
    }
    constexpr CpTraits answeredBy(CpAnswer who) const
    {
        CpTraits traits = *this;
        traits.answer = who;
        return traits;
    }

    bool operator==(const CpTraits& other) const;
    bool operator!=(const CpTraits& other) const { return !(*this == other); }
};

// One traits row per command id 0 to 254; each id can be given its row once.
class CpTraitsTable {
public:
    static const unsigned short ROW_COUNT = 255;

    // The process-wide table, made on the first call and kept until the process ends.
    static CpTraitsTable* instance();
    // Test seam: makes instance() answer the given table (null restores the process-wide one);
    // returns the table answered before.
    static CpTraitsTable* replaceInstance(CpTraitsTable* table);

    // A table of its own without rows.
    CpTraitsTable();

    // Gives the id its row. False, and nothing changes, when the id has a row already or lies
    // beyond the table.
    bool enter(unsigned short commandId, const CpTraits& traits);
    // The id's row, or the default traits for an id without one.
    CpTraits traitsOf(unsigned short commandId) const;
    bool hasRow(unsigned short commandId) const;

    CpTraitsTable(const CpTraitsTable&) = delete;
    CpTraitsTable& operator=(const CpTraitsTable&) = delete;

private:
    bool entered[ROW_COUNT];
    CpTraits rows[ROW_COUNT];
};

// The traits of the command id as the process-wide table holds them.
CpTraits commandTraits(unsigned short commandId);

#endif
