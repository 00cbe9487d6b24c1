// SPDX-License-Identifier: MIT
#include "gui/PlotTools.h"

#include "gui/CalibrateTool.h"
#include "gui/DigitiseTool.h"
#include "gui/MeasureTool.h"
#include "gui/PlotController.h"
#include "gui/PlotWidget.h"
#include "gui/Prompts.h"

#include <QAction>
#include <QMenu>
#include <QSignalBlocker>

namespace yawmark {

namespace {

QAction* checkable(QMenu* menu, const char* name, const QString& text) {
    QAction* a = menu->addAction(text);
    a->setObjectName(QLatin1String(name));
    a->setCheckable(true);
    return a;
}

} // namespace

PlotTools::PlotTools(PlotWidget& plot, CaseDocument& document, PlotController& plotter,
                     const Prompts& prompts, std::function<model::Units()> units, QMenu* menu,
                     QObject* parent)
    : QObject(parent), plot_(plot), plotter_(plotter), prompts_(prompts),
      digitise_(new DigitiseTool(document, this)), measure_(new MeasureTool(plotter, this)),
      calibrate_(new CalibrateTool(document, prompts, std::move(units), this)),
      digitiseAction_(checkable(menu, "mnuDigitise", QStringLiteral("&Digitise Marks..."))),
      measureAction_(checkable(menu, "mnuMeasure", QStringLiteral("M&easure"))),
      calibrateAction_(
          checkable(menu, "mnuCalibrate", QStringLiteral("Ca&librate Scene Image..."))) {
    QAction* clear = menu->addAction(QStringLiteral("&Clear Measurements"));
    clear->setObjectName(QStringLiteral("mnuClearMeasurements"));
    connect(clear, &QAction::triggered, &plotter, &PlotController::clearMeasurements);
    connect(digitiseAction_, &QAction::toggled, this, &PlotTools::startDigitising);
    connect(measureAction_, &QAction::toggled, this, [this](bool on) {
        use(on ? measure_ : nullptr);
        if (on) measure_->start();
    });
    connect(calibrateAction_, &QAction::toggled, this, [this](bool on) {
        if (on) startCalibrating();
        else use(nullptr);
    });
    connect(digitise_, &DigitiseTool::note, this, &PlotTools::note);
    connect(calibrate_, &CalibrateTool::note, this, &PlotTools::note);
    connect(calibrate_, &CalibrateTool::finished, this, [this] { use(nullptr); });
    // The photo at its new scale: the view around it.
    connect(calibrate_, &CalibrateTool::calibrated, &plotter_, &PlotController::fitSkidAndScene);
    connect(measure_, &MeasureTool::note, this, &PlotTools::note);
    connect(digitise_, &DigitiseTool::finished, this, [this] { use(nullptr); });
    connect(measure_, &MeasureTool::finished, this, [this] { use(nullptr); });
}

void PlotTools::use(PlotTool* tool) {
    plot_.setTool(tool);
    const QSignalBlocker a(digitiseAction_), b(measureAction_), c(calibrateAction_);
    digitiseAction_->setChecked(tool == digitise_);
    measureAction_->setChecked(tool == measure_);
    calibrateAction_->setChecked(tool == calibrate_);
    if (!tool) emit note(QString());
    else plot_.setFocus();
}

void PlotTools::startCalibrating() {
    if (!calibrate_->start()) return use(nullptr);
    use(calibrate_);
    plotter_.fitSkidAndScene();
}

void PlotTools::startDigitising(bool on) {
    if (!on) return use(nullptr);
    const QStringList wheels{QStringLiteral("FL"), QStringLiteral("FR"), QStringLiteral("RR"),
                             QStringLiteral("RL")};
    const auto last = model::wheelCode(digitise_->wheel());
    const QString asked = prompts_.askItem(
        QStringLiteral("Digitise Marks"), QStringLiteral("The wheel whose mark you digitise:"),
        wheels, QString::fromUtf8(last.data(), qsizetype(last.size())));
    const auto wheel = model::parseWheel(asked.toStdString());
    if (!wheel) {
        if (!asked.trimmed().isEmpty())
            prompts_.message(QString(), QStringLiteral("\"%1\" is not a wheel: FL, FR, RR or RL.")
                                            .arg(asked.trimmed()));
        return use(nullptr);
    }
    use(digitise_);
    digitise_->start(*wheel);
}

} // namespace yawmark
