#include "filechannel/file_channel.hpp"

#include <gtest/gtest.h>

#include <cfenv>
#include <functional>
#include <string>
#include <tuple>

#include "filechannel/error_number.hpp"
#include "filechannel/platform_error_table.hpp"
#include "support/faulty_file_service.hpp"
#include "support/file_test.hpp"

namespace corvane {
namespace {

using namespace std::string_literals;

using ChannelTest = FileTestOver<FaultyFileService>;

// A failed or refused call sets its number and moves nothing: no file is made
// or changed, the position and the array stay as they were, and an open
// channel stays open, a closed one closed. Bad names never reach the file system.
TEST_F(ChannelTest, FailedCallsSetTheirNumberAndMoveNothing) {
  enum Open { kClosed, kOpenExisting, kReadWrite, kStream };
  const std::string name = folder_.Write("in.wav", "");  // open-existing of an empty file succeeds
  const std::string held = folder_.Write("held.wav", "data");
  FileChannel holder(service_);
  holder.OpenReadWrite(held);
  PackedArray array, none;
  CreateArray(array, 2, 2);
  array.Storage()[0] = 99;
  const auto open = [this](std::string file) { return [this, file] { return channel_.OpenExisting(file), ""s; }; };
  const auto create = [this](std::string file) { return [this, file] { return channel_.OpenReadWrite(file), ""s; }; };
  const auto length = [this] { return channel_.Length() ? "a length"s : ""s; };
  const std::tuple<const char*, Open, std::function<std::string()>, int> cases[] = {
      {"missing file", kClosed, open(folder_.Path("missing.wav")), 53},
      {"missing folder", kClosed, open(folder_.Path("nowhere/missing.wav")), 76},
      {"path through a file", kClosed, open(held + "/inner.wav"), 76},
      {"folder as the name", kClosed, open(folder_.Root().string()), 70},
      {"held file", kClosed, create(held), 70},
      {"empty name", kClosed, create(""), 64},
      {"zero byte first", kClosed, create("\0missing.wav"s), 64},
      {"question mark", kClosed, create(folder_.Path("pl?in.wav")), 64},
      {"star", kClosed, create(folder_.Path("*.wav")), 64},
      {"open while open", kReadWrite, create(folder_.Path("2.wav")), 55},
      {"Length, closed", kClosed, length, 52},
      {"WriteBytes, open-existing", kOpenExisting, [&] { return channel_.WriteBytes("xx"), ""s; }, 54},
      {"Length of a stream, which is unknown", kStream, length, 54},
      {"ReadArrayAt at 0", kReadWrite, [&] { return channel_.ReadArrayAt(0, array, 2), ""s; }, 63},
      {"array without storage", kReadWrite,
       [&] { return channel_.WriteArrayAt(3, none), channel_.ReadArrayAt(3, none, 2), ""s; }, 0},
  };
  for (const auto& [label, state, call, errorNumber] : cases) {
    SCOPED_TRACE(label);
    if (state == kOpenExisting) channel_.OpenExisting(name);
    if (state == kStream) channel_.OpenReadWrite(kNullDeviceName);
    if (state == kReadWrite) channel_.OpenReadWrite(name), channel_.Seek(3);
    const std::int64_t position = channel_.Position();
    EXPECT_EQ(call(), "");
    EXPECT_EQ(TakeErrorNumber(), errorNumber);
    EXPECT_EQ(channel_.Position(), position);
    EXPECT_EQ(channel_.IsOpen(), state != kClosed);
    channel_.Close();
    EXPECT_EQ(TakeErrorNumber(), 0) << "closing sets nothing, not even a closed channel";
    EXPECT_EQ(array.Storage()[0], 99);
  }
  EXPECT_EQ(folder_.Read("in.wav"), "");
  for (const char* made : {"pl?in.wav", "*.wav", "2.wav"}) EXPECT_FALSE(folder_.Exists(made)) << made;
  // The number of the latest failure stays until it is taken, whatever succeeds after it.
  channel_.OpenExisting(folder_.Path("missing.wav"));
  channel_.OpenExisting(held);
  holder.Close();
  channel_.OpenExisting(held);
  EXPECT_TRUE(channel_.IsOpen()) << "the file is free once its holder closes it";
  channel_.Close();
  EXPECT_EQ(TakeErrorNumber(), 70);
}

// Every platform call here leaves the rounding upward; the channel puts the
// caller's mode back after each, so it is still nearest at the end. Names
// reach the platform uncut, up to a zero byte. Reads stop at the end of the
// file: fewer bytes, the rest of an array zero-filled, no error. A write that
// moves fewer bytes without an error has lost data all the same (61); a
// length the platform cannot give is nothing (51).
TEST_F(ChannelTest, PlatformCallsKeepTheRoundingAndTheirFailuresSetTheirNumber) {
  service_.switchRounding = true;
  channel_.OpenReadWrite(folder_.Path(std::string(300, 'n')));
  EXPECT_FALSE(channel_.IsOpen()) << "a name too long for the file system is not cut to fit it";
  const std::string name = folder_.Write("in.wav", "RIFF1234");
  FileChannel(service_).OpenExisting(name);  // and closed again as the channel goes
  channel_.OpenReadWrite(name + "\0tail"s);
  EXPECT_TRUE(channel_.IsOpen()) << "the name ends at its zero byte";
  TakeErrorNumber();
  channel_.Seek(6);
  EXPECT_EQ(channel_.ReadBytes(4), "234");
  EXPECT_EQ(channel_.ReadBytes(4), "");
  PackedArray cells;
  CreateArray(cells, 1, 3);
  cells.Storage()[2] = 0xEE;
  channel_.ReadArrayAt(7, cells, 99);  // a count beyond the array's reads the array's own
  EXPECT_EQ(CellBytes(cells, 0), "34\0"s);
  EXPECT_EQ(TakeErrorNumber(), 0);
  channel_.WriteValueAt(1, 5, 2);
  channel_.Seek(4);
  service_.writeRoom = 3;
  service_.fullError = 0;
  channel_.WriteBytes("abcd");
  EXPECT_EQ(TakeErrorNumber(), 61);
  EXPECT_EQ(channel_.Position(), 7) << "behind the bytes written";
  service_.sizeError = platform_error::kInvalidHandle;
  EXPECT_EQ(channel_.Length(), std::nullopt);
  EXPECT_EQ(TakeErrorNumber(), 51);
  channel_.Close();
  channel_.SameFileOnDisk(name, name);
  channel_.DeleteFile(name);
  EXPECT_EQ(std::fegetround(), FE_TONEAREST);
  std::fesetround(FE_TONEAREST);
}

// Want of memory (8 and 14), the end of a file, one code it has never heard
// of and a failure that came without a code. Missing files and folders, access
// refused and a full disk reach their numbers in the channel and output tests.
TEST(PlatformErrorTable, CodesGiveTheirErrorNumbers) {
  const std::pair<PlatformError, int> cases[] = {{8, 7}, {14, 7}, {38, 62}, {0xFFFFFFFF, 75}, {0, 75}};
  for (const auto& [code, errorNumber] : cases) EXPECT_EQ(MappedErrorNumber(code), errorNumber) << code;
}

}  // namespace
}  // namespace corvane
