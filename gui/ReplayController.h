// SPDX-License-Identifier: MIT
// View > Replay: a run that has ended or paused is shown again at any moment
// of its record. The slider picks a recorded sample; Play moves through them
// at 0.25, 1 or 4 times real time, from the event loop, and stops at the end.
// The car's outline at that moment is drawn over the trails and the status
// bar reads out that moment. A run going on again, or a new Draw, ends it.
// Nothing is timed while the replay stands still.
#pragma once

#include "model/Run.h"

#include <QElapsedTimer>
#include <QObject>

#include <cstddef>

class QSlider;
class QTimer;

namespace yawmark {

class ReplayBar;
class RunController;

class ReplayController : public QObject {
    Q_OBJECT
public:
    // How often a playing replay moves, ms: about a display frame.
    static constexpr int kFrameMs = 16;

    ReplayController(ReplayBar& bar, const RunController& runs, QObject* parent);

    bool active() const { return active_; }
    bool playing() const;
    // The sample shown (while active).
    std::size_t index() const { return index_; }
    // Whether there is a run to replay: recorded, and not going on.
    bool available() const;

public slots:
    // Begins the replay at the newest sample (what the plot shows already), or ends it.
    void setActive(bool on);
    // The sample shown now; held within the record.
    void seek(std::size_t index);
    // The last sample at or before `time`, s.
    void seekTime(double time);
    // Play from here (from the start when at the end), or pause.
    void togglePlay();

signals:
    void activeChanged(bool on);
    // The moment shown changed (and when the replay ends, to the newest sample).
    void moved(std::size_t index);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void phaseChanged(model::Phase phase);
    void tick();
    void stopPlaying();
    void showIndex();
    const model::Record& record() const;

    ReplayBar& bar_;
    QSlider* const slider_; // bar_'s, kept apart: its events come while the bar goes
    const RunController& runs_;
    QTimer* timer_ = nullptr;
    QElapsedTimer clock_; // since Play, or since the speed changed while playing
    double playFrom_ = 0; // simulated time when clock_ started, s
    bool active_ = false;
    std::size_t index_ = 0;
};

} // namespace yawmark
