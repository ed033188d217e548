#include "conversion/error_signal.hpp"

#include <gtest/gtest.h>

#include <vector>

namespace corvane {
namespace {

// The dither the error signal draws from: the same sequence on every run.
TEST(DitherSourceTest, FirstDrawsOfARunAreFixed) {
  const double expected[] = {0.9686200609430671,  0.20171141158789396, 0.519515969324857,
                             0.13224066281691194, 0.8741881158202887,  0.024617565795779228};
  DitherSource dither;
  for (int draw = 0; draw < 6; ++draw) EXPECT_EQ(dither.NextUniform(), expected[draw]) << "draw " << draw + 1;
}

PackedArray SampleBuffer(const std::vector<std::int32_t>& samples) {
  PackedArray buffer;
  CreateArray(buffer, static_cast<std::int64_t>(samples.size()), 4);
  for (std::size_t i = 0; i < samples.size(); ++i) buffer.SetInt32At(static_cast<std::int32_t>(i), samples[i]);
  return buffer;
}

std::vector<std::int16_t> Values(const PackedArray& errors) {
  std::vector<std::int16_t> values;
  for (std::int32_t i = 0; i < errors.Count(); ++i) values.push_back(errors.Int16At(i));
  return values;
}

// The error signal of `samples`, from `dither`.
std::vector<std::int16_t> Generate(const std::vector<std::int32_t>& samples, std::int32_t bits, DitherSource& dither) {
  return Values(GenerateErrorSignal(SampleBuffer(samples), static_cast<std::int32_t>(samples.size()), bits, dither));
}

// The error signal of `samples`, drawn from a fresh dither source after
// `drawsBefore` draws have been thrown away.
std::vector<std::int16_t> Generate(const std::vector<std::int32_t>& samples, std::int32_t bits, int drawsBefore = 0) {
  DitherSource dither;
  for (int i = 0; i < drawsBefore; ++i) dither.NextUniform();
  return Generate(samples, bits, dither);
}

// 384 is x = 1.5, rounding to the even 2 (e = +8000); 128 is x = 0.5,
// rounding to the even 0 (e = -8000); samples on a 16-bit step give pure
// dither. The 32-bit samples are the 24-bit ones times 256.
TEST(ErrorSignalTest, TenSampleExampleGivesTheKnownOutputsAtBothResolutions) {
  const std::vector<std::int16_t> expected = {8000, -6250, 6250, 0, 0, 1, -63, -7937, -8000, 7938};
  EXPECT_EQ(Generate({384, 100, -100, 8388352, -8388608, 0, 1, 127, 128, 129}, 24), expected) << "24-bit";
  EXPECT_EQ(Generate({98304, 25600, -25600, 2147418112, -2147483648, 0, 256, 32512, 32768, 33024}, 32), expected)
      << "32-bit";
}

// Samples from full scale minus half a step round up to 32768, one past the
// 16-bit range; the error must still be small and positive.
TEST(ErrorSignalTest, FullScaleStaysWithinEightThousandAndOne) {
  using Outputs = std::vector<std::int16_t>;
  EXPECT_EQ(Generate({8388480}, 24, 20), Outputs{8001}) << "24-bit x = 32767.5, eleventh pair";
  EXPECT_EQ(Generate({8388607}, 24), Outputs{63}) << "24-bit largest, first pair";
  EXPECT_EQ(Generate({2147450880}, 32, 20), Outputs{8001}) << "32-bit x = 32767.5, eleventh pair";
  EXPECT_EQ(Generate({2147483647}, 32, 20), Outputs{1}) << "32-bit largest, eleventh pair";
}

// The dither source goes on from the last draw of a conversion: two in a row
// draw the same values as one of all their samples, and leave the source at
// the same place.
TEST(ErrorSignalTest, TheDitherSourceGoesOnFromTheLastDrawOfAConversion) {
  std::vector<std::int32_t> samples;
  for (std::int32_t i = 0; i < 40; ++i) samples.push_back(i * 1000 - 20000);
  DitherSource once;
  const std::vector<std::int16_t> whole = Generate(samples, 24, once);
  DitherSource twice;
  std::vector<std::int16_t> parts = Generate({samples.begin(), samples.begin() + 27}, 24, twice);
  const std::vector<std::int16_t> rest = Generate({samples.begin() + 27, samples.end()}, 24, twice);
  parts.insert(parts.end(), rest.begin(), rest.end());
  EXPECT_EQ(parts, whole);
  EXPECT_EQ(twice.NextUniform(), once.NextUniform());
}

TEST(ErrorSignalTest, NoSamplesGiveNoBufferAndDrawNothing) {
  DitherSource dither;
  EXPECT_FALSE(GenerateErrorSignal(PackedArray{}, 0, 24, dither).HasStorage());
  EXPECT_EQ(dither.NextUniform(), 0.9686200609430671);
}

}  // namespace
}  // namespace corvane
