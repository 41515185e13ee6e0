#include "engine/BankFault.h"

#include "voicebank/package/SayOnce.h"

namespace HalvorenEngine {

std::string refuseBank(std::ostream& log, const std::string& basePath, const std::string& indexFault,
                       const std::string& refusal)
{
    // An index that could not be read whole has already said so.
    if (!refusal.empty() && indexFault.empty())
        Halvoren::sayOnce(log, basePath + "HVI", "fail to read package index file " + basePath + "HVI: " + refusal);
    const std::string& wrong = indexFault.empty() ? refusal : indexFault;
    return wrong.empty() ? std::string() : basePath + "HVI: " + wrong;
}

}  // namespace HalvorenEngine
