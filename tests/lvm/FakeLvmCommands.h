#pragma once

#include "FakeLvmState.h"

#include <string>
#include <vector>

// Writes `message` to stderr as lvm does (indented) and gives back `status`.
int fakeFailure(const std::string& message, int status = 5);

// The commands, each given the whole argument vector; 0 when the state was changed.
int fakeCreate(FakeLvmState& state, const std::vector<std::string>& args);
int fakeResize(FakeLvmState& state, const std::vector<std::string>& args);
int fakeRetag(FakeLvmState& state, const std::vector<std::string>& args);
int fakeRemove(FakeLvmState& state, const std::vector<std::string>& args);
