#include "render/synth/SynthBase.h"

#include "engine/EngineManager.h"

void SynthBase::start()
{
    if (auto* e = engine())
        e->start();
}

void SynthBase::stop()
{
    if (auto* e = engine())
        e->stop();
}

bool SynthBase::isReady()
{
    auto* e = engine();
    return e != nullptr && e->isReady();
}

const short* SynthBase::getOutput(int* count)
{
    int ignored = 0;
    int* length = count != nullptr ? count : &ignored;
    *length = 0;
    auto* e = engine();
    return e != nullptr ? e->getOutput(length) : nullptr;
}

int SynthBase::samplesDone()
{
    auto* e = engine();
    return e != nullptr ? e->samplesDone() : 0;
}

int SynthBase::samplesReady()
{
    auto* e = engine();
    return e != nullptr ? e->samplesReady() : 0;
}

std::int64_t SynthBase::samplesSaturated()
{
    auto* e = engine();
    return e != nullptr ? e->samplesSaturated() : 0;
}

std::string SynthBase::bankFault()
{
    auto* e = engine();
    return e != nullptr ? e->bankFault() : std::string();
}

void SynthBase::setCallback(ISynthCallback* callback)
{
    ISynthCallback* old = callback_.exchange(callback, std::memory_order_acq_rel);
    if (old != nullptr && old != callback)
        old->forgetSynth(this);
}

void SynthBase::onJobDone()
{
    if (ISynthCallback* callback = getCallback())
        callback->onSynthFinished(this);
}

void releaseEngineFront(HalvorenEngine::IHVSynthesizer* engine)
{
    if (engine != nullptr)
        HalvorenEngine::getEngineManager().releaseSynthesizer(engine);
}
