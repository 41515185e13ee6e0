// Accompaniment clips loaded as a project loads them, at 1, 4 and 16 MB: MP3
// at 128 kbit/s (also at 10 and 40 minutes), beside the bare decode of the
// same file; and 8-bit stereo WAV at 1000 Hz, the most a byte of a clip
// grows, beside reading the file.
#include <fstream>
#include <iterator>
#include <memory>

#include "bench/support/ScalingFiles.h"
#include "bench/support/ScalingRun.h"
#include "model/current/Segments.h"
#include "support/audio/AudioFiles.h"
#include "support/audio/Mp3Fixture.h"
#include "support/audio/RiffWriter.h"

namespace {

constexpr double kPieceSeconds = 15.0;

// Fifteen seconds of a stereo sine at 128 kbit/s, encoded once. Copies of it
// joined make a longer stream: each starts without the bit reservoir.
const std::string& mp3Piece()
{
    static const std::string piece = [] {
        const hvbench::ScratchFile file("piece.mp3");
        hvtest::writeSineMp3(file.path(), {44100, 2, 440, 660, kPieceSeconds, 0.5, 128});
        std::ifstream in(file.path(), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }();
    return piece;
}

bool loadClip(const hvbench::ScratchFile& file)
{
    HVCurrentModel::InstrumentSegment seg;
    seg.audioPath = file.path();
    const bool loaded = seg.loadAudio(CString());
    benchmark::DoNotOptimize(seg.left.data());
    return loaded;
}

hvbench::ScalingInput mp3Input(const std::shared_ptr<hvbench::ScratchFile>& file, uint64_t pieces)
{
    std::string bytes;
    for (uint64_t k = 0; k < pieces; ++k) bytes += mp3Piece();
    file->write(bytes);
    return {file->size(), [file] { return loadClip(*file); },
            [file] { benchmark::DoNotOptimize(hvtest::decodeMp3(file->path()).pcm.data()); }};
}

void BM_Mp3ClipScaling(benchmark::State& state)
{
    auto file = std::make_shared<hvbench::ScratchFile>("clip.mp3");
    hvbench::runScaling(state, hvbench::kScalingSizes, [&](uint64_t size) {
        return mp3Input(file, (size + mp3Piece().size() - 1) / mp3Piece().size());
    });
}
BENCHMARK(BM_Mp3ClipScaling)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

// Ten and forty minutes.
void BM_Mp3ClipMinutes(benchmark::State& state)
{
    auto file = std::make_shared<hvbench::ScratchFile>("minutes.mp3");
    const auto perMinute = static_cast<uint64_t>(60 / kPieceSeconds);
    hvbench::runScaling(state, {10, 40}, [&](uint64_t minutes) { return mp3Input(file, minutes * perMinute); });
}
BENCHMARK(BM_Mp3ClipMinutes)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_LowRateWavClipScaling(benchmark::State& state)
{
    auto file = std::make_shared<hvbench::ScratchFile>("clip.wav");
    hvbench::runScaling(state, hvbench::kScalingSizes, [&](uint64_t size) {
        const hvtest::Bytes bytes = hvtest::simpleWav(1, 2, 1000, 8, hvtest::Bytes(size, 200));
        hvtest::writeBytes(file->path(), bytes);
        return hvbench::ScalingInput{file->size(), [file] { return loadClip(*file); }, [file] { file->readWhole(); }};
    });
}
BENCHMARK(BM_LowRateWavClipScaling)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace
