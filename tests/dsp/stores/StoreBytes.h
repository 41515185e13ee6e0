#pragma once
// A byte buffer filled from hex text, and a stream over it.
#include <string>

#include "dsp/CMemoryBuffer.h"
#include "support/bank/HexBytes.h"

namespace storetest {

inline void fillHex(Halvoren::CMemoryBuffer& buffer, const std::string& hex)
{
    const std::string bytes = testbank::hexBytes(hex);
    buffer.bytes().clear();
    buffer.bytes().putSamples(bytes.data(), static_cast<unsigned>(bytes.size()));
}

}  // namespace storetest
