// The VSQX import over scores written inline into a scratch folder: both
// dialects, the pre-measure shift, notes, audio parts and damaged files.
#include <gmock/gmock.h>

#include <filesystem>

#include "ImportFixture.h"
#include "model/import/ImportBudget.h"
#include "model/import/vsqx/CVsqxParser.h"
#include "model/import/vsqx/VsqxImport.h"
#include "model/import/vsqx/XmlNesting.h"
#include "voicebank/SingerMgr.h"
#include "support/audio/RiffWriter.h"

using namespace HVCurrentModel;

namespace {

class DictSinger : public ISinger {
public:
    DictSinger(const std::string& name, ILyricDict* dict) : dict_(dict) { name_ = name; }
    bool hasLyricDict() override { return true; }
    ILyricDict* getLyricDict() override { return dict_; }

private:
    ILyricDict* dict_;
};

const char kVsq3Score[] = R"(<?xml version="1.0" encoding="UTF-8"?>
<vsq3 xmlns="http://www.yamaha.co.jp/vocaloid/schema/vsq3/">
  <masterTrack>
    <preMeasure>1</preMeasure>
    <timeSig><posMes>0</posMes><nume>3</nume><denomi>4</denomi></timeSig>
    <timeSig><posMes>2</posMes><nume>6</nume><denomi>8</denomi></timeSig>
    <tempo><posTick>0</posTick><bpm>14000</bpm></tempo>
    <tempo><posTick>1920</posTick><bpm>9000</bpm></tempo>
  </masterTrack>
  <vsTrack>
    <trackName>Lead</trackName>
    <musicalPart>
      <posTick>1920</posTick><playTime>3840</playTime><partName>Verse</partName>
      <note><posTick>0</posTick><durTick>480</durTick><noteNum>60</noteNum><lyric><![CDATA[Ka]]></lyric></note>
      <note><posTick>480</posTick><durTick>240</durTick><noteNum>62</noteNum><lyric>mi</lyric></note>
    </musicalPart>
  </vsTrack>
  <vsTrack><trackName>Second</trackName></vsTrack>
</vsq3>
)";

const char kVsq4Score[] = R"(<?xml version="1.0" encoding="UTF-8"?>
<vsq4 xmlns="http://www.yamaha.co.jp/vocaloid/schema/vsq4/">
  <masterTrack>
    <preMeasure>1</preMeasure>
    <timeSig><m>0</m><nu>3</nu><de>4</de></timeSig>
    <timeSig><m>2</m><nu>6</nu><de>8</de></timeSig>
    <tempo><t>0</t><v>14000</v></tempo>
    <tempo><t>1920</t><v>9000</v></tempo>
  </masterTrack>
  <vsTrack>
    <name>Lead</name>
    <vsPart>
      <t>1920</t><playTime>3840</playTime><name>Verse</name>
      <note><t>0</t><dur>480</dur><n>60</n><y><![CDATA[Ka]]></y></note>
      <note><t>480</t><dur>240</dur><n>62</n><y>mi</y></note>
    </vsPart>
  </vsTrack>
  <vsTrack><name>Second</name></vsTrack>
</vsq4>
)";

std::string vsq4(const std::string& master, const std::string& rest = "")
{
    return "<?xml version=\"1.0\"?><vsq4><masterTrack>" + master + "</masterTrack>" + rest + "</vsq4>";
}

}  // namespace

class VsqxImportTest : public ImportFixture {
protected:
    std::unique_ptr<HalvorenModel> load(const std::string& text, const std::string& name = "a.vsqx",
                                        ImportRefusal* refusal = nullptr)
    {
        path = scratch.file(name);
        hvtest::writeFileBytes(path, text);
        return loadVsqx(CString::fromUtf8(path), "Ann", refusal);
    }
    std::string path;
};

TEST_F(VsqxImportTest, BothDialectsGiveTheSameProject)
{
    auto three = load(kVsq3Score);
    auto four = load(kVsq4Score);
    ASSERT_NE(three, nullptr);
    ASSERT_NE(four, nullptr);
    EXPECT_EQ(savedBytes(*three), savedBytes(*four));
    ASSERT_EQ(four->tracks.size(), 2u);
    EXPECT_EQ(four->tracks[0]->name, "Lead");
    EXPECT_EQ(four->tracks[1]->name, "Second");
    const SingSegment* seg = segOf(*four, 0);
    EXPECT_EQ(seg->name, "Verse");
    EXPECT_EQ(seg->singer, "Ann");
    // Part at 1920 moved by 3 measures (preMeasure 1): 1920 + 5760.
    EXPECT_EQ(seg->pos, 7680);
    EXPECT_EQ(seg->width, 3840);
    // n = 60, t = 0, dur = 480, CDATA "Ka" -> key 55, lyric and symbol "ka".
    ASSERT_EQ(seg->notes.size(), 2u);
    const Note* n = seg->notes[0];
    EXPECT_EQ(std::make_tuple(n->key, n->pos, n->width, n->lyric, n->phoneticSymbol),
              std::make_tuple(55, 0, 480, std::string("ka"), std::string("ka")));
}

