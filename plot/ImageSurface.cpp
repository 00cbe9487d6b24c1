// SPDX-License-Identifier: MIT
#include "plot/ImageSurface.h"

#include "sim/NumberText.h"

#include <QPen>

#include <algorithm>
#include <cmath>

namespace yawmark::plot {

namespace {

const QColor kForeground(Qt::black);
const QColor kBackground(Qt::white);

QRgb toRgb(Color c) {
    return qRgb(static_cast<int>(c & 0xFFu), static_cast<int>((c >> 8) & 0xFFu),
                static_cast<int>((c >> 16) & 0xFFu));
}

QColor toQColor(Color c) {
    return QColor(toRgb(c));
}

// Clips the segment to the rectangle (Liang-Barsky); false if nothing is left.
// Keeps a far-away point from reaching the rasteriser as a huge coordinate.
bool clipSegment(QPointF& a, QPointF& b, const QRectF& r) {
    const double dx = b.x() - a.x(), dy = b.y() - a.y();
    double t0 = 0, t1 = 1;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {a.x() - r.left(), r.right() - a.x(), a.y() - r.top(), r.bottom() - a.y()};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0) {
            if (q[i] < 0) return false;
            continue;
        }
        const double t = q[i] / p[i];
        if (p[i] < 0)
            t0 = std::max(t0, t);
        else
            t1 = std::min(t1, t);
        if (t0 > t1) return false;
    }
    const QPointF a0 = a;
    a = QPointF(a0.x() + t0 * dx, a0.y() + t0 * dy);
    b = QPointF(a0.x() + t1 * dx, a0.y() + t1 * dy);
    return true;
}

bool finite(const QPointF& p) {
    return std::isfinite(p.x()) && std::isfinite(p.y());
}

// r |= b for rectangles known to be normalized, without QRectF's general cases:
// this runs for every primitive.
void unite(QRectF& r, const QRectF& b) {
    if (r.isEmpty()) {
        r = b;
        return;
    }
    const double x0 = std::min(r.left(), b.left()), y0 = std::min(r.top(), b.top());
    const double x1 = std::max(r.right(), b.right()), y1 = std::max(r.bottom(), b.bottom());
    r.setCoords(x0, y0, x1, y1);
}

} // namespace

ImageSurface::ImageSurface() : metrics_(QFont()) {
    layer_.reserve(16);
    updateFont();
    resize(QSize(1, 1), 1.0);
}

ImageSurface::~ImageSurface() {
    if (vector_) finishVector();
    endImagePainter();
}

void ImageSurface::resize(QSize logicalSize, qreal devicePixelRatio) {
    logicalSize = logicalSize.expandedTo(QSize(1, 1));
    if (!(devicePixelRatio > 0)) devicePixelRatio = 1.0;
    const QSize deviceSize(static_cast<int>(std::ceil(logicalSize.width() * devicePixelRatio)),
                           static_cast<int>(std::ceil(logicalSize.height() * devicePixelRatio)));
    if (!image_.isNull() && image_.size() == deviceSize && dpr_ == devicePixelRatio) {
        logicalSize_ = logicalSize;
        return;
    }
    endImagePainter();
    dots_ = {};
    QImage grown(deviceSize, QImage::Format_RGB32);
    grown.fill(kBackground);
    if (!image_.isNull()) {
        QPainter p(&grown);
        p.drawImage(0, 0, image_);
    }
    image_ = std::move(grown);
    image_.setDevicePixelRatio(devicePixelRatio);

    // The same user units per device-independent pixel as before.
    const double ratio = devicePixelRatio / dpr_;
    kx_ *= ratio;
    ky_ *= ratio;
    const bool dprChanged = dpr_ != devicePixelRatio;
    dpr_ = devicePixelRatio;
    logicalSize_ = logicalSize;
    if (dprChanged) {
        updateFont();
        layer_.clear();
        layerBounds_ = QRectF();
    }
    touch(QRectF(QPointF(0, 0), QSizeF(deviceSize)));
}

void ImageSurface::setChangeHandler(std::function<void(bool now)> handler) {
    onChange_ = std::move(handler);
    if (onChange_ && changePending_) onChange_(false);
}

QRect ImageSurface::takeChangedRect() {
    changePending_ = false;
    if (changed_.isEmpty()) return {};
    // One pixel more on every side: wide pens and rounding reach a little past
    // the bounds. Cut to the drawing area while still in floating point: a
    // line far outside it (a view zoomed far out) would not fit an int.
    const QRectF area(QPointF(0, 0), QSizeF(logicalSize_));
    const QRectF logical =
        QRectF(changed_.topLeft() / dpr_, changed_.bottomRight() / dpr_).adjusted(-1, -1, 1, 1) &
        area;
    changed_ = QRectF();
    return logical.toAlignedRect() & QRect(QPoint(0, 0), logicalSize_);
}

