// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <libintl.h>
#include <string>

// Every text of the tool is an English message id translated in the text domain
// "norva-snapshots-manager"; where no catalogue is installed the id itself is shown.
inline constexpr const char* kTextDomain = "norva-snapshots-manager";
inline constexpr const char* kLocaleDirectory = "/usr/share/locale";

[[nodiscard]] inline const char* tr(const char* messageId)
{
    return gettext(messageId);
}

// Marks a message id for the catalogue where it is stored, to be translated when written.
[[nodiscard]] constexpr const char* trNoop(const char* messageId)
{
    return messageId;
}

// The translated message id with its printf-style figures filled in.
[[nodiscard]] std::string formatMessage(const char* messageId, ...)
    __attribute__((format(printf, 1, 2)));
