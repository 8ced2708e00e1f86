// The folder walk: every file of a folder and of all its subfolders, depth-first in the
// order the file system lists the entries, each reported to a progress callback as the
// walk goes. Symbolic links are never followed.
#pragma once
#include <cstdint>
#include <functional>
#include <string>

// Progress codes handed to the callback.
inline constexpr int WalkFileCounted = 0;  // the file matches the mask and has been counted
inline constexpr int WalkInFolder = 1;     // a folder is walked: when its walk starts, and
                                           // again after each of its subfolders
inline constexpr int WalkFileFound = 2;    // a file has been found

// name: the folder's path (without a trailing "/") or the file's full path, spelt as the
// walk was given it plus the names the file system holds; size: the file's size in bytes
// as the walk read it (0 with code WalkInFolder). Setting stop ends the walk before it takes
// its next entry.
using FWalkCallback =
    std::function<void(const std::string& name, int code, int64_t size, bool& stop)>;

// The number of files in the folder path and all its subfolders that match mask. One "/"
// at the end of path is dropped ("/" alone stays the root); an empty path yields 0 and
// reports nothing. A file is a regular file: symbolic links, devices, pipes and sockets
// are passed over. A file counts when mask (ASCII letters compared without case) holds
// "*.*", or holds the file's extension (from the last "." of its name on, the dot
// included; a name without "." never counts this way). The folder path itself is opened
// as the kernel resolves it; a link met inside the walk is not followed, not even to a
// folder. A folder that does not exist or cannot be read contributes nothing, and the walk
// goes on; so does a folder that is one of its own ancestors (a bind mount onto itself),
// and one on a file system that stores no files (proc, sysfs, devtmpfs, devpts, cgroup,
// cgroup2, debugfs, tracefs, securityfs, pstore, bpf, configfs, fusectl, mqueue,
// hugetlbfs, binfmt_misc, autofs), which is neither entered nor counted, the walk's own
// folder included.
// However deep the tree, the walk keeps a bounded number of folders open and uses no
// recursion.
int64_t WalkFolder(const std::string& path, const std::string& mask,
                   const FWalkCallback& callback);

// The size in bytes of the named file (relative names against the current folder), or -1
// when there is no such entry. A link is measured itself, not its target; an entry that
// is not a regular file or a link (a folder, a device) measures 0.
int64_t FileSizeOf(const std::string& name);
