#pragma once

#include <chrono>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "dialogue/console_device.hpp"

namespace corvane {

// Turns the bytes a terminal sends for the keyboard into the key records that
// the console reports with input mode 0: the character byte (code page 437),
// the set-1 scan code of a US keyboard, the virtual key code and the
// control-key state. Every press is followed by its release. Ctrl+\ never
// arrives here: the terminal turns it into SIGQUIT, as the console turns
// Ctrl+Break into the end of the process.
//
// It does no I/O: bytes go in with the time they arrived, events come out.
// Esc starts the terminal's escape sequences as well as being a key of its
// own, so a lone Esc is only known once no further byte has come for
// `escapeTimeout`; `Flush` settles such pending bytes.
//
// Characters beyond ASCII arrive as UTF-8. A character of the upper half of
// code page 437 becomes its byte (128 to 255) with scan code 0. Any other
// character is still a key press, but one without a character (0), as the
// console reports a key whose character its code page lacks: passing its raw
// UTF-8 bytes on would show as unrelated code page 437 characters. Malformed
// UTF-8 is no key at all and is dropped.
class TerminalKeyDecoder {
 public:
  using Clock = std::chrono::steady_clock;

  explicit TerminalKeyDecoder(std::chrono::milliseconds escapeTimeout = std::chrono::milliseconds{50});

  // Decodes `bytes`, which arrived at `now`, and returns the events that are
  // complete. An incomplete tail stays pending.
  std::vector<InputRecord> Feed(std::span<const std::uint8_t> bytes, Clock::time_point now);
  std::vector<InputRecord> Feed(std::string_view bytes, Clock::time_point now);

  // Settles pending bytes once no byte has come for the timeout: a lone Esc
  // becomes the Esc key, ESC and one more byte become an Alt key, and an
  // unfinished sequence or character is given up.
  std::vector<InputRecord> Flush(Clock::time_point now);

  bool HasPending() const { return !pending_.empty(); }

 private:
  std::vector<InputRecord> Decode(bool settle);

  std::chrono::milliseconds escapeTimeout_;
  std::string pending_;
  Clock::time_point lastArrival_{};
};

}  // namespace corvane
