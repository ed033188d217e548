#include "platform/posix/terminal_key_decoder.hpp"

#include <array>
#include <optional>

#include "platform/posix/cp437.hpp"

namespace corvane {
namespace {

using namespace control_key;

// Virtual key codes of the keys that have no character of their own.
namespace virtual_key {
constexpr std::uint16_t kBack = 0x08;
constexpr std::uint16_t kTab = 0x09;
constexpr std::uint16_t kReturn = 0x0D;
constexpr std::uint16_t kEscape = 0x1B;
constexpr std::uint16_t kSpace = 0x20;
constexpr std::uint16_t kPageUp = 0x21;
constexpr std::uint16_t kPageDown = 0x22;
constexpr std::uint16_t kEnd = 0x23;
constexpr std::uint16_t kHome = 0x24;
constexpr std::uint16_t kLeft = 0x25;
constexpr std::uint16_t kUp = 0x26;
constexpr std::uint16_t kRight = 0x27;
constexpr std::uint16_t kDown = 0x28;
constexpr std::uint16_t kInsert = 0x2D;
constexpr std::uint16_t kDelete = 0x2E;
constexpr std::uint16_t kF1 = 0x70;
// A character that no key of the layout has, as Windows reports typed Unicode.
constexpr std::uint16_t kPacket = 0xE7;
}  // namespace virtual_key

constexpr std::uint8_t kEsc = 0x1B;
// An escape sequence longer than this is garbage, not a key.
constexpr std::size_t kLongestSequence = 32;

struct KeyPress {
  std::uint8_t character = 0;
  std::uint8_t scanCode = 0;
  std::uint16_t virtualKey = 0;
  std::uint32_t state = 0;
};

// Scan codes of the letters a to z.
constexpr std::array<std::uint8_t, 26> kLetterScanCodes = {
    0x1E, 0x30, 0x2E, 0x20, 0x12, 0x21, 0x22, 0x23, 0x17, 0x24, 0x25, 0x26, 0x32,
    0x31, 0x18, 0x19, 0x10, 0x13, 0x1F, 0x14, 0x16, 0x2F, 0x11, 0x2D, 0x15, 0x2C,
};

// The digit and punctuation keys of a US keyboard with both their characters.
struct SymbolKey {
  std::uint8_t scanCode;
  std::uint16_t virtualKey;
  char unshifted;
  char shifted;
};
constexpr std::array<SymbolKey, 21> kSymbolKeys = {{
    {0x02, '1', '1', '!'},  {0x03, '2', '2', '@'},   {0x04, '3', '3', '#'},  {0x05, '4', '4', '$'},
    {0x06, '5', '5', '%'},  {0x07, '6', '6', '^'},   {0x08, '7', '7', '&'},  {0x09, '8', '8', '*'},
    {0x0A, '9', '9', '('},  {0x0B, '0', '0', ')'},   {0x0C, 0xBD, '-', '_'}, {0x0D, 0xBB, '=', '+'},
    {0x1A, 0xDB, '[', '{'}, {0x1B, 0xDD, ']', '}'},  {0x27, 0xBA, ';', ':'}, {0x28, 0xDE, '\'', '"'},
    {0x29, 0xC0, '`', '~'}, {0x2B, 0xDC, '\\', '|'}, {0x33, 0xBC, ',', '<'}, {0x34, 0xBE, '.', '>'},
    {0x35, 0xBF, '/', '?'},
}};

std::optional<KeyPress> PrintableKey(std::uint8_t byte) {
  if (byte >= 'a' && byte <= 'z') {
    return KeyPress{byte, kLetterScanCodes[byte - 'a'], static_cast<std::uint16_t>(byte - 'a' + 'A'), 0};
  }
  if (byte >= 'A' && byte <= 'Z') return KeyPress{byte, kLetterScanCodes[byte - 'A'], byte, kShiftPressed};
  if (byte == ' ') return KeyPress{byte, 0x39, virtual_key::kSpace, 0};
  for (const SymbolKey& key : kSymbolKeys) {
    if (byte == static_cast<std::uint8_t>(key.unshifted)) return KeyPress{byte, key.scanCode, key.virtualKey, 0};
    if (byte == static_cast<std::uint8_t>(key.shifted)) {
      return KeyPress{byte, key.scanCode, key.virtualKey, kShiftPressed};
    }
  }
  return std::nullopt;
}

// The key behind one ASCII byte other than Esc and Ctrl+backslash.
KeyPress AsciiKey(std::uint8_t byte) {
  switch (byte) {
    case 0x00: return {0, 0x03, '2', kLeftCtrlPressed};  // Ctrl+@
    case 0x08:
    case 0x7F: return {0x08, 0x0E, virtual_key::kBack, 0};  // the terminal's erase key
    case 0x09: return {0x09, 0x0F, virtual_key::kTab, 0};
    case 0x0D: return {0x0D, 0x1C, virtual_key::kReturn, 0};  // the terminal's Enter; byte 10 is Ctrl+J
    case 0x1C: return {0x1C, 0x2B, 0xDC, kLeftCtrlPressed};   // Ctrl+\, where the terminal does not take it
    case 0x1D: return {0x1D, 0x1B, 0xDD, kLeftCtrlPressed};   // Ctrl+]
    case 0x1E: return {0x1E, 0x07, '6', kLeftCtrlPressed | kShiftPressed};   // Ctrl+^
    case 0x1F: return {0x1F, 0x0C, 0xBD, kLeftCtrlPressed | kShiftPressed};  // Ctrl+_
    default: break;
  }
  if (byte >= 0x01 && byte <= 0x1A) {
    return {byte, kLetterScanCodes[byte - 1], static_cast<std::uint16_t>('A' + byte - 1), kLeftCtrlPressed};
  }
  return PrintableKey(byte).value_or(KeyPress{});
}

KeyPress SpecialKey(std::uint8_t scanCode, std::uint16_t virtualKey, bool enhanced) {
  return {0, scanCode, virtualKey, enhanced ? kEnhancedKey : 0};
}

KeyPress FunctionKey(int number) {
  const auto virtualKey = static_cast<std::uint16_t>(virtual_key::kF1 + number - 1);
  if (number <= 10) return SpecialKey(static_cast<std::uint8_t>(0x3B + number - 1), virtualKey, false);
  return SpecialKey(number == 11 ? 0x57 : 0x58, virtualKey, false);
}

// Keys named by the final byte of a CSI or SS3 sequence.
std::optional<KeyPress> KeyByFinal(char final) {
  switch (final) {
    case 'A': return SpecialKey(0x48, virtual_key::kUp, true);
    case 'B': return SpecialKey(0x50, virtual_key::kDown, true);
    case 'C': return SpecialKey(0x4D, virtual_key::kRight, true);
    case 'D': return SpecialKey(0x4B, virtual_key::kLeft, true);
    case 'H': return SpecialKey(0x47, virtual_key::kHome, true);
    case 'F': return SpecialKey(0x4F, virtual_key::kEnd, true);
    case 'P': return FunctionKey(1);
    case 'Q': return FunctionKey(2);
    case 'R': return FunctionKey(3);
    case 'S': return FunctionKey(4);
    case 'Z': return KeyPress{0x09, 0x0F, virtual_key::kTab, kShiftPressed};  // Shift+Tab
    default: return std::nullopt;
  }
}

// Keys named by the number of a "CSI number ~" sequence.
std::optional<KeyPress> KeyByNumber(int number) {
  switch (number) {
    case 1:
    case 7: return SpecialKey(0x47, virtual_key::kHome, true);
    case 2: return SpecialKey(0x52, virtual_key::kInsert, true);
    case 3: return SpecialKey(0x53, virtual_key::kDelete, true);
    case 4:
    case 8: return SpecialKey(0x4F, virtual_key::kEnd, true);
    case 5: return SpecialKey(0x49, virtual_key::kPageUp, true);
    case 6: return SpecialKey(0x51, virtual_key::kPageDown, true);
    case 11:
    case 12:
    case 13:
    case 14:
    case 15: return FunctionKey(number - 10);
    case 17:
    case 18:
    case 19:
    case 20:
    case 21: return FunctionKey(number - 11);
    case 23: return FunctionKey(11);
    case 24: return FunctionKey(12);
    default: return std::nullopt;
  }
}

// The xterm modifier parameter: 1 plus the sum of Shift 1, Alt 2, Ctrl 4 and
// Meta 8. Meta is taken as Alt.
std::uint32_t ModifierState(int parameter) {
  if (parameter < 2) return 0;
  const int bits = parameter - 1;
  std::uint32_t state = 0;
  if (bits & 1) state |= kShiftPressed;
  if (bits & (2 | 8)) state |= kLeftAltPressed;
  if (bits & 4) state |= kLeftCtrlPressed;
  return state;
}

// The numeric parameters of a sequence, an empty one counting as 0; none if
// the parameters hold anything but digits and semicolons (private sequences).
std::optional<std::vector<int>> Parameters(std::string_view text) {
  std::vector<int> numbers{0};
  for (char c : text) {
    if (c == ';') {
      numbers.push_back(0);
    } else if (c >= '0' && c <= '9') {
      if (numbers.back() < 10000) numbers.back() = numbers.back() * 10 + (c - '0');
    } else {
      return std::nullopt;
    }
  }
  return numbers;
}

void Emit(std::vector<InputRecord>& events, const KeyPress& key) {
  InputRecord record;
  record.eventType = InputEventType::Key;
  record.keyDown = true;
  record.repeatCount = 1;
  record.virtualKeyCode = key.virtualKey;
  record.virtualScanCode = key.scanCode;
  record.asciiChar = key.character;
  record.controlKeyState = key.state;
  events.push_back(record);
  record.keyDown = false;
  events.push_back(record);
}

void EmitWithState(std::vector<InputRecord>& events, std::optional<KeyPress> key, std::uint32_t extraState) {
  if (!key) return;
  key->state |= extraState;
  Emit(events, *key);
}

// One step of decoding: how many bytes were used (0 = more bytes are needed).
using Consumed = std::size_t;

class SequenceDecoder {
 public:
  SequenceDecoder(std::string_view bytes, bool settle, std::vector<InputRecord>& events)
      : bytes_(bytes), settle_(settle), events_(events) {}

