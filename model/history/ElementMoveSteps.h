#pragma once
// The steps every move of several elements of one container shares: the move
// notes the flags it changed, and its undo puts the elements back at the
// indices they had, with those flags as they were.
#include <algorithm>
#include <cstddef>
#include <utility>
#include <vector>

#include "model/current/ElementContainer.h"

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
    for (const auto& [e, index] : at) listed.insert(e);
    c.takeOut(listed);
    std::sort(at.begin(), at.end(), [](const auto& x, const auto& y) { return x.second < y.second; });
    const bool inOrder = c.putBack(at);
    for (const auto& [e, was] : flagsBefore) e->overlapped = was;
    if (!inOrder) c.sortAndMarkOverlaps();
}
