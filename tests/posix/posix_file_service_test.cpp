#include "platform/posix/posix_file_service.hpp"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "filechannel/error_number.hpp"
#include "support/file_test.hpp"

namespace corvane {
namespace {

using namespace std::string_literals;
using ChannelTest = FileTest;

// Root may read and write any file, so permissions can be withheld only from
// an ordinary user: run as root, the test goes on as the user nobody, in a
// child process that owns the folder.
void BecomeAnOrdinaryUser(const std::filesystem::path& folder) {
  if (::geteuid() != 0) return;
  constexpr uid_t kNobody = 65534;
  if (::chown(folder.c_str(), kNobody, kNobody) != 0 || ::setgid(kNobody) != 0 || ::setuid(kNobody) != 0) {
    std::fputs("cannot become the user nobody\n", stderr);
    std::_Exit(2);
  }
}

TEST_F(ChannelTest, WithheldPermissionsSet70AndLeaveTheFileUnchanged) {
  const auto run = [this] {
    BecomeAnOrdinaryUser(folder_.Root());
    std::string failures;
    const auto expect = [&failures](bool holds, const char* what) { failures += holds ? "" : what + "\n"s; };
    const std::string name = folder_.Write("locked.wav", "keep");
    expect(::chmod(name.c_str(), 0444) == 0, "chmod 0444");
    channel_.OpenReadWrite(name);
    expect(channel_.ReadBytes(4) == "keep", "opened for reading through the retry");
    channel_.WriteValueAt(1, 0, 4);
    expect(TakeErrorNumber() == 70, "a write through the retry sets 70");
    channel_.Close();
    expect(folder_.Read("locked.wav") == "keep", "the file is unchanged");
    expect(::chmod(name.c_str(), 0) == 0, "chmod 0");
    channel_.OpenExisting(name);
    expect(TakeErrorNumber() == 70, "an unreadable file sets 70");
    std::fputs(failures.c_str(), stderr);
    std::_Exit(failures.empty() ? 0 : 1);
  };
  EXPECT_EXIT(run(), ::testing::ExitedWithCode(0), "");
}

// The POSIX service behind the channel, on its own.
using PosixFileServiceTest = ChannelTest;

std::uint8_t* Bytes(std::string& bytes) { return reinterpret_cast<std::uint8_t*>(bytes.data()); }

// A 7-byte chunk makes each transfer many system calls; every byte must still
// move, in order, and the end of the file stops a read without an error.
TEST_F(PosixFileServiceTest, ChunkedTransfersMoveEveryByte) {
  PosixFileService chunked(7);
  std::string bytes(995, '\0'), back(1000, '\x7F');
  for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<char>(i);  // each byte tells where it was
  const OpenedFile file =
      chunked.CreateFileA(folder_.Path("big.wav").c_str(), FileAccess::kReadWrite, FileDisposition::kOpenAlways);
  EXPECT_EQ(chunked.WriteFile(file.handle, Bytes(bytes), 995).bytes, 995u);
  chunked.SetFilePointer(file.handle, 0);
  const Transferred read = chunked.ReadFile(file.handle, Bytes(back), 1000);
  EXPECT_EQ(read.bytes, 995u);
  EXPECT_EQ(read.error, 0u);
  EXPECT_EQ(back, bytes + std::string(5, '\x7F'));
  chunked.CloseHandle(file.handle);
  EXPECT_EQ(folder_.Read("big.wav"), bytes);
}

}  // namespace
}  // namespace corvane
