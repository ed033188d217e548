#include "platform/windows/windows_file_service.hpp"

#include <gtest/gtest.h>
#include <windows.h>
#include <winioctl.h>

#include <string>

#include "support/file_test.hpp"

// The slot through which the program calls the system's GetFileSizeEx: a test
// puts a call of its own there for a while.
extern "C" decltype(&::GetFileSizeEx) __imp_GetFileSizeEx;

namespace corvane {
namespace {

using WindowsFileServiceTest = FileTest;

// Positions past 4 GiB, whose offset's low half has its top bit set: both
// halves of the distance must reach the platform, the high one by address.
TEST_F(WindowsFileServiceTest, PositionsPastFourGibibytesReachTheirBytes) {
  const std::string name = folder_.Path("sparse.wav");
  // Marked sparse, so that the file takes no room for the gap.
  const HANDLE file = ::CreateFileA(name.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
  DWORD returned = 0;
  ::DeviceIoControl(file, FSCTL_SET_SPARSE, nullptr, 0, nullptr, 0, &returned, nullptr);
  ::CloseHandle(file);
  constexpr std::int64_t kFar = 0x1'8000'0011;  // 1-based
  channel_.OpenReadWrite(name);
  channel_.WriteValueAt(kFar, 0x44434241, 4);
  channel_.Seek(kFar);
  EXPECT_EQ(channel_.ReadBytes(8), "ABCD");
  EXPECT_EQ(channel_.Length(), kFar - 1 + 4) << "the bytes landed past 4 GiB";
}

// What the test's GetFileSizeEx answers, and the error mode it ran under.
BOOL sizeAnswer;
UINT errorModeInCall;

// Only a call's own answer and last error count: a last error left by earlier
// work fails no call, and a call that fails without one still failed (1).
// During the call the system shows no error boxes; afterwards the process's
// own error mode is back.
TEST_F(WindowsFileServiceTest, OnlyACallsOwnAnswerAndLastErrorCount) {
  const auto systemCall = __imp_GetFileSizeEx;
  __imp_GetFileSizeEx = [](HANDLE, PLARGE_INTEGER) { return (errorModeInCall = ::GetErrorMode(), sizeAnswer); };
  ::SetErrorMode(SEM_NOGPFAULTERRORBOX);
  for (const BOOL succeeds : {TRUE, FALSE}) {
    sizeAnswer = succeeds;
    ::SetLastError(ERROR_ACCESS_DENIED);
    EXPECT_EQ(service_.GetFileSize(FileHandle{0}).error, succeeds ? 0u : 1u);
  }
  __imp_GetFileSizeEx = systemCall;
  EXPECT_EQ(std::pair(errorModeInCall, ::GetErrorMode()), std::pair(UINT{0x8001}, UINT{SEM_NOGPFAULTERRORBOX}));
}

}  // namespace
}  // namespace corvane
