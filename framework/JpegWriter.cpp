// Compresses a picture to JPEG in memory through libjpeg, its errors turned into our exception.
#include "framework/JpegWriter.h"

#include <algorithm>
#include <csetjmp>
#include <cstdint>
#include <cstdio>
#include <vector>

#include <jpeglib.h>

#include "framework/Error.h"
#include "framework/Text.h"

namespace fw {

namespace {

// libjpeg's errors end in longjmp back to EncodeJpeg's frame, never in exit(); unwinding a C++
// exception through libjpeg's C frames is not safe.
struct ErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

void ErrorExit(j_common_ptr cinfo) {
    auto* errors = reinterpret_cast<ErrorManager*>(cinfo->err);
    (*cinfo->err->format_message)(cinfo, errors->message);
    std::longjmp(errors->jump, 1);
}

void IgnoreMessage(j_common_ptr) {}  // warnings are not printed to the console

// Output into a growing string.
struct StringDestination {
    jpeg_destination_mgr base;
    std::string* bytes;
};

constexpr size_t kFirstBlock = 64 * 1024;

void InitDestination(j_compress_ptr cinfo) {
    auto* dest = reinterpret_cast<StringDestination*>(cinfo->dest);
    // Screen content at quality 90 takes about two bits a pixel: mostly one block, at most a doubling.
    dest->bytes->resize(
        std::max<size_t>(kFirstBlock, static_cast<size_t>(cinfo->image_width) * cinfo->image_height / 4));
    dest->base.next_output_byte = reinterpret_cast<JOCTET*>(dest->bytes->data());
    dest->base.free_in_buffer = dest->bytes->size();
}

boolean EmptyOutputBuffer(j_compress_ptr cinfo) {
    // Called when the whole buffer is full: double it and go on behind the old end.
    auto* dest = reinterpret_cast<StringDestination*>(cinfo->dest);
    const size_t used = dest->bytes->size();
    dest->bytes->resize(used * 2);
    dest->base.next_output_byte = reinterpret_cast<JOCTET*>(dest->bytes->data() + used);
    dest->base.free_in_buffer = dest->bytes->size() - used;
    return TRUE;
}

void TermDestination(j_compress_ptr cinfo) {
    auto* dest = reinterpret_cast<StringDestination*>(cinfo->dest);
    dest->bytes->resize(dest->bytes->size() - dest->base.free_in_buffer);
}

constexpr int kRowsPerBatch = 16;

#ifdef JCS_EXTENSIONS
// libjpeg-turbo takes the colour bytes of our pixels (blue, green, red, unused) as they are and
// converts them to YCbCr exactly as it would 24-bit RGB rows: the same file, without a copy.
constexpr J_COLOR_SPACE kInputSpace = JCS_EXT_BGRX;
constexpr int kInputComponents = 4;
#else
constexpr J_COLOR_SPACE kInputSpace = JCS_RGB;
constexpr int kInputComponents = 3;
#endif

// Points the rows at the picture's pixels, or at their 24-bit RGB copies in rgb.
void PrepareRows(const Picture& picture, int first, int count, JSAMPROW* rows, [[maybe_unused]] std::uint8_t* rgb) {
    for (int i = 0; i < count; ++i) {
#ifdef JCS_EXTENSIONS
        rows[i] = reinterpret_cast<JSAMPROW>(const_cast<std::uint32_t*>(picture.Row(first + i)));  // only read
#else
        const std::uint32_t* in = picture.Row(first + i);
        std::uint8_t* out = rgb + static_cast<size_t>(i) * static_cast<size_t>(picture.width) * 3;
        rows[i] = out;
        for (int x = 0; x < picture.width; ++x) {
            const std::uint32_t argb = in[x];
            out[0] = static_cast<std::uint8_t>(argb >> 16);
            out[1] = static_cast<std::uint8_t>(argb >> 8);
            out[2] = static_cast<std::uint8_t>(argb);
            out += 3;
        }
#endif
    }
}

// Runs the compression; on a libjpeg error returns false with the message in errors.message. No
// object with a destructor lives in this frame, so the longjmp skips nothing that needs cleaning up.
bool Compress(jpeg_compress_struct* cinfo,
              ErrorManager* errors,
              StringDestination* dest,
              const Picture& picture,
              std::uint8_t* rgb) {
    if (setjmp(errors->jump) != 0) return false;
    jpeg_create_compress(cinfo);
    cinfo->dest = &dest->base;
    cinfo->image_width = static_cast<JDIMENSION>(picture.width);
    cinfo->image_height = static_cast<JDIMENSION>(picture.height);
    cinfo->input_components = kInputComponents;
    cinfo->in_color_space = kInputSpace;
    jpeg_set_defaults(cinfo);  // YCbCr, standard Huffman tables, one sequential scan
    jpeg_set_quality(cinfo, kJpegQuality, /*force_baseline=*/TRUE);
    jpeg_start_compress(cinfo, TRUE);
    JSAMPROW rows[kRowsPerBatch];
    while (cinfo->next_scanline < cinfo->image_height) {
        const int first = static_cast<int>(cinfo->next_scanline);
        const int count = std::min(kRowsPerBatch, picture.height - first);
        PrepareRows(picture, first, count, rows, rgb);
        jpeg_write_scanlines(cinfo, rows, static_cast<JDIMENSION>(count));
    }
    jpeg_finish_compress(cinfo);
    return true;
}

}  // namespace

std::string EncodeJpeg(const Picture& picture) {
    std::string bytes;
#ifdef JCS_EXTENSIONS
    std::vector<std::uint8_t> rgb;
#else
    std::vector<std::uint8_t> rgb(static_cast<size_t>(picture.width) * 3 * kRowsPerBatch);
#endif
    jpeg_compress_struct cinfo{};
    ErrorManager errors{};
    cinfo.err = jpeg_std_error(&errors.base);
    errors.base.error_exit = ErrorExit;
    errors.base.output_message = IgnoreMessage;
    StringDestination dest{};
    dest.base.init_destination = InitDestination;
    dest.base.empty_output_buffer = EmptyOutputBuffer;
    dest.base.term_destination = TermDestination;
    dest.bytes = &bytes;

    const bool done = Compress(&cinfo, &errors, &dest, picture, rgb.data());
    jpeg_destroy_compress(&cinfo);
    if (!done) throw Error(u"JPEG error: " + Utf8ToUtf16(errors.message));
    return bytes;
}

}  // namespace fw
