// Callback functors: small value objects holding a function to call later, either a plain
// function or a member function together with the object it is called on.
//
// Every factory and registry keeps its creators as functors, and every parser keeps its rule
// handlers as functors. A functor is copied by value, compared for equality (an empty functor
// marks an empty factory slot) and called through an invoker that knows the argument and
// result types. Functors hold no resources.
//
//   CBFunctor1wRet<unsigned short, Parser*> creator = makeFunctor(&MyParser::create);
//   TokenHandler rule = makeFunctor(this, &MyParser::onOption);
//   TokenHandler plainRule = makeFunctionHandler(&someRule);
#ifndef PAVUTIL_FUNCTOR_H
#define PAVUTIL_FUNCTOR_H

#include <cstddef>
#include <cstring>

class FunctorBase {
public:
    typedef void (*PlainFunction)();

    // Room for any member-function pointer of this platform.
    static const std::size_t MEMBER_FUNCTION_SIZE = 16;

    FunctorBase() : callee(nullptr) { std::memset(memberFunction, 0, sizeof memberFunction); }

    // Stores the callee. With a callee, copies `size` bytes of the member-function pointer at
    // `memberFunctionPtr` and zeroes the rest of the 16-byte area; without one, stores the
    // plain function.
    void init(void* calleeObject, PlainFunction plainFunction, const void* memberFunctionPtr,
              std::size_t size);

    // Makes the functor empty: no callee, no function.
    void clear();

    bool isEmpty() const { return callee == nullptr && getFunction() == nullptr; }

    void* getCallee() const { return callee; }
    // The plain function, which shares the first bytes of the member-function area.
    PlainFunction getFunction() const
    {
        PlainFunction function;
        std::memcpy(&function, memberFunction, sizeof function);
        return function;
    }
    const void* getMemberFunction() const { return memberFunction; }

    // Equal: both without callee and the same plain function, or the same callee and the same
    // member-function bytes.
    bool operator==(const FunctorBase& other) const;
    bool operator!=(const FunctorBase& other) const { return !(*this == other); }
    // Plain-function functors order before member-function functors; then by address.
    bool operator<(const FunctorBase& other) const;

protected:
    void* callee;  // object a member function is called on; null for a plain function
    alignas(PlainFunction) unsigned char memberFunction[MEMBER_FUNCTION_SIZE];
};

// The typed part shared by the callbacks below: the invoker that knows the argument types A...
// and the result type R, and the calls through it.
template <class R, class... A>
class TypedFunctor : public FunctorBase {
public:
    typedef R (*Invoker)(const FunctorBase&, A...);
    typedef R (*Function)(A...);

    TypedFunctor() : invoker(nullptr) {}
    TypedFunctor(Invoker inv, void* calleeObject, PlainFunction plainFunction,
                 const void* memberFunctionPtr, std::size_t size)
        : invoker(nullptr)
    {
        init(inv, calleeObject, plainFunction, memberFunctionPtr, size);
    }

    void init(Invoker inv, void* calleeObject, PlainFunction plainFunction,
              const void* memberFunctionPtr, std::size_t size)
    {
        FunctorBase::init(calleeObject, plainFunction, memberFunctionPtr, size);
        invoker = inv;
    }

    void clear()
    {
        FunctorBase::clear();
        invoker = nullptr;
    }

    // Calls the function; an empty functor returns a default value of R.
    R call(A... args) const
    {
        if (invoker == nullptr || isEmpty())
            return R();
        return invoker(*this, args...);
    }
    R operator()(A... args) const { return call(args...); }

    Invoker getInvoker() const { return invoker; }

    static R functionInvoker(const FunctorBase& functor, A... args)
    {
        return reinterpret_cast<Function>(functor.getFunction())(args...);
    }

    template <class Callee, class MemberFunction>
    static R memberInvoker(const FunctorBase& functor, A... args)
    {
        MemberFunction member;
        std::memcpy(&member, functor.getMemberFunction(), sizeof member);
        return (static_cast<Callee*>(functor.getCallee())->*member)(args...);
    }

private:
    Invoker invoker;
};

// A callback taking one argument of type A1 and returning R.
template <class A1, class R>
class CBFunctor1wRet : public TypedFunctor<R, A1> {
public:
    using TypedFunctor<R, A1>::TypedFunctor;
};

