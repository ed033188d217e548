#pragma once

#include <cstdint>
#include <string_view>

#include "common/byte_string.hpp"
#include "filechannel/file_channel.hpp"

namespace corvane {

// Where the samples of a canonical file start: offset 44, right after its
// 44-byte header.
inline constexpr std::int64_t kCanonicalFirstSamplePosition = 45;

// The fields of the input file's header. The offsets are those of the
// canonical 44-byte layout, where every field is first read. Where the file's
// chunk list holds a "fmt " chunk, the format fields (fmt tag to bits per
// sample) come from that chunk instead; where it holds a "data" chunk, the
// data tag, the data size and the first sample's position come from that one.
// The tags and the two size fields are kept as the raw bytes that were read
// (fewer than 4 when the file ends early).
struct InputHeader {
  ByteString riffTag;              // offset 0, not checked
  ByteString riffSize;             // offset 4, never used
  ByteString formTag;              // offset 8, must be "WAVE"
  ByteString fmtTag;               // offset 12, not checked
  std::int32_t fmtLength = 0;      // offset 16, not checked
  std::int16_t formatCode = 0;     // offset 20, must be 1 (PCM), or extensible with the PCM sub-format
  std::uint16_t channels = 0;      // offset 22, low byte only; must be 1
  std::int32_t sampleRate = 0;     // offset 24
  std::int32_t byteRate = 0;       // offset 28, not checked
  std::int16_t blockAlign = 0;     // offset 32, not checked
  std::int16_t bitsPerSample = 0;  // offset 34, must be 24 or 32
  ByteString subFormat;            // GUID of an extensible format; empty unless its "fmt " chunk holds one
  ByteString dataTag;              // offset 36, not checked
  ByteString dataSize;             // offset 40, an unsigned 32-bit byte count
  std::int64_t firstSamplePosition = kCanonicalFirstSamplePosition;  // 1-based; the data chunk's body, else offset 44
};

// A header as read, and why it was rejected: empty when it was accepted.
struct HeaderCheck {
  InputHeader header;
  std::string_view rejection;

  bool Accepted() const { return rejection.empty(); }
};

// Opens the file on the channel, reads the header field by field at the
// canonical offsets, then takes the fields of the "fmt " and "data" chunks
// wherever the chunk list has them, closes the channel again and checks, in
// order, the form tag, the format code, the channel count and the resolution;
// the first failing check names the rejection. A short file reads its missing
// fields as zero.
HeaderCheck ReadHeader(FileChannel& channel, ByteView fileName);

// What an accepted header implies: the sample count and the duration.
struct Figures {
  std::int32_t sampleCount = 0;
  double duration = 0.0;  // seconds; infinite or NaN for a sample rate of 0
};

// The sample count is the data size in bits over the bits of one sample
// frame, rounded to nearest with ties to even; the duration is that count
// over the sample rate. Meant for accepted headers only.
Figures DeriveFigures(const InputHeader& header);

}  // namespace corvane
