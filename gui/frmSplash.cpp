#include "gui/frmSplash.h"

#include "gui/AppArt.h"
#include "gui/AppInfo.h"
#include "gui/ShellTwips.h"

#include <QCloseEvent>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QSysInfo>

namespace yawmark {

namespace {
frmSplash* theSplash = nullptr;
} // namespace

frmSplash* frmSplash::instance(QWidget* owner) {
    if (!theSplash) theSplash = new frmSplash(owner);
    return theSplash;
}

frmSplash* frmSplash::existing() {
    return theSplash;
}

void frmSplash::unload() {
    if (theSplash) {
        theSplash->hide();
        theSplash->close();
    }
}

frmSplash::~frmSplash() {
    if (theSplash == this) theSplash = nullptr;
}

QString frmSplash::platformName() {
    const QString kernel = QSysInfo::kernelType();
    if (kernel == QLatin1String("linux")) return QStringLiteral("Linux");
    if (kernel == QLatin1String("winnt")) return QStringLiteral("Windows");
    if (kernel == QLatin1String("darwin")) return QStringLiteral("macOS");
    if (kernel == QLatin1String("freebsd")) return QStringLiteral("FreeBSD");
    const QString product = QSysInfo::productType();
    return product.isEmpty() ? kernel : product;
}

frmSplash::frmSplash(QWidget* owner) : QDialog(owner, Qt::Dialog | Qt::FramelessWindowHint) {
    setObjectName(QStringLiteral("frmSplash"));
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(false);
    setWindowIcon(programIcon());
    setFocusPolicy(Qt::StrongFocus);
    setFixedSize(DesignForm::rect(0, 0, 7380, 4245).size());
    setFont(dialogFont());

    Frame1 = new QFrame(this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Frame1->setFrameStyle(QFrame::Box | QFrame::Sunken);
    Frame1->setGeometry(DesignForm::rect(0, 0, 7320, 4170));
    Frame1->installEventFilter(this);

    auto makeLabel = [this](const char* name, const QFont& font, Qt::Alignment align) {
        auto* l = new QLabel(Frame1);
        l->setObjectName(QLatin1String(name));
        l->setFont(font);
        l->setAlignment(align | Qt::AlignVCenter);
        return l;
    };

    Picture1 = new QLabel(Frame1);
    Picture1->setObjectName(QStringLiteral("Picture1"));
    Picture1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Picture1->setLineWidth(2);
    Picture1->setPixmap(splashPicture());
    // The picture box holds the whole picture inside its sunken border.
    const QRect pic = DesignForm::rect(360, 1320, 3375, 1935);
    Picture1->setGeometry(QRect(pic.topLeft(), Picture1->sizeHint()));

    lblProductName = makeLabel("lblProductName", serifFont(27.75, true), Qt::AlignLeft);
    lblCompanyProduct = makeLabel("lblCompanyProduct", sansFont(18, true), Qt::AlignLeft);
    lblPlatform = makeLabel("lblPlatform", sansFont(15.75, true), Qt::AlignRight);
    lblVersion = makeLabel("lblVersion", sansFont(12, true), Qt::AlignRight);
    lblCopyright = makeLabel("lblCopyright", sansFont(8.25, false), Qt::AlignRight);
    Label1 = makeLabel("Label1", font(), Qt::AlignLeft);

    lblPlatform->setText(platformName());
    lblCopyright->setText(QStringLiteral("Copyright \u00A9 the Yawmark developers"));
    Label1->setText(QStringLiteral("Press any key to close this message immediately"));

    Form_Load();

    // Keep the texts off the frame's etched border.
    const QRect inside = Frame1->rect().adjusted(4, 4, -4, -4);
    placeLabel(lblProductName, DesignForm::rect(840, 240, 5520, 630), true, inside);
    placeLabel(lblCompanyProduct, DesignForm::rect(2355, 705, 105, 435), true, inside);
    placeLabel(lblPlatform, DesignForm::rect(5115, 2340, 1740, 360), true, inside);
    placeLabel(lblVersion, DesignForm::rect(5520, 2700, 1275, 285), true, inside);
    placeLabel(lblCopyright, DesignForm::rect(4560, 3060, 2415, 255), false, inside);
    placeLabel(Label1, DesignForm::rect(3480, 3720, 3495, 255), false, inside);
}

void frmSplash::Form_Load() {
    lblVersion->setText(versionText());
    lblProductName->setText(appTitle());
}

void frmSplash::keyPressEvent(QKeyEvent* event) {
    // Only keys that type a character count: letters, digits, Space, Enter,
    // Escape. Shift, arrows and function keys type nothing.
    const QString text = event->text();
    if (!text.isEmpty() && text != QChar(0x7F)) {
        event->accept();
        Form_KeyPress();
        return;
    }
    event->ignore();
}

void frmSplash::Form_KeyPress() {
    unload();
}

bool frmSplash::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Frame1 && (event->type() == QEvent::MouseButtonPress ||
                              event->type() == QEvent::MouseButtonRelease)) {
        // A click on the picture or a label is passed up to the frame by Qt;
        // only the frame's own surface counts.
        auto* me = static_cast<QMouseEvent*>(event);
        const QPoint pos = me->position().toPoint();
        const bool onSurface = Frame1->rect().contains(pos) && !Frame1->childAt(pos);
        if (me->button() != Qt::LeftButton) return false;
        if (event->type() == QEvent::MouseButtonPress) {
            pressedOnFrame_ = onSurface;
        } else {
            const bool click = pressedOnFrame_ && onSurface;
            pressedOnFrame_ = false;
            if (click) {
                Frame1_Click();
                return true;
            }
        }
    }
    return QDialog::eventFilter(watched, event);
}

void frmSplash::Frame1_Click() {
    unload();
}

void frmSplash::closeEvent(QCloseEvent* event) {
    // Unloading: from now on the splash no longer exists for anyone asking.
    if (theSplash == this) theSplash = nullptr;
    QDialog::closeEvent(event);
    event->accept();
}

} // namespace yawmark
