#include "filechannel/file_channel.hpp"

#include "filechannel/error_number.hpp"
#include "filechannel/platform_error_table.hpp"

namespace corvane {

namespace {

// The name as the platform sees it: a zero byte ends it. Nothing else is
// changed; long names go to the platform whole.
ByteString PlatformName(ByteView name) { return ByteString(name.substr(0, name.find('\0'))); }

// Empty names and wildcard patterns never reach the file system.
bool IsUsableName(ByteView name) { return !name.empty() && name.find_first_of("*?") == ByteView::npos; }

}  // namespace

FileChannel::FileChannel(FileService& service) : service_(service) {}

FileChannel::~FileChannel() {
  if (open_) Platform([&] { return service_.CloseHandle(handle_); });
}

void FileChannel::OpenExisting(ByteView name) { Open(name, Mode::kOpenExisting, WhenMissing::kFail); }

void FileChannel::OpenReadWrite(ByteView name, WhenMissing whenMissing) { Open(name, Mode::kReadWrite, whenMissing); }

void FileChannel::Open(ByteView name, Mode mode, WhenMissing whenMissing) {
  const ByteString path = PlatformName(name);
  if (!IsUsableName(path)) {
    SetErrorNumber(error_number::kBadFileName);
    return;
  }
  if (open_) {
    SetErrorNumber(error_number::kAlreadyOpen);
    return;
  }
  const bool readWrite = mode == Mode::kReadWrite;
  const FileDisposition disposition =
      whenMissing == WhenMissing::kCreate ? FileDisposition::kOpenAlways : FileDisposition::kOpenExisting;
  FileAccess access = readWrite ? FileAccess::kReadWrite : FileAccess::kRead;
  OpenedFile file = Platform([&] { return service_.CreateFileA(path.c_str(), access, disposition); });
  if (file.handle == kInvalidFileHandle && readWrite) {
    // A file that may not be written can still be read: retry once for reading.
    access = FileAccess::kRead;
    file = Platform([&] { return service_.CreateFileA(path.c_str(), access, disposition); });
  }
  if (file.handle == kInvalidFileHandle) {
    Fail(file.error);
    return;
  }
  handle_ = file.handle;
  diskFile_ = Platform([&] { return service_.GetFileType(handle_); }) == FileType::kDisk;
  if (!Prepare(mode)) {
    Platform([&] { return service_.CloseHandle(handle_); });
    handle_ = kInvalidFileHandle;
    return;
  }
  open_ = true;
  mode_ = mode;
  access_ = access;
  created_ = file.created;
  position_ = 0;
}

// Puts the platform's file pointer at the first byte and, for the open test of
// a disk file, reads the start of the file to prove it can be read.
bool FileChannel::Prepare(Mode mode) {
  if (mode == Mode::kOpenExisting && !diskFile_) return true;
  if (const PlatformError error = Platform([&] { return service_.SetFilePointer(handle_, 0); }); error != 0) {
    Fail(error);
    return false;
  }
  if (mode == Mode::kReadWrite) return true;
  const Transferred read = Platform(
      [&] { return service_.ReadFile(handle_, readAhead_.data(), static_cast<std::uint32_t>(readAhead_.size())); });
  if (read.error != 0) {
    Fail(read.error);
    return false;
  }
  return true;
}

void FileChannel::Close() {
  if (!open_) return;
  open_ = false;
  const PlatformError error = Platform([&] { return service_.CloseHandle(handle_); });
  handle_ = kInvalidFileHandle;
  if (error != 0) Fail(error);
}

void FileChannel::DeleteFile(ByteView name) {
  const ByteString path = PlatformName(name);
  if (!IsUsableName(path)) {
    SetErrorNumber(error_number::kBadFileName);
    return;
  }
  if (const PlatformError error = Platform([&] { return service_.DeleteFileA(path.c_str()); }); error != 0) {
    Fail(error);
  }
}

bool FileChannel::IsOpen() const { return open_; }

std::int64_t FileChannel::Position() const { return static_cast<std::int64_t>(position_) + 1; }

std::optional<std::uint64_t> FileChannel::Length() {
  if (!open_) {
    SetErrorNumber(error_number::kChannelNotOpen);
    return std::nullopt;
  }
  if (!diskFile_) {
    SetErrorNumber(error_number::kWrongMode);
    return std::nullopt;
  }
  const FileSize size = Platform([&] { return service_.GetFileSize(handle_); });
  if (size.error != 0) {
    Fail(size.error);
    return std::nullopt;
  }
  return size.bytes;
}

bool FileChannel::SameFileOnDisk(ByteView first, ByteView second) {
  const ByteString firstPath = PlatformName(first);
  const ByteString secondPath = PlatformName(second);
  if (!IsUsableName(firstPath) || !IsUsableName(secondPath)) return false;
  const auto firstFile = Platform([&] { return service_.IdentifyFile(firstPath.c_str()); });
  if (!firstFile) return false;
  const auto secondFile = Platform([&] { return service_.IdentifyFile(secondPath.c_str()); });
  return secondFile && *firstFile == *secondFile;
}

void FileChannel::Fail(PlatformError code) { SetErrorNumber(MappedErrorNumber(code)); }

}  // namespace corvane
