#pragma once
// The voice-bank versions this editor can sing, compared as exact strings.
#include <string>

// "1", "2", "3.1" .. "3.5", "4.0" .. "4.03", "6.0", "6.1".
bool isAcceptedBankVersion(const std::string& version);
// "3", "5.0", "5.1": banks of a format that newer banks replace.
bool isDeprecatedBankVersion(const std::string& version);
