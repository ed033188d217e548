#include <string>
#include <vector>

#include "conversion/error_signal.hpp"
#include "conversion/input_header.hpp"
#include "conversion/output_writer.hpp"
#include "conversion/sample_loader.hpp"
#include "support/file_test.hpp"
#include "support/wave_bytes.hpp"

namespace corvane {
namespace {

constexpr std::uint32_t kRate = 48000;
const std::string kPcmGuid("\x01\x00\x00\x00\x00\x00\x10\x00\x80\x00\x00\xAA\x00\x38\x9B\x71", 16);
const std::string kFloatGuid("\x03\x00\x00\x00\x00\x00\x10\x00\x80\x00\x00\xAA\x00\x38\x9B\x71", 16);

// A chunk whose header declares `size` bytes, whatever follows it.
std::string ChunkHeader(const std::string& id, std::uint32_t size) { return id + Le32(size); }

// A whole chunk, with the pad byte that follows a body of odd size.
std::string Chunk(const std::string& id, const std::string& body) {
  return ChunkHeader(id, static_cast<std::uint32_t>(body.size())) + body + std::string(body.size() % 2, '\0');
}

std::string RiffWave(const std::string& chunks) {
  return "RIFF" + Le32(static_cast<std::uint32_t>(4 + chunks.size())) + "WAVE" + chunks;
}

// An RF64 or BW64 file, whose ds64 chunk, first in the list, declares
// `dataSize` bytes of samples.
std::string Riff64(const std::string& tag, std::uint64_t dataSize, const std::string& chunks) {
  return tag + Le32(0xFFFFFFFF) + "WAVE" + Chunk("ds64", Le64(0) + Le64(dataSize) + Le64(0) + Le32(0)) + chunks;
}

// The body of a plain PCM "fmt " chunk, mono at 48000 Hz.
std::string PcmFormat(std::uint16_t bits) {
  return Le16(1) + Le16(1) + Le32(kRate) + Le32(kRate * bits / 8) + Le16(bits / 8) + Le16(bits);
}

// The 40-byte body of an extensible "fmt " chunk, as current encoders write
// it: 22 extension bytes, all bits valid, the front centre speaker.
std::string ExtensibleFormat(std::uint16_t bits, const std::string& subFormat) {
  return Le16(0xFFFE) + PcmFormat(bits).substr(2) + Le16(22) + Le16(bits) + Le32(4) + subFormat;
}

std::string Samples(std::uint16_t bits, const std::vector<std::int32_t>& values) {
  std::string bytes;
  for (const std::int32_t value : values) bytes += Le32(static_cast<std::uint32_t>(value)).substr(0, bits / 8);
  return bytes;
}

// The same samples after a canonical 44-byte header that declares `dataSize`.
std::string Canonical(std::uint16_t bits, std::uint32_t dataSize, const std::string& samples) {
  return WaveHeader{.sampleRate = kRate, .bitsPerSample = bits, .dataSize = dataSize}.Bytes() + samples;
}

std::string Canonical(std::uint16_t bits, const std::string& samples) {
  return Canonical(bits, static_cast<std::uint32_t>(samples.size()), samples);
}

const std::string kSamples24 = Samples(24, {384, -100, 8388352, -8388608, 1, 129});
const std::string kSamples32 = Samples(32, {-2147483647 - 1, 2147483647, 196615, -1, 100000, -100000});
const std::string kFormat24 = Chunk("fmt ", PcmFormat(24));
const std::string kData24 = Chunk("data", kSamples24);

class WaveChunksTest : public FileTest {
 protected:
  HeaderCheck Check(const std::string& bytes) { return ReadHeader(channel_, folder_.Write("in.wav", bytes)); }

  // Converts the file as the dialogue does, from the header to the output
  // file, with a fresh dither source; returns the output file's bytes.
  std::string Convert(const std::string& bytes) {
    const std::string input = folder_.Write("in.wav", bytes);
    const HeaderCheck check = ReadHeader(channel_, input);
    EXPECT_TRUE(check.Accepted()) << check.rejection;
    const InputHeader& header = check.header;
    const Figures figures = DeriveFigures(header);
    const PackedArray samples =
        LoadSamples(channel_, input, figures.sampleCount, header.bitsPerSample, header.firstSamplePosition);
    DitherSource dither;
    const PackedArray errors = GenerateErrorSignal(samples, figures.sampleCount, header.bitsPerSample, dither);
    const std::string output = "out" + std::to_string(++conversions_) + ".wav";
    EXPECT_TRUE(WriteOutputFile(channel_, folder_.Path(output), errors, figures.sampleCount, header.channels,
                                header.sampleRate));
    return folder_.Read(output);
  }

