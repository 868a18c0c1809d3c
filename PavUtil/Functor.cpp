#include "PavUtil/Functor.h"

#include <cstdint>

void FunctorBase::init(void* calleeObject, PlainFunction plainFunction,
                       const void* memberFunctionPtr, std::size_t size)
{
    callee = calleeObject;
    if (callee != nullptr) {
        std::size_t copied = size < MEMBER_FUNCTION_SIZE ? size : MEMBER_FUNCTION_SIZE;
        if (memberFunctionPtr == nullptr)
            copied = 0;
        if (copied > 0)
            std::memcpy(memberFunction, memberFunctionPtr, copied);
        // The rest stays zero so that equal member pointers compare equal byte for byte.
        std::memset(memberFunction + copied, 0, MEMBER_FUNCTION_SIZE - copied);
    } else {
        std::memcpy(memberFunction, &plainFunction, sizeof plainFunction);
    }
}

void FunctorBase::clear()
{
    callee = nullptr;
    PlainFunction none = nullptr;
    std::memcpy(memberFunction, &none, sizeof none);
}

bool FunctorBase::operator==(const FunctorBase& other) const
{
    if (callee == nullptr)
        return other.callee == nullptr && getFunction() == other.getFunction();
    return other.callee == callee &&
           std::memcmp(memberFunction, other.memberFunction, MEMBER_FUNCTION_SIZE) == 0;
}

bool FunctorBase::operator<(const FunctorBase& other) const
{
    if (callee == nullptr) {
        if (other.callee != nullptr)
            return true;
        return reinterpret_cast<std::uintptr_t>(getFunction()) <
               reinterpret_cast<std::uintptr_t>(other.getFunction());
    }
    if (other.callee == nullptr)
        return false;
    if (callee != other.callee)
        return reinterpret_cast<std::uintptr_t>(callee) <
               reinterpret_cast<std::uintptr_t>(other.callee);
    return std::memcmp(memberFunction, other.memberFunction, MEMBER_FUNCTION_SIZE) < 0;
}
