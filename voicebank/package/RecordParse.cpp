#include "voicebank/package/RecordParse.h"

namespace Halvoren {

void RecordParse::closePart()
{
    if (wrong_ != Wrong::Nothing)
        return;
    if (stream_.ranPastEnd())
        wrong_ = Wrong::PastEnd;
    else if (stream_.nonFiniteAt() >= 0)
        wrong_ = Wrong::NotFinite;
    else
        return;
    wrongPart_ = part_;
}

CMemoryStream& RecordParse::part(const char* what)
{
    closePart();
    part_ = what;
    return stream_;
}

void RecordParse::buildsTooMuch()
{
    closePart();
    if (wrong_ != Wrong::Nothing)
        return;
    wrong_ = Wrong::TooMuch;
    wrongPart_ = part_;
}

std::string RecordParse::fault(std::int32_t offset, std::int32_t length)
{
    closePart();
    if (wrong_ == Wrong::Nothing)
        return std::string();
    const std::string record = "the record at byte " + std::to_string(offset);
    const std::string holds = record + " holds " + std::to_string(length) + " bytes; its " + wrongPart_;
    switch (wrong_) {
    case Wrong::PastEnd:
        return holds + " needs at least " + std::to_string(stream_.neededEnd());
    case Wrong::NotFinite:
        return record + " holds a value that is not finite at byte " +
               std::to_string(std::int64_t(offset) + 4 + stream_.nonFiniteAt()) + ", in its " + wrongPart_;
    case Wrong::TooMuch:
    case Wrong::Nothing:
        break;
    }
    return holds + " builds more than they allow";
}

}  // namespace Halvoren
