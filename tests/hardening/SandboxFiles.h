#pragma once

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <string>

// Whole-file reads and writes and symlink targets for the sandbox's bookkeeping.

[[nodiscard]] inline std::string readFile(const std::string& file)
{
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void writeFile(const std::string& file, const std::string& text)
{
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out << text;
    ASSERT_TRUE(out.flush().good()) << "cannot write " << file;
}

// Empty when `link` is no symlink or cannot be read.
[[nodiscard]] inline std::string linkTarget(const std::string& link)
{
    std::error_code error;
    const std::filesystem::path target = std::filesystem::read_symlink(link, error);
    return error ? std::string() : target.string();
}
