#pragma once
// Unit and pitch names are stored scrambled in the older package indexes:
// the byte at position i is stored as plain + 100 + i % 5, modulo 256.
#include <string>

namespace testbank {

std::string scrambleName(const std::string& plain);

}  // namespace testbank