  Consumed DecodeOne() {
    const auto first = static_cast<std::uint8_t>(bytes_[0]);
    if (first == kEsc) return DecodeEscape();
    if (first >= 0x80) return DecodeUtf8();
    Emit(events_, AsciiKey(first));
    return 1;
  }

 private:
  Consumed DecodeEscape() {
    if (bytes_.size() < 2) return settle_ ? EmitEsc() : 0;
    const auto second = static_cast<std::uint8_t>(bytes_[1]);
    if (second == '[' || second == 'O') {
      const Consumed used = second == '[' ? DecodeCsi() : DecodeSs3();
      if (used > 0 || !settle_) return used;
    }
    if (second == kEsc || second >= 0x80) return EmitEsc();
    // ESC before another key is how the terminal reports that key with Alt.
    EmitWithState(events_, AsciiKey(second), kLeftAltPressed);
    return 2;
  }

  Consumed EmitEsc() {
    Emit(events_, SpecialKey(0x01, virtual_key::kEscape, false));
    return 1;
  }

  // CSI: ESC [ parameters (0x30-0x3F), intermediates (0x20-0x2F), final
  // (0x40-0x7E). Returns 0 when incomplete or malformed; the caller then waits
  // or, when settling, takes ESC [ as Alt+[.
  Consumed DecodeCsi() {
    if (bytes_.size() >= 3 && bytes_[2] == '[') return DecodeLinuxFunctionKey();
    std::size_t end = 2;
    while (end < bytes_.size() && bytes_[end] >= 0x30 && bytes_[end] <= 0x3F) ++end;
    const std::size_t parametersEnd = end;
    while (end < bytes_.size() && bytes_[end] >= 0x20 && bytes_[end] <= 0x2F) ++end;
    if (end >= bytes_.size()) return Incomplete(end);
    if (bytes_[end] < 0x40 || bytes_[end] > 0x7E) return 0;
    const char final = bytes_[end];
    const auto parameters = Parameters(bytes_.substr(2, parametersEnd - 2));
    if (parameters && parametersEnd == end) {
      const std::uint32_t state = ModifierState(parameters->size() > 1 ? (*parameters)[1] : 1);
      EmitWithState(events_, final == '~' ? KeyByNumber((*parameters)[0]) : KeyByFinal(final), state);
    }
    return end + 1;  // unknown sequences are consumed and dropped
  }

