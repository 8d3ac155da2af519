// SPDX-License-Identifier: GPL-2.0-or-later
#include "restore/FileTree.h"

#include <sys/stat.h>

namespace fs = std::filesystem;

namespace {

[[nodiscard]] char typeOf(mode_t mode)
{
    return S_ISREG(mode) ? 'f' : S_ISDIR(mode) ? 'd' : S_ISLNK(mode) ? 'l' : 'o';
}

[[nodiscard]] bool sameFile(FileFacts before, FileFacts after)
{
    // A directory's time and size change with every file made in it; its entries tell.
    if (before.type == 'd' && after.type == 'd') {
        before.modified = after.modified = 0;
        before.size = after.size = 0;
    }
    return before == after;
}

} // namespace

FileTree fileTree(const fs::path& top)
{
    FileTree tree;
    std::error_code error;
    fs::recursive_directory_iterator walk(top, fs::directory_options::skip_permission_denied,
                                          error);
    for (const fs::recursive_directory_iterator end; !error && walk != end; walk.increment(error)) {
        struct stat facts {};
        if (::lstat(walk->path().c_str(), &facts) != 0) {
            continue;
        }
        FileFacts entry;
        entry.type = typeOf(facts.st_mode);
        entry.size = static_cast<uint64_t>(facts.st_size);
        entry.modified = int64_t{facts.st_mtim.tv_sec} * 1000000000 + facts.st_mtim.tv_nsec;
        entry.mode = facts.st_mode & 07777;
        entry.owner = facts.st_uid;
        entry.group = facts.st_gid;
        if (entry.type == 'l') {
            entry.target = fs::read_symlink(walk->path(), error).string();
            error.clear();
        }
        tree[walk->path().lexically_relative(top).string()] = entry;
    }
    return tree;
}

std::vector<FileChange> fileChanges(const FileTree& before, const FileTree& after)
{
    std::vector<FileChange> changes;
    auto old = before.begin();
    auto now = after.begin();
    while (old != before.end() || now != after.end()) {
        if (now == after.end() || (old != before.end() && old->first < now->first)) {
            changes.push_back({FileChangeKind::Removed, old++->first});
        } else if (old == before.end() || now->first < old->first) {
            changes.push_back({FileChangeKind::Added, now++->first});
        } else {
            if (!sameFile(old->second, now->second)) {
                changes.push_back({FileChangeKind::Changed, now->first});
            }
            ++old;
            ++now;
        }
    }
    return changes;
}
