// SPDX-License-Identifier: MIT
// The report's sections, in the order a reader asks their questions: which
// case, which inputs, what happened, how sure, what the model leaves out,
// and the case itself to check it all.
#include "report/Report.h"

#include "model/BoxUnits.h"
#include "model/Boxes.h"
#include "model/Readout.h"
#include "model/Run.h"
#include "model/Trails.h"
#include "report/ReportFigures.h"
#include "report/ReportPages.h"

#include <QCryptographicHash>
#include <QPagedPaintDevice>
#include <QPainter>

#include <cmath>

namespace yawmark::report {

namespace {

using namespace model;

// A run to rest is never longer than the batch runner's.
constexpr std::uint64_t kMaxPasses = 100'000;

QString qs(std::string_view s) {
    return QString::fromUtf8(s.data(), static_cast<int>(s.size()));
}

QString sha256(const QByteArray& bytes) {
    return QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex());
}

// A value in one of the case's units as shown, with its unit: "82.02 ft".
QString valueText(Units units, double value, std::string_view unit, int decimals = 2) {
    const Shown s = shown(units, value, unit);
    return qs(fixedText(s.value, decimals)) +
           (s.unit.empty() ? QString() : QLatin1Char(' ') + qs(s.unit));
}

QString rangeText(Units units, double low, double high, std::string_view unit) {
    const Shown lo = shown(units, low, unit), hi = shown(units, high, unit);
    return QStringLiteral("%1 to %2 %3")
        .arg(qs(fixedText(lo.value, 2)), qs(fixedText(hi.value, 2)), qs(lo.unit));
}

// What a box's number is in the units shown, where those differ from its own.
QString boxShown(int box, const std::string& text, InertiaForm form, Units units) {
    const Measure m = boxMeasure(box, form);
    if (units == Units::Metric || (m != Measure::Length && m != Measure::Speed)) return {};
    const auto value = readBoxValue(box, text, form);
    if (!std::holds_alternative<double>(value)) return {};
    return valueText(units, std::get<double>(value), m == Measure::Length ? "m" : "m/s");
}

void titleBlock(ReportPages& pages, const ReportInput& in, const QByteArray& asRun) {
    pages.heading(QStringLiteral("Skid reconstruction report: %1").arg(in.caseName));
    std::vector<QStringList> rows{
        {QStringLiteral("Case"), in.caseName},
        {QStringLiteral("Date"),
         in.date.toUTC().toString(QStringLiteral("yyyy-MM-dd HH:mm 'UTC'"))},
        {QStringLiteral("Program"), QStringLiteral("Yawmark %1").arg(in.version)},
        {QStringLiteral("SHA-256 of the case file"),
         in.caseBytes.isEmpty() ? QStringLiteral("the case was not saved to a file")
                                : sha256(in.caseBytes)},
        {QStringLiteral("SHA-256 of the case as run"), sha256(asRun)},
    };
    if (!in.marksBytes.isEmpty()) {
        rows.push_back({QStringLiteral("Marks file"), in.marksName});
        rows.push_back({QStringLiteral("SHA-256 of the marks file"), sha256(in.marksBytes)});
    }
    rows.push_back({QStringLiteral("Units"), in.units == Units::US
                                                 ? QStringLiteral("US (ft, mph)")
                                                 : QStringLiteral("metric (m, m/s)")});
    pages.table({QStringLiteral("Item"), QStringLiteral("Value")}, rows, {1.5, 2.7}, 1);
}

void inputs(ReportPages& pages, const ReportInput& in) {
    const io::CaseFile& f = in.file;
    pages.heading(QStringLiteral("Inputs"));
    pages.paragraph(
        QStringLiteral(
            "Vehicle: %1. Calculation interval: %2 ms. Auto Calculate of normal driving "
            "(boxes 11, 12): %3; of the moment of inertia (box 5): %4. Each box as typed, "
            "in the unit of its caption; a spread says what the value may really have "
            "been.")
            .arg(f.vehicle.empty() ? QStringLiteral("Custom") : qs(f.vehicle),
                 qs(f.texts.text[kIntervalBox]),
                 f.autos.normal ? QStringLiteral("on") : QStringLiteral("off"),
                 f.autos.inertia ? QStringLiteral("on") : QStringLiteral("off")));
    std::vector<QStringList> rows;
    const bool us = in.units == Units::US;
    for (int box = 0; box < kBoxCount; ++box) {
        QStringList row{QString::number(box), qs(boxInfo(box, f.form).caption),
                        qs(f.texts.text[box])};
        if (us) row << boxShown(box, f.texts.text[box], f.form, in.units);
        row << (f.spreads[box] ? qs(spreadText(*f.spreads[box])) : QString());
        rows.push_back(row);
    }
    QStringList header{QStringLiteral("Box"), QStringLiteral("Caption (unit)"),
                       QStringLiteral("Value")};
    std::vector<double> shares{0.4, 3.6, 1.9};
    if (us) {
        header << QStringLiteral("In US units");
        shares.push_back(1.3);
    }
    header << QStringLiteral("Spread");
    shares.push_back(2.2);
    pages.table(header, rows, shares);
}

// The run of the case to rest, as Draw runs it.
struct RunOutcome {
    Run run;
    std::optional<Readout> readout;
    std::optional<double> restError;
};

void runToRest(Run& run, const Case& c, bool autoSnapshot) {
    run.start(c);
    for (std::uint64_t pass = 0; pass < kMaxPasses && run.phase() == Phase::Running; ++pass)
        if (!run.pass(nullptr, autoSnapshot)) break;
}

void runSection(ReportPages& pages, const ReportInput& in, const RunOutcome& r,
                const std::vector<Mark>& marks) {
    pages.heading(QStringLiteral("The skid"), 380);
    pages.paragraph(QStringLiteral(
        "The run of the case, to scale: the mass centre and the four wheels' trails, the car's "
        "outline at the pull, at each snapshot and at rest (its rear edge, the locked axle, in "
        "cyan), and the surveyed tyre marks under them."));
    pages.figure(330, [&](QPainter& p, const QRectF& area) {
        paintSkid(p, area, r.run.record(), marks, in.units, &in.scene);
    });
    pages.subheading(QStringLiteral("The run"));
    if (!r.readout) return;
    const Readout& o = *r.readout;
    const Sample& first = r.run.record().samples().front();
    const double turned = o.turned;
    std::vector<QStringList> rows{
        {QStringLiteral("Time to rest"),
         o.atRest ? qs(fixedText(o.time, 2)) + QStringLiteral(" s")
                  : QStringLiteral("not at rest after %1 s").arg(qs(fixedText(o.time, 2)))},
        {QStringLiteral("Rest position of the mass centre (x, y)"),
         QStringLiteral("(%1, %2)")
             .arg(valueText(in.units, o.position.x, "m"), valueText(in.units, o.position.y, "m"))},
        {QStringLiteral("Distance slid by the mass centre"), valueText(in.units, o.distance, "m")},
        {QStringLiteral("Angle turned"),
         QStringLiteral("%1° %2").arg(qs(fixedText(std::abs(turned), 1)),
                                      turned > 0 ? QStringLiteral("counter-clockwise")
                                                 : QStringLiteral("clockwise"))},
        {QStringLiteral("Start of the mass centre (x, y)"),
         QStringLiteral("(%1, %2)")
             .arg(valueText(in.units, first.position.x, "m"),
                  valueText(in.units, first.position.y, "m"))},
    };
    pages.table({QStringLiteral("Outcome"), QStringLiteral("Value")}, rows, {2, 2});
}

void fitSection(ReportPages& pages, const ReportInput& in, const Case& c, const ReportFit& fit) {
    const FitResult& r = fit.result;
    pages.heading(QStringLiteral("The fit to the tyre marks"));
    if (!r.refusal.empty()) {
        pages.paragraph(QStringLiteral("The fit is refused: %1.").arg(qs(r.refusal)));
        return;
    }
    pages.paragraph(QStringLiteral(
        "The launch whose wheel trails lie on the marks. Each quantity's 95% interval \"from the "
        "marks alone\" covers the survey's scatter and the friction's stated uncertainty; the "
        "interval \"95% over every stated uncertainty\" comes from the fit made again on draws of "
        "every spread and of the survey."));
    const bool drawn = fit.draws && fit.draws->ranges.size() == r.estimates.size();
    std::vector<QStringList> rows;
    for (std::size_t i = 0; i < r.estimates.size(); ++i) {
        const Estimate& e = r.estimates[i];
        const QuantityInfo& info = quantityInfo(e.quantity);
        QStringList row{qs(boxInfo(info.box).caption)};
        if (!e.value) {
            row << QStringLiteral("refused: %1").arg(qs(e.refusal)) << QString();
        } else {
            row << valueText(in.units, *e.value, info.unit)
                << rangeText(in.units, *e.low, *e.high, info.unit);
        }
        row << (drawn ? rangeText(in.units, fit.draws->ranges[i].low, fit.draws->ranges[i].high,
                                  info.unit)
                      : QStringLiteral("not made"));
        rows.push_back(row);
    }
    pages.table({QStringLiteral("Quantity"), QStringLiteral("Fitted"),
                 QStringLiteral("from the marks alone"),
                 QStringLiteral("95% over every stated uncertainty")},
                rows, {2.6, 1.2, 1.8, 1.8});
    QString text =
        QStringLiteral("RMS distance of the points to the fitted trails: %1, against "
                       "σ = %2. Solver: %3, after %4 simulations.")
            .arg(valueText(in.units, r.rms * 100, "cm"), valueText(in.units, r.sigma * 100, "cm"),
                 qs(terminationText(r.termination)), QString::number(r.simulations));
    if (drawn && fit.draws->refused > 0)
        text += QStringLiteral(" %1 of %2 draws gave no fit and are left out.")
                    .arg(fit.draws->refused)
                    .arg(fit.draws->done);
    pages.paragraph(text);
    if (r.outliers.empty()) {
        pages.paragraph(
            QStringLiteral("Outliers: none (no point further than 5σ from its trail)."));
    } else {
        for (const Outlier& o : r.outliers)
            pages.paragraph(
                QStringLiteral("Outlier: %1 point %2 lies %3 from its trail; the RMS and "
                               "the intervals leave it out.")
                    .arg(qs(wheelCode(o.wheel)))
                    .arg(o.point)
                    .arg(valueText(in.units, o.distance, "m")));
    }

    if (r.accepted()) {
        pages.subheading(QStringLiteral("The fitted launch over the marks"), 300);
        Run fitted;
        runToRest(fitted, r.fitted, false);
        pages.figure(280, [&](QPainter& p, const QRectF& area) {
            paintSkid(p, area, fitted.record(), fit.marks, in.units, &in.scene);
        });
    }
    // The fitted case stands for a launch only when every unknown was found.
    const Trails trails = r.accepted() ? simulateTrails(r.fitted, r.step) : Trails{};
    const double mu = c.car.friction, g = c.car.gravity;
    for (std::size_t i = 0; i < fit.marks.size(); ++i) {
        const Mark& m = fit.marks[i];
        const QString code = qs(wheelCode(m.wheel));
        pages.subheading(QStringLiteral("Mark %1").arg(code), 140);
        const auto residuals = markResiduals(m, trails.wheel[m.wheel]);
        if (!residuals.empty())
            pages.figure(130, [&](QPainter& p, const QRectF& area) {
                paintResiduals(p, area, residuals, m.sigma,
                               QStringLiteral("Residuals of mark %1: each point's distance to its "
                                              "trail (%2, left of the trail +)")
                                   .arg(code, qs(lengthName(in.units))),
                               in.units);
            });
        const auto& k = i < r.critical.size() ? r.critical[i] : std::nullopt;
        if (!k) {
            pages.paragraph(QStringLiteral("Critical-speed formula: the mark is too short or too "
                                           "straight for it."));
            continue;
        }
        QString formula =
            QStringLiteral("Critical-speed formula on the first %1 of the mark: R = C²/(8M) + M/2 "
                           "with chord C = %2 and middle ordinate M = %3 gives R = %4; "
                           "v = √(μ·g·R) with μ = %5, g = %6 m/s² gives v = %7. ")
                .arg(valueText(in.units, kCriticalChord, "m", 0),
                     valueText(in.units, k->chord, "m"),
                     valueText(in.units, k->ordinate * 100, "cm"),
                     valueText(in.units, k->radius, "m"), qs(fixedText(mu, 3)), qs(fixedText(g, 2)),
                     valueText(in.units, k->speed, "m/s"));
        formula += k->high ? QStringLiteral("With M ± 2σ: from %1.")
                                 .arg(rangeText(in.units, k->low, *k->high, "m/s"))
                           : QStringLiteral("M is within 2σ of 0, so the mark may be straight: "
                                            "at least %1, with no upper bound.")
                                 .arg(valueText(in.units, k->low, "m/s"));
        pages.paragraph(formula);
    }
}

void monteCarloSection(ReportPages& pages, const ReportInput& in, const ReportMonteCarlo& mc) {
    pages.heading(QStringLiteral("Monte Carlo"));
    const auto table = summarise(mc.run);
    const std::uint64_t draws = mc.run.draws.size(), refused = mc.run.refused();
    QString varied;
    for (int box : mc.run.varied)
        varied += (varied.isEmpty() ? QString() : QStringLiteral(", ")) +
                  qs(boxInfo(box, in.file.form).caption);
    pages.paragraph(QStringLiteral("%1 runs to rest, seed %2, each drawing %3 from its spread. "
                                   "%4 draws had no outcome. The ranges hold 95% of the draws over "
                                   "the spreads stated: not boxes without a spread, nor what the "
                                   "model leaves out.")
                        .arg(draws)
                        .arg(mc.seed)
                        .arg(varied)
                        .arg(refused));
    std::vector<QStringList> rows;
    std::array<std::vector<double>, kOutcomeCount> values;
    for (const DrawResult& d : mc.run.draws)
        for (int i = 0; i < kOutcomeCount && d.outcome; ++i)
            values[i].push_back(shown(in.units, outcomeValue(*d.outcome, i), outcomeUnit(i)).value);
    static const std::array<const char*, kOutcomeCount> names{
        "Rest x", "Rest y", "Distance slid", "Angle turned (clockwise)", "Time to rest"};
    for (int i = 0; i < kOutcomeCount; ++i) {
        const Percentiles& p = table[i];
        const std::string_view unit = outcomeUnit(i);
        QStringList row{QLatin1String(names[i])};
        for (double v : {p.p2_5, p.p50, p.p97_5, p.mean, p.sd})
            row << qs(fixedText(shown(in.units, v, unit).value, 2));
        row << qs(shown(in.units, 0, unit).unit);
        rows.push_back(row);
    }
    pages.table({QStringLiteral("Outcome"), QStringLiteral("2.5%"), QStringLiteral("50%"),
                 QStringLiteral("97.5%"), QStringLiteral("Mean"), QStringLiteral("SD"),
                 QStringLiteral("Unit")},
                rows, {2.6, 1, 1, 1, 1, 1, 0.6});
    // Three histograms a row.
    for (int first = 0; first < kOutcomeCount; first += 3) {
        pages.figure(110, [&](QPainter& p, const QRectF& area) {
            const double w = area.width() / 3;
            for (int i = first; i < std::min(first + 3, kOutcomeCount); ++i)
                paintHistogram(
                    p, QRectF(area.left() + w * (i - first), area.top(), w - 8, area.height()),
                    values[i],
                    QStringLiteral("%1 (%2)").arg(QLatin1String(names[i]),
                                                  qs(shown(in.units, 0, outcomeUnit(i)).unit)));
        });
    }
}

void limits(ReportPages& pages, const ReportInput& in, const Case& c, const RunOutcome& r) {
    pages.heading(QStringLiteral("The model and its limits"));
    const QStringList items{
        QStringLiteral("Two dimensions: a rigid car seen from above on a flat, level road; no "
                       "slope, camber, kerb or roll."),
        QStringLiteral("No weight transfer: the weight is split statically between the axles by "
                       "box 3 and stays so while the car brakes and turns."),
        QStringLiteral("Rear wheels fully locked from the pull to rest; the front wheels roll "
                       "freely with the steering of the turn held."),
        QStringLiteral("Coulomb friction, constant over the skid: one coefficient μ = %1 for every "
                       "wheel, whatever the speed, the load or the surface along the way.")
            .arg(qs(fixedText(c.car.friction, 3))),
        QStringLiteral("Gravity and tyre friction are the only forces: no air drag, no rolling "
                       "resistance, no collision."),
        r.restError
            ? QStringLiteral("Integration step: %1 ms. The rest position it gives is good to about "
                             "%2 (twice the distance it moves when the step is halved).")
                  .arg(QString::number(c.run.timeStep * 1000),
                       qs(smallLengthText(*r.restError, in.units)))
            : QStringLiteral("Integration step: %1 ms; the car does not come to rest, so the "
                             "error of its rest position is not known.")
                  .arg(QString::number(c.run.timeStep * 1000)),
    };
    for (const QString& item : items)
        pages.paragraph(QStringLiteral("• ") + item);
}

} // namespace

