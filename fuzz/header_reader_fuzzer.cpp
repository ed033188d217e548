// Reads the input as a whole file: the header check with its walk of the
// chunk list, and for an accepted header of a modest sample count the sample
// loader and the error generator.
#include <algorithm>
#include <array>
#include <cstdlib>
#include <string_view>

#include "conversion/error_signal.hpp"
#include "conversion/input_header.hpp"
#include "conversion/sample_loader.hpp"
#include "filechannel/error_number.hpp"
#include "fuzz/memory_file_service.hpp"
#include "fuzz/reference_sample_count.hpp"

namespace {

constexpr std::array<std::string_view, 4> kRejections = {
    "This is not a Wave file ", "This is not a PCM format Wave file ", "This is not a mono Wave file ",
    "This is not a 24- or 32-bit Wave file "};
// Larger counts only make the run slower; the arithmetic does not change.
constexpr std::int32_t kLargestSampleCount = 65536;
// The body of the first chunk, which starts at offset 12.
constexpr std::int64_t kFirstChunkBody = 21;

void Require(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace corvane;
  TakeErrorNumber();
  MemoryFileService service({data, size});
  FileChannel channel(service);
  const HeaderCheck check = ReadHeader(channel, MemoryFileService::kName);
  // The fixed fields take 13 reads, a format chunk 7 and an RF64 data size 2;
  // every step of the walk reads twice and moves at least 8 bytes on, past
  // the end at most once.
  Require(service.Reads() <= 13 + 7 + 2 + 2 * (size / 8 + 1));
  // A data chunk is only taken from a header that the file holds whole.
  const std::int64_t samplesAt = check.header.firstSamplePosition;
  Require(samplesAt == kCanonicalFirstSamplePosition ||
          (samplesAt >= kFirstChunkBody && samplesAt <= static_cast<std::int64_t>(size) + 1));
  if (!check.Accepted()) {
    Require(std::find(kRejections.begin(), kRejections.end(), check.rejection) != kRejections.end());
    return 0;
  }
  const InputHeader& header = check.header;
  Require(header.bitsPerSample == 24 || header.bitsPerSample == 32);
  Require((header.channels & 0xFF) == 1);
  const Figures figures = DeriveFigures(header);
  // Only the samples that the file holds count, whatever the header declares.
  Require(figures.sampleCount ==
          ReferenceSampleCount(header.declaredDataSize, size, header.firstSamplePosition, header.bitsPerSample));
  if (figures.sampleCount == 0 || figures.sampleCount > kLargestSampleCount) return 0;
  const auto count = static_cast<std::int32_t>(figures.sampleCount);
  const PackedArray samples =
      LoadSamples(channel, MemoryFileService::kName, count, header.bitsPerSample, header.firstSamplePosition);
  Require(samples.HasStorage() && samples.Count() == count && !channel.IsOpen());
  DitherSource dither;
  const PackedArray errors = GenerateErrorSignal(samples, count, header.bitsPerSample, dither);
  Require(errors.HasStorage() && errors.Count() == count);
  for (std::int32_t i = 0; i < errors.Count(); ++i) {
    const std::int16_t error = DecodeInt16(CellBytes(errors, i));
    Require(error >= -8001 && error <= 8001);
  }
  Require(TakeErrorNumber() == 0);
  return 0;
}
