#pragma once
// Ordered, owning container of notes or segments that keeps the elements'
// overlap flags. Elements stand in non-decreasing order of position; equal
// positions keep insertion order. Removing an element hands it back to the
// caller without deleting it.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <unordered_set>
#include <utility>
#include <vector>

#include "model/current/OverlapSweep.h"
#include "model/current/PosWidthBlock.h"

namespace HVCurrentModel {

// Elements looked up by address, as the edits of many elements at once list
// them.
template <class T>
using PointerSet = std::unordered_set<const T*>;

template <class T>
class ElementContainer {
public:
    using const_iterator = typename std::vector<T*>::const_iterator;

    ElementContainer() = default;
    ElementContainer(const ElementContainer&) = delete;
    ElementContainer& operator=(const ElementContainer&) = delete;
    virtual ~ElementContainer()
    {
        for (T* e : items) delete e;
    }

    size_t size() const { return items.size(); }
    bool empty() const { return items.empty(); }
    T* operator[](size_t i) const { return items[i]; }
    T* front() const { return items.front(); }
    T* back() const { return items.back(); }
    const_iterator begin() const { return items.begin(); }
    const_iterator end() const { return items.end(); }
    std::vector<T*> toVector() const { return items; }
    bool contains(const T* element) const { return indexOf(element) != size(); }

    // Appends an element (not yet in the container) as it stands, flag
    // included: for filling in order, or before sortAndMarkOverlaps.
    void push_back(T* element)
    {
        items.push_back(element);
        widen(*element);
    }

    // Replaces the elements by the listed ones (not deleting those there),
    // as they stand, flags included.
    void assign(std::vector<T*> elements)
    {
        items = std::move(elements);
        recountMaxWidth();
    }

    // Forgets every element without deleting it.
    void clear() { assign({}); }

    // Inserts after every element of equal or lower position and flags the
    // new element and each element it overlaps. A flag the new element
    // brings along (a copy of a flagged element) is dropped first.
    void insertSorted(T* element)
    {
        element->overlapped = false;
        const int64_t newEnd = spanEnd(*element);
        for (auto it = mayReach(element->pos); it != end() && (*it)->pos < newEnd; ++it) {
            if (spansOverlap(*element, **it)) {
                (*it)->overlapped = true;
                element->overlapped = true;
            }
        }
        items.insert(std::upper_bound(begin(), end(), element, byPosition), element);
        widen(*element);
    }

    // Takes the element out (it is not deleted). Each element that overlapped
    // it keeps its flag only while it still overlaps another flagged element.
    // Returns the elements whose flag it cleared.
    std::vector<T*> remove(T* element)
    {
        std::vector<T*> cleared;
        size_t at = indexOf(element);
        if (at < size())
            items.erase(items.begin() + static_cast<std::ptrdiff_t>(at));
        else
            at = static_cast<size_t>(firstFrom(element->pos) - begin());
        if (element->overlapped) {
            element->overlapped = false;
            settleAfterRemoving(*element, at, cleared);
            // Decided on the flags as they stood, then applied together.
            for (T* x : cleared) x->overlapped = false;
        }
        return cleared;
    }

    // The index of the element, found by its position (or, in a container
    // read out of order from a damaged file, by a walk); size() when it is
    // not in the container. Among elements of equal position it is looked
    // for from both ends at once, so one near either end is found at once.
    size_t indexOf(const T* element) const
    {
        const auto [first, last] = std::equal_range(begin(), end(), element, byPosition);
        for (auto low = first, high = last; low < high;) {
            if (*low == element) return static_cast<size_t>(low - begin());
            if (*--high == element) return static_cast<size_t>(high - begin());
            ++low;
        }
        return static_cast<size_t>(std::find(begin(), end(), element) - begin());
    }

    // Takes out every listed element in one pass (they are not deleted; their
    // flags are cleared). Each flagged element left keeps its flag only while
    // it overlaps another flagged element left, which is what removing them
    // one by one gives. Returns the elements left whose flag it cleared.
    std::vector<T*> removeAll(const PointerSet<T>& gone)
    {
        bool flaggedGone = false;
        std::erase_if(items, [&](T* e) {
            if (!gone.contains(e)) return false;
            flaggedGone = flaggedGone || e->overlapped;
            e->overlapped = false;
            return true;
        });
        return settleFlagsLeft(flaggedGone);
    }

    // Takes the listed elements out as they stand: neither they nor the
    // flags of the elements left change.
    void takeOut(const PointerSet<T>& listed)
    {
        std::erase_if(items, [&](T* e) { return listed.contains(e); });
    }