  // The Linux console's F1 to F5: ESC [ [ A to ESC [ [ E.
  Consumed DecodeLinuxFunctionKey() {
    if (bytes_.size() < 4) return 0;
    if (bytes_[3] < 'A' || bytes_[3] > 'E') return 0;
    Emit(events_, FunctionKey(bytes_[3] - 'A' + 1));
    return 4;
  }

  // SS3: ESC O, an optional modifier, and one final letter.
  Consumed DecodeSs3() {
    std::size_t end = 2;
    while (end < bytes_.size() && ((bytes_[end] >= '0' && bytes_[end] <= '9') || bytes_[end] == ';')) ++end;
    if (end >= bytes_.size()) return Incomplete(end);
    if (bytes_[end] < 0x40 || bytes_[end] > 0x7E) return 0;
    const auto parameters = Parameters(bytes_.substr(2, end - 2));
    const std::uint32_t state = parameters ? ModifierState(parameters->back()) : 0;
    if (bytes_[end] == 'M') {
      Emit(events_, KeyPress{0x0D, 0x1C, virtual_key::kReturn, kEnhancedKey | state});  // keypad Enter
    } else {
      EmitWithState(events_, KeyByFinal(bytes_[end]), state);
    }
    return end + 1;
  }

  Consumed Incomplete(std::size_t length) const { return length > kLongestSequence ? length : 0; }

