#pragma once

#include <iostream>
#include <sstream>
#include <string>

// Redirects std::cout into a string for as long as it lives.
class CapturedOutput {
public:
    CapturedOutput() : saved_(std::cout.rdbuf(buffer_.rdbuf())) {}
    ~CapturedOutput() { std::cout.rdbuf(saved_); }
    CapturedOutput(const CapturedOutput&) = delete;
    CapturedOutput& operator=(const CapturedOutput&) = delete;

    [[nodiscard]] std::string text() const { return buffer_.str(); }

private:
    std::ostringstream buffer_;
    std::streambuf* saved_;
};

// Feeds std::cin from a string for as long as it lives; the end of the text is the end of input.
class ScriptedInput {
public:
    explicit ScriptedInput(const std::string& text)
        : buffer_(text), saved_(std::cin.rdbuf(buffer_.rdbuf()))
    {
        std::cin.clear();
    }
    ~ScriptedInput()
    {
        std::cin.rdbuf(saved_);
        std::cin.clear();
    }
    ScriptedInput(const ScriptedInput&) = delete;
    ScriptedInput& operator=(const ScriptedInput&) = delete;

private:
    std::istringstream buffer_;
    std::streambuf* saved_;
};
