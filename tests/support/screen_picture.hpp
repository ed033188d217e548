#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/memory/memory_console.hpp"

// Compares the whole screen with a picture: one string per row, trailing
// blanks left out. A failure names the first row that differs.
inline ::testing::AssertionResult ScreenIs(const corvane::MemoryConsole& console,
                                           const std::vector<std::string>& picture) {
  const std::vector<std::string> rows = console.Rows();
  for (std::size_t row = 0; row < rows.size(); ++row) {
    const std::string expected = row < picture.size() ? picture[row] : "";
    if (rows[row] != expected) {
      return ::testing::AssertionFailure()
             << "row " << row + 1 << " is \"" << rows[row] << "\", expected \"" << expected << "\"";
    }
  }
  return ::testing::AssertionSuccess();
}

// The cursor as the tests speak of it: 1-based row and column.
struct CursorAt {
  int row;
  int column;
  friend bool operator==(const CursorAt&, const CursorAt&) = default;
  friend std::ostream& operator<<(std::ostream& out, const CursorAt& at) {
    return out << "(row " << at.row << ", column " << at.column << ")";
  }
};

inline CursorAt CursorOf(const corvane::MemoryConsole& console) {
  return {console.Screen().CursorRow() + 1, console.Screen().CursorColumn() + 1};
}