    // The same for the elements at the given indices, listed in increasing
    // order, whose flags the caller knows: they are neither read nor
    // changed, so the elements taken out are not visited. False, changing
    // nothing, when an index is out of range or out of order.
    bool removeAt(const std::vector<size_t>& indices, bool flaggedGone, std::vector<T*>& cleared)
    {
        for (size_t k = 0; k < indices.size(); ++k)
            if (indices[k] >= size() || (k > 0 && indices[k] <= indices[k - 1])) return false;
        size_t to = 0, next = 0;
        for (size_t from = 0; from < size(); ++from) {
            if (next < indices.size() && indices[next] == from)
                ++next;
            else
                items[to++] = items[from];
        }
        items.resize(to);
        cleared = settleFlagsLeft(flaggedGone);
        return true;
    }

    // Puts elements back at the indices they had, listed in increasing order
    // of index, around the elements there now, which keep their order; flags
    // are left as they are. False when the elements are then out of order of
    // position (when something moved them meanwhile).
    bool putBack(const std::vector<std::pair<T*, size_t>>& at)
    {
        std::vector<T*> all;
        all.reserve(size() + at.size());
        auto from = begin();
        for (const auto& [e, index] : at) {
            while (all.size() < index && from != end()) all.push_back(*from++);
            all.push_back(e);
            widen(*e);
        }
        all.insert(all.end(), from, end());
        items = std::move(all);
        return std::is_sorted(begin(), end(), byPosition);
    }

    // Appends every flagged element to out; true when out is not empty.
    bool getOverlapped(std::vector<T*>& out) const
    {
        for (T* e : items)
            if (e->overlapped) out.push_back(e);
        return !out.empty();
    }

    bool hasOverlapped() const
    {
        return std::any_of(begin(), end(), [](const T* e) { return e->overlapped; });
    }

    // Puts elements whose positions or widths were changed in place back in
    // order: all of them are taken out before any goes back, since a moved
    // element still standing at its old place would misplace the others.
    // They go in after the elements of equal position, in list order. The old
    // partners are only known from the old spans, so the flags of the whole
    // container are then marked afresh.
    void reinsertAll(const std::vector<T*>& elements)
    {
        if (elements.empty()) return;
        PointerSet<T> taken;
        taken.reserve(elements.size());
        std::vector<T*> moved;
        moved.reserve(elements.size());
        for (T* e : elements)
            if (taken.insert(e).second) moved.push_back(e);  // each element once
        takeOut(taken);
        sortByPosition(moved);
        std::vector<T*> all(size() + moved.size());
        std::merge(begin(), end(), moved.begin(), moved.end(), all.begin(), byPosition);
        items = std::move(all);
        markAllOverlaps();
    }

    // Puts every element in order of position (equal positions keep their
    // order) and marks the overlaps afresh: what inserting the elements one by
    // one into an empty container gives, without its quadratic cost.
    void sortAndMarkOverlaps()
    {
        sortByPosition(items);
        markAllOverlaps();
    }

    // Sets exactly the flags of the elements that overlap another one. The
    // container must be in order of position.
    void markAllOverlaps()
    {
        markOverlapsInOrder(items);
        recountMaxWidth();
    }

    // Inserts every listed element: what inserting them one by one in list
    // order gives, flags included (each new element is flagged exactly when
    // it overlaps another element; an element already there only gains a
    // flag, from the new ones), done by one sort and one merge. A container
    // out of order (read from a damaged file) takes them one by one.
    void insertAll(const std::vector<T*>& elements)
    {
        if (!std::is_sorted(begin(), end(), byPosition)) {
            for (T* e : elements) insertSorted(e);
            return;
        }
        std::vector<T*> added(elements.begin(), elements.end());
        sortByPosition(added);
        // Merged as std::merge would: at equal positions the old ones first.
        std::vector<T*> all;
        std::vector<bool> isNew;
        all.reserve(size() + added.size());
        isNew.reserve(size() + added.size());
        auto next = added.begin();
        for (T* old : items) {
            for (; next != added.end() && (*next)->pos < old->pos; ++next) {
                all.push_back(*next);
                isNew.push_back(true);
            }
            all.push_back(old);
            isNew.push_back(false);
        }
        all.insert(all.end(), next, added.end());
        isNew.resize(all.size(), true);
        const std::vector<bool> hitAny = overlapsPartner(all, [](size_t) { return true; });
        const std::vector<bool> hitNew = overlapsPartner(all, [&](size_t k) { return isNew[k]; });
        for (size_t k = 0; k < all.size(); ++k) {
            if (isNew[k])
                all[k]->overlapped = hitAny[k];
            else if (hitNew[k])
                all[k]->overlapped = true;
        }
        items = std::move(all);
        for (const T* e : added) widen(*e);
    }

private:
    static bool byPosition(const T* a, const T* b) { return a->pos < b->pos; }

