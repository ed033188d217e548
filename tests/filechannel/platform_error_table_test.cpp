#include <gtest/gtest.h>

#include <cerrno>
#include <string>
#include <vector>

#include "filechannel/platform_error_table.hpp"
#include "platform/posix/posix_error_code.hpp"

namespace corvane {
namespace {

struct CodeGroup {
  const char* meaning;
  std::vector<PlatformError> codes;
  int errorNumber;
};

TEST(PlatformErrorTable, EveryWindowsCodeGroupGivesItsErrorNumber) {
  const std::vector<CodeGroup> groups = {
      {"file not found", {2, 18}, 53},
      {"path not found", {3}, 76},
      {"too many files", {4}, 67},
      {"permission denied", {5, 19, 32, 33, 36}, 70},
      {"internal failure", {6, 11, 12, 13, 22, 24}, 51},
      {"memory structures damaged", {7, 9, 10}, 241},
      {"out of memory", {8, 14}, 7},
      {"device unavailable", {15, 20}, 68},
      {"not the same device", {17}, 74},
      {"disk not ready", {21}, 71},
      {"disk or medium failure", {23, 25, 26, 27, 28, 29, 30, 31, 34}, 72},
      {"read past the end", {38}, 62},
      {"disk full", {39, 112}, 61},
      {"other failure", {0, 1, 16, 35, 37, 40, 41, 87, 111, 113, 131, 206, 0xFFFFFFFF}, 75},
  };
  for (const CodeGroup& group : groups) {
    for (const PlatformError code : group.codes) {
      SCOPED_TRACE(std::string(group.meaning) + ", code " + std::to_string(code));
      EXPECT_EQ(MappedErrorNumber(code), group.errorNumber);
    }
  }
}

// POSIX failures must come out as the same error numbers as their Windows
// counterparts.
TEST(PosixErrorCode, ErrnoValuesReachTheErrorNumbersOfTheirWindowsGroup) {
  struct Case {
    const char* label;
    int errorValue;
    int errorNumber;
  };
  const std::vector<Case> cases = {
      {"ENOENT", ENOENT, 53},       {"ENOTDIR", ENOTDIR, 76},   {"EACCES", EACCES, 70},
      {"EPERM", EPERM, 70},         {"EROFS", EROFS, 70},       {"EISDIR", EISDIR, 70},
      {"EWOULDBLOCK", EWOULDBLOCK, 70}, {"EMFILE", EMFILE, 67}, {"ENFILE", ENFILE, 67},
      {"ENOMEM", ENOMEM, 7},        {"ENOSPC", ENOSPC, 61},     {"EDQUOT", EDQUOT, 61},
      {"EFBIG", EFBIG, 61},         {"EIO", EIO, 72},           {"ENXIO", ENXIO, 68},
      {"ENODEV", ENODEV, 68},       {"EINVAL", EINVAL, 75},     {"ESPIPE", ESPIPE, 75},
      {"ENAMETOOLONG", ENAMETOOLONG, 75}, {"ELOOP", ELOOP, 75},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    EXPECT_EQ(MappedErrorNumber(WindowsErrorFromErrno(c.errorValue)), c.errorNumber);
  }
}

}  // namespace
}  // namespace corvane
