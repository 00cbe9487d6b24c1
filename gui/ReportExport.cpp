// SPDX-License-Identifier: MIT
#include "gui/ReportExport.h"

#include "gui/CaseDocument.h"
#include "gui/FitDialog.h"
#include "gui/MonteCarloDialog.h"
#include "gui/Prompts.h"

#include <QFileInfo>
#include <QPainter>
#include <QPrintPreviewDialog>
#include <QPrinter>

namespace yawmark {

report::ReportInput windowReport(const io::CaseFile& shown, const CaseDocument& document,
                                 model::Units units, const FitDialog* fit,
                                 const MonteCarloDialog* monteCarlo,
                                 const plot::SceneLayer& scene) {
    report::ReportInput in;
    in.file = shown;
    in.scene = scene;
    in.units = units;
    in.date = report::reportDate();
    in.version = QStringLiteral(YAWMARK_VERSION);
    const QString path = document.path();
    in.caseName = path.isEmpty() ? QStringLiteral("untitled case") : QFileInfo(path).fileName();
    // The file's hash stands for the case only while the case is as saved there.
    if (!path.isEmpty() && !document.isModified() && document.file() == shown) {
        auto bytes = io::readSmallFile(path, io::kMaxCaseFileBytes);
        if (auto* read = std::get_if<QByteArray>(&bytes)) in.caseBytes = *read;
    }
    if (fit && !fit->fitting() && fit->result() && !fit->result()->cancelled)
        in.fit = report::ReportFit{fit->fittedMarks(), *fit->result(), fit->draws()};
    if (monteCarlo && !monteCarlo->running() && monteCarlo->results())
        in.monteCarlo =
            report::ReportMonteCarlo{monteCarlo->results()->run, monteCarlo->results()->seed};
    return in;
}

ReportExport::ReportExport(QWidget* window, const Prompts& prompts, Source source)
    : QObject(window), window_(window), prompts_(prompts), source_(std::move(source)) {}

ReportExport::~ReportExport() = default;

void ReportExport::exportPdf() {
    QString path = prompts_.askFile(QStringLiteral("Report"), QStringLiteral("PDF files (*.pdf)"),
                                    true, QStringLiteral("report.pdf"));
    if (path.isEmpty()) return;
    if (QFileInfo(path).suffix().isEmpty()) path += QStringLiteral(".pdf");
    if (auto problem = report::writeReportPdf(path, source_()))
        return prompts_.message(QString(), QString::fromStdString(*problem));
    emit saved(QStringLiteral("Saved the report %1.").arg(QFileInfo(path).fileName()));
}

void ReportExport::print() {
    if (preview_) {
        preview_->raise();
        preview_->activateWindow();
        return;
    }
    if (!printer_) printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    // The pages are painted again whenever the preview's page set-up changes,
    // always from the case as it was when Print was chosen.
    auto input = std::make_shared<report::ReportInput>(source_());
    // A case Draw refuses is named before the preview opens, not while it paints.
    if (auto problem = report::reportProblem(*input))
        return prompts_.message(QString(), QString::fromStdString(*problem));
    preview_ = new QPrintPreviewDialog(printer_.get(), window_);
    preview_->setObjectName(QStringLiteral("dlgPrintPreview"));
    preview_->setAttribute(Qt::WA_DeleteOnClose);
    connect(preview_, &QPrintPreviewDialog::paintRequested, this, [input](QPrinter* printer) {
        QPainter painter(printer);
        report::paintReport(*printer, painter, *input);
    });
    preview_->open();
}

} // namespace yawmark
