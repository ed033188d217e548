#include "platform/posix/terminal_renderer.hpp"

#include <gtest/gtest.h>
#include <iconv.h>

#include <cstdio>
#include <string>
#include <vector>

#include "platform/posix/cp437.hpp"

namespace corvane {
namespace {

using Rows = std::vector<std::string>;

// Writes text into one row of the buffer, all in one attribute.
void Put(ScreenBuffer& screen, int column, int row, std::string_view text, std::uint8_t attribute = 0x07) {
  for (char c : text) screen.WriteOutput(std::vector<Cell>{{static_cast<std::uint8_t>(c), attribute}}, column++, row);
}

// A renderer and a small model of the ANSI terminal it draws on: the model follows cursor moves,
// the erase of the display and autowrap (colours and cursor visibility are checked on the bytes), and
// fails the test on a move off the screen or on a glyph that would make the terminal wrap or scroll.
struct Display {
  Display(int width, int height) : columns(width), rows(height), glyphs(width * height, " ") {
    Apply(TerminalRenderer::StartSequence());
  }
  std::string Show(const ScreenBuffer& screen) {
    ScreenDrawing drawing = DrawScreen(screen, std::move(shown), columns, rows);
    const std::string bytes = renderer.Render(drawing);
    shown = std::move(drawing.shown);
    Apply(bytes);
    return bytes;
  }
  void Apply(std::string_view bytes) {
    for (std::size_t i = 0; i < bytes.size();) {
      const auto lead = static_cast<unsigned char>(bytes[i]);
      if (lead == 0x1B) {
        const std::size_t end = bytes.find_first_not_of("0123456789;?", i + 2);
        ASSERT_TRUE(bytes.substr(i, 2) == "\x1B[" && end != std::string_view::npos) << "bad sequence at " << i;
        const std::string parameters(bytes.substr(i + 2, end - i - 2));
        if (parameters == "?7") autowrap = bytes[end] == 'h';
        if (parameters == "2" && bytes[end] == 'J') glyphs.assign(glyphs.size(), " ");
        ASSERT_TRUE(bytes[end] != 'H' || std::sscanf(parameters.c_str(), "%d;%d", &row, &column) == 2) << parameters;
        ASSERT_TRUE(row >= 1 && row <= rows && column >= 1 && column <= columns) << "cursor moved off screen";
        i = end + 1;
      } else {
        if (column >= columns && autowrap) ADD_FAILURE() << "the terminal would wrap after row " << row;
        const std::size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        glyphs[(row - 1) * columns + std::min(column++, columns) - 1] = bytes.substr(i, length);
        i += length;
      }
    }
  }
  Rows Shown() const {
    Rows text(rows);
    for (int i = 0; i < columns * rows; ++i) text[i / columns] += glyphs[i];
    return text;
  }

  TerminalRenderer renderer;
  ShownScreen shown;
  int columns, rows;
  std::vector<std::string> glyphs;
  int column = 1, row = 1;  // 1-based, as the terminal counts
  bool autowrap = true;
};

TEST(TerminalRenderer, DrawsEveryByteAsItsGlyphThenOnlyWhatChanged) {
  ScreenBuffer screen(6, 2);
  Put(screen, 0, 0, std::string_view("\x07\x08\x09\x0A\x0D\x00", 6));
  Put(screen, 0, 1, "\x7F\xC9\xCD\xE1\x82Z");  // the bottom-right cell must not scroll the terminal
  Display display(6, 2);
  display.Show(screen);
  EXPECT_EQ(display.Shown(), (Rows{"•◘○◙♪ ", "⌂╔═ßéZ"}));
  EXPECT_EQ(display.Show(screen), "") << "nothing changed";
  Put(screen, 2, 1, "X");
  EXPECT_EQ(display.Show(screen), "\x1B[?25l\x1B[2;3HX\x1B[1;1H\x1B[?25h");
  screen.SetCursorPosition(3, 0);
  EXPECT_EQ(display.Show(screen), "\x1B[1;4H") << "a cursor move alone moves the cursor";
  screen.SetCursorInfo({25, false});
  Put(screen, 0, 0, "pq", 0x1E);
  EXPECT_EQ(display.Show(screen), "\x1B[?25l\x1B[1;1H\x1B[93;44mpq\x1B[1;4H") << "a hidden cursor stays hidden";
  EXPECT_EQ(display.Shown(), (Rows{"pq○◙♪ ", "⌂╔XßéZ"}));
  screen.Resize(2, 1);
  display.Show(screen);
  EXPECT_EQ(display.Shown(), (Rows{"pq    ", "      "})) << "a shrunken buffer leaves no old cells behind";
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
