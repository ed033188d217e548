// Feeds the input to the terminal key decoder in pieces, each arriving some
// milliseconds after the one before, then settles what is left. Each piece is
// a length byte (0 to 15), a delay byte in milliseconds and that many bytes.
#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <span>
#include <vector>

#include "platform/posix/terminal_key_decoder.hpp"

namespace {

void Require(bool condition) {
  if (!condition) std::abort();
}

// Every key press is followed at once by its release, the same record but
// for the key-down flag.
void CheckEvents(const std::vector<corvane::InputRecord>& records) {
  Require(records.size() % 2 == 0);
  for (std::size_t i = 0; i < records.size(); i += 2) {
    corvane::InputRecord release = records[i];
    release.keyDown = false;
    Require(records[i].keyDown && records[i + 1] == release);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace corvane;
  TerminalKeyDecoder decoder;
  TerminalKeyDecoder::Clock::time_point now{};
  std::size_t events = 0;
  std::size_t position = 0;
  while (position + 2 <= size) {
    const std::size_t length = std::min<std::size_t>(data[position] % 16, size - position - 2);
    now += std::chrono::milliseconds{data[position + 1]};
    const auto decoded = decoder.Feed(std::span(data + position + 2, length), now);
    CheckEvents(decoded);
    events += decoded.size();
    position += 2 + length;
  }
  const auto settled = decoder.Flush(now + std::chrono::hours{1});
  CheckEvents(settled);
  events += settled.size();
  Require(!decoder.HasPending());
  // Every event uses up at least one byte, and one byte gives at most a press
  // and its release.
  Require(events <= 2 * size);
  return 0;
}
