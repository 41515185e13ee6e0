#include "support/bank/NameScramble.h"

namespace testbank {

std::string scrambleName(const std::string& plain) {
    std::string stored = plain;
    for (size_t i = 0; i < stored.size(); ++i)
        stored[i] = static_cast<char>(static_cast<unsigned char>(stored[i]) + 100 + i % 5);
    return stored;
}

}  // namespace testbank
