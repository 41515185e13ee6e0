#pragma once
// Common base of the analysis equipment; it carries nothing of its own.
namespace Halvoren {

class LogUtil {
public:
    virtual ~LogUtil() = default;
};

}  // namespace Halvoren
