// The pixel work of a 4K screen capture: rebuilding the selection shade and cropping must stay well
// under a frame's worth of a user's patience; JPEG encoding through our writer is set against
// libjpeg-turbo's own cjpeg (and against the library called directly) on the same pixels.
#include <benchmark/benchmark.h>

#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <csetjmp>
#include <cstdio>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

#include <jpeglib.h>

#include "capture/CaptureRules.h"
#include "framework/BmpWriter.h"
#include "framework/JpegWriter.h"
#include "framework/PictureOps.h"

using namespace corvalend;

extern char** environ;

namespace {

constexpr int kWidth = 3840;
constexpr int kHeight = 2160;

// A desktop as screens show it: a gradient wallpaper, windows with title bars, lines of small
// dark glyph-like runs on white, and a photo-like area with fine detail.
fw::Picture ScreenLike() {
    fw::Picture picture(kWidth, kHeight);
    std::uint32_t seed = 12345;
    auto random = [&] { return seed = seed * 1664525u + 1013904223u; };
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x)
            picture.At(x, y) = 0xFF000000u | (20 + x * 60 / kWidth) << 16 | (60 + y * 80 / kHeight) << 8 | 140;
    for (int w = 0; w < 6; ++w) {
        const int left = 100 + w * 560, top = 80 + w * 260, right = std::min(left + 1400, kWidth),
                  bottom = std::min(top + 900, kHeight);
        fw::FillRect(picture, {left, top, right, bottom}, 0xFFFFFFFFu);
        fw::FillRect(picture, {left, top, right, top + 32}, w % 2 ? 0xFF2B579Au : 0xFF3C3C3Cu);
        for (int line = top + 50; line + 14 < bottom; line += 22) {
            for (int x = left + 16; x < right - 16;) {
                const int word = 3 + static_cast<int>(random() >> 28), gap = 2 + static_cast<int>(random() >> 30);
                for (int c = 0; c < word * 7 && x < right - 16; ++c, ++x)
                    for (int y = line; y < line + 12; ++y)
                        if ((random() >> 29) < 3) picture.At(x, y) = 0xFF202020u + (random() >> 28);
                x += gap * 7;
            }
        }
    }
    for (int y = 1300; y < 2100; ++y)
        for (int x = 2600; x < 3800; ++x)
            picture.At(x, y) = 0xFF000000u | ((x * 3 + y) / 9 + (random() >> 29)) % 256 << 16 |
                               ((x + y * 2) / 11 + (random() >> 29)) % 256 << 8 | (x ^ y) % 200;
    return picture;
}

const fw::Picture& Screen() {
    static const fw::Picture picture = ScreenLike();
    return picture;
}

// A large selection, as dragged with the mouse from bottom right to top left.
const SelectionBounds kSelection{{3700, 2050, -3500, -1900}, true};

void BM_ShadeRebuild(benchmark::State& state) {
    for (auto _ : state) {
        SelectionBounds s = kSelection;
        NormalizeSelection(s);
        fw::Picture shade = BuildSelectionShade(s, kWidth, kHeight);
        benchmark::DoNotOptimize(shade.pixels.data());
    }
}

void BM_CropLargeSelection(benchmark::State& state) {
    const fw::Picture& screen = Screen();
    for (auto _ : state) {
        fw::Picture cropped = fw::CopyRect(screen, GetSelectionRect(kSelection, kWidth, kHeight));
        benchmark::DoNotOptimize(cropped.pixels.data());
    }
}

void BM_PaintWithShade(benchmark::State& state) {
    const fw::Picture& screen = Screen();
    SelectionBounds s = kSelection;
    NormalizeSelection(s);
    const fw::Picture shade = BuildSelectionShade(s, kWidth, kHeight);
    std::vector<std::uint32_t> target(screen.pixels.size());
    for (auto _ : state) {
        fw::ComposeOverlay(screen, &shade, {0, 0, kWidth, kHeight}, target.data(), kWidth, 0);
        benchmark::DoNotOptimize(target.data());
    }
}

