// SPDX-License-Identifier: GPL-2.0-or-later
// libFuzzer target: any bytes as the configuration file's text.
#include "HeldNumbers.h"
#include "config/ConfigFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const ScriptConfig read = parseConfig(text);
    requireHeld(text, read.script, read.lifetime, read.quantity, read.snapshotSize);
    return 0;
}
