#pragma once
// The symbol manager a fourth-generation job gives its cell makers: the
// built-in Mandarin table when the bank's language text is "CHN", else the
// text itself read as the bank's table (a text that is no table leaves the
// manager empty, and the job sings nothing but still finishes).
#include <memory>
#include <string>

#include "lyrics/CVVC_symbolMgr.h"

namespace HalvorenEngineV4 {

inline std::unique_ptr<Halvoren::CVVC_symbolMgr> symbolMgrFor(const std::string& language)
{
    auto symbols = std::make_unique<Halvoren::CVVC_symbolMgr>();
    if (language == "CHN")
        symbols->loadBuiltinTable();
    else
        symbols->parseTable(language);
    return symbols;
}

}  // namespace HalvorenEngineV4
