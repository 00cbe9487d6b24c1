// The panel inside the main window: the window's start-up fills the boxes,
// Tools "&Reset All Variables" and "&Options" reach the panel, and the window
// takes no input while the Options dialog is open.
#include "gui/frmGraph.h"
#include "gui/ParameterPanel.h"
#include "gui/frmOption.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

using namespace yawmark;

class PanelWindowTest : public QObject {
    Q_OBJECT
private slots:
    void menusReachThePanel();
};

void PanelWindowTest::menusReachThePanel() {
    frmGraph w;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    ParameterPanel* panel = w.panel();
    QCOMPARE(panel->params(), &w.params());
    QCOMPARE(panel->txtInput(12)->text(), QStringLiteral("-0.187241109519877"));
    QCOMPARE(panel->comVehicle()->currentText(), QStringLiteral("McLaren F1"));

    w.mnuOption()->trigger();
    frmOption* o = frmOption::existing();
    QVERIFY(o && o->isVisible());
    QVERIFY(!w.isEnabled());
    QVERIFY(o->isEnabled()); // not a child that the disabled window would take along
    QCOMPARE(o->pos(), QPoint(frmOption::kLeft, frmOption::kTop));
    o->optGyrate->setChecked(true);
    QTest::mouseClick(o->cmdOK, Qt::LeftButton);
    QVERIFY(w.isEnabled());
    QCOMPARE(panel->txtInput(5)->text(), QStringLiteral("1.3452540032772"));

    panel->txtInput(2)->setText(QStringLiteral("900"));
    QCOMPARE(panel->comVehicle()->currentText(), QStringLiteral("Custom"));
    w.mnuReset()->trigger();
    QCOMPARE(panel->txtInput(2)->text(), QStringLiteral("1139"));
    QCOMPARE(panel->txtInput(5)->text(), QStringLiteral("2061.25779166667"));
    QCOMPARE(panel->lblCaption(5)->text(), QStringLiteral("Moment of Inertia (kg-m^2)"));
    QCOMPARE(panel->comVehicle()->currentText(), QStringLiteral("McLaren F1"));
    QVERIFY(!w.params().useGyration);
}

QTEST_MAIN(PanelWindowTest)
#include "tst_panelwindow.moc"
