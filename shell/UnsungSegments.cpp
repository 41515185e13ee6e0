#include "shell/UnsungSegments.h"

#include <algorithm>

#include "platform/MessageBox.h"
#include "voicebank/Singer.h"
#include "voicebank/SingerMgr.h"

namespace {

constexpr char kHeading[] = "Segments their singer's bank cannot sing:";

// The file a fault names: the bank folder's file up to ": ", or the whole
// fault when it is not about a file of the folder (a path outside it may
// hold ": " anywhere).
std::string faultFile(const std::string& fault, const std::string& bankFolder) {
    if (bankFolder.empty() || fault.compare(0, bankFolder.size(), bankFolder) != 0) return fault;
    const std::size_t end = fault.find(": ", bankFolder.size());
    return end == std::string::npos ? fault : fault.substr(0, end);
}

}  // namespace

void UnsungSegments::add(const std::string& place, const std::string& fault, const std::string& bankFolder) {
    if (fault.empty()) {
        groups_.push_back({"", "", {place}});
        return;
    }
    const std::string file = faultFile(fault, bankFolder);
    for (Group& group : groups_)
        if (!group.file.empty() && group.file == file) {
            // Another fault of the same file: said on the segment's line,
            // without the file's path again.
            const std::size_t at = std::min(file.size() + 2, fault.size());
            const std::string what = fault == group.fault ? "" : ": " + fault.substr(at);
            group.lines.push_back("  " + place + what);
            return;
        }
    groups_.push_back({file, fault, {"  " + place}});
}

std::string UnsungSegments::text() const {
    if (groups_.empty()) return std::string();
    std::string text = kHeading;
    for (const Group& group : groups_) {
        if (!group.fault.empty()) text += "\n" + group.fault;
        for (const std::string& line : group.lines) text += "\n" + line;
    }
    return text;
}

void UnsungSegments::show() const {
    // The lines may name paths: their bytes are kept.
    if (!groups_.empty())
        showMessageBox(CString::fromPathBytes(text()), CString(u"-_-!"), MbButtons::ok, MbIcon::warning);
}

std::string bankFolderOf(const std::string& singer) {
    const auto* found = dynamic_cast<const Singer*>(getSingerList()->findSinger(singer));
    return found != nullptr ? found->getPath() : std::string();
}
