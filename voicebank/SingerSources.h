#pragma once
// Where the two passes of the singer list find descriptions: the singer keys
// of the registry, each naming a description file, and the bank folders
// inside the program's "singers" folder.
#include <string>
#include <vector>

#include "platform/Registry.h"

// The keys below "SOFTWARE\HalvorenLib\Singers\", listed once when made (the
// key opened for reading). The registry must outlive the object.
class SingerKeys {
public:
    explicit SingerKeys(const Registry& registry);

    // The number of singer keys; 0 when the registry has no such key.
    int countSingerKeys() const;
    // The name of key i; "" when i is not below the count.
    std::string getSingerKeyName(int i) const;
    // The value "path" of the named singer key, the full path of its
    // description file; "" when the key or the value cannot be read.
    std::string readSingerKeyPath(const std::string& keyName) const;

private:
    const Registry& registry_;
    std::vector<std::string> names_;
};

// The full paths (folder + name) of the folders directly inside folder, which
// ends in a separator, sorted by their names' bytes so that the order never
// depends on the file system; empty when folder cannot be listed.
std::vector<std::string> listSubfolders(const std::string& folder);