void BM_BmpEncode(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(fw::EncodeBmp(Screen()));
}

void BM_JpegEncodeOurs(benchmark::State& state) {
    size_t bytes = 0;
    for (auto _ : state) bytes = fw::EncodeJpeg(Screen()).size();
    state.counters["bytes"] = static_cast<double>(bytes);
}

// The floor: libjpeg with the same settings, fed 24-bit rows that are ready, writing to memory.
struct JumpErrors {
    jpeg_error_mgr base;
    std::jmp_buf jump;
};

size_t LibjpegDirect(const std::vector<unsigned char>& rgb) {
    jpeg_compress_struct cinfo{};
    JumpErrors errors{};
    cinfo.err = jpeg_std_error(&errors.base);
    errors.base.error_exit = [](j_common_ptr c) { std::longjmp(reinterpret_cast<JumpErrors*>(c->err)->jump, 1); };
    unsigned char* out = nullptr;
    unsigned long size = 0;
    if (setjmp(errors.jump) != 0) {
        jpeg_destroy_compress(&cinfo);
        throw std::runtime_error("libjpeg failed");
    }
    jpeg_create_compress(&cinfo);
    jpeg_mem_dest(&cinfo, &out, &size);
    cinfo.image_width = kWidth;
    cinfo.image_height = kHeight;
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, 90, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    while (cinfo.next_scanline < cinfo.image_height) {
        JSAMPROW row = const_cast<unsigned char*>(rgb.data()) + static_cast<size_t>(cinfo.next_scanline) * kWidth * 3;
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    free(out);
    return size;
}

std::vector<unsigned char> RgbRows() {
    std::vector<unsigned char> rgb;
    rgb.reserve(static_cast<size_t>(kWidth) * kHeight * 3);
    for (std::uint32_t p : Screen().pixels) {
        rgb.push_back(static_cast<unsigned char>(p >> 16));
        rgb.push_back(static_cast<unsigned char>(p >> 8));
        rgb.push_back(static_cast<unsigned char>(p));
    }
    return rgb;
}

void BM_JpegEncodeLibjpegDirect(benchmark::State& state) {
    const std::vector<unsigned char> rgb = RgbRows();
    size_t bytes = 0;
    for (auto _ : state) bytes = LibjpegDirect(rgb);
    state.counters["bytes"] = static_cast<double>(bytes);
}

// libjpeg-turbo's own program on a PPM of the same pixels, timed from start to exit.
void BM_JpegEncodeCjpeg(benchmark::State& state) {
    const std::string folder = "/tmp/corvalend-bench-" + std::to_string(getpid());
    mkdir(folder.c_str(), 0700);
    const std::string ppm = folder + "/screen.ppm", jpg = folder + "/screen.jpg";
    {
        const std::vector<unsigned char> rgb = RgbRows();
        std::ofstream out(ppm, std::ios::binary);
        out << "P6\n" << kWidth << " " << kHeight << "\n255\n";
        out.write(reinterpret_cast<const char*>(rgb.data()), static_cast<std::streamsize>(rgb.size()));
    }
    std::vector<std::string> args = {CORVALEND_CJPEG, "-quality", "90", "-outfile", jpg, ppm};
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        pid_t child = 0;
        int status = 0;
        if (posix_spawn(&child, argv[0], nullptr, nullptr, argv.data(), environ) != 0 ||
            waitpid(child, &status, 0) != child || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
            state.SkipWithError("cjpeg did not run");
            break;
        }
        state.SetIterationTime(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
    struct stat about {};
    if (stat(jpg.c_str(), &about) == 0) state.counters["bytes"] = static_cast<double>(about.st_size);
    unlink(ppm.c_str());
    unlink(jpg.c_str());
    rmdir(folder.c_str());
}

}  // namespace

BENCHMARK(BM_ShadeRebuild)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CropLargeSelection)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PaintWithShade)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BmpEncode)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_JpegEncodeOurs)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_JpegEncodeLibjpegDirect)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_JpegEncodeCjpeg)->Unit(benchmark::kMillisecond)->UseManualTime();
