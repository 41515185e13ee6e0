#pragma once
// Writers and readers of the project body and of the lists inside it. Each
// list is the content of one sub-block: a writer puts it at the stream's
// position (the caller frames it with its byte count), a reader parses a
// stream over the bytes of one sub-block to its end and takes the model for
// its extension flags and its path.
#include <cstdint>
#include <vector>

#include "model/current/HalvorenModel.h"
#include "model/current/Markers.h"
#include "model/current/Note.h"
#include "model/current/Segments.h"
#include "model/current/Vibrato.h"
#include "model/file/MemoryBuffer.h"
#include "model/file/MemoryStream.h"
#include "model/file/ReadStop.h"
#include "platform/ReadBudget.h"

namespace HVCurrentModel {

using HalvorenWin::CMemoryBuffer;
using HalvorenWin::CMemoryStream;

// The whole body: the seven extension markers, the marker lists and the
// tracks. writeBody clears out first.
void writeBody(const HalvorenModel& model, CMemoryBuffer& out);
// The size of the body writeBody writes, counted without writing it.
uint64_t bodyBytes(const HalvorenModel& model);
// Fills a new model (whose path is already set) from a body; whatever the
// body lacks keeps its default. The read stops where the body's ReadBudget
// (made from its size and limits) is spent, as at the end of a cut body.
// Returns where the body stopped reading as written and its damaged blocks
// (offsets in the body); a body read whole to its end returns neither.
ReadStop readBody(HalvorenModel& model, CMemoryBuffer& body, const ReadLimits& limits = ReadLimits());

// What one note record builds against the budget: the note and its own copy
// of the vibrato wave.
inline constexpr uint64_t kNoteRecordBytes = sizeof(Note) + sizeof(float) * VibratoCycle::kTableSize;

void writeTempoList(const std::vector<Tempo*>& tempos, CMemoryStream& out);
void readTempoList(CMemoryStream& block, std::vector<Tempo*>& tempos);
void writeBeatList(const std::vector<Beat*>& beats, CMemoryStream& out);
void readBeatList(CMemoryStream& block, std::vector<Beat*>& beats);

void writeSingSegments(const SingSegmentContainer& segs, CMemoryStream& out);
void readSingSegments(CMemoryStream& block, const HalvorenModel& model, SingSegmentContainer& segs);
void writeInstrumentSegments(const InstrumentSegmentContainer& segs, CMemoryStream& out);
// Clips already in the cache are shared instead of loaded again. A segment
// whose clip cannot be loaded is kept without one.
void readInstrumentSegments(CMemoryStream& block, const HalvorenModel& model,
                            InstrumentSegmentContainer& segs, ClipCache* clips = nullptr);

void writeNotes(const NoteContainer& notes, CMemoryStream& out);
void readNotes(CMemoryStream& block, const HalvorenModel& model, NoteContainer& notes);

void writeVibrato(const Vibrato& vibrato, CMemoryStream& out);
void readVibrato(CMemoryStream& block, Vibrato& vibrato);
void writeFloatVector(const std::vector<float>& values, CMemoryStream& out);
// Takes the stored wave only when the block holds a whole table of
// VibratoCycle::kTableSize values; otherwise the computed wave stays.
void readVibratoCycle(CMemoryStream& block, VibratoCycle& cycle);

void writeNodeList(const NodeContainer& nodes, CMemoryStream& out);
// Empties the nodes, then appends those of the block in file order.
void readNodeList(CMemoryStream& block, NodeContainer& nodes);

}  // namespace HVCurrentModel
