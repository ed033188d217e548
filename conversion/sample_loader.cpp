#include "conversion/sample_loader.hpp"

#include "conversion/kernel_sets.hpp"

namespace corvane {

namespace {

// Reads the packed 3-byte cells into the last three quarters of the sample
// block and widens them there, front to back, so that loading needs no second
// array beside the samples. Cells the file does not hold read as zero.
void Load24BitSamples(FileChannel& channel, std::int64_t firstSamplePosition, PackedArray& samples,
                      std::int32_t sampleCount) {
  std::uint8_t* block = samples.Storage();
  channel.ReadBlockAt(firstSamplePosition, block + sampleCount, 3 * static_cast<std::uint32_t>(sampleCount));
  FastestKernels().widenCells(block, sampleCount);
}

}  // namespace

PackedArray LoadSamples(FileChannel& channel, ByteView fileName, std::int64_t sampleCount, std::int32_t bitsPerSample,
                        std::int64_t firstSamplePosition) {
  // A file that vanished while the output name was asked for must fail the
  // read, not come back as a new empty file whose silence is converted.
  channel.OpenReadWrite(fileName, FileChannel::WhenMissing::kFail);
  PackedArray samples;
  if (!channel.IsOpen()) return samples;  // the open's number says why
  CreateArray(samples, sampleCount, 4);
  if (samples.HasStorage()) {
    // The array holds the whole count: it fits in 32 bits.
    if (bitsPerSample == 24) {
      Load24BitSamples(channel, firstSamplePosition, samples, samples.Count());
    } else {
      // 32-bit samples are stored exactly as the array holds them.
      channel.ReadArrayAt(firstSamplePosition, samples, samples.Count());
    }
  }
  channel.Close();
  return samples;
}

}  // namespace corvane
