#pragma once
// The front of a synthesis job: every slot forwards to the job. Each
// generation's HVSynthesizer derives from it and adds a typed access to its
// job body, through which the editor side fills the score.
#include <memory>

#include "engine/IHVSynthesizer.h"
#include "engine/SynthJob.h"

namespace HalvorenEngine {

class JobSynthesizer : public IHVSynthesizer {
public:
    explicit JobSynthesizer(std::unique_ptr<ISynthJobBody> body)
        : job_(std::make_unique<SynthJob>(std::move(body)))
    {
    }

    void setListener(HVSynthListener* listener) override { job_->setListener(listener); }
    void setSynthText(const std::string& text) override { job_->setSynthText(text); }
    bool isReady() override { return job_->isReady(); }
    void prepare() override { job_->prepare(); }
    void start() override { job_->start(); }
    void stop() override { job_->stop(); }
    const short* getOutput(int* count) override { return job_->getOutput(count); }
    int samplesDone() override { return job_->samplesDone(); }
    int samplesReady() override { return job_->samplesReady(); }
    std::int64_t samplesSaturated() override { return job_->samplesSaturated(); }
    std::string bankFault() override { return job_->body().bankFault(); }

    SynthJob& job() { return *job_; }

private:
    std::unique_ptr<SynthJob> job_;
};

}  // namespace HalvorenEngine
