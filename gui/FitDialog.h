// SPDX-License-Identifier: MIT
// Tools > Fit to Marks: the launch whose trails lie on the case's tyre marks.
//
// The user chooses the unknowns (the speed; the speed and the yaw rate;
// everything about the launch), the survey's σ, μ's uncertainty and what is
// known of the marks' ends; σ and the two flags hold for every mark. Fit reads
// the boxes as Draw would (a box Draw would refuse is named, and nothing is
// fitted) and runs model::fitMarks on a worker thread, with a progress bar and
// Cancel, while the window goes on. The results: each quantity with its
// interval, or why the marks cannot tell it; the RMS distance against σ; the
// critical-speed formula on each mark beside the fitted speed. With
// "95% over every stated uncertainty" the fit is made again on draws of the
// boxes' spreads and of the survey (model::fitDraws), and each interval from
// them stands beside the one "from the marks alone", with a tornado chart of
// the speed's sensitivity to each uncertain box.
//
// Apply (only for a fit that found every unknown) writes the fitted values
// into their boxes (model::applyFit), unticks the yaw rate's "Auto Calculate" when the yaw rate
// or the relative direction was fitted, keeps σ and the flags with the marks
// and draws the fitted run over them. Closing the dialog cancels a fit and
// waits for its thread.
#pragma once

#include "model/Fit.h"
#include "model/FitUncertainty.h"
#include "model/Marks.h"
#include "model/Units.h"

#include <QDialog>

#include <memory>
#include <optional>
#include <thread>
#include <vector>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QTableWidget;

namespace yawmark {

class CaseDocument;
class ParameterPanel;
class SensitivityChart;
class WorkerProgress;

class FitDialog : public QDialog {
    Q_OBJECT
public:
    // Over the window, for the case's boxes and marks. Deletes itself once closed.
    FitDialog(QWidget* window, ParameterPanel& panel, const CaseDocument& document);
    ~FitDialog() override;

    QComboBox* cboUnknowns() const { return cboUnknowns_; } // in the order of model::Unknowns
    QLineEdit* txtSigma() const { return txtSigma_; }
    QLineEdit* txtMuUncertainty() const { return txtMu_; }
    QCheckBox* chkStartsAtPull() const { return chkStartsAtPull_; }
    QCheckBox* chkEndsAtRest() const { return chkEndsAtRest_; }
    QPushButton* cmdFit() const { return cmdFit_; }
    QPushButton* cmdCancel() const { return cmdCancel_; }
    QPushButton* cmdApply() const { return cmdApply_; }
    QPushButton* cmdClose() const { return cmdClose_; }
    QProgressBar* prgFit() const { return prgFit_; }
    QTableWidget* tblEstimates() const { return tblEstimates_; }
    QTableWidget* tblCritical() const { return tblCritical_; }
    QLabel* lblSummary() const { return lblSummary_; }

    // A fit is going on.
    bool fitting() const { return worker_.joinable(); }
    // The last fit's result, once it has come.
    const std::optional<model::FitResult>& result() const { return result_; }
    // The marks of the last fit, with its σ and flags, and its draws over
    // every stated uncertainty, when asked for.
    const std::vector<model::Mark>& fittedMarks() const { return fitted_; }
    const std::optional<model::FitDraws>& draws() const { return draws_; }
    // The tables and the summary in these units (the settings stay in theirs).
    void setUnits(model::Units units);

public slots:
    void fit();
    // The fit going on stops soon; its result says it was cancelled.
    void cancelFit();
    void apply();
    // Closing (the close box, Escape, Close) cancels a fit and waits for its thread.
    void done(int r) override;

signals:
    // A fit's result came (cancelled or refused ones too).
    void fitFinished();
    // Apply: these boxes, Auto Calculate of normal driving and marks (with the
    // fit's σ and flags) are the case now, to be drawn.
    void applied(const model::BoxTexts& texts, bool autoNormal,
                 const std::vector<model::Mark>& marks);

private:
    void fitCame(const model::FitResult& r, const std::optional<model::FitDraws>& draws,
                 const QString& drawsProblem);
    void showResult(const model::FitResult& r);
    void showBusy(bool busy);
    // A setting that cannot be used: said in the summary, the field selected.
    void refuseField(QLineEdit* field, const QString& text);
    // Cancels a fit going on and waits for its thread.
    void stopWorker();

    ParameterPanel& panel_;
    const CaseDocument& document_;
    QComboBox* cboUnknowns_ = nullptr;
    QLineEdit* txtSigma_ = nullptr;
    QLineEdit* txtMu_ = nullptr;
    QCheckBox* chkStartsAtPull_ = nullptr;
    QCheckBox* chkEndsAtRest_ = nullptr;
    QPushButton* cmdFit_ = nullptr;
    QPushButton* cmdCancel_ = nullptr;
    QPushButton* cmdApply_ = nullptr;
    QPushButton* cmdClose_ = nullptr;
    QProgressBar* prgFit_ = nullptr;
    QTableWidget* tblEstimates_ = nullptr;
    QTableWidget* tblCritical_ = nullptr;
    QLabel* lblSummary_ = nullptr;

    std::thread worker_;
    std::unique_ptr<WorkerProgress> progress_; // of the fit on the worker, on prgFit_
    std::vector<model::Mark> fitted_;   // the marks as fitted: σ and the flags applied
    std::optional<model::FitResult> result_;
    // The fit made again on draws of every stated uncertainty, when asked for.
    std::optional<model::FitDraws> draws_;
    QString drawsProblem_; // why there are no draws, when asked for
    QComboBox* cboIntervals_ = nullptr;
    QLineEdit* txtDraws_ = nullptr;
    SensitivityChart* sensitivity_ = nullptr;
    model::Units units_ = model::Units::Metric;
};

} // namespace yawmark
