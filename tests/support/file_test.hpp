#pragma once

#include <gtest/gtest.h>

#include "filechannel/error_number.hpp"
#include "filechannel/file_channel.hpp"
#include "native_file_service.hpp"
#include "support/temp_folder.hpp"

// Real files in a fresh temporary folder, reached through the run's file
// channel over `Service`: by default the file service of the platform the
// tests run on. The error number starts at 0.
template <typename Service = NativeFileService>
class FileTestOver : public ::testing::Test {
 protected:
  FileTestOver() { corvane::TakeErrorNumber(); }

  TempFolder folder_;
  Service service_;
  corvane::FileChannel channel_{service_};
};

using FileTest = FileTestOver<>;
