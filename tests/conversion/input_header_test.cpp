#include "conversion/input_header.hpp"

#include <cmath>
#include <limits>
#include <string>

#include "file_test.hpp"
#include "support/wave_bytes.hpp"

namespace corvane {
namespace {

constexpr std::string_view kNotWave = "This is not a Wave file ";
constexpr std::string_view kNotPcm = "This is not a PCM format Wave file ";
constexpr std::string_view kNotMono = "This is not a mono Wave file ";
constexpr std::string_view kNotResolution = "This is not a 24- or 32-bit Wave file ";

class InputHeaderTest : public FileTest {
 protected:
  HeaderCheck Check(const std::string& bytes) { return ReadHeader(channel_, folder_.Write("in.wav", bytes)); }
};

TEST_F(InputHeaderTest, ReadsEveryFieldAtItsOffsetAndClosesTheFile) {
  const HeaderCheck check = Check(WaveHeader{.riffSize = 30036, .fmtLength = 18, .sampleRate = 48000,
                                             .byteRate = 144000, .blockAlign = 3, .dataSize = 30000}
                                      .Bytes());
  EXPECT_TRUE(check.Accepted());
  EXPECT_FALSE(channel_.IsOpen());
  const InputHeader& header = check.header;
  EXPECT_EQ(header.riffTag, "RIFF");
  EXPECT_EQ(header.riffSize, Le32(30036));
  EXPECT_EQ(header.formTag, "WAVE");
  EXPECT_EQ(header.fmtTag, "fmt ");
  EXPECT_EQ(header.fmtLength, 18);
  EXPECT_EQ(header.formatCode, 1);
  EXPECT_EQ(header.channels, 1);
  EXPECT_EQ(header.sampleRate, 48000);
  EXPECT_EQ(header.byteRate, 144000);
  EXPECT_EQ(header.blockAlign, 3);
  EXPECT_EQ(header.bitsPerSample, 24);
  EXPECT_EQ(header.dataTag, "data");
  EXPECT_EQ(header.dataSize, Le32(30000));
  EXPECT_EQ(TakeErrorNumber(), 0);
}

TEST_F(InputHeaderTest, RejectsWithTheFirstFailingCheck) {
  const std::string canonical = WaveHeader{}.Bytes();
  struct Case {
    const char* label;
    std::string bytes;
    std::string_view message;
  };
  const Case cases[] = {
      {"lower-case form tag", WaveHeader{.formTag = "wave"}.Bytes(), kNotWave},
      {"empty file", "", kNotWave},
      {"11 bytes", canonical.substr(0, 11), kNotWave},
      {"12 bytes ending in WAVE", canonical.substr(0, 12), kNotPcm},
      {"20 bytes: empty format code", canonical.substr(0, 20), kNotPcm},
      {"22 bytes: empty channel field", canonical.substr(0, 22), kNotMono},
      {"34 bytes: empty resolution", canonical.substr(0, 34), kNotResolution},
      {"extensible format code", WaveHeader{.formatCode = 0xFFFE}.Bytes(), kNotPcm},
      {"stereo", WaveHeader{.channels = 2}.Bytes(), kNotMono},
      {"no channels", WaveHeader{.channels = 0}.Bytes(), kNotMono},
      {"channel low byte 2, high byte 1", WaveHeader{.channels = 0x0102}.Bytes(), kNotMono},
      {"16 bits", WaveHeader{.bitsPerSample = 16}.Bytes(), kNotResolution},
      {"8 bits", WaveHeader{.bitsPerSample = 8}.Bytes(), kNotResolution},
      {"everything wrong", WaveHeader{.formTag = "AVI ", .formatCode = 2, .channels = 2, .bitsPerSample = 8}.Bytes(),
       kNotWave},
      {"not PCM, stereo, 16 bits", WaveHeader{.formatCode = 2, .channels = 2, .bitsPerSample = 16}.Bytes(), kNotPcm},
      {"stereo 16 bits", WaveHeader{.channels = 2, .bitsPerSample = 16}.Bytes(), kNotMono},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    const HeaderCheck check = Check(c.bytes);
    EXPECT_FALSE(check.Accepted());
    EXPECT_EQ(check.rejection, c.message);
    EXPECT_FALSE(channel_.IsOpen());
  }
}

// Only the form tag, format code, low channel byte and resolution count.
TEST_F(InputHeaderTest, AcceptsWhateverTheUncheckedFieldsHold) {
  std::string withList = WaveHeader{.bitsPerSample = 32}.Bytes();
  withList.replace(36, 4, "LIST");
  struct Case {
    const char* label;
    std::string bytes;
  };
  const Case cases[] = {
      {"canonical 24-bit", WaveHeader{}.Bytes()},
      {"canonical 32-bit", WaveHeader{.blockAlign = 4, .bitsPerSample = 32}.Bytes()},
      {"RIFX and block align 7", WaveHeader{.riffTag = "RIFX", .blockAlign = 7}.Bytes()},
      {"odd tags and lengths", WaveHeader{.riffSize = 1, .fmtTag = "junk", .fmtLength = 0xFFFFFFFF,
                                          .byteRate = 0, .dataTag = std::string("\x00\x01\x02\x03", 4)}
                                   .Bytes()},
      {"channel field 0x0101", WaveHeader{.channels = 0x0101}.Bytes()},
      {"extra chunk before data", withList},
      {"sample rate 0", WaveHeader{.sampleRate = 0}.Bytes()},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    const HeaderCheck check = Check(c.bytes);
    EXPECT_TRUE(check.Accepted()) << check.rejection;
    EXPECT_EQ(check.header.channels, 1);
  }
}

TEST_F(InputHeaderTest, SampleCountIsTheDataSizeOverTheSampleWidthRoundedToEven) {
  struct Case {
    const char* label;
    std::uint16_t bits;
    std::uint32_t dataSize;
    std::int32_t sampleCount;
  };
  const Case cases[] = {
      {"24-bit, 30000 bytes", 24, 30000, 10000},
      {"24-bit, 10 bytes: 3.33", 24, 10, 3},
      {"24-bit, 11 bytes: 3.67", 24, 11, 4},
      {"24-bit, 1 byte", 24, 1, 0},
      {"24-bit, 2 bytes", 24, 2, 1},
      {"32-bit, 6 bytes: 1.5", 32, 6, 2},
      {"32-bit, 10 bytes: 2.5", 32, 10, 2},
      {"32-bit, 2 bytes: 0.5", 32, 2, 0},
      {"32-bit, 0 bytes", 32, 0, 0},
      {"24-bit, 3 GiB", 24, 0xC0000000u, 1073741824},
      {"24-bit, largest size", 24, 0xFFFFFFFFu, 1431655765},
      {"32-bit, 2 GiB", 32, 0x80000000u, 536870912},
      {"32-bit, largest size", 32, 0xFFFFFFFFu, 1073741824},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    const HeaderCheck check = Check(WaveHeader{.bitsPerSample = c.bits, .dataSize = c.dataSize}.Bytes());
    ASSERT_TRUE(check.Accepted());
    EXPECT_EQ(DeriveFigures(check.header).sampleCount, c.sampleCount);
  }
}

TEST_F(InputHeaderTest, DurationIsTheSampleCountOverTheRate) {
  const HeaderCheck check = Check(WaveHeader{.dataSize = 30000}.Bytes());
  ASSERT_TRUE(check.Accepted());
  EXPECT_EQ(DeriveFigures(check.header).duration, 0.22675736961451248);
}

// A sample rate of 0 is no failure: the duration is infinite, or NaN for an
// empty file.
TEST_F(InputHeaderTest, SampleRateZeroGivesAnInfiniteOrMissingDuration) {
  const Figures withSamples = DeriveFigures(Check(WaveHeader{.sampleRate = 0, .dataSize = 30}.Bytes()).header);
  EXPECT_EQ(withSamples.sampleCount, 10);
  EXPECT_EQ(withSamples.duration, std::numeric_limits<double>::infinity());
  const Figures empty = DeriveFigures(Check(WaveHeader{.sampleRate = 0, .dataSize = 0}.Bytes()).header);
  EXPECT_EQ(empty.sampleCount, 0);
  EXPECT_TRUE(std::isnan(empty.duration));
  EXPECT_EQ(TakeErrorNumber(), 0);
}

}  // namespace
}  // namespace corvane
