#pragma once
// Overlap-add window of the output writer for frames of `length` samples laid
// `hop` samples apart: a Blackman-Harris window scaled to sum 1 whose 2*hop
// central entries are divided into a triangle of 2*hop points. Frames that
// were shaped by that Blackman-Harris window come out shaped by the triangle,
// and the triangles of neighbouring frames add up to 1.
// Needs 0 < 2 * hop <= length; otherwise the result is empty.
#include <vector>

namespace HalvorenEngine {

std::vector<float> makeSynthesisWindow(int length, int hop);

}  // namespace HalvorenEngine
