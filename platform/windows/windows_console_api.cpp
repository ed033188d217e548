#include "platform/windows/windows_console_api.hpp"

#include <windows.h>

#include <algorithm>
#include <array>

namespace corvane {
namespace {

// Output mode: processed output with wrapping at the end of a line.
constexpr DWORD kOutputMode = ENABLE_PROCESSED_OUTPUT | ENABLE_WRAP_AT_EOL_OUTPUT;
// Cells handed to one WriteConsoleOutputA call; longer runs take several.
constexpr std::size_t kStagingCells = 256;

COORD At(int column, int row) { return COORD{static_cast<SHORT>(column), static_cast<SHORT>(row)}; }

CHAR_INFO ToCharInfo(Cell cell) {
  CHAR_INFO info{};
  info.Char.AsciiChar = static_cast<CHAR>(cell.character);
  info.Attributes = cell.attribute;
  return info;
}

InputEventType ToEventType(WORD eventType) {
  switch (eventType) {
    case KEY_EVENT: return InputEventType::Key;
    case MOUSE_EVENT: return InputEventType::Mouse;
    case WINDOW_BUFFER_SIZE_EVENT: return InputEventType::WindowBufferSize;
    case MENU_EVENT: return InputEventType::Menu;
    // Focus, and any kind the seam does not name: passed over like every
    // record that is not a key.
    default: return InputEventType::Focus;
  }
}

InputRecord ToInputRecord(const INPUT_RECORD& record) {
  InputRecord converted;
  converted.eventType = ToEventType(record.EventType);
  if (converted.eventType != InputEventType::Key) return converted;
  const KEY_EVENT_RECORD& key = record.Event.KeyEvent;
  converted.keyDown = key.bKeyDown != FALSE;
  converted.repeatCount = key.wRepeatCount;
  converted.virtualKeyCode = key.wVirtualKeyCode;
  converted.virtualScanCode = key.wVirtualScanCode;
  converted.asciiChar = static_cast<std::uint8_t>(key.uChar.AsciiChar);
  converted.controlKeyState = key.dwControlKeyState;
  return converted;
}

}  // namespace

WindowsConsoleApi::WindowsConsoleApi() : output_(nullptr), input_(INVALID_HANDLE_VALUE) {
  HANDLE standardError = ::GetStdHandle(STD_ERROR_HANDLE);
  HANDLE standardInput = ::GetStdHandle(STD_INPUT_HANDLE);
  HANDLE standardOutput = ::GetStdHandle(STD_OUTPUT_HANDLE);
  output_ = standardError;
  input_ = ::CreateFileA("CONIN$", GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  ownsInput_ = HasInput();
  // GetConsoleMode succeeds only on a console handle.
  DWORD mode = 0;
  if (::GetConsoleMode(standardOutput, &mode)) {
    output_ = standardOutput;
  } else if (!::GetConsoleMode(standardError, &mode)) {
    // Both streams are redirected: the dialogue is drawn on the console's own
    // screen buffer all the same, never into a file.
    output_ = ::CreateFileA("CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, 0, nullptr);
    ownsOutput_ = output_ != INVALID_HANDLE_VALUE;
  }
  ::SetConsoleMode(output_, kOutputMode);
  // On the standard input handle: where that is redirected the call fails,
  // and the console input keeps the mode it had.
  ::SetConsoleMode(standardInput, 0);
}

WindowsConsoleApi::WindowsConsoleApi(void* outputHandle, void* inputHandle)
    : output_(outputHandle), input_(inputHandle) {}

WindowsConsoleApi::~WindowsConsoleApi() {
  if (ownsInput_) ::CloseHandle(input_);
  if (ownsOutput_) ::CloseHandle(output_);
}

bool WindowsConsoleApi::HasInput() const { return input_ != INVALID_HANDLE_VALUE && input_ != nullptr; }

std::vector<Cell> WindowsConsoleApi::ReadOutput(int column, int row, int count) {
  std::vector<Cell> cells(static_cast<std::size_t>(std::max(count, 0)));
  if (cells.empty()) return cells;
  std::vector<CHAR_INFO> read(cells.size());
  SMALL_RECT region{static_cast<SHORT>(column), static_cast<SHORT>(row), static_cast<SHORT>(column + count - 1),
                    static_cast<SHORT>(row)};
  if (!::ReadConsoleOutputA(output_, read.data(), At(count, 1), At(0, 0), &region)) return cells;
  for (std::size_t i = 0; i < cells.size(); ++i) {
    cells[i] = Cell{static_cast<std::uint8_t>(read[i].Char.AsciiChar), static_cast<std::uint8_t>(read[i].Attributes)};
  }
  return cells;
}

std::optional<Viewport> WindowsConsoleApi::Window() {
  CONSOLE_SCREEN_BUFFER_INFO info{};
  if (!::GetConsoleScreenBufferInfo(output_, &info)) return std::nullopt;
  const SMALL_RECT& window = info.srWindow;
  return Viewport{window.Left, window.Top, window.Right - window.Left + 1, window.Bottom - window.Top + 1};
}

std::optional<std::uint8_t> WindowsConsoleApi::TextAttribute() {
  CONSOLE_SCREEN_BUFFER_INFO info{};
  if (!::GetConsoleScreenBufferInfo(output_, &info)) return std::nullopt;
  return static_cast<std::uint8_t>(info.wAttributes);
}

void WindowsConsoleApi::Resize(int columns, int rows, int windowColumns, int windowRows) {
  const std::optional<Viewport> window = Window();
  if (!window) return;
  // The window never reaches past the buffer: it shrinks to fit the new size
  // first, then the buffer takes that size, then the window grows to it.
  const SMALL_RECT inside{0, 0, static_cast<SHORT>(std::min(window->columns, columns) - 1),
                          static_cast<SHORT>(std::min(window->rows, rows) - 1)};
  ::SetConsoleWindowInfo(output_, TRUE, &inside);
  ::SetConsoleScreenBufferSize(output_, At(columns, rows));
  const SMALL_RECT whole{0, 0, static_cast<SHORT>(std::min(windowColumns, columns) - 1),
                         static_cast<SHORT>(std::min(windowRows, rows) - 1)};
  ::SetConsoleWindowInfo(output_, TRUE, &whole);
}

ScreenBufferInfo WindowsConsoleApi::GetScreenBufferInfo() {
  CONSOLE_SCREEN_BUFFER_INFO info{};
  if (!::GetConsoleScreenBufferInfo(output_, &info)) return {};
  return {info.dwSize.X, info.dwSize.Y, info.dwCursorPosition.X, info.dwCursorPosition.Y};
}

void WindowsConsoleApi::WriteOutput(std::span<const Cell> cells, int column, int row) {
  std::array<CHAR_INFO, kStagingCells> staging;
  while (!cells.empty()) {
    const std::size_t n = std::min(cells.size(), staging.size());
    std::transform(cells.begin(), cells.begin() + n, staging.begin(), ToCharInfo);
    const int last = column + static_cast<int>(n) - 1;
    SMALL_RECT region{static_cast<SHORT>(column), static_cast<SHORT>(row), static_cast<SHORT>(last),
                      static_cast<SHORT>(row)};
    ::WriteConsoleOutputA(output_, staging.data(), At(static_cast<int>(n), 1), At(0, 0), &region);
    cells = cells.subspan(n);
    column = last + 1;
  }
}

void WindowsConsoleApi::ScrollScreenBuffer(const CellRect& scroll, int destinationColumn, int destinationRow,
                                           Cell fill) {
  const SMALL_RECT region{static_cast<SHORT>(scroll.left), static_cast<SHORT>(scroll.top),
                          static_cast<SHORT>(scroll.right), static_cast<SHORT>(scroll.bottom)};
  const CHAR_INFO fillCell = ToCharInfo(fill);
  ::ScrollConsoleScreenBufferA(output_, &region, nullptr, At(destinationColumn, destinationRow), &fillCell);
}

void WindowsConsoleApi::FillOutputCharacter(std::uint8_t character, std::uint32_t count, int column, int row) {
  DWORD written = 0;
  ::FillConsoleOutputCharacterA(output_, static_cast<CHAR>(character), count, At(column, row), &written);
}

void WindowsConsoleApi::FillOutputAttribute(std::uint8_t attribute, std::uint32_t count, int column, int row) {
  DWORD written = 0;
  ::FillConsoleOutputAttribute(output_, attribute, count, At(column, row), &written);
}

void WindowsConsoleApi::SetTextAttribute(std::uint8_t attribute) { ::SetConsoleTextAttribute(output_, attribute); }

void WindowsConsoleApi::SetCursorPosition(int column, int row) { ::SetConsoleCursorPosition(output_, At(column, row)); }

std::optional<CursorInfo> WindowsConsoleApi::GetCursorInfo() {
  CONSOLE_CURSOR_INFO info{};
  if (!::GetConsoleCursorInfo(output_, &info)) return std::nullopt;
  return CursorInfo{info.dwSize, info.bVisible != FALSE};
}

void WindowsConsoleApi::SetCursorInfo(const CursorInfo& info) {
  const CONSOLE_CURSOR_INFO applied{info.size, info.visible ? TRUE : FALSE};
  ::SetConsoleCursorInfo(output_, &applied);
}

std::optional<InputRecord> WindowsConsoleApi::PeekInput() {
  INPUT_RECORD record{};
  DWORD count = 0;
  if (!::PeekConsoleInputA(input_, &record, 1, &count) || count == 0) return std::nullopt;
  return ToInputRecord(record);
}

void WindowsConsoleApi::ReadInput() {
  INPUT_RECORD record{};
  DWORD count = 0;
  ::ReadConsoleInputA(input_, &record, 1, &count);
}

void WindowsConsoleApi::Beep() { ::MessageBeep(MB_OK); }

void WindowsConsoleApi::Sleep(std::chrono::milliseconds duration) {
  ::Sleep(static_cast<DWORD>(std::max<std::chrono::milliseconds::rep>(duration.count(), 0)));
}

}  // namespace corvane
