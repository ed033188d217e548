#include <gtest/gtest.h>
#include <windows.h>
#include <xmmintrin.h>

#include <cfenv>
#include <string>

#include "platform/platform.hpp"
#include "support/temp_folder.hpp"

namespace corvane {
namespace {

std::uint16_t X87ControlWord() {
  std::uint16_t control = 0;
  asm volatile("fnstcw %0" : "=m"(control));
  return control;
}

TEST(WindowsPlatform, FloatingPointRunsAt64BitsRoundingToNearestWithEveryExceptionMasked) {
  // A 53-bit significand, rounding up, the invalid operation unmasked.
  const std::uint16_t other = 0x0A7E;
  asm volatile("fldcw %0" : : "m"(other));
  std::fesetround(FE_UPWARD);
  _mm_setcsr(0x1F00);  // SSE: the invalid operation unmasked
  SetUpFloatingPoint();
  EXPECT_EQ(X87ControlWord(), 0x037F);
  EXPECT_EQ(std::fegetround(), FE_TONEAREST);
  EXPECT_EQ(_mm_getcsr() & 0x7F80u, 0x1F80u) << "SSE: every exception masked, rounding to nearest";
}

// Typed names are in the console's code page (the OEM one): once the
// platform is open, the byte 0x82 names the file that the OEM code page calls
// it, not the one the ANSI code page would.
TEST(WindowsPlatform, FileNamesAreReadInTheConsolesCodePage) {
  if (::GetACP() == ::GetOEMCP()) GTEST_SKIP() << "the two code pages are one here";
  ::SetFileApisToANSI();
  const std::unique_ptr<Platform> platform = OpenPlatform();
  ASSERT_NE(platform, nullptr);
  TempFolder folder;
  const std::string typed = folder.Root().string() + "\\caf\x82.wav";
  const OpenedFile file =
      platform->Files().CreateFileA(typed.c_str(), FileAccess::kReadWrite, FileDisposition::kOpenAlways);
  ASSERT_EQ(file.error, 0u);
  platform->Files().CloseHandle(file.handle);
  wchar_t oemName[16]{};
  ::MultiByteToWideChar(CP_OEMCP, 0, "caf\x82.wav", -1, oemName, 16);
  const std::wstring listed = folder.Root().wstring() + L"\\" + oemName;
  EXPECT_NE(::GetFileAttributesW(listed.c_str()), INVALID_FILE_ATTRIBUTES);
  ::SetFileApisToANSI();
}

}  // namespace
}  // namespace corvane
