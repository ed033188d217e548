// The processor check: the runtime of GCC and Clang has asked the processor and
// the operating system once at start-up.

#include "common/processor_features.hpp"

namespace corvane {

bool ProcessorRunsAvx2() {
  __builtin_cpu_init();
  return __builtin_cpu_supports("avx2") != 0;
}

}  // namespace corvane
