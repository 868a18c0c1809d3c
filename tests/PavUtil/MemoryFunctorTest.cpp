#include "PavUtil/Functor.h"
#include "PavUtil/List.h"
#include "PavUtil/Memory.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace {

const std::string OOM = "!!! SYSTEM IS OUT OF MEMORY !!!\n";

struct Counted {
    static int constructed;
    int value;
    explicit Counted(int v) : value(v) { ++constructed; }
};
int Counted::constructed = 0;

using testsupport::stdoutOf;

int addOne(int v) { return v + 1; }
int addTwo(int v) { return v + 2; }
int sumOf(int a, int b) { return a + b; }

int takeRule(ArrayList<Token*>* tokens, unsigned char position)
{
    return tokens == nullptr && position == 7 ? 0 : -1;
}

class Base {
public:
    virtual ~Base() {}
    virtual int kind(int v) { return v; }
    int plain(int v, int w) { return v * w + tag; }
    int constRead(int v) const { return v + tag; }
    int tag = 100;
};

class Padding {
public:
    virtual ~Padding() {}
    long long filler = 1;
};

// Multiple bases: the member pointer must adjust the object address to reach Base.
class Derived : public Padding, public Base {
public:
    int kind(int v) override { return -v; }
};

} // namespace

TEST(Memory, FailedAllocationsReportAndYieldNull)
{
    Counted::constructed = 0;
    Counted* object = nullptr;
    char* buffer = nullptr;
    void* raw = nullptr;
    std::string out = stdoutOf([&] {
        failNextAllocations(3);
        object = new (noThrowNew) Counted(4);
        buffer = new (noThrowNew) char[64];
        raw = allocateMemory(16);
    });
    EXPECT_EQ(out, OOM + OOM + OOM);  // once per failed request
    EXPECT_EQ(object, nullptr);
    EXPECT_EQ(Counted::constructed, 0);  // no constructor runs on a null result
    EXPECT_EQ(buffer, nullptr);
    EXPECT_EQ(raw, nullptr);
    EXPECT_EQ(pendingAllocationFailures(), 0u);

    // Afterwards allocation works again and is silent.
    out = stdoutOf([&] {
        object = new (noThrowNew) Counted(5);
        buffer = new (noThrowNew) char[64];
        raw = allocateMemory(0);  // a valid block even for 0 bytes
    });
    EXPECT_EQ(out, "");
    ASSERT_NE(object, nullptr);
    EXPECT_EQ(object->value, 5);
    EXPECT_NE(buffer, nullptr);
    EXPECT_NE(raw, nullptr);
    delete object;
    delete[] buffer;
    releaseMemory(raw);
    releaseMemory(nullptr);  // releasing null does nothing

    failNextAllocations(2);
    failNextAllocations(0);  // cancels
    EXPECT_EQ(pendingAllocationFailures(), 0u);
}

TEST(Memory, ImpossibleSizeReportsInsteadOfThrowing)
{
    std::string out = stdoutOf([] {
        volatile std::size_t huge = static_cast<std::size_t>(-1) - 64;
        void* raw = allocateMemory(huge);
        EXPECT_EQ(raw, nullptr);
        char* array = new (noThrowNew) char[huge];
        EXPECT_EQ(array, nullptr);
    });
    EXPECT_EQ(out, OOM + OOM);
}

TEST(Functor, PlainFunctionEqualityAndCall)
{
    CBFunctor1wRet<int, int> a = makeFunctor(&addOne);
    CBFunctor1wRet<int, int> b = makeFunctor(&addOne);
    CBFunctor1wRet<int, int> c = makeFunctor(&addTwo);
    EXPECT_TRUE(a == b);
    EXPECT_FALSE(a != b);
    EXPECT_TRUE(a != c);
    EXPECT_EQ(a.call(1), 2);
    EXPECT_EQ(c(1), 3);
    EXPECT_EQ(makeFunctor(&sumOf).call(2, 3), 5);

    TokenHandler rule = makeFunctionHandler(&takeRule);
    EXPECT_EQ(rule.call(nullptr, 7), 0);
    EXPECT_EQ(rule.call(nullptr, 8), -1);
    EXPECT_EQ(rule.getCallee(), nullptr);
}

