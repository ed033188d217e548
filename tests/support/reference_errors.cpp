// Writes to standard output the error bytes that the reference conversion
// makes, from a fresh dither source, of the whole samples of a canonical mono
// 24-bit WAV file: what the tool writes after its 44-byte header.
//
// usage: reference_errors file.wav

#include <fstream>
#include <iostream>
#include <iterator>

#include "support/reference_conversion.hpp"

int main(int argc, char** argv) {
  if (argc != 2) return 2;
  std::ifstream file(argv[1], std::ios::binary);
  const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(file), {}};
  if (bytes.size() < 44 || bytes[34] != 24) return 1;
  corvane::DitherSource dither;
  corvane::Ties ties;
  const std::vector<std::uint8_t> errors =
      corvane::ReferenceErrors(corvane::ReferenceWiden({bytes.begin() + 44, bytes.end()}), 1.0 / 256, dither, ties);
  std::cout.write(reinterpret_cast<const char*>(errors.data()), static_cast<std::streamsize>(errors.size()));
  return std::cout ? 0 : 1;
}
