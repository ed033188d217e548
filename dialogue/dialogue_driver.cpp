#include "dialogue/dialogue_driver.hpp"

#include <array>
#include <optional>

#include "common/extended_real.hpp"
#include "conversion/error_signal.hpp"
#include "conversion/input_header.hpp"
#include "conversion/output_writer.hpp"
#include "conversion/sample_loader.hpp"
#include "dialogue/dialogue_texts.hpp"
#include "dialogue/line_input.hpp"
#include "dialogue/number_format.hpp"
#include "filechannel/error_number.hpp"

namespace corvane {

namespace {

// Console colour numbers of the dialogue's two colour pairs.
constexpr std::int32_t kBlack = 0;
constexpr std::int32_t kDarkGrey = 8;
constexpr std::int32_t kBrightWhite = 15;

// Typed answers stand on their prompt's row, two blanks after the question
// mark in column 19.
constexpr std::int32_t kAnswerColumn = 22;
constexpr std::uint32_t kNotFoundPauseMs = 100;

// The standard application icon, and the system-menu items that go: Restore,
// the separator and Size selected by position, Maximize.
constexpr std::int32_t kApplicationIcon = 32512;
constexpr std::array<std::int32_t, 6> kRemovedMenuItems{61728, 0, 61440, -2, -1, 61488};
constexpr std::int32_t kWindowRows = 42;
constexpr std::int32_t kWindowPosition = 32767;

class Dialogue {
 public:
  explicit Dialogue(DialogueServices& services)
      : console_(services.console), windows_(services.windows), channel_(services.channel), dither_(services.dither),
        moduleInstance_(services.moduleInstance), quotesInNames_(services.quotesInNames) {}

  void Run() {
    SetUpWindow();
    for (;;) {
      InputHeader header;
      const ByteString inputName = ChooseInputFile(header);
      const Figures figures = DeriveFigures(header);
      ShowFileData(header, figures);
      const ByteString outputName = AskOutputName(inputName);
      if (Convert(inputName, outputName, header, figures.sampleCount)) break;
    }
    Finish();
  }

 private:
  void SetUpWindow() {
    std::int32_t libraryVariable = 0;
    windows_.InitConsoleTools(moduleInstance_, 0, 0, 0, libraryVariable, 0);
    windows_.ConsoleToolBar(0, 5);
    windows_.ConsoleTitle(texts::kTitle);
    windows_.ConsoleIcon(kApplicationIcon);
    for (const std::int32_t item : kRemovedMenuItems) windows_.DeleteWindowMenuItem(item);
    UseColours(kBlack);
    console_.ClearScreen();
    windows_.Console80x(kWindowRows);
    windows_.ConsoleMove(kWindowPosition, kWindowPosition);
  }

  // Every colour change of the dialogue is a foreground on bright white that
  // recolours nothing already on screen.
  void UseColours(std::int32_t foreground) { console_.SetColours(foreground, kBrightWhite, 0); }

  void NewLines(int count) {
    for (int i = 0; i < count; ++i) console_.NewLine();
  }

  void PrintLine(ByteView text) {
    console_.PrintText(text);
    console_.NewLine();
  }

  // Shows the prompt in dark grey and reads the answer in black on the
  // prompt's own row; the cursor ends on the row below the answer. The prompt
  // is taken to stand on the row above the cursor once its line has ended:
  // where that line end scrolled the screen, the row it started on has moved
  // up by one.
  ByteString Ask(ByteView prompt) {
    PrintLine(prompt);
    const std::int32_t promptRow = console_.CursorRow() - 1;
    console_.MoveCursor(promptRow, kAnswerColumn);
    UseColours(kBlack);
    return ReadLine(console_);
  }

  void ShowError(ByteView message) {
    console_.SystemBeep();
    windows_.ConsoleMessageBox(message, 0, texts::kErrorCaption, 0, 0);
  }

  // Asks for input files until one can be opened and has a header that the
  // tool can convert; every refusal starts again from a cleared screen.
  ByteString ChooseInputFile(InputHeader& header) {
    for (;;) {
      ShowBannerAndNote();
      UseColours(kDarkGrey);
      const std::optional<ByteString> inputName = FindInputFile(Ask(texts::kInputPrompt));
      if (!inputName) {
        console_.Pause(kNotFoundPauseMs);
        ShowError(texts::kFileNotFound);
        continue;
      }
      const HeaderCheck check = ReadHeader(channel_, *inputName);
      if (!check.Accepted()) {
        ShowError(check.rejection);
        continue;
      }
      header = check.header;
      return *inputName;
    }
  }

  void ShowBannerAndNote() {
    console_.ClearScreen();
    UseColours(kBlack);
    console_.SetCursorMode(0);
    console_.NewLine();
    PrintLine(texts::kBanner);
    PrintLine(texts::kNotice);
    console_.PrintText(texts::kWebAddress);
    NewLines(4);
    console_.PrintText(texts::kNote);
    NewLines(4);
  }

  // The name of the file that the typed input name leads to, if it opens: the
  // name as typed, or, where that leads to no file, the path that a dropped
  // file pasted.
  std::optional<ByteString> FindInputFile(ByteView typed) {
    ByteString name = NameToOpen(typed, quotesInNames_);
    const std::uint8_t failure = OpenTestFailure(name);
    if (failure == 0) return name;
    std::optional<ByteString> pasted = PastedPathReading(typed, quotesInNames_);
    if (pasted && (failure == error_number::kFileNotFound || failure == error_number::kPathNotFound) &&
        OpenTestFailure(*pasted) == 0) {
      return pasted;
    }
    return std::nullopt;
  }

