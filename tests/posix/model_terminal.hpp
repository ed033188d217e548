#pragma once

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

// A small ANSI terminal for the tests: it understands exactly the sequences a
// well-behaved renderer needs (cursor position, erase display, SGR colours,
// cursor visibility, autowrap) and reports anything else, and any write that
// would wrap or leave the screen, as a test failure.
class ModelTerminal {
 public:
  struct Cell {
    std::string glyph = " ";
    int foreground = 39;  // SGR codes; 39 and 49 are the terminal's own colours
    int background = 49;
  };

  ModelTerminal(int columns, int rows) : columns_(columns), rows_(rows), cells_(columns * rows) {}

  void Apply(std::string_view bytes) {
    for (std::size_t i = 0; i < bytes.size();) {
      if (bytes[i] == '\x1B') {
        i = ApplySequence(bytes, i);
      } else {
        i = ApplyGlyph(bytes, i);
      }
    }
  }

  const Cell& At(int column, int row) const { return cells_[row * columns_ + column]; }
  std::string Row(int row) const {
    std::string text;
    for (int column = 0; column < columns_; ++column) text += At(column, row).glyph;
    return text;
  }
  std::vector<std::string> Rows() const {
    std::vector<std::string> rows;
    for (int row = 0; row < rows_; ++row) rows.push_back(Row(row));
    return rows;
  }
  int CursorColumn() const { return column_; }
  int CursorRow() const { return row_; }
  bool CursorVisible() const { return cursorVisible_; }
  bool Autowrap() const { return autowrap_; }

 private:
  std::size_t ApplySequence(std::string_view bytes, std::size_t start) {
    if (start + 1 >= bytes.size() || bytes[start + 1] != '[') {
      ADD_FAILURE() << "unexpected escape at byte " << start;
      return bytes.size();
    }
    std::size_t end = start + 2;
    while (end < bytes.size() && ((bytes[end] >= '0' && bytes[end] <= '9') || bytes[end] == ';' || bytes[end] == '?')) {
      ++end;
    }
    if (end >= bytes.size()) {
      ADD_FAILURE() << "unfinished sequence";
      return bytes.size();
    }
    Execute(std::string(bytes.substr(start + 2, end - start - 2)), bytes[end]);
    return end + 1;
  }

  static std::vector<int> Numbers(const std::string& parameters) {
    std::vector<int> numbers{0};
    for (char c : parameters) {
      if (c == ';') {
        numbers.push_back(0);
      } else {
        numbers.back() = numbers.back() * 10 + (c - '0');
      }
    }
    return numbers;
  }

  void Execute(const std::string& parameters, char final) {
    if (parameters == "?25" && (final == 'h' || final == 'l')) {
      cursorVisible_ = final == 'h';
    } else if (parameters == "?7" && (final == 'h' || final == 'l')) {
      autowrap_ = final == 'h';
    } else if (final == 'H') {
      const std::vector<int> n = Numbers(parameters);
      row_ = n[0] - 1;
      column_ = n.size() > 1 ? n[1] - 1 : 0;
      pastEnd_ = false;
      if (row_ < 0 || row_ >= rows_ || column_ < 0 || column_ >= columns_) ADD_FAILURE() << "cursor moved off screen";
    } else if (final == 'J' && parameters == "2") {
      for (Cell& cell : cells_) cell = Cell{" ", foreground_, background_};
    } else if (final == 'm') {
      for (int code : Numbers(parameters)) SetColour(code);
    } else {
      ADD_FAILURE() << "unexpected sequence ESC [" << parameters << final;
    }
  }

  void SetColour(int code) {
    if (code == 0) {
      foreground_ = 39;
      background_ = 49;
    } else if ((code >= 30 && code <= 37) || (code >= 90 && code <= 97)) {
      foreground_ = code;
    } else if ((code >= 40 && code <= 47) || (code >= 100 && code <= 107)) {
      background_ = code;
    } else {
      ADD_FAILURE() << "unexpected SGR " << code;
    }
  }

  std::size_t ApplyGlyph(std::string_view bytes, std::size_t start) {
    const auto lead = static_cast<unsigned char>(bytes[start]);
    if (lead < 0x20 || lead == 0x7F) ADD_FAILURE() << "control byte " << int{lead} << " sent to the terminal";
    const std::size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    if (pastEnd_) ADD_FAILURE() << "glyph written past the right edge";
    cells_[row_ * columns_ + column_] = Cell{std::string(bytes.substr(start, length)), foreground_, background_};
    if (column_ + 1 < columns_) {
      ++column_;
    } else if (autowrap_) {
      ADD_FAILURE() << "the terminal would wrap (and scroll at the bottom) after row " << row_;
    } else {
      pastEnd_ = true;  // the next glyph would overwrite this one
    }
    return start + length;
  }

  int columns_;
  int rows_;
  std::vector<Cell> cells_;
  int column_ = 0;
  int row_ = 0;
  int foreground_ = 39;
  int background_ = 49;
  bool cursorVisible_ = true;
  bool autowrap_ = true;
  bool pastEnd_ = false;
};
