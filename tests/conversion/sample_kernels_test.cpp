// Every kernel set the processor can run, the plain one included, against the
// plain per-sample loops the conversion was first written as: the same bytes
// for millions of random samples and for the cases where rounding is decided
// by a tie.

#include "conversion/sample_kernels.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cfenv>
#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "conversion/dither_leap.hpp"
#include "conversion/dither_source.hpp"
#include "conversion/kernel_sets.hpp"
#include "filechannel/packed_array.hpp"
#include "support/reference_conversion.hpp"

namespace corvane {
namespace {

// ---- The kernels, on plain vectors of exactly the bytes they may touch.

std::vector<std::uint8_t> SampleBytes(const std::vector<std::int32_t>& samples) {
  std::vector<std::uint8_t> bytes;
  for (const std::int32_t sample : samples) {
    for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<std::uint8_t>(static_cast<std::uint32_t>(sample) >> 8 * i));
  }
  return bytes;
}

std::vector<std::int32_t> KernelWiden(const SampleKernels& kernels, const std::vector<std::uint8_t>& cells) {
  const auto count = static_cast<std::int32_t>(cells.size() / 3);
  std::vector<std::uint8_t> block(4 * cells.size() / 3);
  std::copy(cells.begin(), cells.end(), block.begin() + count);
  kernels.widenCells(block.data(), count);
  std::vector<std::int32_t> values(static_cast<std::size_t>(count));
  for (std::int32_t i = 0; i < count; ++i) {
    const std::uint8_t* value = block.data() + 4 * i;
    values[i] = static_cast<std::int32_t>(value[0] | value[1] << 8 | value[2] << 16 |
                                          static_cast<std::uint32_t>(value[3]) << 24);
  }
  return values;
}

// Also checks that the kernel hands back the state after all of its draws.
std::vector<std::uint8_t> KernelErrors(const SampleKernels& kernels, const std::vector<std::int32_t>& samples,
                                       double perStep, std::uint32_t startState, std::uint32_t expectedEndState) {
  const std::vector<std::uint8_t> input = SampleBytes(samples);
  std::vector<std::uint8_t> errors(2 * samples.size());
  const std::uint32_t endState = kernels.generateErrors(input.data(), errors.data(),
                                                        static_cast<std::int32_t>(samples.size()), perStep, startState);
  EXPECT_EQ(endState, expectedEndState) << "dither state after " << samples.size() << " samples";
  return errors;
}

// ---- Inputs.

constexpr double kPerStep24 = 1.0 / 256.0;
constexpr double kPerStep32 = 1.0 / 65536.0;

// Random samples of `bits` bits, weighted towards the cases that decide the
// rounding: exact 16-bit steps, exact half steps and both ends of full scale.
std::vector<std::int32_t> RandomSamples(std::size_t count, int bits, std::uint32_t seed) {
  const std::int64_t step = bits == 24 ? 256 : 65536;
  const std::int64_t lowest = bits == 24 ? -8388608 : -2147483648LL;
  const std::int64_t highest = -lowest - 1;
  std::mt19937 random(seed);
  std::uniform_int_distribution<std::int64_t> anyValue(lowest, highest);
  std::uniform_int_distribution<std::int64_t> anyStep(lowest / step, highest / step);
  std::uniform_int_distribution<std::int64_t> nearEnd(0, step);
  std::vector<std::int32_t> samples(count);
  for (std::int32_t& sample : samples) {
    std::int64_t value = 0;
    switch (random() % 6) {
      case 0: value = anyStep(random) * step; break;             // on a step
      case 1: value = anyStep(random) * step + step / 2; break;  // half way
      case 2: value = highest - nearEnd(random); break;          // top of full scale
      case 3: value = lowest + nearEnd(random); break;           // bottom of full scale
      default: value = anyValue(random); break;
    }
    sample = static_cast<std::int32_t>(std::clamp(value, lowest, highest));
  }
  return samples;
}

std::vector<std::uint8_t> RandomBytes(std::size_t count, std::uint32_t seed) {
  std::mt19937 random(seed);
  std::vector<std::uint8_t> bytes(count);
  for (std::uint8_t& byte : bytes) byte = static_cast<std::uint8_t>(random());
  return bytes;
}

std::string Label(const SampleKernels& kernels, const std::string& what) {
  return std::string(kernels.name) + ": " + what;
}

// ---- The tests.

TEST(SampleKernelsTest, ThePlainSetIsAlwaysRunnableAndTheFastestIsTheFirst) {
  const std::vector<SampleKernels> sets = RunnableKernelSets();
  ASSERT_FALSE(sets.empty());
  EXPECT_STREQ(sets.back().name, "plain");
  EXPECT_STREQ(FastestKernels().name, sets.front().name);
}

TEST(SampleKernelsTest, WideningGivesTheBytesOfTheCellByCellLoop) {
  // Both extremes, -1 and 384, then random cells; every count up to 40 meets
  // every way a vector pass and the plain rest can share a block.
  const std::vector<std::uint8_t> known = {0x00, 0x00, 0x80, 0xFF, 0xFF, 0x7F, 0xFF, 0xFF, 0xFF, 0x80, 0x01, 0x00};
  const std::vector<std::uint8_t> many = RandomBytes(3 * 2'000'003, 11);
  for (const SampleKernels& kernels : RunnableKernelSets()) {
    SCOPED_TRACE(kernels.name);
    EXPECT_EQ(KernelWiden(kernels, known), (std::vector<std::int32_t>{-8388608, 8388607, -1, 384}));
    for (std::size_t count = 0; count <= 40; ++count) {
      const std::vector<std::uint8_t> cells(many.begin(), many.begin() + 3 * count);
      ASSERT_EQ(KernelWiden(kernels, cells), ReferenceWiden(cells)) << count << " cells";
    }
    ASSERT_EQ(KernelWiden(kernels, many), ReferenceWiden(many)) << "two million cells";
  }
}

TEST(SampleKernelsTest, ErrorsGiveTheBytesOfTheSampleBySampleLoop) {
  struct Case {
    const char* label;
    int bits;
    double perStep;
    std::size_t count;
  };
  const Case cases[] = {
      {"24-bit, two million", 24, kPerStep24, 2'000'005},
      {"32-bit, two million", 32, kPerStep32, 2'000'003},
      {"24-bit, 13 for the rest after a pass", 24, kPerStep24, 13},
      {"32-bit, 7, fewer than a pass", 32, kPerStep32, 7},
  };
  for (const Case& c : cases) {
    const std::vector<std::int32_t> samples = RandomSamples(c.count, c.bits, c.bits);
    DitherSource dither;
    Ties ties;
    const std::vector<std::uint8_t> expected = ReferenceErrors(samples, c.perStep, dither, ties);
    if (c.count > 1'000'000) {
      EXPECT_GT(ties.inSamples, 1000) << c.label << ": the samples hold half steps";
    }
    // The kernels round by their own rule, not by the floating-point unit's
    // current mode, which a platform call or a library might have changed.
    const int before = std::fegetround();
    for (const int mode : {FE_TONEAREST, FE_UPWARD, FE_DOWNWARD, FE_TOWARDZERO}) {
      for (const SampleKernels& kernels : RunnableKernelSets()) {
        SCOPED_TRACE(Label(kernels, std::string(c.label) + ", rounding mode " + std::to_string(mode)));
        std::fesetround(mode);
        const std::vector<std::uint8_t> errors =
            KernelErrors(kernels, samples, c.perStep, DitherSource{}.State(), dither.State());
        EXPECT_EQ(std::fegetround(), mode) << "the caller's mode is put back";
        std::fesetround(before);
        ASSERT_EQ(errors, expected);
      }
    }
  }
}

// The state before a draw whose result is `after`: the multiplier is odd, so
// each draw can be undone with its inverse modulo 2^32.
std::uint32_t StateBefore(std::uint32_t after, int draws) {
  std::uint32_t inverse = kDitherMultiplier;  // Newton's iteration doubles the correct low bits each time
  for (int i = 0; i < 5; ++i) inverse *= 2u - kDitherMultiplier * inverse;
  for (int i = 0; i < draws; ++i) after = (after - kDitherIncrement) * inverse;
  return after;
}

// The dithered value lies exactly half way between two integers only where
// the two draws' sum has few fractional bits. From these states after a first
// draw, the two draws sum to 0, 0.5, 1, 1.5 and 3/512: with the right sample
// the value is a tie, rounding to the even side. Each lane of a pass gets them.
TEST(SampleKernelsTest, ErrorsRoundTiesOfTheDitheredValueToEvenInEveryLane) {
  const std::uint32_t statesAfterFirstDraw[] = {0x00000000, 0x40000000, 0x80000000, 0xC0000000, 0x00400000};
  struct Resolution {
    const char* label;
    double perStep;
    std::int32_t first;  // 512 consecutive samples from here meet every error value e modulo 1
  };
  const Resolution resolutions[] = {{"24-bit", kPerStep24, -300}, {"32-bit", kPerStep32, 2147483647 - 511}};
  constexpr int kLanes = 8;
  for (const Resolution& resolution : resolutions) {
    Ties ties;
    for (const SampleKernels& kernels : RunnableKernelSets()) {
      SCOPED_TRACE(Label(kernels, resolution.label));
      for (const std::uint32_t afterFirst : statesAfterFirstDraw) {
        for (int lane = 0; lane < kLanes; ++lane) {
          const std::uint32_t start = StateBefore(afterFirst, 2 * lane + 1);
          for (std::int32_t offset = 0; offset < 512; ++offset) {
            std::vector<std::int32_t> samples(kLanes + 1, 0);
            samples[lane] = resolution.first + offset;
            DitherSource dither;
            dither.SetState(start);
            const std::vector<std::uint8_t> expected = ReferenceErrors(samples, resolution.perStep, dither, ties);
            ASSERT_EQ(KernelErrors(kernels, samples, resolution.perStep, start, dither.State()), expected)
                << "lane " << lane << ", sample " << samples[lane];
          }
        }
      }
    }
    EXPECT_GE(ties.inValues, 5 * kLanes) << resolution.label << ": a tie for every state and lane";
  }
}

}  // namespace
}  // namespace corvane
