#pragma once
// The settings: one object read from "config/app.cfg" under the program folder
// on first use. A key missing from the file, or of the wrong type, keeps its
// default. Values the editor could not have set are brought into its ranges.
#include <string>
#include <utility>
#include <vector>

#include "platform/CString.h"
#include "shell/services/JsonInfo.h"

// The vibrato preset applied to new notes, as curve nodes (position, value) of
// the depth and rate curves; the model copies them into a note's vibrato.
struct VibratoPreset {
    std::vector<std::pair<int, int>> vibAmp{{-1, 0}, {100001, 0}};
    std::vector<std::pair<int, int>> vibFreq{{-1, 0}, {100001, 0}};
};

class CAppConfigModel : public JsonInfo {
public:
    bool isAutoVib = false;
    int vibPercent = 0;
    int autoVibBeats = 1;
    VibratoPreset vibPreins;
    int expBendDep = 0;
    int expBendLen = 0;
    int expHeadChg = 20;
    int expTailChg = 25;
    std::string defaultSymbol = "la";
    std::string singerName;  // the default singer; empty picks the first installed one
    std::string language;    // file name of the UI language table in "language/"; empty for English

    void toJson(Json::Value& out) const override;
    // Reads the keys, then keeps the values in the editor's ranges: the
    // vibrato share and the four expression values 0..100, autoVibBeats at
    // least 1, and `language` a plain file name (anything else is cleared).
    bool fromJson(const Json::Value& in) override;

private:
    void keepEditableRanges();
};

// Builds the settings with their defaults and reads the file (first call).
CAppConfigModel& getAppConfig();
// Reads "config/app.cfg" into the settings object again.
void initAppConfig();
// The settings file's path.
CString getAppConfigPath();
// Writes the settings to their file; false when it cannot be written.
bool saveAppConfig();
