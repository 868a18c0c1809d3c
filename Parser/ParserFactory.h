// The parser factory: which parser class serves which command word.
//
// A process-wide table maps a command token id (0 to 254) to the creator of the parser class
// that serves that command. Nothing lists the parsers centrally: each parser class has one
// ParserFactoryRegistration object at namespace scope at the bottom of its own .cpp, whose
// constructor, run before the entry point, enters the class's creator under every command
// token the class names. A command word no class names has no parser.
//
//   // at the bottom of ObjNumberParser.cpp
//   namespace {
//   const ParserFactoryRegistration<ObjNumberParser> registration;
//   }
//
// A token belongs to one parser class: a registration that finds the token's slot taken leaves
// it to the class that took it, so the order in which the units are initialised decides
// nothing. The factory itself is made on first use, so it exists whichever registration asks
// first. The programs link the libraries whole, which keeps every registration object.
#ifndef PARSERFACTORY_H
#define PARSERFACTORY_H

#include "Parser/Parser.h"
#include "PavUtil/Functor.h"
#include "PavUtil/List.h"

class ParserFactory {
public:
    // Slots for the token ids 0 to 254.
    static constexpr unsigned short SLOT_COUNT = 255;

    // The process-wide factory, made (every slot empty) on the first call and never destroyed
    // before the process ends.
    static ParserFactory* instance();

    // A factory of its own with every slot empty (the process uses instance()).
    ParserFactory();

    // Copies the creator into the slot of the token id, replacing what was there. An id of
    // SLOT_COUNT or more stores nothing and prints "Invalid tokenId %d - max allowed is %d\n".
    void registerCreator(unsigned short commandToken, ParserCreator creator);
    // A new parser for the command token, made with that token, which the caller deletes; null
    // for an id of SLOT_COUNT or more and for an empty slot, without a message.
    Parser* create(unsigned short commandToken);
    // True when a creator is stored for the id.
    bool hasCreator(unsigned short commandToken) const;

private:
    ParserCreator slots[SLOT_COUNT];
};

// The creator of a parser class: calls the class's create function, which is stored as the
// creator's plain function, with the command token.
template <class XParser>
Parser* invokeParserCreate(const FunctorBase& creator, unsigned short commandToken)
{
    typedef decltype(&XParser::create) CreateFunction;
    return reinterpret_cast<CreateFunction>(creator.getFunction())(commandToken);
}

template <class XParser>
ParserCreator makeParserCreator()
{
    return ParserCreator(&invokeParserCreate<XParser>, nullptr,
                         reinterpret_cast<FunctorBase::PlainFunction>(&XParser::create), nullptr, 0);
}

// Enters the creator under the token unless another creator holds its slot already; that
// second registration of a token is refused with "Token id %d has a parser already\n".
void registerParserCreator(ParserFactory* factory, unsigned short commandToken, const ParserCreator& creator);

// Registers XParser's creator under every id of XParser::commandTokens(), in list order.
// Destroying the object removes nothing from the factory.
template <class XParser>
class ParserFactoryRegistration {
public:
    ParserFactoryRegistration()
    {
        ParserCreator creator = makeParserCreator<XParser>();
        ParserFactory* factory = ParserFactory::instance();
        if (factory == nullptr)
            return;
        ArrayList<unsigned short>* ids = XParser::commandTokens();
        if (ids == nullptr)
            return;
        for (unsigned char i = 0; i < ids->count(); ++i)
            registerParserCreator(factory, ids->get(i), creator);
        delete ids;
    }
    virtual ~ParserFactoryRegistration() {}

    ParserFactoryRegistration(const ParserFactoryRegistration&) = delete;
    ParserFactoryRegistration& operator=(const ParserFactoryRegistration&) = delete;
};

#endif
