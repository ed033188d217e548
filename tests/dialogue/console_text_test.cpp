#include "dialogue/console_text.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/screen/memory_console.hpp"
#include "support/screen_picture.hpp"

namespace corvane {
namespace {

using Rows = std::vector<std::string>;

// A console of `width` by `height` whose text layer has been opened; the
// memory console starts with a visible cursor of 25%.
struct Console {
  Console(int width, int height) : device(width, height), text(device) { text.OpenConsole(); }
  MemoryConsole device;
  ConsoleText text;
};

// The owed scroll is paid by the next character, in the current colours, or
// by a line end, which then scrolls once more for itself.
TEST(ConsoleTextWrap, FillingTheBottomRowOwesTheScrollUntilTheNextCharacterOrLineEnd) {
  Console console(4, 3);
  console.text.PrintText("aaaabbbbcccc");
  console.text.PrintText("");
  EXPECT_EQ(console.device.Rows(), (Rows{"aaaa", "bbbb", "cccc"}));
  EXPECT_TRUE(console.text.PendingLineFeed());
  EXPECT_EQ(CursorOf(console.device), (CursorAt{3, 1}));
  EXPECT_EQ(console.text.CursorRow(), 3);

  console.text.SetColours(0, 15, 0);
  console.text.PrintText("d");
  EXPECT_EQ(console.device.Rows(), (Rows{"bbbb", "cccc", "d"}));
  EXPECT_EQ(CursorOf(console.device), (CursorAt{3, 2}));
  EXPECT_EQ(console.device.Screen().At(3, 2), (Cell{' ', 0xF0})) << "the new row is blank in the current colours";
  EXPECT_EQ(console.device.Screen().At(3, 1), (Cell{'c', 0x07}));

  console.text.PrintText("eee");
  console.text.NewLine();  // two scrolls
  console.text.PrintText("z");
  console.text.NewLine();  // one
  EXPECT_EQ(console.device.Rows(), (Rows{"", "z", ""}));
}

// Control codes are glyphs like any byte; a row wider than one write goes out
// in several.
TEST(ConsoleTextWrap, EveryByteIsOneGlyphCellAndWideRowsAreWrittenWhole) {
  Console console(300, 2);
  const std::string controls("\x07\x08\x09\x0A\x0D\x00", 6);
  console.text.PrintText(controls + std::string(293, 'w') + "xy");
  EXPECT_EQ(console.device.Rows(), (Rows{controls + std::string(293, 'w') + "x", "y"}));
  EXPECT_EQ(console.device.Beeps(), 0);
}

// Moves keep each coordinate that is out of range; a step back goes to the
// previous cell in reading order, from row 1, column 1 to the end of row 1.
TEST(ConsoleTextCursor, MovesKeepACoordinateOutOfRangeAndStepBackGoesToThePreviousCell) {
  const struct {
    CursorAt from, to, expected;  // `to` {0, 0}: a step back
  } cases[] = {{{10, 7}, {0, 5}, {10, 5}},    {{10, 7}, {3, 81}, {3, 7}}, {{10, 7}, {43, 0}, {10, 7}},
               {{10, 7}, {42, 80}, {42, 80}}, {{5, 10}, {0, 0}, {5, 9}},  {{7, 1}, {0, 0}, {6, 80}},
               {{1, 1}, {0, 0}, {1, 80}}};
  for (const auto& c : cases) {
    Console console(80, 42);
    console.text.MoveCursor(c.from.first, c.from.second);
    c.to == CursorAt{0, 0} ? console.text.StepBack() : console.text.MoveCursor(c.to.first, c.to.second);
    EXPECT_EQ(CursorOf(console.device), c.expected) << "from " << testing::PrintToString(c.from);
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
  EXPECT_EQ(console.device.Rows(), (Rows{"abcd", "xfgH"}));
}

// Cursor modes give the console its cursor's size and visibility. A clear
// blanks every cell in the current colours and takes the cursor home; it hides
// a shown cursor for its own time and never shows a hidden one.
TEST(ConsoleTextCursor, ModesSetSizeAndVisibilityAndAClearHidesTheCursorForItsOwnTime) {
  const std::pair<int, CursorInfo> modes[] = {{0, {25, false}}, {-1, {25, true}}, {5, {10, true}},
                                              {11, {11, true}}, {98, {98, true}}, {100, {99, true}}};
  for (const auto& [mode, expected] : modes) {
    Console console(10, 2);
    console.text.SetCursorMode(mode);
    EXPECT_EQ(console.device.Screen().Cursor(), expected) << "mode " << mode;
  }
  Console console(6, 3);
  console.text.PrintText("some old text");
  console.text.SetColours(0, 15, 0);
  std::vector<bool> shown;
  console.device.SetOnChange([&] { shown.push_back(console.device.Screen().Cursor().visible); });
  console.text.ClearScreen();
  for (int i = 0; i < 18; ++i) EXPECT_EQ(console.device.Screen().At(i % 6, i / 6), (Cell{' ', 0xF0})) << i;
  EXPECT_EQ(CursorOf(console.device), (CursorAt{1, 1}));
  EXPECT_FALSE(shown.front()) << "hidden for the clear";
  EXPECT_TRUE(shown.back()) << "and shown again";
  console.text.SetCursorMode(0);
  shown.clear();
  console.text.ClearScreen();
  EXPECT_EQ(std::count(shown.begin(), shown.end(), true), 0);
}

}  // namespace
}  // namespace corvane