// A callback taking two arguments of types A1 and A2 and returning R.
template <class A1, class A2, class R>
class CBFunctor2wRet : public TypedFunctor<R, A1, A2> {
public:
    using TypedFunctor<R, A1, A2>::TypedFunctor;
};

// ---- makers ---------------------------------------------------------------------------------

template <class A1, class R>
CBFunctor1wRet<A1, R> makeFunctor(R (*function)(A1))
{
    typedef CBFunctor1wRet<A1, R> F;
    return F(&F::functionInvoker, nullptr, reinterpret_cast<FunctorBase::PlainFunction>(function),
             nullptr, 0);
}

template <class A1, class A2, class R>
CBFunctor2wRet<A1, A2, R> makeFunctor(R (*function)(A1, A2))
{
    typedef CBFunctor2wRet<A1, A2, R> F;
    return F(&F::functionInvoker, nullptr, reinterpret_cast<FunctorBase::PlainFunction>(function),
             nullptr, 0);
}

// Member functions (virtual ones dispatch virtually); the callee may be of a class derived
// from the member function's class.
template <class Callee, class C, class A1, class R>
CBFunctor1wRet<A1, R> makeFunctor(Callee* object, R (C::*member)(A1))
{
    typedef CBFunctor1wRet<A1, R> F;
    typedef R (C::*M)(A1);
    static_assert(sizeof(M) <= FunctorBase::MEMBER_FUNCTION_SIZE, "member pointer too large");
    return F(&F::template memberInvoker<C, M>, static_cast<void*>(static_cast<C*>(object)),
             nullptr, &member, sizeof member);
}

template <class Callee, class C, class A1, class A2, class R>
CBFunctor2wRet<A1, A2, R> makeFunctor(Callee* object, R (C::*member)(A1, A2))
{
    typedef CBFunctor2wRet<A1, A2, R> F;
    typedef R (C::*M)(A1, A2);
    static_assert(sizeof(M) <= FunctorBase::MEMBER_FUNCTION_SIZE, "member pointer too large");
    return F(&F::template memberInvoker<C, M>, static_cast<void*>(static_cast<C*>(object)),
             nullptr, &member, sizeof member);
}

template <class Callee, class C, class A1, class R>
CBFunctor1wRet<A1, R> makeFunctor(Callee* object, R (C::*member)(A1) const)
{
    typedef CBFunctor1wRet<A1, R> F;
    typedef R (C::*M)(A1) const;
    static_assert(sizeof(M) <= FunctorBase::MEMBER_FUNCTION_SIZE, "member pointer too large");
    return F(&F::template memberInvoker<C, M>, static_cast<void*>(static_cast<C*>(object)),
             nullptr, &member, sizeof member);
}

template <class Callee, class C, class A1, class A2, class R>
CBFunctor2wRet<A1, A2, R> makeFunctor(Callee* object, R (C::*member)(A1, A2) const)
{
    typedef CBFunctor2wRet<A1, A2, R> F;
    typedef R (C::*M)(A1, A2) const;
    static_assert(sizeof(M) <= FunctorBase::MEMBER_FUNCTION_SIZE, "member pointer too large");
    return F(&F::template memberInvoker<C, M>, static_cast<void*>(static_cast<C*>(object)),
             nullptr, &member, sizeof member);
}

// ---- functor types of the program -----------------------------------------------------------

template <class T> class ArrayList;
class Token;
class Parser;
class CommandProcessor;
class Controller;
class ParsedObject;
class CpController;

// A parser rule: token list and position; 0 when taken, -1 when not taken.
typedef CBFunctor2wRet<ArrayList<Token*>*, unsigned char, int> TokenHandler;
// Creates a parser for a command token id.
typedef CBFunctor1wRet<unsigned short, Parser*> ParserCreator;
// Creates a command processor for a kind.
typedef CBFunctor1wRet<unsigned short, CommandProcessor*> CpCreatorFunctor;
// Creates the per-controller executor of a request.
typedef CBFunctor2wRet<Controller*, ParsedObject*, CpController*> CpControllerCreator;

// A parser rule made from a plain function.
inline TokenHandler makeFunctionHandler(int (*function)(ArrayList<Token*>*, unsigned char))
{
    return makeFunctor(function);
}

#endif
