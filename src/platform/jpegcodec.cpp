#include "platform/jpegcodec.h"

#include <QIODevice>
#include <QLoggingCategory>
#include <QString>
#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <mutex>
#include <jpeglib.h>
#include <jerror.h>

namespace platform {

namespace {

Q_LOGGING_CATEGORY(lcJpeg, "musetra.platform.jpeg")

// Decoded pictures beyond this many pixels are refused before any memory is taken for them: a
// hostile header could otherwise ask for gigabytes.
constexpr quint64 kMaxPixels = 64ull * 1024 * 1024;
// The frame header libjpeg decodes may claim at most this many pixels (10,000 x 10,000), even
// when the picture comes out reduced: every one of them is still decoded.
constexpr quint64 kMaxSourcePixels = 100ull * 1000 * 1000;
// libjpeg's own working memory (above all the coefficient buffers of progressive and multi-scan
// pictures, which are full size whatever the output scale: about 3 bytes a pixel) may not grow
// beyond this. libjpeg keeps no backing store, so a picture that needs more (a progressive one
// beyond about 20 megapixels) is refused instead.
constexpr long kMaxDecoderMemory = 64L * 1024 * 1024;

// Decodes that keep the coefficients of the whole picture run one at a time, so covers decoded side
// by side never take that memory more than once.
std::mutex wholePictureDecodes;

// libjpeg's default error handler ends the process. Ours jumps back to the function that
// started the work, which then reports the failure by its result.
struct ErrorManager
{
    jpeg_error_mgr pub;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
    bool dataEndedEarly; // a scan's data stopped before its last row; libjpeg filled in grey
};

[[noreturn]] void errorExit(j_common_ptr cinfo)
{
    auto* manager = reinterpret_cast<ErrorManager*>(cinfo->err);
    (*cinfo->err->format_message)(cinfo, manager->message);
    std::longjmp(manager->jump, 1);
}

// Warnings (such as a truncated file, which libjpeg pads with grey) go to our log, not to stderr.
void outputMessage(j_common_ptr cinfo)
{
    char text[JMSG_LENGTH_MAX];
    (*cinfo->err->format_message)(cinfo, text);
    qCDebug(lcJpeg, "%s", text);
}

// Warnings are logged once per picture; the one that says a scan's data ran out is remembered,
// because libjpeg pads such a picture with grey and calls it a success. Other warnings (stray
// bytes between segments, a missing end-of-image marker) leave a whole picture.
void emitMessage(j_common_ptr cinfo, int level)
{
    if (level >= 0) return; // trace messages
    auto* manager = reinterpret_cast<ErrorManager*>(cinfo->err);
    if (cinfo->err->msg_code == JWRN_HIT_MARKER) manager->dataEndedEarly = true;
    if (cinfo->err->num_warnings++ == 0) outputMessage(cinfo);
}

void installErrorManager(ErrorManager& manager)
{
    jpeg_std_error(&manager.pub);
    manager.pub.error_exit = errorExit;
    manager.pub.output_message = outputMessage;
    manager.pub.emit_message = emitMessage;
    manager.message[0] = '\0';
    manager.dataEndedEarly = false;
}

// A libjpeg data source that reads an open file a piece at a time, no further than a byte limit.
struct FileSource
{
    static constexpr qint64 kPiece = 64 * 1024;
    jpeg_source_mgr pub;
    QIODevice* file = nullptr;
    qint64 left = 0;       // bytes the limit still allows
    bool tooLarge = false; // the file holds more than the limit
    JOCTET piece[kPiece];
    JOCTET endMarker[2] = {0xFF, JPEG_EOI};
};

void initFileSource(j_decompress_ptr) {}

void termFileSource(j_decompress_ptr) {}

// The next piece; at the end of the file (or of the limit) an end-of-image marker with a warning,
// as libjpeg's own sources do, so a truncated file is padded and then refused by the caller.
boolean fillFromFile(j_decompress_ptr cinfo)
{
    auto* source = reinterpret_cast<FileSource*>(cinfo->src);
    const qint64 got = source->left > 0 ? source->file->read(reinterpret_cast<char*>(source->piece),
                                                             std::min(FileSource::kPiece, source->left))
                                        : 0;
    if (got > 0) {
        source->left -= got;
        source->pub.next_input_byte = source->piece;
        source->pub.bytes_in_buffer = size_t(got);
        return TRUE;
    }
    if (source->left <= 0 && !source->file->atEnd()) source->tooLarge = true;
    WARNMS(cinfo, JWRN_JPEG_EOF);
    source->pub.next_input_byte = source->endMarker;
    source->pub.bytes_in_buffer = sizeof source->endMarker;
    return TRUE;
}

void skipInFile(j_decompress_ptr cinfo, long count)
{
    auto* source = reinterpret_cast<FileSource*>(cinfo->src);
    while (count > long(source->pub.bytes_in_buffer)) {
        count -= long(source->pub.bytes_in_buffer);
        (void)fillFromFile(cinfo);
    }
    if (count <= 0) return;
    source->pub.next_input_byte += count;
    source->pub.bytes_in_buffer -= size_t(count);
}

void attachFileSource(jpeg_decompress_struct& cinfo, FileSource& source)
{
    source.pub.init_source = initFileSource;
    source.pub.fill_input_buffer = fillFromFile;
    source.pub.skip_input_data = skipInFile;
    source.pub.resync_to_restart = jpeg_resync_to_restart;
    source.pub.term_source = termFileSource;
    source.pub.next_input_byte = nullptr;
    source.pub.bytes_in_buffer = 0;
    cinfo.src = &source.pub;
}

// Everything one decode needs lives here, outside the frame that calls setjmp, so that the
// jump back never skips a destructor.
struct DecodeJob
{
    const QByteArray* data = nullptr; // the data, or
    FileSource* file = nullptr;       // the file it is read from
    QSize atLeast;
    QImage::Format format = QImage::Format_RGB888; // or Format_RGB32
    QImage* image = nullptr;
    jpeg_decompress_struct cinfo;
    ErrorManager errors;
    JSAMPLE* cmykRow = nullptr;    // one row of ink values for CMYK files
    const char* failure = nullptr; // set for refusals that are not libjpeg errors
};

void attachSource(DecodeJob* job)
{
    if (job->file) {
        attachFileSource(job->cinfo, *job->file);
        return;
    }
    jpeg_mem_src(&job->cinfo, reinterpret_cast<const unsigned char*>(job->data->constData()),
                 static_cast<unsigned long>(job->data->size()));
}

// The scale n/8 of a DCT-scaled decode (n = 8 is full size).
unsigned int scaleFor(const jpeg_decompress_struct& cinfo, QSize atLeast)
{
    if (!atLeast.isValid() || atLeast.isEmpty()) return 8;
    for (unsigned int n = 1; n < 8; ++n) {
        const quint64 w = (quint64(cinfo.image_width) * n + 7) / 8;
        const quint64 h = (quint64(cinfo.image_height) * n + 7) / 8;
        if (w >= quint64(atLeast.width()) && h >= quint64(atLeast.height())) return n;
    }
    return 8;
}

// libjpeg's colour space that lays pixels out as `format` does in memory.
J_COLOR_SPACE colourSpaceOf(QImage::Format format)
{
    if (format == QImage::Format_RGB888) return JCS_RGB;
    // Format_RGB32 holds 0xffRRGGBB words: B, G, R, X in memory on a little-endian machine.
    return Q_BYTE_ORDER == Q_LITTLE_ENDIAN ? JCS_EXT_BGRX : JCS_EXT_XRGB;
}

// Adobe CMYK and YCCK files store inverted ink values; libjpeg hands them over as CMYK.
void cmykRowToRgb(const JSAMPLE* cmyk, uchar* line, JDIMENSION width, bool inverted, QImage::Format format)
{
    for (JDIMENSION x = 0; x < width; ++x) {
        int c = cmyk[4 * x], m = cmyk[4 * x + 1], y = cmyk[4 * x + 2], k = cmyk[4 * x + 3];
        if (!inverted) {
            c = 255 - c;
            m = 255 - m;
            y = 255 - y;
            k = 255 - k;
        }
        const uchar r = uchar(c * k / 255), g = uchar(m * k / 255), b = uchar(y * k / 255);
        if (format == QImage::Format_RGB888) {
            line[3 * x] = r;
            line[3 * x + 1] = g;
            line[3 * x + 2] = b;
        } else {
            reinterpret_cast<QRgb*>(line)[x] = qRgb(r, g, b);
        }
    }
}

// Makes the target picture; false when the frame header libjpeg will decode claims too many
// pixels, or the result is too large or cannot be allocated.
bool allocateImage(DecodeJob* job)
{
    const jpeg_decompress_struct& cinfo = job->cinfo;
    const quint64 source = quint64(cinfo.image_width) * cinfo.image_height;
    const quint64 pixels = quint64(cinfo.output_width) * cinfo.output_height;
    if (pixels == 0 || pixels > kMaxPixels || source > kMaxSourcePixels) {
        job->failure = "picture size out of range";
        return false;
    }
    *job->image = QImage(int(job->cinfo.output_width), int(job->cinfo.output_height), job->format);
    if (job->image->isNull()) {
        job->failure = "out of memory";
        return false;
    }
    return true;
}

bool readRows(DecodeJob* job)
{
    jpeg_decompress_struct& cinfo = job->cinfo;
    JSAMPLE* cmykRow = job->cmykRow;
    const bool inverted = cinfo.saw_Adobe_marker;
    while (cinfo.output_scanline < cinfo.output_height) {
        uchar* line = job->image->scanLine(int(cinfo.output_scanline));
        JSAMPROW row = cmykRow ? cmykRow : line;
        if (jpeg_read_scanlines(&cinfo, &row, 1) != 1) return false;
        if (cmykRow) cmykRowToRgb(cmykRow, line, cinfo.output_width, inverted, job->format);
    }
    return true;
}

// The decoding frame that calls setjmp: it holds nothing with a destructor.
bool runDecode(DecodeJob* job)
{
    job->cinfo.err = &job->errors.pub;
    installErrorManager(job->errors);
    if (setjmp(job->errors.jump)) {
        std::free(job->cmykRow);
        job->cmykRow = nullptr;
        jpeg_destroy_decompress(&job->cinfo);
        return false;
    }
    jpeg_create_decompress(&job->cinfo);
    job->cinfo.mem->max_memory_to_use = kMaxDecoderMemory;
    attachSource(job);
    jpeg_read_header(&job->cinfo, TRUE);
    const bool cmyk = job->cinfo.jpeg_color_space == JCS_CMYK || job->cinfo.jpeg_color_space == JCS_YCCK;
    job->cinfo.out_color_space = cmyk ? JCS_CMYK : colourSpaceOf(job->format);
    job->cinfo.scale_num = scaleFor(job->cinfo, job->atLeast);
    job->cinfo.scale_denom = 8;
    jpeg_calc_output_dimensions(&job->cinfo);
    bool ok = allocateImage(job);
    if (ok) {
        jpeg_start_decompress(&job->cinfo);
        if (cmyk) job->cmykRow = static_cast<JSAMPLE*>(std::malloc(size_t(job->cinfo.output_width) * 4));
        ok = (!cmyk || job->cmykRow) && readRows(job);
        if (ok) jpeg_finish_decompress(&job->cinfo);
        if (ok && job->errors.dataEndedEarly) {
            job->failure = "image data ends before the last row";
            ok = false;
        }
    }
    std::free(job->cmykRow);
    job->cmykRow = nullptr;
    jpeg_destroy_decompress(&job->cinfo);
    return ok;
}

// True when `job`'s data is a progressive or multi-scan file, whose decoding keeps the coefficients
// of the whole picture; false too for data libjpeg refuses. It calls setjmp, holding nothing with a
// destructor.
bool keepsWholePicture(DecodeJob* job)
{
    job->cinfo.err = &job->errors.pub;
    installErrorManager(job->errors);
    if (setjmp(job->errors.jump)) {
        jpeg_destroy_decompress(&job->cinfo);
        return false;
    }
    jpeg_create_decompress(&job->cinfo);
    attachSource(job);
    jpeg_read_header(&job->cinfo, TRUE);
    const bool whole = jpeg_has_multiple_scans(&job->cinfo);
    jpeg_destroy_decompress(&job->cinfo);
    return whole;
}

struct EncodeJob
{
    const QImage* image = nullptr; // Format_RGB888
    int quality = 75;
    jpeg_compress_struct cinfo;
    ErrorManager errors;
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
};

bool runEncode(EncodeJob* job)
{
    job->cinfo.err = &job->errors.pub;
    installErrorManager(job->errors);
    if (setjmp(job->errors.jump)) {
        jpeg_destroy_compress(&job->cinfo);
        return false;
    }
    jpeg_create_compress(&job->cinfo);
    jpeg_mem_dest(&job->cinfo, &job->buffer, &job->size);
    job->cinfo.image_width = JDIMENSION(job->image->width());
    job->cinfo.image_height = JDIMENSION(job->image->height());
    job->cinfo.input_components = 3;
    job->cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&job->cinfo);
    jpeg_set_quality(&job->cinfo, job->quality, TRUE);
    jpeg_start_compress(&job->cinfo, TRUE);
    while (job->cinfo.next_scanline < job->cinfo.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(job->image->constScanLine(int(job->cinfo.next_scanline)));
        jpeg_write_scanlines(&job->cinfo, &row, 1);
    }
    jpeg_finish_compress(&job->cinfo);
    jpeg_destroy_compress(&job->cinfo);
    return true;
}

} // namespace

