// The two factories of the RAID model: RaidElementFactory builds model elements by type code,
// RmDataFactory builds the per-controller data access (RmData). Both hold creator functors
// that registerRaidCreators enters when the first RAID manager is made.
#ifndef RAIDELEMENTFACTORY_H
#define RAIDELEMENTFACTORY_H

#include "PavUtil/Functor.h"
#include "PavUtil/List.h"

class Controller;
class RaidElement;
class RaidElementData;
class RmData;

typedef CBFunctor2wRet<RaidElementData*, Controller*, RaidElement*> RaidElementCreator;
typedef CBFunctor1wRet<Controller*, RmData*> RmDataCreator;

class RaidElementFactory {
public:
    static const unsigned char TYPE_COUNT = 16;

    // The process-wide factory, made on first use, destroyed at process exit.
    static RaidElementFactory* instance();

    RaidElementFactory();
    // Appends the creator to the list of the type code (made at the first registration of the
    // code); the list's add result, -1 for a code of TYPE_COUNT or more.
    [[nodiscard]] virtual int registerCreator(unsigned char typeCode, RaidElementCreator creator);
    // The first element that a creator of the code builds over the data and the controller;
    // null when the code has no creator or every creator gives null.
    virtual RaidElement* create(unsigned char typeCode, RaidElementData* data, Controller* controller);
    virtual ~RaidElementFactory();

    RaidElementFactory(const RaidElementFactory&) = delete;
    RaidElementFactory& operator=(const RaidElementFactory&) = delete;

private:
    ArrayList<RaidElementCreator>* creators[TYPE_COUNT];
};

class RmDataFactory {
public:
    static RmDataFactory* instance();

    RmDataFactory();
    void registerCreator(RmDataCreator creator);
    // The first data access that a creator builds for the controller (owned by the caller);
    // null when there is none.
    virtual RmData* create(Controller* controller);
    virtual ~RmDataFactory();

    RmDataFactory(const RmDataFactory&) = delete;
    RmDataFactory& operator=(const RmDataFactory&) = delete;

private:
    ArrayList<RmDataCreator> creators;
};

#endif
