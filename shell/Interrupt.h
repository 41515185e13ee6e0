#pragma once
// Ctrl-C: the signal only raises a flag that long-running loops poll.

// Installs the handler for SIGINT (and SIGTERM).
void installInterruptHandler();
bool interruptRequested();
// Raises or clears the flag (tests).
void setInterruptRequested(bool on);
