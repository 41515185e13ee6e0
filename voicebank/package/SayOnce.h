#pragma once
// What the package readers say of a damaged bank file is said once a run:
// every store built over the bank meets the same fault, and one line names
// the file however many stores read it.
#include <ostream>
#include <string>

namespace Halvoren {

// Writes line and a line end to log the first time the file at path is
// given in this run (this process); later calls for the same file write
// nothing, so the first fault met in a file is the one said. A file is
// known by its path and by what it is on disk (its device, node, size and
// time of change, or that it is missing): a file replaced or rewritten is a
// new file, and its faults are said again. Up to 4096 files are
// remembered; past them the memory starts afresh. Safe from any thread.
void sayOnce(std::ostream& log, const std::string& path, const std::string& line);

}  // namespace Halvoren
