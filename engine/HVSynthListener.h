#pragma once
// Told when a synthesis job has written its whole output. Called on the job's
// worker thread; the listener posts its own notification to the thread that
// needs it.
namespace HalvorenEngine {

class HVSynthListener {
public:
    virtual ~HVSynthListener() = default;
    virtual void onJobDone() = 0;
};

}  // namespace HalvorenEngine
