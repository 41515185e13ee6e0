#pragma once
// The phonetic-symbol table of the consonant-vowel banks recorded in
// Mandarin, as table text (the format CVVC_symbolMgr parses): syllable rows,
// voiced consonants, vowel carriers and breath symbols.
#include <string>

namespace Halvoren {

// Built on first use from the pinyin syllable list, then shared read-only.
const std::string& BuiltinCvvcTable();

} // namespace Halvoren
