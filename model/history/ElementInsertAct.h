#pragma once
// Inserting notes or segments: all listed elements go into one container by
// one sort and one merge, however many they are, with one record that takes
// them out again in one pass.
#include <utility>
#include <vector>

#include "model/current/ElementContainer.h"
#include "model/history/HistoryGroup.h"
#include "model/history/IHistoryRec.h"

// The elements one insert put into a container; the record owns them while
// they are out of the model.
template <class T>
class CInsertElementsAct : public IHistoryRec {
public:
    using Container = HVCurrentModel::ElementContainer<T>;

    // Made after the insert, with the elements it put in.
    CInsertElementsAct(Container* container, std::vector<T*> added)
        : container(container), added(std::move(added)) {}

    void undo() override { container->removeAll(HVCurrentModel::PointerSet<T>(added.begin(), added.end())); }
    void redo() override { container->insertAll(added); }
    void freeIfUndone() override
    {
        for (T* e : added) delete e;
        added.clear();
    }
    void freeIfDone() override {}

    Container* container;
    std::vector<T*> added;
};

// Inserts every listed element not yet in the container (each once; null
// ones are skipped) and records the insert.
template <class T>
void recInsertElements(CHistoryGroup* group, const std::vector<T*>& list, HVCurrentModel::ElementContainer<T>& c)
{
    HVCurrentModel::PointerSet<T> present(c.begin(), c.end());
    std::vector<T*> added;
    for (T* e : list)
        if (e && present.insert(e).second) added.push_back(e);
    if (added.empty()) return;
    c.insertAll(added);
    group->addRec(new CInsertElementsAct<T>(&c, std::move(added)));
}
