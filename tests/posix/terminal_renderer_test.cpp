#include "platform/posix/terminal_renderer.hpp"

#include <gtest/gtest.h>
#include <iconv.h>

#include <string>
#include <vector>

#include "platform/posix/cp437.hpp"

namespace corvane {
namespace {

// Writes text into one row of the buffer, all in one attribute.
void Put(ScreenBuffer& screen, int column, int row, std::string_view text, std::uint8_t attribute = 0x07) {
  for (char c : text) screen.WriteOutput(std::vector<Cell>{{static_cast<std::uint8_t>(c), attribute}}, column++, row);
}

// The bytes that bring a terminal of 6 by 2 cells to the screen, drawing by
// drawing, as the terminal console sends them.
struct Terminal {
  std::string Show(const ScreenBuffer& screen) {
    ScreenDrawing drawing = DrawScreen(screen, std::move(shown), 6, 2);
    const std::string bytes = renderer.Render(drawing);
    shown = std::move(drawing.shown);
    return bytes;
  }
  TerminalRenderer renderer;
  ShownScreen shown;
};

// Every byte shows as its glyph, control bytes included. A blanking resets
// the terminal's colours first; each run of changed cells costs one cursor
// move, a colour is sent only where it changes, and the cursor hides while
// cells are drawn and then stands on the screen's cursor, shown as that is.
TEST(TerminalRenderer, DrawsEveryByteAsItsGlyphThenOnlyWhatChanged) {
  ScreenBuffer screen(6, 2);
  Put(screen, 0, 0, std::string_view("\x07\x08\x09\x0A\x0D\x00", 6));
  Put(screen, 0, 1, "\x7F\xC9\xCD\xE1\x82Z");
  Terminal terminal;
  EXPECT_EQ(terminal.Show(screen),
            "\x1B[0m\x1B[2J\x1B[?25l\x1B[1;1H\x1B[37;40m•◘○◙♪ \x1B[2;1H⌂╔═ßéZ\x1B[1;1H\x1B[?25h");
  EXPECT_EQ(terminal.Show(screen), "") << "nothing changed";
  Put(screen, 2, 1, "X");
  EXPECT_EQ(terminal.Show(screen), "\x1B[?25l\x1B[2;3HX\x1B[1;1H\x1B[?25h");
  screen.SetCursorPosition(3, 0);
  EXPECT_EQ(terminal.Show(screen), "\x1B[1;4H") << "a cursor move alone moves the cursor";
  screen.SetCursorInfo({25, false});
  Put(screen, 0, 0, "pq", 0xF8);  // the dialogue's dark grey on bright white
  EXPECT_EQ(terminal.Show(screen), "\x1B[?25l\x1B[1;1H\x1B[90;107mpq\x1B[1;4H") << "a hidden cursor stays hidden";
  screen.Resize(2, 2);
  EXPECT_EQ(terminal.Show(screen), "\x1B[0m\x1B[2J\x1B[?25l\x1B[1;1H\x1B[90;107mpq\x1B[2;1H\x1B[37;40m⌂╔\x1B[1;2H")
      << "all known anew";
}

// The upper half of code page 437, which names are typed in, against the C
// library's own table of the code page.
TEST(TerminalRenderer, TheUpperHalfOfTheCodePageIsTheCLibrarysCp437) {
  const iconv_t convert = ::iconv_open("UTF-8", "CP437");
  if (convert == reinterpret_cast<iconv_t>(-1)) GTEST_SKIP() << "no CP437 converter here";
  for (int byte = 0x80; byte <= 0xFF; ++byte) {
    char in = static_cast<char>(byte), out[8] = {};
    char *inPointer = &in, *outPointer = out;
    std::size_t inLeft = 1, outLeft = sizeof out;
    ASSERT_NE(::iconv(convert, &inPointer, &inLeft, &outPointer, &outLeft), static_cast<std::size_t>(-1));
    std::string ours;
    AppendCp437Glyph(ours, static_cast<std::uint8_t>(byte));
    EXPECT_EQ(ours, std::string(out, outPointer)) << "byte " << byte;
  }
  ::iconv_close(convert);
}

}  // namespace
}  // namespace corvane
