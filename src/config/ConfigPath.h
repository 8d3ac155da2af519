// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

// Seam: where the configuration lives. The tool links the fixed path
// /etc/norva-snapshots-manager.conf; unit tests link a path in a temporary directory.
[[nodiscard]] const char* configFilePath();
