// Wave files as the conversion reads and writes them: the header checks, the
// sample count, the chunk walk and the samples loaded, and the output file.

#include <cstring>
#include <tuple>

#include "conversion/input_header.hpp"
#include "conversion/output_writer.hpp"
#include "conversion/sample_loader.hpp"
#include "support/faulty_file_service.hpp"
#include "support/file_test.hpp"
#include "support/wave_bytes.hpp"

namespace corvane {
namespace {

using namespace std::string_literals;

const std::string kPcmGuid("\x01\x00\x00\x00\x00\x00\x10\x00\x80\x00\x00\xAA\x00\x38\x9B\x71", 16);

// A whole chunk, with the pad byte that follows a body of odd size.
std::string Chunk(const std::string& id, const std::string& body) {
  return id + Le32(static_cast<std::uint32_t>(body.size())) + body + std::string(body.size() % 2, '\0');
}

std::string RiffWave(const std::string& chunks) { return "RIFF" + Le32(4 + chunks.size()) + "WAVE" + chunks; }

// An RF64 or BW64 file whose ds64 chunk, first in the list, declares `dataSize` bytes of samples.
std::string Riff64(const std::string& tag, std::uint64_t dataSize, const std::string& chunks) {
  return tag + Le32(0xFFFFFFFF) + "WAVE" + Chunk("ds64", Le64(0) + Le64(dataSize) + Le64(0) + Le32(0)) + chunks;
}

// The body of a plain PCM "fmt " chunk, mono at 48000 Hz.
std::string PcmFormat(std::uint16_t bits) {
  return Le16(1) + Le16(1) + Le32(48000) + Le32(6000 * bits) + Le16(bits / 8) + Le16(bits);
}

// The 40-byte body of an extensible "fmt " chunk, as current encoders write
// it: 22 extension bytes, all bits valid, the front centre speaker.
std::string ExtensibleFormat(std::uint16_t bits, const std::string& subFormat) {
  return Le16(0xFFFE) + PcmFormat(bits).substr(2) + Le16(22) + Le16(bits) + Le32(4) + subFormat;
}

// 24-bit samples 384, -8388608, 8388607 and -1, lowest byte first.
const std::string kSamples24("\x80\x01\x00\x00\x00\x80\xFF\xFF\x7F\xFF\xFF\xFF", 12);
const std::vector<std::int32_t> kValues24 = {384, -8388608, 8388607, -1};
const std::string kFormat24 = Chunk("fmt ", PcmFormat(24)), kData24 = Chunk("data", kSamples24);

class WaveFileTest : public FileTestOver<FaultyFileService> {
 protected:
  HeaderCheck Check(const std::string& bytes) { return ReadHeader(channel_, folder_.Write("in.wav", bytes)); }
};

// The four checks run in order on whatever was read, short files included;
// an empty message means the file is accepted. Nothing but the form tag,
// format code (with an extensible chunk's sub-format), low channel byte and
// resolution is looked at. "wave": a lower-case form tag where every later
// check fails too; "ext 24 B": an extensible chunk of 24 bytes, the PCM
// sub-format only after it.
TEST_F(WaveFileTest, TheFirstFailingCheckNamesTheRejection) {
  constexpr std::string_view kNotWave = "This is not a Wave file ", kNotPcm = "This is not a PCM format Wave file ";
  const std::string canonical = WaveHeader{}.Bytes();
  const std::tuple<const char*, std::string, std::string_view> cases[] = {
      // label, file, rejection
      {"11 bytes", canonical.substr(0, 11), kNotWave},
      {"12 bytes ending in WAVE: empty format code", canonical.substr(0, 12), kNotPcm},
      {"wave", WaveHeader{.formTag = "wave", .formatCode = 2, .channels = 2, .bitsPerSample = 8}.Bytes(), kNotWave},
      {"not PCM, stereo, 16 bits", WaveHeader{.formatCode = 2, .channels = 2, .bitsPerSample = 16}.Bytes(), kNotPcm},
      {"ext. float", RiffWave(Chunk("fmt ", ExtensibleFormat(32, "\x03"s + kPcmGuid.substr(1))) + kData24), kNotPcm},
      {"ext 24 B", RiffWave(Chunk("fmt ", ExtensibleFormat(24, kPcmGuid).substr(0, 24)) + kPcmGuid + kData24), kNotPcm},
      {"stereo 16 bits", WaveHeader{.channels = 2, .bitsPerSample = 16}.Bytes(), "This is not a mono Wave file "},
      {"16 bits", WaveHeader{.bitsPerSample = 16}.Bytes(), "This is not a 24- or 32-bit Wave file "},
      {"unchecked", WaveHeader{.riffTag = "RIFX", .fmtTag = "junk", .blockAlign = 7, .dataTag = "LIST"}.Bytes(), ""},
  };
  for (const auto& [label, bytes, rejection] : cases) {
    EXPECT_EQ(Check(bytes).rejection, rejection) << label;
    EXPECT_FALSE(channel_.IsOpen()) << label;
  }
  EXPECT_EQ(ReadHeader(channel_, folder_.Path("gone.wav")).rejection, kNotWave) << "a file gone since its open test";
  EXPECT_FALSE(folder_.Exists("gone.wav")) << "and not made anew";
}

// The data size is the declared one, an unsigned byte count whatever its top
// bit, but no more than the file holds after the header: zeros, written up to
// 4 KiB; beyond that the file only says it is that long.
TEST_F(WaveFileTest, SampleCountIsTheDataSizeTheFileHoldsOverTheSampleWidthRoundedToEven) {
  // Label, header, bytes the file holds after the header, sample count.
  const std::tuple<const char*, WaveHeader, std::uint64_t, std::int64_t> cases[] = {
      {"24-bit, 10 bytes up to the end: 3.33", {.dataSize = 10}, 10, 3},
      {"24-bit, 11 bytes: 3.67", {.dataSize = 11}, 11, 4},
      {"32-bit, 6 bytes: 1.5", {.bitsPerSample = 32, .dataSize = 6}, 6, 2},
      {"32-bit, 10 bytes: 2.5", {.bitsPerSample = 32, .dataSize = 10}, 10, 2},
      {"channel field 0x0101 is mono", {.channels = 0x0101, .dataSize = 30}, 30, 10},
      {"declared size inside the file", {.dataSize = 27}, 30, 9},
      {"declared size past the end", {.dataSize = 30}, 27, 9},
      {"last sample cut after one byte: 9.33", {.dataSize = 30}, 28, 9},
      {"last sample cut after two bytes: 9.67", {.dataSize = 30}, 29, 10},
      {"32-bit, 2 GiB", {.bitsPerSample = 32, .dataSize = 0x80000000u}, 0x80000000u, 536870912},
  };
  for (const auto& [label, header, held, sampleCount] : cases) {
    service_.phantomBytes = held - std::min<std::uint64_t>(held, 4096);
    const HeaderCheck check = Check(header.Bytes() + std::string(held - service_.phantomBytes, '\0'));
    EXPECT_TRUE(check.Accepted()) << label << check.rejection;
    EXPECT_EQ(DeriveFigures(check.header).sampleCount, sampleCount) << label;
  }
}

// Whatever chunks stand around them (ds64, fact, LIST, ...), the samples come
// from the first whole "fmt " and "data" chunks, loaded as the dialogue loads
// them: 24-bit cells with their sign, 32-bit samples as they stand, and of a
// sample cut by the end of the file the bytes it holds.
TEST_F(WaveFileTest, EveryLayoutLoadsTheSamplesOfItsDataChunk) {
  const std::string list = Chunk("LIST", "INFOISFT" + Le32(14) + std::string("Lavf58.76.100\0", 14));
  const std::string data64 = "data" + Le32(0xFFFFFFFF) + kSamples24;  // RF64's data chunk leaves its size to ds64
  const std::tuple<const char*, std::string, std::vector<std::int32_t>> layouts[] = {
      // label, file, samples
      {"ext. 24-bit, fact", RiffWave(Chunk("fmt ", ExtensibleFormat(24, kPcmGuid)) + Chunk("fact", Le32(4)) + kData24),
       kValues24},
      {"ext. 32-bit, extremes",
       RiffWave(Chunk("fmt ", ExtensibleFormat(32, kPcmGuid)) + Chunk("data", Le32(0x80000000) + Le32(0x7FFFFFFF))),
       {-2147483647 - 1, 2147483647}},
      {"second fmt and data", RiffWave(kFormat24 + Chunk("fmt ", PcmFormat(32)) + kData24 + Chunk("data", Le32(7))),
       kValues24},
      {"short fmt", RiffWave(Chunk("fmt ", PcmFormat(32).substr(0, 14)) + kFormat24 + kData24), kValues24},
      {"odd chunk, data cut",
       RiffWave(kFormat24 + Chunk("note", "odd") + "data" + Le32(12) + kSamples24.substr(0, 11)),
       {384, -8388608, 8388607, 0xFFFF}},
      {"RF64, LIST after the data", Riff64("RF64", 12, kFormat24 + data64 + list), kValues24},
      {"BW64, LIST after the data", Riff64("BW64", 12, kFormat24 + data64 + list), kValues24},
      {"RF64, data chunk sized: ds64 size unused", Riff64("RF64", 3, kFormat24 + kData24), kValues24},
      {"RIFF: ds64 unused", RiffWave(Chunk("ds64", Le64(0) + Le64(3)) + kFormat24 + data64), kValues24},
  };
  for (const auto& [label, file, samples] : layouts) {
    const HeaderCheck check = Check(file);
    EXPECT_TRUE(check.Accepted()) << label << check.rejection;
    const PackedArray loaded = LoadSamples(channel_, folder_.Path("in.wav"), DeriveFigures(check.header).sampleCount,
                                           check.header.bitsPerSample, check.header.firstSamplePosition);
    std::vector<std::int32_t> values;
    for (std::int32_t i = 0; i < loaded.Count(); ++i) values.push_back(DecodeInt32(CellBytes(loaded, i)));
    EXPECT_EQ(values, samples) << label;
  }
  // A chunk that claims more than the file holds is the last one: a data chunk behind it is not found, even where an
  // odd size just below 4 GiB plus its pad byte would wrap round to it in 32 bits. The canonical data fields stand.
  const HeaderCheck check = Check(RiffWave(kFormat24 + "JUNK" + Le32(0xFFFFFFFF) + kData24));
  EXPECT_EQ(check.header.declaredDataSize, 0xFFFFFFFFu) << "at offset 40";
  EXPECT_EQ(check.header.firstSamplePosition, 45);
}

// Errors counting up from -8001, one per sample.
PackedArray ErrorBuffer(std::int32_t count) {
  PackedArray errors;
  CreateArray(errors, count, 2);
  for (std::int32_t i = 0; i < count; ++i) std::memcpy(errors.Storage() + 2 * i, EncodeInt16(i - 8001).data(), 2);
  return errors;
}

// The file is overwritten in place, never truncated: what lies beyond the new
// content stays, while the header speaks only of the new samples. A write
// that fails must not leave behind a truncated WAV file that the user never
// had; a file that was there before stays, at its full length.
TEST_F(WaveFileTest, OutputOverwritesInPlaceAndAFailedWriteRemovesOnlyAFileItCreated) {
  const std::string old(20100, '\xAA');
  EXPECT_TRUE(WriteOutputFile(channel_, folder_.Write("out.wav", old), ErrorBuffer(10000), 10000, 1, 44100));
  EXPECT_EQ(TakeErrorNumber(), 0);
  const std::string file = folder_.Read("out.wav");
  EXPECT_EQ(file.substr(0, 48), OutputHeader(20036, 44100, 88200, 20000) + "\xBF\xE0\xC0\xE0"s);  // -8001, -8000
  EXPECT_EQ(file.substr(20040), "\xCD\x07\xCE\x07"s + old.substr(20044));  // 1997, 1998, then the old tail
  for (const bool existed : {false, true}) {
    SCOPED_TRACE(existed ? "existed" : "created");
    if (existed) folder_.Write("new.wav", std::string(3000, '\xAA'));
    service_.writeRoom = 100;
    EXPECT_FALSE(WriteOutputFile(channel_, folder_.Path("new.wav"), ErrorBuffer(1000), 1000, 1, 44100));
    EXPECT_EQ(TakeErrorNumber(), 61);
    EXPECT_FALSE(channel_.IsOpen());
    EXPECT_EQ(folder_.Read("new.wav").size(), existed ? 3000u : 0u);
    EXPECT_EQ(folder_.Exists("new.wav"), existed);
  }
}

}  // namespace
}  // namespace corvane
