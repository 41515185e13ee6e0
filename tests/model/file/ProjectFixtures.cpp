#include "ProjectFixtures.h"

#include <fstream>
#include <sstream>

#include "ByteBuilder.h"

namespace hvtest {

using namespace HVCurrentModel;

namespace {

void dumpCurve(std::ostringstream& out, const ParamCurve& curve)
{
    out << " [";
    for (const CurveNode& n : curve.nodes) out << n.pos << ',' << n.value << ' ';
    out << ']';
}

}  // namespace

std::string dumpModel(const HalvorenModel& m)
{
    std::ostringstream out;
    for (const Tempo* t : m.tempos) out << "tempo " << t->pos << ' ' << t->tempo << '\n';
    for (const Beat* b : m.beats) out << "beat " << b->pos << ' ' << b->numerator << '/' << b->denominator << '\n';
    for (const Track* t : m.tracks) {
        out << "track " << t->kind << ' ' << t->name << ' ' << t->muted << t->solo << ' ' << t->volume << ' '
            << t->balance << '\n';
        for (size_t i = 0; t->instSegs && i < t->instSegs->size(); ++i) {
            const InstrumentSegment& s = *t->instSegs->segAt(i);
            out << " clip " << s.pos << ' ' << s.width << ' ' << s.name << ' ' << s.audioPath << ' ' << s.frames << '\n';
        }
        for (size_t i = 0; t->singSegs && i < t->singSegs->size(); ++i) {
            const SingSegment& s = *t->singSegs->segAt(i);
            out << " seg " << s.pos << ' ' << s.width << ' ' << s.overlapped << ' ' << s.name << ' ' << s.singer;
            for (CurveSlot slot : kSavedCurveSlots) dumpCurve(out, s.curve(slot));
            out << '\n';
            for (const Note* n : s.notes) {
                out << "  note " << n->pos << ' ' << n->width << ' ' << n->key << ' ' << n->vibPercent << ' '
                    << n->phoneticSymbol << ' ' << n->lyric << ' ' << n->overlapped << ' ' << n->elemTimesSet << ' '
                    << n->timeFactor1 << ' ' << int(n->timesFlag) << ' ' << n->timeFactor2 << ' ' << n->timeFactor3
                    << ' ' << n->timeFactor4 << ' ' << n->bendDep << ' ' << n->bendLen << ' ' << n->tailChg << ' '
                    << n->headChg << ' ' << n->timbreIndex << ' ' << n->crossSymbol << ' ' << n->crossTimbre;
                dumpCurve(out, n->vibrato.vibAmp);
                dumpCurve(out, n->vibrato.vibFreq);
                dumpCurve(out, n->vibrato.vibCurve);
                out << " cycle " << n->cycle.table.size() << ' ' << n->cycle.table[1] << ' ' << n->cycle.table.back()
                    << '\n';
            }
        }
    }
    return out.str();
}

std::unique_ptr<HalvorenModel> makeRichModel()
{
    auto m = std::make_unique<HalvorenModel>();
    m->tempos = {new Tempo{0, 12000}, new Tempo{9600, 9050}};
    m->beats = {new Beat{-3, 4, 4}, new Beat{2, 6, 8}};
    auto* singing = new Track(kSingingTrack);
    singing->name = "lead";
    singing->muted = true;
    singing->volume = 77;
    singing->balance = -0.25f;
    for (int k = 0; k < 2; ++k) {
        auto* seg = new SingSegment(7680 + 4000 * k, 3840);
        seg->name = "verse" + std::to_string(k);
        seg->singer = "歌手";
        for (CurveSlot slot : kSavedCurveSlots) seg->curve(slot).nodes.insertNode(seg->curve(slot).nodes.end(), {3841, 60 + slot});
        for (int j = 0; j < 2; ++j) {
            auto* n = new Note;
            n->pos = 480 * j + k;
            n->width = 500;  // the two notes overlap
            n->key = 55 + j;
            n->vibPercent = 40;
            n->phoneticSymbol = "ge";
            n->lyric = "歌";
            n->elemTimesSet = true;
            n->timeFactor1 = 1.5f;
            n->timesFlag = 3;
            n->timeFactor2 = 0.5f;
            n->timeFactor3 = 2.0f;
            n->timeFactor4 = 0.75f;
            n->bendDep = 30;
            n->bendLen = 40;
            n->tailChg = 11;
            n->headChg = 12;
            n->timbreIndex = 2;
            n->crossSymbol = "a";
            n->crossTimbre = 1;
            n->vibrato.vibAmp.nodes.insertNode(n->vibrato.vibAmp.nodes.begin(), {-5, 7});
            n->vibrato.vibCurve.nodes.pushBack({10, -3});
            n->cycle.table.back() = 0.125f;
            seg->notes.insertSorted(n);
        }
        insertSegmentSorted(*singing->singSegs, seg);
    }
    m->tracks = {singing, new Track(kInstrumentTrack)};
    return m;
}

std::string readFileBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void writeFileBytes(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary | std::ios::trunc).write(bytes.data(), std::streamsize(bytes.size()));
}

std::string taggedFile(int32_t version, const std::string& body)
{
    ByteBuilder b;
    b.raw("HALVOREN").i32(version).block(ByteBuilder{body});
    return b.bytes;
}

}  // namespace hvtest
