#include "render/audio/AudioSingleton.h"

#include <cstdio>
#include <cstdlib>

#include <portaudio.h>

#include "platform/QuietStderr.h"
#include "render/audio/PaPlayer.h"

namespace {

struct AudioState {
    PaPlayer* shared = nullptr;
    bool up = false;
    bool exitHandlerSet = false;
    int session = 0;
};

AudioState& state() {
    static AudioState s;
    return s;
}

}  // namespace

void printPaError(int code) {
    std::fprintf(stderr, "An error occured while using the portaudio \n");
    std::fprintf(stderr, "Error number: %d\n", code);
    std::fprintf(stderr, "Error message: %s\n", Pa_GetErrorText(code));
}

void initPortAudio() {
    AudioState& s = state();
    PaError err = paNoError;
    {
        // The host libraries print what they find while probing devices.
        QuietStderr quiet;
        err = Pa_Initialize();
    }
    if (err != paNoError) {
        Pa_Terminate();
        printPaError(err);
    }
    s.up = true;
    s.shared = newPaPlayer();
}

PaPlayer* getAudioSingleton() {
    AudioState& s = state();
    if (!s.up) {
        initPortAudio();
        if (!s.exitHandlerSet) {
            s.exitHandlerSet = true;
            std::atexit(destroyAudioSingleton);
        }
    }
    return s.shared;
}

void destroyAudioSingleton() {
    AudioState& s = state();
    if (!s.up) return;
    delete s.shared;
    s.shared = nullptr;
    Pa_Terminate();
    s.up = false;
    ++s.session;
}

PaPlayer* newPaPlayer() { return new PaPlayer(); }

int audioSession() { return state().session; }
