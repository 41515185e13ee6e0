#pragma once
// Finding the bank files in a folder the way a "*suffix" search does on the
// banks' home system: the first match only, names compared without regard to
// ASCII case. Entries are taken in sorted order so results never depend on
// the file system.
#include <string>

// The name (not the path) of the first file of folder whose name ends in
// suffix; empty when none does. folder ends in a separator or is empty (the
// current folder).
std::string findFirstFileEndingWith(const std::string& folder, const std::string& suffix);
