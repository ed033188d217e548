// Converts the input as a whole file, the way the dialogue does: the header
// check, the loader, the error generator and the output writer, through the
// real file service in a temporary folder. For an accepted header of a modest
// sample count the output file must be, byte for byte, the canonical header
// and the error signal that the plain per-sample reference gives for the
// samples read straight from the input's bytes, as many as the reference
// counts in the bytes the file holds. A rejected header must name
// one of the four rejections, and the input file must never change.
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

#include "conversion/error_signal.hpp"
#include "conversion/input_header.hpp"
#include "conversion/output_writer.hpp"
#include "conversion/sample_loader.hpp"
#include "filechannel/error_number.hpp"
#include "fuzz/reference_sample_count.hpp"
#include "platform/posix/posix_file_service.hpp"
#include "tests/support/reference_conversion.hpp"

namespace {

using namespace corvane;

constexpr std::array<std::string_view, 4> kRejections = {
    "This is not a Wave file ", "This is not a PCM format Wave file ", "This is not a mono Wave file ",
    "This is not a 24- or 32-bit Wave file "};
// Larger counts only make the run slower; the arithmetic does not change.
constexpr std::int32_t kLargestSampleCount = 65536;

void Require(bool condition) {
  if (!condition) std::abort();
}

// One folder for the whole fuzzing run, removed at its end.
const std::filesystem::path& Folder() {
  static const std::filesystem::path folder = [] {
    std::string pattern = (std::filesystem::temp_directory_path() / "corvane-fuzz-XXXXXX").string();
    Require(::mkdtemp(pattern.data()) != nullptr);
    std::atexit([] {
      std::error_code ignored;
      std::filesystem::remove_all(Folder(), ignored);
    });
    return std::filesystem::path(pattern);
  }();
  return folder;
}

std::string ReadWhole(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string LittleEndian(std::uint32_t value, int width) {
  std::string bytes;
  for (int i = 0; i < width; ++i) bytes.push_back(static_cast<char>(value >> (8 * i)));
  return bytes;
}

// The samples the file holds from `position` on, read straight from its bytes:
// the missing bytes of a last sample cut by the end of the file are zeros.
std::vector<std::int32_t> SamplesOf(std::string_view file, std::int64_t position, std::int32_t count, int bits) {
  const std::size_t width = bits == 24 ? 3 : 4;
  std::vector<std::uint8_t> bytes(static_cast<std::size_t>(count) * width, 0);
  const auto start = static_cast<std::size_t>(position - 1);
  if (start < file.size()) {
    const std::size_t present = std::min(bytes.size(), file.size() - start);
    std::copy_n(file.begin() + static_cast<std::ptrdiff_t>(start), present, bytes.begin());
  }
  if (bits == 24) return ReferenceWiden(bytes);
  std::vector<std::int32_t> samples;
  for (std::size_t i = 0; i < bytes.size(); i += 4) {
    samples.push_back(static_cast<std::int32_t>(bytes[i] | bytes[i + 1] << 8 | bytes[i + 2] << 16 |
                                                static_cast<std::uint32_t>(bytes[i + 3]) << 24));
  }
  return samples;
}

// The mono 16-bit file that the writer must make of `errors`.
std::string ExpectedOutput(const InputHeader& header, const std::vector<std::uint8_t>& errors) {
  const auto dataSize = static_cast<std::uint32_t>(errors.size());
  const auto rate = static_cast<std::uint32_t>(header.sampleRate);
  return "RIFF" + LittleEndian(dataSize + 36, 4) + "WAVEfmt " + LittleEndian(16, 4) + LittleEndian(1, 2) +
         LittleEndian(header.channels, 2) + LittleEndian(rate, 4) + LittleEndian(2 * rate, 4) + LittleEndian(2, 2) +
         LittleEndian(16, 2) + "data" + LittleEndian(dataSize, 4) + std::string(errors.begin(), errors.end());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string input(reinterpret_cast<const char*>(data), size);
  const std::string inputName = (Folder() / "in.wav").string();
  const std::string outputName = (Folder() / "out.wav").string();
  std::ofstream(inputName, std::ios::binary | std::ios::trunc) << input;
  std::filesystem::remove(outputName);
  TakeErrorNumber();

  PosixFileService files;
  FileChannel channel(files);
  const HeaderCheck check = ReadHeader(channel, inputName);
  Require(!channel.IsOpen());
  if (!check.Accepted()) {
    Require(std::find(kRejections.begin(), kRejections.end(), check.rejection) != kRejections.end());
    Require(ReadWhole(inputName) == input);
    return 0;
  }
  const InputHeader& header = check.header;
  const Figures figures = DeriveFigures(header);
  const std::int64_t expectedCount =
      ReferenceSampleCount(header.declaredDataSize, size, header.firstSamplePosition, header.bitsPerSample);
  Require(figures.sampleCount == expectedCount);
  if (expectedCount > kLargestSampleCount) return 0;
  const auto count = static_cast<std::int32_t>(expectedCount);

  TakeErrorNumber();  // a seek of the header's walk may have failed on its way
  const PackedArray samples =
      LoadSamples(channel, inputName, figures.sampleCount, header.bitsPerSample, header.firstSamplePosition);
  DitherSource dither;
  const PackedArray errors = GenerateErrorSignal(samples, count, header.bitsPerSample, dither);
  Require(TakeErrorNumber() == (count == 0 ? error_number::kBadArraySize : 0));  // an empty data chunk has no arrays
  Require(WriteOutputFile(channel, outputName, errors, count, header.channels, header.sampleRate));
  Require(!channel.IsOpen());

  DitherSource referenceDither;
  Ties ties;
  const double perStep = header.bitsPerSample == 24 ? 1.0 / 256.0 : 1.0 / 65536.0;
  const std::vector<std::uint8_t> expected = ReferenceErrors(
      SamplesOf(input, header.firstSamplePosition, count, header.bitsPerSample), perStep, referenceDither, ties);
  Require(ReadWhole(outputName) == ExpectedOutput(header, expected));
  Require(ReadWhole(inputName) == input);
  return 0;
}
