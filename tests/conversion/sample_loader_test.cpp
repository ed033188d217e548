#include "conversion/sample_loader.hpp"

#include <string>
#include <vector>

#include "file_test.hpp"
#include "support/wave_bytes.hpp"

namespace corvane {
namespace {

class SampleLoaderTest : public FileTest {
 protected:
  std::vector<std::int32_t> Load(const std::string& sampleBytes, std::int32_t count, std::int32_t bits) {
    const std::string name = folder_.Write("in.wav", WaveHeader{}.Bytes() + sampleBytes);
    const PackedArray samples = LoadSamples(channel_, name, count, bits);
    EXPECT_FALSE(channel_.IsOpen());
    std::vector<std::int32_t> values;
    for (std::int32_t i = 0; i < samples.Count(); ++i) values.push_back(samples.Int32At(i));
    return values;
  }
};

TEST_F(SampleLoaderTest, Widens24BitCellsWithTheirSign) {
  const std::string cells = std::string("\x00\x00\x80", 3) + "\xFF\xFF\x7F" + "\xFF\xFF\xFF" +
                            std::string("\x80\x01\x00", 3) + std::string("\x00\x00\x00", 3) +
                            std::string("\x01\x00\x00", 3);
  EXPECT_EQ(Load(cells, 6, 24), (std::vector<std::int32_t>{-8388608, 8388607, -1, 384, 0, 1}));
  EXPECT_EQ(TakeErrorNumber(), 0);
}

TEST_F(SampleLoaderTest, Reads32BitSamplesAsTheyStand) {
  const std::string cells = std::string("\x00\x00\x00\x80", 4) + "\xFF\xFF\xFF\x7F" + "\xFF\xFF\xFF\xFF" +
                            std::string("\x00\x80\x01\x00", 4);
  EXPECT_EQ(Load(cells, 4, 32), (std::vector<std::int32_t>{-2147483647 - 1, 2147483647, -1, 98304}));
  EXPECT_EQ(TakeErrorNumber(), 0);
}

// A data size that overstates the file leaves the missing tail silent; a
// sample cut in two keeps only its bytes that were read.
TEST_F(SampleLoaderTest, MissingTailReadsAsSilence) {
  struct Case {
    const char* label;
    std::string bytes;
    std::int32_t count;
    std::int32_t bits;
    std::vector<std::int32_t> expected;
  };
  const Case cases[] = {
      {"24-bit, 7 of 12 bytes", std::string("\x01\x00\x00\x02\x00\x00\xFF", 7), 4, 24, {1, 2, 255, 0}},
      {"24-bit, no sample bytes", "", 2, 24, {0, 0}},
      {"32-bit, 6 of 12 bytes", std::string("\xFF\xFF\xFF\xFF\xFE\xFF", 6), 3, 32, {-1, 65534, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    EXPECT_EQ(Load(c.bytes, c.count, c.bits), c.expected);
    EXPECT_EQ(TakeErrorNumber(), 0);
  }
}

// A count that no array can hold leaves the result without storage and the
// reason in the error number, with nothing read or written.
TEST_F(SampleLoaderTest, CountWithoutStorageGivesNoBuffer) {
  struct Case {
    const char* label;
    std::int32_t count;
    std::int32_t bits;
  };
  const Case cases[] = {
      {"count 0", 0, 24},
      {"negative count", -3, 32},
      {"24-bit count of a 3 GiB file", 1073741824, 24},
      {"32-bit count beyond 4 GiB", 1073741824, 32},
  };
  const std::string name = folder_.Write("in.wav", WaveHeader{}.Bytes() + "\x01\x02\x03");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    const PackedArray samples = LoadSamples(channel_, name, c.count, c.bits);
    EXPECT_FALSE(samples.HasStorage());
    EXPECT_EQ(TakeErrorNumber(), 9);
    EXPECT_FALSE(channel_.IsOpen());
  }
}

}  // namespace
}  // namespace corvane
