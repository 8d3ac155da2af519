// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <string>
#include <string_view>

// Replaces the file at `path` with `content` so that a reader sees either the old file or the
// new one, never a part: a temporary file in the same directory is written, flushed to disk
// and renamed over the old one. A symlink at `path` is followed, so the link stays and its
// target is replaced; anything but a regular file (a device, a directory) is never replaced.
// A replaced file keeps its mode and owner; a new one gets 0666 less the umask. Writers may run
// at once, each with a temporary file of its own: the last rename wins. False when any step
// failed; the old file is then exactly as it was.
[[nodiscard]] bool replaceFileAtomically(const std::string& path, std::string_view content);

// Where the symlinks at `path` lead, however many in a row; `path` itself when it is none.
// Empty when the chain is too long or unreadable.
[[nodiscard]] std::string followSymlinks(const std::string& path);
