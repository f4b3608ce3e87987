// Test support: libjpeg's decoder and its reference encoder, to check what our writer makes.
#include "tests/support/JpegDecode.h"

#include <csetjmp>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <vector>

#include <jpeglib.h>

namespace {

struct Errors {
    jpeg_error_mgr base;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

void ErrorExit(j_common_ptr cinfo) {
    auto* errors = reinterpret_cast<Errors*>(cinfo->err);
    (*cinfo->err->format_message)(cinfo, errors->message);
    std::longjmp(errors->jump, 1);
}

bool Decode(jpeg_decompress_struct* cinfo,
            Errors* errors,
            const std::string& bytes,
            DecodedJpeg* out,
            std::vector<unsigned char>* row) {
    if (setjmp(errors->jump) != 0) return false;
    jpeg_create_decompress(cinfo);
    jpeg_mem_src(cinfo, reinterpret_cast<const unsigned char*>(bytes.data()), static_cast<unsigned long>(bytes.size()));
    jpeg_read_header(cinfo, TRUE);
    out->components = cinfo->num_components;
    out->progressive = cinfo->progressive_mode != 0;
    out->colourIsYCbCr = cinfo->jpeg_color_space == JCS_YCbCr;
    for (int t = 0; t < 2; ++t) {
        if (cinfo->quant_tbl_ptrs[t] == nullptr) continue;
        for (int i = 0; i < 64; ++i) out->quantTables[t][i] = cinfo->quant_tbl_ptrs[t]->quantval[i];
    }
    cinfo->out_color_space = JCS_RGB;
    jpeg_start_decompress(cinfo);
    out->picture = fw::Picture(static_cast<int>(cinfo->output_width), static_cast<int>(cinfo->output_height));
    row->resize(static_cast<size_t>(cinfo->output_width) * 3);
    while (cinfo->output_scanline < cinfo->output_height) {
        const int y = static_cast<int>(cinfo->output_scanline);
        JSAMPROW rows[1] = {row->data()};
        jpeg_read_scanlines(cinfo, rows, 1);
        for (int x = 0; x < out->picture.width; ++x) {
            const unsigned char* p = row->data() + x * 3;
            out->picture.At(x, y) = 0xFF000000u | (unsigned{p[0]} << 16) | (unsigned{p[1]} << 8) | p[2];
        }
    }
    jpeg_finish_decompress(cinfo);
    return true;
}

}  // namespace

DecodedJpeg DecodeJpeg(const std::string& bytes) {
    DecodedJpeg result;
    std::vector<unsigned char> row;
    jpeg_decompress_struct cinfo{};
    Errors errors{};
    cinfo.err = jpeg_std_error(&errors.base);
    errors.base.error_exit = ErrorExit;
    const bool done = Decode(&cinfo, &errors, bytes, &result, &row);
    jpeg_destroy_decompress(&cinfo);
    if (!done) throw std::runtime_error(errors.message);
    return result;
}

namespace {

bool Encode(jpeg_compress_struct* cinfo,
            Errors* errors,
            const fw::Picture& picture,
            unsigned char** out,
            unsigned long* size,
            std::vector<unsigned char>* row) {
    if (setjmp(errors->jump) != 0) return false;
    jpeg_create_compress(cinfo);
    jpeg_mem_dest(cinfo, out, size);
    cinfo->image_width = static_cast<JDIMENSION>(picture.width);
    cinfo->image_height = static_cast<JDIMENSION>(picture.height);
    cinfo->input_components = 3;
    cinfo->in_color_space = JCS_RGB;
    jpeg_set_defaults(cinfo);
    jpeg_set_quality(cinfo, 90, TRUE);
    jpeg_start_compress(cinfo, TRUE);
    row->resize(static_cast<size_t>(picture.width) * 3);
    while (cinfo->next_scanline < cinfo->image_height) {
        const std::uint32_t* in = picture.Row(static_cast<int>(cinfo->next_scanline));
        for (int x = 0; x < picture.width; ++x) {
            (*row)[x * 3] = static_cast<unsigned char>(in[x] >> 16);
            (*row)[x * 3 + 1] = static_cast<unsigned char>(in[x] >> 8);
            (*row)[x * 3 + 2] = static_cast<unsigned char>(in[x]);
        }
        JSAMPROW rows[1] = {row->data()};
        jpeg_write_scanlines(cinfo, rows, 1);
    }
    jpeg_finish_compress(cinfo);
    return true;
}

}  // namespace

std::string ReferenceJpeg(const fw::Picture& picture) {
    std::vector<unsigned char> row;
    jpeg_compress_struct cinfo{};
    Errors errors{};
    cinfo.err = jpeg_std_error(&errors.base);
    errors.base.error_exit = ErrorExit;
    unsigned char* out = nullptr;
    unsigned long size = 0;
    const bool done = Encode(&cinfo, &errors, picture, &out, &size, &row);
    jpeg_destroy_compress(&cinfo);
    std::string bytes = done ? std::string(reinterpret_cast<const char*>(out), size) : std::string();
    free(out);
    if (!done) throw std::runtime_error(errors.message);
    return bytes;
}
