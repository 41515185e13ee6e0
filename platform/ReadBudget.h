#pragma once
// The total a reader may build from one file: records made, nesting depth
// and bytes built, counted together, so neither a long run of tiny records
// nor a few bytes that each build a large object can exhaust time or memory.
//
// The record and byte limits grow with the file: a file of n bytes may make
// at most recordsPerFileByte * n + recordBase records and build at most
// bytesPerFileByte * n + byteBase bytes. Every record of every format takes
// at least one byte of its file, and no genuine record builds more than
// about 128 bytes per byte of it (the most is an old project note of 37
// bytes that becomes a note with its own 4 KiB vibrato wave), so with the
// defaults no genuine file is cut short however large.
//
// Once a limit is reached the budget stays spent: the reader stops as it
// does at the end of a damaged file, keeping the records already whole, and
// reports it the way it reports a damaged file.
#include <cstdint>

struct ReadLimits {
    std::uint64_t recordsPerFileByte = 1;
    std::uint64_t recordBase = std::uint64_t(1) << 16;
    std::uint64_t bytesPerFileByte = 256;
    std::uint64_t byteBase = std::uint64_t(64) << 20;
    std::uint32_t maxDepth = 64;
};

class ReadBudget {
public:
    explicit ReadBudget(std::uint64_t fileSize, const ReadLimits& limits = ReadLimits());

    // Counts one record that builds builtBytes; false, counting nothing, when
    // it would pass either limit (the budget is then spent).
    bool takeRecord(std::uint64_t builtBytes = 0);
    // True when a block at this nesting depth (the outermost is 1) may be
    // entered; a deeper one spends the budget.
    bool allowsDepth(std::uint32_t depth);

    bool spent() const { return spent_; }
    std::uint64_t records() const { return records_; }
    std::uint64_t bytesBuilt() const { return bytes_; }
    std::uint64_t recordLimit() const { return recordLimit_; }
    std::uint64_t byteLimit() const { return byteLimit_; }

private:
    std::uint64_t recordLimit_;
    std::uint64_t byteLimit_;
    std::uint32_t maxDepth_;
    std::uint64_t records_ = 0;
    std::uint64_t bytes_ = 0;
    bool spent_ = false;
};
