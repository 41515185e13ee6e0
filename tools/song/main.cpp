// Writes the example project examples/song.ot: a short Chinese tune for the
// singer "demo-cmn" at 120 BPM in 4/4. Its segment starts on measure 1, where
// the export starts, with a beat's rest, so that the first note's onset is
// sung before the note and heard whole. The pinyin of each lyric comes from
// the dictionary.
//   hv_make_song DICT_FOLDER OUT.ot
#include <cstdio>
#include <memory>
#include <string>

#include "lyrics/PinyinDict.h"
#include "model/current/HalvorenModel.h"
#include "model/current/Note.h"
#include "model/current/Track.h"
#include "model/document/MeasureMath.h"
#include "model/file/ProjectFile.h"
#include "render/synth/PitchNames.h"

using namespace HVCurrentModel;

namespace {

constexpr int kQuarter = 480;
constexpr int kHalf = 960;

struct SongNote {
    const char* lyric;  // empty: a rest
    const char* pitch;
    int ticks;
};

const SongNote kSong[] = {
    {"", "", kQuarter},
    {"蓝", "G3", kQuarter}, {"天", "A3", kQuarter}, {"白", "B3", kQuarter}, {"云", "D4", kQuarter},
    {"飘", "B3", kHalf},    {"", "", kHalf},        {"我", "A3", kQuarter}, {"爱", "B3", kQuarter},
    {"你", "G3", kHalf},
};

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: hv_make_song DICT_FOLDER OUT.ot\n");
        return 1;
    }
    CPinyinDict dict;
    dict.load(CString::fromUtf8(argv[1]));

    auto model = std::make_unique<HalvorenModel>();
    model->tempos.push_back(new Tempo{0, 12000, false});  // 120 BPM
    model->beats.push_back(new Beat{-3, 4, 4, false});    // 4/4 from the first measure
    const int start = measureToTickOf(model->beats, 1);

    int length = 0;
    for (const SongNote& n : kSong) length += n.ticks;
    auto* track = new Track(kSingingTrack);
    track->name = "demo";
    model->tracks.push_back(track);
    auto* seg = new SingSegment(start, length);
    seg->singer = "demo-cmn";
    track->singSegs->push_back(seg);

    int pos = 0;
    for (const SongNote& n : kSong) {
        if (*n.lyric != '\0') {
            const std::vector<std::string>& pinyin = dict.textToPinyin(n.lyric);
            if (pinyin.size() != 1 || pinyin[0].empty()) {
                std::fprintf(stderr, "hv_make_song: no reading of %s in %s\n", n.lyric, argv[1]);
                return 1;
            }
            auto* note = new Note();
            note->pos = pos;
            note->width = n.ticks;
            note->key = pitchNameToKeyIndex(n.pitch);
            note->lyric = n.lyric;
            note->phoneticSymbol = pinyin[0];
            seg->notes.insertSorted(note);
        }
        pos += n.ticks;
    }
    if (saveProjectFile(*model, CString::fromUtf8(argv[2])) != 0) {
        std::fprintf(stderr, "hv_make_song: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
