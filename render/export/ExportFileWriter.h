#pragma once
// An export file written piece by piece: stereo 16-bit frames at 44100 Hz go
// into a temporary file beside the file the path finally names (a symbolic
// link is followed, and stays), as WAV or MP3 by the path's extension, and
// the temporary file replaces that file only once it is complete. A writer
// destroyed before commit removes its temporary file.
#include <cstdint>
#include <cstdio>
#include <string>

#include "platform/CString.h"
#include "platform/FileUtil.h"
#include "render/export/Mp3Encoder.h"

// What the temporary file adds to the file's name.
inline constexpr char16_t kPartSuffix[] = u".part";

class ExportFileWriter {
public:
    ExportFileWriter() = default;
    ~ExportFileWriter() { abandon(); }
    ExportFileWriter(const ExportFileWriter&) = delete;
    ExportFileWriter& operator=(const ExportFileWriter&) = delete;

    // Starts a file of totalFrames frames; false for an unknown extension, a
    // WAV too long for its header, or a temporary file that cannot be made.
    bool open(const CString& path, int64_t totalFrames);
    // Appends interleaved frames; false when they cannot be written.
    bool write(const int16_t* stereo, int frames);
    // Completes the file and puts it in place; false when that fails (the
    // temporary file is then removed).
    bool commit();
    // Drops an unfinished file.
    void abandon();
    // Why the last open, write or commit failed: the system's reason ("No
    // space left on device") or what the output cannot be; empty when none
    // failed since the last open.
    const std::string& failure() const { return failure_; }

private:
    // Records why a step failed (errno's reason, else `otherwise`), drops
    // the file and returns false.
    bool fail(const char* otherwise);

    FilePtr file_;
    CString temporary_;
    CString target_;
    bool mp3_ = false;
    Mp3Encoder encoder_;
    std::string failure_;
};
