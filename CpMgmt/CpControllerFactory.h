// The factory of the command-side controller classes: a table of creators indexed by the
// controller's type code (Controller::type). Only the controller classes that run commands have
// a creator: the SAS hardware-RAID controllers of the Linux driver (7) and the controllers of
// the integrated-RAID library (14).
#ifndef CPCONTROLLERFACTORY_H
#define CPCONTROLLERFACTORY_H

#include "PavUtil/Functor.h"

class Controller;
class CpController;
class ParsedObject;

class CpControllerFactory {
public:
    static const unsigned short SLOT_COUNT = 32;

    // The process-wide factory, made on the first call and kept until the process ends.
    static CpControllerFactory* instance();

    // A factory of its own with every slot empty (the process uses instance()).
    CpControllerFactory();

    // Replaces the creator of the type code; a code of SLOT_COUNT or more is refused.
    virtual void registerCreator(unsigned short typeCode, CpControllerCreator creator);
    // A new CpController owning the request, of the class registered for the controller's type;
    // null for a null controller or a type without creator (the request then stays the caller's).
    virtual CpController* create(Controller* controller, ParsedObject* request);
    virtual ~CpControllerFactory();

    bool hasCreator(unsigned short typeCode) const;

    CpControllerFactory(const CpControllerFactory&) = delete;
    CpControllerFactory& operator=(const CpControllerFactory&) = delete;

private:
    CpControllerCreator slots[SLOT_COUNT];
};

// Enters T::create under T::TYPE_CODE in the process-wide factory.
template <class T>
class CpControllerRegistration {
public:
    CpControllerRegistration()
    {
        CpControllerCreator creator = makeFunctor(&T::create);
        CpControllerFactory* factory = CpControllerFactory::instance();
        if (factory == nullptr)
            return;
        factory->registerCreator(T::TYPE_CODE, creator);
    }
    virtual ~CpControllerRegistration() {}

    CpControllerRegistration(const CpControllerRegistration&) = delete;
    CpControllerRegistration& operator=(const CpControllerRegistration&) = delete;
};

// Fills the process-wide factory; only the first call does anything.
void registerCpControllers();

#endif