void ImageSurface::paint(QPainter& painter, const QRect& logicalRect, bool withScreenLayer) {
    endImagePainter();
    painter.drawImage(
        logicalRect, image_,
        QRectF(QPointF(logicalRect.topLeft()) * dpr_, QSizeF(logicalRect.size()) * dpr_));
    if (!withScreenLayer) {
        // Repainted from the persistent image: the screen-only drawing is gone
        // here. Its bounds stay known so that the next drawing clears what may
        // still show of it elsewhere.
        layer_.clear();
        layerClosed_ = true;
    }
    if (layer_.empty()) return;
    painter.save();
    painter.setClipRect(logicalRect);
    painter.scale(1.0 / dpr_, 1.0 / dpr_);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setFont(font_);
    for (const Mark& m : layer_)
        paintMark(painter, m, false);
    painter.restore();
}

const QImage& ImageSurface::image() {
    endImagePainter();
    return image_;
}

QImage ImageSurface::composed() {
    endImagePainter();
    QImage out = image_.copy();
    out.setDevicePixelRatio(1.0);
    QPainter p(&out);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setFont(font_);
    for (const Mark& m : layer_)
        paintMark(p, m, false);
    return out;
}

QPointF ImageSurface::toDevice(double x, double y) const {
    return {(x - originX_) * kx_, (y - originY_) * ky_};
}

QPointF ImageSurface::toWorld(QPointF logical) const {
    return {originX_ + logical.x() * dpr_ / kx_, originY_ + logical.y() * dpr_ / ky_};
}

void ImageSurface::setVectorTarget(QPaintDevice* device) {
    endImagePainter();
    vector_ = device;
}

bool ImageSurface::finishVector() {
    if (!vector_) return false;
    QPainter& p = imagePainter();
    for (const Mark& m : layer_)
        paintMark(p, m, false);
    const bool ok = painter_.end();
    vector_ = nullptr;
    return ok;
}

void ImageSurface::picture(const QImage& picture, const QTransform& toWorld, double opacity) {
    QPainter& p = imagePainter();
    p.save();
    p.setOpacity(opacity);
    p.setRenderHint(QPainter::SmoothPixmapTransform, true);
    // World units to device pixels: d = (u - origin) * k.
    p.setTransform(toWorld * QTransform(kx_, 0, 0, ky_, -originX_ * kx_, -originY_ * ky_), true);
    p.drawImage(QPointF(0, 0), picture);
    p.restore();
    cachedPenWidth_ = -1;
    dots_ = {};
    touch(QRectF(QPointF(0, 0), QSizeF(image_.size())));
}

void ImageSurface::clear() {
    endImagePainter();
    image_.fill(kBackground);
    if (vector_) imagePainter().fillRect(QRectF(QPointF(0, 0), QSizeF(image_.size())), kBackground);
    dots_ = {};
    layer_.clear();
    layerClosed_ = true;
    layerBounds_ = QRectF();
    touch(QRectF(QPointF(0, 0), QSizeF(image_.size())));
}

void ImageSurface::setWorldRect(double x1, double y1, double x2, double y2) {
    const double kx = image_.width() / (x2 - x1);
    const double ky = image_.height() / (y2 - y1);
    // A mapping without extent or beyond the numbers is refused; the old one stays.
    if (!std::isfinite(x1) || !std::isfinite(y1) || !std::isfinite(kx) || !std::isfinite(ky) ||
        kx == 0 || ky == 0)
        return;
    originX_ = x1;
    originY_ = y1;
    kx_ = kx;
    ky_ = ky;
}

void ImageSurface::line(double x1, double y1, double x2, double y2, Color color) {
    drawSegment(color, x1, y1, x2, y2);
}

void ImageSurface::dot(double x, double y, Color color) {
    drawDot(color, x, y);
}

void ImageSurface::setPenWidth(int pixels) {
    penWidth_ = std::clamp(pixels, 1, 1000);
}

void ImageSurface::setPersistent(bool on) {
    if (persistent_ && !on) layerClosed_ = true;
    persistent_ = on;
}

void ImageSurface::label(double x, double y, double value) {
    text(x, y, (value >= 0 ? " " : "") + formatNumber(value) + " ");
}

