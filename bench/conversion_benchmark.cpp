// Throughput of the conversion's steps on 30 million samples: loading a 24-bit
// and a 32-bit file, generating the error signal, and writing the output
// file. Each step runs beside a baseline of plain memory traffic over the
// same bytes (a memcpy of what the step reads and a memset of what it
// writes), so that its figure says how far it is from the memory bound.
// Beside the steps: the two parts of loading that the platform does (the read
// and the first touch of fresh memory, in the tool's array storage and on
// populated huge pages), and the kernels alone, once for every kernel set the
// processor can run.

#include <benchmark/benchmark.h>
#include <sys/mman.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "bench/ratio_reporter.hpp"
#include "conversion/dither_source.hpp"
#include "conversion/error_signal.hpp"
#include "conversion/kernel_sets.hpp"
#include "conversion/output_writer.hpp"
#include "conversion/sample_loader.hpp"
#include "filechannel/error_number.hpp"
#include "filechannel/file_channel.hpp"
#include "platform/posix/posix_file_service.hpp"

namespace corvane {
namespace {

constexpr std::int32_t kSamples = 30'000'000;
constexpr std::size_t kHeaderBytes = 44;

std::string TempPath(const std::string& name) {
  return (std::filesystem::temp_directory_path() / ("corvane-bench-" + name)).string();
}

// Every byte value equally likely, the same bytes on every run.
std::string RandomBytes(std::size_t count) {
  std::mt19937 random(2026);
  std::string bytes(count, '\0');
  for (char& byte : bytes) byte = static_cast<char>(random());
  return bytes;
}

// An input file of kSamples random samples after a 44-byte header; the
// loader never looks at the header, so it is left zero.
class InputFile {
 public:
  explicit InputFile(int bitsPerSample) : path_(TempPath("in" + std::to_string(bitsPerSample) + ".wav")) {
    const std::size_t dataBytes = std::size_t{kSamples} * static_cast<std::size_t>(bitsPerSample / 8);
    std::ofstream(path_, std::ios::binary) << std::string(kHeaderBytes, '\0') << RandomBytes(dataBytes);
  }
  ~InputFile() { std::remove(path_.c_str()); }
  InputFile(const InputFile&) = delete;
  InputFile& operator=(const InputFile&) = delete;

  const std::string& Path() const { return path_; }

