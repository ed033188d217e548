#include "dialogue/dialogue_driver.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include "filechannel/error_number.hpp"
#include "platform/screen/memory_console.hpp"
#include "support/faulty_file_service.hpp"
#include "support/file_test.hpp"
#include "support/keys.hpp"
#include "support/recording_window_library.hpp"
#include "support/reference_conversion.hpp"
#include "support/screen_picture.hpp"
#include "support/wave_bytes.hpp"

namespace corvane {
namespace {

const std::vector<std::int32_t> kTenSamples = {384, 100, -100, 8388352, -8388608, 0, 1, 127, 128, 129};

// A mono 24-bit file of `count` samples at 44100 Hz: the ten samples first,
// silence after them.
std::string TenSampleFile(std::uint32_t count = 10) {
  std::string bytes = WaveHeader{.dataSize = count * 3}.Bytes();
  for (const std::int32_t sample : kTenSamples) bytes += Le32(static_cast<std::uint32_t>(sample)).substr(0, 3);
  return bytes + std::string(3 * (count - 10), '\0');
}

// The error bytes of the ten samples from a fresh dither source, as the
// reference conversion makes them.
std::string TenErrorBytes() {
  DitherSource dither;
  Ties ties;
  const std::vector<std::uint8_t> errors = ReferenceErrors(kTenSamples, 1.0 / 256, dither, ties);
  return {errors.begin(), errors.end()};
}

const std::string kNotFound = "          File not found.\\nPlease enter a valid filename";

// The dialogue on an 80x42 memory console, over real files in a fresh folder.
class DialogueTest : public FileTestOver<FaultyFileService> {
 protected:
  DialogueTest() : console(device) { console.OpenConsole(); }

  void Run() {
    DialogueServices services{console, windows, channel_, dither, 0, quotesInNames};
    RunDialogue(services);
  }

  std::vector<std::string> BoxTexts() const {
    std::vector<std::string> texts;
    for (const auto& box : windows.boxes) {
      EXPECT_EQ(box.caption, "  ERROR");
      texts.push_back(box.text);
    }
    return texts;
  }

