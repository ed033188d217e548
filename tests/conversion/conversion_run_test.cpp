// One whole conversion through real files, header to output, as the dialogue
// runs it.
#include <string>
#include <vector>

#include "conversion/dither_source.hpp"
#include "conversion/error_signal.hpp"
#include "conversion/input_header.hpp"
#include "conversion/output_writer.hpp"
#include "conversion/sample_loader.hpp"
#include "file_test.hpp"
#include "support/wave_bytes.hpp"

namespace corvane {
namespace {

std::string Cells24(const std::vector<std::int32_t>& values) {
  std::string bytes;
  for (std::int32_t value : values) bytes += Le32(static_cast<std::uint32_t>(value)).substr(0, 3);
  return bytes;
}

std::string Samples16(const std::vector<std::int16_t>& values) {
  std::string bytes;
  for (std::int16_t value : values) bytes += Le16(static_cast<std::uint16_t>(value));
  return bytes;
}

const std::vector<std::int32_t> kTenSamples = {384, 100, -100, 8388352, -8388608, 0, 1, 127, 128, 129};
const std::vector<std::int16_t> kTenOutputs = {8000, -6250, 6250, 0, 0, 1, -63, -7937, -8000, 7938};

class ConversionRunTest : public FileTest {
 protected:
  void Convert(const std::string& inputName, const std::string& outputName) {
    const HeaderCheck check = ReadHeader(channel_, inputName);
    ASSERT_TRUE(check.Accepted()) << check.rejection;
    const Figures figures = DeriveFigures(check.header);
    ASSERT_EQ(figures.sampleCount, 10);
    PackedArray samples = LoadSamples(channel_, inputName, figures.sampleCount, check.header.bitsPerSample);
    DitherSource dither;
    PackedArray errors = GenerateErrorSignal(samples, figures.sampleCount, check.header.bitsPerSample, dither);
    ReleaseArray(samples);
    WriteOutputFile(channel_, outputName, errors, figures.sampleCount, check.header.channels,
                    check.header.sampleRate);
    ReleaseArray(errors);
    EXPECT_EQ(TakeErrorNumber(), 0);
  }
};

TEST_F(ConversionRunTest, TenSample24BitFileGivesTheKnownOutputFile) {
  const std::string input = folder_.Write("in.wav", WaveHeader{.riffSize = 66, .dataSize = 30}.Bytes() +
                                                        Cells24(kTenSamples));
  Convert(input, folder_.Path("out.wav"));
  EXPECT_EQ(Hex(folder_.Read("out.wav")), Hex(OutputHeader(56, 44100, 88200, 20) + Samples16(kTenOutputs)));
}

// Writing over the input replaces its first 64 bytes and keeps the rest.
TEST_F(ConversionRunTest, OutputOverTheInputKeepsTheInputsTail) {
  const std::string original = WaveHeader{.riffSize = 66, .dataSize = 30}.Bytes() + Cells24(kTenSamples);
  const std::string input = folder_.Write("in.wav", original);
  Convert(input, input);
  const std::string file = folder_.Read("in.wav");
  EXPECT_EQ(Hex(file), Hex(OutputHeader(56, 44100, 88200, 20) + Samples16(kTenOutputs) + original.substr(64)));
}

}  // namespace
}  // namespace corvane
