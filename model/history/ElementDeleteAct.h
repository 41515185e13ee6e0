#pragma once
// Deleting notes or segments: all listed elements of one container go in one
// pass, however many they are, with one record that puts them back exactly.
#include <cstddef>
#include <utility>
#include <vector>

#include "model/current/ElementContainer.h"
#include "model/history/HistoryGroup.h"
#include "model/history/IHistoryRec.h"

// The elements one delete took out of a container. Undo puts each element
// back where it stood, with its flag, and sets again the flags the delete
// cleared: the container is then exactly as before the delete. A record owns
// its elements while they are out of the model.
template <class T>
class CDeleteElementsAct : public IHistoryRec {
public:
    using Container = HVCurrentModel::ElementContainer<T>;

    struct Taken {
        T* element;
        size_t index;  // in the container before the delete
        bool overlapped;
    };

    // Made after the delete: the elements taken, in order of index, and the
    // elements left whose flag it cleared.
    CDeleteElementsAct(Container* container, std::vector<Taken> taken, std::vector<T*> cleared)
        : container(container), taken(std::move(taken)), cleared(std::move(cleared)) {}

    void undo() override
    {
        std::vector<std::pair<T*, size_t>> at;
        at.reserve(taken.size());
        for (const Taken& t : taken) {
            t.element->overlapped = t.overlapped;
            at.emplace_back(t.element, t.index);
        }
        const bool inOrder = container->putBack(at);
        for (T* e : cleared) e->overlapped = true;
        // Should anything have moved the elements since the delete, order
        // and flags are made good again.
        if (!inOrder) container->sortAndMarkOverlaps();
    }

    void redo() override
    {
        // The elements stand where undo put them back, unless something
        // moved them since: then they are looked up.
        Container& c = *container;
        std::vector<size_t> indices;
        indices.reserve(taken.size());
        bool flaggedGone = false;
        for (const Taken& t : taken) {
            if (t.index >= c.size() || c[t.index] != t.element) break;
            indices.push_back(t.index);
            flaggedGone = flaggedGone || t.overlapped;  // as undo set it
        }
        if (indices.size() == taken.size() && c.removeAt(indices, flaggedGone, cleared)) return;
        HVCurrentModel::PointerSet<T> gone;
        gone.reserve(taken.size());
        for (const Taken& t : taken) gone.insert(t.element);
        cleared = c.removeAll(gone);
    }

    void freeIfUndone() override {}
    void freeIfDone() override
    {
        for (Taken& t : taken) delete t.element;
        taken.clear();
    }

    Container* container;
    std::vector<Taken> taken;
    std::vector<T*> cleared;
};

// Takes every listed element of the container out (each once; others are
// skipped), unselects it and records the delete. A single element is found
// by its position.
template <class T>
void recDeleteElements(CHistoryGroup* group, const std::vector<T*>& list, HVCurrentModel::ElementContainer<T>& c)
{
    using Act = CDeleteElementsAct<T>;
    if (list.size() == 1 && list[0]) {
        T* e = list[0];
        const size_t index = c.indexOf(e);
        if (index == c.size()) return;
        const bool overlapped = e->overlapped;
        std::vector<T*> cleared = c.remove(e);
        e->selected = false;
        group->addRec(new Act(&c, {{e, index, overlapped}}, std::move(cleared)));
        return;
    }
    const HVCurrentModel::PointerSet<T> gone(list.begin(), list.end());
    std::vector<typename Act::Taken> taken;
    size_t i = 0;
    for (auto it = c.begin(); it != c.end(); ++it, ++i) {
        T* e = *it;
        if (!gone.contains(e)) continue;
        taken.push_back({e, i, e->overlapped});
        e->selected = false;
    }
    if (taken.empty()) return;
    std::vector<T*> cleared = c.removeAll(gone);
    group->addRec(new Act(&c, std::move(taken), std::move(cleared)));
}
