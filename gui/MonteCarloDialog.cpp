// SPDX-License-Identifier: MIT
#include "gui/MonteCarloDialog.h"

#include "gui/CaseDocument.h"
#include "gui/DesignForm.h"
#include "gui/HistogramView.h"
#include "gui/PlotController.h"
#include "gui/SpreadDialog.h"
#include "gui/WorkerProgress.h"
#include "model/Run.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRandomGenerator>
#include <QTableWidget>
#include <QUndoStack>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>
#include <memory>

namespace yawmark {

namespace {

QString qs(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// The five outcomes as the table names them.
const QString kOutcomeNames[model::kOutcomeCount] = {
    QStringLiteral("Rest x"), QStringLiteral("Rest y"), QStringLiteral("Distance slid"),
    QStringLiteral("Angle turned"), QStringLiteral("Time to rest")};

// Most points kept of a sampled trail: enough for a smooth curve at any zoom a skid needs.
constexpr std::size_t kTrailPoints = 400;

// The mass centre's path of one drawn case, run to rest as the draws are.
std::vector<sim::Vec2> trailOf(const model::Case& c, std::uint64_t maxPasses) {
    model::Run run;
    run.setRecording(false);
    run.start(c);
    std::vector<sim::Vec2> path{run.body().position};
    for (std::uint64_t n = 0; n < maxPasses && run.phase() == model::Phase::Running; ++n) {
        if (!run.pass(nullptr, false)) break;
        path.push_back(run.body().position);
    }
    if (path.size() <= kTrailPoints) return path;
    std::vector<sim::Vec2> kept;
    const double stride = double(path.size() - 1) / double(kTrailPoints - 1);
    for (std::size_t k = 0; k < kTrailPoints; ++k)
        kept.push_back(
            path[static_cast<std::size_t>(std::lround(static_cast<double>(k) * stride))]);
    return kept;
}

} // namespace

MonteCarloDialog::MonteCarloDialog(QWidget* window, CaseDocument& document, PlotController& plotter)
    : QDialog(window), document_(document), plotter_(plotter) {
    setObjectName(QStringLiteral("dlgMonteCarlo"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Monte Carlo"));
    setFont(DesignForm::font());
    const auto button = [this](const char* name, const QString& text) {
        auto* b = new QPushButton(text, this);
        b->setObjectName(QLatin1String(name));
        b->setAutoDefault(false);
        return b;
    };
    const auto table = [this](const char* name, const QStringList& headers) {
        auto* t = new QTableWidget(0, static_cast<int>(headers.size()), this);
        t->setObjectName(QLatin1String(name));
        t->setHorizontalHeaderLabels(headers);
        t->verticalHeader()->hide();
        t->setEditTriggers(QAbstractItemView::NoEditTriggers);
        t->verticalHeader()->setDefaultSectionSize(t->fontMetrics().height() + 4);
        return t;
    };

    // The boxes and their spreads.
    tblSpreads_ = table("tblSpreads",
                        {QStringLiteral("Box"), QStringLiteral("Value"), QStringLiteral("Spread")});
    tblSpreads_->setSelectionBehavior(QAbstractItemView::SelectRows);
    tblSpreads_->setSelectionMode(QAbstractItemView::SingleSelection);
    tblSpreads_->setWordWrap(false);
    tblSpreads_->setTextElideMode(Qt::ElideRight);
    tblSpreads_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    tblSpreads_->horizontalHeader()->resizeSection(0, 200);
    tblSpreads_->horizontalHeader()->resizeSection(1, 72);
    tblSpreads_->horizontalHeader()->setStretchLastSection(true);
    cmdSpread_ = button("cmdSpread", QStringLiteral("&Spread..."));
    cmdClearSpread_ = button("cmdClearBoxSpread", QStringLiteral("C&lear Spread"));

    txtDraws_ = new QLineEdit(QString::number(kDefaultDraws), this);
    txtDraws_->setObjectName(QStringLiteral("txtDraws"));
    // The case's seed, or a new one: shown, so that a run can be made again.
    const std::uint64_t seed =
        document_.seed().value_or(QRandomGenerator::global()->bounded(1u, 1000000000u));
    txtSeed_ = new QLineEdit(QString::number(seed), this);
    txtSeed_->setObjectName(QStringLiteral("txtSeed"));
    cmdNewSeed_ = button("cmdNewSeed", QStringLiteral("&New"));
    cmdNewSeed_->setToolTip(QStringLiteral("A new random seed"));
    cmdRun_ = button("cmdRun", QStringLiteral("&Run"));
    cmdRun_->setDefault(true);
    cmdCancel_ = button("cmdCancel", QStringLiteral("&Cancel"));
    prgRun_ = new QProgressBar(this);
    progress_ = std::make_unique<WorkerProgress>(prgRun_);
    prgRun_->setObjectName(QStringLiteral("prgRun"));
    prgRun_->setRange(0, 100);
    prgRun_->setValue(0);

    tblResults_ =
        table("tblResults", {QStringLiteral("Quantity"), QStringLiteral("2.5%"),
                             QStringLiteral("50%"), QStringLiteral("97.5%"), QStringLiteral("Mean"),
                             QStringLiteral("SD"), QStringLiteral("Unit")});
    tblResults_->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    tblResults_->horizontalHeader()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    tblResults_->setRowCount(model::kOutcomeCount);
    tblResults_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    tblResults_->setFixedHeight(
        tblResults_->horizontalHeader()->sizeHint().height() +
        model::kOutcomeCount * tblResults_->verticalHeader()->defaultSectionSize() + 4);
    for (int i = 0; i < model::kOutcomeCount; ++i)
        tblResults_->setItem(i, 0, new QTableWidgetItem(kOutcomeNames[i]));
    histograms_ = new HistogramView(this);
    lblSummary_ = new QLabel(this);
    lblSummary_->setObjectName(QStringLiteral("lblMonteCarloSummary"));
    lblSummary_->setWordWrap(true);
    lblSummary_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    cmdClearResults_ = button("cmdClearResults", QStringLiteral("Clear Res&ults"));
    cmdClose_ = button("cmdClose", QStringLiteral("Close"));

    auto* spreadButtons = new QVBoxLayout;
    spreadButtons->addWidget(cmdSpread_);
    spreadButtons->addWidget(cmdClearSpread_);
    spreadButtons->addStretch(1);
    auto* top = new QHBoxLayout;
    top->addWidget(tblSpreads_, 1);
    top->addLayout(spreadButtons);
    auto* settingsRow = new QHBoxLayout;
    auto* drawsLabel = new QLabel(QStringLiteral("&Draws:"), this);
    drawsLabel->setBuddy(txtDraws_);
    auto* seedLabel = new QLabel(QStringLiteral("S&eed:"), this);
    seedLabel->setBuddy(txtSeed_);
    settingsRow->addWidget(drawsLabel);
    settingsRow->addWidget(txtDraws_, 1);
    settingsRow->addSpacing(12);
    settingsRow->addWidget(seedLabel);
    settingsRow->addWidget(txtSeed_, 2);
    settingsRow->addWidget(cmdNewSeed_);
    auto* runRow = new QHBoxLayout;
    runRow->addWidget(cmdRun_);
    runRow->addWidget(prgRun_, 1);
    runRow->addWidget(cmdCancel_);
    auto* end = new QHBoxLayout;
    end->addStretch(1);
    end->addWidget(cmdClearResults_);
    end->addWidget(cmdClose_);
    auto* all = new QVBoxLayout(this);
    all->addLayout(top, 1);
    all->addLayout(settingsRow);
    all->addLayout(runRow);
    all->addWidget(tblResults_);
    all->addWidget(histograms_, 1);
    all->addWidget(lblSummary_);
    all->addLayout(end);
    resize(580, 600);

    fillBoxTable();
    connect(&document_, &CaseDocument::spreadsChanged, this, &MonteCarloDialog::fillBoxTable);
    connect(document_.undoStack(), &QUndoStack::indexChanged, this,
            &MonteCarloDialog::fillBoxTable);
    connect(cmdSpread_, &QPushButton::clicked, this, [this] { editSpread(false); });
    connect(cmdClearSpread_, &QPushButton::clicked, this, [this] { editSpread(true); });
    connect(tblSpreads_, &QTableWidget::cellDoubleClicked, this, [this] { editSpread(false); });
    connect(cmdNewSeed_, &QPushButton::clicked, this, [this] {
        txtSeed_->setText(QString::number(QRandomGenerator::global()->bounded(1u, 1000000000u)));
    });
    connect(cmdRun_, &QPushButton::clicked, this, &MonteCarloDialog::run);
    connect(cmdCancel_, &QPushButton::clicked, this, &MonteCarloDialog::cancelRun);
    connect(cmdClearResults_, &QPushButton::clicked, this, &MonteCarloDialog::clearResults);
    connect(cmdClose_, &QPushButton::clicked, this, &MonteCarloDialog::close);
    showBusy(false);
}

MonteCarloDialog::~MonteCarloDialog() {
    stopWorker();
}

void MonteCarloDialog::fillBoxTable() {
    // Every box with a number; the box of each row in its data.
    const io::CaseFile& f = document_.file();
    const int selected = tblSpreads_->currentRow();
    tblSpreads_->setRowCount(0);
    for (int i = 0; i < model::kBoxCount; ++i) {
        if (model::boxInfo(i).divisor == 0) continue;
        const int row = tblSpreads_->rowCount();
        tblSpreads_->insertRow(row);
        auto* name = new QTableWidgetItem(qs(model::boxInfo(i, f.form).caption));
        name->setData(Qt::UserRole, i);
        const auto& s = f.spreads[i];
        QFont font = name->font();
        font.setBold(s.has_value());
        name->setFont(font);
        tblSpreads_->setItem(row, 0, name);
        tblSpreads_->setItem(row, 1, new QTableWidgetItem(QString::fromStdString(f.texts.text[i])));
        tblSpreads_->setItem(row, 2, new QTableWidgetItem(s ? spreadDescription(*s) : QString()));
    }
    tblSpreads_->setCurrentCell(std::max(selected, 0), 0);
}

void MonteCarloDialog::editSpread(bool clear) {
    const QTableWidgetItem* item = tblSpreads_->item(tblSpreads_->currentRow(), 0);
    if (!item) return;
    const int box = item->data(Qt::UserRole).toInt();
    if (clear)
        document_.setSpread(box, std::nullopt);
    else
        SpreadDialog::edit(this, document_, box);
}

void MonteCarloDialog::showBusy(bool busy) {
    cmdRun_->setEnabled(!busy);
    cmdCancel_->setEnabled(busy);
    cmdClearResults_->setEnabled(!busy && results_);
}

void MonteCarloDialog::refuseField(QLineEdit* field, const QString& text) {
    lblSummary_->setText(text);
    field->setFocus();
    field->selectAll();
}

void MonteCarloDialog::run() {
    if (running()) return;
    bool ok = false;
    const qulonglong draws = txtDraws_->text().trimmed().toULongLong(&ok);
    // Every draw is kept for the table, the histograms and the cloud, about
    // 100 bytes each: a million is 100 MB. More go through yawmark-batch,
    // which prints them as it goes.
    constexpr qulonglong kMostDraws = 1'000'000;
    if (!ok || draws == 0 || draws > kMostDraws)
        return refuseField(txtDraws_, QStringLiteral("Draws must be a whole number from 1 to "
                                                     "%L1, not \"%2\".")
                                          .arg(kMostDraws)
                                          .arg(txtDraws_->text()));
    const qulonglong seed = txtSeed_->text().trimmed().toULongLong(&ok);
    if (!ok)
        return refuseField(txtSeed_, QStringLiteral("The seed must be a whole number, 0 or more, "
                                                    "not \"%1\".")
                                         .arg(txtSeed_->text()));
    model::MonteCarloSettings settings;
    settings.draws = draws;
    settings.seed = seed;
    const io::CaseFile f = document_.file();
    if (const auto problem =
            model::monteCarloProblem(f.texts, f.autos, f.form, f.spreads, settings)) {
        const bool none =
            std::ranges::none_of(f.spreads, [](const auto& s) { return s.has_value(); });
        lblSummary_->setText(
            QStringLiteral("Nothing run: %1%2")
                .arg(qs(*problem), none ? QStringLiteral(" Choose a box above and Spread..., or "
                                                         "right-click a box of the panel.")
                                        : QString()));
        return;
    }
    document_.setSeed(seed);
    drawsAsked_ = draws;
    lblSummary_->setText(QStringLiteral("Running %L1 draws...").arg(draws));
    progress_->start();
    showBusy(true);
    model::MonteCarloProgress progress = [this](double share) { return progress_->report(share); };
    worker_ = std::thread([this, f, settings, progress = std::move(progress)] {
        auto r = std::make_shared<Results>();
        r->seed = settings.seed;
        try {
            r->run = model::runMonteCarlo(f.texts, f.autos, f.form, f.spreads, settings, progress);
            r->table = model::summarise(r->run);
            for (const model::DrawResult& d : r->run.draws) {
                if (!d.outcome) continue;
                for (int i = 0; i < model::kOutcomeCount; ++i)
                    r->values[i].push_back(model::outcomeValue(*d.outcome, i));
                r->cloud.rests.push_back({d.outcome->restX, d.outcome->restY});
            }
            r->cloud.region = model::region95(r->cloud.rests);
            // The first few draws that came to rest, run again for their trails.
            for (std::uint64_t k = 0; k < r->run.draws.size() &&
                                      r->cloud.trails.size() < std::size_t(kTrails) && !progress_->cancelled();
                 ++k) {
                if (!r->run.draws[k].outcome) continue;
                const auto c = model::drawnCase(f.texts, f.autos, f.form, f.spreads, settings.seed,
                                                settings.first + k);
                if (const auto* drawn = std::get_if<model::Case>(&c))
                    r->cloud.trails.push_back(trailOf(*drawn, settings.maxPasses));
            }
            r->run.cancelled = r->run.cancelled || progress_->cancelled();
        } catch (const std::exception& e) {
            r->run = {};
            r->run.draws.push_back(
                {{}, std::nullopt, std::string("the draws could not be completed: ") + e.what()});
        }
        QMetaObject::invokeMethod(
            this, [this, r] { resultsCame(r); }, Qt::QueuedConnection);
    });
}

void MonteCarloDialog::cancelRun() {
    progress_->cancel();
}

void MonteCarloDialog::stopWorker() {
    progress_->cancel();
    if (worker_.joinable()) worker_.join();
}

void MonteCarloDialog::resultsCame(std::shared_ptr<Results> r) {
    if (worker_.joinable()) worker_.join(); // it has posted its results and is ending
    if (r->run.cancelled) {
        lblSummary_->setText(QStringLiteral("Cancelled after %L1 of %L2 draws: nothing is shown.")
                                 .arg(r->run.draws.size())
                                 .arg(drawsAsked_));
    } else {
        results_ = std::move(*r);
        prgRun_->setValue(100);
        showResults();
        plotter_.setCloud(results_->cloud);
    }
    showBusy(false);
    emit runFinished();
}

void MonteCarloDialog::setUnits(model::Units units) {
    units_ = units;
    if (results_) showResults();
}

void MonteCarloDialog::showResults() {
    const Results& r = *results_;
    std::vector<HistogramView::Panel> panels;
    for (int i = 0; i < model::kOutcomeCount; ++i) {
        // Lengths in ft for US units; degrees and seconds as they are. Every
        // conversion is a factor, so percentiles and SD convert as values do.
        const model::Shown unit = model::shown(units_, 1.0, model::outcomeUnit(i));
        model::Percentiles p = r.table[i];
        for (double* v : {&p.p2_5, &p.p50, &p.p97_5, &p.mean, &p.sd})
            *v *= unit.value;
        const bool any = !r.values[i].empty();
        const QStringList cells{numberForSpread(p.p2_5, p.sd),  numberForSpread(p.p50, p.sd),
                                numberForSpread(p.p97_5, p.sd), numberForSpread(p.mean, p.sd),
                                numberForSpread(p.sd, p.sd),    qs(unit.unit)};
        for (int c = 0; c < cells.size(); ++c)
            tblResults_->setItem(i, c + 1, new QTableWidgetItem(any ? cells[c] : QString()));
        HistogramView::Panel panel{kOutcomeNames[i] + QStringLiteral(" (") + qs(unit.unit) +
                                       QLatin1Char(')'),
                                   r.values[i], p};
        for (double& v : panel.values)
            v *= unit.value;
        panels.push_back(std::move(panel));
    }
    histograms_->setPanels(std::move(panels));
    const std::uint64_t refused = r.run.refused();
    QString text = QStringLiteral("%L1 draws, seed %2: %L3 came to rest")
                       .arg(r.run.draws.size())
                       .arg(r.seed)
                       .arg(r.run.draws.size() - refused);
    if (refused > 0) {
        const auto first = std::ranges::find_if(
            r.run.draws, [](const model::DrawResult& d) { return !d.outcome; });
        text += QStringLiteral("; %L1 refused or never came to rest (the first: %2)")
                    .arg(refused)
                    .arg(qs(first->problem));
    }
    text += QStringLiteral(". The 2.5% to 97.5% range and the outlined region hold 95% of the "
                           "draws over the spreads stated, not over the model's own limits.");
    lblSummary_->setText(text);
}

void MonteCarloDialog::clearResults() {
    if (running()) return;
    results_.reset();
    for (int i = 0; i < model::kOutcomeCount; ++i)
        for (int c = 1; c < tblResults_->columnCount(); ++c)
            delete tblResults_->takeItem(i, c);
    histograms_->setPanels({});
    lblSummary_->clear();
    prgRun_->setValue(0);
    plotter_.clearCloud();
    showBusy(false);
}

void MonteCarloDialog::done(int r) {
    stopWorker();
    QDialog::done(r);
}

} // namespace yawmark
