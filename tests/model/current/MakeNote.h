#pragma once
// New notes with the fields the container and clipboard tests care about.
#include <initializer_list>
#include <utility>
#include <vector>

#include "model/current/Note.h"

inline HVCurrentModel::Note* makeNote(int pos, int width, const char* lyric = "la")
{
    auto* n = new HVCurrentModel::Note;
    n->pos = pos;
    n->width = width;
    n->lyric = lyric;
    return n;
}

// Inserts a new note per (pos, width) span, in the order given; returns them.
inline std::vector<HVCurrentModel::Note*> insertNotes(HVCurrentModel::NoteContainer& notes,
                                                      std::initializer_list<std::pair<int, int>> spans)
{
    std::vector<HVCurrentModel::Note*> added;
    for (auto [pos, width] : spans) {
        added.push_back(makeNote(pos, width));
        notes.insertSorted(added.back());
    }
    return added;
}
