// Throughput of the conversion's stages on one million samples: loading a
// 24-bit file, generating the error signal, and writing the output file.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "conversion/dither_source.hpp"
#include "conversion/error_signal.hpp"
#include "conversion/output_writer.hpp"
#include "conversion/sample_loader.hpp"
#include "filechannel/error_number.hpp"
#include "filechannel/file_channel.hpp"
#include "platform/posix/posix_file_service.hpp"

namespace corvane {
namespace {

constexpr std::int32_t kSamples = 1'000'000;

PackedArray RampSamples() {
  PackedArray samples;
  CreateArray(samples, kSamples, 4);
  for (std::int32_t i = 0; i < kSamples; ++i)
    samples.SetInt32At(i, static_cast<std::int32_t>((std::int64_t{i} * 7919) % 16777216 - 8388608));
  return samples;
}

void GenerateErrorSignalBenchmark(benchmark::State& state) {
  const PackedArray samples = RampSamples();
  for (auto _ : state) {
    DitherSource dither;
    PackedArray errors = GenerateErrorSignal(samples, kSamples, 24, dither);
    benchmark::DoNotOptimize(errors.Storage());
  }
  state.SetItemsProcessed(state.iterations() * kSamples);
}
BENCHMARK(GenerateErrorSignalBenchmark)->Unit(benchmark::kMillisecond);

void LoadSamplesBenchmark(benchmark::State& state) {
  const std::string path = (std::filesystem::temp_directory_path() / "corvane-bench-in.wav").string();
  std::ofstream(path, std::ios::binary) << std::string(44 + 3 * kSamples, '\x5A');
  PosixFileService files;
  FileChannel channel(files);
  for (auto _ : state) {
    PackedArray samples = LoadSamples(channel, path, kSamples, 24);
    benchmark::DoNotOptimize(samples.Storage());
  }
  if (TakeErrorNumber() != 0) state.SkipWithError("the input file could not be read");
  state.SetItemsProcessed(state.iterations() * kSamples);
  std::remove(path.c_str());
}
BENCHMARK(LoadSamplesBenchmark)->Unit(benchmark::kMillisecond);

void WriteOutputFileBenchmark(benchmark::State& state) {
  const std::string path = (std::filesystem::temp_directory_path() / "corvane-bench-out.wav").string();
  const PackedArray samples = RampSamples();
  DitherSource dither;
  const PackedArray errors = GenerateErrorSignal(samples, kSamples, 24, dither);
  PosixFileService files;
  FileChannel channel(files);
  for (auto _ : state) WriteOutputFile(channel, path, errors, kSamples, 1, 44100);
  if (TakeErrorNumber() != 0) state.SkipWithError("the output file could not be written");
  state.SetItemsProcessed(state.iterations() * kSamples);
  std::remove(path.c_str());
}
BENCHMARK(WriteOutputFileBenchmark)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace corvane

BENCHMARK_MAIN();
