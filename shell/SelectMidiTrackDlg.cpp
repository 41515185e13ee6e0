#include "shell/SelectMidiTrackDlg.h"

#include <algorithm>

void CSelectMidiTrackDlg::addTrack(const CString& name, int index, int noteCount)
{
    rows_.push_back({name, index, noteCount, false});
}

bool CSelectMidiTrackDlg::doModal()
{
    if (!answer_) {
        for (Row& row : rows_) row.checked = true;
        return true;
    }
    const std::optional<std::vector<int>> chosen = answer_(rows_);
    if (!chosen) return false;
    for (Row& row : rows_) row.checked = std::find(chosen->begin(), chosen->end(), row.index) != chosen->end();
    return true;
}

std::vector<int> CSelectMidiTrackDlg::getSelTracks() const
{
    std::vector<int> out;
    for (const Row& row : rows_)
        if (row.checked) out.push_back(row.index);
    return out;
}
