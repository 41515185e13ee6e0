#pragma once
// Unit and pitch names are stored scrambled in the older package indexes:
// the byte at position i is stored as plain + 100 + i % 5, modulo 256.
#include <string>

namespace bankwriter {

inline std::string scrambleName(std::string name) {
    for (size_t i = 0; i < name.size(); ++i)
        name[i] = static_cast<char>(static_cast<unsigned char>(name[i]) + 100 + i % 5);
    return name;
}

}  // namespace bankwriter
