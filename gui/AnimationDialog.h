// SPDX-License-Identifier: MIT
// File > Export Animation...: an animated GIF of the run, the trails growing
// and the car moving, with the time in a corner, made by the same frames as
// yawmark-batch --gif (plot::animateRecord).
//
// The size (the plot's own to start with), the frame rate, the speed factor
// (simulated seconds a second of animation), the view (as the plot shows it,
// or around the whole skid) and the file are checked before anything is
// made: a value out of range is refused naming its field, and an animation
// estimated to grow past the GIF limit is refused before a byte is written.
// The frames are made and written on a worker thread from copies of the
// record and the view, so that a run started meanwhile leaves them be, with
// a progress bar and Cancel while the window goes on. The file is written
// beside the old one and replaces it only when the whole animation is done.
// Closing the dialog cancels an export and waits for its thread.
#pragma once

#include <QDialog>
#include <QSize>

#include <memory>
#include <optional>
#include <string>
#include <thread>

class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;

namespace yawmark {

class PlotController;
class Prompts;
class RunController;
class WorkerProgress;

class AnimationDialog : public QDialog {
    Q_OBJECT
public:
    // The size offered when the plot has none to give (it is hidden).
    static constexpr int kDefaultWidth = 720;
    static constexpr int kDefaultHeight = 546;
    static constexpr int kDefaultFps = 25;

    // Over the window, for the run of `runs` as `plotter` shows it. Deletes itself once closed.
    AnimationDialog(QWidget* window, const RunController& runs, const PlotController& plotter,
                    const Prompts& prompts);
    ~AnimationDialog() override;

    // An export is going on.
    bool running() const { return worker_.joinable(); }

public slots:
    // Export: the fields checked, then the frames made on the worker.
    void exportAnimation();
    // The export going on stops soon; no file is written, an old one stays.
    void cancelExport();
    // Closing (the close box, Escape, Close) cancels an export and waits for its thread.
    void done(int r) override;

signals:
    // An export ended: saved, cancelled, failed or refused.
    void exportEnded();
    // What an export wrote ("Saved skid.gif, 90 frames of 720 × 546.").
    void saved(const QString& text);

private:
    struct Outcome {
        std::optional<std::string> problem;
        bool cancelled = false;
        long long frames = 0;
    };
    void browse();
    void refuse(QWidget* field, const QString& text);
    void outcomeCame(const Outcome& outcome);
    void showBusy(bool busy);
    void stopWorker();

    const RunController& runs_;
    const PlotController& plotter_;
    const Prompts& prompts_;
    QLineEdit* txtSize_ = nullptr;
    QLineEdit* txtFps_ = nullptr;
    QLineEdit* txtSpeed_ = nullptr;
    QRadioButton* optViewShown_ = nullptr;
    QRadioButton* optViewFit_ = nullptr;
    QLineEdit* txtFile_ = nullptr;
    QPushButton* cmdBrowse_ = nullptr;
    QPushButton* cmdExport_ = nullptr;
    QPushButton* cmdCancel_ = nullptr;
    QProgressBar* prgExport_ = nullptr;
    QLabel* lblNote_ = nullptr;
    QPushButton* cmdClose_ = nullptr;

    std::thread worker_;
    std::unique_ptr<WorkerProgress> progress_; // of the frames on the worker, on prgExport_
    QString path_;                             // of the export going on
    QSize size_;
};

} // namespace yawmark
