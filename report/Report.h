// SPDX-License-Identifier: MIT
// A report a case file can stand on: which inputs, which model, how sure, and
// how someone else gets the same numbers. The pages hold, each part only when
// there is something to show: a title block (the case, the date, the program,
// the SHA-256 of the case and of the marks), every box with its spread, the
// skid at scale with the marks, the run to rest, the fit with both intervals
// and its residuals, the Monte Carlo percentiles with histograms, the model's
// limits in plain words, and the case file's text to enter it again.
//
// The same pages are painted on a PDF and on a printer: only the device differs.
#pragma once

#include "io/CaseFile.h"
#include "plot/Scene.h"
#include "model/Fit.h"
#include "model/FitUncertainty.h"
#include "model/MonteCarlo.h"
#include "model/Units.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <optional>
#include <string>
#include <vector>

class QPagedPaintDevice;
class QPainter;

namespace yawmark::report {

// A fit to marks as it was made: the marks with the σ and flags fitted, its
// result and, when asked for, the draws over every stated uncertainty.
struct ReportFit {
    std::vector<model::Mark> marks;
    model::FitResult result;
    std::optional<model::FitDraws> draws;
};

// A forward Monte Carlo run and the seed it took.
struct ReportMonteCarlo {
    model::MonteCarloResult run;
    std::uint64_t seed = 1;
};

struct ReportInput {
    io::CaseFile file;     // the case as run
    QString caseName;      // the case file's name, or what stands for it
    QByteArray caseBytes;  // the case file's own bytes (empty: never saved)
    QString marksName;     // the marks' file, when they came from one
    QByteArray marksBytes; // its bytes (empty: the marks are the case's own)
    model::Units units = model::Units::Metric;
    std::optional<ReportFit> fit;
    std::optional<ReportMonteCarlo> monteCarlo;
    plot::SceneLayer scene; // the photo and the survey's lines under the skid, as placed
    QDateTime date;  // shown in the title block
    QString version; // the program's
};

// The date a report is made: SOURCE_DATE_EPOCH (seconds since 1970, UTC) when
// it is set to one, as reproducible builds fix their dates; else now.
QDateTime reportDate();

// Why no report can be made of the input: the case's boxes as Draw refuses
// them, naming the box. Nothing when it can.
std::optional<std::string> reportProblem(const ReportInput& input);

// Paints the whole report on `device` with `painter` (begun on it), a new page
// for each page after the first. Returns why it could not (a case Draw refuses).
std::optional<std::string> paintReport(QPagedPaintDevice& device, QPainter& painter,
                                       const ReportInput& input);

// The report as a PDF: A4, or Letter where the locale measures in inches.
// With SOURCE_DATE_EPOCH set the PDF's creation date is that date, so that the
// same input gives the same bytes. Written whole through a temporary file: an
// old file stays until the new one is complete. Refuses a path where a folder
// or a device is, naming it; returns the message.
std::optional<std::string> writeReportPdf(const QString& path, const ReportInput& input);

// The PDF bytes of a report, the creation date already fixed; or the message.
std::variant<QByteArray, std::string> reportPdf(const ReportInput& input);

} // namespace yawmark::report
