#include "conversion/output_writer.hpp"

#include <array>
#include <string_view>

#include "filechannel/error_number.hpp"

namespace corvane {

namespace {

constexpr std::int32_t kBitsPerSample = 16;
// The bytes of the header after the RIFF size field: 44 - 8.
constexpr std::uint32_t kRiffSizeOverData = 36;
constexpr std::int64_t kFirstSamplePosition = 45;

// Where a field is written: at the channel's running position, which the
// field before has left at the field's own, or at its position.
enum WrittenAt { kRunningPosition, kItsPosition };

// One field of the 44-byte header: a text, or a number of `width` bytes,
// lowest first. The texts and the two constants after the "fmt " tag are
// written at the running position, every other number at its position.
struct HeaderField {
  std::string_view name;
  std::int64_t position;  // 1-based
  int width;
  std::int32_t value;     // a number's value; 0 for a text
  std::string_view text;  // a text's bytes; empty for a number
  WrittenAt writtenAt;
};

// The header's fields in file order. The sizes are 32-bit products that wrap
// modulo 2^32, as the header's fields do. The block align, channels * 16 / 8,
// is always the whole number channels * 2, held as signed 16-bit.
std::array<HeaderField, 13> HeaderFields(std::int32_t sampleCount, std::int32_t channels, std::int32_t sampleRate) {
  const auto blockAlign = static_cast<std::int16_t>(static_cast<std::uint32_t>(channels) * (kBitsPerSample / 8));
  const auto align = static_cast<std::uint32_t>(blockAlign);
  const std::uint32_t dataSize = align * static_cast<std::uint32_t>(sampleCount);
  return {{
      {"RIFF tag", 1, 4, 0, "RIFF", kRunningPosition},
      {"RIFF size", 5, 4, static_cast<std::int32_t>(dataSize + kRiffSizeOverData), {}, kItsPosition},
      {"form tag", 9, 4, 0, "WAVE", kRunningPosition},
      {"fmt tag", 13, 4, 0, "fmt ", kRunningPosition},
      {"fmt length", 17, 4, 16, {}, kRunningPosition},
      {"format code: PCM", 21, 2, 1, {}, kRunningPosition},
      {"channels", 23, 2, channels, {}, kItsPosition},
      {"sample rate", 25, 4, sampleRate, {}, kItsPosition},
      {"byte rate", 29, 4, static_cast<std::int32_t>(align * static_cast<std::uint32_t>(sampleRate)), {}, kItsPosition},
      {"block align", 33, 2, blockAlign, {}, kItsPosition},
      {"bits per sample", 35, 2, kBitsPerSample, {}, kItsPosition},
      {"data tag", 37, 4, 0, "data", kRunningPosition},
      {"data size", 41, 4, static_cast<std::int32_t>(dataSize), {}, kItsPosition},
  }};
}

void WriteField(FileChannel& channel, const HeaderField& field) {
  if (field.writtenAt == kItsPosition) {
    channel.WriteValueAt(field.position, field.value, field.width);
  } else if (!field.text.empty()) {
    channel.WriteBytes(field.text);
  } else {
    channel.WriteBytes(field.width == 4 ? EncodeInt32(field.value) : EncodeInt16(field.value));
  }
}

}  // namespace

bool WriteOutputFile(FileChannel& channel, ByteView fileName, const PackedArray& errors, std::int32_t sampleCount,
                     std::int32_t channels, std::int32_t sampleRate) {
  TakeErrorNumber();  // a number left from before says nothing about this file
  channel.OpenReadWrite(fileName);
  const bool created = channel.CreatedOnOpen();
  for (const HeaderField& field : HeaderFields(sampleCount, channels, sampleRate)) WriteField(channel, field);
  channel.WriteArrayAt(kFirstSamplePosition, errors);
  channel.Close();
  const std::uint8_t failure = TakeErrorNumber();
  if (failure == 0) return true;
  // Deleting the file may set a number of its own; the write's is the one to report.
  if (created) channel.DeleteFile(fileName);
  SetErrorNumber(failure);
  return false;
}

}  // namespace corvane