std::optional<std::string> reportProblem(const ReportInput& in) {
    auto prepared = prepareDraw(in.file.texts, in.file.autos, in.file.form);
    if (auto* problem = std::get_if<BoxProblem>(&prepared))
        return boxMessage(*problem, in.file.form);
    return std::nullopt;
}

std::optional<std::string> paintReport(QPagedPaintDevice& device, QPainter& painter,
                                       const ReportInput& in) {
    auto prepared = prepareDraw(in.file.texts, in.file.autos, in.file.form);
    if (auto* problem = std::get_if<BoxProblem>(&prepared))
        return boxMessage(*problem, in.file.form);
    const Case c = std::get<Prepared>(prepared).c;
    RunOutcome outcome;
    runToRest(outcome.run, c, in.file.autoSnapshot);
    outcome.readout = readout(outcome.run.record());
    outcome.restError = restError(c);

    const std::string caseText = io::caseText(in.file);
    const QByteArray asRun = QByteArray::fromStdString(caseText);
    ReportPages pages(device, painter,
                      QStringLiteral("Yawmark %1 · %2").arg(in.version, in.caseName));
    titleBlock(pages, in, asRun);
    inputs(pages, in);
    const std::vector<Mark>& marks = in.fit ? in.fit->marks : in.file.marks;
    runSection(pages, in, outcome, marks);
    if (in.fit) fitSection(pages, in, c, *in.fit);
    if (in.monteCarlo) monteCarloSection(pages, in, *in.monteCarlo);
    limits(pages, in, c, outcome);

    pages.newPage();
    pages.heading(QStringLiteral("Appendix A: the case as run"));
    pages.paragraph(QStringLiteral("The case file's text: saved as a .yawmark file, it opens in "
                                   "Yawmark and in yawmark-batch and draws this run again."));
    pages.monospace(QString::fromStdString(caseText));
    if (in.fit && !in.marksBytes.isEmpty()) {
        pages.heading(QStringLiteral("Appendix B: the marks"));
        pages.paragraph(QStringLiteral("The marks file %1 as read (CSV wheel,x,y in metres), "
                                       "four lines of it a line here, read across.")
                            .arg(in.marksName));
        const QStringList lines =
            QString::fromUtf8(in.marksBytes).trimmed().split(QLatin1Char('\n'));
        QString text;
        for (qsizetype i = 0; i < lines.size(); ++i)
            text += lines[i].trimmed().leftJustified(24) +
                    (i % 4 == 3 ? QStringLiteral("\n") : QString());
        pages.monospace(text.trimmed());
    }
    pages.finish();
    return std::nullopt;
}

} // namespace yawmark::report
