#include "audio/mp3_decoder.h"

#include "mp3_fixture.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <fstream>
#include <vector>

namespace vistello::audio {
namespace {

using test::makeMp3;
using test::Mp3Spec;

// Reads the whole song and returns the number of frames delivered.
std::int64_t readAll(Mp3Decoder& decoder) {
    std::vector<std::int16_t> buffer(4096 * static_cast<std::size_t>(decoder.outputFormat().channels));
    std::int64_t total = 0;
    while (const std::size_t frames = decoder.read(buffer))
        total += static_cast<std::int64_t>(frames);
    return total;
}

struct LengthCase {
    const char* name;
    Mp3Spec format;
    bool exactSource; // the file carries a LAME/Xing header, so the tone's own length comes back
};

class Mp3LengthTest : public testing::TestWithParam<LengthCase> {};

TEST_P(Mp3LengthTest, CountedLengthMatchesDecodedFrames) {
    const LengthCase& c = GetParam();
    QTemporaryDir dir;
    const std::filesystem::path file = std::filesystem::path(dir.path().toStdString()) / "song.mp3";
    ASSERT_TRUE(makeMp3(file, c.format));

    std::string error;
    auto decoder = Mp3Decoder::open(file, {}, error);
    ASSERT_NE(decoder, nullptr) << error;
    EXPECT_EQ(decoder->sourceFormat().sampleRate, c.format.sampleRate);
    EXPECT_EQ(decoder->sourceFormat().channels, c.format.channels);
    EXPECT_EQ(decoder->fileSize(), static_cast<std::int64_t>(std::filesystem::file_size(file)));
    if (c.exactSource) {
        EXPECT_EQ(decoder->lengthFrames(), c.format.frames);
    }
    EXPECT_EQ(readAll(*decoder), decoder->lengthFrames());
    EXPECT_EQ(decoder->filePosition(), decoder->fileSize());
    EXPECT_NEAR(decoder->lengthSeconds(), static_cast<double>(decoder->lengthFrames()) / c.format.sampleRate,
                1e-9);
}

const LengthCase kLengthCases[] = {
    {"cbr_44k_stereo", {44100, 2, 110250}, true},
    {"cbr_48k_stereo", {48000, 2, 100001}, true},
    {"cbr_22k_mono", {22050, 1, 33333, {"-c:a", "libmp3lame", "-b:a", "32k"}}, true},
    {"vbr_44k_stereo", {44100, 2, 90000, {"-c:a", "libmp3lame", "-q:a", "4"}}, true},
    {"vbr_without_xing", {44100, 2, 90000, {"-c:a", "libmp3lame", "-q:a", "4", "-write_xing", "0"}}, false},
    {"id3v2_in_front",
     {44100,
      2,
      50000,
      {"-c:a", "libmp3lame", "-b:a", "128k", "-id3v2_version", "3", "-metadata", "title=tone"}},
     true},
    {"shine_encoder", {44100, 2, 60000, {"-c:a", "libshine", "-b:a", "128k"}}, false},
};

INSTANTIATE_TEST_SUITE_P(Encodings, Mp3LengthTest, testing::ValuesIn(kLengthCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Mp3Decoder, ConvertsToTheRequestedFormat) {
    QTemporaryDir dir;
    const std::filesystem::path file = std::filesystem::path(dir.path().toStdString()) / "mono.mp3";
    ASSERT_TRUE(makeMp3(file, {22050, 1, 22050, {"-c:a", "libmp3lame", "-b:a", "32k"}}));
    std::string error;
    auto decoder = Mp3Decoder::open(file, {44100, 2}, error);
    ASSERT_NE(decoder, nullptr) << error;
    EXPECT_EQ(decoder->outputFormat().sampleRate, 44100);
    EXPECT_EQ(decoder->outputFormat().channels, 2);
    EXPECT_NEAR(static_cast<double>(readAll(*decoder)), 44100.0, 64.0);
}

TEST(Mp3Decoder, SeekContinuesFromTheTarget) {
    QTemporaryDir dir;
    const std::filesystem::path file = std::filesystem::path(dir.path().toStdString()) / "song.mp3";
    ASSERT_TRUE(makeMp3(file, {44100, 2, 441000}));
    std::string error;
    auto decoder = Mp3Decoder::open(file, {}, error);
    ASSERT_NE(decoder, nullptr) << error;
    const std::int64_t length = decoder->lengthFrames();

    ASSERT_TRUE(decoder->seek(length / 2));
    EXPECT_NEAR(static_cast<double>(readAll(*decoder)), static_cast<double>(length - length / 2), 1152.0);

    ASSERT_TRUE(decoder->seek(0));
    EXPECT_LT(decoder->filePosition(), decoder->fileSize());
    EXPECT_EQ(readAll(*decoder), length);
}

TEST(Mp3Decoder, RefusesFilesThatAreNoSong) {
    QTemporaryDir dir;
    const std::filesystem::path root(dir.path().toStdString());
    {
        std::ofstream(root / "noise.mp3") << "this is not an mp3 file at all";
        std::ofstream(root / "empty.mp3");
    }
    for (const char* name : {"noise.mp3", "empty.mp3", "missing.mp3"}) {
        std::string error;
        EXPECT_EQ(Mp3Decoder::open(root / name, {}, error), nullptr) << name;
        EXPECT_NE(error.find(name), std::string::npos) << error;
    }
}

} // namespace
} // namespace vistello::audio
