// SPDX-License-Identifier: LGPL-2.1-or-later
#pragma once

#include "LvmReport.h"
#include "PhysicalVolumes.h"
#include "ProgramRunner.h"
#include "RootDevice.h"
#include "SnapshotRecord.h"
#include "norvasnapshots.h"

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

// Everything the library keeps for the life of the calling process, in one place: where the
// system is, which LV "/" is (found once), the last lvs report and the lists handed out.
//
// Every process of the tool is short and single-threaded, and it changes the snapshots only
// through this library. So a report stays good until this process changes something with
// lvm: a check that changes nothing runs lvs once, however many lists it takes.
class LvmSession {
public:
    // Lines for the system log, with their syslog priority (LOG_ERR, LOG_NOTICE).
    using LogSink = std::function<void(int, const std::string&)>;
    using Clock = std::function<uint64_t()>;

    LvmSession(SystemPaths paths, LogSink log, Clock clock);

    // The report of the root VG, read again if this process changed something since the last
    // one; null (and logged) when "/" is not an LV of which snapshots are made or lvm failed.
    // `caller` names the library function in the log.
    [[nodiscard]] const LvmReport* report(const char* caller);
    // For what this process does not change itself (the root LV's size, the extent size): the
    // last report even if this process changed snapshots since.
    [[nodiscard]] const LvmReport* knownReport(const char* caller);

    // The PVs of the root's VG, read once per change; nullopt (and logged) when lvm failed.
    [[nodiscard]] std::optional<std::vector<PhysicalVolume>> physicalVolumes(const char* caller);
    // The PVs that hold the root LV; nullopt (and logged) when lvm failed.
    [[nodiscard]] std::optional<std::vector<std::string>> rootPvs(const char* caller);

    // Runs one lvm command that changes the VG; the next report is read afresh, whatever
    // the outcome. While another VG has the root VG's name, the command sees only the devices
    // of the root's VG, as LVM refuses the name otherwise. False (and logged, with lvm's
    // message) when lvm failed.
    [[nodiscard]] bool change(std::vector<std::string> command, const char* caller);

    // Why report() answered null: NORVA_NO_ROOT_VOLUME when "/" is not an LV of which
    // snapshots are made, NORVA_REPORT_FAILED when lvm could not tell.
    [[nodiscard]] int32_t failureCode() const;
    // Which LV "/" is, once found; null before the first report and when it is not an LV.
    [[nodiscard]] const RootIdentity* rootIdentity() const { return root_ ? &*root_ : nullptr; }

    // Why `caller` failed or refused.
    void log(const char* caller, const std::string& message) const;
    // A change made: the audit trail.
    void notice(const std::string& message) const;
    // What an administrator should act on, though nothing failed.
    void warn(const std::string& message) const;
    [[nodiscard]] uint64_t now() const { return clock_(); }
    [[nodiscard]] const SystemPaths& paths() const { return paths_; }

    // Lists handed out to the caller, owned here until released.
    [[nodiscard]] SnapshotHandle* keepList(std::vector<NorvaSnapshot> snapshots);
    void releaseList(SnapshotHandle* list);

private:
    [[nodiscard]] const RootIdentity* root(const char* caller);
    [[nodiscard]] bool readReport(const char* caller);
    void checkNamesakes();
    [[nodiscard]] std::optional<std::string> readLvm(const std::vector<std::string>& command,
                                                     const char* caller) const;
    [[nodiscard]] ProgramResult runLvm(const std::vector<std::string>& command) const;

    struct HeldList {
        std::vector<NorvaSnapshot> snapshots;
        std::vector<SnapshotHandle> handles;
    };

    SystemPaths paths_;
    LogSink log_;
    Clock clock_;
    std::optional<RootIdentity> root_;
    bool rootLooked_ = false;
    std::optional<LvmReport> report_;
    bool stale_ = false;   // this process changed the VG since report_ was read
    bool refused_ = false; // "/" is an LV of a layout the library makes no snapshots of
    bool namesakesTold_ = false;
    std::optional<std::vector<PhysicalVolume>> volumes_; // cleared by every change
    std::map<SnapshotHandle*, std::unique_ptr<HeldList>> lists_;
};

// The session of this process. The shipped library has one with the real paths; the tests
// give their own.
[[nodiscard]] LvmSession& currentSession();
