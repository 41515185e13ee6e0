#pragma once
// A table of values by row (a frequency step) and column, read with a window
// of columns that moves on frame by frame.
#include <vector>

namespace Halvoren {

struct StepTable {
    float step = 0.0f;
    int stride = 0;  // number of columns
    int rows = 0;
    std::vector<float> values;  // rows * stride
    int columnCounter = -1;
    int columnLimit = 0;
    int columnStart = 0;

    // A positive finite step, positive dimensions and enough values.
    bool isValid() const;
    // Row round(x / step) - 1 (clamped) of the column; 0 for an invalid table
    // or a column outside it.
    float valueAt(int column, float x) const;
    // Back to no window, as loaded: the next read picks a new one.
    void resetWindow();
};

// Starts the column window at a random third of the columns.
void pickRandomThird(StepTable& table);

}  // namespace Halvoren