  // UTF-8: one character, as its byte of the code page's upper half or as a
  // key without a character; malformed bytes are no key.
  Consumed DecodeUtf8() {
    const auto lead = static_cast<std::uint8_t>(bytes_[0]);
    std::size_t length = 0;
    char32_t codePoint = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
      length = 2;
      codePoint = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
      length = 3;
      codePoint = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
      length = 4;
      codePoint = lead & 0x07;
    } else {
      return 1;  // a stray continuation byte or an invalid lead byte
    }
    for (std::size_t i = 1; i < length; ++i) {
      if (i >= bytes_.size()) return settle_ ? 1 : 0;
      const auto next = static_cast<std::uint8_t>(bytes_[i]);
      if ((next & 0xC0) != 0x80) return 1;  // drop the lead; the next byte starts afresh
      codePoint = (codePoint << 6) | (next & 0x3F);
    }
    const char32_t smallest = length == 3 ? 0x800 : 0x10000;
    const bool valid =
        length == 2 || (codePoint >= smallest && codePoint <= 0x10FFFF && (codePoint < 0xD800 || codePoint > 0xDFFF));
    if (valid) {
      const auto byte = Cp437UpperByte(codePoint);
      Emit(events_, byte ? KeyPress{*byte, 0, 0, 0} : KeyPress{0, 0, virtual_key::kPacket, 0});
    }
    return length;
  }

  std::string_view bytes_;
  bool settle_;
  std::vector<InputRecord>& events_;
};

}  // namespace

TerminalKeyDecoder::TerminalKeyDecoder(std::chrono::milliseconds escapeTimeout) : escapeTimeout_(escapeTimeout) {}

std::vector<InputRecord> TerminalKeyDecoder::Feed(std::span<const std::uint8_t> bytes, Clock::time_point now) {
  return Feed(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()), now);
}

std::vector<InputRecord> TerminalKeyDecoder::Feed(std::string_view bytes, Clock::time_point now) {
  // Bytes left from long ago belong to no sequence that these could finish.
  std::vector<InputRecord> events = Flush(now);
  if (bytes.empty()) return events;
  pending_.append(bytes);
  lastArrival_ = now;
  std::vector<InputRecord> decoded = Decode(false);
  events.insert(events.end(), decoded.begin(), decoded.end());
  return events;
}

std::vector<InputRecord> TerminalKeyDecoder::Flush(Clock::time_point now) {
  if (pending_.empty() || now - lastArrival_ < escapeTimeout_) return {};
  return Decode(true);
}

std::vector<InputRecord> TerminalKeyDecoder::Decode(bool settle) {
  std::vector<InputRecord> events;
  std::size_t position = 0;
  while (position < pending_.size()) {
    SequenceDecoder decoder(std::string_view(pending_).substr(position), settle, events);
    const Consumed used = decoder.DecodeOne();
    if (used == 0) break;
    position += used;
  }
  pending_.erase(0, position);
  return events;
}

}  // namespace corvane
