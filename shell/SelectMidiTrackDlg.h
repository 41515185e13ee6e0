#pragma once
// The MIDI track choice. Headless: the rows it offers are kept, and its
// modal run hands them to the answer in force (the user's stand-in): no
// answer confirms every row; an answer gives the MIDI track numbers to
// check, or nothing for Cancel.
#include <functional>
#include <optional>
#include <vector>

#include "model/import/ISelectMidiTrackDlg.h"
#include "platform/CString.h"

class CSelectMidiTrackDlg : public ISelectMidiTrackDlg {
public:
    struct Row {
        CString name;
        int index = 0;
        int noteCount = 0;
        bool checked = false;
    };
    using Answer = std::function<std::optional<std::vector<int>>(const std::vector<Row>&)>;

    explicit CSelectMidiTrackDlg(Answer answer = {}) : answer_(std::move(answer)) {}

    void addTrack(const CString& name, int index, int noteCount) override;
    bool doModal() override;
    std::vector<int> getSelTracks() const override;
    const std::vector<Row>& rows() const { return rows_; }

private:
    Answer answer_;
    std::vector<Row> rows_;
};