TEST_F(VsqxImportTest, FewPreMeasuresShiftTheScoreToMeasureOne)
{
    struct Case {
        int preMeasure;
        std::vector<std::pair<int, int>> tempos;               // (pos, value)
        std::vector<std::tuple<int, int, int>> beats;          // (measure, num, den)
        int partPos;
    };
    const Case cases[] = {
        // 4 - 1 = 3 measures, 3 * 1920 = 5760 ticks; defaults at 0 and -3.
        {1, {{0, 12000}, {5760, 14000}, {7680, 9000}}, {{-3, 4, 4}, {0, 3, 4}, {2, 6, 8}}, 1920 + 5760},
        // 4 - 3 = 1 measure: 1920 ticks.
        {3, {{0, 12000}, {1920, 14000}, {3840, 9000}}, {{-3, 4, 4}, {-2, 3, 4}, {0, 6, 8}}, 3840},
        {4, {{0, 14000}, {1920, 9000}}, {{-3, 3, 4}, {-1, 6, 8}}, 1920},
        {9, {{0, 14000}, {1920, 9000}}, {{-3, 3, 4}, {-1, 6, 8}}, 1920},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.preMeasure);
        std::string score = kVsq4Score;
        score.replace(score.find("<preMeasure>1<"), 14, "<preMeasure>" + std::to_string(c.preMeasure) + "<");
        auto model = load(score);
        ASSERT_NE(model, nullptr);
        std::vector<std::pair<int, int>> tempos;
        for (const Tempo* t : model->tempos) tempos.emplace_back(t->pos, t->tempo);
        std::vector<std::tuple<int, int, int>> beats;
        for (const Beat* b : model->beats) beats.emplace_back(b->pos, b->numerator, b->denominator);
        EXPECT_EQ(tempos, c.tempos);
        EXPECT_EQ(beats, c.beats);
        EXPECT_EQ(segOf(*model, 0)->pos, c.partPos);
    }
}

TEST_F(VsqxImportTest, ScoresWithoutMarkersGetOneDefaultEach)
{
    auto model = load(vsq4("<preMeasure>4</preMeasure>"));
    ASSERT_NE(model, nullptr);
    ASSERT_EQ(model->tempos.size(), 1u);
    EXPECT_EQ(std::make_pair(model->tempos[0]->pos, model->tempos[0]->tempo), std::make_pair(0, 12000));
    ASSERT_EQ(model->beats.size(), 1u);
    EXPECT_EQ(std::make_tuple(model->beats[0]->pos, model->beats[0]->numerator, model->beats[0]->denominator),
              std::make_tuple(-3, 4, 4));
    EXPECT_TRUE(model->tracks.empty());
}

TEST_F(VsqxImportTest, ADictionaryGivesTheSymbolAndKeepsTheLyric)
{
    StubLyricDict dict;
    getSingerList()->addSinger(new DictSinger("Ann", &dict));
    auto model = load(kVsq4Score);
    getSingerList()->clearSingers();
    ASSERT_NE(model, nullptr);
    const Note* n = segOf(*model, 0)->notes[0];
    EXPECT_EQ(n->lyric, "Ka");
    EXPECT_EQ(n->phoneticSymbol, "sym1");
}

