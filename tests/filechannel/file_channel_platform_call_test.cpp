#include <gtest/gtest.h>

#include <cfenv>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "filechannel/error_number.hpp"
#include "filechannel/file_channel.hpp"

namespace corvane {
namespace {

using namespace std::string_literals;

constexpr FileHandle kHandle = 7;

// A file service that answers from a script and logs every call. Each call
// also switches the rounding mode, as a careless platform library might, so
// that the tests can see the channel put the environment back.
class ScriptedFileService : public FileService {
 public:
  std::deque<OpenedFile> opens;  // answers of CreateFileA; success once used up
  FileType type = FileType::kDisk;
  PlatformError seekError = 0;
  std::deque<Transferred> reads;   // answers of ReadFile; the whole count once used up
  std::deque<Transferred> writes;  // answers of WriteFile; the whole count once used up
  PlatformError closeError = 0;

  std::vector<std::string> calls;
  std::vector<std::string> names;
  std::vector<FileAccess> accesses;
  std::vector<FileDisposition> dispositions;
  std::vector<std::uint32_t> counts;

  OpenedFile CreateFileA(const char* name, FileAccess access, FileDisposition disposition) override {
    Log("CreateFileA");
    names.emplace_back(name);
    accesses.push_back(access);
    dispositions.push_back(disposition);
    return Next(opens, OpenedFile{kHandle, 0});
  }
  FileType GetFileType(FileHandle) override { return Log("GetFileType"), type; }
  PlatformError SetFilePointer(FileHandle, std::int64_t offset) override {
    Log("SetFilePointer " + std::to_string(offset));
    return seekError;
  }
  Transferred ReadFile(FileHandle, std::uint8_t* buffer, std::uint32_t count) override {
    Log("ReadFile");
    counts.push_back(count);
    const Transferred answer = Next(reads, Transferred{count, 0});
    for (std::uint32_t i = 0; i < answer.bytes; ++i) buffer[i] = 0xAB;
    return answer;
  }
  Transferred WriteFile(FileHandle, const std::uint8_t*, std::uint32_t count) override {
    Log("WriteFile");
    counts.push_back(count);
    return Next(writes, Transferred{count, 0});
  }
  PlatformError CloseHandle(FileHandle) override { return Log("CloseHandle"), closeError; }
  std::optional<FileIdentity> IdentifyFile(const char* name) override {
    Log("IdentifyFile");
    return FileIdentity{1, std::string(name).size()};
  }

 private:
  void Log(const std::string& call) {
    calls.push_back(call);
    std::fesetround(FE_UPWARD);
  }
  template <typename T>
  static T Next(std::deque<T>& script, T otherwise) {
    if (script.empty()) return otherwise;
    const T answer = script.front();
    script.pop_front();
    return answer;
  }
};

class PlatformCallTest : public ::testing::Test {
 protected:
  void SetUp() override {
    TakeErrorNumber();
    std::fesetround(FE_TONEAREST);
  }
  void TearDown() override { std::fesetround(FE_TONEAREST); }

  using Calls = std::vector<std::string>;

