#include "conversion/sample_loader.hpp"

#include <string>
#include <vector>

#include "support/file_test.hpp"
#include "support/wave_bytes.hpp"

namespace corvane {
namespace {

class SampleLoaderTest : public FileTest {};

// 24-bit cells widen with their sign, 32-bit samples are taken as they stand.
// A data size that overstates the file leaves the missing tail silent; a
// sample cut in two keeps only its bytes that were read.
TEST_F(SampleLoaderTest, LoadsSignedSamplesAndASilentTailPastTheEnd) {
  struct Case {
    const char* label;
    std::int32_t bits;
    std::string bytes;
    std::vector<std::int32_t> expected;
  };
  const Case cases[] = {
      {"24-bit extremes, -1 and 384",
       24,
       std::string("\x00\x00\x80"
                   "\xFF\xFF\x7F"
                   "\xFF\xFF\xFF"
                   "\x80\x01\x00",
                   12),
       {-8388608, 8388607, -1, 384}},
      {"32-bit extremes",
       32,
       std::string("\x00\x00\x00\x80"
                   "\xFF\xFF\xFF\x7F",
                   8),
       {-2147483647 - 1, 2147483647}},
      {"24-bit, 7 of 12 bytes", 24, std::string("\x01\x00\x00\x02\x00\x00\xFF", 7), {1, 2, 255, 0}},
      {"32-bit, 6 of 12 bytes", 32, std::string("\xFF\xFF\xFF\xFF\xFE\xFF", 6), {-1, 65534, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    const std::string name = folder_.Write("in.wav", WaveHeader{}.Bytes() + c.bytes);
    const auto count = static_cast<std::int32_t>(c.expected.size());
    const PackedArray samples = LoadSamples(channel_, name, count, c.bits, kCanonicalFirstSamplePosition);
    std::vector<std::int32_t> values;
    for (std::int32_t i = 0; i < samples.Count(); ++i) values.push_back(samples.Int32At(i));
    EXPECT_EQ(values, c.expected);
    EXPECT_FALSE(channel_.IsOpen());
    EXPECT_EQ(TakeErrorNumber(), 0);
  }
}

}  // namespace
}  // namespace corvane
