#pragma once
// A gain in dB that depends on one value (a frequency, a position), behind
// one interface so that a synthesis step can ask for it without knowing the
// shape.

namespace Halvoren {

class DBFilter {
public:
    DBFilter() = default;
    virtual ~DBFilter() = default;
    virtual float gain(float x) const = 0;
};

}  // namespace Halvoren
