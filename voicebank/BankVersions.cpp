#include "voicebank/BankVersions.h"

#include <algorithm>
#include <array>

namespace {
constexpr std::array<const char*, 13> kAccepted = {"1",    "2",    "3.1",  "3.2",  "3.3", "3.4", "3.5",
                                                   "4.0",  "4.01", "4.02", "4.03", "6.0", "6.1"};
constexpr std::array<const char*, 3> kDeprecated = {"3", "5.0", "5.1"};

template <size_t N>
bool contains(const std::array<const char*, N>& list, const std::string& version) {
    return std::any_of(list.begin(), list.end(), [&](const char* v) { return version == v; });
}
}  // namespace

bool isAcceptedBankVersion(const std::string& version) { return contains(kAccepted, version); }
bool isDeprecatedBankVersion(const std::string& version) { return contains(kDeprecated, version); }
