// The span data of these controllers: answers from the span's record inside the cached
// configuration buffer, which outlives the elements built from it.
#ifndef SPANDATAZPR_H
#define SPANDATAZPR_H

#include "RaidManager/Span.h"
#include "RaidManager/Zpr/Records/Config/ZprSpanRecord.h"

class SpanDataZpr : public SpanData {
public:
    // Without a record until setRecord.
    SpanDataZpr(Controller* controller, RaidElementId* id) : SpanData(controller, id) {}
    ~SpanDataZpr() override;
    // Empty: a span has no text of its own.
    string toString() override { return string(); }

    void setRecord(const ZprSpanRecord& spanRecord) { record = spanRecord; }

    [[nodiscard]] int getStartBlock(uint64_t* block) override;
    [[nodiscard]] int getBlockCount(uint64_t* count) override;

private:
    ZprSpanRecord record;   // a view into the configuration buffer; absent until set
};

#endif
