#include "render/export/Mp3FileWriter.h"

#include <cstdio>

#include "platform/FileUtil.h"
#include "render/export/Mp3Encoder.h"

int writeMp3File(const CString& path, size_t dataBytes, int channels, const int16_t* data) {
    if ((channels != 1 && channels != 2) || (dataBytes > 0 && !data)) return 1;
    FILE* raw = openFile(path, "wb");
    if (!raw) return 1;
    FilePtr file(raw);
    Mp3Encoder encoder;
    const size_t frames = dataBytes / 2 / static_cast<size_t>(channels);
    bool ok = encoder.begin(file.get(), channels) && encoder.encode(data, frames) && encoder.finish();
    if (std::fclose(file.release()) != 0) ok = false;
    return ok ? 0 : 1;
}
