// SPDX-License-Identifier: MIT
#include "io/GifFile.h"

#include "io/CaseFile.h"

#include <gif_lib.h>

#include <algorithm>
#include <array>
#include <cmath>

namespace yawmark::io {

namespace {

// Indexes 0..215: the cube, red * 36 + green * 6 + blue, each 0..5 (times 51);
// 216..255: greys between its black and white.
constexpr int kCube = 216;
constexpr int kGreys = 40;

int greyLevel(int i) { return ((i + 1) * 255 + (kGreys + 1) / 2) / (kGreys + 1); }

int square(int v) { return v * v; }

} // namespace

std::uint8_t gifIndex(std::uint32_t rgb) {
    const int r = (rgb >> 16) & 0xFF, g = (rgb >> 8) & 0xFF, b = rgb & 0xFF;
    const int cr = (r + 25) / 51, cg = (g + 25) / 51, cb = (b + 25) / 51;
    const int cubeError = square(r - cr * 51) + square(g - cg * 51) + square(b - cb * 51);
    const int mean = (r + g + b) / 3;
    const int gi = std::clamp((mean * (kGreys + 1) + 127) / 255 - 1, 0, kGreys - 1);
    const int v = greyLevel(gi);
    const int greyError = square(r - v) + square(g - v) + square(b - v);
    return static_cast<std::uint8_t>(greyError < cubeError ? kCube + gi : cr * 36 + cg * 6 + cb);
}

std::uint32_t gifColor(std::uint8_t index) {
    if (index >= kCube) {
        const std::uint32_t v = greyLevel(index - kCube);
        return 0xFF000000u | v << 16 | v << 8 | v;
    }
    return 0xFF000000u | std::uint32_t(index / 36 * 51) << 16 |
           std::uint32_t(index / 6 % 6 * 51) << 8 | std::uint32_t(index % 6 * 51);
}

double gifBytesEstimate(double frames, int width, int height) {
    return frames * double(width) * double(height);
}

int gifDelay(std::int64_t frame, int fps) {
    const auto end = [fps](std::int64_t k) { return (200 * k + fps) / (2 * fps); };
    return static_cast<int>(end(frame + 1) - end(frame));
}

GifFile::GifFile(const QString& path, std::int64_t maxBytes) : file_(path), maxBytes_(maxBytes) {}

GifFile::~GifFile() {
    // Unfinished: the temporary file goes with file_, the old one stays.
    if (gif_) EGifCloseFile(gif_, nullptr);
}

int GifFile::output(GifFileType* gif, const std::uint8_t* bytes, int count) {
    auto* self = static_cast<GifFile*>(gif->UserData);
    if (self->tooLarge_ || self->writeFailed_) return 0;
    if (self->bytes_ + count > self->maxBytes_) {
        self->tooLarge_ = true;
        return 0;
    }
    self->bytes_ += count;
    if (self->file_.write(reinterpret_cast<const char*>(bytes), count) != count) {
        self->writeFailed_ = true;
        return 0;
    }
    return count;
}

std::optional<std::string> GifFile::failure() {
    if (tooLarge_)
        return "the animation would be larger than " + std::to_string(maxBytes_ / 1'000'000) +
               " MB; a smaller size, fewer frames a second or a higher speed makes it smaller";
    if (writeFailed_) return file_.errorString().toStdString();
    return std::string("the GIF could not be written");
}

std::optional<std::string> GifFile::open(int width, int height, int fps) {
    if (auto problem = outputProblem(file_.fileName())) return problem;
    if (!file_.open(QIODevice::WriteOnly)) return file_.errorString().toStdString();
    width_ = width;
    height_ = height;
    fps_ = fps;
    int error = 0;
    gif_ = EGifOpen(this, output, &error);
    if (!gif_) return std::string(GifErrorString(error));
    EGifSetGifVersion(gif_, true);
    std::array<GifColorType, 256> colors;
    for (int i = 0; i < 256; ++i) {
        const std::uint32_t c = gifColor(static_cast<std::uint8_t>(i));
        colors[i] = {GifByteType(c >> 16), GifByteType(c >> 8), GifByteType(c)};
    }
    ColorMapObject* map = GifMakeMapObject(256, colors.data());
    const int put = EGifPutScreenDesc(gif_, width, height, 8, 0, map);
    GifFreeMapObject(map);
    // Shown over and over, as a browser would a short clip.
    static const GifByteType kLoop[] = {1, 0, 0};
    static const char kNetscape[] = "NETSCAPE2.0";
    if (put == GIF_ERROR || EGifPutExtensionLeader(gif_, APPLICATION_EXT_FUNC_CODE) == GIF_ERROR ||
        EGifPutExtensionBlock(gif_, 11, kNetscape) == GIF_ERROR ||
        EGifPutExtensionBlock(gif_, 3, kLoop) == GIF_ERROR ||
        EGifPutExtensionTrailer(gif_) == GIF_ERROR)
        return failure();
    return std::nullopt;
}

std::optional<std::string> GifFile::add(const std::uint32_t* pixels, int stride) {
    std::vector<std::uint8_t>& next = next_;
    next.resize(std::size_t(width_) * height_);
    // The plot is mostly runs of one colour: the last pixel's index serves again.
    std::uint32_t last = ~pixels[0];
    std::uint8_t index = 0;
    for (int y = 0; y < height_; ++y) {
        const std::uint32_t* row = pixels + std::ptrdiff_t(y) * stride;
        std::uint8_t* out = next.data() + std::ptrdiff_t(y) * width_;
        for (int x = 0; x < width_; ++x) {
            const std::uint32_t p = row[x] & 0xFFFFFFu;
            if (p != last) index = gifIndex(last = p);
            out[x] = index;
        }
    }
    if (frames_ > 0)
        if (auto problem = put(gifDelay(frames_ - 1, fps_))) return problem;
    pending_.swap(next);
    ++frames_;
    return std::nullopt;
}

std::optional<std::string> GifFile::put(int delay) {
    // The box around what changed since the frame on screen (all of the
    // first frame; one pixel when nothing changed), drawn over it.
    int x0 = 0, y0 = 0, x1 = width_ - 1, y1 = height_ - 1;
    if (!shown_.empty()) {
        x0 = width_, y0 = height_, x1 = -1, y1 = -1;
        for (int y = 0; y < height_; ++y) {
            const std::uint8_t* a = shown_.data() + std::ptrdiff_t(y) * width_;
            const std::uint8_t* b = pending_.data() + std::ptrdiff_t(y) * width_;
            if (std::equal(a, a + width_, b)) continue;
            int l = 0, r = width_ - 1;
            while (a[l] == b[l])
                ++l;
            while (a[r] == b[r])
                --r;
            x0 = std::min(x0, l), x1 = std::max(x1, r), y0 = std::min(y0, y), y1 = y;
        }
        if (x1 < 0) x0 = x1 = y0 = y1 = 0;
    }
    GraphicsControlBlock control{DISPOSE_DO_NOT, false, delay, NO_TRANSPARENT_COLOR};
    GifByteType extension[4];
    EGifGCBToExtension(&control, extension);
    if (EGifPutExtension(gif_, GRAPHICS_EXT_FUNC_CODE, 4, extension) == GIF_ERROR ||
        EGifPutImageDesc(gif_, x0, y0, x1 - x0 + 1, y1 - y0 + 1, false, nullptr) == GIF_ERROR)
        return failure();
    for (int y = y0; y <= y1; ++y)
        if (EGifPutLine(gif_, pending_.data() + std::ptrdiff_t(y) * width_ + x0, x1 - x0 + 1) ==
            GIF_ERROR)
            return failure();
    shown_ = pending_;
    return std::nullopt;
}

std::optional<std::string> GifFile::commit() {
    if (!gif_ || frames_ == 0) return std::string("the animation has no frames");
    if (auto problem = put(kGifHoldCentiseconds)) return problem;
    const int closed = EGifCloseFile(gif_, nullptr);
    gif_ = nullptr;
    if (closed == GIF_ERROR) return failure();
    if (!file_.commit()) return file_.errorString().toStdString();
    return std::nullopt;
}

} // namespace yawmark::io
