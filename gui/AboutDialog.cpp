// SPDX-License-Identifier: MIT
#include "gui/AboutDialog.h"

#include "gui/AppArt.h"
#include "gui/AppInfo.h"
#include "gui/ClassicFonts.h"
#include "gui/DesignForm.h"
#include "gui/SysInfo.h"

#include <QLabel>
#include <QPalette>
#include <QPushButton>

#include <utility>

namespace yawmark {

namespace {
// The description exactly as shown: two sentences, 68 blanks between them,
// so that the second begins a line of its own.
QString descriptionText() {
    return QStringLiteral("Simulates how a vehicle skids when the handbrake is applied, i.e. rear "
                          "wheels locked, but no braking in front wheels.") +
           QString(68, QLatin1Char(' ')) +
           QStringLiteral("Utilizes two-dimensional modeling, i.e. no weight shift.  See the "
                          "Yawmark Guide (Help, F1) for details.");
}

constexpr QRect kTitleRect = DesignForm::rect(1050, 240, 3885, 480);
constexpr QRect kVersionRect = DesignForm::rect(1050, 780, 3885, 225);

// A straight line drawn as a thin filled strip.
void makeLine(QWidget* parent, const char* name, QColor colour, QRect geometry) {
    auto* line = new QWidget(parent);
    line->setObjectName(QLatin1String(name));
    QPalette pal = line->palette();
    pal.setColor(QPalette::Window, colour);
    line->setPalette(pal);
    line->setAutoFillBackground(true);
    line->setGeometry(geometry);
}

// A top-aligned label at its design rectangle, in black unless told otherwise
// (the version keeps the style's text colour).
QLabel* makeLabel(QWidget* parent, const char* name, QRect geometry, bool blackText = true) {
    auto* label = new QLabel(parent);
    label->setObjectName(QLatin1String(name));
    if (blackText) {
        QPalette pal = label->palette();
        pal.setColor(QPalette::WindowText, Qt::black);
        label->setPalette(pal);
    }
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setGeometry(geometry);
    return label;
}

// A label that wraps its plain text at its design width; it grows down when
// a face with taller lines (Nimbus Sans for Arial) needs more than the
// design's height.
void makeNotice(QWidget* parent, const char* name, QRect geometry, const QString& text) {
    QLabel* label = makeLabel(parent, name, geometry);
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    label->setText(text);
    placeLabel(label, geometry, false, parent->rect());
}
} // namespace

AboutDialog::AboutDialog(QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                         Qt::MSWindowsFixedSizeDialogHint),
      startSysInfo_([this] { startSysInfo(this); }) {
    setObjectName(QStringLiteral("frmAbout"));
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(false);
    setWindowIcon(programIcon());
    setFixedSize(DesignForm::rect(0, 0, 5730, 3555).size());
    setFont(dialogFont());

    auto* icon = new QLabel(this);
    icon->setObjectName(QStringLiteral("picIcon"));
    icon->setPixmap(programIconPixmap(32));
    // Auto-size: the box takes the picture's size.
    icon->setGeometry(QRect(DesignForm::rect(240, 240, 540, 540).topLeft(), QSize(32, 32)));

    title_ = makeLabel(this, "lblTitle", kTitleRect);
    version_ = makeLabel(this, "lblVersion", kVersionRect, false);
    makeNotice(this, "lblDescription", DesignForm::rect(1050, 1125, 3885, 1170), descriptionText());

    // The etched separator: a grey line with a white one just under it.
    makeLine(this, "Line1_1", QColor(0x80, 0x80, 0x80), QRect(6, 163, 371, 1));
    makeLine(this, "Line1_0", Qt::white, QRect(7, 164, 370, 2));

    makeNotice(this, "lblDisclaimer", DesignForm::rect(255, 2625, 3870, 825),
               QStringLiteral("Copyright \u00A9 the Yawmark developers. Provided as is, without "
                              "warranty of any kind."));

    okButton_ = new QPushButton(QStringLiteral("OK"), this);
    okButton_->setObjectName(QStringLiteral("cmdOK"));
    okButton_->setGeometry(DesignForm::rect(4245, 2625, 1260, 345));
    okButton_->setDefault(true);

    sysInfoButton_ = new QPushButton(QStringLiteral("&System Info..."), this);
    sysInfoButton_->setObjectName(QStringLiteral("cmdSysInfo"));
    sysInfoButton_->setGeometry(DesignForm::rect(4260, 3075, 1245, 345));

    setTabOrder(okButton_, sysInfoButton_);
    okButton_->setFocus();

    connect(okButton_, &QPushButton::clicked, this, &AboutDialog::dismiss);
    connect(sysInfoButton_, &QPushButton::clicked, this, [this] {
        if (startSysInfo_) startSysInfo_();
    });

    loadTexts();
}

void AboutDialog::loadTexts() {
    setWindowTitle(QStringLiteral("About ") + appTitle());
    version_->setText(versionText());
    title_->setText(appTitle());
    // A face with taller lines than the classic one (Nimbus Sans for Arial)
    // would clip the text at the design height: the label grows instead.
    placeLabel(title_, kTitleRect, false, rect());
    placeLabel(version_, kVersionRect, false, rect());
}

void AboutDialog::setStartSysInfo(std::function<void()> start) {
    startSysInfo_ = std::move(start);
}

void AboutDialog::dismiss() {
    // Deleted once control returns; until then it is hidden, so the main
    // window knows to open a fresh box.
    hide();
    deleteLater();
}

void AboutDialog::reject() {
    dismiss();
}

} // namespace yawmark
