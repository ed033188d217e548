#include <filesystem>
#include <string>

#include "channel_fixture.hpp"

namespace corvane {
namespace {

using namespace std::string_literals;

TEST_F(ChannelTest, OpenReadWriteOfMissingFileCreatesItEmptyAtPositionOne) {
  channel_.OpenReadWrite(folder_.Path("new.wav"));
  EXPECT_TRUE(channel_.IsOpen());
  EXPECT_EQ(channel_.Position(), 1);
  channel_.Close();
  EXPECT_FALSE(channel_.IsOpen());
  EXPECT_TRUE(folder_.Exists("new.wav"));
  EXPECT_EQ(folder_.Read("new.wav"), "");
  EXPECT_EQ(TakeErrorNumber(), 0);
}

TEST_F(ChannelTest, WritingLessThanTheFileHoldsOverwritesInPlaceAndNeverTruncates) {
  const std::string original = Counting(100);
  folder_.Write("out.wav", original);
  channel_.OpenReadWrite(folder_.Path("out.wav"));
  channel_.WriteBytes("0123456789");
  channel_.Close();
  const std::string after = folder_.Read("out.wav");
  ASSERT_EQ(after.size(), 100u);
  EXPECT_EQ(after.substr(0, 10), "0123456789");
  EXPECT_EQ(after.substr(10), original.substr(10));
  EXPECT_EQ(TakeErrorNumber(), 0);
}

TEST_F(ChannelTest, TextAfterAPositionedValueLandsRightBehindIt) {
  channel_.OpenReadWrite(folder_.Path("out.wav"));
  channel_.WriteBytes("RIFF");
  channel_.WriteValueAt(5, 36, 4);
  EXPECT_EQ(channel_.Position(), 9);
  channel_.WriteBytes("WAVE");
  channel_.WriteValueAt(13, -2, 2);
  EXPECT_EQ(channel_.Position(), 15);
  channel_.Close();
  EXPECT_EQ(folder_.Read("out.wav"), "RIFF\x24\x00\x00\x00WAVE\xFE\xFF"s);
  EXPECT_EQ(TakeErrorNumber(), 0);
}

TEST_F(ChannelTest, ReadingTowardsTheEndReturnsFewerBytesAndSetsNothing) {
  folder_.Write("in.wav", Counting(10));
  channel_.OpenReadWrite(folder_.Path("in.wav"));
  channel_.Seek(5);  // 6 bytes left
  EXPECT_EQ(channel_.ReadBytes(4), "\x04\x05\x06\x07"s);
  EXPECT_EQ(channel_.ReadBytes(4), "\x08\x09"s);
  EXPECT_EQ(channel_.Position(), 11);
  EXPECT_EQ(channel_.ReadBytes(4), "");
  EXPECT_EQ(channel_.Position(), 11);
  EXPECT_EQ(TakeErrorNumber(), 0);
}

TEST_F(ChannelTest, SeekThenReadTakesTheBytesAtThatPosition) {
  folder_.Write("in.wav", Counting(44));
  channel_.OpenReadWrite(folder_.Path("in.wav"));
  channel_.Seek(25);
  EXPECT_EQ(channel_.Position(), 25);
  EXPECT_EQ(channel_.ReadBytes(4), "\x18\x19\x1A\x1B"s);
  EXPECT_EQ(channel_.Position(), 29);
  channel_.Seek(1);
  EXPECT_EQ(channel_.ReadBytes(2), "\x00\x01"s);
}

TEST_F(ChannelTest, ArrayReadAcrossTheEndZeroFillsTheRestOfItsTransfer) {
  folder_.Write("in.wav", Counting(51));
  PackedArray array;
  CreateArray(array, 4, 3);
  for (std::size_t i = 0; i < array.ByteSize(); ++i) array.Storage()[i] = 0xEE;
  channel_.OpenReadWrite(folder_.Path("in.wav"));
  channel_.ReadArrayAt(45, array, 4);
  EXPECT_EQ(CellBytes(array, 0), "\x2C\x2D\x2E"s);
  EXPECT_EQ(CellBytes(array, 1), "\x2F\x30\x31"s);
  EXPECT_EQ(CellBytes(array, 2), "\x32\x00\x00"s);
  EXPECT_EQ(CellBytes(array, 3), "\x00\x00\x00"s);
  EXPECT_EQ(channel_.Position(), 52);
  EXPECT_EQ(TakeErrorNumber(), 0);
}

TEST_F(ChannelTest, ArrayReadOfFewerCellsLeavesTheOthersAlone) {
  folder_.Write("in.wav", Counting(20));
  PackedArray array;
  CreateArray(array, 3, 4);
  array.SetInt32At(2, -1);
  channel_.OpenReadWrite(folder_.Path("in.wav"));
  channel_.ReadArrayAt(1, array, 2);
  EXPECT_EQ(array.Int32At(0), 0x03020100);
  EXPECT_EQ(array.Int32At(1), 0x07060504);
  EXPECT_EQ(array.Int32At(2), -1);
  EXPECT_EQ(channel_.Position(), 9);
  channel_.ReadArrayAt(1, array, 99);  // more than the array holds: the array's own count
  EXPECT_EQ(array.Int32At(2), 0x0B0A0908);
  EXPECT_EQ(channel_.Position(), 13);
}

TEST_F(ChannelTest, ArrayWriteMovesTheWholeStorageAtItsPosition) {
  PackedArray array;
  CreateArray(array, 3, 2);
  array.SetInt16At(0, 1);
  array.SetInt16At(1, -1);
  array.SetInt16At(2, -32768);
  channel_.OpenReadWrite(folder_.Path("out.wav"));
  channel_.WriteBytes("HEAD");
  channel_.WriteArrayAt(3, array);
  EXPECT_EQ(channel_.Position(), 9);
  channel_.Close();
  EXPECT_EQ(folder_.Read("out.wav"), "HE\x01\x00\xFF\xFF\x00\x80"s);
  EXPECT_EQ(TakeErrorNumber(), 0);
}

TEST_F(ChannelTest, ArrayWithoutStorageMovesNothing) {
  folder_.Write("out.wav", "abcdef");
  PackedArray empty;
  channel_.OpenReadWrite(folder_.Path("out.wav"));
  channel_.WriteArrayAt(3, empty);
  channel_.ReadArrayAt(2, empty, 5);
  EXPECT_EQ(channel_.Position(), 2);
  channel_.Close();
  EXPECT_EQ(folder_.Read("out.wav"), "abcdef");
}

TEST_F(ChannelTest, WritingBeyondTheEndExtendsTheFileWithZeros) {
  folder_.Write("out.wav", "ab");
  channel_.OpenReadWrite(folder_.Path("out.wav"));
  channel_.Seek(6);
  EXPECT_EQ(channel_.ReadBytes(1), "");
  channel_.WriteBytes("Z");
  channel_.WriteValueAt(9, 0x4241, 2);
  channel_.Close();
  EXPECT_EQ(folder_.Read("out.wav"), "ab\x00\x00\x00Z\x00\x00"s "AB");
  EXPECT_EQ(TakeErrorNumber(), 0);
}

TEST_F(ChannelTest, OpenExistingOfAnEmptyFileSucceeds) {
  folder_.Write("empty.wav", "");
  channel_.OpenExisting(folder_.Path("empty.wav"));
  EXPECT_TRUE(channel_.IsOpen());
  EXPECT_EQ(channel_.Position(), 1);
  channel_.Seek(3);  // positioning is allowed in either mode
  EXPECT_EQ(channel_.Position(), 3);
  channel_.Close();
  EXPECT_EQ(TakeErrorNumber(), 0);
}

TEST_F(ChannelTest, AZeroByteEndsTheName) {
  folder_.Write("in.wav", "data");
  channel_.OpenReadWrite(folder_.Path("in.wav") + "\0.junk"s);
  ASSERT_TRUE(channel_.IsOpen());
  EXPECT_EQ(channel_.ReadBytes(4), "data");
  channel_.Close();
  EXPECT_FALSE(folder_.Exists("in.wav.junk"));
}

TEST_F(ChannelTest, ANameLongerThan255BytesReachesThePlatformWhole) {
  // Folders of 100-byte names keep every component within the file system's
  // limit while the whole name runs to 300 bytes and more.
  std::string relative;
  for (char letter : {'a', 'b'}) {
    relative += std::string(100, letter) + "/";
    std::filesystem::create_directory(folder_.Path(relative));
  }
  relative += std::string(100, 'c');
  const std::string name = folder_.Path(relative);
  ASSERT_GT(name.size(), 300u);
  channel_.OpenReadWrite(name);
  ASSERT_TRUE(channel_.IsOpen()) << int(TakeErrorNumber());
  channel_.WriteBytes("long");
  channel_.Close();
  EXPECT_EQ(folder_.Read(relative), "long");
  EXPECT_FALSE(std::filesystem::exists(name.substr(0, 255)));
}

TEST_F(ChannelTest, NullDeviceOpensAsAStream) {
  channel_.OpenReadWrite("/dev/null");
  ASSERT_TRUE(channel_.IsOpen());
  channel_.WriteBytes("gone");
  EXPECT_EQ(TakeErrorNumber(), 0);
  EXPECT_EQ(channel_.ReadBytes(4), "");
  channel_.Seek(1);
  EXPECT_EQ(TakeErrorNumber(), 54);
  channel_.WriteValueAt(1, 7, 2);
  EXPECT_EQ(TakeErrorNumber(), 54);
  PackedArray array;
  CreateArray(array, 2, 2);
  channel_.ReadArrayAt(1, array, 2);
  EXPECT_EQ(TakeErrorNumber(), 54);
  channel_.WriteArrayAt(1, array);
  EXPECT_EQ(TakeErrorNumber(), 54);
  channel_.Close();

  channel_.OpenExisting("/dev/null");  // no read-ahead on a stream
  EXPECT_TRUE(channel_.IsOpen());
  channel_.Close();
  EXPECT_EQ(TakeErrorNumber(), 0);
}

TEST_F(ChannelTest, SameFileOnDiskSeesThroughSpellings) {
  folder_.Write("a.wav", "a");
  folder_.Write("b.wav", "b");
  std::filesystem::create_directory(folder_.Path("sub"));
  std::filesystem::create_symlink(folder_.Path("a.wav"), folder_.Path("link.wav"));
  const std::string a = folder_.Path("a.wav");
  EXPECT_TRUE(channel_.SameFileOnDisk(a, a));
  EXPECT_TRUE(channel_.SameFileOnDisk(a, folder_.Path("sub/../a.wav")));
  EXPECT_TRUE(channel_.SameFileOnDisk(a, folder_.Path("link.wav")));
  EXPECT_FALSE(channel_.SameFileOnDisk(a, folder_.Path("b.wav")));
  EXPECT_FALSE(channel_.SameFileOnDisk(a, folder_.Path("missing.wav")));
  EXPECT_FALSE(channel_.SameFileOnDisk(folder_.Path("missing.wav"), folder_.Path("missing.wav")));
  EXPECT_FALSE(channel_.SameFileOnDisk("", ""));
  EXPECT_EQ(TakeErrorNumber(), 0);
}

}  // namespace
}  // namespace corvane
