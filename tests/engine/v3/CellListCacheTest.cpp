#include <gtest/gtest.h>

#include "engine/CellListCache.h"
#include "engine/v3/CellMakerState.h"
#include "engine/v3/SourceStore_pkg.h"
#include "lyrics/NullSymbolMgr.h"
#include "support/bank/PackageOnDisk.h"

namespace {

using HalvorenEngine::CellListCache;
using HalvorenEngine::SynthFrameV4;

struct CountingListener : HalvorenEngineV3::ICellBuildingListener {
    void onCellBuilt(SynthFrameV4& frame) override { indices.push_back(frame.index); }
    std::vector<int> indices;
};

struct StateOnDisk {
    StateOnDisk() : disk("cell_list")
    {
        disk.open(testbank::writePackage(testbank::BankDescription{}));
        state = std::make_unique<HalvorenEngineV3::CellMakerState>(*disk.package,
                                                                   std::make_unique<Halvoren::NullSymbolMgr>());
    }
    testbank::PackageOnDisk<HalvorenEngineV3::SourceStore_pkg> disk;
    std::unique_ptr<HalvorenEngineV3::CellMakerState> state;
};

TEST(CellListCache, WithAListenerFramesGoThereAndTheListStaysEmpty)
{
    StateOnDisk s;
    CountingListener listener;
    s.state->setListener(&listener);
    CellListCache list;
    Halvoren::FrameMags mags;
    Halvoren::PeakList peaks;
    for (int index : {4, 5, 6}) {
        SynthFrameV4 frame;
        frame.mags = &mags;
        frame.peaks = &peaks;
        frame.index = index;
        s.state->emitFrame(frame, list);
    }
    list.finished = true;
    EXPECT_EQ(listener.indices, (std::vector<int>{4, 5, 6}));
    EXPECT_TRUE(list.frames().empty());
    EXPECT_EQ(list.lastIndex(), 0);
    EXPECT_TRUE(list.finished);
}

TEST(CellListCache, WithoutAListenerCopiesAreAppended)
{
    StateOnDisk s;
    CellListCache list;
    Halvoren::FrameMags mags;
    const float envelope[3] = {-10.0f, -20.0f, -30.0f};
    mags.putSamples(envelope, 3);
    mags.frameSize = 512;
    Halvoren::PeakList peaks;
    peaks.append(220.0f, -6.0f, 0.5f);
    Halvoren::StepTable table;
    const int indices[] = {7, 8, 12};
    for (int i = 0; i < 3; ++i) {
        SynthFrameV4 frame;
        frame.mags = &mags;
        frame.peaks = &peaks;
        frame.jitter = &table;
        frame.index = indices[i];
        frame.localIndex = i;
        frame.tension = 0.25f * i;
        s.state->emitFrame(frame, list);
        EXPECT_EQ(list.lastIndex(), indices[i]) << i;
        // The maker goes on changing its own envelope and peaks.
        mags.ptrBegin()[0] -= 1.0f;
        peaks.mags[0] -= 1.0f;
    }
    ASSERT_EQ(list.frames().size(), 3u);
    for (int i = 0; i < 3; ++i) {
        const HalvorenEngine::SynthFrame& entry = *list.frames()[i];
        EXPECT_EQ(entry.index, indices[i]) << i;
        EXPECT_EQ(entry.localIndex, i) << i;
        EXPECT_EQ(entry.tension, 0.25f * i) << i;
        EXPECT_EQ(entry.jitter, &table) << i;
        ASSERT_EQ(entry.mags.numSamples(), 3u) << i;
        EXPECT_EQ(entry.mags.ptrBegin()[0], -10.0f - i) << i;
        EXPECT_EQ(entry.mags.frameSize, 512) << i;
        ASSERT_EQ(entry.peaks.size(), 1u) << i;
        EXPECT_EQ(entry.peaks.mags[0], -6.0f - i) << i;
    }
    // A record over a copy points at the copy.
    SynthFrameV4 again = list.frames()[1]->record();
    EXPECT_EQ(again.mags, &list.frames()[1]->mags);
    EXPECT_EQ(again.index, 8);
}

TEST(CellListCache, ClearResetsCountersAndTheDestructorAfterItFreesNothingTwice)
{
    auto list = std::make_unique<CellListCache>();
    list->consumed = 3;
    list->finished = true;
    list->clear();
    EXPECT_EQ(list->lastIndex(), 0);
    EXPECT_EQ(list->consumed, 0);
    EXPECT_FALSE(list->finished);

    Halvoren::PeakList peaks;
    peaks.append(100.0f, -1.0f, 0.0f);
    SynthFrameV4 frame;
    frame.peaks = &peaks;  // no envelope: copied as empty
    frame.index = 9;
    list->append(frame);
    EXPECT_EQ(list->lastIndex(), 9);
    EXPECT_EQ(list->frames()[0]->mags.numSamples(), 0u);
    list->clear();
    EXPECT_TRUE(list->frames().empty());
    EXPECT_EQ(list->lastIndex(), 0);
    list.reset();
}

}  // namespace
