#include "fakes/FakeSystemctl.h"

#include "automation/CommandLine.h"
#include "fakes/FakeSnapshotLibrary.h"

#include <array>
#include <gtest/gtest.h>
#include <string_view>
#include <utility>

namespace {

struct KnownLine {
    std::string_view verb;
    std::string_view line;
};

// Written out here independently of the tool, so that a typo in the tool's lines shows.
constexpr std::array<KnownLine, 6> kKnownLines = {{
    {"is-active", "systemctl is-active -q norva-snapshots.timer >/dev/null 2>&1"},
    {"is-enabled", "systemctl is-enabled -q norva-snapshots.timer >/dev/null 2>&1"},
    {"stop", "systemctl stop norva-snapshots.timer >/dev/null 2>&1"},
    {"disable", "systemctl disable norva-snapshots.timer >/dev/null 2>&1"},
    {"enable", "systemctl enable norva-snapshots.timer >/dev/null 2>&1"},
    {"start", "systemctl start norva-snapshots.timer >/dev/null 2>&1"},
}};

std::string verbOf(std::string_view line)
{
    for (const KnownLine& known : kKnownLines) {
        if (known.line == line) {
            return std::string(known.verb);
        }
    }
    return "?";
}

// A misspelt verb would make a failure test pass without injecting anything.
bool isKnownVerb(std::string_view verb)
{
    for (const KnownLine& known : kKnownLines) {
        if (known.verb == verb) {
            return true;
        }
    }
    return false;
}

} // namespace

FakeSystemctl::FakeSystemctl() : previous_(current_)
{
    if (previous_ != nullptr) {
        ADD_FAILURE() << "a second FakeSystemctl while another one is current";
    }
    current_ = this;
}

FakeSystemctl::~FakeSystemctl()
{
    current_ = previous_;
}

void FakeSystemctl::failVerb(std::string verb)
{
    EXPECT_TRUE(isKnownVerb(verb)) << "no such verb: " << verb;
    failingVerbs_.insert(std::move(verb));
}

bool FakeSystemctl::run(const char* commandLine)
{
    const std::string line = commandLine != nullptr ? commandLine : "(null)";
    const std::string verb = verbOf(line);
    lines_.push_back(line);
    verbs_.push_back(verb);
    const FakeSnapshotLibrary* library = FakeSnapshotLibrary::current();
    libraryCallsBefore_.push_back(library != nullptr ? library->callCount() : 0);
    if (verb == "?") {
        ADD_FAILURE() << "unknown command line: \"" << line << "\"";
        return false;
    }
    return !failingVerbs_.contains(verb) && apply(verb);
}

bool FakeSystemctl::apply(const std::string& verb)
{
    if (verb == "is-active") {
        return active_;
    }
    if (verb == "is-enabled") {
        return enabled_;
    }
    if (verb == "stop" || verb == "start") {
        active_ = verb == "start";
    } else {
        enabled_ = verb == "enable";
    }
    return true;
}

bool runCommandLine(const char* commandLine)
{
    FakeSystemctl* fake = FakeSystemctl::current();
    if (fake == nullptr) {
        ADD_FAILURE() << "runCommandLine(\"" << (commandLine != nullptr ? commandLine : "(null)")
                      << "\") with no FakeSystemctl in place";
        return false;
    }
    return fake->run(commandLine);
}