TEST(Functor, EmptyFunctors)
{
    CBFunctor1wRet<int, int> empty;
    CBFunctor1wRet<int, int> other;
    EXPECT_TRUE(empty.isEmpty());
    EXPECT_TRUE(empty == other);
    // A slot that was cleared equals a default-made functor.
    CBFunctor1wRet<int, int> cleared = makeFunctor(&addOne);
    EXPECT_FALSE(cleared == empty);
    cleared.clear();
    EXPECT_TRUE(cleared == empty);
    // Calling an empty functor is harmless and yields a default value.
    EXPECT_EQ(empty.call(41), 0);
    CBFunctor2wRet<Controller*, ParsedObject*, CpController*> creator;
    EXPECT_EQ(creator.call(nullptr, nullptr), nullptr);
}

TEST(Functor, MemberFunctionsWithVirtualDispatchAndAdjustment)
{
    Base base;
    Derived derived;
    derived.tag = 7;
    CBFunctor1wRet<int, int> onBase = makeFunctor(&base, &Base::kind);
    CBFunctor1wRet<int, int> onDerived = makeFunctor(&derived, &Base::kind);
    EXPECT_EQ(onBase.call(5), 5);
    EXPECT_EQ(onDerived.call(5), -5);  // virtual dispatch through the callee
    EXPECT_EQ(makeFunctor(&derived, &Base::plain).call(2, 3), 13);
    EXPECT_EQ(makeFunctor(&derived, &Base::constRead).call(1), 8);

    // Same member function on two objects: not equal; on the same object: equal byte for byte.
    Base second;
    EXPECT_FALSE(makeFunctor(&base, &Base::kind) == makeFunctor(&second, &Base::kind));
    EXPECT_TRUE(makeFunctor(&base, &Base::kind) == makeFunctor(&base, &Base::kind));
    // A functor with a callee never equals one without.
    CBFunctor1wRet<int, int> plain = makeFunctor(&addOne);
    EXPECT_FALSE(onBase == plain);
    EXPECT_FALSE(plain == onBase);
    EXPECT_NE(onBase.getCallee(), nullptr);
}

TEST(Functor, PlainFunctionsOrderFirst)
{
    Base base, other;
    CBFunctor1wRet<int, int> plainA = makeFunctor(&addOne);
    CBFunctor1wRet<int, int> plainB = makeFunctor(&addTwo);
    CBFunctor1wRet<int, int> member = makeFunctor(&base, &Base::kind);
    CBFunctor1wRet<int, int> memberOther = makeFunctor(&other, &Base::kind);
    EXPECT_TRUE(plainA < member);
    EXPECT_TRUE(plainB < member);
    EXPECT_FALSE(member < plainA);
    EXPECT_TRUE((plainA < plainB) != (plainB < plainA));
    EXPECT_TRUE((member < memberOther) != (memberOther < member));
    EXPECT_FALSE(member < member);
    EXPECT_FALSE(plainA < plainA);
}

TEST(Functor, InitStoresTheGivenParts)
{
    // Explicit construction as a factory or parser maker does it.
    typedef CBFunctor1wRet<int, int> F;
    F viaInit;
    viaInit.init(&F::functionInvoker, nullptr,
                 reinterpret_cast<FunctorBase::PlainFunction>(&addTwo), nullptr, 0);
    EXPECT_EQ(viaInit.call(1), 3);
    EXPECT_TRUE(viaInit == makeFunctor(&addTwo));

    Base base;
    int (Base::*member)(int) = &Base::kind;
    F bound(&F::memberInvoker<Base, int (Base::*)(int)>, &base, nullptr, &member, sizeof member);
    EXPECT_EQ(bound.call(9), 9);
    EXPECT_TRUE(bound == makeFunctor(&base, &Base::kind));
    // A short member pointer leaves the rest of the 16-byte area zero.
    F shortCopy(&F::memberInvoker<Base, int (Base::*)(int)>, &base, nullptr, &member, 8);
    const unsigned char* area = static_cast<const unsigned char*>(shortCopy.getMemberFunction());
    for (std::size_t i = 8; i < FunctorBase::MEMBER_FUNCTION_SIZE; ++i)
        EXPECT_EQ(area[i], 0) << i;
}