TEST_F(VsqxImportTest, AudioPartsFollowTheSingingTracks)
{
    const auto wav = hvtest::simpleWav(1, 1, 44100, 16, hvtest::Bytes(400, 0));
    std::filesystem::create_directories(scratch.file("a.wavparts"));
    ASSERT_TRUE(hvtest::writeBytes(scratch.file("a.wavparts/b.wav"), wav));
    ASSERT_TRUE(hvtest::writeBytes(scratch.file("c.wav"), wav));
    const std::string missing = scratch.file("a.wavparts/gone.wav");
    const std::string rest =
        "<vsTrack><name>Lead</name></vsTrack>"
        "<stTrack><wavPart><t>0</t><playTime>960</playTime><name>full</name><filePath>" +
        scratch.file("c.wav") +
        "</filePath></wavPart></stTrack>"
        "<monoTrack>"
        "<wavPart><t>480</t><playTime>200</playTime><name>bee</name><filePath>b.wav</filePath></wavPart>"
        "<wavPart><t>0</t><playTime>100</playTime><name>gone</name><filePath>gone.wav</filePath></wavPart>"
        "<wavPart><t>960</t><playTime>200</playTime><name>again</name><filePath>" +
        scratch.file("a.wavparts/./b.wav") +
        "</filePath></wavPart>"
        "</monoTrack>";
    auto model = load(vsq4("<preMeasure>3</preMeasure>", rest));
    ASSERT_NE(model, nullptr);
    ASSERT_EQ(model->tracks.size(), 3u);
    EXPECT_EQ(model->tracks[0]->kind, kSingingTrack);
    EXPECT_EQ(model->tracks[1]->name, "WAV(MONO)");
    EXPECT_EQ(model->tracks[2]->name, "WAV(STEREO)");
    // The bare name is looked for beside the score; the missing part stays
    // without sound; both spellings of b share one clip.
    const auto& mono = *model->tracks[1]->instSegs;
    ASSERT_EQ(mono.size(), 3u);
    const InstrumentSegment &gone = *mono.segAt(0), &bee = *mono.segAt(1), &again = *mono.segAt(2);
    EXPECT_EQ(gone.name, "gone");
    EXPECT_EQ(gone.pos, 1920);
    EXPECT_EQ(gone.audioPath, missing);
    EXPECT_EQ(gone.clipLoad, ClipLoad::unreadable);
    EXPECT_EQ(gone.frames, 0);
    EXPECT_EQ(bee.name, "bee");
    EXPECT_EQ(bee.pos, 480 + 1920);
    EXPECT_EQ(bee.audioPath, scratch.file("a.wavparts/b.wav"));
    EXPECT_EQ(bee.frames, 200);
    EXPECT_TRUE(again.left.sharesSamplesWith(bee.left));
    ASSERT_EQ(model->tracks[2]->instSegs->size(), 1u);
    EXPECT_EQ(model->tracks[2]->instSegs->segAt(0)->pos, 1920);
    // The program names the parts not loaded once the score is open.
    EXPECT_TRUE(boxes.shown.empty());

    // A track whose every part fails keeps them.
    model = load(vsq4("", "<monoTrack><wavPart><filePath>gone.wav</filePath></wavPart></monoTrack>"));
    ASSERT_NE(model, nullptr);
    ASSERT_EQ(model->tracks.size(), 1u);
    EXPECT_EQ(model->tracks[0]->instSegs->size(), 1u);
}

