// The process entry: the start-up settings in their order, then the dialogue.

#include <cstdlib>

#include "conversion/dither_source.hpp"
#include "dialogue/console_text.hpp"
#include "dialogue/dialogue_driver.hpp"
#include "filechannel/file_channel.hpp"
#include "platform/platform.hpp"

int main() {
  using namespace corvane;
  const std::unique_ptr<Platform> platform = OpenPlatform();
  if (!platform) return EXIT_FAILURE;
  ConsoleText console(platform->Console());
  console.OpenConsole();
  DitherSource dither;                     // its fixed starting state
  FileChannel channel(platform->Files());  // closed; the error number is 0
  SetUpFloatingPoint();
  DialogueServices services{console, platform->WindowLibrary(), channel, dither};
  services.moduleInstance = platform->ModuleInstance();
  services.quotesInNames = platform->NameQuotes();
  RunDialogue(services);
  return 0;
}
