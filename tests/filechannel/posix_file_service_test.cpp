#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "platform/posix/posix_file_service.hpp"
#include "support/temp_folder.hpp"

namespace corvane {
namespace {

int Descriptor(FileHandle handle) { return static_cast<int>(handle); }

class PosixFileServiceTest : public ::testing::Test {
 protected:
  OpenedFile Open(const std::string& name, FileAccess access = FileAccess::kReadWrite,
                  FileDisposition disposition = FileDisposition::kOpenAlways) {
    return service_.CreateFileA(folder_.Path(name).c_str(), access, disposition);
  }

  TempFolder folder_;
  PosixFileService service_;
};

TEST_F(PosixFileServiceTest, OpenFailuresGiveTheWindowsCodes) {
  folder_.Write("plain.wav", "x");
  std::filesystem::create_directory(folder_.Path("folder"));
  struct Case {
    const char* label;
    std::string name;
    FileAccess access;
    FileDisposition disposition;
    PlatformError error;
  };
  const std::vector<Case> cases = {
      {"missing file", "missing.wav", FileAccess::kRead, FileDisposition::kOpenExisting, 2},
      {"missing folder", "none/missing.wav", FileAccess::kRead, FileDisposition::kOpenExisting, 3},
      {"missing folder, creating", "none/missing.wav", FileAccess::kReadWrite, FileDisposition::kOpenAlways, 3},
      {"through a file", "plain.wav/x", FileAccess::kRead, FileDisposition::kOpenExisting, 3},
      {"folder for reading", "folder", FileAccess::kRead, FileDisposition::kOpenExisting, 5},
      {"folder for writing", "folder", FileAccess::kReadWrite, FileDisposition::kOpenAlways, 5},
      {"folder, creating for reading", "folder", FileAccess::kRead, FileDisposition::kOpenAlways, 5},
      {"component too long", std::string(300, 'n'), FileAccess::kRead, FileDisposition::kOpenExisting, 206},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    const OpenedFile file = Open(c.name, c.access, c.disposition);
    EXPECT_EQ(file.handle, kInvalidFileHandle);
    EXPECT_EQ(file.error, c.error);
  }
}

TEST_F(PosixFileServiceTest, AHeldFileRefusesEveryOtherOpenUntilReleased) {
  const OpenedFile first = Open("held.wav");
  ASSERT_NE(first.handle, kInvalidFileHandle);
  for (FileAccess access : {FileAccess::kRead, FileAccess::kReadWrite}) {
    const OpenedFile second = Open("held.wav", access, FileDisposition::kOpenExisting);
    EXPECT_EQ(second.handle, kInvalidFileHandle);
    EXPECT_EQ(second.error, 32u);
  }
  EXPECT_EQ(service_.CloseHandle(first.handle), 0u);
  const OpenedFile again = Open("held.wav", FileAccess::kRead, FileDisposition::kOpenExisting);
  ASSERT_NE(again.handle, kInvalidFileHandle);
  EXPECT_EQ(service_.CloseHandle(again.handle), 0u);
}

TEST_F(PosixFileServiceTest, WritingThroughAReadOnlyHandleIsAccessDenied) {
  folder_.Write("r.wav", "keep");
  const OpenedFile file = Open("r.wav", FileAccess::kRead, FileDisposition::kOpenExisting);
  ASSERT_NE(file.handle, kInvalidFileHandle);
  const std::uint8_t byte = 1;
  const Transferred written = service_.WriteFile(file.handle, &byte, 1);
  EXPECT_EQ(written.bytes, 0u);
  EXPECT_EQ(written.error, 5u);
  service_.CloseHandle(file.handle);
  EXPECT_EQ(folder_.Read("r.wav"), "keep");
}

TEST_F(PosixFileServiceTest, NewFilesTakeTheUmaskAndNoDescriptorLeaksIntoChildren) {
  const OpenedFile file = Open("new.wav");
  ASSERT_NE(file.handle, kInvalidFileHandle);
  EXPECT_NE(::fcntl(Descriptor(file.handle), F_GETFD) & FD_CLOEXEC, 0);
  EXPECT_EQ(::fcntl(Descriptor(file.handle), F_GETFL) & O_NONBLOCK, 0);
  const mode_t mask = ::umask(0);
  ::umask(mask);
  struct stat status {};
  ASSERT_EQ(::stat(folder_.Path("new.wav").c_str(), &status), 0);
  EXPECT_EQ(status.st_mode & 0777, 0666 & ~mask);
  service_.CloseHandle(file.handle);
}

TEST_F(PosixFileServiceTest, FileTypesAndPositioning) {
  const OpenedFile file = Open("f.wav");
  EXPECT_EQ(service_.GetFileType(file.handle), FileType::kDisk);
  EXPECT_EQ(service_.SetFilePointer(file.handle, -1), 131u);
  EXPECT_EQ(service_.SetFilePointer(file.handle, 5000), 0u);
  service_.CloseHandle(file.handle);

  const OpenedFile null = service_.CreateFileA("/dev/null", FileAccess::kReadWrite, FileDisposition::kOpenAlways);
  EXPECT_EQ(service_.GetFileType(null.handle), FileType::kCharacter);
  service_.CloseHandle(null.handle);

  int ends[2];
  ASSERT_EQ(::pipe(ends), 0);
  EXPECT_EQ(service_.GetFileType(static_cast<FileHandle>(ends[0])), FileType::kPipe);
  EXPECT_NE(service_.SetFilePointer(static_cast<FileHandle>(ends[0]), 0), 0u);
  ::close(ends[0]);
  ::close(ends[1]);
  EXPECT_EQ(service_.CloseHandle(static_cast<FileHandle>(ends[0])), 6u) << "already closed";
}

// Large transfers are split into calls of at most the chunk size; a small
// chunk size shows that every byte still moves, in order.
TEST_F(PosixFileServiceTest, ChunkedTransfersMoveEveryByte) {
  PosixFileService chunked(7);
  std::string bytes(1000, '\0');
  for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<char>(i * 31 + 5);
  const OpenedFile file =
      chunked.CreateFileA(folder_.Path("big.wav").c_str(), FileAccess::kReadWrite, FileDisposition::kOpenAlways);
  const Transferred written = chunked.WriteFile(file.handle, reinterpret_cast<const std::uint8_t*>(bytes.data()), 995);
  EXPECT_EQ(written.bytes, 995u);
  EXPECT_EQ(written.error, 0u);
  std::string back(1000, '\x7F');
  ASSERT_EQ(chunked.SetFilePointer(file.handle, 0), 0u);
  const Transferred read = chunked.ReadFile(file.handle, reinterpret_cast<std::uint8_t*>(back.data()), 1000);
  EXPECT_EQ(read.bytes, 995u) << "the end of the file stops the read without an error";
  EXPECT_EQ(read.error, 0u);
  EXPECT_EQ(back.substr(0, 995), bytes.substr(0, 995));
  EXPECT_EQ(back.substr(995), std::string(5, '\x7F'));
  chunked.CloseHandle(file.handle);
  EXPECT_EQ(folder_.Read("big.wav"), bytes.substr(0, 995));
}

TEST_F(PosixFileServiceTest, AReadGathersBytesThatArriveInPieces) {
  int ends[2];
  ASSERT_EQ(::pipe(ends), 0);
  std::thread writer([&] {
    for (const char* piece : {"ab", "cde", "f"}) {
      EXPECT_GT(::write(ends[1], piece, std::char_traits<char>::length(piece)), 0);
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    ::close(ends[1]);
  });
  std::string back(8, '.');
  const Transferred read =
      service_.ReadFile(static_cast<FileHandle>(ends[0]), reinterpret_cast<std::uint8_t*>(back.data()), 8);
  writer.join();
  ::close(ends[0]);
  EXPECT_EQ(read.bytes, 6u);
  EXPECT_EQ(back, "abcdef..");
}

TEST_F(PosixFileServiceTest, IdentityFollowsTheFileNotTheName) {
  folder_.Write("a.wav", "a");
  folder_.Write("b.wav", "b");
  const auto a = service_.IdentifyFile(folder_.Path("a.wav").c_str());
  ASSERT_TRUE(a.has_value());
  EXPECT_EQ(service_.IdentifyFile((folder_.Root() / "." / "a.wav").c_str()), a);
  EXPECT_NE(service_.IdentifyFile(folder_.Path("b.wav").c_str()), a);
  EXPECT_EQ(service_.IdentifyFile(folder_.Path("none.wav").c_str()), std::nullopt);
}

}  // namespace
}  // namespace corvane