void ImageSurface::text(double x, double y, std::string_view shown) {
    std::string text(shown);
    const QPointF at = toDevice(x, y);
    if (!finite(at) || std::abs(at.x()) > 1e6 || std::abs(at.y()) > 1e6) return;
    const QRectF bounds(
        at, QSizeF(metrics_.horizontalAdvance(QString::fromStdString(text)), metrics_.height()));
    addBeneath(Mark{Mark::Text, bounds.topLeft(), bounds.bottomRight(), kForeground.rgb(), 0,
                    std::move(text)});
}

void ImageSurface::legend(std::span<const LegendEntry> entries) {
    // Top right, a margin in from the corner: a swatch of each colour and its
    // name, a name too long for half the image cut short with an ellipsis.
    const double u = dpr_, line = metrics_.height(), pad = 6 * u, swatch = 18 * u;
    const double widest = std::max(image_.width() / 2.0 - 3 * pad - swatch, 4 * line);
    std::vector<std::string> names;
    double textWidth = 0;
    for (const LegendEntry& e : entries) {
        const QString name = metrics_.elidedText(
            QString::fromUtf8(e.name.data(), static_cast<qsizetype>(e.name.size())),
            Qt::ElideRight, widest);
        names.push_back(name.toStdString());
        textWidth = std::max(textWidth, metrics_.horizontalAdvance(name));
    }
    const double w = pad + swatch + pad + textWidth + pad;
    const double h = pad + line * static_cast<double>(entries.size()) + pad;
    const QPointF topLeft(image_.width() - 8 * u - w, 8 * u);
    const QPointF bottomRight = topLeft + QPointF(w, h);
    addBeneath(Mark{Mark::Fill, topLeft, bottomRight, kBackground.rgb(), 0, {}});
    const int border = std::max(1, static_cast<int>(std::lround(u)));
    const QPointF tr(bottomRight.x(), topLeft.y()), bl(topLeft.x(), bottomRight.y());
    for (const auto& [a, b] :
         {std::pair{topLeft, tr}, {tr, bottomRight}, {bottomRight, bl}, {bl, topLeft}})
        addBeneath(Mark{Mark::Segment, a, b, QColor(Qt::gray).rgb(), border, {}});
    double y = topLeft.y() + pad;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const LegendEntry& e = entries[i];
        const double mid = std::round(y + line / 2);
        addBeneath(Mark{Mark::Segment,
                        QPointF(topLeft.x() + pad, mid),
                        QPointF(topLeft.x() + pad + swatch, mid),
                        toQColor(e.color).rgb(),
                        std::max(1, static_cast<int>(std::lround(3 * u))),
                        {}});
        const QPointF at(topLeft.x() + pad + swatch + pad, y);
        addBeneath(Mark{Mark::Text, at, at + QPointF(textWidth, line), kForeground.rgb(), 0,
                        std::move(names[i])});
        y += line;
    }
}

void ImageSurface::addBeneath(const Mark& mark) {
    QRectF bounds = QRectF(mark.a, mark.b).normalized();
    bounds.adjust(-mark.width, -mark.width, mark.width, mark.width);
    QPainter& p = imagePainter();
    if (mark.kind == Mark::Text) // the text's own background
        paintMark(p, Mark{Mark::Fill, mark.a, mark.b, kBackground.rgb(), 0, {}}, true);
    paintMark(p, mark, true);
    cachedPenWidth_ = -1; // the pen is the mark's now
    forgetDotsUnder(bounds);
    touch(bounds);
}

double ImageSurface::textWidth(std::string_view text) const {
    const QString s = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    return metrics_.horizontalAdvance(s) / kx_;
}

double ImageSurface::textHeight() const {
    return metrics_.height() / ky_;
}

void ImageSurface::flush() {
    endImagePainter();
    if (onChange_ && !changed_.isEmpty()) onChange_(true);
}

