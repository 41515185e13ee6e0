#pragma once
// Four values side by side in one register, through the vector extension
// gcc and clang share. Every operation works lane by lane exactly as the
// scalar expression does, so a loop written with these gives the bits of
// its scalar form. They serve the loops the compiler will not run several
// values at once by itself: selects on floating-point comparisons (which it
// keeps as branches) and table reads.
#include <cstdint>
#include <cstring>

namespace Halvoren {

typedef float Float4 __attribute__((vector_size(16)));
typedef std::int32_t Int4 __attribute__((vector_size(16)));
typedef double Double2 __attribute__((vector_size(16)));

inline Float4 loadFloat4(const float* p)
{
    Float4 v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

inline void storeFloat4(float* p, Float4 v) { std::memcpy(p, &v, sizeof v); }

// table[index[0]], ..., table[index[3]].
inline Float4 gatherFloat4(const float* table, Int4 index)
{
    return Float4{table[index[0]], table[index[1]], table[index[2]], table[index[3]]};
}

}  // namespace Halvoren
