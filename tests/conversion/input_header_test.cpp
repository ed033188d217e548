#include "conversion/input_header.hpp"

#include <cmath>
#include <limits>
#include <string>

#include "support/file_test.hpp"
#include "support/wave_bytes.hpp"

namespace corvane {
namespace {

class InputHeaderTest : public FileTest {
 protected:
  HeaderCheck Check(const std::string& bytes) { return ReadHeader(channel_, folder_.Write("in.wav", bytes)); }

  Figures Derive(const WaveHeader& header) {
    const HeaderCheck check = Check(header.Bytes());
    EXPECT_TRUE(check.Accepted()) << check.rejection;
    return DeriveFigures(check.header);
  }
};

// The four checks run in order on whatever was read, short files included;
// an empty message means the file is accepted. Nothing but the form tag,
// format code, low channel byte and resolution is looked at.
TEST_F(InputHeaderTest, TheFirstFailingCheckNamesTheRejection) {
  constexpr std::string_view kNotWave = "This is not a Wave file ";
  constexpr std::string_view kNotPcm = "This is not a PCM format Wave file ";
  constexpr std::string_view kNotMono = "This is not a mono Wave file ";
  constexpr std::string_view kNotResolution = "This is not a 24- or 32-bit Wave file ";
  const std::string canonical = WaveHeader{}.Bytes();
  struct Case {
    const char* label;
    std::string bytes;
    std::string_view message;
  };
  const Case cases[] = {
      {"lower-case form tag", WaveHeader{.formTag = "wave"}.Bytes(), kNotWave},
      {"11 bytes", canonical.substr(0, 11), kNotWave},
      {"12 bytes ending in WAVE: empty format code", canonical.substr(0, 12), kNotPcm},
      {"extensible format code", WaveHeader{.formatCode = 0xFFFE}.Bytes(), kNotPcm},
      {"stereo", WaveHeader{.channels = 2}.Bytes(), kNotMono},
      {"16 bits", WaveHeader{.bitsPerSample = 16}.Bytes(), kNotResolution},
      {"everything wrong", WaveHeader{.formTag = "AVI ", .formatCode = 2, .channels = 2, .bitsPerSample = 8}.Bytes(),
       kNotWave},
      {"not PCM, stereo, 16 bits", WaveHeader{.formatCode = 2, .channels = 2, .bitsPerSample = 16}.Bytes(), kNotPcm},
      {"stereo 16 bits", WaveHeader{.channels = 2, .bitsPerSample = 16}.Bytes(), kNotMono},
      {"unchecked fields", WaveHeader{.riffTag = "RIFX", .fmtTag = "junk", .blockAlign = 7, .dataTag = "LIST"}.Bytes(),
       ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    EXPECT_EQ(Check(c.bytes).rejection, c.message);
    EXPECT_FALSE(channel_.IsOpen());
  }
}

// The data size is an unsigned byte count, whatever its top bit.
TEST_F(InputHeaderTest, SampleCountIsTheDataSizeOverTheSampleWidthRoundedToEven) {
  EXPECT_EQ(Derive({.dataSize = 10}).sampleCount, 3) << "24-bit, 10 bytes: 3.33";
  EXPECT_EQ(Derive({.dataSize = 11}).sampleCount, 4) << "24-bit, 11 bytes: 3.67";
  EXPECT_EQ(Derive({.bitsPerSample = 32, .dataSize = 6}).sampleCount, 2) << "32-bit, 6 bytes: 1.5";
  EXPECT_EQ(Derive({.bitsPerSample = 32, .dataSize = 10}).sampleCount, 2) << "32-bit, 10 bytes: 2.5";
  EXPECT_EQ(Derive({.channels = 0x0101, .dataSize = 30}).sampleCount, 10) << "channel field 0x0101 is mono";
  EXPECT_EQ(Derive({.bitsPerSample = 32, .dataSize = 0x80000000u}).sampleCount, 536870912) << "32-bit, 2 GiB";
  EXPECT_EQ(Derive({.dataSize = 0xFFFFFFFFu}).sampleCount, 1431655765) << "24-bit, largest size";
}

// A sample rate of 0 is no failure: the duration is infinite, or NaN for an
// empty file.
TEST_F(InputHeaderTest, DurationIsTheSampleCountOverTheRate) {
  EXPECT_EQ(Derive({.sampleRate = 48000, .dataSize = 720}).duration, 0.005) << "240 samples";
  EXPECT_EQ(Derive({.sampleRate = 0, .dataSize = 30}).duration, std::numeric_limits<double>::infinity());
  EXPECT_TRUE(std::isnan(Derive({.sampleRate = 0, .dataSize = 0}).duration));
  EXPECT_EQ(TakeErrorNumber(), 0);
}

}  // namespace
}  // namespace corvane
