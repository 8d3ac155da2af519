// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <optional>
#include <string>

// A restore point mounted to be read and never written: read-only, its journal not replayed
// (ext4 noload; xfs norecovery, and nouuid since the mounted root has the same uuid), in a
// mount namespace of this process alone, so no other process sees it and it cannot outlive
// this process. Unmounted, and its directory removed, when the object ends.
class SnapshotMount {
public:
    // Mounts `device`; empty, with `why` in words, when it cannot be.
    [[nodiscard]] static std::optional<SnapshotMount> open(const std::string& device,
                                                           std::string& why);

    SnapshotMount(SnapshotMount&& other) noexcept;
    SnapshotMount& operator=(SnapshotMount&&) = delete;
    SnapshotMount(const SnapshotMount&) = delete;
    SnapshotMount& operator=(const SnapshotMount&) = delete;
    ~SnapshotMount();

    // The directory it is mounted on.
    [[nodiscard]] const std::string& path() const { return path_; }
    // The file system's type: "ext4" or "xfs".
    [[nodiscard]] const std::string& type() const { return type_; }

    // A file of the restore point, by its path in it ("var/lib/dpkg/status"). Symlinks resolve
    // inside the restore point, never into the live system. Empty when it cannot be read.
    [[nodiscard]] std::optional<std::string> readFile(const std::string& relative) const;
    // Whether the restore point has that directory (symlinks resolved inside it).
    [[nodiscard]] bool hasDirectory(const std::string& relative) const;

private:
    SnapshotMount(std::string path, std::string type, int rootFd);
    [[nodiscard]] int openInside(const std::string& relative, int flags) const;

    std::string path_;
    std::string type_;
    int rootFd_ = -1;
};
