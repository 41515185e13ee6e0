#pragma once
// The steps every move of several elements of one container shares: the
// edits that count are picked with each element's index, the move notes the
// flags it changed, and its undo puts the elements back at the indices they
// had, with those flags as they were.
#include <algorithm>
#include <cstddef>
#include <unordered_map>
#include <utility>
#include <vector>

#include "model/current/ElementContainer.h"

// The edits that count, in list order, each with its element's index in the
// container: an element listed more than once takes its last edit, in that
// edit's place of the list; null elements and elements not in the container
// are skipped. elementOf gives an edit's element.
template <class T, class Edit, class ElementOf>
std::vector<std::pair<const Edit*, size_t>> lastEditsWithIndex(const HVCurrentModel::ElementContainer<T>& c,
                                                               const std::vector<Edit>& edits, ElementOf elementOf)
{
    std::vector<const Edit*> last;  // those edits, from the end of the list
    std::unordered_map<const T*, size_t> editOf;  // the element's edit in last
    editOf.reserve(edits.size());
    for (size_t k = edits.size(); k-- > 0;) {
        const T* e = elementOf(edits[k]);
        if (e && editOf.emplace(e, last.size()).second) last.push_back(&edits[k]);
    }
    // The index of each listed element, found by one walk of the container.
    std::vector<size_t> index(last.size(), c.size());
    size_t at = 0;
    for (const T* e : c) {
        if (const auto k = editOf.find(e); k != editOf.end()) index[k->second] = at;
        ++at;
    }
    std::vector<std::pair<const Edit*, size_t>> picked;
    picked.reserve(last.size());
    for (size_t k = last.size(); k-- > 0;)
        if (index[k] < c.size()) picked.emplace_back(last[k], index[k]);
    return picked;
}

// Runs move on the container; returns each element whose flag it changed,
// with the flag it had.
template <class T, class Move>
std::vector<std::pair<T*, bool>> flagsChangedBy(HVCurrentModel::ElementContainer<T>& c, Move move)
{
    std::vector<std::pair<T*, bool>> flags;
    flags.reserve(c.size());
    for (T* e : c) flags.emplace_back(e, e->overlapped);
    move();
    std::vector<std::pair<T*, bool>> changed;
    for (const auto& [e, was] : flags)
        if (e->overlapped != was) changed.emplace_back(e, was);
    return changed;
}

// Puts moved elements, already given their old values, back at the indices
// they had before the move, and the flags it changed as they were. Should
// anything have moved the elements since, order and flags are made good
// again.
template <class T>
void putMovedBack(HVCurrentModel::ElementContainer<T>& c, std::vector<std::pair<T*, size_t>> at,
                  const std::vector<std::pair<T*, bool>>& flagsBefore)
{
    HVCurrentModel::PointerSet<T> listed;
    listed.reserve(at.size());
    for (const auto& [e, index] : at) listed.insert(e);
    c.takeOut(listed);
    std::sort(at.begin(), at.end(), [](const auto& x, const auto& y) { return x.second < y.second; });
    const bool inOrder = c.putBack(at);
    for (const auto& [e, was] : flagsBefore) e->overlapped = was;
    if (!inOrder) c.sortAndMarkOverlaps();
}
