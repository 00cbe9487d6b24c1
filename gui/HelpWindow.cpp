// SPDX-License-Identifier: MIT
#include "gui/HelpWindow.h"

#include "gui/AppArt.h"
#include "model/BoxTable.h"
#include "model/BoxUnits.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPushButton>
#include <QScreen>
#include <QTextBrowser>
#include <QVBoxLayout>

#include <algorithm>

namespace yawmark {

namespace {

QString html(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())).toHtmlEscaped();
}

// Serves the guide's pages from the resources, and the page on the boxes from the box table.
class GuideBrowser : public QTextBrowser {
public:
    using QTextBrowser::QTextBrowser;

protected:
    QVariant loadResource(int type, const QUrl& name) override {
        if (type == QTextDocument::HtmlResource && name.fileName() == QLatin1String("boxes.html"))
            return HelpWindow::boxesPage();
        return QTextBrowser::loadResource(type, name);
    }
};

} // namespace

HelpWindow::HelpWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("frmGuide"));
    setWindowTitle(QStringLiteral("Yawmark Guide"));
    setWindowIcon(programIcon());
    setAttribute(Qt::WA_DeleteOnClose);

    browser_ = new GuideBrowser(this);
    browser_->setObjectName(QStringLiteral("txtGuide"));
    browser_->setSearchPaths({QStringLiteral(":/yawmark/guide")});
    browser_->setOpenExternalLinks(true);

    auto* back = new QPushButton(QStringLiteral("&Back"), this);
    back->setObjectName(QStringLiteral("cmdBack"));
    back->setEnabled(false);
    auto* contents = new QPushButton(QStringLiteral("&Contents"), this);
    contents->setObjectName(QStringLiteral("cmdContents"));
    connect(back, &QPushButton::clicked, browser_, &QTextBrowser::backward);
    connect(browser_, &QTextBrowser::backwardAvailable, back, &QPushButton::setEnabled);
    connect(contents, &QPushButton::clicked, this,
            [this] { showPage(QStringLiteral("index.html")); });

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(back);
    buttons->addWidget(contents);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(browser_);
    resize(640, 560);
    showPage(QStringLiteral("index.html"));
}

void HelpWindow::showPage(const QString& page) {
    browser_->setSource(QUrl(page));
}

void HelpWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (placed_) return; // shown again: where the user left it
    placed_ = true;
    // Centred on the main window, then moved (or shrunk) until the whole
    // window, frame included, lies on that window's screen.
    const QWidget* owner = parentWidget() ? parentWidget()->window() : nullptr;
    const QRect screen = (owner ? owner->screen() : this->screen())->availableGeometry();
    resize(size().boundedTo(screen.size() - (frameGeometry().size() - size())));
    QRect r = frameGeometry();
    r.moveCenter(owner ? owner->frameGeometry().center() : screen.center());
    r.moveLeft(std::clamp(r.left(), screen.left(), screen.left() + screen.width() - r.width()));
    r.moveTop(std::clamp(r.top(), screen.top(), screen.top() + screen.height() - r.height()));
    move(r.topLeft());
}

void HelpWindow::keyPressEvent(QKeyEvent* event) {
    // Escape closes the guide from anywhere in it, as it does a dialog.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

QString HelpWindow::boxesPage() {
    using namespace model;
    QString page = QStringLiteral(
        "<html><body><p><a href=\"index.html\">Contents</a></p><h2>The boxes</h2>"
        "<p>Every box takes one decimal number with a point (4.5), except box 8, "
        "which takes a steering direction. Blanks around the text do not matter. "
        "A box outside its range is refused when it is read, with a message that "
        "names it.</p><p>A unit may follow the number (60 mph, 15 ft, 2500 lb, 0.5 rad): "
        "the box converts it to its own unit when Draw or a Calculate reads it and "
        "then shows the converted value. The last column gives the units each box "
        "takes; another unit is refused, naming the box and the unit.</p>"
        "<table border=\"1\" cellpadding=\"3\" cellspacing=\"0\">"
        "<tr><th>Box</th><th>Caption</th><th>Unit and sign</th><th>Range</th><th>Tab</th>"
        "<th>Takes</th></tr>");
    static const char* const tabs[] = {"Vehicle", "Initial Conditions", "Graph"};
    const auto row = [&](int i, InertiaForm form) {
        const BoxInfo& info = boxInfo(i, form);
        page += QStringLiteral(
                    "<tr><td>%1</td><td>%2</td><td>%3</td><td>%4</td><td>%5</td><td>%6</td></tr>")
                    .arg(i)
                    .arg(html(info.caption), html(info.units),
                         info.range.kind == Range::Any
                             ? QString()
                             : QStringLiteral("must ") + html(info.range.text()),
                         QLatin1String(tabs[static_cast<int>(info.tab)]),
                         i == kSteeringBox ? QStringLiteral("a steering direction")
                                           : html(measureText(boxMeasure(i, form))));
    };
    for (int i = 0; i < kBoxCount; ++i) {
        row(i, InertiaForm::Moment);
        if (i == kInertiaBox) row(i, InertiaForm::Gyration);
    }
    page += QStringLiteral(
        "</table><p>Box 5 holds the moment of inertia or, chosen in Tools &gt; Options, "
        "the radius of gyration k (I = k&sup2;&middot;m). The mass, the moment of "
        "inertia, the friction and g must be greater than 0. Box 9 must be "
        "at least the distance from the mass centre to the rear axle when the car "
        "steers. Directions are measured clockwise from +y (right +); the yaw rate is "
        "in turns per second, clockwise +.</p>"
        "<p>With <b>Auto Calculate</b> ticked, boxes 11 and 12 (normal driving) and "
        "box 5 (a car of even density) are written by Draw before it reads the boxes.</p>"
        "</body></html>");
    return page;
}

} // namespace yawmark
