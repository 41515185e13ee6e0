#pragma once
// Model roots with a generation number, and the chain that upgrades an older
// root step by step to a newer generation.
#include <cstdint>

// The generation of the model the editor works on.
inline constexpr int32_t kCurrentModelVersion = 5;

class ObjWithVersion {
public:
    explicit ObjWithVersion(int32_t version = kCurrentModelVersion) : version(version) {}
    virtual ~ObjWithVersion() = default;

    // Makes this root the upgrade of an older root of any generation; false
    // when older is not older than this root.
    virtual bool upgrade(const ObjWithVersion& older) = 0;

    int32_t version;
};

// Base of every root that has a previous generation.
template <class Previous>
class UpgradableObj {
public:
    UpgradableObj() : previousVersion(Previous::kVersion) {}
    virtual ~UpgradableObj() = default;

    // Converts a root of the previous generation into this one.
    virtual bool upgradeFrom(const Previous& previous) = 0;

    int32_t previousVersion;

protected:
    // The chain for a root of generation ownVersion: a root of the previous
    // generation is converted directly; an older one is first upgraded into a
    // temporary root of the previous generation.
    bool upgradeThroughChain(int32_t ownVersion, const ObjWithVersion& older)
    {
        if (older.version >= ownVersion) return false;
        if (older.version == previousVersion) {
            const auto* previous = dynamic_cast<const Previous*>(&older);
            return previous && upgradeFrom(*previous);
        }
        Previous step;
        step.upgrade(older);
        return upgradeFrom(step);
    }
};