TEST_F(VsqxImportTest, DamagedScoresAreRefusedOrReadAsStored)
{
    std::string nested;
    // Well-formed, but deep enough to exhaust the stack of a recursive parser.
    for (int i = 0; i < 100000; ++i) nested += "<a>";
    for (int i = 0; i < 100000; ++i) nested += "</a>";
    // Attributes are compared with every earlier one of their element.
    const auto withAttributes = [](int n) {
        std::string tag = "<tempo";
        for (int i = 0; i < n; ++i) tag += " a" + std::to_string(i) + "='='";  // "=" inside quotes is no attribute
        return vsq4("<preMeasure>4</preMeasure>" + tag + "/>");
    };
    struct Case {
        const char* what;
        std::string text;
        bool refused;
    };
    const Case cases[] = {
        {"not XML", "this is not a score", true},
        {"empty file", "", true},
        {"root vsq5", "<vsq5><masterTrack/></vsq5>", true},
        {"no master track", "<vsq4><vsTrack/></vsq4>", true},
        {"pre-measure at the int32 minimum", vsq4("<preMeasure>-2147483648</preMeasure>"), true},
        {"a part pushed past the int32 range",
         vsq4("<preMeasure>0</preMeasure>", "<vsTrack><vsPart><t>2147483000</t></vsPart></vsTrack>"), true},
        {"elements nested 100000 deep", vsq4("", nested), true},
        {"65 attributes on one element", withAttributes(65), true},
        {"empty elements", vsq4("<preMeasure></preMeasure>",
                                "<vsTrack><name></name><vsPart><note><n></n><y></y></note></vsPart></vsTrack>"),
         false},
        {"tempo 0 and denominator 0", vsq4("<preMeasure>4</preMeasure><timeSig><m>0</m><nu>3</nu><de>0</de></timeSig>"
                                           "<tempo><t>0</t><v>0</v></tempo>"),
         false},
        {"a 9 MB score (a score may take 32 MiB)", vsq4("") + std::string(size_t{9} << 20, ' '), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        auto model = load(c.text);
        EXPECT_EQ(model == nullptr, c.refused);
    }
    // Empty elements read as "" and 0; 0 values are kept as stored.
    auto model = load(cases[8].text);
    ASSERT_NE(model, nullptr);
    const SingSegment* seg = segOf(*model, 0);
    EXPECT_EQ(seg->pos, 7680);  // preMeasure 0: 4 measures
    ASSERT_EQ(seg->notes.size(), 1u);
    EXPECT_EQ(seg->notes[0]->key, 115);
    EXPECT_EQ(seg->notes[0]->lyric, "");
    model = load(cases[9].text);
    ASSERT_NE(model, nullptr);
    EXPECT_EQ(model->tempos[0]->tempo, 0);
    EXPECT_EQ(model->beats[0]->denominator, 0);
    EXPECT_NE(load(withAttributes(64)), nullptr);

    // Start tags and attributes count together; end tags, comments and
    // quoted text do not.
    const std::string text = "<a x='1' y=\"=\"><b/><!-- <c z=1> --></a>";  // a + 2 + b = 4
    EXPECT_TRUE(xmlCountsWithin(text, {2, 4}));
    EXPECT_FALSE(xmlCountsWithin(text, {2, 3}));
    EXPECT_FALSE(xmlCountsWithin(text, {1, 4}));
    // A start tag cut off by the end of the text counts like any other.
    EXPECT_FALSE(xmlCountsWithin("<vsq4><x b0='' b1='' b2=''", {2, 100}));
    EXPECT_FALSE(xmlCountsWithin("<vsq4><x b0='' b1=''", {2, 3}));
}

// A score refused for its size says so, with the sizes; a damaged one does
// not.
TEST_F(VsqxImportTest, AScoreBuildingMoreThanOneImportMayIsRefused)
{
    using Kind = ImportRefusal::Kind;
    const size_t tooMany = (size_t{1} << 30) / kNoteBuildBytes + 1;
    std::string notes;
    for (size_t i = 0; i < tooMany; ++i) notes += "<note/>";
    const struct {
        const char* what;
        std::string text;
        Kind kind;
    } cases[] = {{"notes past the import's 1 GiB", vsq4("", "<vsTrack><vsPart>" + notes + "</vsPart></vsTrack>"),
                  Kind::tooLarge},
                 {"a 33 MiB score (a score may take 32 MiB)", vsq4("") + std::string(size_t{33} << 20, ' '),
                  Kind::fileTooLarge},
                 {"not XML", "this is not a score", Kind::none}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ImportRefusal refusal;
        EXPECT_EQ(load(c.text, "a.vsqx", &refusal), nullptr);
        EXPECT_EQ(refusal.kind, c.kind);
        if (c.kind == Kind::none) continue;
        EXPECT_EQ(refusal.size.fileBytes, c.text.size());
        if (c.kind == Kind::fileTooLarge) {
            EXPECT_EQ(refusal.size.bytesAllowed, uint64_t{32} << 20);
        } else {
            EXPECT_EQ(refusal.size.notes, tooMany);
            EXPECT_EQ(refusal.size.bytesAllowed, uint64_t{1} << 30);
            EXPECT_GT(refusal.size.bytesNeeded, refusal.size.bytesAllowed);
        }
    }
}

TEST_F(VsqxImportTest, AudioPathsWithoutFolderGoBesideTheScore)
{
    CVsqx4parser parser;
    struct Case {
        std::u16string base, file, resolved;
    };
    const Case cases[] = {
        {u"/songs/a.vsqx", u"b.wav", u"/songs/a.wavparts/b.wav"},
        {u"/songs/a.vsqx", u"C:\\music\\x.wav", u"C:\\music\\x.wav"},
        {u"/songs/a.vsqx", u"/music/x.wav", u"/music/x.wav"},
        {u"/songs/a.vsqx", u"\\x.wav", u"/songs/a.wavparts/\\x.wav"},  // a separator at 0 is no folder
        {u".vsqx", u"b.wav", u".vsqx"},  // no dot after the first character
    };
    for (const Case& c : cases) {
        parser.basePath = CString(c.base);
        EXPECT_EQ(parser.resolveAudioPath(CString(c.file)).str(), c.resolved) << CString(c.file).toUtf8();
    }
}
