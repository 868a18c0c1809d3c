// The buffer that the timed controller diagnostic (DCMD_ADP_DIAG_START) is given for its result.
#ifndef ZPRDIAGNOSTICRESULT_H
#define ZPRDIAGNOSTICRESULT_H

#include <cstddef>

class ZprDiagnosticResult {
public:
    static constexpr size_t SIZE = 204800;
};

#endif
