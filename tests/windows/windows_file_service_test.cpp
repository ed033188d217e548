#include "platform/windows/windows_file_service.hpp"

#include <gtest/gtest.h>
#include <windows.h>
#include <winioctl.h>

#include <string>

#include "filechannel/error_number.hpp"
#include "filechannel/platform_error_table.hpp"
#include "support/file_test.hpp"

namespace corvane {
namespace {

using namespace std::string_literals;

using WindowsFileServiceTest = FileTest;

std::uint8_t* Bytes(std::string& bytes) { return reinterpret_cast<std::uint8_t*>(bytes.data()); }

// Positions past 4 GiB, whose offset's low half has its top bit set: both
// halves of the distance must reach the platform, the high one by address.
TEST_F(WindowsFileServiceTest, PositionsPastFourGibibytesReachTheirBytes) {
  const std::string name = folder_.Path("sparse.wav");
  // Marked sparse, so that the file takes no room for the gap.
  const HANDLE file = ::CreateFileA(name.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  DWORD returned = 0;
  ::DeviceIoControl(file, FSCTL_SET_SPARSE, nullptr, 0, nullptr, 0, &returned, nullptr);
  ::CloseHandle(file);

  constexpr std::int64_t kFar = 0x1'8000'0011;  // 1-based
  channel_.OpenReadWrite(name);
  channel_.WriteValueAt(kFar, 0x44434241, 4);
  EXPECT_EQ(channel_.Position(), kFar + 4);
  channel_.Seek(kFar - 0x1'0000'0000);
  EXPECT_EQ(channel_.ReadBytes(4), "\0\0\0\0"s) << "the low half alone leads elsewhere";
  channel_.Seek(kFar);
  EXPECT_EQ(channel_.ReadBytes(8), "ABCD");
  EXPECT_EQ(channel_.Length(), kFar - 1 + 4) << "both halves of the length";
  channel_.Close();
  EXPECT_EQ(TakeErrorNumber(), 0);
  WIN32_FILE_ATTRIBUTE_DATA attributes{};
  ASSERT_TRUE(::GetFileAttributesExA(name.c_str(), GetFileExInfoStandard, &attributes));
  EXPECT_EQ((std::int64_t{attributes.nFileSizeHigh} << 32) | attributes.nFileSizeLow, kFar - 1 + 4);
}

TEST_F(WindowsFileServiceTest, OpensSayWhetherTheyCreatedAndDeletingRemoves) {
  const std::string name = folder_.Path("out.wav");
  OpenedFile file = service_.CreateFileA(name.c_str(), FileAccess::kReadWrite, FileDisposition::kOpenAlways);
  EXPECT_TRUE(file.created);
  service_.CloseHandle(file.handle);
  file = service_.CreateFileA(name.c_str(), FileAccess::kReadWrite, FileDisposition::kOpenAlways);
  EXPECT_EQ(std::pair(file.error, file.created), std::pair(PlatformError{0}, false))
      << "found there: ERROR_ALREADY_EXISTS is no failure";
  service_.CloseHandle(file.handle);
  EXPECT_EQ(service_.DeleteFileA(name.c_str()), 0u);
  EXPECT_FALSE(folder_.Exists("out.wav"));
  file = service_.CreateFileA(name.c_str(), FileAccess::kReadWrite, FileDisposition::kOpenExisting);
  EXPECT_EQ(file.error, 2u);
  EXPECT_FALSE(folder_.Exists("out.wav")) << "an open of an existing file never creates one";
}

// Each call clears the last error before it and keeps the process's error
// mode: a last error left by earlier work fails no call.
TEST_F(WindowsFileServiceTest, AnEarlierLastErrorFailsNoCallAndTheErrorModeStays) {
  ::SetErrorMode(SEM_NOGPFAULTERRORBOX);
  const std::string name = folder_.Write("in.wav", "data");
  ::SetLastError(ERROR_ACCESS_DENIED);
  const OpenedFile file = service_.CreateFileA(name.c_str(), FileAccess::kReadWrite, FileDisposition::kOpenExisting);
  ASSERT_EQ(file.error, 0u);
  std::string bytes(4, '\0');
  ::SetLastError(ERROR_ACCESS_DENIED);
  EXPECT_EQ(service_.ReadFile(file.handle, Bytes(bytes), 4).error, 0u);
  ::SetLastError(ERROR_ACCESS_DENIED);
  EXPECT_EQ(service_.SetFilePointer(file.handle, 0), 0u);
  ::SetLastError(ERROR_ACCESS_DENIED);
  EXPECT_EQ(service_.WriteFile(file.handle, Bytes(bytes), 4).error, 0u);
  ::SetLastError(ERROR_ACCESS_DENIED);
  EXPECT_EQ(service_.CloseHandle(file.handle), 0u);
  EXPECT_EQ(::GetErrorMode(), UINT{SEM_NOGPFAULTERRORBOX});
  EXPECT_EQ(service_.SetFilePointer(FileHandle{0}, 0), PlatformError{ERROR_INVALID_HANDLE})
      << "a real failure still shows";
}

}  // namespace
}  // namespace corvane
