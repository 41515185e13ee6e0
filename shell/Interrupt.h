#pragma once
// Ctrl-C and SIGTERM. Where the program waits on work that it can stop (the
// singing and writing of an export, playback) the signal only raises a flag
// that the waiting loop polls; everywhere else (start-up, loading, importing,
// saving) the program stops at once: it removes the partial file of the step
// under way, if any, and exits with 130.
#include "platform/CString.h"

// Installs the handler for SIGINT and SIGTERM, stopping at once until a
// PolledInterrupt scope says otherwise. A file-size limit no longer kills
// the program: a write past it fails instead.
void installInterruptHandler();
bool interruptRequested();
// Raises or clears the flag (tests).
void setInterruptRequested(bool on);

// For its lifetime the signal only raises the flag.
class PolledInterrupt {
public:
    PolledInterrupt();
    ~PolledInterrupt();
    PolledInterrupt(const PolledInterrupt&) = delete;
    PolledInterrupt& operator=(const PolledInterrupt&) = delete;
};

// For its lifetime a signal removes this file before the program exits
// (the temporary file of a save).
class PartialFileOnInterrupt {
public:
    explicit PartialFileOnInterrupt(const CString& path);
    ~PartialFileOnInterrupt();
    PartialFileOnInterrupt(const PartialFileOnInterrupt&) = delete;
    PartialFileOnInterrupt& operator=(const PartialFileOnInterrupt&) = delete;
};
