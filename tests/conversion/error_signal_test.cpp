#include "conversion/error_signal.hpp"

#include <gtest/gtest.h>

#include <vector>

#include "filechannel/error_number.hpp"

namespace corvane {
namespace {

PackedArray SampleBuffer(const std::vector<std::int32_t>& values) {
  PackedArray samples;
  CreateArray(samples, static_cast<std::int64_t>(values.size()), 4);
  for (std::size_t i = 0; i < values.size(); ++i) samples.SetInt32At(static_cast<std::int32_t>(i), values[i]);
  return samples;
}

std::vector<std::int16_t> Outputs(const PackedArray& errors) {
  std::vector<std::int16_t> values;
  for (std::int32_t i = 0; i < errors.Count(); ++i) values.push_back(errors.Int16At(i));
  return values;
}

std::vector<std::int16_t> Generate(const std::vector<std::int32_t>& values, std::int32_t bits) {
  DitherSource dither;
  return Outputs(GenerateErrorSignal(SampleBuffer(values), static_cast<std::int32_t>(values.size()), bits, dither));
}

// 384 is x = 1.5, rounding to the even 2 (e = +8000); 128 is x = 0.5,
// rounding to the even 0 (e = -8000); samples on a 16-bit step give pure
// dither.
const std::vector<std::int16_t> kTenSampleOutputs = {8000, -6250, 6250, 0, 0, 1, -63, -7937, -8000, 7938};

TEST(ErrorSignalTest, TenSampleExampleAt24Bits) {
  EXPECT_EQ(Generate({384, 100, -100, 8388352, -8388608, 0, 1, 127, 128, 129}, 24), kTenSampleOutputs);
}

TEST(ErrorSignalTest, TenSampleExampleAt32BitsGivesTheSameOutputs) {
  EXPECT_EQ(Generate({98304, 25600, -25600, 2147418112, -2147483648, 0, 256, 32512, 32768, 33024}, 32),
            kTenSampleOutputs);
}

// Samples from full scale minus half a step round up to 32768, one past the
// 16-bit range; the error must still be small and positive.
TEST(ErrorSignalTest, FullScaleStaysWithinEightThousandAndOne) {
  struct Case {
    const char* label;
    std::int32_t bits;
    std::int32_t sample;
    int drawsBefore;
    std::int16_t expected;
  };
  const Case cases[] = {
      {"24-bit x = 32767.5, first pair", 24, 8388480, 0, 8000},
      {"24-bit x = 32767.5, eleventh pair", 24, 8388480, 20, 8001},
      {"24-bit largest, first pair", 24, 8388607, 0, 63},
      {"24-bit largest, twelfth pair", 24, 8388607, 22, 62},
      {"24-bit smallest", 24, -8388608, 0, 0},
      {"32-bit x = 32767.5, eleventh pair", 32, 2147450880, 20, 8001},
      {"32-bit largest, eleventh pair", 32, 2147483647, 20, 1},
      {"32-bit largest, first pair", 32, 2147483647, 0, 0},
      {"32-bit smallest", 32, -2147483647 - 1, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    DitherSource dither;
    for (int i = 0; i < c.drawsBefore; ++i) dither.NextUniform();
    const PackedArray errors = GenerateErrorSignal(SampleBuffer({c.sample}), 1, c.bits, dither);
    ASSERT_TRUE(errors.HasStorage());
    EXPECT_EQ(errors.Int16At(0), c.expected);
  }
}

// Without samples nothing may be drawn or touched: the result has no storage.
TEST(ErrorSignalTest, NoSamplesGiveNoBufferAndDrawNothing) {
  struct Case {
    const char* label;
    std::int32_t count;
    std::uint8_t errorNumber;
  };
  const Case cases[] = {{"count 0", 0, 9}, {"negative count", -1, 9}, {"samples never loaded", 5, 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    TakeErrorNumber();
    DitherSource dither;
    const PackedArray missing;
    const PackedArray errors = GenerateErrorSignal(missing, c.count, 24, dither);
    EXPECT_FALSE(errors.HasStorage());
    EXPECT_EQ(errors.Count(), 0);
    EXPECT_EQ(TakeErrorNumber(), c.errorNumber);
    EXPECT_EQ(dither.NextUniform(), 0.9686200609430671);
  }
}

}  // namespace
}  // namespace corvane
