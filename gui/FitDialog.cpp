// SPDX-License-Identifier: MIT
#include "gui/FitDialog.h"

#include "gui/CaseDocument.h"
#include "gui/DesignForm.h"
#include "gui/ParameterPanel.h"
#include "gui/SensitivityChart.h"
#include "gui/WorkerProgress.h"
#include "sim/NumberText.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace yawmark {

namespace {

using model::Quantity;

QString qs(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QString quantityName(Quantity q) {
    switch (q) {
    case Quantity::Speed:
        return QStringLiteral("Speed");
    case Quantity::YawRate:
        return QStringLiteral("Yaw rate");
    case Quantity::TurnRadius:
        return QStringLiteral("Turning radius");
    case Quantity::RelativeDirection:
        return QStringLiteral("Relative direction");
    case Quantity::Direction:
        return QStringLiteral("Direction");
    case Quantity::StartX:
        return QStringLiteral("Start x");
    case Quantity::StartY:
        return QStringLiteral("Start y");
    }
    return {};
}

// Four significant digits are more than any fit knows.
QString shown(std::optional<double> value) {
    return value && std::isfinite(*value) ? QString::number(*value, 'g', 4) : QString();
}

// An estimate to the decimals that keep two digits of its interval's width.
QString shown(std::optional<double> value, const model::Estimate& e) {
    if (!value || !std::isfinite(*value) || !e.low || !e.high || !(*e.high - *e.low > 0) ||
        !std::isfinite(*e.high - *e.low))
        return shown(value);
    const int decimals =
        std::clamp(1 - static_cast<int>(std::floor(std::log10(*e.high - *e.low))), 0, 6);
    // No "-0.00" for a value that rounds to 0.
    const bool zero = std::round(*value * std::pow(10.0, decimals)) == 0;
    return QString::number(zero ? 0.0 : *value, 'f', decimals);
}

QTableWidget* table(QWidget* parent, const char* name, const QStringList& headers) {
    auto* t = new QTableWidget(0, static_cast<int>(headers.size()), parent);
    t->setObjectName(QLatin1String(name));
    t->setHorizontalHeaderLabels(headers);
    t->verticalHeader()->hide();
    t->setEditTriggers(QAbstractItemView::NoEditTriggers);
    t->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    t->verticalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    return t;
}

// Cells of row `row` from column 0; a cell of a text that spans the rest.
void setRow(QTableWidget* t, int row, const QStringList& cells, const QString& spanning = {}) {
    t->setRowCount(std::max(t->rowCount(), row + 1));
    for (int c = 0; c < cells.size(); ++c)
        t->setItem(row, c, new QTableWidgetItem(cells[c]));
    if (spanning.isEmpty()) return;
    t->setItem(row, static_cast<int>(cells.size()), new QTableWidgetItem(spanning));
    t->setSpan(row, static_cast<int>(cells.size()), 1,
               t->columnCount() - static_cast<int>(cells.size()));
}

} // namespace

FitDialog::FitDialog(QWidget* window, ParameterPanel& panel, const CaseDocument& document)
    : QDialog(window), panel_(panel), document_(document) {
    setObjectName(QStringLiteral("dlgFit"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Fit to Marks"));
    setFont(DesignForm::font());

    cboUnknowns_ = new QComboBox(this);
    cboUnknowns_->setObjectName(QStringLiteral("cboUnknowns"));
    cboUnknowns_->addItems({QStringLiteral("Speed only"), QStringLiteral("Speed and yaw rate"),
                            QStringLiteral("Everything: speed, yaw rate, turning radius, "
                                           "directions and start")});
    // What the marks said before: their σ and flags, the survey's 5 cm for new ones.
    const std::vector<model::Mark>& marks = document_.file().marks;
    const model::Mark first = marks.empty() ? model::Mark{} : marks.front();
    txtSigma_ = new QLineEdit(QString::fromStdString(formatNumber(first.sigma)), this);
    txtSigma_->setObjectName(QStringLiteral("txtSigma"));
    txtMu_ = new QLineEdit(QStringLiteral("0.05"), this);
    txtMu_->setObjectName(QStringLiteral("txtMuUncertainty"));
    cboIntervals_ = new QComboBox(this);
    cboIntervals_->setObjectName(QStringLiteral("cboIntervals"));
    cboIntervals_->addItems({QStringLiteral("From the marks alone"),
                             QStringLiteral("95% over every stated uncertainty")});
    cboIntervals_->setToolTip(QStringLiteral(
        "From the marks alone: the range within which the misfit stays within the survey's "
        "noise, widened by μ's uncertainty. Over every stated uncertainty: the fit made again "
        "on draws of every box's spread (Spread... on the box) and of the survey, each point "
        "scattered by σ; μ without a spread varies by its uncertainty here."));
    txtDraws_ = new QLineEdit(QString::number(model::kDefaultFitDraws), this);
    txtDraws_->setObjectName(QStringLiteral("txtDraws"));
    const auto showDraws = [this] { txtDraws_->setEnabled(cboIntervals_->currentIndex() == 1); };
    showDraws();
    connect(cboIntervals_, &QComboBox::currentIndexChanged, this, showDraws);
    auto* intervals = new QHBoxLayout;
    intervals->addWidget(cboIntervals_, 1);
    intervals->addWidget(new QLabel(QStringLiteral("Draws:"), this));
    intervals->addWidget(txtDraws_);
    txtDraws_->setMaximumWidth(64);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Unk&nowns:"), cboUnknowns_);
    form->addRow(QStringLiteral("σ of the sur&vey (m):"), txtSigma_);
    form->addRow(QStringLiteral("&Uncertainty of μ:"), txtMu_);
    auto* intervalsLabel = new QLabel(QStringLiteral("&Intervals:"), this);
    intervalsLabel->setBuddy(cboIntervals_);
    form->addRow(intervalsLabel, intervals);
    chkStartsAtPull_ = new QCheckBox(QStringLiteral("Marks &start at the handbrake pull"), this);
    chkStartsAtPull_->setObjectName(QStringLiteral("chkStartsAtPull"));
    chkStartsAtPull_->setChecked(first.startsAtPull);
    chkEndsAtRest_ = new QCheckBox(QStringLiteral("Marks &end where the car came to rest"), this);
    chkEndsAtRest_->setObjectName(QStringLiteral("chkEndsAtRest"));
    chkEndsAtRest_->setChecked(first.endsAtRest);
    // Fitting everything is refused unless a mark ends at rest: said beside the box.
    auto* endsAtRestNeeded = new QLabel(QStringLiteral("(needed to fit everything)"), this);
    endsAtRestNeeded->setObjectName(QStringLiteral("lblEndsAtRestNeeded"));
    const auto showNeed = [this, endsAtRestNeeded] {
        endsAtRestNeeded->setHidden(cboUnknowns_->currentIndex() !=
                                    static_cast<int>(model::Unknowns::All));
    };
    showNeed();
    connect(cboUnknowns_, &QComboBox::currentIndexChanged, this, showNeed);

    const auto button = [this](const char* name, const QString& text) {
        auto* b = new QPushButton(text, this);
        b->setObjectName(QLatin1String(name));
        b->setAutoDefault(true);
        return b;
    };
    cmdFit_ = button("cmdFit", QStringLiteral("&Fit"));
    cmdFit_->setDefault(true);
    cmdCancel_ = button("cmdCancel", QStringLiteral("&Cancel"));
    cmdApply_ = button("cmdApply", QStringLiteral("&Apply"));
    cmdClose_ = button("cmdClose", QStringLiteral("Close"));
    prgFit_ = new QProgressBar(this);
    progress_ = std::make_unique<WorkerProgress>(prgFit_);
    prgFit_->setObjectName(QStringLiteral("prgFit"));
    prgFit_->setRange(0, 100);
    prgFit_->setValue(0);

    tblEstimates_ = table(this, "tblEstimates",
                          {QStringLiteral("Quantity"), QStringLiteral("Value"),
                           QStringLiteral("Low"), QStringLiteral("High"), QStringLiteral("Unit")});
    lblSummary_ = new QLabel(this);
    lblSummary_->setObjectName(QStringLiteral("lblFitSummary"));
    lblSummary_->setWordWrap(true);
    lblSummary_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    tblCritical_ = table(this, "tblCritical",
                         {QStringLiteral("Mark"), QStringLiteral("C (m)"), QStringLiteral("M (m)"),
                          QStringLiteral("R (m)"), QStringLiteral("Formula (m/s)"),
                          QStringLiteral("Fitted (m/s)")});
    tblCritical_->setToolTip(
        QStringLiteral("The critical-speed formula on the first %1 m of each mark: v = √(μ·g·R), "
                       "R = C²/(8M) + M/2 from the chord C and its middle ordinate M; none where "
                       "M is within 2σ of 0.")
            .arg(model::kCriticalChord));

    auto* run = new QHBoxLayout;
    run->addWidget(cmdFit_);
    run->addWidget(prgFit_, 1);
    run->addWidget(cmdCancel_);
    auto* end = new QHBoxLayout;
    end->addStretch(1);
    end->addWidget(cmdApply_);
    end->addWidget(cmdClose_);
    auto* all = new QVBoxLayout(this);
    all->addLayout(form);
    all->addWidget(chkStartsAtPull_);
    auto* endsAtRest = new QHBoxLayout;
    endsAtRest->addWidget(chkEndsAtRest_);
    endsAtRest->addWidget(endsAtRestNeeded, 1);
    all->addLayout(endsAtRest);
    all->addLayout(run);
    all->addWidget(tblEstimates_, 2);
    sensitivity_ = new SensitivityChart(this);
    sensitivity_->hide();
    all->addWidget(lblSummary_);
    all->addWidget(sensitivity_);
    all->addWidget(tblCritical_, 1);
    all->addLayout(end);
    resize(560, 520);

    connect(cmdFit_, &QPushButton::clicked, this, &FitDialog::fit);
    connect(cmdCancel_, &QPushButton::clicked, this, &FitDialog::cancelFit);
    connect(cmdApply_, &QPushButton::clicked, this, &FitDialog::apply);
    connect(cmdClose_, &QPushButton::clicked, this, &FitDialog::close);
    showBusy(false);
}

FitDialog::~FitDialog() {
    stopWorker();
}

void FitDialog::showBusy(bool busy) {
    cmdFit_->setEnabled(!busy);
    cmdCancel_->setEnabled(busy);
    cmdApply_->setEnabled(!busy && result_ && result_->accepted() && !result_->cancelled);
}

void FitDialog::refuseField(QLineEdit* field, const QString& text) {
    lblSummary_->setText(text);
    field->setFocus();
    field->selectAll();
}

void FitDialog::fit() {
    if (fitting()) return;
    const std::vector<model::Mark>& marks = document_.file().marks;
    if (marks.empty()) {
        lblSummary_->setText(QStringLiteral(
            "There are no tyre marks to fit: import them with File > Import Tyre Marks first."));
        return;
    }
    const auto sigma = parseNumber(txtSigma_->text().toStdString());
    if (!sigma || !model::sigmaInRange(*sigma))
        return refuseField(txtSigma_, QStringLiteral("σ must be a number of metres from %1 to "
                                                     "%2, not \"%3\".")
                                          .arg(model::kMinMarkSigma)
                                          .arg(model::kMaxMarkSigma)
                                          .arg(txtSigma_->text()));
    const auto mu = parseNumber(txtMu_->text().toStdString());
    if (!mu || *mu < 0)
        return refuseField(txtMu_, QStringLiteral("The uncertainty of μ must be a number, 0 or "
                                                  "more, not \"%1\".")
                                       .arg(txtMu_->text()));
    const bool drawn = cboIntervals_->currentIndex() == 1;
    const auto count = parseNumber(txtDraws_->text().toStdString());
    if (drawn && !(count && *count >= 1 && *count <= double(model::kMaxFitDraws) &&
                   *count == std::floor(*count)))
        return refuseField(txtDraws_, QStringLiteral("Draws must be a whole number from 1 to %1, "
                                                     "not \"%2\".")
                                          .arg(model::kMaxFitDraws)
                                          .arg(txtDraws_->text()));
    // The case Draw would run, the boxes left as they are.
    ParameterPanel& panel = panel_;
    const auto prepared =
        model::prepareDraw(panel.texts(), panel.autoCalculate(), panel.inertiaForm());
    if (const auto* problem = std::get_if<model::BoxProblem>(&prepared)) {
        lblSummary_->setText(QStringLiteral("Nothing fitted: a box Draw would refuse."));
        panel.showProblem(*problem);
        return;
    }
    const model::Case c = std::get<model::Prepared>(prepared).c;
    fitted_ = marks;
    for (model::Mark& m : fitted_) {
        m.sigma = *sigma;
        m.startsAtPull = chkStartsAtPull_->isChecked();
        m.endsAtRest = chkEndsAtRest_->isChecked();
    }
    model::FitSettings settings;
    settings.unknowns =
        static_cast<model::Unknowns>(std::clamp(cboUnknowns_->currentIndex(), 0, 2));
    settings.muUncertainty = *mu;
    settings.yawFollowsSpeed = panel.autoCalculate().normal;
    if (const auto problem = model::fitInputProblem(c, fitted_, settings)) {
        lblSummary_->setText(QStringLiteral("Nothing fitted: %1.").arg(qs(*problem)));
        return;
    }

    result_.reset();
    draws_.reset();
    sensitivity_->hide();
    tblEstimates_->clearContents(), tblEstimates_->setRowCount(0);
    tblCritical_->clearContents(), tblCritical_->setRowCount(0);
    lblSummary_->setText(QStringLiteral("Fitting..."));
    progress_->start();
    showBusy(true);
    // With draws, the fit takes the first fifth of the bar and the draws the rest.
    const double fitShare = drawn ? 0.2 : 1;
    model::FitProgress progress = [this](double share) { return progress_->report(share); };
    const model::FitDrawSettings drawSettings{drawn ? static_cast<std::uint64_t>(*count) : 0,
                                              document_.seed().value_or(1), 0};
    worker_ = std::thread([this, c, marks = fitted_, settings, drawSettings, fitShare,
                           texts = panel.texts(), autos = panel.autoCalculate(),
                           form = panel.inertiaForm(), spreads = document_.file().spreads,
                           progress = std::move(progress)] {
        model::FitResult r;
        std::optional<model::FitDraws> draws;
        QString problem;
        try {
            r = model::fitMarks(c, marks, settings,
                                [&](double share) { return progress(share * fitShare); });
            if (drawSettings.draws > 0 && r.accepted()) {
                if (auto p = model::fitDrawsProblem(texts, autos, form, spreads, r, drawSettings))
                    problem = qs(*p);
                else
                    draws = model::fitDraws(texts, autos, form, spreads, marks, settings, r,
                                            drawSettings, [&](double share) {
                                                return progress(fitShare + share * (1 - fitShare));
                                            });
            }
        } catch (const std::exception& e) {
            r = {};
            r.refusal = std::string("the fit could not be completed (") + e.what() + ").";
        }
        QMetaObject::invokeMethod(
            this, [this, r, draws, problem] { fitCame(r, draws, problem); },
            Qt::QueuedConnection);
    });
}

void FitDialog::cancelFit() {
    progress_->cancel();
}

void FitDialog::stopWorker() {
    progress_->cancel();
    if (worker_.joinable()) worker_.join();
}

void FitDialog::fitCame(const model::FitResult& r, const std::optional<model::FitDraws>& draws,
                        const QString& drawsProblem) {
    if (worker_.joinable()) worker_.join(); // it has posted its result and is ending
    result_ = r;
    draws_ = draws;
    drawsProblem_ = drawsProblem;
    showResult(r);
    showBusy(false);
    emit fitFinished();
}

void FitDialog::setUnits(model::Units units) {
    units_ = units;
    const QString length = qs(model::lengthName(units));
    const QString speed = units == model::Units::US ? QStringLiteral("mph") : QStringLiteral("m/s");
    tblCritical_->setHorizontalHeaderLabels(
        {QStringLiteral("Mark"), QStringLiteral("C (%1)").arg(length),
         QStringLiteral("M (%1)").arg(length), QStringLiteral("R (%1)").arg(length),
         QStringLiteral("Formula (%1)").arg(speed), QStringLiteral("Fitted (%1)").arg(speed)});
    if (result_) showResult(*result_);
}

void FitDialog::showResult(const model::FitResult& r) {
    // Lengths and speeds in the units the window shows.
    const auto in = [this](std::optional<double> v, std::string_view unit) {
        return v ? std::optional(model::shown(units_, *v, unit).value) : v;
    };
    std::optional<double> speed;
    // With draws: their interval first, the marks' own after it, as the batch runner prints them.
    const bool drawn = draws_ && !draws_->cancelled && draws_->ranges.size() == r.estimates.size();
    QStringList headers{QStringLiteral("Quantity"), QStringLiteral("Value"), QStringLiteral("Low"),
                        QStringLiteral("High"), QStringLiteral("Unit")};
    if (drawn) headers << QStringLiteral("Marks low") << QStringLiteral("Marks high");
    tblEstimates_->setColumnCount(static_cast<int>(headers.size()));
    tblEstimates_->setHorizontalHeaderLabels(headers);
    for (int i = 0; i < static_cast<int>(r.estimates.size()); ++i) {
        model::Estimate e = r.estimates[i];
        const std::string_view unit = model::quantityInfo(e.quantity).unit;
        if (e.quantity == Quantity::Speed) speed = e.value;
        e.value = in(e.value, unit), e.low = in(e.low, unit), e.high = in(e.high, unit);
        const QString name = quantityName(e.quantity);
        if (e.value && std::isfinite(*e.value) && drawn) {
            model::Estimate d = e;
            d.low = in(draws_->ranges[i].low, unit), d.high = in(draws_->ranges[i].high, unit);
            setRow(tblEstimates_, i,
                   {name, shown(d.value, d), shown(d.low, d), shown(d.high, d),
                    qs(model::shown(units_, 0, unit).unit), shown(e.low, d), shown(e.high, d)});
        } else if (e.value && std::isfinite(*e.value))
            setRow(tblEstimates_, i,
                   {name, shown(e.value, e), shown(e.low, e), shown(e.high, e),
                    qs(model::shown(units_, 0, unit).unit)});
        else
            setRow(tblEstimates_, i, {name}, qs(e.refusal.empty() ? "not found" : e.refusal));
    }
    // The formula reads the marks alone: it is shown whatever became of the fit.
    for (int i = 0; i < static_cast<int>(r.critical.size()); ++i) {
        const QString mark = QStringLiteral("%1 %2").arg(i + 1).arg(
            i < static_cast<int>(fitted_.size()) ? qs(model::wheelCode(fitted_[i].wheel))
                                                 : QString());
        const auto& k = r.critical[i];
        if (k && !k->high) // M within 2σ of 0: the mark may be straight, R unbounded
            setRow(tblCritical_, i, {mark, shown(in(k->chord, "m")), shown(in(k->ordinate, "m"))},
                   QStringLiteral("too straight for the formula: M is within 2σ of 0"));
        else if (k)
            setRow(tblCritical_, i,
                   {mark, shown(in(k->chord, "m")), shown(in(k->ordinate, "m")),
                    shown(in(k->radius, "m")), shown(in(k->speed, "m/s")),
                    shown(in(speed, "m/s"))});
        else
            setRow(tblCritical_, i, {mark}, QStringLiteral("too short or too straight"));
    }
    if (!r.refusal.empty())
        return lblSummary_->setText(QStringLiteral("The marks cannot be fitted: ") + qs(r.refusal));
    if (r.cancelled) return lblSummary_->setText(QStringLiteral("Cancelled: nothing was fitted."));
    prgFit_->setValue(100);
    QString summary =
        QStringLiteral("RMS distance of the points to the fitted trails %1 %5 against σ %2 %5; "
                       "%3 simulations at a step of %4 ms.")
            .arg(shown(in(r.rms, "m")), shown(in(r.sigma, "m")))
            .arg(r.simulations)
            .arg(shown(r.step * 1000))
            .arg(qs(model::lengthName(units_)));
    summary +=
        QStringLiteral(" The solver stopped: %1.").arg(qs(model::terminationText(r.termination)));
    // The points far off their trails, which the RMS and the intervals leave out.
    QStringList outliers;
    for (const model::Outlier& o : r.outliers)
        outliers << QStringLiteral("%1 point %2, %3 %4 from its trail")
                        .arg(qs(model::wheelCode(o.wheel)))
                        .arg(o.point)
                        .arg(shown(in(o.distance, "m")), qs(model::lengthName(units_)));
    constexpr qsizetype kListed = 5;
    if (outliers.size() > kListed)
        outliers = outliers.mid(0, kListed)
                   << QStringLiteral("%1 more").arg(r.outliers.size() - kListed);
    if (!outliers.isEmpty())
        summary += QStringLiteral(" Left out as outliers: ") + outliers.join(QStringLiteral("; ")) +
                   QStringLiteral(".");
    if (!r.accepted())
        summary +=
            QStringLiteral(" Not every unknown could be found, so there is nothing to apply.");
    if (drawn) {
        summary += QStringLiteral(" Low and high: 95% over every stated uncertainty, from %1 "
                                  "draws (seed %2); marks low and high: from the marks alone.")
                       .arg(draws_->done)
                       .arg(document_.seed().value_or(1));
        if (draws_->refused > 0)
            summary += QStringLiteral(" %1 draws gave no fit, the first: %2")
                           .arg(draws_->refused)
                           .arg(qs(draws_->problem));
    } else if (draws_ && draws_->cancelled) {
        summary += QStringLiteral(" The draws were cancelled: the intervals are from the marks "
                                  "alone.");
    } else if (!drawsProblem_.isEmpty()) {
        summary += QStringLiteral(" No draws: ") + drawsProblem_ +
                   QStringLiteral(" The intervals are from the marks alone.");
    }
    sensitivity_->setVisible(drawn && !draws_->sensitivity.empty() && speed);
    if (sensitivity_->isVisible())
        sensitivity_->setRows(draws_->sensitivity, *speed, units_, panel_.inertiaForm());
    lblSummary_->setText(summary);
}

void FitDialog::apply() {
    if (fitting() || !result_ || !result_->accepted() || result_->cancelled) return;
    // The boxes as the batch runner writes them; Auto Calculate of the yaw
    // rate unticked when Draw would write over what was fitted.
    // Onto the boxes as Draw would show them, so that unticking Auto
    // Calculate keeps the relative direction and yaw rate it computed.
    ParameterPanel& panel = panel_;
    model::BoxTexts texts = panel.texts();
    model::AutoCalculate autos = panel.autoCalculate();
    const auto prepared = model::prepareDraw(texts, autos, panel.inertiaForm());
    if (const auto* p = std::get_if<model::Prepared>(&prepared)) texts = p->texts;
    model::applyFit(*result_, texts, autos);
    emit applied(texts, autos.normal, fitted_);
}

void FitDialog::done(int r) {
    stopWorker();
    QDialog::done(r);
}

} // namespace yawmark