  ScriptedFileService service_;
  FileChannel channel_{service_};
};

TEST_F(PlatformCallTest, NoPlatformCallChangesTheRoundingOfTheRun) {
  const std::vector<std::pair<const char*, std::function<void()>>> steps = {
      {"OpenReadWrite", [&] { channel_.OpenReadWrite("out.wav"); }},
      {"ReadBytes", [&] { channel_.ReadBytes(2); }},
      {"WriteBytes", [&] { channel_.WriteBytes("ab"); }},
      {"Seek", [&] { channel_.Seek(4); }},
      {"WriteValueAt", [&] { channel_.WriteValueAt(1, 5, 2); }},
      {"Close", [&] { channel_.Close(); }},
      {"OpenExisting", [&] { channel_.OpenExisting("in.wav"); }},
      {"SameFileOnDisk", [&] { channel_.SameFileOnDisk("a", "b"); }},
      {"destruction", [&] { FileChannel other(service_); other.OpenExisting("x"); }},
  };
  for (const auto& [label, step] : steps) {
    SCOPED_TRACE(label);
    const std::size_t before = service_.calls.size();
    step();
    EXPECT_GT(service_.calls.size(), before) << "the step reached the platform";
    EXPECT_EQ(std::fegetround(), FE_TONEAREST);
  }
}

TEST_F(PlatformCallTest, OpenExistingOfADiskFileReadsItsFirst128Bytes) {
  channel_.OpenExisting("in.wav");
  EXPECT_EQ(service_.calls, (Calls{"CreateFileA", "GetFileType", "SetFilePointer 0", "ReadFile"}));
  EXPECT_EQ(service_.accesses, std::vector{FileAccess::kRead});
  EXPECT_EQ(service_.dispositions, std::vector{FileDisposition::kOpenExisting});
  EXPECT_EQ(service_.counts, std::vector<std::uint32_t>{128});
  EXPECT_TRUE(channel_.IsOpen());
}

TEST_F(PlatformCallTest, OpenExistingOfAStreamNeitherPositionsNorReads) {
  service_.type = FileType::kCharacter;
  channel_.OpenExisting("CON");
  EXPECT_EQ(service_.calls, (Calls{"CreateFileA", "GetFileType"}));
  EXPECT_TRUE(channel_.IsOpen());
  channel_.Close();
  service_.calls.clear();
  channel_.OpenReadWrite("CON");
  EXPECT_EQ(service_.calls, (Calls{"CreateFileA", "GetFileType", "SetFilePointer 0"}));
}

TEST_F(PlatformCallTest, OpenReadWriteRetriesOnceForReadingAndWritesThenFail) {
  service_.opens = {{kInvalidFileHandle, 5}};
  service_.writes = {{0, 5}};
  channel_.OpenReadWrite("readonly.wav");
  EXPECT_TRUE(channel_.IsOpen());
  EXPECT_EQ(TakeErrorNumber(), 0);
  EXPECT_EQ(service_.accesses, (std::vector{FileAccess::kReadWrite, FileAccess::kRead}));
  EXPECT_EQ(service_.dispositions, (std::vector{FileDisposition::kOpenAlways, FileDisposition::kOpenAlways}));
  channel_.WriteBytes("data");
  EXPECT_EQ(TakeErrorNumber(), 70);
  EXPECT_EQ(channel_.Position(), 1);
}

TEST_F(PlatformCallTest, FailedOpensReportTheLastAttempt) {
  struct Case {
    const char* label;
    bool readWrite;
    std::deque<OpenedFile> opens;
    std::size_t attempts;
    int errorNumber;
  };
  const std::vector<Case> cases = {
      {"retry fails too", true, {{kInvalidFileHandle, 32}, {kInvalidFileHandle, 3}}, 2, 76},
      {"open-existing tries once", false, {{kInvalidFileHandle, 5}, {kHandle, 0}}, 1, 70},
      {"failure without a code", false, {{kInvalidFileHandle, 0}}, 1, 75},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    ScriptedFileService service;
    service.opens = c.opens;
    FileChannel channel(service);
    c.readWrite ? channel.OpenReadWrite("f") : channel.OpenExisting("f");
    EXPECT_EQ(TakeErrorNumber(), c.errorNumber);
    EXPECT_FALSE(channel.IsOpen());
    EXPECT_EQ(service.names.size(), c.attempts);
  }
}

TEST_F(PlatformCallTest, AFailureAfterCreateFileReleasesTheFile) {
  struct Case {
    const char* label;
    PlatformError seekError;
    std::deque<Transferred> reads;
    int errorNumber;
  };
  const std::vector<Case> cases = {
      {"positioning fails", 25, {}, 72},
      {"first read fails", 0, {{0, 30}}, 72},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    ScriptedFileService service;
    service.seekError = c.seekError;
    service.reads = c.reads;
    service.closeError = 6;  // the first failure is the one reported
    FileChannel channel(service);
    channel.OpenExisting("in.wav");
    EXPECT_EQ(TakeErrorNumber(), c.errorNumber);
    EXPECT_FALSE(channel.IsOpen());
    EXPECT_EQ(service.calls.back(), "CloseHandle");
  }
}

TEST_F(PlatformCallTest, WritesThatMoveTooLittleAreReported) {
  channel_.OpenReadWrite("out.wav");
  service_.writes = {{2, 0}, {1, 112}, {3, 0}};
  channel_.WriteValueAt(5, -1, 4);
  EXPECT_EQ(TakeErrorNumber(), 61) << "two of four bytes written";
  EXPECT_EQ(channel_.Position(), 7);
  channel_.WriteValueAt(9, -1, 4);
  EXPECT_EQ(TakeErrorNumber(), 61) << "disk full";
  EXPECT_EQ(channel_.Position(), 9) << "a failed write leaves the given position";
  channel_.WriteBytes("abcd");
  EXPECT_EQ(TakeErrorNumber(), 61) << "a short write at the current position loses data too";
  EXPECT_EQ(channel_.Position(), 12);
}

TEST_F(PlatformCallTest, FailedReadsReturnNothingAndKeepThePosition) {
  channel_.OpenReadWrite("in.wav");
  channel_.Seek(10);
  service_.reads = {{2, 23}, {3, 31}};
  EXPECT_EQ(channel_.ReadBytes(4), "");
  EXPECT_EQ(TakeErrorNumber(), 72);
  EXPECT_EQ(channel_.Position(), 10);
  PackedArray array;
  CreateArray(array, 2, 4);
  channel_.ReadArrayAt(21, array, 2);
  EXPECT_EQ(TakeErrorNumber(), 72);
  EXPECT_EQ(channel_.Position(), 21);
}

TEST_F(PlatformCallTest, CloseFailureStillClosesTheChannel) {
  channel_.OpenReadWrite("out.wav");
  service_.closeError = 6;
  channel_.Close();
  EXPECT_EQ(TakeErrorNumber(), 51);
  EXPECT_FALSE(channel_.IsOpen());
  channel_.Close();
  EXPECT_EQ(TakeErrorNumber(), 0);
}

TEST_F(PlatformCallTest, NamesReachThePlatformWholeUpToAZeroByte) {
  const std::string longName(300, 'n');
  channel_.OpenReadWrite(longName);
  channel_.Close();
  channel_.OpenReadWrite("out.wav\0tail"s);
  channel_.Close();
  EXPECT_EQ(service_.names, (std::vector<std::string>{longName, "out.wav"}));
}

TEST_F(PlatformCallTest, WrongValueWidthsAreRefusedWithoutWriting) {
  channel_.OpenReadWrite("out.wav");
  service_.calls.clear();
  for (int width : {0, 5, -2}) {
    channel_.WriteValueAt(1, 1, width);
    EXPECT_EQ(TakeErrorNumber(), 51);
  }
  EXPECT_TRUE(service_.calls.empty());
}

TEST_F(PlatformCallTest, DestroyingAnOpenChannelReleasesTheFile) {
  {
    FileChannel channel(service_);
    channel.OpenReadWrite("out.wav");
  }
  EXPECT_EQ(service_.calls.back(), "CloseHandle");
}

}  // namespace
}  // namespace corvane
