#pragma once
// One content record being parsed: the stream over its bytes and the name
// of the part being read, so that the first part that runs past the
// record's end, holds a float that is not finite or would build more than
// its bytes allow is named in the record's fault.
#include <cstdint>
#include <string>

#include "dsp/CMemoryStream.h"

namespace Halvoren {

class RecordParse {
public:
    // stream must outlive the parse.
    explicit RecordParse(CMemoryStream& stream) : stream_(stream) {}
    RecordParse(const RecordParse&) = delete;
    RecordParse& operator=(const RecordParse&) = delete;

    // The stream, from where the part named what ("values", "band model")
    // begins.
    CMemoryStream& part(const char* what);
    // Notes that the part being read would build more than the record's
    // bytes allow.
    void buildsTooMuch();

    // Once the parse is done: what is wrong with the record of length bytes
    // at offset of its file, "" when every part was read whole. The first
    // part found wrong is named:
    //   "the record at byte N holds M bytes; its <part> needs at least K"
    //   "the record at byte N holds a value that is not finite at byte K,
    //    in its <part>" (K counted from the file's start)
    //   "the record at byte N holds M bytes; its <part> builds more than
    //    they allow"
    std::string fault(std::int32_t offset, std::int32_t length);

private:
    enum class Wrong { Nothing, PastEnd, NotFinite, TooMuch };
    // Keeps what the stream noted while the current part was read.
    void closePart();

    CMemoryStream& stream_;
    const char* part_ = "content";
    const char* wrongPart_ = nullptr;
    Wrong wrong_ = Wrong::Nothing;
};

}  // namespace Halvoren