 private:
  int conversions_ = 0;
};

// Whatever chunks stand around them, the "fmt " and "data" chunks give the
// same conversion as a canonical file of the same samples. Where a chunk is
// missing, its fields are read where a canonical file has them.
TEST_F(WaveChunksTest, EveryLayoutConvertsLikeTheCanonicalFileOfItsSamples) {
  const std::string list = Chunk("LIST", "INFOISFT" + Le32(14) + std::string("Lavf58.76.100\0", 14));
  struct Layout {
    const char* label;
    std::string file;
    std::string canonical;
  };
  const Layout layouts[] = {
      {"extensible 24-bit with fact",
       RiffWave(Chunk("fmt ", ExtensibleFormat(24, kPcmGuid)) + Chunk("fact", Le32(6)) + kData24),
       Canonical(24, kSamples24)},
      {"extensible 32-bit with fact",
       RiffWave(Chunk("fmt ", ExtensibleFormat(32, kPcmGuid)) + Chunk("fact", Le32(6)) + Chunk("data", kSamples32)),
       Canonical(32, kSamples32)},
      {"bext of 602 bytes before fmt", RiffWave(Chunk("bext", std::string(602, '\x5A')) + kFormat24 + kData24),
       Canonical(24, kSamples24)},
      {"JUNK before fmt", RiffWave(Chunk("JUNK", std::string(28, '\0')) + kFormat24 + kData24),
       Canonical(24, kSamples24)},
      {"empty chunk before fmt", RiffWave(Chunk("JUNK", "") + kFormat24 + kData24), Canonical(24, kSamples24)},
      {"a second fmt and data chunk after the first ones",
       RiffWave(kFormat24 + Chunk("fmt ", PcmFormat(32)) + kData24 + Chunk("data", kSamples32)),
       Canonical(24, kSamples24)},
      {"fmt too short to hold the resolution, then a whole one",
       RiffWave(Chunk("fmt ", PcmFormat(32).substr(0, 14)) + kFormat24 + kData24), Canonical(24, kSamples24)},
      {"LIST between fmt and data", RiffWave(kFormat24 + list + kData24), Canonical(24, kSamples24)},
      {"odd-sized chunk and its pad byte before data", RiffWave(kFormat24 + Chunk("note", "odd") + kData24),
       Canonical(24, kSamples24)},
      {"LIST after data", RiffWave(kFormat24 + kData24 + list), Canonical(24, kSamples24)},
      {"after data, a chunk running past the end", RiffWave(kFormat24 + kData24 + ChunkHeader("JUNK", 0x7FFFFFFF)),
       Canonical(24, kSamples24)},
      {"LIST, then data cut short by the end of the file",
       RiffWave(kFormat24 + list + ChunkHeader("data", 18) + kSamples24.substr(0, 8)),
       Canonical(24, kSamples24.substr(0, 8))},
      {"RF64: the ds64 size, a LIST after the data",
       Riff64("RF64", kSamples24.size(), kFormat24 + ChunkHeader("data", 0xFFFFFFFF) + kSamples24 + list),
       Canonical(24, kSamples24)},
      {"BW64: the ds64 size, a LIST after the data",
       Riff64("BW64", kSamples24.size(), kFormat24 + ChunkHeader("data", 0xFFFFFFFF) + kSamples24 + list),
       Canonical(24, kSamples24)},
      {"RF64 whose data chunk has its size: the ds64 size does not count", Riff64("RF64", 3, kFormat24 + kData24),
       Canonical(24, kSamples24)},
      {"RIFF: a ds64 chunk does not count",
       RiffWave(Chunk("ds64", Le64(0) + Le64(3)) + kFormat24 + ChunkHeader("data", 0xFFFFFFFF) + kSamples24),
       Canonical(24, kSamples24)},
      {"no data chunk, size past the end", Canonical(24, 30, kSamples24).replace(36, 4, "DATA"),
       Canonical(24, kSamples24)},
  };
  for (const Layout& layout : layouts) {
    SCOPED_TRACE(layout.label);
    EXPECT_EQ(Hex(Convert(layout.file)), Hex(Convert(layout.canonical)));
  }
}

// Only a sub-format inside the chunk's own 40 bytes counts; a shorter chunk
// followed by the PCM GUID is no PCM file.
TEST_F(WaveChunksTest, ExtensibleIsPcmOnlyWithThePcmSubFormatInItsChunk) {
  const std::string float32 = Chunk("fmt ", ExtensibleFormat(32, kFloatGuid)) + Chunk("fact", Le32(6));
  const std::string shortChunk = Chunk("fmt ", ExtensibleFormat(24, kPcmGuid).substr(0, 24)) + kPcmGuid;
  for (const std::string& chunks : {float32, shortChunk}) {
    EXPECT_EQ(Check(RiffWave(chunks + kData24)).rejection, "This is not a PCM format Wave file ") << Hex(chunks);
  }
}

// A chunk that claims more than the file holds is the last one: a data chunk
// behind it is not found, even where an odd size just below 4 GiB plus its pad
// byte would wrap round to it in 32 bits.
TEST_F(WaveChunksTest, AChunkRunningPastTheEndHidesWhatFollowsIt) {
  const HeaderCheck check = Check(RiffWave(kFormat24 + ChunkHeader("JUNK", 0xFFFFFFFF) + kData24));
  EXPECT_EQ(check.header.declaredDataSize, 0xFFFFFFFFu) << "the canonical offset 40";
  EXPECT_EQ(check.header.firstSamplePosition, 45);
}

}  // namespace
}  // namespace corvane