void ImageSurface::drawSegment(Color color, double x1, double y1, double x2, double y2) {
    QPointF a = toDevice(x1, y1), b = toDevice(x2, y2);
    if (!finite(a) || !finite(b)) return;
    const int w = deviceWidth();
    const QRectF area = QRectF(QPointF(0, 0), QSizeF(image_.size())).adjusted(-w, -w, w, w);
    if (!area.contains(a) || !area.contains(b))
        if (!clipSegment(a, b, area) || !finite(a) || !finite(b)) return;
    const QRectF bounds = QRectF(a, b).normalized().adjusted(-w, -w, w, w);
    if (persistent_) {
        QPainter& p = imagePainter();
        forgetDotsUnder(bounds);
        const QColor c = toQColor(color);
        if (cachedPenWidth_ != w || penColor_ != c) {
            p.setPen(QPen(QBrush(c), w, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
            penColor_ = c;
            cachedPenWidth_ = w;
        }
        p.drawLine(a, b);
    } else {
        beginScreenMark();
        layer_.push_back(Mark{Mark::Segment, a, b, toQColor(color).rgb(), w, {}});
        unite(layerBounds_, bounds);
    }
    touch(bounds);
}

void ImageSurface::drawDot(Color color, double x, double y) {
    const QPointF at = toDevice(x, y);
    const int w = deviceWidth();
    // Off the drawing area (or not a number): nothing to show.
    if (!(at.x() > -w && at.x() < image_.width() + w && at.y() > -w &&
          at.y() < image_.height() + w))
        return;
    const QRectF bounds(std::floor(at.x() - w / 2.0 + 0.5), std::floor(at.y() - w / 2.0 + 0.5), w,
                        w);
    if (persistent_) {
        const QRgb rgb = toRgb(color);
        const QRect rect = bounds.toRect();
        if (dotAlreadyThere(rect, rgb)) return;
        imagePainter().fillRect(rect, QColor(rgb));
    } else {
        beginScreenMark();
        layer_.push_back(
            Mark{Mark::Dot, bounds.topLeft(), bounds.topLeft(), toQColor(color).rgb(), w, {}});
        unite(layerBounds_, bounds);
    }
    touch(bounds);
}

void ImageSurface::paintMark(QPainter& p, const Mark& m, bool) {
    switch (m.kind) {
    case Mark::Segment:
        p.setPen(
            QPen(QBrush(QColor(m.color)), m.width, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
        p.drawLine(m.a, m.b);
        break;
    case Mark::Dot:
        p.fillRect(QRect(m.a.toPoint(), QSize(m.width, m.width)), QColor(m.color));
        break;
    case Mark::Text:
        p.setPen(QColor(m.color));
        p.drawText(QPointF(m.a.x(), m.a.y() + metrics_.ascent()), QString::fromStdString(m.text));
        break;
    case Mark::Fill:
        p.fillRect(QRectF(m.a, m.b), QColor(m.color));
        break;
    }
}

bool ImageSurface::dotAlreadyThere(const QRect& rect, QRgb color) {
    DotMemo* same = nullptr;
    for (DotMemo& d : dots_) {
        if (!d.used) continue;
        if (d.color == color) {
            if (d.rect == rect) return true;
            same = &d;
        } else if (d.rect.intersects(rect)) {
            d.used = false; // about to be drawn over
        }
    }
    if (!same) {
        same = &dots_[nextDot_];
        nextDot_ = (nextDot_ + 1) % dots_.size();
    }
    *same = DotMemo{rect, color, true};
    return false;
}

void ImageSurface::forgetDotsUnder(const QRectF& deviceBounds) {
    for (DotMemo& d : dots_)
        if (d.used && QRectF(d.rect).intersects(deviceBounds)) d.used = false;
}

QPainter& ImageSurface::imagePainter() {
    if (!painter_.isActive()) {
        painter_.begin(vector_ ? vector_ : &image_);
        // Work in device pixels: the image's pixel ratio is for showing it only.
        painter_.resetTransform();
        if (!vector_) painter_.scale(1.0 / dpr_, 1.0 / dpr_);
        painter_.setRenderHint(QPainter::Antialiasing, false);
        painter_.setFont(font_);
        cachedPenWidth_ = -1;
    }
    return painter_;
}

void ImageSurface::endImagePainter() {
    // A vector target is one document: its painter ends once, in finishVector().
    if (painter_.isActive() && !vector_) painter_.end();
}

void ImageSurface::beginScreenMark() {
    if (!layerClosed_) return;
    // A new screen-only drawing replaces the last one: repaint where that one lay.
    layerClosed_ = false;
    layer_.clear();
    if (!layerBounds_.isEmpty()) touch(layerBounds_);
    layerBounds_ = QRectF();
}

void ImageSurface::touch(const QRectF& deviceBounds) {
    unite(changed_, deviceBounds);
    if (!changePending_) {
        changePending_ = true;
        if (onChange_) onChange_(false);
    }
}

void ImageSurface::updateFont() {
    font_ = QFont(QStringLiteral("DejaVu Sans"));
    font_.setPixelSize(std::max(1, static_cast<int>(std::lround(kFontPixels * dpr_))));
    font_.setStyleHint(QFont::SansSerif);
    metrics_ = QFontMetricsF(font_);
    if (painter_.isActive()) painter_.setFont(font_);
}

int ImageSurface::deviceWidth() const {
    return std::max(1, static_cast<int>(std::lround(penWidth_ * dpr_)));
}

} // namespace yawmark::plot
