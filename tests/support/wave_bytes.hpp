#pragma once

#include <cstdint>
#include <string>

// Little-endian byte strings, written out here rather than taken from the
// packing code under test.
inline std::string Le16(std::uint16_t v) { return {static_cast<char>(v & 0xFF), static_cast<char>(v >> 8)}; }
inline std::string Le32(std::uint32_t value) { return Le16(value & 0xFFFF) + Le16(value >> 16); }
inline std::string Le64(std::uint64_t value) { return Le32(value & 0xFFFFFFFF) + Le32(value >> 32); }

// A canonical 44-byte WAV header for a mono 24-bit file at 44100 Hz with no
// samples; any field can be overridden in one line, for instance
// WaveHeader{.channels = 2}.Bytes(). The RIFF size, the "fmt " length and the
// byte rate stay those of the canonical file: nothing reads them.
struct WaveHeader {
  std::string riffTag = "RIFF", formTag = "WAVE", fmtTag = "fmt ";
  std::uint16_t formatCode = 1, channels = 1;
  std::uint32_t sampleRate = 44100;
  std::uint16_t blockAlign = 3, bitsPerSample = 24;
  std::string dataTag = "data";
  std::uint32_t dataSize = 0;

  std::string Bytes() const {
    return riffTag + Le32(36) + formTag + fmtTag + Le32(16) + Le16(formatCode) + Le16(channels) + Le32(sampleRate) +
           Le32(132300) + Le16(blockAlign) + Le16(bitsPerSample) + dataTag + Le32(dataSize);
  }
};

// The header of a mono 16-bit output file, field by field in file order.
inline std::string OutputHeader(std::uint32_t riffSize, std::uint32_t sampleRate, std::uint32_t byteRate,
                                std::uint32_t dataSize) {
  return "RIFF" + Le32(riffSize) + "WAVEfmt " + Le32(16) + Le16(1) + Le16(1) + Le32(sampleRate) + Le32(byteRate) +
         Le16(2) + Le16(16) + "data" + Le32(dataSize);
}
