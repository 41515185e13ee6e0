#pragma once
// Work that a thread runs.
namespace HalvorenEngine {

class Runnable {
public:
    virtual ~Runnable() = default;
    virtual void run() = 0;
};

}  // namespace HalvorenEngine
