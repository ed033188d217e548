#pragma once

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>
#include <string>
#include <system_error>

// A fresh folder under the system's temporary directory, removed with
// everything in it when the test ends. Files are written and read back whole,
// as raw bytes.
class TempFolder {
 public:
  TempFolder() {
    const std::filesystem::path base = std::filesystem::temp_directory_path();
    std::random_device random;
    // create_directory makes the folder only where none was: a name another
    // test took first is passed over.
    for (int attempt = 0; attempt < 100; ++attempt) {
      const std::filesystem::path candidate = base / ("corvane-" + RandomSuffix(random));
      std::error_code error;
      if (std::filesystem::create_directory(candidate, error)) {
        root_ = candidate;
        return;
      }
      if (error) break;
    }
    throw std::runtime_error("no fresh temporary folder could be made");
  }
  ~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(root_, ignored);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::filesystem::path& Root() const { return root_; }
  std::string Path(const std::string& name) const { return (root_ / name).string(); }

  std::string Write(const std::string& name, const std::string& bytes) const {
    const std::string path = Path(name);
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
  }

  std::string Read(const std::string& name) const {
    std::ifstream in(Path(name), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }

  bool Exists(const std::string& name) const { return std::filesystem::exists(root_ / name); }

 private:
  static std::string RandomSuffix(std::random_device& random) {
    static constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    std::string suffix;
    for (int i = 0; i < 6; ++i) suffix += kLetters[random() % (sizeof(kLetters) - 1)];
    return suffix;
  }

  std::filesystem::path root_;
};
