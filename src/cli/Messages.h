#pragma once

// The command line's result messages: one translated line each, flushed at once.

// Success, on standard output.
void say(const char* messageId);

// Failure, on standard error.
void complain(const char* messageId);
