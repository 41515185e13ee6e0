#include "dsp/HPR_model.h"

namespace Halvoren {

void HPR_model::assign(const HPR_model& src)
{
    if (&src == this)
        return;
    residual.clear();
    residual.putSamples(src.residual);
    peaks.clear();
    peaks.appendFrames(src.peaks, 0, static_cast<long long>(src.peaks.size()) - 1);
    hop = src.hop;
}

}  // namespace Halvoren
