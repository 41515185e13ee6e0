#pragma once
// The fixture of the tests that run the program as a process: a scratch
// folder with an empty program folder ("home") and a short stereo clip, and
// projects built on it.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <regex>
#include <string>

#include "ProgramRun.h"
#include "model/file/ProjectFile.h"
#include "support/ByteBuilder.h"
#include "support/ScratchDir.h"
#include "support/audio/RiffWriter.h"
#include "support/model_document/ProjectBuilder.h"

namespace progtest {

using namespace projtest;

class ProgramTest : public ::testing::Test {
protected:
    ProgramTest()
    {
        std::filesystem::create_directories(dir_.file("home"));
        // A stereo clip: 4410 frames (0.1 s) of left 1000, right -2000.
        writeClip("clip.wav", 4410, 1000, -2000);
    }

    // A stereo 16-bit WAV file of frames frames of (left, right).
    void writeClip(const std::string& name, int frames, int16_t left, int16_t right)
    {
        hvtest::ByteBuilder samples;
        for (int i = 0; i < frames; ++i)
            samples.u16(static_cast<uint16_t>(left)).u16(static_cast<uint16_t>(right));
        hvtest::writeBytes(dir_.file(name), hvtest::simpleWav(1, 2, 44100, 16, hvtest::toBytes(samples)));
    }

    // Runs the program in the scratch folder, HALVOREN_HOME there; its err
    // leaves out the line about the dictionary folder that home lacks.
    RunResult run(const std::string& args, const std::string& env = "")
    {
        RunResult r = progtest::runProgram(dir_, args, env);
        const std::string noDict = ">_<: Dictionary file not exist\n";
        if (r.err.rfind(noDict, 0) == 0) r.err.erase(0, noDict.size());
        return r;
    }

    // Saves a project at 120 BPM with the given tracks; returns its path.
    std::string save(HalvorenModel& model, const std::string& name)
    {
        const std::string path = dir_.file(name);
        EXPECT_EQ(saveProjectFile(model, CString::fromUtf8(path)), 0);
        return path;
    }

    // The paced sink writing its captures into the scratch folder.
    std::string sinkConf()
    {
        const std::string text = readText(HV_PACED_SINK_CONF);
        const std::string conf = dir_.file("sink.conf");
        std::ofstream(conf) << std::regex_replace(text, std::regex("\"[^\"]*/stream-"), "\"" + dir_.file("stream-"));
        return conf;
    }

    // A project with one instrumental track holding a stereo clip of whole
    // seconds at measure 1: frame i is (i % 1000 + 1, -(i % 777) - 1).
    std::string longClipProject(int seconds = 1)
    {
        const int frames = 44100 * seconds;
        hvtest::ByteBuilder samples;
        for (int i = 0; i < frames; ++i) {
            samples.u16(static_cast<uint16_t>(i % 1000 + 1));
            samples.u16(static_cast<uint16_t>(-(i % 777) - 1));
        }
        hvtest::writeBytes(dir_.file("long.wav"), hvtest::simpleWav(1, 2, 44100, 16, hvtest::toBytes(samples)));
        auto m = markersOnly();
        Track* t = addTrack(*m, kInstrumentTrack, "Piano");
        t->volume = 100;
        addClip(*t, 7680, 1920 * seconds, 44100, frames)->audioPath = dir_.file("long.wav");
        return save(*m, "long.ot");
    }

    // A project with one instrumental track holding the clip at measure 1.
    std::string clipProject()
    {
        auto m = markersOnly();
        Track* t = addTrack(*m, kInstrumentTrack, "Piano");
        t->volume = 100;
        InstrumentSegment* clip = addClip(*t, 7680, 1920, 44100, 4410);
        clip->audioPath = dir_.file("clip.wav");
        return save(*m, "clip.ot");
    }

    hvtest::ScratchDir dir_{"program"};
};

}  // namespace progtest
