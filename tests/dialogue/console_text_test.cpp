#include "dialogue/console_text.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/memory/memory_console.hpp"
#include "support/screen_picture.hpp"

namespace corvane {
namespace {

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

// A console of `width` by `height` whose text layer has been opened; the
// memory console starts with a visible cursor of 25%.
struct Console {
  Console(int width, int height) : device(width, height), text(device) { text.OpenConsole(); }
  CursorLog device;
  ConsoleText text;
};

TEST(ConsoleTextWrap, AFullRowPutsTheCursorOnTheNextRowAndNewLineLeavesOneBlankRow) {
  Console console(10, 4);
  console.text.PrintText("one two three");
  EXPECT_EQ(CursorOf(console.device), (CursorAt{2, 4}));
  console.text.PrintText("abcdefg");
  EXPECT_EQ(CursorOf(console.device), (CursorAt{3, 1}));
  console.text.NewLine();
  console.text.PrintText("x");
  EXPECT_TRUE(ScreenIs(console.device, {"one two th", "reeabcdefg", "", "x"}));
}

TEST(ConsoleTextWrap, FillingTheBottomRowOwesTheScrollUntilTheNextCharacter) {
  Console console(4, 3);
  console.text.PrintText("aaaabbbbcccc");
  console.text.PrintText("");
  EXPECT_TRUE(ScreenIs(console.device, {"aaaa", "bbbb", "cccc"}));
  EXPECT_TRUE(console.text.PendingLineFeed());
  EXPECT_EQ(CursorOf(console.device), (CursorAt{3, 1}));
  EXPECT_EQ(console.text.CursorRow(), 3);

  console.text.SetColours(0, 15, 0);
  console.text.PrintText("d");
  EXPECT_TRUE(ScreenIs(console.device, {"bbbb", "cccc", "d"}));
  EXPECT_EQ(CursorOf(console.device), (CursorAt{3, 2}));
  EXPECT_EQ(console.device.Screen().At(3, 2), (Cell{' ', 0xF0})) << "the new row is blank in the current colours";
  EXPECT_EQ(console.device.Screen().At(3, 1), (Cell{'c', 0x07}));
}

TEST(ConsoleTextWrap, NewLineOnTheBottomRowScrollsOnceAndTwiceWhenAScrollIsOwed) {
  Console console(4, 4);
  console.text.MoveCursor(4, 1);
  console.text.PrintText("z");
  console.text.NewLine();
  console.text.PrintText("yyyy");
  console.text.NewLine();
  EXPECT_TRUE(ScreenIs(console.device, {"z", "yyyy", "", ""}));
  EXPECT_FALSE(console.text.PendingLineFeed());
}

TEST(ConsoleTextWrap, EveryByteIsOneGlyphCellAndWideRowsAreWrittenWhole) {
  Console console(300, 2);
  const std::string controls("\x07\x08\x09\x0A\x0D\x00", 6);
  console.text.PrintText(controls + std::string(293, 'w') + "xy");
  EXPECT_EQ(console.device.RowText(0), controls + std::string(293, 'w') + "x");
  EXPECT_EQ(console.device.RowText(1), "y");
  EXPECT_EQ(console.device.Beeps(), 0);
}

// Moves keep each coordinate that is out of range; a step back goes to the
// previous cell in reading order, from row 1, column 1 to the end of row 1.
TEST(ConsoleTextCursor, MovesAndStepBack) {
  struct Case {
    const char* label;
    CursorAt from;
    CursorAt to;  // {0, 0}: a step back
    CursorAt expected;
  };
  const Case cases[] = {
      {"row 0 keeps the row", {10, 7}, {0, 5}, {10, 5}},
      {"column 81 keeps the column", {10, 7}, {3, 81}, {3, 7}},
      {"both out of range move nowhere", {10, 7}, {43, 0}, {10, 7}},
      {"the corner cell", {10, 7}, {42, 80}, {42, 80}},
      {"back within a row", {5, 10}, {0, 0}, {5, 9}},
      {"back from column 1 to the row above", {7, 1}, {0, 0}, {6, 80}},
      {"back from the first cell", {1, 1}, {0, 0}, {1, 80}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    Console console(80, 42);
    console.text.MoveCursor(c.from.row, c.from.column);
    if (c.to == CursorAt{0, 0}) {
      console.text.StepBack();
    } else {
      console.text.MoveCursor(c.to.row, c.to.column);
    }
    EXPECT_EQ(CursorOf(console.device), c.expected);
  }
}

TEST(ConsoleTextCursor, AnOwedScrollIsForgottenByMovesAndStepBack) {
  Console console(4, 2);
  console.text.PrintText("abcdefgh");
  console.text.StepBack();
  EXPECT_EQ(CursorOf(console.device), (CursorAt{2, 4})) << "back onto the last character written";
  EXPECT_FALSE(console.text.PendingLineFeed());

  console.text.PrintText("H");
  console.text.MoveCursor(43, 0);  // moves nowhere, still forgets the scroll
  console.text.PrintText("x");
  EXPECT_TRUE(ScreenIs(console.device, {"abcd", "xfgH"}));
}

TEST(ConsoleTextColours, OutOfRangeNumbersKeepTheirColourAndACountRecoloursCells) {
  Console console(4, 2);
  console.text.PrintText("abcdef");
  console.text.MoveCursor(1, 3);
  console.text.SetColours(16, 3, 3);
  EXPECT_EQ(console.device.Screen().TextAttribute(), 0x37);
  EXPECT_TRUE(ScreenIs(console.device, {"abcd", "ef"}));
  const std::uint8_t recoloured[] = {0x07, 0x07, 0x37, 0x37, 0x37, 0x07};
  for (int i = 0; i < 6; ++i) EXPECT_EQ(console.device.Screen().At(i % 4, i / 4).attribute, recoloured[i]) << i;

  console.device.SetTextAttribute(0);
  console.text.SetColours(-1, -1, 0);
  EXPECT_EQ(console.device.Screen().TextAttribute(), 0x37) << "the attribute is set again";
  EXPECT_EQ(console.device.Screen().At(0, 0).attribute, 0x07) << "a count of 0 recolours nothing";
}

TEST(ConsoleTextColours, ClearScreenBlanksEveryCellInTheCurrentColours) {
  Console console(6, 3);
  console.text.PrintText("some old text");
  console.text.SetColours(0, 15, 0);
  console.text.ClearScreen();
  for (int i = 0; i < 18; ++i) EXPECT_EQ(console.device.Screen().At(i % 6, i / 6), (Cell{' ', 0xF0})) << i;
  EXPECT_EQ(CursorOf(console.device), (CursorAt{1, 1}));
}

TEST(ConsoleTextCursor, ModesSetSizeAndVisibility) {
  struct Case {
    int mode;
    CursorInfo expected;
  };
  const Case cases[] = {{0, {25, false}}, {-1, {25, true}}, {5, {10, true}},
                        {11, {11, true}}, {98, {98, true}}, {100, {99, true}}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.mode);
    Console console(10, 2);
    console.text.SetCursorMode(c.mode);
    EXPECT_EQ(console.device.applied, std::vector<CursorInfo>{c.expected});
  }
}

TEST(ConsoleTextCursor, AConsoleThatCannotReportItsCursorGetsAVisibleCursorOfTenPercent) {
  CursorLog device(10, 2);
  device.FailCursorInfo(true);
  ConsoleText(device).OpenConsole();
  EXPECT_EQ(device.applied, std::vector<CursorInfo>{(CursorInfo{10, true})});
}

TEST(ConsoleTextCursor, ClearScreenHidesAShownCursorForTheClearOnlyAndNeverShowsAHiddenOne) {
  Console console(10, 2);
  console.text.ClearScreen();
  EXPECT_EQ(console.device.applied, (std::vector<CursorInfo>{{25, false}, {25, true}}));

  console.text.SetCursorMode(0);
  console.device.applied.clear();
  console.text.ClearScreen();
  EXPECT_TRUE(console.device.applied.empty());
}

}  // namespace
}  // namespace corvane
