#include <gtest/gtest.h>

#include "dialogue/console_text.hpp"
#include "dialogue/number_format.hpp"
#include "platform/memory/memory_console.hpp"

namespace corvane {
namespace {

// A figure line as the dialogue builds it: label, number, unit. The number's
// own trailing blank separates it from the unit; nothing else is printed.
TEST(PrintNumberTest, PrintsTheWholeTextAtTheCursor) {
  MemoryConsole device(80, 4);
  ConsoleText console(device);
  console.OpenConsole();
  console.PrintText("Sample rate ");
  PrintNumber(console, ExtendedReal::FromInteger(44100), NumberForm::Long);
  console.PrintText("Hz");
  console.NewLine();
  console.PrintText("Channels ");
  PrintNumber(console, ExtendedReal::FromInteger(-1), NumberForm::Short);
  console.PrintText("|");
  console.NewLine();
  console.PrintText("Length ");
  PrintNumber(console, ExtendedReal::FromInteger(12345678), NumberForm::Short);
  console.PrintText("|");
  EXPECT_EQ(device.RowText(0), "Sample rate  44100 Hz");
  EXPECT_EQ(device.RowText(1), "Channels -1 |");
  EXPECT_EQ(device.RowText(2), "Length  1.234568E+7 |");
}

}  // namespace
}  // namespace corvane
