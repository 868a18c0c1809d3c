// The common ground of the RAID model: the element base RaidElement, the data-object base
// RaidElementData and the identifier base RaidElementId.
//
// Every model object (adapter, drive, virtual drive, array, disk group, spare, span) is an
// element that holds a data object; the element answers every operation through its data
// object, which implements one data interface for the controller family in use.
#ifndef RAIDELEMENT_H
#define RAIDELEMENT_H

#include "PavUtil/List.h"
#include "PavUtil/Memory.h"
#include "PavUtil/apstring.h"
#include "RaidManager/RaidElementId.h"

class Controller;
class ControllerId;

// Element type codes, the keys of RaidElementFactory.
const unsigned char ELEMENT_TYPE_ADAPTER = 0;
const unsigned char ELEMENT_TYPE_PD = 1;
const unsigned char ELEMENT_TYPE_VD = 2;
const unsigned char ELEMENT_TYPE_ARRAY = 3;
const unsigned char ELEMENT_TYPE_DISK_GROUP = 4;
const unsigned char ELEMENT_TYPE_SPARE = 5;
const unsigned char ELEMENT_TYPE_SPAN = 6;

class RaidElementData {
public:
    // Keeps the controller (not owned) and its identifier; owns the element identifier, which
    // may be null.
    RaidElementData(Controller* controller, RaidElementId* id);
    virtual string toString() = 0;
    // Deletes the identifier.
    virtual ~RaidElementData() = 0;

    RaidElementId* getId() const { return id; }
    Controller* getController() const { return controller; }
    ControllerId* getControllerId() const { return controllerId; }

    RaidElementData(const RaidElementData&) = delete;
    RaidElementData& operator=(const RaidElementData&) = delete;

protected:
    Controller* controller;
    ControllerId* controllerId;
    RaidElementId* id;
};

class RaidElement {
public:
    // Takes ownership of the data object (which may be null); the controller is not owned.
    RaidElement(RaidElementData* data, Controller* controller);
    virtual string toString() = 0;
    // Deletes the data object.
    virtual ~RaidElement();

    RaidElementId* getId() const;
    Controller* getController() const { return controller; }

    RaidElement(const RaidElement&) = delete;
    RaidElement& operator=(const RaidElement&) = delete;

protected:
    // The data object's text, or an empty text without one.
    string dataText() const;

    Controller* controller;
    RaidElementData* data;
};

// The creator of an element class Element over data interface Data: a new Element over the
// data object, or null when there is none or it does not implement Data.
template <class Element, class Data>
RaidElement* createElementOver(RaidElementData* data, Controller* controller)
{
    Data* typed = dynamic_cast<Data*>(data);
    if (typed == nullptr)
        return nullptr;
    return new (noThrowNew) Element(typed, controller);
}

// Appends `element` to `*list`, making the list (capacity 4) first: 0, or -1 when out of memory
// or full.
template <class T>
[[nodiscard]] int appendToList(ArrayList<T>*& list, T element)
{
    if (list == nullptr) {
        list = new (noThrowNew) ArrayList<T>(4);
        if (list == nullptr)
            return -1;
    }
    return list->add(element);
}

// Deletes a list that owns its elements, with them; a null list is nothing to delete.
template <class T>
void deleteListAndElements(ArrayList<T*>* list)
{
    for (unsigned char i = 0; list != nullptr && i < list->count(); ++i)
        delete list->get(i);
    delete list;
}

// Walks `list` asking ask(element, &answer) with the answer preset to 0: the first failure of
// an ask is the result; an answer of 1 sets *found to 1 and ends the walk with 0; after the
// last element *found is 0 and the result 0.
template <class T, class Ask>
[[nodiscard]] int findAnswerOne(const ArrayList<T>* list, uint8_t* found, Ask ask)
{
    for (unsigned char i = 0; list != nullptr && i < list->count(); ++i) {
        uint8_t answer = 0;
        int status = ask(list->get(i), &answer);
        if (status != 0)
            return status;
        if (answer == 1) {
            *found = 1;
            return 0;
        }
    }
    *found = 0;
    return 0;
}

#endif
