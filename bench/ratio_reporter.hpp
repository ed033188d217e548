#pragma once

#include <benchmark/benchmark.h>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace corvane {

// The name of a step's memory baseline is the step's name followed by this.
inline constexpr const char* kBaselineSuffix = "/memory";

// The console table as usual, then one line per step that has a memory
// baseline: both times per sample and the step's time over its baseline's.
// With repetitions, each figure is the median of the repetitions.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  explicit RatioReporter(std::int64_t samplesPerIteration)
      : ConsoleReporter(OO_Tabular), samplesPerIteration_(samplesPerIteration) {}

  void ReportRuns(const std::vector<Run>& reports) override;
  void Finalize() override;

 private:
  double NanosecondsPerSample(const std::string& name) const;

  std::int64_t samplesPerIteration_;
  std::vector<std::string> order_;
  std::map<std::string, std::vector<double>> secondsPerIteration_;
};

}  // namespace corvane
