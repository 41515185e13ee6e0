#pragma once
// The spellings the engines sing "nue" and "lue" with: "nve" and "lve".
#include <string>

// Rewrites exactly "nue" and "lue"; every other symbol comes back unchanged.
inline std::string withVForUe(std::string symbol)
{
    if (symbol == "nue")
        return "nve";
    if (symbol == "lue")
        return "lve";
    return symbol;
}
