// SPDX-License-Identifier: MIT
// yawmark-batch --report: the PDF report of a case, with the fit to marks and
// the draws when asked for, written without a display.
#include "cli/BatchGui.h"
#include "cli/BatchRunner.h"
#include "cli/BatchScene.h"

#include "model/Text.h"
#include "report/Report.h"

#include <QFileInfo>

#include <ostream>

namespace yawmark {

using namespace model;

int runBatchReport(const BatchOptions& options, const BatchSkid& skid, std::ostream& err) {
    const auto fail = [&err](const std::string& message, int status = 2) {
        err << "yawmark-batch: " << message << '\n';
        return status;
    };
    const QString path = QString::fromStdString(options.report);
    // A target that cannot be written is named before any work is done.
    if (auto problem = io::outputProblem(path))
        return fail("--report: " + io::pathName(path) + ": " + *problem + ".");
    BatchGui gui; // the report's fonts
    if (!gui.ready()) return fail("--report: " + gui.problem());

    report::ReportInput input;
    input.file = skid.file;
    input.units = options.units.value_or(Units::Metric);
    input.date = report::reportDate();
    input.version = QStringLiteral(YAWMARK_VERSION);
    if (auto message = batchScene(skid.file.scene, false, input.scene))
        return fail("--report: " + *message);
    if (options.caseFile.empty()) {
        input.caseName = QStringLiteral("start-up case");
    } else {
        const QString casePath = QString::fromStdString(options.caseFile);
        input.caseName = QFileInfo(casePath).fileName();
        auto bytes = io::readSmallFile(casePath, io::kMaxCaseFileBytes);
        if (auto* message = std::get_if<std::string>(&bytes)) return fail(*message);
        input.caseBytes = std::get<QByteArray>(bytes);
    }

    std::string fitRefusal;
    if (!options.fit.empty()) {
        report::ReportFit fit;
        auto read = readBatchMarks(options, &input.marksBytes);
        if (auto* message = std::get_if<std::string>(&read)) return fail(*message);
        fit.marks = std::get<std::vector<Mark>>(std::move(read));
        input.marksName = QFileInfo(QString::fromStdString(options.fit)).fileName();
        const FitSettings settings = batchFitSettings(options, skid);
        if (auto problem = fitInputProblem(skid.c, fit.marks, settings))
            return fail("--fit: " + *problem + ".");
        fit.result = fitMarks(skid.c, fit.marks, settings);
        // Refused, the fit goes into the report all the same, saying why.
        if (!fit.result.accepted()) fitRefusal = fit.result.refusal;
        for (const Estimate& e : fit.result.estimates)
            if (fitRefusal.empty() && !e.value)
                fitRefusal = std::string(quantityInfo(e.quantity).key) + ": " + e.refusal;
        if (options.monteCarlo && fit.result.accepted()) {
            const io::CaseFile& f = skid.file;
            const FitDrawSettings ds{std::min(*options.monteCarlo, kMaxFitDraws),
                                     options.seed.value_or(1), options.threads.value_or(0)};
            if (auto problem = fitDrawsProblem(f.texts, f.autos, f.form, f.spreads, fit.result, ds))
                return fail("--monte-carlo: " + *problem);
            fit.draws =
                fitDraws(f.texts, f.autos, f.form, f.spreads, fit.marks, settings, fit.result, ds);
        }
        input.fit = std::move(fit);
    }
    if (options.monteCarlo) {
        const io::CaseFile& f = skid.file;
        const MonteCarloSettings settings = batchMonteCarloSettings(options);
        // With a fit the draws are its interval; the forward draws need spreads of their own.
        if (auto problem = monteCarloProblem(f.texts, f.autos, f.form, f.spreads, settings)) {
            if (!input.fit) return fail("--monte-carlo: " + *problem);
            err << "yawmark-batch: note: the report has no Monte Carlo section: " << *problem
                << '\n';
        } else {
            input.monteCarlo = report::ReportMonteCarlo{
                runMonteCarlo(f.texts, f.autos, f.form, f.spreads, settings), settings.seed};
        }
    }
    if (auto message = report::writeReportPdf(path, input)) return fail("--report: " + *message);
    if (!fitRefusal.empty())
        return fail("the fit is refused: " + fitRefusal + "; the report says so.", 3);
    return 0;
}

} // namespace yawmark
