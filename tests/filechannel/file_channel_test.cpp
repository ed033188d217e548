#include "filechannel/file_channel.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <string>

#include "filechannel/error_number.hpp"
#include "filechannel/platform_error_table.hpp"
#include "support/file_test.hpp"
#include "support/temp_folder.hpp"

namespace corvane {
namespace {

using namespace std::string_literals;

class ChannelTest : public FileTest {};

TEST_F(ChannelTest, FailedOpensSetTheirNumberAndLeaveTheChannelClosed) {
  folder_.Write("plain.wav", "data");
  std::filesystem::create_directory(folder_.Path("folder"));
  const struct {
    const char* label;
    std::string name;
    bool readWrite;
    int errorNumber;
  } cases[] = {
      {"missing file", folder_.Path("missing.wav"), false, 53},
      {"missing folder", folder_.Path("nowhere/missing.wav"), false, 76},
      {"path through a file", folder_.Path("plain.wav/inner.wav"), false, 76},
      {"folder as the name", folder_.Path("folder"), false, 70},
      {"folder as the name, read-write", folder_.Path("folder"), true, 70},
      {"empty name", "", true, 64},
      {"zero byte first", "\0missing.wav"s, true, 64},
      {"question mark", folder_.Path("pl?in.wav"), true, 64},
      {"star", folder_.Path("*.wav"), true, 64},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    c.readWrite ? channel_.OpenReadWrite(c.name) : channel_.OpenExisting(c.name);
    EXPECT_EQ(TakeErrorNumber(), c.errorNumber);
    EXPECT_FALSE(channel_.IsOpen());
    channel_.Close();
    EXPECT_EQ(TakeErrorNumber(), 0) << "closing a closed channel sets nothing";
  }
  EXPECT_FALSE(folder_.Exists("pl?in.wav")) << "a wildcard name never reaches the file system";
  EXPECT_FALSE(folder_.Exists("*.wav"));
}

TEST_F(ChannelTest, AHeldFileSets70AndAnUntakenNumberSurvivesLaterSuccess) {
  const std::string name = folder_.Write("held.wav", "data");
  NativeFileService otherService;
  FileChannel holder(otherService);
  holder.OpenReadWrite(name);
  channel_.OpenExisting(name);
  EXPECT_EQ(TakeErrorNumber(), 70);
  channel_.OpenReadWrite(name);  // fails with 70 as well, and the number is left untaken
  holder.Close();
  channel_.OpenExisting(name);
  EXPECT_TRUE(channel_.IsOpen()) << "the file is free once its holder closes it";
  channel_.Close();
  EXPECT_EQ(TakeErrorNumber(), 70);
  EXPECT_EQ(TakeErrorNumber(), 0);
}

// A refused call: its number, an empty result, and nothing moved: the file,
// the array and the position stay as they were.
TEST_F(ChannelTest, RefusedCallsSetTheirNumberAndMoveNothing) {
  enum State { kClosed, kOpenExisting, kReadWrite, kStream };
  using Run = std::function<std::string(FileChannel&, PackedArray&, std::int64_t position)>;
  struct Case {
    const char* label;
    State state;
    Run run;
    std::int64_t position;
    int errorNumber;
  };
  const Run readBytes = [](FileChannel& c, PackedArray&, std::int64_t) { return c.ReadBytes(4); };
  const Run writeBytes = [](FileChannel& c, PackedArray&, std::int64_t) { return c.WriteBytes("xx"), ""s; };
  const Run seek = [](FileChannel& c, PackedArray&, std::int64_t p) { return c.Seek(p), ""s; };
  const Run length = [](FileChannel& c, PackedArray&, std::int64_t) { return c.Length() ? "a length"s : ""s; };
  const Run readArray = [](FileChannel& c, PackedArray& a, std::int64_t p) { return c.ReadArrayAt(p, a, 2), ""s; };
  const Run writeValue = [](FileChannel& c, PackedArray&, std::int64_t p) { return c.WriteValueAt(p, -1, 4), ""s; };
  const Run writeArray = [](FileChannel& c, PackedArray& a, std::int64_t p) { return c.WriteArrayAt(p, a), ""s; };
  const Run noStorage = [](FileChannel& c, PackedArray&, std::int64_t p) {
    PackedArray none;
    return c.WriteArrayAt(p, none), c.ReadArrayAt(p, none, 2), ""s;
  };
  const Run openAgain = [this](FileChannel& c, PackedArray&, std::int64_t) {
    return c.OpenReadWrite(folder_.Path("second.wav")), ""s;
  };
  const Case cases[] = {
      {"ReadBytes, closed", kClosed, readBytes, 2, 52},
      {"WriteArrayAt, closed", kClosed, writeArray, 2, 52},
      {"Length, closed", kClosed, length, 2, 52},
      {"ReadBytes, open-existing", kOpenExisting, readBytes, 2, 54},
      {"WriteBytes, open-existing", kOpenExisting, writeBytes, 2, 54},
      {"ReadArrayAt, open-existing", kOpenExisting, readArray, 2, 54},
      {"Seek on a stream", kStream, seek, 2, 54},
      {"WriteValueAt on a stream", kStream, writeValue, 2, 54},
      {"Length of a stream, which is unknown", kStream, length, 2, 54},
      {"ReadArrayAt at 0", kReadWrite, readArray, 0, 63},
      {"Seek to 0, refused by the platform", kReadWrite, seek, 0, 75},
      {"open while open", kReadWrite, openAgain, 0, 55},
      {"array without storage", kReadWrite, noStorage, 3, 0},
  };
  const std::string name = folder_.Write("in.wav", "");  // open-existing of an empty file succeeds
  PackedArray array;
  CreateArray(array, 2, 2);
  array.SetInt16At(0, 99);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    if (c.state == kOpenExisting) channel_.OpenExisting(name);
    if (c.state == kStream) channel_.OpenReadWrite(kNullDeviceName);
    if (c.state == kReadWrite) {
      channel_.OpenReadWrite(name);
      channel_.Seek(3);
    }
    const std::int64_t position = channel_.Position();
    EXPECT_EQ(c.run(channel_, array, c.position), "");
    EXPECT_EQ(TakeErrorNumber(), c.errorNumber);
    EXPECT_EQ(channel_.Position(), position);
    channel_.Close();
    EXPECT_EQ(folder_.Read("in.wav"), "");
    EXPECT_EQ(array.Int16At(0), 99);
  }
  EXPECT_FALSE(folder_.Exists("second.wav"));
}

TEST_F(ChannelTest, WritesLandAtTheirPositionsExtendTheFileAndNeverTruncateIt) {
  channel_.OpenReadWrite(folder_.Path("new.wav"));
  EXPECT_EQ(channel_.Position(), 1);
  channel_.WriteBytes("RIFF");
  channel_.WriteValueAt(5, 36, 4);
  EXPECT_EQ(channel_.Position(), 9) << "right behind the value";
  channel_.Seek(12);
  EXPECT_EQ(channel_.ReadBytes(1), "") << "past the end there is nothing to read";
  channel_.WriteBytes("Z");
  PackedArray array;
  CreateArray(array, 2, 2);
  array.SetInt16At(0, -2);
  array.SetInt16At(1, 0x4241);
  channel_.WriteArrayAt(14, array);
  channel_.WriteBytes("!");
  channel_.Close();
  channel_.OpenReadWrite(folder_.Path("new.wav"));
  channel_.WriteBytes("ri");  // fewer bytes than the file holds: overwritten in place
  channel_.Close();
  EXPECT_EQ(folder_.Read("new.wav"),
            "riFF\x24\x00\x00\x00\x00\x00\x00Z\x00\xFE\xFF"
            "AB!"s);
  EXPECT_EQ(TakeErrorNumber(), 0);
}

TEST_F(ChannelTest, ReadsAcrossTheEndReturnFewerBytesOrZeroFillAndSetNothing) {
  channel_.OpenReadWrite(folder_.Write("in.wav", Counting(51)));
  channel_.Seek(46);  // 6 bytes left
  EXPECT_EQ(channel_.ReadBytes(4), "\x2D\x2E\x2F\x30"s);
  EXPECT_EQ(channel_.ReadBytes(4), "\x31\x32"s);
  EXPECT_EQ(channel_.ReadBytes(4), "");
  PackedArray array;
  CreateArray(array, 4, 3);
  std::fill_n(array.Storage(), array.ByteSize(), 0xEE);
  channel_.ReadArrayAt(45, array, 99);  // a count beyond the array's reads the array's own
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(array.Storage()), array.ByteSize()),
            "\x2C\x2D\x2E\x2F\x30\x31\x32\x00\x00\x00\x00\x00"s);
  EXPECT_EQ(channel_.Position(), 52);
  EXPECT_EQ(TakeErrorNumber(), 0);
}

}  // namespace
}  // namespace corvane
