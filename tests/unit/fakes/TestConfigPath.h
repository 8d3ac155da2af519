#pragma once

#include <string>
#include <string_view>

// configFilePath() in unit tests names a file in a temporary directory of this test process,
// made on first use and removed when the process ends. These helpers look at and set up that file.

// The file's content; empty when there is no file.
[[nodiscard]] std::string readConfigFile();
void writeConfigFile(std::string_view content);
void removeConfigFile();
[[nodiscard]] bool configFileExists();
