#include "dialogue/console_text.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/memory/memory_console.hpp"
#include "support/screen_picture.hpp"

namespace corvane {
namespace {

// A console of `width` by `height` whose text layer has been opened.
struct Console {
  Console(int width, int height) : device(width, height), text(device) { text.OpenConsole(); }
  MemoryConsole device;
  ConsoleText text;
};

// Writing, wrapping and the owed scroll, on a 10 by 4 screen.
class WrapTest : public ::testing::Test {
 protected:
  Console console{10, 4};
  void Fill(int rows) {
    for (int row = 0; row < rows; ++row) console.text.PrintText(std::string(10, static_cast<char>('a' + row)));
  }
};

TEST_F(WrapTest, FullRowPutsCursorOnNextRowAndNewLineLeavesOneBlankRow) {
  console.text.MoveCursor(2, 1);
  console.text.PrintText("0123456789");
  EXPECT_EQ(CursorOf(console.device), (CursorAt{3, 1}));
  console.text.NewLine();
  console.text.PrintText("x");
  EXPECT_TRUE(ScreenIs(console.device, {"", "0123456789", "", "x"}));
}

TEST_F(WrapTest, TextWrapsAtTheCharacterNotAtAWord) {
  console.text.PrintText("one two three");
  EXPECT_TRUE(ScreenIs(console.device, {"one two th", "ree"}));
  EXPECT_EQ(CursorOf(console.device), (CursorAt{2, 4}));
}

TEST_F(WrapTest, FillingTheBottomRowOwesTheScrollUntilTheNextCharacter) {
  Fill(4);
  EXPECT_TRUE(ScreenIs(console.device, {"aaaaaaaaaa", "bbbbbbbbbb", "cccccccccc", "dddddddddd"}));
  EXPECT_TRUE(console.text.PendingLineFeed());
  EXPECT_EQ(CursorOf(console.device), (CursorAt{4, 1}));
  EXPECT_EQ(console.text.CursorRow(), 4);

  console.text.PrintText("e");
  EXPECT_TRUE(ScreenIs(console.device, {"bbbbbbbbbb", "cccccccccc", "dddddddddd", "e"}));
  EXPECT_FALSE(console.text.PendingLineFeed());
  EXPECT_EQ(CursorOf(console.device), (CursorAt{4, 2}));
}

TEST_F(WrapTest, NewLineOnTheBottomRowScrollsOnceAndTwiceWhenAScrollIsOwed) {
  console.text.MoveCursor(4, 1);
  console.text.PrintText("z");
  console.text.NewLine();
  EXPECT_TRUE(ScreenIs(console.device, {"", "", "z", ""}));
  EXPECT_EQ(CursorOf(console.device), (CursorAt{4, 1}));

  console.text.PrintText("yyyyyyyyyy");
  console.text.NewLine();
  EXPECT_TRUE(ScreenIs(console.device, {"z", "yyyyyyyyyy", "", ""}));
  EXPECT_EQ(CursorOf(console.device), (CursorAt{4, 1}));
  EXPECT_FALSE(console.text.PendingLineFeed());
}

TEST_F(WrapTest, ScrolledInRowTakesTheCurrentColours) {
  Fill(4);
  console.text.SetColours(0, 15, 0);
  console.text.PrintText("e");
  EXPECT_EQ(console.device.Screen().At(9, 3), (Cell{' ', 0xF0}));
  EXPECT_EQ(console.device.Screen().At(9, 2), (Cell{'d', 0x07}));
}

TEST_F(WrapTest, ARememberedRowPointsBelowItsTextAfterOneScroll) {
  console.text.MoveCursor(4, 1);
  const int promptRow = console.text.CursorRow();
  console.text.PrintText("prompt");
  console.text.NewLine();
  console.text.MoveCursor(promptRow, 8);
  console.text.PrintText("x");
  EXPECT_TRUE(ScreenIs(console.device, {"", "", "prompt", "       x"}));
}

TEST_F(WrapTest, EmptyTextChangesNothingNotEvenTheOwedScroll) {
  Fill(4);
  console.text.PrintText("");
  EXPECT_TRUE(console.text.PendingLineFeed());
  EXPECT_TRUE(ScreenIs(console.device, {"aaaaaaaaaa", "bbbbbbbbbb", "cccccccccc", "dddddddddd"}));
}

TEST(ConsoleTextCells, ControlBytesAndZeroAreOneGlyphCellEach) {
  Console console(10, 2);
  const std::string text("\x07\x08\x09\x0A\x0D\x00!", 7);
  console.text.PrintText(text);
  for (int column = 0; column < 7; ++column) {
    EXPECT_EQ(console.device.Screen().At(column, 0).character, static_cast<std::uint8_t>(text[column]))
        << "column " << column + 1;
  }
  EXPECT_EQ(CursorOf(console.device), (CursorAt{1, 8}));
  EXPECT_EQ(console.device.Beeps(), 0);
}

TEST(ConsoleTextCells, RowsWiderThanTheStagingBufferAreWrittenWhole) {
  Console console(300, 2);
  console.text.PrintText(std::string(299, 'w') + "xy");
  EXPECT_EQ(console.device.RowText(0), std::string(299, 'w') + "x");
  EXPECT_EQ(console.device.RowText(1), "y");
}

struct MoveCase {
  const char* label;
  int row;
  int column;
  CursorAt expected;
};

TEST(ConsoleTextMoveCursor, EachCoordinateOutOfRangeKeepsItsCurrentValue) {
  const MoveCase cases[] = {
      {"row 0 keeps the row", 0, 5, {10, 5}},
      {"column 81 keeps the column", 3, 81, {3, 7}},
      {"both out of range move nowhere", 43, 0, {10, 7}},
      {"negative row keeps the row", -1, 2, {10, 2}},
      {"corner cell", 42, 80, {42, 80}},
  };
  for (const MoveCase& c : cases) {
    SCOPED_TRACE(c.label);
    Console console(80, 42);
    console.text.MoveCursor(10, 7);
    console.text.MoveCursor(c.row, c.column);
    EXPECT_EQ(CursorOf(console.device), c.expected);
  }
}

TEST(ConsoleTextMoveCursor, AMoveOutOfRangeStillClearsTheOwedScroll) {
  Console console(4, 2);
  console.text.PrintText("abcdefgh");
  ASSERT_TRUE(console.text.PendingLineFeed());
  console.text.MoveCursor(43, 0);
  EXPECT_FALSE(console.text.PendingLineFeed());
  console.text.PrintText("x");
  EXPECT_TRUE(ScreenIs(console.device, {"abcd", "xfgh"}));
}

TEST(ConsoleTextStepBack, StepsBackInReadingOrder) {
  struct Case {
    const char* label;
    CursorAt from;
    CursorAt expected;
  };
  const Case cases[] = {
      {"within a row", {5, 10}, {5, 9}},
      {"from column 1 to the end of the row above", {7, 1}, {6, 80}},
      {"row 1, column 1 goes to the end of row 1", {1, 1}, {1, 80}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    Console console(80, 42);
    console.text.MoveCursor(c.from.row, c.from.column);
    console.text.StepBack();
    EXPECT_EQ(CursorOf(console.device), c.expected);
  }
}

TEST(ConsoleTextStepBack, WithAScrollOwedGoesToTheBottomRightCell) {
  Console console(80, 42);
  console.text.MoveCursor(42, 1);
  console.text.PrintText(std::string(80, 'q'));
  console.text.StepBack();
  EXPECT_EQ(CursorOf(console.device), (CursorAt{42, 80}));
  EXPECT_FALSE(console.text.PendingLineFeed());
}

TEST(ConsoleTextColours, OutOfRangeColoursKeepTheirValueAndTheAttributeIsSetAgain) {
  Console console(10, 2);
  console.text.SetColours(16, 3, 0);
  EXPECT_EQ(console.text.Foreground(), 7u);
  EXPECT_EQ(console.text.Background(), 3u);
  EXPECT_EQ(console.device.Screen().TextAttribute(), 0x37);

  console.device.SetTextAttribute(0);
  console.text.SetColours(-1, -1, 0);
  EXPECT_EQ(console.device.Screen().TextAttribute(), 0x37);
}

TEST(ConsoleTextColours, ACountRecoloursCellsFromTheCursorAndKeepsTheirCharacters) {
  Console console(4, 2);
  console.text.PrintText("abcdef");
  console.text.MoveCursor(1, 3);
  console.text.SetColours(0, 15, 3);
  EXPECT_TRUE(ScreenIs(console.device, {"abcd", "ef"}));
  const std::uint8_t expected[] = {0x07, 0x07, 0xF0, 0xF0, 0xF0, 0x07};
  for (int i = 0; i < 6; ++i) EXPECT_EQ(console.device.Screen().At(i % 4, i / 4).attribute, expected[i]) << i;

  console.text.SetColours(4, 1, 0);
  EXPECT_EQ(console.device.Screen().At(2, 0).attribute, 0xF0);
}

TEST(ConsoleTextColours, ClearScreenInBlackOnBrightWhiteBlanksEveryCell) {
  Console console(6, 3);
  console.text.PrintText("some old text");
  console.text.SetColours(0, 15, 0);
  console.text.ClearScreen();
  for (int row = 0; row < 3; ++row) {
    for (int column = 0; column < 6; ++column) {
      EXPECT_EQ(console.device.Screen().At(column, row), (Cell{' ', 0xF0})) << row << "," << column;
    }
  }
  EXPECT_EQ(CursorOf(console.device), (CursorAt{1, 1}));
}

// Records the cursor shapes the layer applies.
class CursorLog : public MemoryConsole {
 public:
  using MemoryConsole::MemoryConsole;
  void SetCursorInfo(const CursorInfo& info) override {
    applied.push_back(info);
    MemoryConsole::SetCursorInfo(info);
  }
  std::vector<CursorInfo> applied;
};

TEST(ConsoleTextCursor, ModesSetSizeAndVisibility) {
  struct Case {
    int mode;
    CursorInfo expected;
  };
  const Case cases[] = {{0, {25, false}},  {-1, {25, true}}, {1, {10, true}}, {5, {10, true}},
                        {11, {11, true}},  {98, {98, true}}, {99, {99, true}}, {100, {99, true}}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.mode);
    CursorLog device(10, 2);
    ConsoleText text(device);
    text.OpenConsole();  // the memory console starts with a visible cursor of 25%
    text.SetCursorMode(c.mode);
    ASSERT_EQ(device.applied.size(), 1u);
    EXPECT_EQ(device.applied.back(), c.expected);
  }
}

TEST(ConsoleTextCursor, AConsoleThatCannotReportItsCursorGetsAVisibleCursorOfTenPercent) {
  CursorLog device(10, 2);
  device.FailCursorInfo(true);
  ConsoleText text(device);
  text.OpenConsole();
  ASSERT_EQ(device.applied.size(), 1u);
  EXPECT_EQ(device.applied[0], (CursorInfo{10, true}));
}

TEST(ConsoleTextCursor, ClearScreenHidesAShownCursorForTheClearOnly) {
  CursorLog device(10, 2);
  ConsoleText text(device);
  text.OpenConsole();
  text.ClearScreen();
  ASSERT_EQ(device.applied.size(), 2u);
  EXPECT_EQ(device.applied[0], (CursorInfo{25, false}));
  EXPECT_EQ(device.applied[1], (CursorInfo{25, true}));

  device.applied.clear();
  text.SetCursorMode(0);
  text.ClearScreen();
  EXPECT_EQ(device.applied.size(), 1u) << "a hidden cursor is never shown by a clear";
  EXPECT_FALSE(device.Screen().Cursor().visible);
}

TEST(ConsoleTextServices, BeepAndPauseReachTheConsole) {
  Console console(10, 2);
  console.text.SystemBeep();
  console.text.Pause(100);
  EXPECT_EQ(console.device.Beeps(), 1);
  EXPECT_EQ(console.device.Slept(), std::chrono::milliseconds(100));
}

}  // namespace
}  // namespace corvane
