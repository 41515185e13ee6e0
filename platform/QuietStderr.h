#pragma once
// Sends standard error to /dev/null for the lifetime of the object, for
// libraries that print their probing on it (the audio libraries looking for
// devices). Only for code that runs while no other thread writes there.
class QuietStderr {
public:
    QuietStderr();
    ~QuietStderr();
    QuietStderr(const QuietStderr&) = delete;
    QuietStderr& operator=(const QuietStderr&) = delete;

private:
    int saved_ = -1;
};
