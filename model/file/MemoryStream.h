#pragma once
// Cursor over a CMemoryBuffer that writes and reads little-endian 4-byte
// values, single bytes, length-prefixed strings and length-prefixed
// sub-blocks. Every read goes through a ByteCursor over the stream's bytes:
// a read past the end leaves a number unchanged, makes a string empty and
// fills a sub-block with zeros.
//
// A stream being read may carry the ReadBudget of its file; its sub-blocks
// share it, one level deeper. The record loop (RecordLoop.h) counts every
// record against that budget, and a sub-block nested deeper than the budget
// allows reads as empty.
//
// A stream may also carry a ReadStop, shared with its sub-blocks the same
// way: every read that finds its bytes missing records its damage there (a
// marker that is not next is no such read). In the body itself that is where
// the body stopped reading as written; in a sub-block whose bytes are all
// there it is damage confined to that block, since the enclosing stream
// moves past the block as written. A stream records only its first damage:
// what it reads past that, and the sub-blocks it gives after it, are read
// out of step. Nothing is recorded once the body has stopped.
#include <cstddef>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "model/file/MemoryBuffer.h"
#include "model/file/ReadStop.h"
#include "platform/ByteCursor.h"
#include "platform/ReadBudget.h"

namespace HalvorenWin {

class CMemoryStream {
public:
    explicit CMemoryStream(CMemoryBuffer& target) : buffer(&target) {}
    // A stream that reads only the bytes [begin, end) of target.
    CMemoryStream(CMemoryBuffer& target, size_t begin, size_t end) : buffer(&target), pos(begin), end_(end) {}
    virtual ~CMemoryStream() = default;

    CMemoryBuffer* buffer;  // not owned; the stream never clears it
    size_t pos = 0;
    ReadBudget* budget = nullptr;  // not owned; null reads without limits
    uint32_t depth = 0;            // sub-block nesting: 0 for the whole body
    ReadStop* stop = nullptr;      // not owned; null records nothing
    const char* what = "body";     // what the stream holds, for the stop's text
    bool damaged = false;          // recorded damage, or lies in a stream that had

    size_t remaining() const
    {
        const size_t end = end_ < buffer->size() ? end_ : buffer->size();
        return pos < end ? end - pos : 0;
    }

    // Writes go through CMemoryBuffer::writeAt at pos and advance pos by what
    // was written.
    void writeBytes(const void* bytes, size_t n);
    void writeInt(int32_t value);
    void writeUInt(uint32_t value);
    void writeByte(uint8_t value);
    void writeFloat(float value);
    // u32 byte count, then the bytes up to the first NUL; a null text writes
    // nothing at all.
    void writeString(const char* text);
    void writeString(const std::string& text) { writeString(text.c_str()); }
    // u32 byte count of the source, then its bytes.
    void writeBlock(const CMemoryBuffer& source);
    // The four bytes of a marker, with no count.
    void writeTag(const char tag[4]) { writeBytes(tag, 4); }

    // Copies n bytes to target when they all lie within the buffer; otherwise
    // changes neither target nor pos.
    bool readBytes(void* target, size_t n);
    bool readInt(int32_t& target);
    bool readUInt(uint32_t& target);
    bool readByte(uint8_t& target);
    bool readFloat(float& target);
    // A string whose bytes are not all there becomes empty (pos stays after
    // its count); a negative count leaves the target unchanged; an embedded
    // NUL ends the text.
    void readString(std::string& target);
    // Appends the block's bytes to target. A block cut short appends zeros in
    // its place, no more of them than the bytes that remain, with pos left
    // after the count.
    void readBlock(CMemoryBuffer& target);
    // The next sub-block as a stream over its bytes where they lie, and pos
    // moved past it; name says what it holds. A block cut short gives an
    // empty stream and leaves pos after its count: its zeros (see readBlock)
    // would parse as nothing.
    CMemoryStream readSubBlock(const char* name = "block");
    // Consumes the four bytes of tag when they are next; else pos stays.
    bool readTag(const char tag[4]);

    // Whether damage found now would still be recorded: only the first of
    // each stream is, so a caller can skip building the text of a later one
    // (a damaged file may hold one in every record).
    bool recordsStop() const { return stop != nullptr && !stop->stopped && !damaged; }
    // Records damage at pos (stopHere) or at the offset given (stopAt), with
    // the text "<what> <how>": in the body itself where it stopped reading
    // as written, in a sub-block as damage confined to it. Nothing when the
    // stream carries no ReadStop or recordsStop() is false.
    void stopHere(const std::string& how) { stopAt(pos, how); }
    void stopAt(size_t at, const std::string& how);
    // Records at pos, however deep the stream, that the body stops reading
    // as written: for the budget spent, which ends every loop of the file.
    void stopEverywhere(const std::string& how);
    // Counts the stream's list as short at pos: it holds `held` records of
    // its `count` ("<what> holds 1 of its 2 records"). Recorded as stopAt is.
    void endShort(uint32_t held, uint32_t count);
    // Records the bytes a stream parsed to its end has left unread.
    void expectEnd();

private:
    // The u32 count of a string or block; 0 when it is not there.
    uint32_t readCount();
    // A cursor over the readable bytes from pos on.
    ByteCursor cursor() const;
    // Advances pos by what the cursor read, when the read succeeded; a read
    // that failed is recorded as cut short.
    bool moved(bool ok, const ByteCursor& c);
    // A sub-block stream over [begin, end) sharing this one's budget, stop
    // and damage.
    CMemoryStream inner(size_t begin, size_t end) const;
    // Records damage at `at`, the text made by text(): where the body
    // stopped when the stream is the body or the damage ends every read
    // (`everywhere`, recorded even past the stream's first damage), else
    // damage confined to the stream's block.
    template <class Text>
    void record(size_t at, bool everywhere, Text text);

    size_t end_ = std::numeric_limits<size_t>::max();
};

}  // namespace HalvorenWin
