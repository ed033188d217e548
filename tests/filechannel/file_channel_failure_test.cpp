#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "channel_fixture.hpp"

namespace corvane {
namespace {

using namespace std::string_literals;

// What the user would see of a failed open: its number, a closed channel.
struct OpenCase {
  const char* label;
  std::string name;  // relative to the test folder unless it is empty
  bool readWrite;
  int errorNumber;
};

TEST_F(ChannelTest, FailedOpensSetTheirNumberAndLeaveTheChannelClosed) {
  folder_.Write("plain.wav", "data");
  std::filesystem::create_directory(folder_.Path("folder"));
  const std::vector<OpenCase> cases = {
      {"missing file", "missing.wav", false, 53},
      {"missing folder on the path", "nowhere/missing.wav", false, 76},
      {"missing folder, read-write", "nowhere/missing.wav", true, 76},
      {"path through a regular file", "plain.wav/inner.wav", false, 76},
      {"path through a regular file, read-write", "plain.wav/inner.wav", true, 76},
      {"folder as the name", "folder", false, 70},
      {"folder as the name, read-write", "folder", true, 70},
      {"question mark", "pl?in.wav", true, 64},
      {"star", "*.wav", true, 64},
  };
  for (const OpenCase& c : cases) {
    SCOPED_TRACE(c.label);
    const std::string name = folder_.Path(c.name);
    c.readWrite ? channel_.OpenReadWrite(name) : channel_.OpenExisting(name);
    EXPECT_EQ(TakeErrorNumber(), c.errorNumber);
    EXPECT_FALSE(channel_.IsOpen());
    channel_.Close();
    EXPECT_EQ(TakeErrorNumber(), 0) << "closing a closed channel sets nothing";
  }
  EXPECT_FALSE(folder_.Exists("pl?in.wav")) << "a wildcard name never reaches the file system";
  EXPECT_FALSE(folder_.Exists("*.wav"));
}

TEST_F(ChannelTest, EmptyNamesAreRefusedBeforeTheFileSystem) {
  for (const std::string& name : {""s, "\0missing.wav"s}) {
    channel_.OpenReadWrite(name);
    EXPECT_EQ(TakeErrorNumber(), 64);
    EXPECT_FALSE(channel_.IsOpen());
  }
}

TEST_F(ChannelTest, AFileHeldByAnotherOpenCannotBeOpenedInAnyMode) {
  const std::string name = folder_.Write("held.wav", "data");
  PosixFileService otherService;
  FileChannel holder(otherService);
  holder.OpenReadWrite(name);
  ASSERT_TRUE(holder.IsOpen());
  channel_.OpenExisting(name);
  EXPECT_EQ(TakeErrorNumber(), 70);
  channel_.OpenReadWrite(name);
  EXPECT_EQ(TakeErrorNumber(), 70);
  EXPECT_FALSE(channel_.IsOpen());
  holder.Close();
  channel_.OpenExisting(name);
  EXPECT_TRUE(channel_.IsOpen()) << "the file is free once the holder closes it";
  EXPECT_EQ(TakeErrorNumber(), 0);
}

TEST_F(ChannelTest, AnUntakenNumberSurvivesLaterSuccess) {
  const std::string name = folder_.Write("held.wav", "data");
  PosixFileService otherService;
  FileChannel holder(otherService);
  holder.OpenExisting(name);
  channel_.OpenReadWrite(name);
  holder.Close();
  channel_.OpenExisting(name);
  ASSERT_TRUE(channel_.IsOpen());
  channel_.Close();
  EXPECT_EQ(TakeErrorNumber(), 70);
  EXPECT_EQ(TakeErrorNumber(), 0);
}

TEST_F(ChannelTest, OpenWhileOpenLeavesTheOpenFileUntouched) {
  const std::string first = folder_.Write("first.wav", "0123456789");
  channel_.OpenReadWrite(first);
  channel_.Seek(4);
  channel_.OpenReadWrite(folder_.Path("second.wav"));
  EXPECT_EQ(TakeErrorNumber(), 55);
  channel_.OpenExisting(first);
  EXPECT_EQ(TakeErrorNumber(), 55);
  EXPECT_TRUE(channel_.IsOpen());
  EXPECT_EQ(channel_.Position(), 4);
  EXPECT_EQ(channel_.ReadBytes(2), "34");
  EXPECT_FALSE(folder_.Exists("second.wav"));
}

// Every transfer and Seek, each with the byte string ReadBytes returned (empty
// for the others).
struct Transfer {
  const char* label;
  std::function<std::string(FileChannel&, PackedArray&)> run;
};

std::vector<Transfer> AllTransfers() {
  return {
      {"ReadBytes", [](FileChannel& c, PackedArray&) { return c.ReadBytes(4); }},
      {"WriteBytes", [](FileChannel& c, PackedArray&) { c.WriteBytes("xx"); return ""s; }},
      {"Seek", [](FileChannel& c, PackedArray&) { c.Seek(2); return ""s; }},
      {"ReadArrayAt", [](FileChannel& c, PackedArray& a) { c.ReadArrayAt(2, a, 2); return ""s; }},
      {"WriteValueAt", [](FileChannel& c, PackedArray&) { c.WriteValueAt(2, -1, 4); return ""s; }},
      {"WriteArrayAt", [](FileChannel& c, PackedArray& a) { c.WriteArrayAt(2, a); return ""s; }},
  };
}

TEST_F(ChannelTest, TransfersOnAClosedChannelSet52AndMoveNothing) {
  PackedArray array;
  CreateArray(array, 2, 2);
  array.SetInt16At(0, 99);
  channel_.OpenReadWrite(folder_.Path("nowhere/out.wav"));  // an output that cannot be created
  TakeErrorNumber();
  for (const Transfer& t : AllTransfers()) {
    SCOPED_TRACE(t.label);
    EXPECT_EQ(t.run(channel_, array), "");
    EXPECT_EQ(TakeErrorNumber(), 52);
  }
  EXPECT_EQ(array.Int16At(0), 99);
  channel_.Close();
  EXPECT_EQ(TakeErrorNumber(), 0);
}

TEST_F(ChannelTest, TransfersInOpenExistingModeSet54AndMoveNothing) {
  const std::string original = Counting(8);
  const std::string name = folder_.Write("in.wav", original);
  PackedArray array;
  CreateArray(array, 2, 2);
  array.SetInt16At(0, 99);
  channel_.OpenExisting(name);
  for (const Transfer& t : AllTransfers()) {
    if (std::string(t.label) == "Seek") continue;  // allowed on a disk file in either mode
    SCOPED_TRACE(t.label);
    EXPECT_EQ(t.run(channel_, array), "");
    EXPECT_EQ(TakeErrorNumber(), 54);
    EXPECT_EQ(channel_.Position(), 1);
  }
  channel_.Close();
  EXPECT_EQ(array.Int16At(0), 99);
  EXPECT_EQ(folder_.Read("in.wav"), original);
}

TEST_F(ChannelTest, PositionedTransfersAtPositionZeroSet63AndMoveNothing) {
  const std::string original = Counting(8);
  const std::string name = folder_.Write("out.wav", original);
  PackedArray array;
  CreateArray(array, 2, 2);
  channel_.OpenReadWrite(name);
  channel_.Seek(3);
  const std::vector<Transfer> transfers = {
      {"WriteValueAt", [](FileChannel& c, PackedArray&) { c.WriteValueAt(0, 1, 2); return ""s; }},
      {"WriteArrayAt", [](FileChannel& c, PackedArray& a) { c.WriteArrayAt(0, a); return ""s; }},
      {"ReadArrayAt", [](FileChannel& c, PackedArray& a) { c.ReadArrayAt(0, a, 2); return ""s; }},
  };
  for (const Transfer& t : transfers) {
    SCOPED_TRACE(t.label);
    t.run(channel_, array);
    EXPECT_EQ(TakeErrorNumber(), 63);
    EXPECT_EQ(channel_.Position(), 3);
  }
  EXPECT_EQ(array.Int16At(0), 0);
  channel_.Close();
  EXPECT_EQ(folder_.Read("out.wav"), original);
}

TEST_F(ChannelTest, NegativePositionsAreRefusedByThePlatform) {
  const std::string name = folder_.Write("out.wav", "abcd");
  channel_.OpenReadWrite(name);
  channel_.Seek(3);
  channel_.Seek(0);
  EXPECT_EQ(TakeErrorNumber(), 75);
  channel_.Seek(-5);
  EXPECT_EQ(TakeErrorNumber(), 75);
  channel_.WriteValueAt(-1, 7, 2);
  EXPECT_EQ(TakeErrorNumber(), 75);
  channel_.WriteValueAt(INT64_MIN, 7, 2);
  EXPECT_EQ(TakeErrorNumber(), 75);
  EXPECT_EQ(channel_.Position(), 3);
  channel_.Close();
  EXPECT_EQ(folder_.Read("out.wav"), "abcd");
}

TEST_F(ChannelTest, ReadOnlyFileOpensForReadingAndRefusesEveryWrite) {
  if (::geteuid() == 0) GTEST_SKIP() << "root may write any file, so a read-only file cannot be made here";
  const std::string name = folder_.Write("locked.wav", "keep");
  ASSERT_EQ(::chmod(name.c_str(), 0444), 0);
  channel_.OpenReadWrite(name);
  ASSERT_TRUE(channel_.IsOpen());
  EXPECT_EQ(TakeErrorNumber(), 0);
  EXPECT_EQ(channel_.ReadBytes(4), "keep");
  channel_.Seek(1);
  channel_.WriteBytes("lost");
  EXPECT_EQ(TakeErrorNumber(), 70);
  channel_.WriteValueAt(1, 0, 4);
  EXPECT_EQ(TakeErrorNumber(), 70);
  channel_.Close();
  EXPECT_EQ(folder_.Read("locked.wav"), "keep");
}

TEST_F(ChannelTest, UnreadableFileSets70) {
  if (::geteuid() == 0) GTEST_SKIP() << "root may read any file, so an unreadable file cannot be made here";
  const std::string name = folder_.Write("secret.wav", "data");
  ASSERT_EQ(::chmod(name.c_str(), 0), 0);
  channel_.OpenExisting(name);
  EXPECT_EQ(TakeErrorNumber(), 70);
  EXPECT_FALSE(channel_.IsOpen());
}

}  // namespace
}  // namespace corvane
