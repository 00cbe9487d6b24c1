// SPDX-License-Identifier: MIT
// Tools > Monte Carlo: the case run many times, each box with a spread drawn
// anew each time (model::runMonteCarlo), to see where the car could have come
// to rest and how far the skid could have gone over the spreads stated.
//
// The table of boxes shows each box's spread, set or cleared from there
// (Spread..., Clear Spread, a double click) as from the box's own context
// menu. Run takes the count of draws and the seed (the case's, or a new one;
// the same seed repeats a run exactly) and runs the draws on a worker thread,
// with a progress bar and Cancel, while the window goes on. The results: the
// 2.5%, 50% and 97.5% points, mean and standard deviation of where the mass
// centre came to rest, how far it slid, how far the car turned and how long
// it took, in the window's units, with a histogram of each; how many draws
// were refused or never came to rest, and why the first was. On the plot the
// rests are a cloud of dots with their 95% region outlined, under the trails
// of the first few draws; they stay until a new Draw, Clear or Clear Results.
// Closing the dialog cancels a run and waits for its thread.
#pragma once

#include "model/MonteCarlo.h"
#include "model/Units.h"
#include "plot/Renderer.h"

#include <QDialog>

#include <memory>
#include <optional>
#include <thread>

class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QTableWidget;

namespace yawmark {

class CaseDocument;
class HistogramView;
class PlotController;
class WorkerProgress;

class MonteCarloDialog : public QDialog {
    Q_OBJECT
public:
    // Sampled runs drawn on the plot as faint trails.
    static constexpr int kTrails = 20;
    static constexpr std::uint64_t kDefaultDraws = 1000;

    // Over the window, for the document's case, drawing on `plotter`. Deletes itself once closed.
    MonteCarloDialog(QWidget* window, CaseDocument& document, PlotController& plotter);
    ~MonteCarloDialog() override;

    // A run is going on.
    bool running() const { return worker_.joinable(); }
    // The tables, the histograms and the summary in these units.
    void setUnits(model::Units units);

    // What a finished run gives.
    struct Results {
        model::MonteCarloResult run;
        std::array<model::Percentiles, model::kOutcomeCount> table;
        std::array<std::vector<double>, model::kOutcomeCount> values; // each outcome's, by draw
        plot::Cloud cloud;
        std::uint64_t seed = 0;
    };
    const std::optional<Results>& results() const { return results_; }

public slots:
    void run();
    // The run going on stops soon; nothing of it is shown.
    void cancelRun();
    // The table, the histograms and the cloud on the plot go.
    void clearResults();
    // Closing (the close box, Escape, Close) cancels a run and waits for its thread.
    void done(int r) override;

signals:
    // A run ended: its results shown, or cancelled, or refused.
    void runFinished();

private:
    void fillBoxTable();
    void editSpread(bool clear);
    void resultsCame(std::shared_ptr<Results> r);
    void showResults();
    void showBusy(bool busy);
    void refuseField(QLineEdit* field, const QString& text);
    void stopWorker();

    CaseDocument& document_;
    PlotController& plotter_;
    QTableWidget* tblSpreads_ = nullptr;
    QPushButton* cmdSpread_ = nullptr;
    QPushButton* cmdClearSpread_ = nullptr;
    QLineEdit* txtDraws_ = nullptr;
    QLineEdit* txtSeed_ = nullptr;
    QPushButton* cmdNewSeed_ = nullptr;
    QPushButton* cmdRun_ = nullptr;
    QPushButton* cmdCancel_ = nullptr;
    QProgressBar* prgRun_ = nullptr;
    QTableWidget* tblResults_ = nullptr;
    HistogramView* histograms_ = nullptr;
    QLabel* lblSummary_ = nullptr;
    QPushButton* cmdClearResults_ = nullptr;
    QPushButton* cmdClose_ = nullptr;

    std::thread worker_;
    std::unique_ptr<WorkerProgress> progress_; // of the draws on the worker, on prgRun_
    std::optional<Results> results_;
    std::uint64_t drawsAsked_ = 0;
    model::Units units_ = model::Units::Metric;
};

} // namespace yawmark
