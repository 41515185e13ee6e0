#pragma once
// Bytes typed as hex pairs separated by spaces ("00 80 3F 00"), for fixtures
// written out byte by byte.
#include <cstdlib>
#include <sstream>
#include <string>

namespace testbank {

inline std::string hexBytes(const std::string& text)
{
    std::istringstream in(text);
    std::string out;
    std::string pair;
    while (in >> pair)
        out.push_back(static_cast<char>(std::strtoul(pair.c_str(), nullptr, 16)));
    return out;
}

}  // namespace testbank
