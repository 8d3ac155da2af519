#pragma once

#include <string>

// The tool's fixed texts as a user sees them untranslated (LC_ALL=C), written out in full so
// that a change of a single byte shows.

inline const std::string kUsage =
    "Usage: norva-snapshots-manager OPTION\n"
    "-h, --help                     - Show this help.\n"
    "-s<number>, --script=<number>  - Launch shapshots automation script with given number.\n"
    "-b, --break                    - Stop snapshots automation process.\n"
    "-r, --restart                  - Restart snapshots automation process.\n"
    "-p, --purge                    - Delete all existing root volume snapshots.\n"
    "-c, --check                    - Check snapshots state; started on schedule when "
    "automation is enabled.\n"
    "-t, --trigger                  - Launch special automation function if it exists in "
    "current script.\n"
    "-i, --info                     - Show info about automation status and current script.\n"
    "\n"
    "Available scripts:\n"
    "1: one full-sized snapshot;\n"
    "2: one full-sized snapshot with a rotation at the end of a lifetime;\n"
    "3: one full-sized snapshot with a trigger function creating additional one and stopping\n"
    "   snapshots management automation;\n"
    "4: one full-sized snapshot with a rotation at the end of a lifetime and a trigger "
    "function\n"
    "   creating additional one and stopping snapshots management automation;\n"
    "5: queue of snapshots with a rotation at the end of a lifetime;\n"
    "6: two snapshots (full-sized and additional) with a rotation at the end of a lifetime.\n";

inline const std::string kNotRoot = "You should run this application with superuser privileges.\n";
inline const std::string kScriptUsage = "Usage: norva-snapshots-manager -s<number>\n";
inline const std::string kUndefinedError = "Undefined error.\n";

inline const std::string kLaunched = "Snapshots automation script was successfully launched.\n";
inline const std::string kCancelled = "Snapshots automation script launch cancelled.\n";
inline const std::string kLaunchError =
    "An error occurred during snapshots automation script launch.\n";
inline const std::string kStopped = "Snapshots automation has been stopped.\n";
inline const std::string kStopError = "An error occurred during snapshots automation stopping.\n";
inline const std::string kStarted = "Snapshots automation started.\n";
inline const std::string kStartError = "An error occurred during snapshots automation start.\n";
inline const std::string kPurged = "All snapshots were successfully deleted.\n";
inline const std::string kPurgeError = "An error occurred during snapshots deleting.\n";

// Questions end with a blank and no line break: the answer is typed on the same line.
inline const std::string kAskLifetime =
    "Enter snapshot lifetime in days (from 1 to 7) or 0 to cancel: ";
inline const std::string kAskPeriod =
    "Enter snapshots rotation period in days (from 1 to 7) or 0 to cancel: ";
inline const std::string kAskQueue =
    "Enter the number of snapshots in a queue (from 2 to 6) or 0 to cancel: ";
inline const std::string kWrongLifetime = "Wrong snapshot lifetime has been entered.\n";
inline const std::string kWrongPeriod = "Wrong snapshots rotation period has been entered.\n";
inline const std::string kWrongQueue = "Wrong snapshots number has been entered.\n";

inline const std::string kRunning = "Automation status: running\n";
inline const std::string kNotRunning = "Automation status: stopped\n";
inline const std::string kUnknownScript = "Current script: unknown\n";
