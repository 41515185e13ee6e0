#pragma once
// The setup every generation's body reader shares: one stream over the whole
// body, carrying the ReadBudget made from the body's size and limits and the
// ReadStop its reads record into. Bytes the parse leaves after the body's
// last field are recorded as left unread.
#include "model/file/MemoryBuffer.h"
#include "model/file/MemoryStream.h"
#include "model/file/ReadStop.h"
#include "platform/ReadBudget.h"

namespace HalvorenWin {

// Calls parse(stream) over the body; returns where the body stopped reading
// as written (offsets in the body), or no stop when it read whole.
template <class Parse>
ReadStop readWholeBody(CMemoryBuffer& body, const ReadLimits& limits, Parse parse)
{
    ReadBudget budget(body.size(), limits);
    ReadStop stop;
    CMemoryStream in(body);
    in.budget = &budget;
    in.stop = &stop;
    parse(in);
    in.expectEnd();
    return stop;
}

}  // namespace HalvorenWin
