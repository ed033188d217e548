#include "dialogue/dropped_names.hpp"

namespace corvane {
namespace {

ByteView WithoutTrailingBlanks(ByteView name) {
  const std::size_t end = name.find_last_not_of(' ');
  return end == ByteView::npos ? ByteView{} : name.substr(0, end + 1);
}

bool EnclosedIn(ByteView name, char quote) { return name.size() >= 2 && name.front() == quote && name.back() == quote; }

}  // namespace

ByteString NameToOpen(ByteView typed, QuotesInNames quotes) {
  const ByteView trimmed = WithoutTrailingBlanks(typed);
  if (quotes == QuotesInNames::kNoDoubleQuotes && EnclosedIn(trimmed, '"')) {
    return ByteString(trimmed.substr(1, trimmed.size() - 2));
  }
  return ByteString(typed);
}

std::optional<ByteString> PastedPathReading(ByteView typed, QuotesInNames quotes) {
  if (quotes != QuotesInNames::kAnyQuotes) return std::nullopt;
  ByteView path = WithoutTrailingBlanks(typed);
  if (EnclosedIn(path, '\'') || EnclosedIn(path, '"')) path = path.substr(1, path.size() - 2);
  if (path == typed) return std::nullopt;
  return ByteString(path);
}

}  // namespace corvane
