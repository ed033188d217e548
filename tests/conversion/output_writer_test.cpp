#include "conversion/output_writer.hpp"

#include <string>

#include "file_test.hpp"
#include "support/wave_bytes.hpp"

namespace corvane {
namespace {

PackedArray ErrorBuffer(std::int32_t count) {
  PackedArray errors;
  CreateArray(errors, count, 2);
  for (std::int32_t i = 0; i < count; ++i) errors.SetInt16At(i, static_cast<std::int16_t>(i - 8001));
  return errors;
}

class OutputWriterTest : public FileTest {};

TEST_F(OutputWriterTest, WritesHeaderAndSamplesOfANewFile) {
  const PackedArray errors = ErrorBuffer(10000);
  WriteOutputFile(channel_, folder_.Path("out.wav"), errors, 10000, 1, 44100);
  EXPECT_FALSE(channel_.IsOpen());
  EXPECT_EQ(TakeErrorNumber(), 0);

  const std::string file = folder_.Read("out.wav");
  ASSERT_EQ(file.size(), 20044u);
  EXPECT_EQ(Hex(file.substr(0, 44)), Hex(OutputHeader(20036, 44100, 88200, 20000)));
  EXPECT_EQ(Hex(file.substr(16, 6)), "10 00 00 00 01 00");
  EXPECT_EQ(Hex(file.substr(44, 4)), "BF E0 C0 E0");    // -8001, -8000
  EXPECT_EQ(Hex(file.substr(20040, 4)), "CD 07 CE 07");  // 1997, 1998
}

TEST_F(OutputWriterTest, NoSamplesGiveTheHeaderAlone) {
  const PackedArray none;
  WriteOutputFile(channel_, folder_.Path("out.wav"), none, 0, 1, 12345);
  const std::string file = folder_.Read("out.wav");
  EXPECT_EQ(Hex(file), Hex(OutputHeader(36, 12345, 24690, 0)));
}

// The file is overwritten in place, never truncated: what lies beyond the new
// content stays, while the header speaks only of the new samples.
TEST_F(OutputWriterTest, LongerExistingFileKeepsItsTail) {
  const std::string old(100, '\xAA');
  folder_.Write("out.wav", old);
  const PackedArray errors = ErrorBuffer(3);
  WriteOutputFile(channel_, folder_.Path("out.wav"), errors, 3, 1, 96000);

  const std::string file = folder_.Read("out.wav");
  ASSERT_EQ(file.size(), 100u);
  EXPECT_EQ(Hex(file.substr(0, 44)), Hex(OutputHeader(42, 96000, 192000, 6)));
  EXPECT_EQ(Hex(file.substr(44, 6)), "BF E0 C0 E0 C1 E0");
  EXPECT_EQ(file.substr(50), old.substr(50));
}

}  // namespace
}  // namespace corvane
