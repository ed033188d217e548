#include "conversion/output_writer.hpp"

#include "filechannel/error_number.hpp"

namespace corvane {

namespace {

constexpr std::int32_t kBitsPerSample = 16;
constexpr std::int32_t kFmtLength = 16;
constexpr std::int32_t kPcmFormat = 1;
// The bytes of the header after the RIFF size field: 44 - 8.
constexpr std::uint32_t kRiffSizeOverData = 36;

struct OutputFigures {
  std::int16_t blockAlign;
  std::int32_t byteRate;
  std::int32_t dataSize;
  std::int32_t riffSize;
};

// The sizes are 32-bit products that wrap modulo 2^32, as the header's
// fields do. The block align, channels * 16 / 8, is always the whole number
// channels * 2, held as signed 16-bit.
OutputFigures ComputeFigures(std::int32_t sampleCount, std::int32_t channels, std::int32_t sampleRate) {
  const auto blockAlign = static_cast<std::int16_t>(static_cast<std::uint32_t>(channels) * (kBitsPerSample / 8));
  const auto align = static_cast<std::uint32_t>(blockAlign);
  const std::uint32_t dataSize = align * static_cast<std::uint32_t>(sampleCount);
  return OutputFigures{
      blockAlign,
      static_cast<std::int32_t>(align * static_cast<std::uint32_t>(sampleRate)),
      static_cast<std::int32_t>(dataSize),
      static_cast<std::int32_t>(dataSize + kRiffSizeOverData),
  };
}

}  // namespace

bool WriteOutputFile(FileChannel& channel, ByteView fileName, const PackedArray& errors, std::int32_t sampleCount,
                     std::int32_t channels, std::int32_t sampleRate) {
  TakeErrorNumber();  // a number left from before says nothing about this file
  channel.OpenReadWrite(fileName);
  const bool created = channel.CreatedOnOpen();
  const OutputFigures figures = ComputeFigures(sampleCount, channels, sampleRate);
  // In file order: each write leaves the position after its last byte, so the
  // texts and constants written at the current position land at offsets 8,
  // 12, 16, 20 and 36.
  channel.WriteBytes("RIFF");
  channel.WriteValueAt(5, figures.riffSize, 4);
  channel.WriteBytes("WAVE");
  channel.WriteBytes("fmt ");
  channel.WriteBytes(EncodeInt32(kFmtLength));
  channel.WriteBytes(EncodeInt16(kPcmFormat));
  channel.WriteValueAt(23, channels, 2);
  channel.WriteValueAt(25, sampleRate, 4);
  channel.WriteValueAt(29, figures.byteRate, 4);
  channel.WriteValueAt(33, figures.blockAlign, 2);
  channel.WriteValueAt(35, kBitsPerSample, 2);
  channel.WriteBytes("data");
  channel.WriteValueAt(41, figures.dataSize, 4);
  channel.WriteArrayAt(45, errors);
  channel.Close();
  const std::uint8_t failure = TakeErrorNumber();
  if (failure == 0) return true;
  if (created) channel.DeleteFile(fileName);
  SetErrorNumber(failure);
  return false;
}

}  // namespace corvane
