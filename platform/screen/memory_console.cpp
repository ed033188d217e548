#include "platform/screen/memory_console.hpp"

namespace corvane {

std::vector<std::string> MemoryConsole::Rows() const {
  std::vector<std::string> rows;
  for (int row = 0; row < Screen().Height(); ++row) {
    std::string text;
    for (int column = 0; column < Screen().Width(); ++column) {
      text.push_back(static_cast<char>(Screen().At(column, row).character));
    }
    rows.push_back(text.substr(0, text.find_last_not_of(' ') + 1));
  }
  return rows;
}

std::optional<InputRecord> MemoryConsole::PeekInput() {
  if (input_.empty() && onIdle_) {
    // A copy runs, so that the callback may replace or clear itself.
    const std::function<void()> onIdle = onIdle_;
    onIdle();
  }
  if (input_.empty()) {
    if (++idleLooks_ > idleLookLimit_) throw InputExhausted();
    return std::nullopt;
  }
  return input_.front();
}

void MemoryConsole::ReadInput() {
  if (!input_.empty()) input_.pop_front();
}

}  // namespace corvane
