// The data provider of the firmware-interface request kinds (0-3).
//
// Requests are dispatched by kind through a table of send operations; the derived transport
// implements the four operations. Results reach the caller reduced to 16 bits, so a request the
// transport could not send (-1) arrives as 0xFFFF.
#ifndef ZPRDATAPROVIDER_H
#define ZPRDATAPROVIDER_H

#include <cstdint>

#include "DataProvider/DataProvider.h"
#include "PavUtil/Functor.h"

// One send operation: the request in, the transport's status out.
typedef CBFunctor1wRet<DpParams*, int> ZprSendOperation;

// Up to 32 pairs of a request kind and the operation that sends it.
class SendOperationTable {
public:
    static const unsigned int CAPACITY = 32;

    SendOperationTable() : count(0) {}
    virtual ~SendOperationTable() {}

    // Appends a pair; ignored when the table is full.
    void add(uint16_t kind, const ZprSendOperation& operation);
    // The operation of the newest pair with the kind; an empty functor when none.
    ZprSendOperation find(uint16_t kind) const;
    uint8_t size() const { return count; }

private:
    struct Entry {
        uint16_t kind;
        ZprSendOperation operation;
    };
    Entry entries[CAPACITY];
    uint8_t count;
};

// Process-wide status holder of the firmware-interface providers (kept for the providers;
// nothing reads it).
class ZprDpErrors {
public:
    static ZprDpErrors* instance();
    virtual ~ZprDpErrors() {}

    uint32_t status() const { return value; }
    void setStatus(uint32_t status) { value = status; }

private:
    ZprDpErrors() : value(0) {}
    uint32_t value;
};

class ZprDataProvider : public DataProvider {
public:
    // Sends the request through the operation of its kind: the result reduced to 16 bits, or -1
    // when no operation carries the kind.
    [[nodiscard]] int execute(DpParams* request) override;
    bool supports(uint8_t kind) override;
    ~ZprDataProvider() override;

    [[nodiscard]] virtual int sendDcmd(DpParams* request) = 0;
    [[nodiscard]] virtual int sendDcdb(DpParams* request) = 0;
    [[nodiscard]] virtual int sendDriverCommand(DpParams* request) = 0;
    [[nodiscard]] virtual int sendStp(DpParams* request) = 0;

protected:
    ZprDataProvider();

private:
    ZprDataProvider(const ZprDataProvider&) = delete;
    ZprDataProvider& operator=(const ZprDataProvider&) = delete;

    ZprDpErrors* errors;
    SendOperationTable* operations;
};

#endif
