#pragma once
// Where a project body stopped reading as it was written. The readers go on
// past damage with defaults, as they must, so a damaged body would open as a
// smaller project without a word; the stop is what tells it from a whole
// one: in the body itself, the first read whose bytes were not there, bytes
// left unread after its last field, a value no writer stores; at any depth,
// a file that builds more than its size allows or nests deeper than allowed.
//
// Damage inside a sub-block whose bytes are all there is not a stop: the
// reader of the enclosing stream moves past the block by its count, so what
// follows the block reads as written. Such damage is counted apart, and the
// first named: a list whose bytes end before its count of records (a list
// is the last thing in its block), and any other damage of a block (a read
// its bytes do not hold, bytes left unread, a value no writer stores).
//
// A body may also read whole and still hold what the model cannot keep (the
// segments of an older generation's instrumental track): that is named too,
// since saving over the file would drop it.
#include <cstdint>
#include <string>
#include <utility>

// "byte 24 (tempo list block cut short)".
inline std::string describeByte(std::uint64_t at, const std::string& text)
{
    return "byte " + std::to_string(at) + " (" + text + ")";
}

// Damage of one kind, each confined to its own block: how many blocks hold
// it, and the first: where, and what it is.
struct ConfinedDamage {
    std::uint32_t count = 0;
    std::uint64_t offset = 0;  // from the start of the body (of the file, once loaded)
    std::string what;

    // Counts a block damaged at `where`; `text` makes its description, asked
    // for the first only (a damaged file may hold such a block in every
    // record).
    template <class Text>
    void note(std::uint64_t where, Text text)
    {
        if (count < UINT32_MAX) ++count;
        if (count > 1) return;
        offset = where;
        what = text();
    }

    // "byte 60 (tempo list holds 1 of its 2 records)", the first.
    std::string describe() const { return describeByte(offset, what); }
};

struct ReadStop {
    bool stopped = false;
    std::uint64_t offset = 0;  // from the start of the body (of the file, once loaded)
    std::string what;          // what was being read, and how it fell short
    std::string leftOut;       // the first part read whole but not kept, "" when none
    // Lists that hold fewer records than their counts: the byte after the
    // first one's last record, and which list holds how many.
    ConfinedDamage shortLists;
    // Other damage confined to a block: where the first lies, and what it is.
    ConfinedDamage damagedBlocks;

    // Records the stop unless one is recorded already: the first is where
    // the damage begins, what follows it is read out of step.
    void at(std::uint64_t where, std::string text)
    {
        if (stopped) return;
        stopped = true;
        offset = where;
        what = std::move(text);
    }

    // Records what was read but cannot be kept, unless something is already.
    void leave(std::string text)
    {
        if (leftOut.empty()) leftOut = std::move(text);
    }

    // Whether the body read as written to its end, every block whole.
    bool readAsWritten() const { return !stopped && shortLists.count == 0 && damagedBlocks.count == 0; }

    // "byte 24 (tempo list block cut short)".
    std::string describe() const { return describeByte(offset, what); }
};
