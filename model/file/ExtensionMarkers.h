#pragma once
// The markers at the start of a project body, one per group of optional
// fields; a body holds those of the groups it carries, in this order.
namespace HVCurrentModel {

inline constexpr const char* kExtensionMarkers[7] = {"ext1", "ext2", "ext3", "ext4", "ext5", "ext6", "ext7"};

}  // namespace HVCurrentModel
