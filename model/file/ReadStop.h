#pragma once
// Where a project body stopped reading as it was written. The readers go on
// past damage with defaults, as they must, so a damaged body would open as a
// smaller project without a word; the stop is what tells it from a whole
// one: the first read whose bytes were not there, a block with bytes left
// unread, a value no writer stores, or a file that builds more than its size
// allows. A list whose bytes end before its count of records is not a stop:
// it is the last thing in its block, so what follows the block reads as
// written; the lists that fall short are counted and the first is named. A
// body may also read whole and still hold what the model cannot keep (the
// segments of an older generation's instrumental track): that is named too,
// since saving over the file would drop it.
#include <cstdint>
#include <string>
#include <utility>

struct ReadStop {
    bool stopped = false;
    std::uint64_t offset = 0;  // from the start of the body (of the file, once loaded)
    std::string what;          // what was being read, and how it fell short
    std::string leftOut;       // the first part read whole but not kept, "" when none
    // Lists that hold fewer records than their counts, and the first: the
    // byte after its last record, and which list holds how many.
    std::uint32_t shortLists = 0;
    std::uint64_t shortListOffset = 0;
    std::string shortListWhat;

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

    // Counts a list that ends at `where` before its count; `text` makes its
    // description, asked for the first only (a damaged file may hold a short
    // list in every record).
    template <class Text>
    void shortList(std::uint64_t where, Text text)
    {
        if (shortLists < UINT32_MAX) ++shortLists;
        if (shortLists > 1) return;
        shortListOffset = where;
        shortListWhat = text();
    }

    // Whether the body read as written to its end, every list as long as its
    // count.
    bool readAsWritten() const { return !stopped && shortLists == 0; }

    // "byte 24 (tempo list block cut short)".
    std::string describe() const { return place(offset, what); }
    // "byte 60 (tempo list holds 1 of its 2 records)", the first short list.
    std::string describeShortList() const { return place(shortListOffset, shortListWhat); }

private:
    static std::string place(std::uint64_t at, const std::string& text)
    {
        return "byte " + std::to_string(at) + " (" + text + ")";
    }
};
