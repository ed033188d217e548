#include "conversion/input_header.hpp"

#include <cmath>
#include <limits>
#include <string>

#include "support/faulty_file_service.hpp"
#include "support/file_test.hpp"
#include "support/wave_bytes.hpp"

namespace corvane {
namespace {

class InputHeaderTest : public FileTestOver<FaultyFileService> {
 protected:
  HeaderCheck Check(const std::string& bytes) { return ReadHeader(channel_, folder_.Write("in.wav", bytes)); }

  // The figures of a file that holds `held` bytes after the header: zeros,
  // written up to 4 KiB; beyond that the file only says it is that long.
  Figures Derive(const WaveHeader& header, std::uint64_t held) {
    const std::uint64_t written = std::min<std::uint64_t>(held, 4096);
    service_.phantomBytes = held - written;
    const HeaderCheck check = Check(header.Bytes() + std::string(written, '\0'));
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
  EXPECT_EQ(ReadHeader(channel_, folder_.Path("gone.wav")).rejection, kNotWave) << "a file gone since its open test";
  EXPECT_FALSE(folder_.Exists("gone.wav")) << "and not made anew";
}

// The data size is the declared one, an unsigned byte count whatever its top
// bit, but no more than the file holds after the header.
TEST_F(InputHeaderTest, SampleCountIsTheDataSizeTheFileHoldsOverTheSampleWidthRoundedToEven) {
  struct Case {
    const char* label;
    WaveHeader header;
    std::uint64_t held;  // bytes after the header
    std::int64_t sampleCount;
  };
  const Case cases[] = {
      {"24-bit, 10 bytes up to the end: 3.33", {.dataSize = 10}, 10, 3},
      {"24-bit, 11 bytes: 3.67", {.dataSize = 11}, 11, 4},
      {"32-bit, 6 bytes: 1.5", {.bitsPerSample = 32, .dataSize = 6}, 6, 2},
      {"32-bit, 10 bytes: 2.5", {.bitsPerSample = 32, .dataSize = 10}, 10, 2},
      {"channel field 0x0101 is mono", {.channels = 0x0101, .dataSize = 30}, 30, 10},
      {"declared size inside the file", {.dataSize = 27}, 30, 9},
      {"declared size past the end", {.dataSize = 30}, 27, 9},
      {"last sample cut after one byte: 9.33", {.dataSize = 30}, 28, 9},
      {"last sample cut after two bytes: 9.67", {.dataSize = 30}, 29, 10},
      {"32-bit, 2 GiB", {.bitsPerSample = 32, .dataSize = 0x80000000u}, 0x80000000u, 536870912},
      {"24-bit, largest size", {.dataSize = 0xFFFFFFFFu}, 0xFFFFFFFFu, 1431655765},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    EXPECT_EQ(Derive(c.header, c.held).sampleCount, c.sampleCount);
  }
}

// A sample rate of 0 is no failure: the duration is infinite, or NaN for an
// empty file.
TEST_F(InputHeaderTest, DurationIsTheSampleCountOverTheRate) {
  EXPECT_EQ(Derive({.sampleRate = 48000, .dataSize = 720}, 720).duration, 0.005) << "240 samples";
  EXPECT_EQ(Derive({.sampleRate = 0, .dataSize = 30}, 30).duration, std::numeric_limits<double>::infinity());
  EXPECT_TRUE(std::isnan(Derive({.sampleRate = 0, .dataSize = 0}, 0).duration));
  EXPECT_EQ(TakeErrorNumber(), 0);
}

}  // namespace
}  // namespace corvane
