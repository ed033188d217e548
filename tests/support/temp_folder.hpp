#pragma once

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>

// A fresh folder under the system's temporary directory, removed with
// everything in it when the test ends. Files are written and read back whole,
// as raw bytes.
class TempFolder {
 public:
  // create_directory fails where the name is taken: tests running at the same
  // time never share a folder.
  TempFolder() {
    for (std::random_device random; !std::filesystem::create_directory(root_);) {
      root_ = std::filesystem::temp_directory_path() / ("corvane-" + std::to_string(random() % 1000000));
    }
  }
  ~TempFolder() { std::filesystem::remove_all(root_, ignored_); }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::filesystem::path& Root() const { return root_; }
  std::string Path(const std::string& name) const { return (root_ / name).string(); }
  bool Exists(const std::string& name) const { return std::filesystem::exists(root_ / name); }

  std::string Write(const std::string& name, const std::string& bytes) const {
    std::ofstream(Path(name), std::ios::binary) << bytes;
    return Path(name);
  }

  std::string Read(const std::string& name) const {
    std::ifstream in(Path(name), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }

 private:
  std::filesystem::path root_ = std::filesystem::temp_directory_path();  // taken: the loop moves on at once
  std::error_code ignored_;
};
