#pragma once

#include <gtest/gtest.h>

#include <string>

#include "filechannel/error_number.hpp"
#include "filechannel/file_channel.hpp"
#include "platform/posix/posix_file_service.hpp"
#include "support/temp_folder.hpp"

namespace corvane {

// A channel over real files in a fresh temporary folder, with the error number
// taken before each test so that every test starts from 0.
class ChannelTest : public ::testing::Test {
 protected:
  void SetUp() override { TakeErrorNumber(); }

  // 256 distinct-looking bytes: byte i is i.
  static std::string Counting(std::size_t length) {
    std::string bytes(length, '\0');
    for (std::size_t i = 0; i < length; ++i) bytes[i] = static_cast<char>(i);
    return bytes;
  }

  TempFolder folder_;
  PosixFileService service_;
  FileChannel channel_{service_};
};

}  // namespace corvane
