#pragma once
// The symbol manager of a third-generation bank: the Mandarin one when its
// language text is "CHN", else one that knows no symbol.
#include <memory>
#include <string>

#include "lyrics/ChnSymbolMgr.h"
#include "lyrics/NullSymbolMgr.h"

namespace HalvorenEngineV3 {

inline std::unique_ptr<Halvoren::ISymbolMgr> symbolMgrFor(const std::string& language)
{
    if (language == "CHN")
        return std::make_unique<Halvoren::ChnSymbolMgr>();
    return std::make_unique<Halvoren::NullSymbolMgr>();
}

}  // namespace HalvorenEngineV3