namespace {

// Where a decode reads the JPEG from: `data`, or `file` from its position `start` on, no more than
// `maxBytes` of it.
struct Input
{
    const QByteArray* data = nullptr;
    QIODevice* file = nullptr;
    qint64 start = 0;
    qint64 maxBytes = 0;
};

bool startsAsJpeg(const QByteArray& head)
{
    return head.size() >= 4 && uchar(head[0]) == 0xFF && uchar(head[1]) == 0xD8;
}

// A job over `input` from its beginning.
std::unique_ptr<DecodeJob> jobOver(const Input& input, FileSource* source)
{
    auto job = std::make_unique<DecodeJob>();
    job->data = input.data;
    if (source) {
        source->file = input.file;
        source->left = input.maxBytes;
        source->tooLarge = false;
        if (!input.file->seek(input.start)) return nullptr;
        job->file = source;
    }
    return job;
}

bool decode(const Input& input, QImage& out, QSize atLeast, QString* error, QImage::Format format)
{
    Q_ASSERT(format == QImage::Format_RGB888 || format == QImage::Format_RGB32);
    const auto refuse = [error](const QString& why) {
        if (error) *error = why;
        return false;
    };
    if (!startsAsJpeg(input.data ? *input.data : input.file->peek(4)))
        return refuse(QStringLiteral("not a JPEG file"));
    if (input.file && input.file->size() - input.start > input.maxBytes)
        return refuse(QStringLiteral("file beyond the size limit"));
    const auto source = input.file ? std::make_unique<FileSource>() : nullptr;
    auto job = jobOver(input, source.get());
    std::unique_lock oneAtATime(wholePictureDecodes, std::defer_lock);
    if (job && keepsWholePicture(job.get())) oneAtATime.lock();
    job = job ? jobOver(input, source.get()) : nullptr;
    if (!job) return refuse(QStringLiteral("cannot read the file"));
    QImage image;
    job->atLeast = atLeast;
    job->format = format;
    job->image = &image;
    if (!runDecode(job.get()))
        return refuse(job->failure ? QString::fromLatin1(job->failure)
                                   : QString::fromLocal8Bit(job->errors.message));
    if (source && source->tooLarge) return refuse(QStringLiteral("file beyond the size limit"));
    out = image;
    return true;
}

} // namespace

bool decodeJpeg(const QByteArray& data, QImage& out, QSize atLeast, QString* error, QImage::Format format)
{
    return decode(Input{&data}, out, atLeast, error, format);
}

bool decodeJpegFile(QIODevice& file, qint64 maxBytes, QImage& out, QSize atLeast, QString* error)
{
    return decode(Input{nullptr, &file, file.pos(), maxBytes}, out, atLeast, error, QImage::Format_RGB888);
}

QByteArray encodeJpeg(const QImage& image, int quality)
{
    if (image.isNull()) return {};
    const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
    auto job = std::make_unique<EncodeJob>();
    job->image = &rgb;
    job->quality = std::clamp(quality, 1, 100);
    const bool ok = runEncode(job.get());
    QByteArray result;
    if (ok && job->buffer)
        result = QByteArray(reinterpret_cast<const char*>(job->buffer), qsizetype(job->size));
    std::free(job->buffer);
    return result;
}

} // namespace platform
