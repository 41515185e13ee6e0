#include "lyrics/BuiltinCvvcTable.h"

#include "lyrics/ChnSymbolMgr.h"
#include "lyrics/PinyinTables.h"
#include "lyrics/SymbolTableUtil.h"

namespace Halvoren {

namespace {

// Syllables recorded whole: their consonant and vowel units are themselves.
bool isWholeSyllable(const std::string& syllable) {
    return isOneOf(syllable, {"a", "ai", "an", "ang", "ao", "e", "ei", "en", "er", "ng", "o",
                              "ou", "nn"});
}

// Consonant units carry the rounding or palatal glide that follows them:
// "hw" before "u", "ly" before "i" or "v", "yw" for "y" before "u".
std::string consonantUnit(const std::string& initial, const std::string& final) {
    const char next = final.empty() ? '\0' : final.front();
    if (initial == "y") return next == 'u' ? "yw" : "y";
    if (isOneOf(initial, {"j", "q", "x", "h", "sh", "s"})) {
        return next == 'u' ? initial + "w" : initial;
    }
    if (isOneOf(initial, {"l", "m", "n"})) {
        return next == 'i' || next == 'v' ? initial + "y" : initial;
    }
    return initial;
}

// The pinyin rhyme, except that these banks record "un" as "en" after a
// plain initial and the "ue" of "jue"/"lve" as "ie".
std::string vowelUnit(const std::string& initial, const std::string& final) {
    if (final == "un" && !isOneOf(initial, {"j", "q", "x", "y"})) return "en";
    if (final == "ue" || final == "ve") return "ie";
    return ChnSymbolMgr::rhymeOf(final, initial);
}

std::string syllableRow(const std::string& syllable) {
    if (isWholeSyllable(syllable)) return syllable + "," + syllable + "," + syllable;
    const std::string initial = ChnSymbolMgr::initialOf(syllable);
    const std::string final = syllable.substr(initial.size());
    return syllable + "," + consonantUnit(initial, final) + "," + vowelUnit(initial, final);
}

std::string buildTable() {
    std::string rows;
    auto addRow = [&rows](const std::string& syllable) {
        if (!rows.empty()) rows += ';';
        rows += syllableRow(syllable);
    };
    for (const std::string& syllable : builtinSyllables()) addRow(syllable);
    for (const char* extra : {"tei", "sei", "nn"}) addRow(extra);

    return rows +
           "|m,my,n,ny,l,ly,r,y,w,yw"
           "|a,a;ai,ai;an,an;ang,ang;ao,ao;o,o;ou,ou;ong,kong;e,e;ei,ei;en,en;eng,keng;"
           "ie,ye;ian,yan;i,yi;in,yin;ing,ying;u,wu;v,yu;vn,yun;rr,zi;r,ri;er,er;ng,ng;nn,nn"
           "|br1,br2,br3,br4,br5";
}

} // namespace

const std::string& BuiltinCvvcTable() {
    static const std::string table = buildTable();
    return table;
}

} // namespace Halvoren