    // A stable sort that leaves a list already in order after one pass.
    static void sortByPosition(std::vector<T*>& list)
    {
        if (!std::is_sorted(list.begin(), list.end(), byPosition))
            std::stable_sort(list.begin(), list.end(), byPosition);
    }

    void widen(const T& e) { maxWidth = std::max<int64_t>(maxWidth, e.width); }

    void recountMaxWidth()
    {
        maxWidth = 0;
        for (const T* e : items) widen(*e);
    }

    // The first element starting at or after pos.
    const_iterator firstFrom(int64_t pos) const
    {
        return std::lower_bound(begin(), end(), pos, [](const T* e, int64_t p) { return e->pos < p; });
    }

    // The first element that may reach past pos: none of width maxWidth or
    // less starting at or before pos - maxWidth does.
    const_iterator mayReach(int64_t pos) const { return firstFrom(pos - maxWidth + 1); }

    // After flagged elements were taken out: each flagged element left keeps
    // its flag only while it overlaps another; returns those it cleared.
    std::vector<T*> settleFlagsLeft(bool flaggedGone)
    {
        std::vector<T*> cleared;
        if (!flaggedGone) return cleared;
        std::vector<T*> flagged;
        getOverlapped(flagged);
        markOverlapsInOrder(flagged);
        for (T* x : flagged)
            if (!x->overlapped) cleared.push_back(x);
        return cleared;
    }

    // How far from a removed element's place a flagged element spanning all
    // of it is looked for, on each side.
    static constexpr size_t kNear = 8;

    // Settles the flags of the elements that overlapped e, just taken out
    // from index at (or never in the container, at being where it would go),
    // adding to cleared each that has no flagged partner left. Only elements
    // that can reach e are visited: those starting within maxWidth before it
    // and before its end.
    void settleAfterRemoving(const T& e, size_t at, std::vector<T*>& cleared) const
    {
        const auto split = begin() + static_cast<std::ptrdiff_t>(at);
        // A flagged element spanning all of e overlaps everything e
        // overlapped; when it has a flagged partner of its own, no flag goes.
        // The nearest ones are tried first.
        const auto spansWithPartner = [&](const_iterator it) {
            const T* c = *it;
            return c->overlapped && c->pos <= e.pos && spanEnd(*c) >= spanEnd(e) && hasFlaggedPartner(it);
        };
        // Later ones qualify only at e's own position, earlier ones only
        // within maxWidth before it.
        auto after = split, before = split;
        bool afterOpen = true, beforeOpen = true;
        for (size_t step = 0; step < kNear && (afterOpen || beforeOpen); ++step) {
            afterOpen = afterOpen && after != end() && (*after)->pos <= e.pos;
            if (afterOpen && spansWithPartner(after++)) return;
            beforeOpen = beforeOpen && before != begin() && (*(before - 1))->pos > e.pos - maxWidth;
            if (beforeOpen && spansWithPartner(--before)) return;
        }
        // Of the earlier elements (none of which starts after e), only the
        // nearest flagged one of positive width can lose its flag: any other
        // one overlapping e overlaps it.
        for (auto it = split; it != begin();) {
            const T* x = *--it;
            if (x->pos <= e.pos - maxWidth) break;
            if (!x->overlapped || x->width <= 0) continue;
            if (spansOverlap(*x, e) && !hasFlaggedPartner(it)) cleared.push_back(*it);
            break;
        }
        // Of the later ones, those starting before e's end.
        for (auto it = split; it != end() && (*it)->pos < spanEnd(e); ++it)
            if ((*it)->overlapped && spansOverlap(**it, e) && !hasFlaggedPartner(it)) cleared.push_back(*it);
    }

    // True when the element at it overlaps another flagged element. Later
    // elements overlap it only while they start before its end, earlier ones
    // only while they start within maxWidth before it.
    bool hasFlaggedPartner(const_iterator at) const
    {
        const T* x = *at;
        const auto partner = [x](const T* y) { return y->overlapped && spansOverlap(*x, *y); };
        for (auto it = at + 1; it != end() && (*it)->pos < spanEnd(*x); ++it)
            if (partner(*it)) return true;
        for (auto it = at; it != begin();) {
            const T* y = *--it;
            if (y->pos <= x->pos - maxWidth) break;
            if (partner(y)) return true;
        }
        return false;
    }

    std::vector<T*> items;
    // No element is wider: raised as elements come in, counted afresh when
    // all flags are marked again (which follows every width edited in place).
    int64_t maxWidth = 0;
};

}  // namespace HVCurrentModel
