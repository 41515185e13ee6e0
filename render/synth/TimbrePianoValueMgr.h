#pragma once
// The timbre table of a voice bank as key indices: per timbre its low, high
// and centre pitch (smaller keys are higher pitches).
#include <array>
#include <cstddef>
#include <vector>

class ISynth;

class CTimbrePianoValueMgr {
public:
    // Replaces the table by the source's timbres, their pitch names turned
    // into key indices.
    void loadFrom(ISynth& source);
    // The last timbre whose low pitch is at or below the key's pitch (its low
    // key at or above key); 0 when there is none or the table is empty.
    int getTimbreIndex(int key) const;

    bool empty() const { return entries_.empty(); }
    std::size_t size() const { return entries_.size(); }
    const std::array<int, 3>& entry(std::size_t i) const { return entries_[i]; }

private:
    std::vector<std::array<int, 3>> entries_;
};
