#include <gtest/gtest.h>

#include <cfenv>
#include <deque>
#include <functional>
#include <string>
#include <type_traits>
#include <vector>

#include "filechannel/error_number.hpp"
#include "filechannel/file_channel.hpp"
#include "filechannel/platform_error_table.hpp"

namespace corvane {
namespace {

using namespace std::string_literals;

// A file service that answers from a script and logs what the channel asked
// for. Every call also switches the rounding mode, as a careless platform
// library might, so that the tests see whether the channel puts it back.
class ScriptedFileService : public FileService {
 public:
  std::deque<OpenedFile> opens;    // answers of CreateFileA; success once used up
  std::deque<Transferred> writes;  // answers of WriteFile; the whole count once used up
  FileSize size;                   // the answer of GetFileSize
  std::vector<std::string> names;  // as CreateFileA received them
  std::vector<FileAccess> accesses;
  std::size_t calls = 0;

  OpenedFile CreateFileA(const char* name, FileAccess access, FileDisposition) override {
    names.emplace_back(name);
    accesses.push_back(access);
    return Next(opens, {7, 0});
  }
  FileType GetFileType(FileHandle) override { return Called(FileType::kDisk); }
  PlatformError SetFilePointer(FileHandle, std::int64_t) override { return Called(PlatformError{0}); }
  FileSize GetFileSize(FileHandle) override { return Called(size); }
  Transferred ReadFile(FileHandle, std::uint8_t*, std::uint32_t n) override { return Called(Transferred{n, 0}); }
  Transferred WriteFile(FileHandle, const std::uint8_t*, std::uint32_t n) override { return Next(writes, {n, 0}); }
  PlatformError CloseHandle(FileHandle) override { return Called(PlatformError{0}); }
  PlatformError DeleteFileA(const char*) override { return Called(PlatformError{0}); }
  std::optional<FileIdentity> IdentifyFile(const char*) override { return Called(FileIdentity{1, 1}); }

 private:
  template <typename T>
  T Called(T answer) {
    ++calls;
    std::fesetround(FE_UPWARD);
    return answer;
  }
  template <typename T>
  T Next(std::deque<T>& script, std::type_identity_t<T> otherwise) {
    if (!script.empty()) otherwise = script.front(), script.pop_front();
    return Called(otherwise);
  }
};

class PlatformCallTest : public ::testing::Test {
 protected:
  void SetUp() override {
    TakeErrorNumber();
    std::fesetround(FE_TONEAREST);
  }

  ScriptedFileService service_;
  FileChannel channel_{service_};
};

TEST_F(PlatformCallTest, NoPlatformCallChangesTheRoundingOfTheRun) {
  const std::pair<const char*, std::function<void()>> steps[] = {
      {"OpenReadWrite", [&] { channel_.OpenReadWrite("out.wav"); }},
      {"ReadBytes", [&] { channel_.ReadBytes(2); }},
      {"WriteBytes", [&] { channel_.WriteBytes("ab"); }},
      {"Seek", [&] { channel_.Seek(4); }},
      {"Length", [&] { channel_.Length(); }},
      {"WriteValueAt", [&] { channel_.WriteValueAt(1, 5, 2); }},
      {"Close", [&] { channel_.Close(); }},
      {"OpenExisting", [&] { channel_.OpenExisting("in.wav"); }},
      {"SameFileOnDisk", [&] { channel_.SameFileOnDisk("a", "b"); }},
      {"destruction",
       [&] {
         FileChannel other(service_);
         other.OpenExisting("x");
       }},
  };
  for (const auto& [label, step] : steps) {
    SCOPED_TRACE(label);
    const std::size_t before = service_.calls;
    step();
    EXPECT_GT(service_.calls, before) << "the step reached the platform";
    EXPECT_EQ(std::fegetround(), FE_TONEAREST);
  }
}

TEST_F(PlatformCallTest, OpenReadWriteRetriesOnceForReadingAndWritesThenSet70) {
  service_.opens = {{kInvalidFileHandle, 5}};
  service_.writes = {{0, 5}};
  channel_.OpenReadWrite("readonly.wav");
  EXPECT_TRUE(channel_.IsOpen());
  EXPECT_EQ(TakeErrorNumber(), 0);
  EXPECT_EQ(service_.accesses, (std::vector{FileAccess::kReadWrite, FileAccess::kRead}));
  channel_.WriteBytes("data");
  EXPECT_EQ(TakeErrorNumber(), 70);
  EXPECT_EQ(channel_.Position(), 1);
}

TEST_F(PlatformCallTest, AShortWriteAtTheCurrentPositionSets61) {
  channel_.OpenReadWrite("out.wav");
  service_.writes = {{3, 0}};
  channel_.WriteBytes("abcd");
  EXPECT_EQ(TakeErrorNumber(), 61) << "a short write at the current position loses data too";
  EXPECT_EQ(channel_.Position(), 4);
}

TEST_F(PlatformCallTest, NamesReachThePlatformUncutUpToAZeroByte) {
  const std::string longName(300, 'n');
  channel_.OpenReadWrite(longName);
  channel_.Close();
  channel_.OpenReadWrite("out.wav\0tail"s);
  EXPECT_EQ(service_.names, (std::vector<std::string>{longName, "out.wav"}));
}

TEST_F(PlatformCallTest, ALengthThePlatformCannotGiveIsNothingAndSetsItsNumber) {
  channel_.OpenReadWrite("in.wav");
  service_.size = {100, 6};
  EXPECT_EQ(channel_.Length(), std::nullopt);
  EXPECT_EQ(TakeErrorNumber(), 51);
}

// The codes the dialogue's messages hang on (8 and 14 are both want of
// memory), and one it has never heard of.
TEST(PlatformErrorTable, CodesGiveTheirErrorNumbers) {
  const std::pair<PlatformError, int> cases[] = {{2, 53}, {3, 76},  {5, 70},   {8, 7},
                                                 {14, 7}, {38, 62}, {112, 61}, {0xFFFFFFFF, 75}};
  for (const auto& [code, errorNumber] : cases) EXPECT_EQ(MappedErrorNumber(code), errorNumber) << code;
}

}  // namespace
}  // namespace corvane