 private:
  std::string path_;
};

// Random 24-bit samples, full scale included.
PackedArray RandomSamples() {
  PackedArray samples;
  CreateArray(samples, kSamples, 4);
  std::mt19937 random(2026);
  std::uniform_int_distribution<std::int32_t> value(-8388608, 8388607);
  for (std::int32_t i = 0; i < kSamples; ++i) {
    std::memcpy(samples.Storage() + 4 * static_cast<std::size_t>(i), EncodeInt32(value(random)).data(), 4);
  }
  return samples;
}

void LoadSamplesStep(benchmark::State& state, int bitsPerSample) {
  const InputFile input(bitsPerSample);
  PosixFileService files;
  FileChannel channel(files);
  for (auto _ : state) {
    PackedArray samples = LoadSamples(channel, input.Path(), kSamples, bitsPerSample, kCanonicalFirstSamplePosition);
    benchmark::DoNotOptimize(samples.Storage());
  }
  if (TakeErrorNumber() != 0) state.SkipWithError("the input file could not be read");
}

void GenerateErrorSignalStep(benchmark::State& state) {
  const PackedArray samples = RandomSamples();
  for (auto _ : state) {
    DitherSource dither;
    PackedArray errors = GenerateErrorSignal(samples, kSamples, 24, dither);
    benchmark::DoNotOptimize(errors.Storage());
  }
  if (TakeErrorNumber() != 0) state.SkipWithError("the error signal could not be made");
}

void WriteOutputFileStep(benchmark::State& state) {
  const std::string path = TempPath("out.wav");
  const PackedArray samples = RandomSamples();
  DitherSource dither;
  const PackedArray errors = GenerateErrorSignal(samples, kSamples, 24, dither);
  PosixFileService files;
  FileChannel channel(files);
  for (auto _ : state) WriteOutputFile(channel, path, errors, kSamples, 1, 44100);
  if (TakeErrorNumber() != 0) state.SkipWithError("the output file could not be written");
  std::remove(path.c_str());
}

// The kernels alone, on blocks that are already mapped: the step's time less
// its first touch of fresh memory and its file transfer.
void WidenCellsKernel(benchmark::State& state, const SampleKernels& kernels) {
  const std::string cells = RandomBytes(std::size_t{3} * kSamples);
  std::vector<std::uint8_t> block(std::size_t{4} * kSamples);
  for (auto _ : state) {
    state.PauseTiming();
    std::memcpy(block.data() + kSamples, cells.data(), cells.size());
    state.ResumeTiming();
    kernels.widenCells(block.data(), kSamples);
    benchmark::ClobberMemory();
  }
}

void GenerateErrorsKernel(benchmark::State& state, const SampleKernels& kernels) {
  const PackedArray samples = RandomSamples();
  std::vector<std::uint8_t> errors(std::size_t{2} * kSamples);
  for (auto _ : state) {
    benchmark::DoNotOptimize(
        kernels.generateErrors(samples.Storage(), errors.data(), kSamples, 1.0 / 256.0, DitherSource{}.State()));
    benchmark::ClobberMemory();
  }
}

// The two parts of loading that the platform does: the one read of the
// samples from the page cache into memory that is already mapped, and the
// first touch of a fresh sample array, which the kernel fills with zeros.
void PlatformReadPart(benchmark::State& state) {
  const InputFile input(24);
  std::vector<std::uint8_t> block(std::size_t{3} * kSamples);
  PosixFileService files;
  FileChannel channel(files);
  for (auto _ : state) {
    channel.OpenReadWrite(input.Path(), FileChannel::WhenMissing::kFail);
    channel.ReadBlockAt(kHeaderBytes + 1, block.data(), static_cast<std::uint32_t>(block.size()));
    channel.Close();
    benchmark::ClobberMemory();
  }
  if (TakeErrorNumber() != 0) state.SkipWithError("the input file could not be read");
}

// A fresh sample array, touched once per 4 KiB page: in the tool's own array
// storage, and in memory mapped on a huge page boundary, advised for
// transparent huge pages and populated at once, where the touch only finds
// every page in place. Within one process both get back the pages that the
// iteration before freed, which a fresh process does not.
constexpr std::size_t kPage = 4096;

void FirstTouchCreatedArray(benchmark::State& state) {
  for (auto _ : state) {
    PackedArray samples;
    CreateArray(samples, kSamples, 4);
    for (std::size_t offset = 0; offset < samples.ByteSize(); offset += kPage) samples.Storage()[offset] = 1;
    benchmark::ClobberMemory();
  }
  if (TakeErrorNumber() != 0) state.SkipWithError("the array could not be created");
}

void FirstTouchHugePages(benchmark::State& state) {
  constexpr std::size_t kHugePage = std::size_t{2} << 20;
  constexpr std::size_t kBytes = std::size_t{4} * kSamples;
  constexpr std::size_t kMapped = kBytes + kHugePage;
  for (auto _ : state) {
    void* mapping = ::mmap(nullptr, kMapped, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (mapping == MAP_FAILED) {
      state.SkipWithError("no memory");
      break;
    }
    const auto start = reinterpret_cast<std::uintptr_t>(mapping);
    auto* block = reinterpret_cast<std::uint8_t*>((start + kHugePage - 1) & ~std::uintptr_t{kHugePage - 1});
    ::madvise(block, kBytes, MADV_HUGEPAGE);
    ::madvise(block, kBytes, MADV_POPULATE_WRITE);
    for (std::size_t offset = 0; offset < kBytes; offset += kPage) block[offset] = 1;
    benchmark::ClobberMemory();
    ::munmap(mapping, kMapped);
  }
}

// What the machine takes to move the step's bytes and nothing else: a copy of
// the bytes the step reads and a fill of the bytes it writes, in memory that
// is already mapped.
void MemoryBaseline(benchmark::State& state, std::size_t readBytes, std::size_t writtenBytes) {
  const std::vector<std::uint8_t> source(readBytes, 0x5A);
  std::vector<std::uint8_t> copy(readBytes);
  std::vector<std::uint8_t> written(writtenBytes);
  for (auto _ : state) {
    std::memcpy(copy.data(), source.data(), readBytes);
    std::memset(written.data(), 0xA5, writtenBytes);
    benchmark::ClobberMemory();
  }
}

struct Step {
  std::string name;
  std::function<void(benchmark::State&)> run;
  std::size_t bytesReadPerSample;
  std::size_t bytesWrittenPerSample;
};

// Registers each step and, right after it, its memory baseline.
void RegisterSteps() {
  const Step steps[] = {
      {"LoadSamples24", [](benchmark::State& state) { LoadSamplesStep(state, 24); }, 3, 4},
      {"LoadSamples32", [](benchmark::State& state) { LoadSamplesStep(state, 32); }, 4, 4},
      {"GenerateErrorSignal", GenerateErrorSignalStep, 4, 2},
      {"WriteOutputFile", WriteOutputFileStep, 2, 2},
      {"PlatformRead24", PlatformReadPart, 3, 3},
      {"FirstTouch32", FirstTouchCreatedArray, 0, 4},
      {"FirstTouch32/hugepages", FirstTouchHugePages, 0, 4},
  };
  std::vector<Step> all(std::begin(steps), std::end(steps));
  for (const SampleKernels& kernels : RunnableKernelSets()) {
    const std::string set = kernels.name;
    all.push_back(
        {"WidenCells/" + set, [kernels](benchmark::State& state) { WidenCellsKernel(state, kernels); }, 3, 4});
    all.push_back(
        {"GenerateErrors/" + set, [kernels](benchmark::State& state) { GenerateErrorsKernel(state, kernels); }, 4, 2});
  }
  for (const Step& step : all) {
    const std::function<void(benchmark::State&)> run = step.run;
    const std::size_t readBytes = step.bytesReadPerSample * kSamples;
    const std::size_t writtenBytes = step.bytesWrittenPerSample * kSamples;
    benchmark::RegisterBenchmark(step.name.c_str(), [run](benchmark::State& state) {
      run(state);
      state.SetItemsProcessed(state.iterations() * kSamples);
    })->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark((step.name + kBaselineSuffix).c_str(), [readBytes,
                                                                         writtenBytes](benchmark::State& state) {
      MemoryBaseline(state, readBytes, writtenBytes);
      state.SetItemsProcessed(state.iterations() * kSamples);
    })->Unit(benchmark::kMillisecond);
  }
}

}  // namespace
}  // namespace corvane

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  corvane::RegisterSteps();
  corvane::RatioReporter reporter(corvane::kSamples);
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}
