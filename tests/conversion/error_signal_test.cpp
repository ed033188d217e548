// The error signal: the dither it draws from, known samples with their known
// errors, and every kernel set the processor can run, the plain one included,
// against the plain per-sample loops the conversion was first written as: the
// same bytes for millions of random samples, for every short count and for
// the cases where rounding is decided by a tie.

#include "conversion/error_signal.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cfenv>
#include <cstring>
#include <random>
#include <string>

#include "conversion/dither_leap.hpp"
#include "conversion/kernel_sets.hpp"
#include "support/reference_conversion.hpp"

namespace corvane {
namespace {

// The error signal of `samples` from a fresh dither source, in two
// conversions: the first seven samples, then the rest from where the first
// conversion's draws left the source.
std::vector<std::int16_t> Generate(const std::vector<std::int32_t>& samples, std::int32_t bits) {
  DitherSource dither;
  std::vector<std::int16_t> errors;
  for (std::size_t from = 0; from < samples.size(); from += 7) {
    const auto count = static_cast<std::int32_t>(std::min<std::size_t>(7, samples.size() - from));
    PackedArray part;
    CreateArray(part, count, 4);
    for (int i = 0; i < count; ++i) std::memcpy(part.Storage() + 4 * i, EncodeInt32(samples[from + i]).data(), 4);
    const PackedArray values = GenerateErrorSignal(part, count, bits, dither);
    for (std::int32_t i = 0; i < count; ++i) errors.push_back(DecodeInt16(CellBytes(values, i)));
  }
  return errors;
}

// The dither starts the same on every run and missing samples draw nothing.
// The ten-sample example: 384 is x = 1.5, rounding to the even 2 (e = +8000);
// 128 is x = 0.5, rounding to the even 0 (e = -8000); samples on a 16-bit
// step give pure dither. The 32-bit samples are the 24-bit ones times 256.
// An eleventh sample from full scale minus half a step rounds up to 32768, one
// past the 16-bit range: its error must still be small and positive.
TEST(ErrorSignalTest, KnownSamplesGiveTheKnownOutputsAtBothResolutions) {
  DitherSource dither;
  EXPECT_FALSE(GenerateErrorSignal(PackedArray{}, 5, 24, dither).HasStorage()) << "samples never loaded";
  for (const double draw : {0.9686200609430671, 0.20171141158789396, 0.519515969324857, 0.13224066281691194,
                            0.8741881158202887, 0.024617565795779228})
    EXPECT_EQ(dither.NextUniform(), draw);
  std::vector<std::int32_t> ten24 = {384, 100, -100, 8388352, -8388608, 0, 1, 127, 128, 129, 8388480}, ten32;
  for (const std::int32_t sample : ten24) ten32.push_back(sample * 256);
  std::vector<std::int16_t> ten = {8000, -6250, 6250, 0, 0, 1, -63, -7937, -8000, 7938, 8001};
  EXPECT_EQ(Generate(ten24, 24), ten) << "24-bit, then x = 32767.5";
  EXPECT_EQ(Generate(ten32, 32), ten) << "32-bit, then x = 32767.5";
  ten32.back() = 2147483647, ten.back() = 1;
  EXPECT_EQ(Generate(ten32, 32), ten) << "32-bit, then the largest";
  EXPECT_EQ(Generate({8388607}, 24), std::vector<std::int16_t>{63}) << "24-bit, the largest first";
}

// The kernels' values are little-endian: here they are this machine's int32_t.
static_assert(std::endian::native == std::endian::little);

std::vector<std::int32_t> KernelWiden(const SampleKernels& kernels, const std::vector<std::uint8_t>& cells) {
  const auto count = static_cast<std::int32_t>(cells.size() / 3);
  std::vector<std::int32_t> block(cells.size() / 3);  // the cells go in from byte `count` on
  std::copy(cells.begin(), cells.end(), reinterpret_cast<std::uint8_t*>(block.data()) + count);
  kernels.widenCells(reinterpret_cast<std::uint8_t*>(block.data()), count);
  return block;
}

// The kernel's bytes for `samples` from dither state `start`, against the
// reference loop's from the same state, and the state each leaves behind. The
// kernels round by their own rule, not by the floating-point unit's current
// mode, which a platform call or a library might have changed.
void ExpectReferenceErrors(const SampleKernels& kernels, const std::vector<std::int32_t>& samples, double perStep,
                           std::uint32_t start, Ties& ties) {
  DitherSource dither;
  dither.SetState(start);
  const std::vector<std::uint8_t> expected = ReferenceErrors(samples, perStep, dither, ties);
  for (const int mode : {FE_TONEAREST, FE_UPWARD, FE_DOWNWARD, FE_TOWARDZERO}) {
    std::vector<std::uint8_t> errors(2 * samples.size());
    std::fesetround(mode);
    volatile double one = 1.0;  // a third rounds down to nearest, a tenth up: they tell nearest from every other mode
    const volatile double third = one / 3, tenth = one / 10;
    const std::uint32_t end =
        kernels.generateErrors(reinterpret_cast<const std::uint8_t*>(samples.data()), errors.data(),
                               static_cast<std::int32_t>(samples.size()), perStep, start);
    EXPECT_TRUE(std::fegetround() == mode && one / 3 == third && one / 10 == tenth) << "the caller's mode is put back";
    std::fesetround(FE_TONEAREST);
    ASSERT_EQ(errors, expected) << samples.size() << " samples, rounding mode " << mode;
    EXPECT_EQ(end, dither.State()) << "the dither state after the last draw";
  }
}

// Random samples of `bits` bits, weighted towards the cases that decide the
// rounding: exact 16-bit steps, exact half steps and both ends of full scale.
std::vector<std::int32_t> RandomSamples(std::size_t count, int bits) {
  std::mt19937 random(bits);
  std::vector<std::int32_t> samples(count);
  for (std::int32_t& sample : samples) {
    const std::uint32_t value = random();  // as a 32-bit sample; a 24-bit one is its top three bytes
    // On a step or half way, the top step of full scale, the bottom one, anywhere.
    const std::uint32_t kinds[] = {value & 0xFFFF8000u, 0x7FFF0000u | (value & 0xFFFFu),
                                   0x80000000u | (value & 0xFFFFu), value, value};
    sample = static_cast<std::int32_t>(kinds[random() % 5]) >> (32 - bits);
  }
  return samples;
}

// The state `draws` draws before `after`: the multiplier is odd, so each draw
// can be undone with its inverse modulo 2^32.
std::uint32_t StateBefore(std::uint32_t after, int draws) {
  static_assert(3645876429u * kDitherMultiplier == 1u);
  for (int i = 0; i < draws; ++i) after = (after - kDitherIncrement) * 3645876429u;
  return after;
}

// The dithered value lies exactly half way between two integers only where
// the two draws' sum has few fractional bits. From these states after a first
// draw, the two draws sum to 0, 0.5, 1, 1.5 and 3/512: with the right sample
// the value is a tie, rounding to the even side.
constexpr std::uint32_t kStatesAfterTyingDraw[] = {0x00000000u, 0x40000000u, 0x80000000u, 0xC0000000u, 0x00400000u};

TEST(SampleKernelsTest, EveryKernelSetGivesTheBytesOfThePlainLoops) {
  const std::vector<SampleKernels> sets = RunnableKernelSets();
  EXPECT_TRUE(std::ranges::any_of(sets, [](const SampleKernels& k) { return std::string(k.name) == "plain"; }));
  std::mt19937 random(11);
  std::vector<std::uint8_t> cells(3 * 2'000'003);
  for (std::uint8_t& byte : cells) byte = static_cast<std::uint8_t>(random());
  for (const SampleKernels& kernels : sets) {
    SCOPED_TRACE(kernels.name);
    // Every count up to 40 meets every way a vector pass and the plain rest can share a block; then two million.
    for (std::size_t count = 0; count <= 41; ++count) {
      const std::vector<std::uint8_t> few(cells.begin(), count > 40 ? cells.end() : cells.begin() + 3 * count);
      ASSERT_EQ(KernelWiden(kernels, few), ReferenceWiden(few)) << few.size() / 3 << " cells";
    }
    for (const int bits : {24, 32}) {
      SCOPED_TRACE(std::to_string(bits) + "-bit");
      const double perStep = bits == 24 ? 1.0 / 256 : 1.0 / 65536;
      const std::vector<std::int32_t> samples = RandomSamples(2'000'003, bits);
      Ties ties, lanes;
      for (std::size_t count = 0; count <= 41; ++count) {
        const std::vector<std::int32_t> few(samples.begin(), count > 40 ? samples.end() : samples.begin() + count);
        ExpectReferenceErrors(kernels, few, perStep, 0xFFFFFFFFu, ties);
      }
      EXPECT_GT(ties.inSamples, 1000) << "the samples hold half steps";
      // Each lane of a pass meets each tying draw; 512 consecutive samples meet every error value modulo 1.
      for (const std::uint32_t afterFirst : kStatesAfterTyingDraw) {
        for (int lane = 0; lane < 8; ++lane) {
          std::vector<std::int32_t> nine(9, 0);
          for (std::int32_t offset = 0; offset < 512 && !HasFatalFailure(); ++offset) {
            nine[lane] = (bits == 24 ? -300 : 2147483647 - 511) + offset;
            ExpectReferenceErrors(kernels, nine, perStep, StateBefore(afterFirst, 2 * lane + 1), lanes);
          }
        }
      }
      EXPECT_GE(lanes.inValues, 5 * 8) << "a tie for every state and lane";
    }
  }
}

}  // namespace
}  // namespace corvane
