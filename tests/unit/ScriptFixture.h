#pragma once

#include "fakes/FakeClock.h"
#include "fakes/FakeSnapshotLibrary.h"
#include "fakes/FakeSystemctl.h"
#include "fakes/TestConfigPath.h"
#include "scripts/ManagerFactory.h"
#include "scripts/ScriptConfig.h"
#include "scripts/ScriptManagerBase.h"

#include <cstddef>
#include <cstdint>
#include <gtest/gtest.h>
#include <iostream>
#include <memory>
#include <sstream>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

using Calls = std::vector<std::string>;

inline Calls concat(Calls calls, const Calls& more)
{
    calls.insert(calls.end(), more.begin(), more.end());
    return calls;
}

// What a piece of code wrote on std::cout, and whether the stream was flushed after the last
// character (an info line must reach the terminal before the process goes on). Named apart from
// StdStreams.h's CapturedOutput class: two classes of one name in one binary break the linker's
// choice of their inline members.
struct CapturedStdout {
    std::string text;
    bool flushed = false;
};
using CapturedOutput = CapturedStdout;

// Collects std::cout and remembers how much of it had been flushed.
class CapturingBuffer : public std::stringbuf {
public:
    [[nodiscard]] size_t flushedSize() const { return flushedSize_; }

protected:
    int sync() override
    {
        flushedSize_ = str().size();
        return 0;
    }

private:
    size_t flushedSize_ = 0;
};

template <typename Action> CapturedStdout captureStdout(Action&& action)
{
    CapturingBuffer buffer;
    std::streambuf* const previous = std::cout.rdbuf(&buffer);
    struct Restore {
        std::streambuf* previous;
        ~Restore() { std::cout.rdbuf(previous); }
    } restore{previous};
    std::forward<Action>(action)();
    const std::string text = buffer.str();
    return {text, buffer.flushedSize() == text.size()};
}

// Names a test of a (script number, case with a `name`) parameter "Script<n>_<name>".
struct ScriptCaseName {
    template <typename Case>
    std::string operator()(const ::testing::TestParamInfo<std::tuple<int32_t, Case>>& param) const
    {
        return "Script" + std::to_string(std::get<0>(param.param)) + "_" +
               std::get<1>(param.param).name;
    }
};

// A manager that fails everything: stands in when createManager yields none, so that a missing
// script class fails its tests instead of crashing the test binary.
class MissingManager : public ScriptManagerBase {
public:
    using ScriptManagerBase::ScriptManagerBase;
    bool launch() override { return false; }
    bool check() override { return false; }
    bool trigger() override { return false; }
    void info() override { std::cout << "<no manager>"; }
};

// Owns every fake a script manager talks to: the snapshot library, systemctl and the clock (at
// FakeClock::kStart). Each test starts from the fakes' defaults and without a configuration file.
class ScriptFixture : public ::testing::Test {
protected:
    ScriptFixture() { removeConfigFile(); }
    ~ScriptFixture() override { removeConfigFile(); }

    static constexpr uint64_t kNow = FakeClock::kStart;
    static constexpr uint64_t kDay = FakeClock::kDay;

    [[nodiscard]] static ScriptConfig makeConfig(int32_t script, int32_t lifetime = 0,
                                                 int32_t quantity = 0, uint64_t snapshotSize = 0)
    {
        return ScriptConfig{script, lifetime, quantity, snapshotSize};
    }

    // The manager createManager builds for `config`, owned by the fixture until the next call.
    ScriptManagerBase& manager(const ScriptConfig& config)
    {
        manager_ = createManager(config);
        if (!manager_) {
            ADD_FAILURE() << "createManager gave no manager for script " << config.script;
            manager_ = std::make_unique<MissingManager>(config);
        }
        return *manager_;
    }

    // Makes the library fail as `failure` says: "" not at all, "refuse" by a nonzero answer of
    // every can_create_lvm_snapshot, "<function>" at every call of that function, and
    // "<function>#<id>" at its calls for that snapshot.
    void injectFailure(const std::string& failure)
    {
        if (failure == "refuse") {
            library_.setCanCreateAnswer(FakeSnapshotLibrary::kInjectedRefusal);
        } else if (const size_t hash = failure.find('#'); hash != std::string::npos) {
            library_.failFor(failure.substr(0, hash), std::stoull(failure.substr(hash + 1)));
        } else if (!failure.empty()) {
            library_.failAlways(failure);
        }
    }

    // The library calls made since the first `first` ones.
    [[nodiscard]] Calls callsFrom(size_t first) const
    {
        const Calls all = library_.calls();
        return first >= all.size() ? Calls{}
                                   : Calls(all.begin() + static_cast<ptrdiff_t>(first), all.end());
    }

    // The library calls made after the last list was released.
    [[nodiscard]] Calls callsAfterLastRelease() const
    {
        const Calls all = library_.calls();
        size_t last = all.size();
        for (size_t i = 0; i < all.size(); ++i) {
            if (all[i] == "free_existing_lvm_snapshots") {
                last = i;
            }
        }
        return last == all.size() ? all : callsFrom(last + 1);
    }

    FakeClock clock_;
    FakeSnapshotLibrary library_;
    FakeSystemctl systemctl_;
    std::unique_ptr<ScriptManagerBase> manager_;
};

// A fixture whose tests run once per parameter: a script number, or a script number and a case.
template <typename Param>
class ScriptParamFixture : public ScriptFixture, public ::testing::WithParamInterface<Param> {
};
template <typename Case> using ScriptCaseFixture = ScriptParamFixture<std::tuple<int32_t, Case>>;
