#include "model/document/LyricSplit.h"

#include <algorithm>

#include "model/current/TickRange.h"
#include "model/document/SSSynthesizerDoc.h"
#include "model/history/NoteRecorders.h"
#include "platform/StringUtil.h"

using namespace HVCurrentModel;

namespace {
constexpr int kMinPieceWidth = 15;
}

void splitLyricText(const std::string& text, std::vector<std::string>& out) {
    out.clear();
    std::vector<std::string> pieces;
    splitStr(pieces, text, " ");
    if (pieces.empty() || pieces[0].empty() || pieces[0][0] != '/') return;
    replaceAll(pieces[0], "/", "");
    for (const std::string& p : pieces)
        if (!p.empty()) out.push_back(p);
}

void recReplaceSegNotes(CHistoryGroup* group, Note* note, const std::vector<std::string>& texts, SingSegment* seg) {
    const int n = static_cast<int>(texts.size());
    if (n == 0 || !seg->notes.contains(note)) return;
    int pieceWidth = std::max(note->width / n, kMinPieceWidth);
    int count = std::min(note->width / pieceWidth, n);
    if (count <= 0) {
        // Too narrow for even one piece (or of negative width, from a damaged
        // file): keep the note whole with the first text.
        count = 1;
        pieceWidth = note->width;
    }
    std::vector<Note*> pieces;
    for (int i = 0; i < count; ++i) {
        auto* piece = new Note(*note);
        piece->pos = clampTick(int64_t{note->pos} + int64_t{i} * pieceWidth);
        piece->width = pieceWidth;
        piece->key = note->key;
        piece->phoneticSymbol = texts[i];
        piece->lyric = texts[i];
        CSSSynthesizerDoc::setNoteDefaultVibExp(piece);
        if (i > 0) piece->bendDep = 0;
        if (i < count - 1) piece->vibPercent = 0;
        pieces.push_back(piece);
    }
    recReplaceNotes(group, note, pieces, seg);
}
