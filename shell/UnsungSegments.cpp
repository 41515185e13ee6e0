#include "shell/UnsungSegments.h"

#include "platform/MessageBox.h"
#include "voicebank/Singer.h"
#include "voicebank/SingerMgr.h"

namespace {

constexpr char kHeading[] = "Segments their singer's bank cannot sing:";

}  // namespace

void UnsungSegments::add(const std::string& place, const std::string& fault, const std::string& bankFolder) {
    // A fault about a file of the bank folder splits at the ": " after the
    // folder; any other is kept whole (a path outside the folder may hold
    // ": " anywhere).
    std::string heading = fault;
    std::string what;
    if (!bankFolder.empty() && fault.compare(0, bankFolder.size(), bankFolder) == 0)
        if (const std::size_t end = fault.find(": ", bankFolder.size()); end != std::string::npos) {
            heading = fault.substr(0, end + 1);
            what = fault.substr(end + 2);
        }
    // Segments without a fault each stand alone.
    Group* group = nullptr;
    for (Group& g : groups_)
        if (!heading.empty() && g.heading == heading) group = &g;
    if (group == nullptr) group = &groups_.emplace_back(Group{heading, {}});
    for (Fault& f : group->faults)
        if (f.what == what) {
            f.places.push_back(place);
            return;
        }
    group->faults.push_back({what, {place}});
}

std::string UnsungSegments::text() const {
    if (groups_.empty()) return std::string();
    std::string text = kHeading;
    for (const Group& group : groups_) {
        std::string indent;
        if (!group.heading.empty()) {
            text += "\n" + group.heading;
            indent = "  ";
        }
        for (const Fault& fault : group.faults) {
            if (!fault.what.empty()) text += "\n" + indent + fault.what;
            const std::string placeIndent = fault.what.empty() ? indent : indent + "  ";
            for (const std::string& place : fault.places) text += "\n" + placeIndent + place;
        }
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
