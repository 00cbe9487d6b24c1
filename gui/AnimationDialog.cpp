// SPDX-License-Identifier: MIT
#include "gui/AnimationDialog.h"

#include "gui/DesignForm.h"
#include "gui/PlotController.h"
#include "gui/Prompts.h"
#include "gui/RunController.h"
#include "gui/WorkerProgress.h"
#include "io/GifFile.h"
#include "model/Text.h"
#include "plot/Animation.h"

#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <cstdint>

namespace yawmark {

namespace {

QString quoted(const QString& text) {
    return QString::fromStdString(model::printable(text.toStdString()));
}

} // namespace

AnimationDialog::AnimationDialog(QWidget* window, const RunController& runs,
                                 const PlotController& plotter, const Prompts& prompts)
    : QDialog(window), runs_(runs), plotter_(plotter), prompts_(prompts) {
    setObjectName(QStringLiteral("dlgExportAnimation"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Export Animation"));
    setFont(DesignForm::font());
    const auto field = [this](const char* name, const QString& text) {
        auto* f = new QLineEdit(text, this);
        f->setObjectName(QLatin1String(name));
        return f;
    };
    const auto button = [this](const char* name, const QString& text) {
        auto* b = new QPushButton(text, this);
        b->setObjectName(QLatin1String(name));
        b->setAutoDefault(false);
        return b;
    };
    QSize shown = plotter_.shownImage().size();
    if (shown.width() < 2 || shown.height() < 2) shown = QSize(kDefaultWidth, kDefaultHeight);
    txtSize_ = field("txtSize", QStringLiteral("%1x%2").arg(shown.width()).arg(shown.height()));
    txtFps_ = field("txtFps", QString::number(kDefaultFps));
    txtSpeed_ = field("txtSpeed", QStringLiteral("1"));
    txtSpeed_->setToolTip(QStringLiteral("Simulated seconds a second: 1 is real time, 0.5 half "
                                         "as fast, 2 twice as fast"));
    optViewShown_ = new QRadioButton(QStringLiteral("As &shown"), this);
    optViewShown_->setObjectName(QStringLiteral("optViewShown"));
    optViewShown_->setChecked(true);
    optViewFit_ = new QRadioButton(QStringLiteral("Fit the s&kid"), this);
    optViewFit_->setObjectName(QStringLiteral("optViewFit"));
    txtFile_ = field("txtFile", plotter_.suggestedPath(QStringLiteral("skid.gif")));
    cmdBrowse_ = button("cmdBrowse", QStringLiteral("&Browse..."));
    cmdExport_ = button("cmdExport", QStringLiteral("&Export"));
    cmdExport_->setDefault(true);
    cmdCancel_ = button("cmdCancel", QStringLiteral("&Cancel"));
    prgExport_ = new QProgressBar(this);
    prgExport_->setObjectName(QStringLiteral("prgExport"));
    prgExport_->setRange(0, 100);
    prgExport_->setValue(0);
    progress_ = std::make_unique<WorkerProgress>(prgExport_);
    lblNote_ = new QLabel(this);
    lblNote_->setObjectName(QStringLiteral("lblAnimationNote"));
    lblNote_->setWordWrap(true);
    lblNote_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    cmdClose_ = button("cmdClose", QStringLiteral("Close"));

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Si&ze (width x height):"), txtSize_);
    form->addRow(QStringLiteral("&Frame rate (1 to %1 a second):").arg(io::kMaxGifFps), txtFps_);
    form->addRow(QStringLiteral("S&peed factor (%1 to %2):")
                     .arg(plot::kMinAnimationSpeed)
                     .arg(plot::kMaxAnimationSpeed),
                 txtSpeed_);
    auto* views = new QHBoxLayout;
    views->addWidget(optViewShown_);
    views->addWidget(optViewFit_);
    views->addStretch(1);
    form->addRow(QStringLiteral("View:"), views);
    auto* fileRow = new QHBoxLayout;
    fileRow->addWidget(txtFile_, 1);
    fileRow->addWidget(cmdBrowse_);
    form->addRow(QStringLiteral("F&ile:"), fileRow);
    auto* runRow = new QHBoxLayout;
    runRow->addWidget(cmdExport_);
    runRow->addWidget(prgExport_, 1);
    runRow->addWidget(cmdCancel_);
    auto* end = new QHBoxLayout;
    end->addStretch(1);
    end->addWidget(cmdClose_);
    auto* all = new QVBoxLayout(this);
    all->addLayout(form);
    all->addLayout(runRow);
    all->addWidget(lblNote_, 1);
    all->addLayout(end);
    resize(480, sizeHint().height() + 2 * fontMetrics().lineSpacing());

    connect(cmdBrowse_, &QPushButton::clicked, this, &AnimationDialog::browse);
    connect(cmdExport_, &QPushButton::clicked, this, &AnimationDialog::exportAnimation);
    connect(cmdCancel_, &QPushButton::clicked, this, &AnimationDialog::cancelExport);
    connect(cmdClose_, &QPushButton::clicked, this, &AnimationDialog::close);
    showBusy(false);
}

AnimationDialog::~AnimationDialog() {
    stopWorker();
}

void AnimationDialog::browse() {
    const QString path =
        prompts_.askFile(QStringLiteral("Export Animation"),
                         QStringLiteral("GIF animations (*.gif)"), true, txtFile_->text());
    if (!path.isEmpty()) txtFile_->setText(path);
}

void AnimationDialog::showBusy(bool busy) {
    for (QWidget* w :
         std::initializer_list<QWidget*>{txtSize_, txtFps_, txtSpeed_, optViewShown_, optViewFit_,
                                         txtFile_, cmdBrowse_, cmdExport_})
        w->setEnabled(!busy);
    cmdCancel_->setEnabled(busy);
}

void AnimationDialog::refuse(QWidget* field, const QString& text) {
    lblNote_->setText(text);
    prgExport_->setValue(0);
    emit exportEnded();
    if (!field) return;
    field->setFocus();
    if (auto* line = qobject_cast<QLineEdit*>(field)) line->selectAll();
}

void AnimationDialog::exportAnimation() {
    if (running()) return;
    const model::Record& live = runs_.run().record();
    if (live.empty())
        return refuse(nullptr, QStringLiteral("There is no run to export yet: press Draw first."));
    const auto sides = plot::parseImageSize(txtSize_->text().toStdString());
    if (!sides)
        return refuse(txtSize_, QStringLiteral("Size must be two whole numbers from 1 to %1 with "
                                               "an x between them, at most %2 pixels in all, "
                                               "such as %3x%4, not \"%5\".")
                                    .arg(plot::kMaxImageSide)
                                    .arg(plot::kMaxImagePixels)
                                    .arg(kDefaultWidth)
                                    .arg(kDefaultHeight)
                                    .arg(quoted(txtSize_->text())));
    bool ok = false;
    const int fps = txtFps_->text().trimmed().toInt(&ok);
    if (!ok || fps < io::kMinGifFps || fps > io::kMaxGifFps)
        return refuse(txtFps_, QStringLiteral("Frame rate must be a whole number of frames a "
                                              "second from %1 to %2, not \"%3\".")
                                   .arg(io::kMinGifFps)
                                   .arg(io::kMaxGifFps)
                                   .arg(quoted(txtFps_->text())));
    const double speed = QLocale::c().toDouble(txtSpeed_->text().trimmed(), &ok);
    if (!ok || !(speed >= plot::kMinAnimationSpeed && speed <= plot::kMaxAnimationSpeed))
        return refuse(txtSpeed_, QStringLiteral("Speed factor must be a number from %1 to %2 "
                                                "(1: real time), not \"%3\".")
                                     .arg(plot::kMinAnimationSpeed)
                                     .arg(plot::kMaxAnimationSpeed)
                                     .arg(quoted(txtSpeed_->text())));
    QString path = txtFile_->text().trimmed();
    if (path.isEmpty())
        return refuse(txtFile_, QStringLiteral("File: give the name of the GIF to write."));
    if (QFileInfo(path).suffix().isEmpty()) path += QStringLiteral(".gif");

    const plot::AnimationSettings settings{fps, speed};
    const double frames = plot::animationFrames(live, settings);
    if (frames > plot::kMaxAnimationFrames)
        return refuse(txtSpeed_, QStringLiteral("The run would take %L1 frames, more than the "
                                                "%L2 an animation may have: a higher speed factor "
                                                "or a lower frame rate makes fewer.")
                                     .arg(frames, 0, 'f', 0)
                                     .arg(plot::kMaxAnimationFrames, 0, 'f', 0));
    const double bytes = io::gifBytesEstimate(frames, sides->first, sides->second);
    if (bytes > double(io::kMaxGifBytes))
        return refuse(txtSize_, QStringLiteral("%L1 frames of %2 x %3 pixels could make a GIF of "
                                               "up to about %L4 MB (a byte a pixel before it is "
                                               "compressed), more than the %5 MB allowed; nothing "
                                               "was written. A smaller size, a lower frame rate or "
                                               "a higher speed factor makes it smaller.")
                                    .arg(frames, 0, 'f', 0)
                                    .arg(sides->first)
                                    .arg(sides->second)
                                    .arg(bytes / 1e6, 0, 'f', 0)
                                    .arg(io::kMaxGifBytes / 1'000'000));

    // Copies: a Draw while the frames are made starts a new record and may
    // change the view; the animation keeps the run and the view it was asked of.
    model::Record record = live;
    const double timeStep = runs_.run().runCase().run.timeStep;
    plot::View view = plotter_.view();
    const bool fit = optViewFit_->isChecked();
    path_ = path;
    size_ = QSize(sides->first, sides->second);
    lblNote_->setText(QStringLiteral("Making %L1 frames...").arg(frames, 0, 'f', 0));
    progress_->start();
    showBusy(true);
    worker_ = std::thread([this, record = std::move(record), timeStep, view, fit, settings, frames,
                           path, size = size_] {
        Outcome outcome;
        io::GifFile gif(path);
        outcome.problem = [&]() -> std::optional<std::string> {
            if (auto reason = gif.open(size.width(), size.height(), settings.fps)) return reason;
            plot::ImagePlot picture(size.width(), size.height(), view);
            if (fit) picture.fitView(record);
            if (auto reason = picture.begin(record.samples().front().position)) return reason;
            const auto add = [&](const QImage& frame) -> std::optional<std::string> {
                const QImage rgb = frame.convertToFormat(QImage::Format_RGB32);
                if (auto reason = gif.add(reinterpret_cast<const std::uint32_t*>(rgb.constBits()),
                                          static_cast<int>(rgb.bytesPerLine() / 4)))
                    return reason;
                if (!progress_->report(double(gif.frames()) / frames))
                    return std::string("cancelled");
                return std::nullopt;
            };
            if (auto reason = plot::animateRecord(record, timeStep, picture, settings, add))
                return reason;
            return gif.commit();
        }();
        outcome.cancelled = outcome.problem && progress_->cancelled();
        outcome.frames = gif.frames();
        QMetaObject::invokeMethod(
            this, [this, outcome] { outcomeCame(outcome); }, Qt::QueuedConnection);
    });
}

void AnimationDialog::outcomeCame(const Outcome& outcome) {
    if (worker_.joinable()) worker_.join(); // it has posted its outcome and is ending
    const QString name = QFileInfo(path_).fileName();
    if (outcome.cancelled) {
        lblNote_->setText(QStringLiteral("Cancelled: %1 was not written.").arg(name));
    } else if (outcome.problem) {
        lblNote_->setText(QStringLiteral("Cannot write \"%1\": %2.")
                              .arg(quoted(path_), QString::fromStdString(*outcome.problem)));
    } else {
        prgExport_->setValue(100);
        const QString text = QStringLiteral("Saved %1, %L2 frames of %3 \u00D7 %4.")
                                 .arg(name)
                                 .arg(outcome.frames)
                                 .arg(size_.width())
                                 .arg(size_.height());
        lblNote_->setText(text);
        emit saved(text);
    }
    showBusy(false);
    emit exportEnded();
}

void AnimationDialog::cancelExport() {
    progress_->cancel();
}

void AnimationDialog::stopWorker() {
    progress_->cancel();
    if (worker_.joinable()) worker_.join();
}

void AnimationDialog::done(int r) {
    stopWorker();
    QDialog::done(r);
}

} // namespace yawmark
