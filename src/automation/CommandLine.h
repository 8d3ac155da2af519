// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

// Seam: runs one fixed shell command line (the systemctl lines) through the C library's
// system(). The tool links the real one; unit tests link a fake that records the lines.

// The command's exit status: 0 is success; -1 when the shell could not run it or it did not
// exit normally.
[[nodiscard]] int runCommandLine(const char* commandLine);
