#include "dialogue/console_text.hpp"
#include "dialogue/number_format.hpp"

namespace corvane {

void PrintNumber(ConsoleText& console, const ExtendedReal& value, NumberForm form) {
  const NumberText text = FormatNumber(value, SignificantDigits(form));
  console.PrintText(text.View());
}

}  // namespace corvane
