#include "conversion/output_writer.hpp"

#include <string>

#include "support/faulty_file_service.hpp"
#include "support/file_test.hpp"
#include "support/wave_bytes.hpp"

namespace corvane {
namespace {

// Errors counting up from -8001, one per sample.
PackedArray ErrorBuffer(std::int32_t count) {
  PackedArray errors;
  CreateArray(errors, count, 2);
  for (std::int32_t i = 0; i < count; ++i) errors.SetInt16At(i, static_cast<std::int16_t>(i - 8001));
  return errors;
}

class OutputWriterTest : public FileTest {};

// The file is overwritten in place, never truncated: what lies beyond the new
// content stays, while the header speaks only of the new samples.
TEST_F(OutputWriterTest, WritesTheHeaderAndSamplesOverALongerFileKeepingItsTail) {
  const std::string old(20100, '\xAA');
  folder_.Write("out.wav", old);
  EXPECT_TRUE(WriteOutputFile(channel_, folder_.Path("out.wav"), ErrorBuffer(10000), 10000, 1, 44100));
  EXPECT_FALSE(channel_.IsOpen());
  EXPECT_EQ(TakeErrorNumber(), 0);

  const std::string file = folder_.Read("out.wav");
  ASSERT_EQ(file.size(), 20100u);
  EXPECT_EQ(Hex(file.substr(0, 44)), Hex(OutputHeader(20036, 44100, 88200, 20000)));
  EXPECT_EQ(Hex(file.substr(44, 4)), "BF E0 C0 E0");     // -8001, -8000
  EXPECT_EQ(Hex(file.substr(20040, 4)), "CD 07 CE 07");  // 1997, 1998
  EXPECT_EQ(file.substr(20044), old.substr(20044));
}

// A write that fails must not leave behind a truncated WAV file that the user
// never had; a file that was there before stays, at its full length.
TEST_F(OutputWriterTest, AFailedWriteRemovesTheFileItCreatedAndKeepsOneThatExisted) {
  FaultyFileService disk;
  disk.writeRoom = 100;
  FileChannel channel(disk);
  const std::string fresh = folder_.Path("new.wav");
  EXPECT_FALSE(WriteOutputFile(channel, fresh, ErrorBuffer(1000), 1000, 1, 44100));
  EXPECT_EQ(TakeErrorNumber(), 61);
  EXPECT_FALSE(folder_.Exists("new.wav"));

  const std::string old = folder_.Write("old.wav", std::string(3000, '\xAA'));
  disk.writeRoom = 100;
  EXPECT_FALSE(WriteOutputFile(channel, old, ErrorBuffer(1000), 1000, 1, 44100));
  EXPECT_EQ(TakeErrorNumber(), 61);
  EXPECT_EQ(folder_.Read("old.wav").size(), 3000u);
  EXPECT_FALSE(channel.IsOpen());
}

}  // namespace
}  // namespace corvane