  MemoryConsole device{80, 42};
  ConsoleText console;
  RecordingWindowLibrary windows{device};
  DitherSource dither;
  QuotesInNames quotesInNames = QuotesInNames::kAnyQuotes;
};

// The rows and the bytes of a conversion are the end-to-end scripts' to
// check; here the start screen row by row, and what a terminal cannot show
// them: the window set-up, the colours, the cursor, the beeps and the pause
// before the "File not found" box, and the final key left pending.
TEST_F(DialogueTest, AConversionSetsUpTheWindowOnceAndShowsEachLineInItsColours) {
  const std::string input = folder_.Write("in.wav", TenSampleFile());
  keys::TypeLine(device, "");
  device.SetOnIdle([&] {
    EXPECT_TRUE(device.Screen().Cursor().visible) << "the cursor shows while a name is typed";
    device.SetOnIdle(nullptr);
    keys::TypeLine(device, input);
    keys::TypeLine(device, folder_.Path("out.wav"));
    keys::Tap(device, 'q');  // pressed during the conversion: ends the final wait at once
  });
  Run();

  EXPECT_EQ(windows.calls,
            (std::vector<std::string>{"InitConsoleTools 0 0 0 0 0 0", "ConsoleToolBar 0 5", "ConsoleTitle Corvane",
                                      "ConsoleIcon 32512", "DeleteWindowMenuItem 61728", "DeleteWindowMenuItem 0",
                                      "DeleteWindowMenuItem 61440", "DeleteWindowMenuItem -2",
                                      "DeleteWindowMenuItem -1", "DeleteWindowMenuItem 61488", "Console80x 42",
                                      "ConsoleMove 32767 32767", "ConsoleMessageBox 0 0 0"}));
  EXPECT_EQ(BoxTexts(), std::vector<std::string>{kNotFound});
  std::vector<std::string> start(42);  // rows 2 to 4, 8 and 12; the answer was empty
  start[1] = "   Corvane v1";
  start[2] = "   (c) 2026 The Corvane authors";
  start[3] = "   https://corvane.example";
  start[7] = "   NOTE - Input file must be mono 24-bit packed integer or 32-bit integer";
  start[11] = "   File to process?";
  EXPECT_EQ(windows.boxes[0].screen, start) << "the start screen, under the box";
  EXPECT_EQ(std::count(device.Sleeps().begin(), device.Sleeps().end(), std::chrono::milliseconds(100)), 1)
      << "one pause, before the box";
  EXPECT_EQ(device.Beeps(), 2) << "one for the box, one at the end";
  const ScreenBuffer& screen = device.Screen();
  for (int column = 0; column < 80; ++column) {
    EXPECT_EQ(screen.At(column, 11).attribute, column < 20 ? 0xF8 : 0xF0) << "prompt grey, name black: " << column;
  }
  for (const int row : {2, 15, 17, 21, 24, 27, 29, 30, 36, 40, 41}) {
    EXPECT_EQ(screen.At(3, row - 1).attribute, row == 2 || row == 40 ? 0xF0 : 0xF8) << "row " << row;
  }
  EXPECT_EQ(CursorOf(device), (CursorAt{42, 1}));
  EXPECT_FALSE(screen.Cursor().visible);
  EXPECT_EQ(device.PendingInput(), 2u) << "the final key stays pending";
}

// Terminals paste a dropped file's path in quotes: where no file has the name
// as typed, the path inside them opens. A name that exists as typed, quotes
// and blanks included, opens as typed. Each file here is refused for a reason
// of its own, which names the file that opened.
TEST_F(DialogueTest, ADroppedPathOpensItsFileAndANameThatExistsAsTypedOpensAsTyped) {
  folder_.Write("it's \"q\".wav", WaveHeader{.bitsPerSample = 16}.Bytes());
  if (!folder_.Exists("it's \"q\".wav")) GTEST_SKIP() << "names here cannot hold quotes";
  folder_.Write("my take.wav", WaveHeader{.formTag = "WAVX"}.Bytes());
  folder_.Write("b.wav ", WaveHeader{.channels = 2}.Bytes());
  folder_.Write("b.wav", WaveHeader{.formatCode = 3}.Bytes());
  for (const std::string& typed :
       {"'" + folder_.Path("my take.wav") + "' ", folder_.Path("b.wav "), "\"" + folder_.Path("b.wav") + "\"",
        folder_.Path("it's \"q\".wav"), "'" + folder_.Path("none.wav") + "' "}) {
    keys::TypeLine(device, typed);
  }
  EXPECT_THROW(Run(), InputExhausted);
  EXPECT_EQ(BoxTexts(), (std::vector<std::string>{"This is not a Wave file ", "This is not a mono Wave file ",
                                                  "This is not a PCM format Wave file ",
                                                  "This is not a 24- or 32-bit Wave file ", kNotFound}));
  EXPECT_EQ(windows.boxes[0].screen[11], "   File to process?  '" + folder_.Path("my take.wav") + "'")
      << "shown as typed";
}

// Windows names cannot hold a double quote: a pair around either name is no
// part of it, and single quotes are. A write that fails loses nothing: the
// same error signal goes to the next name given.
TEST_F(DialogueTest, OnWindowsQuotesAroundANameAreNoPartOfItAndAFailedWriteLosesNothing) {
  quotesInNames = QuotesInNames::kNoDoubleQuotes;
  const std::string input = folder_.Write("in.wav", TenSampleFile());
  for (const std::string& line : {"'" + input + "'", "\"" + input + "\"  ", "\"" + folder_.Path("none/out.wav") + "\"",
                                  "\"" + folder_.Path("out.wav") + "\""}) {
    keys::TypeLine(device, line);
  }
  keys::Tap(device, 'x');
  Run();
  EXPECT_EQ(BoxTexts(), (std::vector<std::string>{kNotFound, "The output file could not be written "}));
  EXPECT_EQ(folder_.Read("out.wav"), OutputHeader(56, 44100, 88200, 20) + TenErrorBytes());
}

// The output prompt comes first on row 24 and each refusal asks again one row
// lower: the 19th asks on row 42, where its line end scrolls the screen.
TEST_F(DialogueTest, APromptOnTheBottomRowTakesItsAnswerOnItsOwnRow) {
  const std::string input = folder_.Write("in.wav", TenSampleFile());
  for (int line = 0; line < 20; ++line) keys::TypeLine(device, input);
  EXPECT_THROW(Run(), InputExhausted);
  ASSERT_EQ(windows.boxes.size(), 19u);
  EXPECT_EQ(windows.boxes.back().screen[40], "   Output filename?  " + input);
  EXPECT_EQ(windows.boxes.back().screen[41], "");
}

// A file whose samples cannot be held, and a read that the platform refuses
// for want of memory: both are reported as such, nothing is written, and the
// next file is converted from the first dither. The count that cannot be held
// shows whole, beyond what 32 signed bits count, and its duration is the
// double quotient rounded, 44739.25: the extended quotient, nearer 44739.245,
// comes to the tie 4473924.5 in hundredths and would show 44739.24.
TEST_F(DialogueTest, WantOfMemoryIsReportedAndTheNextFileStartsWithTheFirstDither) {
  // An RF64 file of 2^31 + 112 24-bit samples at 48000 Hz, which says it holds
  // them all, without the test writing 6 GiB.
  constexpr std::uint64_t kHugeSize = 3 * 2147483760ull;
  const std::string huge =
      folder_.Write("huge.wav", "RF64" + Le32(0xFFFFFFFF) + "WAVEds64" + Le32(16) + Le64(0) + Le64(kHugeSize) +
                                    WaveHeader{.sampleRate = 48000, .dataSize = 0xFFFFFFFF}.Bytes().substr(12));
  service_.phantomBytes = kHugeSize;
  const std::string input = folder_.Write("in.wav", TenSampleFile(100));
  keys::TypeLine(device, huge);
  keys::TypeLine(device, folder_.Path("never.wav"));
  windows.onBox = [&](const RecordingWindowLibrary::Box&) {
    if (windows.boxes.size() > 2) return;  // a third box: no more input, the run ends
    if (windows.boxes.size() == 1) {
      service_.phantomBytes = 0;
      service_.readLimit = 200;  // the header's small reads pass, the 300 bytes of samples do not
      service_.readError = platform_error::kNotEnoughMemory;
    } else {
      service_.readLimit = FaultyFileService::kUnlimited;
    }
    keys::TypeLine(device, input);
    keys::TypeLine(device, folder_.Path(windows.boxes.size() == 1 ? "never.wav" : "out.wav"));
  };
  EXPECT_THROW(Run(), InputExhausted);

  EXPECT_EQ(BoxTexts(), std::vector<std::string>(2, "Not enough memory to convert this file "));
  EXPECT_EQ(windows.boxes[0].screen[19], "                     Length       2147483760 samples");
  EXPECT_EQ(windows.boxes[0].screen[20], "                     Duration     44739.25 seconds");
  EXPECT_FALSE(folder_.Exists("never.wav"));
  EXPECT_EQ(folder_.Read("out.wav").substr(44, 20), TenErrorBytes());
}

// The input is deleted while the output name is asked for: the read fails with
// its box, the input is not made anew as an empty file, and the dialogue starts
// again at the input prompt.
TEST_F(DialogueTest, AnInputThatVanishedIsReportedAndTheDialogueStartsAgain) {
  const std::string input = folder_.Write("in.wav", TenSampleFile());
  keys::TypeLine(device, input);
  device.SetOnIdle([&] {
    device.SetOnIdle(nullptr);
    std::filesystem::remove(input);
    keys::TypeLine(device, folder_.Path("never.wav"));
  });
  EXPECT_THROW(Run(), InputExhausted);

  EXPECT_EQ(BoxTexts(), std::vector<std::string>{"The input file could not be read "});
  EXPECT_FALSE(folder_.Exists("in.wav")) << "the vanished input came back";
  EXPECT_FALSE(folder_.Exists("never.wav"));
  EXPECT_EQ(CursorOf(device), (CursorAt{12, 22}));
}

}  // namespace
}  // namespace corvane
