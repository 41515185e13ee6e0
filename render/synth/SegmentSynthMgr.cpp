#include "render/synth/SegmentSynthMgr.h"

#include "engine/EngineManager.h"
#include "platform/MessageBox.h"
#include "render/synth/ISynth.h"
#include "render/synth/UnopenedBankSynth.h"
#include "shell/services/LanguageMgr.h"
#include "voicebank/BankVersions.h"
#include "voicebank/Singer.h"
#include "voicebank/SingerMgr.h"

namespace {
const char16_t* const kCaption = u"(\uFF1E\uFE4F\uFF1C)";

CString incompleteBankText(const std::string& singerName)
{
    return CString::fromUtf8(singerName) + u" " +
           translate("HVI or HVC not be found, please make sure voice bank is complete");
}
}  // namespace

ISynth* SegmentSynthMgr::findSynth(HVCurrentModel::SingSegment* seg) const
{
    const auto it = synths_.find(seg);
    return it != synths_.end() ? it->second.synth : nullptr;
}

ISynth* SegmentSynthMgr::renewSynth(HVCurrentModel::SingSegment* seg)
{
    if (seg == nullptr)
        return nullptr;
    ISynth* synth = createSynth(seg->singer);
    if (synth == nullptr)
        return nullptr;
    const auto it = synths_.find(seg);
    if (it != synths_.end()) {
        dispose(it->second.synth);
        it->second = {synth, seg->singer};
    } else {
        synths_.emplace(seg, Entry{synth, seg->singer});
    }
    return synth;
}

ISynth* SegmentSynthMgr::getSynth(HVCurrentModel::SingSegment* seg)
{
    const auto it = synths_.find(seg);
    if (it != synths_.end() && it->second.synth->isReady() && it->second.singer == seg->singer)
        return it->second.synth;
    return renewSynth(seg);
}

void SegmentSynthMgr::clear()
{
    for (auto& [seg, entry] : synths_)
        dispose(entry.synth);
    synths_.clear();
    filesReported_.clear();
}

void SegmentSynthMgr::dispose(ISynth* synth)
{
    // Off its chain first, then no completion call is left running on it.
    synth->setCallback(nullptr);
    synth->stop();
    delete synth;
}

ISynth* SegmentSynthMgr::createSynth(const std::string& singerName)
{
    ISinger* found = getSingerList()->findSinger(singerName);
    if (found == nullptr) {
        showMessageBox(translate("singer") + u" \"" + CString::fromUtf8(singerName) + u"\" " +
                           translate("is not in your system"),
                       kCaption);
        return nullptr;
    }
    const std::string version = found->getVersion();
    if (!isAcceptedBankVersion(version))
        return nullptr;
    const auto* singer = dynamic_cast<const Singer*>(found);
    const auto maker = makers_.find(version);
    if (singer == nullptr || maker == makers_.end()) {
        showMessageBox(incompleteBankText(singerName), kCaption);
        return nullptr;
    }
    const std::string base = singer->getPath();
    if (std::string fault = packageFileFault(base); !fault.empty()) {
        // Said once: each of the singer's segments asks again, and each
        // names the file where it is sung.
        if (filesReported_.insert(fault).second)
            showMessageBox(incompleteBankText(singerName) + u"\n" + CString::fromPathBytes(fault), kCaption);
        return new UnopenedBankSynth(std::move(fault));
    }
    return maker->second(base);
}

SegmentSynthMgr& getEngineMap()
{
    // Built first, so destroyed after the map, whose synthesizers it takes.
    HalvorenEngine::getEngineManager();
    static SegmentSynthMgr map;
    return map;
}
