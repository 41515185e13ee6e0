#pragma once
// Record templates shared by the insert, delete and edit records. An insert or
// delete record owns its element only through owns, and only while the
// element is outside the model; its destructor never deletes the element.
#include <cstdint>

#include "model/history/IHistoryRec.h"

template <class T, class Container>
class CommonInsertAct : public IHistoryRec {
public:
    CommonInsertAct(T* element, bool owns, Container* container, int32_t index = 0)
        : element(element), owns(owns), container(container), index(index) {}

    // Undone: the element was taken out again and belongs to this record.
    void freeIfUndone() override {
        if (owns) delete element;
        element = nullptr;
    }
    void freeIfDone() override {}

    T* element;
    bool owns;
    Container* container;
    int32_t index;
};

template <class T, class Container>
class CommonDeleteAct : public IHistoryRec {
public:
    CommonDeleteAct(T* element, bool owns, Container* container, int32_t index = 0)
        : element(element), owns(owns), container(container), index(index) {}

    void freeIfUndone() override {}
    // Done: the element stays out of the model and belongs to this record.
    void freeIfDone() override {
        if (owns) delete element;
        element = nullptr;
    }

    T* element;
    bool owns;
    Container* container;
    int32_t index;
};

// Writes whole copies of a marker's fields: before on undo, after on redo.
template <class T>
class CommonEditAct : public IHistoryRec {
public:
    CommonEditAct(T* element, const T& before, const T& after)
        : element(element), before(before), after(after) {}

    void undo() override { *element = before; }
    void redo() override { *element = after; }
    void freeIfUndone() override {}
    void freeIfDone() override {}

    T* element;
    T before;
    T after;
};
