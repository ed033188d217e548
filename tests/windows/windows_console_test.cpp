#include "platform/windows/windows_console.hpp"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "console_fixture.hpp"
#include "dialogue/console_text.hpp"
#include "support/temp_folder.hpp"

namespace corvane {
namespace {

using WindowsConsoleTest = ConsoleFixture;

TEST_F(WindowsConsoleTest, TheTextLayersWritesReadBackFromTheConsole) {
  ConsoleText text(console_);
  text.OpenConsole();
  text.SetColours(0, 15, 0);
  text.ClearScreen();
  // A row and a bit from row 5; the control bytes show as cells of their own.
  text.MoveCursor(5, 1);
  text.PrintText(std::string(78, 'a').append("\x07\x08\x09\x0A\x0D"));
  // The bottom row filled to its last cell scrolls nothing until the next
  // character comes.
  text.SetColours(8, 15, 0);
  text.MoveCursor(42, 76);
  text.PrintText("bcdef");
  EXPECT_EQ(Rows()[5], "\x09\x0A\x0D") << "nothing scrolled yet";
  text.PrintChar('z');

  std::vector<std::string> expected(42);
  expected[3] = std::string(78, 'a').append("\x07\x08");
  expected[4] = std::string("\x09\x0A\x0D");
  expected[40] = std::string(75, ' ').append("bcdef");
  expected[41] = std::string("z");
  const std::vector<std::string> rows = Rows();
  for (std::size_t row = 0; row < expected.size(); ++row) EXPECT_EQ(rows[row], expected[row]) << "row " << row + 1;

  const auto attributeAt = [&](int column, int row) { return console_.ReadCells(column, row, 1)[0].attribute; };
  EXPECT_EQ(attributeAt(0, 0), 0xF0) << "cleared in black on bright white";
  EXPECT_EQ(attributeAt(79, 40), 0xF8) << "written in dark grey";
  EXPECT_EQ(attributeAt(1, 41), 0xF8) << "the row scrolled in takes the current colours";
  CONSOLE_SCREEN_BUFFER_INFO info{};
  ::GetConsoleScreenBufferInfo(buffer_, &info);
  EXPECT_EQ(std::pair(info.dwCursorPosition.X, info.dwCursorPosition.Y), (std::pair<SHORT, SHORT>(1, 41)));

  text.SetCursorMode(0);
  CONSOLE_CURSOR_INFO cursor{};
  ::GetConsoleCursorInfo(buffer_, &cursor);
  EXPECT_FALSE(cursor.bVisible);
  text.SetCursorMode(50);
  ::GetConsoleCursorInfo(buffer_, &cursor);
  EXPECT_EQ(std::pair(cursor.dwSize, cursor.bVisible), (std::pair<DWORD, BOOL>(50, TRUE)));
}

// With standard output and error both redirected to a file, the dialogue is
// drawn on the console's own screen buffer, never into the file.
TEST(WindowsConsole, BothOutputStreamsRedirectedDrawOnTheConsole) {
  TempFolder folder;
  const HANDLE file =
      ::CreateFileA(folder.Path("out.txt").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  const HANDLE output = ::GetStdHandle(STD_OUTPUT_HANDLE);
  const HANDLE error = ::GetStdHandle(STD_ERROR_HANDLE);
  ::SetStdHandle(STD_OUTPUT_HANDLE, file);
  ::SetStdHandle(STD_ERROR_HANDLE, file);
  {
    WindowsConsole console;
    DWORD mode = 0;
    EXPECT_TRUE(::GetConsoleMode(console.OutputHandle(), &mode)) << "drawn on a console";
  }
  ::SetStdHandle(STD_OUTPUT_HANDLE, output);
  ::SetStdHandle(STD_ERROR_HANDLE, error);
  ::CloseHandle(file);
}

}  // namespace
}  // namespace corvane
