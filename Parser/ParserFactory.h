// The parser factory: which parser class serves which command word.
//
// A process-wide table maps a command token id (0 to 254) to the creator of the parser class
// that serves that command. Nothing lists the parsers centrally in the code that uses the
// factory: each parser class has one ParserFactoryRegistration object, whose constructor,
// run before the entry point, enters the class's creator under every command token the class
// names. A command word no class names has no parser.
//
// The registration objects live at namespace scope in the registration unit, constructed in
// a fixed order before the entry point; the factory itself is made on first use, so it exists
// whichever registration asks first. The run sequence calls parserRegistrationAnchor() before
// it uses the factory: that reference keeps the registration unit (and with it every parser
// class) in any program linked from the static libraries.
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
            factory->registerCreator(ids->get(i), creator);
        delete ids;
    }
    virtual ~ParserFactoryRegistration() {}

    ParserFactoryRegistration(const ParserFactoryRegistration&) = delete;
    ParserFactoryRegistration& operator=(const ParserFactoryRegistration&) = delete;
};

// Does nothing; calling it keeps the parser registrations in the program.
void parserRegistrationAnchor();

#endif
