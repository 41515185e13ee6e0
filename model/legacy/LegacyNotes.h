#pragma once
// The note list of the legacy generations. Generations 0 and 1 store the
// same note record but for its two texts: position, width, key, two extra
// integers and two extra reals, the phonetic symbol and the lyric, and the
// overlap byte.
#include <cstdint>

#include "model/current/ElementContainer.h"
#include "model/file/FieldReaders.h"
#include "model/file/RecordLoop.h"

namespace HalvorenWin {

// readTexts(stream, note) reads the two texts in the generation's encoding;
// each note counts builtBytes against the budget (what it becomes once
// upgraded).
template <class NoteT, class ReadTexts>
void readLegacyNotes(CMemoryStream& in, HVCurrentModel::ElementContainer<NoteT>& notes, uint64_t builtBytes,
                     ReadTexts readTexts)
{
    uint32_t count = 0;
    in.readUInt(count);
    readRecords(in, count, builtBytes, [&] {
        auto* note = new NoteT;
        in.readInt(note->pos);
        in.readInt(note->width);
        in.readInt(note->key);
        in.readInt(note->extraInt1);
        in.readInt(note->extraInt2);
        in.readFloat(note->extraReal1);
        in.readFloat(note->extraReal2);
        readTexts(in, *note);
        readBool(in, note->overlapped);
        notes.push_back(note);
    });
    in.expectEnd();
}

}  // namespace HalvorenWin
