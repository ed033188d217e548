#include "conversion/input_header.hpp"

#include "common/extended_real.hpp"
#include "filechannel/packed_array.hpp"

namespace corvane {

namespace {

constexpr ByteView kWaveTag = "WAVE";
constexpr std::int16_t kPcmFormat = 1;

constexpr std::string_view kNotWave = "This is not a Wave file ";
constexpr std::string_view kNotPcm = "This is not a PCM format Wave file ";
constexpr std::string_view kNotMono = "This is not a mono Wave file ";
constexpr std::string_view kNotSupportedResolution = "This is not a 24- or 32-bit Wave file ";

// The header is taken to be the canonical layout; no chunk list is walked.
// Position 25 is offset 24: the channel field's high byte at offset 23 is
// stepped over, so only its low byte counts.
InputHeader ReadFields(FileChannel& channel) {
  InputHeader header;
  header.riffTag = channel.ReadBytes(4);
  header.riffSize = channel.ReadBytes(4);
  header.formTag = channel.ReadBytes(4);
  header.fmtTag = channel.ReadBytes(4);
  header.fmtLength = DecodeInt32(channel.ReadBytes(4));
  header.formatCode = DecodeInt16(channel.ReadBytes(2));
  header.channels = DecodeUnsigned8(channel.ReadBytes(1));
  channel.Seek(25);
  header.sampleRate = DecodeInt32(channel.ReadBytes(4));
  header.byteRate = DecodeInt32(channel.ReadBytes(4));
  header.blockAlign = DecodeInt16(channel.ReadBytes(2));
  header.bitsPerSample = DecodeInt16(channel.ReadBytes(2));
  header.dataTag = channel.ReadBytes(4);
  header.dataSize = channel.ReadBytes(4);
  return header;
}

std::string_view Rejection(const InputHeader& header) {
  if (!SameBytes(header.formTag, kWaveTag)) return kNotWave;
  if (header.formatCode != kPcmFormat) return kNotPcm;
  if (header.channels != 1) return kNotMono;
  if (header.bitsPerSample != 24 && header.bitsPerSample != 32) return kNotSupportedResolution;
  return {};
}

// numerator / denominator rounded to nearest, ties to even, done exactly in
// integers. The denominator must be positive.
std::uint64_t DivideRoundHalfEven(std::uint64_t numerator, std::uint64_t denominator) {
  std::uint64_t quotient = numerator / denominator;
  const std::uint64_t twiceRemainder = 2 * (numerator % denominator);
  if (twiceRemainder > denominator || (twiceRemainder == denominator && quotient % 2 == 1)) ++quotient;
  return quotient;
}

}  // namespace

HeaderCheck ReadHeader(FileChannel& channel, ByteView fileName) {
  // The input is only read: a file that vanished since its open test is not
  // made anew.
  channel.OpenReadWrite(fileName, FileChannel::WhenMissing::kFail);
  HeaderCheck check{ReadFields(channel), {}};
  channel.Close();
  check.rejection = Rejection(check.header);
  return check;
}

Figures DeriveFigures(const InputHeader& header) {
  // The data size is a byte count: read unsigned, so sizes of 2 GiB and more
  // keep their value instead of turning negative. Over 24 or 32 bits of one
  // channel the count is at most 1431655765 and fits in 32 signed bits.
  const auto dataSize = static_cast<std::uint32_t>(DecodeInt32(header.dataSize));
  const std::int64_t frameBits = std::int64_t{header.bitsPerSample} * header.channels;
  Figures figures;
  if (frameBits > 0) {
    figures.sampleCount = static_cast<std::int32_t>(
        DivideRoundHalfEven(std::uint64_t{dataSize} * 8, static_cast<std::uint64_t>(frameBits)));
  }
  figures.duration = DivideToDouble(figures.sampleCount, header.sampleRate);
  return figures;
}

}  // namespace corvane
