#include "DataProvider/ZprDataProvider.h"

#include "DataProvider/DpParams.h"
#include "PavUtil/Memory.h"

void SendOperationTable::add(uint16_t kind, const ZprSendOperation& operation)
{
    if (count >= CAPACITY) {
        return;
    }
    entries[count].kind = kind;
    entries[count].operation = operation;
    ++count;
}

ZprSendOperation SendOperationTable::find(uint16_t kind) const
{
    for (unsigned int i = count; i > 0; --i) {
        if (entries[i - 1].kind == kind) {
            return entries[i - 1].operation;
        }
    }
    return ZprSendOperation();
}

ZprDpErrors* ZprDpErrors::instance()
{
    static ZprDpErrors errors;
    return &errors;
}

// The table belongs to this provider, so that the operations it holds are always bound to a
// living provider.
ZprDataProvider::ZprDataProvider()
    : errors(ZprDpErrors::instance()), operations(new (noThrowNew) SendOperationTable())
{
    if (operations) {
        operations->add(DP_KIND_DCMD, makeFunctor(this, &ZprDataProvider::sendDcmd));
        operations->add(DP_KIND_DCDB, makeFunctor(this, &ZprDataProvider::sendDcdb));
        operations->add(DP_KIND_DRIVER, makeFunctor(this, &ZprDataProvider::sendDriverCommand));
        operations->add(DP_KIND_STP, makeFunctor(this, &ZprDataProvider::sendStp));
    }
}

ZprDataProvider::~ZprDataProvider()
{
    delete operations;
}

int ZprDataProvider::execute(DpParams* request)
{
    if (!request || !operations) {
        return -1;
    }
    ZprSendOperation operation = operations->find(request->type());
    if (operation.isEmpty()) {
        return -1;
    }
    return static_cast<uint16_t>(operation.call(request));
}

bool ZprDataProvider::supports(uint8_t kind)
{
    return operations && !operations->find(kind).isEmpty();
}
