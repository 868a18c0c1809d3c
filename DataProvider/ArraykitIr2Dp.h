// The bridge to the integrated-RAID library: the data provider that owns the loaded library and
// hands command blocks to its entry point.
//
// The library ("libarraykitir-2.so") is loaded once, when the bridge is made, from the library
// search places of the operating-system services; its entry is called once to initialize it.
// The bridge carries request kind 4 (ArraykitIr2DpParams) only. Results reach the caller as the
// library returned them, the full int. The bridge prints nothing itself.
#ifndef ARRAYKITIR2DP_H
#define ARRAYKITIR2DP_H

#include <cstdint>

#include "DataProvider/AkLibCommand.h"
#include "DataProvider/DataProvider.h"
#include "PavUtil/apstring.h"

class System;

// Name of the library ("lib<name>.so") and of its entry point.
extern const char* const AK_IR2_LIBRARY_NAME;   // "arraykitir-2"
extern const char* const AK_IR2_ENTRY_NAME;     // "ProcessLibCommandIR2"

class ArraykitIr2Dp : public DataProvider {
public:
    // The process-wide bridge, made (and the library loaded) on the first call. It exists even
    // when loading failed; it is null only when it cannot be allocated.
    static ArraykitIr2Dp* instance();

    // Loads the library through `system` (null: the bridge stays unloaded) and initializes it.
    ArraykitIr2Dp(const apstring& libraryName, const apstring& entryName, System* system);

    // -1 when the bridge is not loaded or the request is not a library command with a block;
    // else, for a block of type 11, the current controller id replaces the block's, and the
    // library's result is returned.
    [[nodiscard]] int execute(DpParams* request) override;
    bool supports(uint8_t kind) override;
    // Closes the library when it was loaded.
    ~ArraykitIr2Dp() override;

    // The entry's result for the block (without the loaded check); 1 when there is no entry,
    // -1 for a null block.
    [[nodiscard]] int call(_AK_LIB_CMD_PARAM_T* block);
    // A library-wide command (type 0) in a fresh block around the caller's buffer; call()'s
    // result.
    [[nodiscard]] int callGeneral(uint8_t code, void* data, uint32_t length);
    void setCurrentId(uint32_t id) { currentId = id; }
    uint32_t getCurrentId() const { return currentId; }
    bool isLoaded() const { return loaded; }

private:
    ArraykitIr2Dp(const ArraykitIr2Dp&) = delete;
    ArraykitIr2Dp& operator=(const ArraykitIr2Dp&) = delete;

    void* handle;
    AkLibEntry entry;
    uint32_t currentId;
    bool loaded;
    System* system;
};

#endif
