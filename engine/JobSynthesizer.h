#pragma once
// The front of a synthesis job: every slot forwards to the job. Each
// generation's HVSynthesizer derives from it and adds a typed access to its
// job body, through which the editor side fills the score.
#include <memory>
#include <string>

#include "engine/IHVSynthesizer.h"
#include "engine/SynthJob.h"

namespace HalvorenEngine {

class JobSynthesizer : public IHVSynthesizer {
public:
    // packagePath: the bank's base path, which prefixes its file names.
    JobSynthesizer(std::unique_ptr<ISynthJobBody> body, std::string packagePath)
        : job_(std::make_unique<SynthJob>(std::move(body))), packagePath_(std::move(packagePath))
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
    // The store's fault; failing that, once the job's synthesis has given
    // samples that are not finite, the bank's content file, whose values
    // gave them (the store refuses a header it cannot sing).
    std::string bankFault() override
    {
        std::string fault = job_->body().bankFault();
        if (fault.empty() && job_->samplesNotFinite() > 0)
            fault = packagePath_ + "HVC: its values make the synthesis give samples that are not finite";
        return fault;
    }

    SynthJob& job() { return *job_; }

private:
    std::unique_ptr<SynthJob> job_;
    std::string packagePath_;
};

}  // namespace HalvorenEngine
