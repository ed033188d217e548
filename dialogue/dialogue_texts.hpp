#pragma once

#include <string_view>

// The texts of the dialogue, exactly as the screen shows them.
namespace corvane::texts {

inline constexpr std::string_view kTitle = "Corvane";
inline constexpr std::string_view kBanner = "   Corvane v1";
inline constexpr std::string_view kNotice = "   (c) 2026 The Corvane authors";
inline constexpr std::string_view kWebAddress = "   https://corvane.example";
inline constexpr std::string_view kNote = "   NOTE - Input file must be mono 24-bit packed integer or 32-bit integer";
inline constexpr std::string_view kInputPrompt = "   File to process? ";
inline constexpr std::string_view kOutputPrompt = "   Output filename? ";

inline constexpr std::string_view kFileData = "                     FILE DATA";
inline constexpr std::string_view kChannels = "                     Channels    ";
inline constexpr std::string_view kSampleRate = "                     Sample rate ";
inline constexpr std::string_view kResolution = "                     Resolution  ";
inline constexpr std::string_view kLength = "                     Length      ";
inline constexpr std::string_view kDuration = "                     Duration    ";
inline constexpr std::string_view kHertz = "Hz";
inline constexpr std::string_view kBits = "bits";
inline constexpr std::string_view kSamples = "samples";
inline constexpr std::string_view kSeconds = "seconds";

inline constexpr std::string_view kWorking = "   Working...";
inline constexpr std::string_view kReading = "   Reading input file...";
inline constexpr std::string_view kGenerating = "   Generating output values...";
inline constexpr std::string_view kWriting = "   Writing output file...";
inline constexpr std::string_view kDone = "   Done";
inline constexpr std::string_view kJobFinished = "   Job finished";
inline constexpr std::string_view kPressAnyKey = "   press any key to quit";

// Message boxes. The two characters backslash and n stand for a line break.
inline constexpr std::string_view kErrorCaption = "  ERROR";
inline constexpr std::string_view kFileNotFound = "          File not found.\\nPlease enter a valid filename";
inline constexpr std::string_view kNoMemory = "Not enough memory to convert this file ";
inline constexpr std::string_view kInputUnreadable = "The input file could not be read ";
inline constexpr std::string_view kOutputUnwritable = "The output file could not be written ";
inline constexpr std::string_view kOutputIsInput = "The output file must not be the input file ";

}  // namespace corvane::texts
