#pragma once

#include <gtest/gtest.h>

#include "filechannel/error_number.hpp"
#include "filechannel/file_channel.hpp"
#include "platform/posix/posix_file_service.hpp"
#include "support/temp_folder.hpp"

// Real files in a fresh temporary folder, reached through the run's file
// channel over the POSIX file service. The error number starts at 0.
class FileTest : public ::testing::Test {
 protected:
  FileTest() { corvane::TakeErrorNumber(); }

  TempFolder folder_;
  corvane::PosixFileService service_;
  corvane::FileChannel channel_{service_};
};
