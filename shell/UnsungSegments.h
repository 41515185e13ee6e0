#pragma once
// The segments a singer's bank cannot sing, said once under one heading:
// "Segments their singer's bank cannot sing:". Faults are grouped by the
// bank file they name: the file's first fault stands on a line of its own,
// and each segment it stops follows on a short line indented by two spaces
// (its place, and what it met when that is another fault of the same
// file). So fifty segments on one damaged file name the file once. A
// segment stopped without a fault (its job laid out nothing) is listed on a
// line of its own.
#include <string>
#include <vector>

class UnsungSegments {
public:
    // place: where the segment is; fault: "<file>: <what is wrong>" or "";
    // bankFolder: the folder of the segment's bank ("" when unknown). Only
    // a fault about a file of that folder is grouped with the folder's other
    // faults of the file; any other fault is a group of its own.
    void add(const std::string& place, const std::string& fault, const std::string& bankFolder);
    bool empty() const { return groups_.empty(); }
    // The heading and the lines, or "" when empty.
    std::string text() const;
    // Shows text() in one warning box; nothing when empty.
    void show() const;

private:
    struct Group {
        std::string file;   // "" for a segment stopped without a fault
        std::string fault;  // the group's first fault, whole
        std::vector<std::string> lines;
    };
    std::vector<Group> groups_;
};

// The folder of the named singer's bank, ending in a separator; "" for a
// singer not installed.
std::string bankFolderOf(const std::string& singer);
