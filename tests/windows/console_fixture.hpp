#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "dialogue/console_device.hpp"
#include "platform/windows/windows_console.hpp"

// A screen buffer of the process's real console, made for the test and never
// shown, and the console's input, emptied before the test. The process must
// have a console: under wine it gets one when it starts on a terminal.
class ConsoleFixture : public ::testing::Test {
 protected:
  ~ConsoleFixture() override {
    if (buffer_ != INVALID_HANDLE_VALUE) ::CloseHandle(buffer_);
    if (input_ != INVALID_HANDLE_VALUE) ::CloseHandle(input_);
  }

  void SetUp() override {
    ASSERT_NE(buffer_, INVALID_HANDLE_VALUE) << "no console: start the tests on a terminal";
    ASSERT_NE(input_, INVALID_HANDLE_VALUE) << "no console input";
    ::FlushConsoleInputBuffer(input_);
    Resize(80, 42);
  }

  // Gives the buffer a size and the window the whole of it, as a console
  // window shows its buffer; the window shrinks first so that it fits.
  void Resize(int width, int height) {
    const SMALL_RECT corner{0, 0, 0, 0};
    ::SetConsoleWindowInfo(buffer_, TRUE, &corner);
    ASSERT_TRUE(::SetConsoleScreenBufferSize(buffer_, COORD{static_cast<SHORT>(width), static_cast<SHORT>(height)}));
    const SMALL_RECT whole{0, 0, static_cast<SHORT>(width - 1), static_cast<SHORT>(height - 1)};
    ASSERT_TRUE(::SetConsoleWindowInfo(buffer_, TRUE, &whole));
  }

  COORD Size() const {
    CONSOLE_SCREEN_BUFFER_INFO info{};
    ::GetConsoleScreenBufferInfo(buffer_, &info);
    return info.dwSize;
  }

  // Every row of the buffer as the console holds it, right-trimmed of blanks.
  std::vector<std::string> Rows() {
    std::vector<std::string> rows;
    const COORD size = Size();
    for (int row = 0; row < size.Y; ++row) {
      std::string text;
      for (const corvane::Cell& cell : console_.ReadCells(0, row, size.X)) text += static_cast<char>(cell.character);
      text.erase(text.find_last_not_of(' ') + 1);
      rows.push_back(text);
    }
    return rows;
  }

  void Queue(const INPUT_RECORD& record) {
    DWORD written = 0;
    ASSERT_TRUE(::WriteConsoleInputA(input_, &record, 1, &written));
    ASSERT_EQ(written, 1u);
  }

  static INPUT_RECORD Key(bool down, char character, WORD scanCode, WORD virtualKey = 0, DWORD state = 0) {
    INPUT_RECORD record{};
    record.EventType = KEY_EVENT;
    record.Event.KeyEvent.bKeyDown = down;
    record.Event.KeyEvent.wRepeatCount = 1;
    record.Event.KeyEvent.wVirtualKeyCode = virtualKey;
    record.Event.KeyEvent.wVirtualScanCode = scanCode;
    record.Event.KeyEvent.uChar.AsciiChar = character;
    record.Event.KeyEvent.dwControlKeyState = state;
    return record;
  }

  HANDLE buffer_ = ::CreateConsoleScreenBuffer(GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                               nullptr, CONSOLE_TEXTMODE_BUFFER, nullptr);
  // The test writes input records, so the input is opened for writing too.
  HANDLE input_ = ::CreateFileA("CONIN$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, 0, nullptr);
  corvane::WindowsConsole console_{buffer_, input_};
};
