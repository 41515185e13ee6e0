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
        const int64_t newEnd = spanEnd(*element);
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

    // Takes the element out (it is not deleted), found by its position. Each
    // element that overlapped it keeps its flag only while it still overlaps
    // another flagged element. That is settled from the elements next to it
    // when they tell, so a removal among many overlapping elements costs no
    // pass over the container; otherwise every flagged element is weighed.
    // Returns the elements whose flag it cleared.
    std::vector<T*> remove(T* element)
    {
        std::vector<T*> cleared;
        const size_t at = indexOf(element);
        if (element->overlapped) {
            element->overlapped = false;
            if (at == this->size() || !settleNear(at, cleared)) {
                cleared.clear();
                settleAll(element, cleared);
            }
            // Decided on the flags as they stood, then applied together.
            for (T* x : cleared) x->overlapped = false;
        }
        if (at < this->size()) this->erase(this->begin() + static_cast<std::ptrdiff_t>(at));
        return cleared;
    }

    // The index of the element, found by its position (or, in a container
    // read out of order from a damaged file, by a walk); size() when it is
    // not in the container. Among elements of equal position it is looked
    // for from both ends at once, so one near either end is found at once.
    size_t indexOf(const T* element) const
    {
        const auto [first, last] = std::equal_range(this->begin(), this->end(), element, byPosition);
        for (auto low = first, high = last; low < high;) {
            if (*low == element) return static_cast<size_t>(low - this->begin());
            if (*--high == element) return static_cast<size_t>(high - this->begin());
            ++low;
        }
        return static_cast<size_t>(std::find(this->begin(), this->end(), element) - this->begin());
    }

    // Takes out every listed element in one pass (they are not deleted; their
    // flags are cleared). Each flagged element left keeps its flag only while
    // it overlaps another flagged element left, which is what removing them
    // one by one gives. Returns the elements left whose flag this cleared.
    std::vector<T*> removeAll(const std::unordered_set<const T*>& gone)
    {
        bool flaggedGone = false;
        auto kept = std::remove_if(this->begin(), this->end(), [&](T* e) {
            if (!gone.count(e)) return false;
            flaggedGone = flaggedGone || e->overlapped;
            e->overlapped = false;
            return true;
        });
        this->erase(kept, this->end());
        return settleFlagsLeft(flaggedGone);
    }

    // The same for the elements at the given indices, listed in increasing
    // order, whose flags the caller knows: they are neither read nor
    // changed, so the elements taken out are not visited. False, changing
    // nothing, when an index is out of range or out of order.
    bool removeAt(const std::vector<size_t>& indices, bool flaggedGone, std::vector<T*>& cleared)
    {
        for (size_t k = 0; k < indices.size(); ++k)
            if (indices[k] >= this->size() || (k > 0 && indices[k] <= indices[k - 1])) return false;
        size_t to = 0, next = 0;
        for (size_t from = 0; from < this->size(); ++from) {
            if (next < indices.size() && indices[next] == from)
                ++next;
            else
                (*this)[to++] = (*this)[from];
        }
        this->resize(to);
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
        all.reserve(this->size() + at.size());
        size_t from = 0;
        for (const auto& [e, index] : at) {
            while (all.size() < index && from < this->size()) all.push_back((*this)[from++]);
            all.push_back(e);
        }
        all.insert(all.end(), this->begin() + static_cast<std::ptrdiff_t>(from), this->end());
        this->assign(all.begin(), all.end());
        return std::is_sorted(this->begin(), this->end(), byPosition);
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
    // order: all of them are taken out before any goes back, since a moved
    // element still standing at its old place would misplace the others.
    // They go in after the elements of equal position, in list order. The old
    // partners are only known from the old spans, so the flags of the whole
    // container are then marked afresh.
    void reinsertAll(const std::vector<T*>& elements)
    {
        if (elements.empty()) return;
        std::unordered_set<const T*> listed(elements.begin(), elements.end());
        std::vector<T*> moved;
        moved.reserve(listed.size());
        for (T* e : elements)
            if (listed.erase(e)) moved.push_back(e);  // each element once
        const std::unordered_set<const T*> taken(moved.begin(), moved.end());
        std::vector<T*> kept;
        kept.reserve(this->size());
        for (T* e : *this)
            if (!taken.count(e)) kept.push_back(e);
        std::stable_sort(moved.begin(), moved.end(), byPosition);
        this->resize(kept.size() + moved.size());
        std::merge(kept.begin(), kept.end(), moved.begin(), moved.end(), this->begin(), byPosition);
        markAllOverlaps();
    }

    // Puts every element in order of position (equal positions keep their
    // order) and marks the overlaps afresh: what inserting the elements one by
    // one into an empty container gives, without its quadratic cost.
    void sortAndMarkOverlaps()
    {
        std::stable_sort(this->begin(), this->end(), byPosition);
        markAllOverlaps();
    }

    // Sets exactly the flags of the elements that overlap another one. The
    // container must be in order of position.
    void markAllOverlaps() { markOverlapsInOrder<T>(*this); }

    // Inserts every listed element: what inserting them one by one in list
    // order gives, flags included (each new element is flagged exactly when
    // it overlaps another element; an element already there only gains a
    // flag), done by one sort and one merge. A container out of order (read
    // from a damaged file) takes them one by one.
    void insertAll(const std::vector<T*>& elements)
    {
        if (!std::is_sorted(this->begin(), this->end(), byPosition)) {
            for (T* e : elements) insertSorted(e);
            return;
        }
        std::vector<T*> added(elements.begin(), elements.end());
        std::stable_sort(added.begin(), added.end(), byPosition);
        markOverlapsInOrder<T>(added);
        flagOverlapsWith(added, *this);
        flagOverlapsWith(*this, added);
        std::vector<T*> kept(this->begin(), this->end());
        this->resize(kept.size() + added.size());
        std::merge(kept.begin(), kept.end(), added.begin(), added.end(), this->begin(), byPosition);
    }

private:
    static bool byPosition(const T* a, const T* b) { return a->pos < b->pos; }

    // Flags each element of targets that overlaps an element of others; both
    // lists are in order of position. Of the others starting before a
    // target's end, the one reaching furthest decides.
    static void flagOverlapsWith(const std::vector<T*>& targets, const std::vector<T*>& others)
    {
        std::vector<int64_t> reach(others.size() + 1, INT64_MIN);  // largest end among the first k
        for (size_t k = 0; k < others.size(); ++k) reach[k + 1] = std::max(reach[k], spanEnd(*others[k]));
        for (T* x : targets) {
            const auto before = std::lower_bound(others.begin(), others.end(), spanEnd(*x),
                                                 [](const T* e, int64_t end) { return e->pos < end; });
            if (reach[static_cast<size_t>(before - others.begin())] > x->pos) x->overlapped = true;
        }
    }

    // After flagged elements were taken out: each flagged element left keeps
    // its flag only while it overlaps another; returns those it cleared.
    std::vector<T*> settleFlagsLeft(bool flaggedGone)
    {
        std::vector<T*> cleared;
        if (!flaggedGone) return cleared;
        std::vector<T*> flagged;
        getOverlapped(flagged);
        markOverlapsInOrder<T>(flagged);
        for (T* x : flagged)
            if (!x->overlapped) cleared.push_back(x);
        return cleared;
    }

    // How far from an element the local settling looks, on each side.
    static constexpr size_t kNear = 8;

    enum class Partner { kYes, kNo, kUnknown };

    // Whether the element at i overlaps a flagged element other than skip,
    // looking at most kNear elements on each side. The container is in order
    // of position, so later elements overlap it only while they start before
    // its end.
    Partner flaggedPartnerNear(size_t i, const T* skip) const
    {
        const T* x = (*this)[i];
        const auto partner = [&](const T* y) { return y != skip && y->overlapped && spansOverlap(*x, *y); };
        size_t j = i + 1;
        for (; j < this->size() && (*this)[j]->pos < spanEnd(*x); ++j) {
            if (j - i > kNear) return Partner::kUnknown;
            if (partner((*this)[j])) return Partner::kYes;
        }
        for (j = i; j-- > 0;) {
            if (i - j > kNear) return Partner::kUnknown;
            if (partner((*this)[j])) return Partner::kYes;
        }
        return Partner::kNo;
    }

    // Settles the flags of the partners of the element at p, whose own flag
    // is already cleared, from the elements near it: false, with cleared
    // left unusable, when those do not tell.
    bool settleNear(size_t p, std::vector<T*>& cleared) const
    {
        const T* e = (*this)[p];
        const size_t from = p > kNear ? p - kNear : 0;
        const size_t to = std::min(this->size(), p + kNear + 1);
        // A flagged element spanning all of e overlaps everything e
        // overlapped; when it has a flagged partner of its own, no flag goes.
        for (size_t j = from; j < to; ++j) {
            const T* c = (*this)[j];
            if (j != p && c->overlapped && c->pos <= e->pos && spanEnd(*c) >= spanEnd(*e) &&
                flaggedPartnerNear(j, e) == Partner::kYes)
                return true;
        }
        // Of the earlier elements, only the nearest flagged one of positive
        // width can lose its flag: any other one overlapping e overlaps it.
        size_t j = p;
        while (j-- > 0 && !((*this)[j]->overlapped && (*this)[j]->width > 0))
            if (p - j > kNear) return false;
        if (j < p && spansOverlap(*(*this)[j], *e) && !settleOne(j, e, cleared)) return false;
        // Of the later ones, those starting before e's end.
        for (j = p + 1; j < this->size() && (*this)[j]->pos < spanEnd(*e); ++j) {
            if (j - p > kNear) return false;
            if ((*this)[j]->overlapped && spansOverlap(*(*this)[j], *e) && !settleOne(j, e, cleared)) return false;
        }
        return true;
    }

    // Adds the element at i to cleared when it has no flagged partner but
    // e; false when the elements near it do not tell.
    bool settleOne(size_t i, const T* e, std::vector<T*>& cleared) const
    {
        const Partner partner = flaggedPartnerNear(i, e);
        if (partner == Partner::kNo) cleared.push_back((*this)[i]);
        return partner != Partner::kUnknown;
    }

    // The same decided on every flagged element.
    void settleAll(const T* element, std::vector<T*>& cleared) const
    {
        std::vector<T*> flagged;
        getOverlapped(flagged);
        for (size_t i = 0; i < flagged.size(); ++i) {
            T* x = flagged[i];
            if (spansOverlap(*x, *element) && !hasFlaggedPartner(flagged, i, element)) cleared.push_back(x);
        }
    }

    // True when flagged[i] overlaps another element of flagged than skip.
    // The list is in order of position: later elements overlap it only while
    // they start before its end, and the nearest earlier ones are tried
    // first.
    static bool hasFlaggedPartner(const std::vector<T*>& flagged, size_t i, const T* skip)
    {
        const T* x = flagged[i];
        for (size_t j = i + 1; j < flagged.size() && flagged[j]->pos < spanEnd(*x); ++j)
            if (flagged[j] != skip && spansOverlap(*x, *flagged[j])) return true;
        for (size_t j = i; j-- > 0;)
            if (flagged[j] != skip && spansOverlap(*x, *flagged[j])) return true;
        return false;
    }
};

}  // namespace HVCurrentModel
