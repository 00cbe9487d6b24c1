// SPDX-License-Identifier: MIT
// File > Report... and File > Print...: the case as the window shows it, with
// the last fit and Monte Carlo results the window holds, as a PDF or on a
// printer through a print preview. Both paint the same pages (report/).
#pragma once

#include "model/Units.h"
#include "report/Report.h"

#include <QObject>
#include <QPointer>
#include <QPrintPreviewDialog>

#include <functional>
#include <memory>

class QPrinter;

class QWidget;

namespace yawmark {

class CaseDocument;
class FitDialog;
class MonteCarloDialog;
class Prompts;

// What a report of the window holds: `shown`, the case as the widgets show
// it; the document's file, when the case is as saved there; the fit and the
// draws of the dialogs, when they hold finished results.
report::ReportInput windowReport(const io::CaseFile& shown, const CaseDocument& document,
                                 model::Units units, const FitDialog* fit,
                                 const MonteCarloDialog* monteCarlo,
                                 const plot::SceneLayer& scene);

class ReportExport : public QObject {
    Q_OBJECT
public:
    using Source = std::function<report::ReportInput()>;
    ReportExport(QWidget* window, const Prompts& prompts, Source source);
    ~ReportExport() override;

    // Asks for a PDF file and writes the report into it.
    void exportPdf();
    // Opens the print preview of the report (not modal to the program's work).
    void print();
    // The print preview open now, if any.
    QPrintPreviewDialog* preview() const { return preview_; }

signals:
    // A report was written: the status bar's message.
    void saved(const QString& text);

private:
    QWidget* window_;
    const Prompts& prompts_;
    Source source_;
    std::unique_ptr<QPrinter> printer_;
    QPointer<QPrintPreviewDialog> preview_;
};

} // namespace yawmark
