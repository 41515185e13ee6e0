#pragma once
// Bytes of the sixth-generation voice packages: the index ("HVI") of formats
// 6.0 (names scrambled), 6.1 (plain) and 6.2 on (one more int32 after the
// version pair), and the content parts holding the framed records. Written
// from the file layouts alone, never from the readers under test.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "tools/bankwriter/BankWriter.h"
#include "tools/bankwriter/CompactModelWriter.h"

namespace bankwriter {

struct BankDescriptionV6 {
    std::int32_t formatMajor = 6;
    std::int32_t formatMinor = 1;
    std::int32_t formatExtra = 0;  // written from format 6.2 on
    BankHeader header;
    std::array<std::string, 3> strings = {"", "", "ma,m,a;la,l,a;a,a,a|m,l||a,a|br1"};
    std::string groupList = "C4/C4/C4";
    std::array<std::int32_t, 3> times = {1000, 850, 1250};
    std::array<float, 3> tailFloats = {0.5f, 1.0f, 0.0f};
    std::int32_t tailInt1 = 60;
    std::vector<float> tailFloatList = {500.0f, 1000.0f, 2000.0f, 4000.0f, 8000.0f, 12000.0f, 16000.0f, 22050.0f};
    std::int32_t tailInt2 = 400;
    std::vector<Variant> variants;
    std::vector<std::string> otherRecords;  // index record bodies of other kinds, framed after the variants
};

// Names are scrambled up to format 6.0, plain from 6.1 on.
inline bool scramblesNames(const BankDescriptionV6& bank)
{
    return bank.formatMajor < 6 || (bank.formatMajor == 6 && bank.formatMinor <= 0);
}

// The eight int32 voice values, then the model.
inline std::string v6VoiceRecord(const std::array<std::int32_t, 8>& values, const std::string& model)
{
    ByteBuilder b;
    for (std::int32_t v : values)
        b.i32(v);
    return b.raw(model).bytes;
}

// The seven int32 continuant values, then the model.
inline std::string v6ContinuantRecord(const std::array<std::int32_t, 7>& values, const std::string& model)
{
    ByteBuilder b;
    for (std::int32_t v : values)
        b.i32(v);
    return b.raw(model).bytes;
}

// Everything before the index records.
inline std::string v6IndexHead(const BankDescriptionV6& bank)
{
    ByteBuilder index;
    index.i32(bank.formatMajor).i32(bank.formatMinor);
    if (bank.formatMajor > 6 || (bank.formatMajor == 6 && bank.formatMinor >= 2))
        index.i32(bank.formatExtra);
    const BankHeader& h = bank.header;
    index.i32(h.hopSize).f32(h.sampleRate).f32(h.param3).f32(h.param4).f32(h.param5).f32(h.maxHarmonicFreq);
    index.i32(h.phaseSetting).i32(h.param8).f32(h.powerAmount).f32(h.powerCentre).f32(h.powerWidth);
    for (const std::string& s : bank.strings)
        index.str(s);
    index.str(bank.groupList);
    for (std::int32_t t : bank.times)
        index.i32(t);
    for (float f : bank.tailFloats)
        index.f32(f);
    index.i32(bank.tailInt1).floatArray(bank.tailFloatList).i32(bank.tailInt2);
    return index.bytes;
}

// One kind-0 index record body.
inline std::string v6VariantRecord(const BankDescriptionV6& bank, const std::string& unit, const std::string& pitch,
                                   std::int32_t offset, std::int32_t part)
{
    const bool scrambled = scramblesNames(bank);
    ByteBuilder record;
    record.i32(0).str(scrambled ? scrambleName(unit) : unit).str(scrambled ? scrambleName(pitch) : pitch);
    return record.i32(offset).i32(part).bytes;
}

inline PackageFiles writePackageV6(const BankDescriptionV6& bank)
{
    PackageFiles files;
    files.parts[0];  // "HVC" exists even when every record lies in another part
    ByteBuilder index;
    index.raw(v6IndexHead(bank));
    for (const Variant& v : bank.variants) {
        std::string& part = files.parts[v.part];
        const auto offset = static_cast<std::int32_t>(part.size());
        part += ByteBuilder().str(v.record).bytes;
        index.str(v6VariantRecord(bank, v.unit, v.pitch, offset, v.part));
    }
    for (const std::string& body : bank.otherRecords)
        index.str(body);
    files.index = index.bytes;
    return files;
}

}  // namespace bankwriter
