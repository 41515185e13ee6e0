#pragma once
// Ordered, owning container of notes or segments that keeps the elements'
// overlap flags. Elements stand in non-decreasing order of position; equal
// positions keep insertion order. Removing an element hands it back to the
// caller without deleting it.
#include <algorithm>
#include <cstdint>
#include <vector>

#include "model/current/PosWidthBlock.h"

namespace HVCurrentModel {

template <class T>
class ElementContainer : public std::vector<T*> {
public:
    ElementContainer() = default;
    ElementContainer(const ElementContainer&) = delete;
    ElementContainer& operator=(const ElementContainer&) = delete;
    virtual ~ElementContainer()
    {
        for (T* e : *this) delete e;
    }

    // Inserts after every element of equal or lower position and flags the
    // new element and each element it overlaps. A flag the new element
    // brings along (a copy of a flagged element) is dropped first.
    void insertSorted(T* element)
    {
        element->overlapped = false;
        const int64_t newEnd = int64_t{element->pos} + element->width;
        for (T* e : *this) {
            if (e->pos >= newEnd) break;
            if (spansOverlap(*element, *e)) {
                e->overlapped = true;
                element->overlapped = true;
            }
        }
        auto where = std::find_if(this->begin(), this->end(),
                                  [element](const T* e) { return e->pos > element->pos; });
        this->insert(where, element);
    }

    // Takes the element out (every occurrence; it is not deleted). Each
    // element that overlapped it keeps its flag only while it still overlaps
    // another flagged element.
    void remove(T* element)
    {
        if (element->overlapped) {
            element->overlapped = false;
            std::vector<T*> flagged;
            getOverlapped(flagged);
            std::vector<T*> cleared;
            for (T* x : flagged) {
                if (x == element || !spansOverlap(*x, *element)) continue;
                bool still = false;
                for (T* y : flagged)
                    if (y != x && y != element && spansOverlap(*x, *y)) still = true;
                if (!still) cleared.push_back(x);
            }
            // Decided on the flags as they stood, then applied together.
            for (T* x : cleared) x->overlapped = false;
        }
        this->erase(std::remove(this->begin(), this->end(), element), this->end());
    }

    // Appends every flagged element to out; true when out is not empty.
    bool getOverlapped(std::vector<T*>& out) const
    {
        for (T* e : *this)
            if (e->overlapped) out.push_back(e);
        return !out.empty();
    }

    bool hasOverlapped() const
    {
        return std::any_of(this->begin(), this->end(), [](const T* e) { return e->overlapped; });
    }

    // Puts elements whose positions or widths were changed in place back in
    // order. Their former partners are only known from the old spans, so the
    // flags of the whole container are then marked afresh.
    void reinsertAll(const std::vector<T*>& elements)
    {
        for (T* e : elements) {
            remove(e);
            insertSorted(e);
        }
        if (!elements.empty()) markAllOverlaps();
    }

    // Sets exactly the flags of the elements that overlap another one.
    void markAllOverlaps()
    {
        for (T* e : *this) e->overlapped = false;
        for (auto i = this->begin(); i != this->end(); ++i) {
            const int64_t end = int64_t{(*i)->pos} + (*i)->width;
            for (auto j = i + 1; j != this->end() && (*j)->pos < end; ++j) {
                if (spansOverlap(**i, **j)) {
                    (*i)->overlapped = true;
                    (*j)->overlapped = true;
                }
            }
        }
    }

    void insertAll(const std::vector<T*>& elements)
    {
        for (T* e : elements) insertSorted(e);
    }
};

}  // namespace HVCurrentModel
