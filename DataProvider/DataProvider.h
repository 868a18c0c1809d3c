// A data provider carries firmware requests to a controller.
//
// Every controller holds a list of providers; Controller::execute hands a request to the first
// provider that supports the request's kind.
#ifndef DATAPROVIDER_H
#define DATAPROVIDER_H

#include <cstdint>

class DpParams;

class DataProvider {
public:
    // Carries the request; the result is the provider's status for it.
    [[nodiscard]] virtual int execute(DpParams* request) = 0;
    // True when the provider carries requests of this kind.
    virtual bool supports(uint8_t kind) = 0;
    virtual ~DataProvider() = 0;
};

#endif
