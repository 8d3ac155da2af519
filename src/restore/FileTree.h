// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

// What a directory tree holds, as far as it tells whether a file changed: enough to compare
// /etc in a restore point with the live one without reading any file's content.
struct FileFacts {
    char type = '?'; // f file, d directory, l symlink, o other
    uint64_t size = 0;
    int64_t modified = 0; // nanoseconds
    uint32_t mode = 0;
    uint32_t owner = 0;
    uint32_t group = 0;
    std::string target; // of a symlink

    [[nodiscard]] bool operator==(const FileFacts&) const = default;
};

// By path relative to the top.
using FileTree = std::map<std::string, FileFacts>;

// Walks `top` without following any symlink, so a tree on another file system (a mounted
// restore point) never leads out of itself. Unreadable parts are left out.
[[nodiscard]] FileTree fileTree(const std::filesystem::path& top);

enum class FileChangeKind { Added, Removed, Changed };

struct FileChange {
    FileChangeKind kind;
    std::string path;
};

// The files added, removed or changed from `before` to `after`, in path order. A directory
// counts as changed only when its own facts other than its time changed.
[[nodiscard]] std::vector<FileChange> fileChanges(const FileTree& before, const FileTree& after);
