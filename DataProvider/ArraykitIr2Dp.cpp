#include "DataProvider/ArraykitIr2Dp.h"

#include <cstring>

#include "DataProvider/DpParams.h"
#include "PavUtil/Memory.h"
#include "System/SystemLinux.h"

const char* const AK_IR2_LIBRARY_NAME = "arraykitir-2";
const char* const AK_IR2_ENTRY_NAME = "ProcessLibCommandIR2";

ArraykitIr2Dp* ArraykitIr2Dp::instance()
{
    // Made once and kept for the rest of the process: the state is decided on the first call
    // and nothing retries the load.
    static ArraykitIr2Dp* bridge =
        new (noThrowNew) ArraykitIr2Dp(AK_IR2_LIBRARY_NAME, AK_IR2_ENTRY_NAME, SystemLinux::instance());
    return bridge;
}

ArraykitIr2Dp::ArraykitIr2Dp(const apstring& libraryName, const apstring& entryName, System* system)
    : handle(nullptr), entry(nullptr), currentId(0), loaded(false), system(system)
{
    if (system == nullptr) {
        return;
    }
    handle = system->loadLibrary(libraryName);
    if (handle == nullptr) {
        return;
    }
    void* symbol = system->findSymbol(handle, entryName);
    if (symbol == nullptr) {
        return;
    }
    entry = reinterpret_cast<AkLibEntry>(symbol);
    loaded = true;

    uint8_t buffer[AK_LIB_INIT_BUFFER_SIZE];
    memset(buffer, 0, sizeof buffer);
    if (callGeneral(AK_LIB_CMD_CODE_INIT, buffer, sizeof buffer) != 0) {
        loaded = false;
    } else {
        currentId = 0;
    }
}

ArraykitIr2Dp::~ArraykitIr2Dp()
{
    if (handle != nullptr && system != nullptr) {
        system->closeLibrary(handle);
    }
}

int ArraykitIr2Dp::execute(DpParams* request)
{
    if (entry == nullptr || handle == nullptr || !loaded) {
        return -1;
    }
    if (request == nullptr || request->type() != DP_KIND_AK_IR2) {
        return -1;
    }
    _AK_LIB_CMD_PARAM_T* block = static_cast<ArraykitIr2DpParams*>(request)->commandBlock();
    if (block == nullptr) {
        return -1;
    }
    if (block->cmdType == AK_LIB_CMD_TYPE_CONTROLLER) {
        block->ctrlId = currentId;
    }
    return call(block);
}

int ArraykitIr2Dp::callGeneral(uint8_t code, void* data, uint32_t length)
{
    _AK_LIB_CMD_PARAM_T block;
    memset(&block, 0, sizeof block);
    block.cmdType = AK_LIB_CMD_TYPE_GENERAL;
    block.cmdCode = code;
    block.dataLength = length;
    block.data = data;
    return call(&block);
}

bool ArraykitIr2Dp::supports(uint8_t kind) { return kind == DP_KIND_AK_IR2; }

int ArraykitIr2Dp::call(_AK_LIB_CMD_PARAM_T* block)
{
    if (entry == nullptr) {
        return 1;
    }
    if (block == nullptr) {
        return -1;
    }
    return entry(block);
}