  // The error number of the open test, 0 when the file opens. A number left
  // behind by an earlier attempt would fail a good file, so it is dropped
  // first; and a failed test leaves the channel closed, so that the next
  // attempt can open a file at all.
  std::uint8_t OpenTestFailure(ByteView name) {
    TakeErrorNumber();
    channel_.OpenExisting(name);
    const std::uint8_t failure = TakeErrorNumber();
    channel_.Close();
    return failure;
  }

  void ShowFileData(const InputHeader& header, const Figures& figures) {
    NewLines(2);
    UseColours(kDarkGrey);
    PrintLine(texts::kFileData);
    console_.NewLine();
    ShowFigure(texts::kChannels, ExtendedReal::FromInteger(header.channels), NumberForm::Short, "");
    ShowFigure(texts::kSampleRate, ExtendedReal::FromInteger(header.sampleRate), NumberForm::Long, texts::kHertz);
    ShowFigure(texts::kResolution, ExtendedReal::FromInteger(header.bitsPerSample), NumberForm::Short, texts::kBits);
    ShowFigure(texts::kLength, ExtendedReal::FromInteger(figures.sampleCount), NumberForm::Long, texts::kSamples);
    ShowFigure(texts::kDuration, RoundToPlaces(ExtendedReal::FromDouble(figures.duration), 2), NumberForm::Long,
               texts::kSeconds);
    NewLines(2);
  }

  void ShowFigure(ByteView label, const ExtendedReal& value, NumberForm form, ByteView unit) {
    console_.PrintText(label);
    PrintNumber(console_, value, form);
    PrintLine(unit);
  }

  // Asks for the output file's name until it names a file other than the
  // input: writing the error signal over the recording itself would destroy it.
  ByteString AskOutputName(ByteView inputName) {
    for (;;) {
      ByteString outputName = NameToOpen(Ask(texts::kOutputPrompt), quotesInNames_);
      UseColours(kDarkGrey);
      if (!channel_.SameFileOnDisk(inputName, outputName)) return outputName;
      ShowError(texts::kOutputIsInput);
    }
  }

  // The error number of the step just done, or 0. An empty data chunk needs
  // no arrays, so their refusal (9) is no failure then.
  static std::uint8_t StepFailure(std::int64_t sampleCount) {
    const std::uint8_t failure = TakeErrorNumber();
    return sampleCount <= 0 && failure == error_number::kBadArraySize ? 0 : failure;
  }

  void ShowArrayStepFailure(std::uint8_t failure) {
    const bool noMemory = failure == error_number::kOutOfMemory || failure == error_number::kBadArraySize;
    ShowError(noMemory ? texts::kNoMemory : texts::kInputUnreadable);
  }

  // Loads, converts and writes. False when the input could not be loaded or
  // converted: the dialogue then starts again with a new input file. A count
  // whose samples cannot be held in memory (beyond 32 bits of bytes, or more
  // than there is) fails at loading with 9 or 7: "Not enough memory".
  bool Convert(ByteView inputName, ByteString outputName, const InputHeader& header, std::int64_t sampleCount) {
    NewLines(2);
    PrintLine(texts::kWorking);
    console_.NewLine();
    PrintLine(texts::kReading);
    TakeErrorNumber();
    PackedArray samples =
        LoadSamples(channel_, inputName, sampleCount, header.bitsPerSample, header.firstSamplePosition);
    if (const std::uint8_t failure = StepFailure(sampleCount); failure != 0) {
      ReleaseArray(samples);
      ShowArrayStepFailure(failure);
      return false;
    }
    console_.PrintText(texts::kDone);
    NewLines(2);
    PrintLine(texts::kGenerating);
    // Loaded, so the count fits in the 32 bits the arrays count in.
    const std::int32_t loadedCount = samples.Count();
    PackedArray errors = GenerateErrorSignal(samples, loadedCount, header.bitsPerSample, dither_);
    ReleaseArray(samples);
    if (const std::uint8_t failure = StepFailure(loadedCount); failure != 0) {
      ReleaseArray(errors);
      ShowArrayStepFailure(failure);
      return false;
    }
    console_.PrintText(texts::kDone);
    NewLines(2);
    WriteUntilDone(inputName, outputName, errors, header, loadedCount);
    ReleaseArray(errors);
    return true;
  }

  // Writes the output file; when that fails, the same error signal goes to
  // the next name the user gives, so nothing made so far is lost.
  void WriteUntilDone(ByteView inputName, ByteString outputName, const PackedArray& errors, const InputHeader& header,
                      std::int32_t sampleCount) {
    for (;;) {
      PrintLine(texts::kWriting);
      if (WriteOutputFile(channel_, outputName, errors, sampleCount, header.channels, header.sampleRate)) break;
      ShowError(texts::kOutputUnwritable);
      console_.NewLine();
      outputName = AskOutputName(inputName);
    }
    PrintLine(texts::kDone);
  }

  void Finish() {
    console_.SystemBeep();
    NewLines(3);
    UseColours(kBlack);
    PrintLine(texts::kJobFinished);
    UseColours(kDarkGrey);
    PrintLine(texts::kPressAnyKey);
    AwaitKeyPress(console_);
  }

  ConsoleText& console_;
  ConsoleWindowLibrary& windows_;
  FileChannel& channel_;
  DitherSource& dither_;
  std::uintptr_t moduleInstance_;
  QuotesInNames quotesInNames_;
};

}  // namespace

void RunDialogue(DialogueServices& services) { Dialogue(services).Run(); }

}  // namespace corvane
