#pragma once
// The audio library's lifetime in this process: started by the first player
// and shut down at exit after every player that the exit handlers know of.
// The slot holds a shared player whose stream is opened but never started.
class PaPlayer;

// On the first call starts the library (initPortAudio) and registers
// destroyAudioSingleton to run at exit; after a destroy, the next call starts
// a new session.
PaPlayer* getAudioSingleton();
void initPortAudio();
// Deletes the shared player, then shuts the library down.
void destroyAudioSingleton();
// Three lines on standard error naming the library's error.
void printPaError(int code);
PaPlayer* newPaPlayer();
// Counts library sessions; a stream opened in an earlier one is dead.
int audioSession();
