// SPDX-License-Identifier: LGPL-2.1-or-later
#pragma once

#include <optional>
#include <string>
#include <string_view>

// Where the library looks for the system it works on. The shipped library uses the real
// locations (see ProductionSession.cpp); only the tests point it elsewhere.
struct SystemPaths {
    std::string lvmProgram; // the lvm program, run by this path, never looked up
    std::string mountInfo;  // the mount table of this process
    std::string sysfsRoot;  // where /sys is mounted
    std::string bootPath;   // the directory whose file system's used space is reported
};

// The logical volume mounted as "/", as device-mapper knows it.
struct RootIdentity {
    std::string vgName;
    std::string lvName;
    std::string uuid; // the VG uuid and the LV uuid, 64 characters without dashes
};

// "major:minor" of the mount of "/" in a mountinfo text; the last one wins, as a later mount
// over "/" hides the earlier ones.
[[nodiscard]] std::optional<std::string> rootDeviceNumber(std::string_view mountInfo);

// Splits a device-mapper name of LVM ("vg-root", dashes inside names doubled) into VG and LV.
[[nodiscard]] std::optional<RootIdentity> splitDeviceMapperName(std::string_view name);

// The LVM identity of the device numbered `device`, from its dm/name and dm/uuid texts; empty
// when the device is not an LVM logical volume itself (a plain disk, a layer such as -real).
[[nodiscard]] std::optional<RootIdentity> identityFromDeviceMapper(std::string_view name,
                                                                   std::string_view uuid);

// Reads the files under `paths` and tells which LV "/" is; `why` says what was missing.
[[nodiscard]] std::optional<RootIdentity> discoverRoot(const SystemPaths& paths, std::string& why);

// The uuid as LVM prints it (with dashes) turned into the form device-mapper uses, and back.
[[nodiscard]] std::string withoutDashes(std::string_view uuid);
[[nodiscard]] std::string withDashes(std::string_view uuid);
