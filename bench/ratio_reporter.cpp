#include "bench/ratio_reporter.hpp"

#include <algorithm>
#include <cstdio>
#include <ostream>

namespace corvane {

void RatioReporter::ReportRuns(const std::vector<Run>& reports) {
  ConsoleReporter::ReportRuns(reports);
  for (const Run& run : reports) {
    if (run.error_occurred || run.run_type != Run::RT_Iteration || run.iterations == 0) continue;
    const std::string& name = run.run_name.function_name;
    auto [entry, added] = secondsPerIteration_.try_emplace(name);
    if (added) order_.push_back(name);
    entry->second.push_back(run.real_accumulated_time / static_cast<double>(run.iterations));
  }
}

double RatioReporter::NanosecondsPerSample(const std::string& name) const {
  std::vector<double> times = secondsPerIteration_.at(name);
  std::sort(times.begin(), times.end());
  const std::size_t middle = times.size() / 2;
  const double median = times.size() % 2 == 1 ? times[middle] : (times[middle - 1] + times[middle]) / 2;
  return median * 1e9 / static_cast<double>(samplesPerIteration_);
}

void RatioReporter::Finalize() {
  bool header = false;
  for (const std::string& name : order_) {
    const std::string baseline = name + kBaselineSuffix;
    if (secondsPerIteration_.count(baseline) == 0) continue;
    if (!header) {
      GetOutputStream() << "\nPer sample, beside plain memory traffic over the same bytes:\n";
      header = true;
    }
    const double step = NanosecondsPerSample(name);
    const double memory = NanosecondsPerSample(baseline);
    char line[160];
    std::snprintf(line, sizeof line, "  %-24s %7.3f ns  (%6.1f M/s)   memory %7.3f ns  (%6.1f M/s)   ratio %5.2f\n",
                  name.c_str(), step, 1e3 / step, memory, 1e3 / memory, step / memory);
    GetOutputStream() << line;
  }
  GetOutputStream().flush();
}

}  // namespace corvane
