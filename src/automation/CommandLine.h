#pragma once

// Seam: runs one fixed shell command line (the systemctl lines) through the C library's
// system(). The tool links the real one; unit tests link a fake that records the lines.

// True exactly when system() returned 0.
[[nodiscard]] bool runCommandLine(const char* commandLine);
