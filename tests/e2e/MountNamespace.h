#pragma once

#include <string>

// True when this process runs in a mount namespace of its own: one that differs from PID 1's,
// or, where PID 1's cannot be read, from that of one of our ancestors. Mounting over /etc is
// safe only then. On false, `reason` says what was found.
[[nodiscard]] bool mountNamespaceIsPrivate(std::string& reason);
