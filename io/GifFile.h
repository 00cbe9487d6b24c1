// SPDX-License-Identifier: MIT
// An animated GIF written frame by frame: each frame's pixels brought to one
// fixed palette (the plot's pure colours are in it exactly: a 6x6x6 colour
// cube and a ramp of greys for the text), only the part that changed since
// the frame before stored, every frame shown for its share of the frame rate.
// The file goes to a temporary one beside it and replaces an old one only when
// the whole animation is written; one that would grow past kMaxGifBytes is
// given up while it is written, before it is ever put in place.
#pragma once

#include <QSaveFile>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

struct GifFileType;

namespace yawmark::io {

inline constexpr std::int64_t kMaxGifBytes = 200'000'000; // 200 MB
// Frame rates: GIF delays are in hundredths of a second, and viewers show a
// delay shorter than 2 of them as 10; so at most 50 frames a second.
inline constexpr int kMinGifFps = 1;
inline constexpr int kMaxGifFps = 50;
// How long the last frame stays before the animation starts again, 1/100 s.
inline constexpr int kGifHoldCentiseconds = 200;

// The bytes an animation of `frames` frames of width x height pixels is
// taken to need before it is made: one for each pixel of each frame, as its
// palette indexes are before compression. A skid's frames mostly store a
// small changed box and compress well, so the file usually comes out far
// smaller; but no closer bound is known without making it, and one that
// passes this still stops at its limit while it is written.
double gifBytesEstimate(double frames, int width, int height);

// The palette index of an 0xAARRGGBB pixel (alpha ignored), and the colour of an index.
std::uint8_t gifIndex(std::uint32_t rgb);
std::uint32_t gifColor(std::uint8_t index);

// How long frame `frame` (from 0) stays at `fps` frames a second, in 1/100 s:
// rounded so that frames 0..k together last round(100 (k + 1) / fps), so that
// the average rate is the one asked for.
int gifDelay(std::int64_t frame, int fps);

class GifFile {
public:
    // A file that may grow to maxBytes.
    explicit GifFile(const QString& path, std::int64_t maxBytes = kMaxGifBytes);
    ~GifFile();
    GifFile(const GifFile&) = delete;
    GifFile& operator=(const GifFile&) = delete;

    // Opens the temporary file for frames of width x height pixels at `fps`;
    // the reason if it cannot be.
    std::optional<std::string> open(int width, int height, int fps);
    // One frame: height rows of width 0xAARRGGBB pixels, `stride` pixels apart.
    // The reason if it cannot be written (the file would grow too large, the disk is full).
    std::optional<std::string> add(const std::uint32_t* pixels, int stride);
    // Writes the last frame and puts the file in place; the reason if that
    // fails, the old file then kept.
    std::optional<std::string> commit();
    // Frames added so far.
    std::int64_t frames() const { return frames_; }

private:
    std::optional<std::string> put(int delay);
    std::optional<std::string> failure();
    static int output(GifFileType* gif, const std::uint8_t* bytes, int count);

    QSaveFile file_;
    GifFileType* gif_ = nullptr;
    int width_ = 0, height_ = 0, fps_ = 25;
    // The frame on screen, the one to come, and the one being added.
    std::vector<std::uint8_t> shown_, pending_, next_;
    std::int64_t frames_ = 0;
    std::int64_t bytes_ = 0, maxBytes_;
    bool tooLarge_ = false, writeFailed_ = false;
};

} // namespace yawmark::io
