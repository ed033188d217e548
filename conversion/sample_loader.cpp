#include "conversion/sample_loader.hpp"

namespace corvane {

namespace {

// Three-byte cells decode unsigned; values above 0x7FFFFF have bit 23 set.
constexpr std::int32_t kLargest24BitValue = 0x7FFFFF;
constexpr std::int32_t kCells24BitRange = 0x1000000;

// Reads the packed 3-byte cells into a staging array and widens each into
// `samples`. Without staging storage the samples are released too, so that
// no caller sees silence where the file was never read.
void Load24BitSamples(FileChannel& channel, std::int64_t firstSamplePosition, PackedArray& samples,
                      std::int32_t sampleCount) {
  PackedArray staging;
  CreateArray(staging, sampleCount, 3);
  if (!staging.HasStorage()) {
    ReleaseArray(samples);
    return;
  }
  channel.ReadArrayAt(firstSamplePosition, staging, sampleCount);
  for (std::int32_t i = 0; i < sampleCount; ++i) {
    std::int32_t value = DecodeInt32(CellBytes(staging, i));
    if (value > kLargest24BitValue) value -= kCells24BitRange;
    samples.SetInt32At(i, value);
  }
  ReleaseArray(staging);
}

}  // namespace

PackedArray LoadSamples(FileChannel& channel, ByteView fileName, std::int32_t sampleCount, std::int32_t bitsPerSample,
                        std::int64_t firstSamplePosition) {
  // A file that vanished while the output name was asked for must fail the
  // read, not come back as a new empty file whose silence is converted.
  channel.OpenReadWrite(fileName, FileChannel::WhenMissing::kFail);
  PackedArray samples;
  if (!channel.IsOpen()) return samples;  // the open's number says why
  CreateArray(samples, sampleCount, 4);
  if (samples.HasStorage()) {
    if (bitsPerSample == 24) {
      Load24BitSamples(channel, firstSamplePosition, samples, sampleCount);
    } else {
      // 32-bit samples are stored exactly as the array holds them.
      channel.ReadArrayAt(firstSamplePosition, samples, sampleCount);
    }
  }
  channel.Close();
  return samples;
}

}  // namespace corvane
