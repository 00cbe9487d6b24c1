// SPDX-License-Identifier: MIT
// yawmark-batch --fit: the launch fitted to tyre marks, and with
// --monte-carlo its interval over every stated uncertainty.
#include "cli/BatchRunner.h"

#include "io/CaseFile.h"
#include "io/SceneFiles.h"
#include "model/FitUncertainty.h"
#include "model/Text.h"
#include "sim/NumberText.h"

#include <cmath>
#include <iostream>
#include <ostream>

#include <QFile>

#include <unistd.h>

namespace yawmark {

using namespace model;

std::variant<std::vector<Mark>, std::string> readBatchMarks(const BatchOptions& options,
                                                            QByteArray* bytes) {
    const QString path = QString::fromStdString(options.fit);
    // A CSV of marks, or a survey drawing's marks (by its suffix).
    auto read = io::loadMarks(path, options.dxfUnits);
    if (auto* message = std::get_if<std::string>(&read))
        return "--fit: " + *message +
               (message->ends_with("none was given.") ? " Give --dxf-units m, cm, mm, ft or in."
                                                      : "");
    auto marks = std::get<std::vector<Mark>>(std::move(read));
    for (Mark& m : marks) {
        m.sigma = options.sigma.value_or(kDefaultMarkSigma);
        m.startsAtPull = options.startsAtPull;
        m.endsAtRest = options.endsAtRest;
    }
    // The file as read, for the report's SHA-256 of it.
    if (bytes) {
        QFile file(path);
        if (file.open(QIODevice::ReadOnly)) *bytes = file.readAll();
    }
    return marks;
}

FitSettings batchFitSettings(const BatchOptions& options, const BatchSkid& skid) {
    return {options.fitFor.value_or(Unknowns::Speed),
            options.muUncertainty.value_or(FitSettings{}.muUncertainty), skid.file.autos.normal,
            options.maxSeconds.value_or(FitSettings{}.maxSeconds)};
}

int runBatchFit(const BatchOptions& options, BatchSkid& skid, std::ostream& out,
                std::ostream& err) {
    const auto fail = [&err](const std::string& message, int status) {
        err << "yawmark-batch: " << message << '\n';
        return status;
    };
    auto read = readBatchMarks(options);
    if (auto* message = std::get_if<std::string>(&read)) return fail(*message, 2);
    const auto marks = std::get<std::vector<Mark>>(std::move(read));
    const FitSettings settings = batchFitSettings(options, skid);
    if (auto problem = fitInputProblem(skid.c, marks, settings))
        return fail("--fit: " + *problem + ".", 2);
    // The share done, on a terminal only, in whole percent as it changes.
    int shown = -1;
    const FitProgress progress = [&](double share) {
        const int percent = static_cast<int>(share * 100);
        if (percent != shown) err << "\ryawmark-batch: fitting: " << (shown = percent) << " %";
        err.flush();
        return true;
    };
    const bool terminal = &err == &std::cerr && isatty(STDERR_FILENO);
    const FitResult r = fitMarks(skid.c, marks, settings, terminal ? progress : FitProgress{});
    if (terminal) err << "\r\033[K";
    if (!r.refusal.empty())
        return fail("the fit is refused: " + r.refusal +
                        (settings.unknowns == Unknowns::All && !options.endsAtRest
                             ? " (give --ends-at-rest if the marks end where the car came to rest)."
                         : r.refusal.find("budget") != std::string::npos
                             ? " (give --max-seconds for a longer one)."
                             : "."),
                    3);
    int status = 0;
    for (const Estimate& e : r.estimates)
        if (!e.value)
            status = fail(std::string(quantityInfo(e.quantity).key) + ": " + e.refusal + ".", 3);
    if (status != 0) return status;

    // With --monte-carlo the interval is the draws' and the marks' own follows it.
    std::optional<FitDraws> drawn;
    if (options.monteCarlo) {
        const io::CaseFile& file = skid.file;
        const FitDrawSettings ds{*options.monteCarlo, options.seed.value_or(1),
                                 options.threads.value_or(0)};
        if (auto problem = fitDrawsProblem(file.texts, file.autos, file.form, file.spreads, r, ds))
            return fail("--monte-carlo: " + *problem, 2);
        drawn = fitDraws(file.texts, file.autos, file.form, file.spreads, marks, settings, r, ds);
        if (drawn->ranges.size() != r.estimates.size())
            return fail("--monte-carlo: no draw gave a fit; the first: " + drawn->problem, 3);
    }
    std::string table = drawn ? "quantity,value,low,high,unit,marks_low,marks_high\n"
                              : "quantity,value,low,high,unit\n";
    const auto row = [&](std::string_view q, const std::string& v, const std::string& low,
                         const std::string& high, std::string_view unit,
                         const std::string& marksLow = {}, const std::string& marksHigh = {}) {
        table += std::string(q) + ',' + v + ',' + low + ',' + high + ',' + std::string(unit) +
                 (drawn ? ',' + marksLow + ',' + marksHigh : std::string()) + '\n';
    };
    for (std::size_t i = 0; i < r.estimates.size(); ++i) {
        const Estimate& e = r.estimates[i];
        const QuantityInfo& info = quantityInfo(e.quantity);
        if (drawn)
            row(info.key, formatNumber(*e.value), formatNumber(drawn->ranges[i].low),
                formatNumber(drawn->ranges[i].high), info.unit, formatNumber(*e.low),
                formatNumber(*e.high));
        else
            row(info.key, formatNumber(*e.value), formatNumber(*e.low), formatNumber(*e.high),
                info.unit);
    }
    row("rms", formatNumber(r.rms), "", "", "m");
    row("simulations", std::to_string(r.simulations), "", "", "");
    // The formula's speed on each mark, named by its wheel; none where the
    // mark may be straight within its σ.
    std::string notes;
    for (std::size_t i = 0; i < r.critical.size(); ++i) {
        const std::string key = "critical_speed_" + std::string(wheelCode(marks[i].wheel));
        const auto& k = r.critical[i];
        if (k && k->high) {
            row(key, formatNumber(k->speed), formatNumber(k->low), formatNumber(*k->high), "m/s");
            continue;
        }
        row(key, "", k ? formatNumber(k->low) : "", "", "m/s");
        notes += "yawmark-batch: note: " + key + ": " +
                 (k ? "the mark is too straight for the formula: its middle ordinate " +
                          formatNumber(k->ordinate) + " m is within 2σ (" +
                          formatNumber(2 * marks[i].sigma) + " m) of 0."
                    : std::string("the mark is too short or too straight for the formula.")) +
                 '\n';
    }
    // The fitted speed with each uncertain box alone at either end of its 95% range.
    for (const Sensitivity& k : drawn ? drawn->sensitivity : std::vector<Sensitivity>{})
        row("sensitivity_" + std::string(kBoxKeys[k.box]), formatNumber(*r.estimates[0].value),
            std::isfinite(k.speed[0]) ? formatNumber(k.speed[0]) : "",
            std::isfinite(k.speed[1]) ? formatNumber(k.speed[1]) : "", "m/s");
    if (drawn && drawn->refused > 0)
        notes += "yawmark-batch: note: " + std::to_string(drawn->refused) + " of " +
                 std::to_string(drawn->done) + " draws gave no fit; the first: " + drawn->problem +
                 '\n';
    // Why the solver stopped, and the points it left out, after the table.
    notes += "yawmark-batch: note: solver: " + std::string(terminationText(r.termination)) + ".\n";
    for (const Outlier& o : r.outliers)
        notes += "yawmark-batch: note: outlier: " + std::string(wheelCode(o.wheel)) + " point " +
                 std::to_string(o.point) + " lies " + formatNumber(o.distance) +
                 " m from its trail; the RMS and the intervals leave it out.\n";
    out << table;
    out.flush();
    err << notes;
    if (!options.saveCase.empty()) {
        io::CaseFile file = skid.file;
        file.texts = skid.texts;
        applyFit(r, file.texts, file.autos);
        if (auto message = io::saveCase(QString::fromStdString(options.saveCase), file))
            return fail("--save-case: " + *message, 2);
    }
    return 0;
}

} // namespace yawmark
