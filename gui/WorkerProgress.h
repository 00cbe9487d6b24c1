// SPDX-License-Identifier: MIT
// Work on a worker thread, followed by a progress bar on the window's: the
// bar is told only when the whole percent changes, so that a fast loop does
// not flood the event queue, and the work asks on each report whether to go on.
#pragma once

#include <atomic>

class QProgressBar;

namespace yawmark {

class WorkerProgress {
public:
    explicit WorkerProgress(QProgressBar* bar) : bar_(bar) {}

    // Before the work starts: not cancelled, the bar at 0.
    void start();
    void cancel() { cancel_ = true; }
    bool cancelled() const { return cancel_; }
    // From the worker: `share` (0..1) done. False once cancelled.
    bool report(double share);

private:
    QProgressBar* bar_;
    std::atomic<bool> cancel_{false};
    std::atomic<int> shown_{-1}; // the percent the bar was last sent
};

} // namespace yawmark
