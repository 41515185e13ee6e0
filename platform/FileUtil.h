#pragma once
// Files by UTF-16 path, given to the C library as the bytes it was made
// from (CString::toPathBytes).
#include <cstdint>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/CString.h"

// Read modes ("r...") open only regular files (see openRegularFile); other
// modes open any path.
FILE* openFile(const CString& path, const char* mode);

// An open file that closes itself. A caller that must know whether the close
// succeeded (writers) closes explicitly: std::fclose(file.release()).
struct FileCloser {
    void operator()(FILE* f) const { std::fclose(f); }
};
using FilePtr = std::unique_ptr<FILE, FileCloser>;
// Bytes from the current position to the end of the file; nothing when the
// file cannot seek. The position is left where it was.
std::optional<uint64_t> bytesLeftInFile(FILE* file);

bool isFileExist(const CString& path);
// Whether anything (a file, a folder, a device, a link's target) is at the path.
bool pathExists(const CString& path);
bool isDirectory(const CString& path);
// Deletes the file; a failure is ignored.
void removeFile(const CString& path);
// Renames atomically within one file system.
bool renameFile(const CString& from, const CString& to);
// Flushes the file's buffers and then its bytes to the disk; false when
// either fails.
bool flushFileToDisk(FILE* file);
// The file a path finally names: symbolic links are followed (at most 40 of
// them, as the system does); a path that is no link is returned as it is.
CString resolveSymbolicLinks(const CString& path);
// Gives `to` the permission bits of `from`; false when `from` cannot be
// read or `to` cannot be changed.
bool copyPermissions(const CString& from, const CString& to);
bool makeDirectories(const CString& path);

// The text after the last "." of the path, or the whole path when it has none;
// letter case is unchanged.
CString getFileExt(const CString& path);

// The file name of a stored path, split on both "\" and "/" (paths written on
// Windows keep their backslashes in stored files).
std::string fileNameOfStoredPath(const std::string& path);
CString fileNameOfStoredPath(const CString& path);

// The folder part of a path including its last separator ("\" or "/"); empty
// when it has none.
CString folderOfPath(const CString& path);

// Whole file into memory; false (out empty) when it is not a regular file,
// cannot be opened or read, or holds more than maxBytes. Each caller states
// the largest file of its kind.
bool readWholeFile(const CString& path, std::string& out, uint64_t maxBytes);

// Names (not paths) of the entries of a folder, sorted by their bytes so that
// results never depend on the file system's order. "." and ".." are left out.
std::vector<std::string> listFolder(const CString& folder, bool wantFolders);
