// The processor check for MSVC: CPUID for the instructions, XGETBV for the
// operating system's saving of the 256-bit registers.

#include <immintrin.h>
#include <intrin.h>

#include "common/processor_features.hpp"

namespace corvane {

namespace {
constexpr int kOsSavesRegisters = 1 << 27;  // CPUID 1, ECX: OSXSAVE
constexpr int kAvx = 1 << 28;               // CPUID 1, ECX
constexpr int kAvx2 = 1 << 5;               // CPUID 7.0, EBX
constexpr unsigned kSseAndAvxState = 0x6;   // XCR0: XMM and YMM registers
}  // namespace

bool ProcessorRunsAvx2() {
  int registers[4];  // EAX, EBX, ECX, EDX
  __cpuid(registers, 0);
  if (registers[0] < 7) return false;
  __cpuid(registers, 1);
  if ((registers[2] & kOsSavesRegisters) == 0 || (registers[2] & kAvx) == 0) return false;
  if ((_xgetbv(0) & kSseAndAvxState) != kSseAndAvxState) return false;
  __cpuidex(registers, 7, 0);
  return (registers[1] & kAvx2) != 0;
}

}  // namespace corvane
