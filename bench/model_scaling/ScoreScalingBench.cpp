// Scores and old projects of the worst shapes read at 1, 4 and 16 MB, each
// beside reading its file: generation-0 projects of tempo markers in
// descending order, and VSQX scores of notes and of a start tag of attributes
// cut off by the end of the file. (MIDI files of the worst shape are timed
// with the other MIDI imports.)
#include <memory>
#include <vector>

#include "bench/support/ScalingFiles.h"
#include "bench/support/ScalingRun.h"
#include "model/file/ProjectFile.h"
#include "model/import/vsqx/VsqxImport.h"
#include "platform/MessageBox.h"
#include "support/ByteBuilder.h"

using hvtest::ByteBuilder;

namespace {

using File = std::shared_ptr<hvbench::ScratchFile>;

hvbench::ScalingInput fileInput(const File& file, const std::string& bytes, std::function<bool()> work)
{
    file->write(bytes);
    return {file->size(), std::move(work), [file] { file->readWhole(); }};
}

// A body of a header word, size / 8 tempo markers at descending positions
// and no beat markers or segments.
std::string oldProjectOfTempos(uint64_t size)
{
    const auto count = static_cast<uint32_t>(size / 8);
    ByteBuilder tempos;
    tempos.u32(count);
    for (uint32_t k = 0; k < count; ++k) tempos.i32(static_cast<int32_t>(count - k)).i32(12000);
    ByteBuilder body;
    body.u32(0).block(tempos).block(ByteBuilder().u32(0)).block(ByteBuilder().u32(0));
    return ByteBuilder().block(body).bytes;
}

void BM_OldProjectTemposScaling(benchmark::State& state)
{
    auto file = std::make_shared<hvbench::ScratchFile>("tempos.hv");
    hvbench::runScaling(state, hvbench::kScalingSizes, [&](uint64_t size) {
        return fileInput(file, oldProjectOfTempos(size), [file, size] {
            std::unique_ptr<HVCurrentModel::HalvorenModel> model(loadProjectFile(file->cpath()));
            return model && model->tempos.size() == size / 8;
        });
    });
}
BENCHMARK(BM_OldProjectTemposScaling)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

// A vsq4 score of one part of as many notes as fit the size.
std::string vsqxOfNotes(uint64_t size)
{
    std::string text = "<?xml version=\"1.0\"?><vsq4><masterTrack><preMeasure>4</preMeasure></masterTrack>"
                       "<vsTrack><name>lead</name><vsPart><name>p</name><t>7680</t><playTime>99999999</playTime>\n";
    for (int64_t i = 0; text.size() < size; ++i)
        text += "<note><t>" + std::to_string(i * 240) + "</t><dur>240</dur><n>60</n><v>64</v><y><![CDATA[a]]></y>"
                "<p><![CDATA[a]]></p><nStyle><v id=\"accent\">50</v><v id=\"decay\">50</v></nStyle></note>\n";
    return text + "</vsPart></vsTrack></vsq4>\n";
}

// A root and a start tag of empty attributes that the file ends inside.
std::string vsqxOfACutTag(uint64_t size)
{
    std::string text = "<?xml version=\"1.0\"?><vsq4><x";
    for (int64_t i = 0; text.size() < size; ++i) text += " b" + std::to_string(i) + "=\"\"";
    return text;
}

void vsqxScaling(benchmark::State& state, std::string (*shape)(uint64_t), bool refused)
{
    ScriptedMessageBoxService boxes;
    ScopedMessageBoxService scoped(&boxes);
    auto file = std::make_shared<hvbench::ScratchFile>("score.vsqx");
    hvbench::runScaling(state, hvbench::kScalingSizes, [&](uint64_t size) {
        return fileInput(file, shape(size),
                         [file, refused] { return (loadVsqx(file->cpath(), "Ann") == nullptr) == refused; });
    });
}

void BM_VsqxNotesScaling(benchmark::State& state) { vsqxScaling(state, vsqxOfNotes, false); }
BENCHMARK(BM_VsqxNotesScaling)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_VsqxCutTagScaling(benchmark::State& state) { vsqxScaling(state, vsqxOfACutTag, true); }
BENCHMARK(BM_VsqxCutTagScaling)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace
