#include "media/jpeg_codec.h"

#include "media/exif_orientation.h"
#include "media/picture_scale.h"

#include <algorithm>
#include <condition_variable>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

#include <jpeglib.h>

namespace vistello::media {

namespace {

// libjpeg reports a fatal error by calling error_exit, which must not return; it jumps back
// to the setjmp of the call that started the work. Warnings (corrupt data that libjpeg can
// step over) are neither printed nor fatal.
struct JpegErrors {
    jpeg_error_mgr manager{};
    std::jmp_buf jump{};

    JpegErrors() {
        jpeg_std_error(&manager);
        manager.error_exit = [](j_common_ptr info) {
            std::longjmp(reinterpret_cast<JpegErrors*>(info->err)->jump, 1);
        };
        manager.output_message = [](j_common_ptr) {};
    }
};

// Everything one decoding touches lives here, on the heap and created before setjmp, so
// that nothing the jump passes over needs destroying and nothing changes its address.
struct DecodeJob {
    JpegErrors errors;
    jpeg_decompress_struct info{};
    bool created = false;
    QImage image;
    int orientation = 1; // read before finishing, which frees the saved markers
    std::vector<JSAMPLE> cmykRow;

    ~DecodeJob() {
        if (created)
            jpeg_destroy_decompress(&info);
    }
};

struct EncodeJob {
    JpegErrors errors;
    jpeg_compress_struct info{};
    bool created = false;
    unsigned char* buffer = nullptr; // libjpeg's growing output buffer, released with free()
    unsigned long size = 0;

    ~EncodeJob() {
        if (created)
            jpeg_destroy_compress(&info);
        std::free(buffer);
    }
};

// Adobe writes CMYK with inverted values (0 = full ink); others write plain values.
void cmykRowToBgr(const JSAMPLE* cmyk, std::uint8_t* bgr, int width, bool inverted) {
    for (int x = 0; x < width; ++x, cmyk += 4, bgr += 3) {
        int c = cmyk[0], m = cmyk[1], y = cmyk[2], k = cmyk[3];
        if (!inverted) {
            c = 255 - c, m = 255 - m, y = 255 - y, k = 255 - k;
        }
        bgr[0] = static_cast<std::uint8_t>(y * k / 255);
        bgr[1] = static_cast<std::uint8_t>(m * k / 255);
        bgr[2] = static_cast<std::uint8_t>(c * k / 255);
    }
}

constexpr long kLargestCoefficientMemory = 512L * 1024 * 1024;

// A picture longer than kLargestKeptSide is decoded by libjpeg's scaled IDCT at the largest
// of the scales 1/8 .. 7/8 that fits, so a huge panorama never exists at full size in memory.
void decodeHugeAtReducedScale(jpeg_decompress_struct& info) {
    const auto longSide = std::max(info.image_width, info.image_height);
    if (longSide > static_cast<JDIMENSION>(kLargestKeptSide)) {
        info.scale_denom = 8;
        info.scale_num = std::clamp<unsigned>(8u * kLargestKeptSide / longSide, 1u, 7u);
    }
    jpeg_calc_output_dimensions(&info);
}

int orientationOf(const jpeg_decompress_struct& info) {
    for (jpeg_saved_marker_ptr marker = info.marker_list; marker; marker = marker->next)
        if (marker->marker == JPEG_APP0 + 1) {
            const int orientation = exifOrientation(marker->data, marker->data_length);
            if (orientation != 1)
                return orientation;
        }
    return 1;
}

// Rows passed from the decoding thread to the encoding thread: the decoder publishes how
// many rows of the picture are complete; the encoder waits for rows it has not yet taken.
class RowHandOff {
  public:
    void publish(int rows) {
        {
            const std::lock_guard lock(mutex_);
            rowsReady_ = rows;
        }
        changed_.notify_one();
    }
    void fail() {
        {
            const std::lock_guard lock(mutex_);
            failed_ = true;
        }
        changed_.notify_one();
    }
    // The number of complete rows once it exceeds `taken`, or -1 when decoding failed.
    int waitBeyond(int taken) {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [&] { return failed_ || rowsReady_ > taken; });
        return failed_ ? -1 : rowsReady_;
    }

  private:
    std::mutex mutex_;
    std::condition_variable changed_;
    int rowsReady_ = 0;
    bool failed_ = false;
};

// Called by the decoder once the picture is allocated; false stops the decoding.
struct DecodeStart {
    virtual ~DecodeStart() = default;
    virtual bool started(DecodeJob& job) = 0;
};

bool decodeInto(DecodeJob& job, QByteArrayView bytes, qint64 maxPixels, DecodeStart* start = nullptr,
                RowHandOff* handOff = nullptr) {
    jpeg_decompress_struct& info = job.info;
    info.err = &job.errors.manager;
    if (setjmp(job.errors.jump)) {
        if (handOff)
            handOff->fail();
        return false;
    }
    jpeg_create_decompress(&info);
    job.created = true;
    jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(bytes.data()),
                 static_cast<unsigned long>(bytes.size()));
    jpeg_save_markers(&info, JPEG_APP0 + 1, 0xFFFF);
    if (jpeg_read_header(&info, TRUE) != JPEG_HEADER_OK)
        return false;
    const bool cmyk = info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK;
    info.out_color_space = cmyk ? JCS_CMYK : JCS_EXT_BGR;
    decodeHugeAtReducedScale(info);
    if (qint64{info.output_width} * info.output_height > maxPixels)
        return false;
    // A progressive picture keeps all its coefficients until the last scan; past this
    // libjpeg stops with an error instead of taking gigabytes.
    info.mem->max_memory_to_use = kLargestCoefficientMemory;
    jpeg_start_decompress(&info);
    const auto width = static_cast<int>(info.output_width);
    job.image = QImage(width, static_cast<int>(info.output_height), QImage::Format_BGR888);
    if (job.image.isNull())
        return false;
    job.orientation = orientationOf(info);
    if (start && !start->started(job))
        return false;
    if (cmyk)
        job.cmykRow.resize(std::size_t(width) * 4);
    while (info.output_scanline < info.output_height) {
        const auto y = static_cast<int>(info.output_scanline);
        if (cmyk) {
            JSAMPROW row = job.cmykRow.data();
            jpeg_read_scanlines(&info, &row, 1);
            cmykRowToBgr(row, job.image.scanLine(y), width, info.saw_Adobe_marker);
        } else {
            // Hand libjpeg up to 16 rows at once so it can fill a whole iMCU row per call.
            JSAMPROW rows[16];
            const int count = std::min<int>(16, static_cast<int>(info.output_height) - y);
            for (int i = 0; i < count; ++i)
                rows[i] = job.image.scanLine(y + i);
            jpeg_read_scanlines(&info, rows, static_cast<JDIMENSION>(count));
        }
        if (handOff)
            handOff->publish(static_cast<int>(info.output_scanline));
    }
    jpeg_finish_decompress(&info);
    return true;
}

bool encodeInto(EncodeJob& job, const QImage& image, int quality, RowHandOff* handOff = nullptr) {
    jpeg_compress_struct& info = job.info;
    info.err = &job.errors.manager;
    if (setjmp(job.errors.jump))
        return false;
    jpeg_create_compress(&info);
    job.created = true;
    jpeg_mem_dest(&info, &job.buffer, &job.size);
    info.image_width = static_cast<JDIMENSION>(image.width());
    info.image_height = static_cast<JDIMENSION>(image.height());
    info.input_components = 3;
    info.in_color_space = JCS_EXT_BGR;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality, TRUE);
    jpeg_start_compress(&info, TRUE);
    int ready = handOff ? 0 : image.height();
    while (info.next_scanline < info.image_height) {
        JSAMPROW rows[16];
        const int y = static_cast<int>(info.next_scanline);
        if (handOff && y >= ready && (ready = handOff->waitBeyond(y)) < 0)
            return false;
        const int count = std::min<int>(16, ready - y);
        for (int i = 0; i < count; ++i)
            rows[i] = const_cast<JSAMPROW>(image.constScanLine(y + i));
        jpeg_write_scanlines(&info, rows, static_cast<JDIMENSION>(count));
    }
    jpeg_finish_compress(&info);
    return true;
}

// Starts the encoding thread once the decoder has allocated the picture.
class EncoderThread final : public DecodeStart {
  public:
    EncoderThread(EncodeJob& encode, RowHandOff& handOff, int quality)
        : encode_(encode), handOff_(handOff), quality_(quality) {}
    ~EncoderThread() override { finish(); }

    bool started(DecodeJob& job) override {
        if (job.orientation != 1)
            return false; // a turned picture needs all its rows before the first can be encoded
        try {
            thread_ =
                std::thread([this, &job] { encoded_ = encodeInto(encode_, job.image, quality_, &handOff_); });
        } catch (const std::system_error&) {
            return false;
        }
        return true;
    }
    // Waits for the encoder; true when it wrote the whole picture.
    bool finish() {
        if (thread_.joinable())
            thread_.join();
        return encoded_;
    }

  private:
    EncodeJob& encode_;
    RowHandOff& handOff_;
    int quality_;
    std::thread thread_;
    bool encoded_ = false;
};

} // namespace

std::optional<QByteArray> transcodeJpeg(QByteArrayView bytes, int quality, qint64 maxPixels) {
    if (bytes.isEmpty())
        return std::nullopt;
    auto decode = std::make_unique<DecodeJob>();
    auto encode = std::make_unique<EncodeJob>();
    RowHandOff handOff;
    EncoderThread encoder(*encode, handOff, quality);
    const bool decoded = decodeInto(*decode, bytes, maxPixels, &encoder, &handOff);
    if (!decoded)
        handOff.fail();
    if (!encoder.finish() || !decoded)
        return std::nullopt;
    return QByteArray(reinterpret_cast<const char*>(encode->buffer), static_cast<qsizetype>(encode->size));
}

QImage decodeJpeg(QByteArrayView bytes, qint64 maxPixels) {
    if (bytes.isEmpty())
        return {};
    auto job = std::make_unique<DecodeJob>();
    if (!decodeInto(*job, bytes, maxPixels))
        return {};
    return applyExifOrientation(job->image, job->orientation);
}

QByteArray encodeJpeg(const QImage& image, int quality) {
    if (image.isNull())
        return {};
    const QImage bgr =
        image.format() == QImage::Format_BGR888 ? image : image.convertToFormat(QImage::Format_BGR888);
    auto job = std::make_unique<EncodeJob>();
    if (!encodeInto(*job, bgr, quality))
        return {};
    return QByteArray(reinterpret_cast<const char*>(job->buffer), static_cast<qsizetype>(job->size));
}

} // namespace vistello::media
