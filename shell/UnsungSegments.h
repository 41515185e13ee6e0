#pragma once
// The segments a singer's bank cannot sing, said once under one heading:
// "Segments their singer's bank cannot sing:". Faults are grouped by the
// bank file they name, so that many segments on one damaged file name it
// once: the file on a line of its own ("<file>:"), each distinct thing
// wrong with it once on a line under it (indented by two spaces), and each
// segment it stops on a short line under that (its place, indented by
// four). A fault that names no file of the segment's bank folder stands
// whole on its line, its segments indented by two. A segment stopped
// without a fault (its job laid out nothing) is listed on a line of its own.
#include <string>
#include <vector>

class UnsungSegments {
public:
    // place: where the segment is; fault: "<file>: <what is wrong>" or "";
    // bankFolder: the folder of the segment's bank ("" when unknown).
    void add(const std::string& place, const std::string& fault, const std::string& bankFolder);
    bool empty() const { return groups_.empty(); }
    // The heading and the lines, or "" when empty.
    std::string text() const;
    // Shows text() in one warning box; nothing when empty.
    void show() const;

private:
    struct Fault {
        std::string what;  // "" for a fault that stands whole on its group's line
        std::vector<std::string> places;
    };
    struct Group {
        std::string heading;  // "<file>:", a whole fault, or "" for segments without a fault
        std::vector<Fault> faults;
    };
    std::vector<Group> groups_;
};

// The folder of the named singer's bank, ending in a separator; "" for a
// singer not installed.
std::string bankFolderOf(const std::string& singer);
