// What a run of the library came to. The library reports it and has shown its messages;
// each front end decides what the process does about it (korvex-cli: its exit status;
// the desktop program: a message, or the end of the program after a stop).
#pragma once

#include <cstdint>

namespace korvex {

enum class Outcome : std::uint8_t {
  kDone,     // finished: the drawing read, the file written
  kRefused,  // nothing done, after a message saying why
  kStopped,  // stopped part-way at a limit (asked and answered, or reached), after a message
};

}  // namespace korvex
