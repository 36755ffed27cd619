// Details of the shell a user meets, driven through the real widgets offscreen: the select
// pane's look, the plot's view commands on its menu and keys, the context menu's captions, the
// keyboard map's copy key and the About box.

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QColorDialog>
#include <QFontDialog>
#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>
#include <memory>

#include "ModalDriver.h"
#include "TestProgram.h"
#include "app/AboutDialog.h"
#include "app/CListCtrlEx.h"
#include "app/CMainFrame.h"
#include "app/InfoPane.h"
#include "app/KeyboardMapDialog.h"
#include "app/PlotPanes.h"
#include "app/SpectraListWindow.h"
#include "app/TextConvert.h"
#include "appcore/CommandTable.h"
#include "appcore/ProgramState.h"
#include "display/CPlot.h"
#include "display/ui/PlotCanvas.h"
#include "display/ui/PlotWidget.h"

using namespace vorna;
using vorna::test::ModalDriver;
using vorna::test::TestProgram;

class ShellDetailsTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void selectPaneFontAndColourShowAtOnce();
    void viewCommandsSitOnTheContextMenuAndKeys();
    void contextMenuCarriesItsOwnCaptions();
    void keyboardMapCopiesOnTheKeyItsMenuNames();
    void aboutBoxShowsThisBuildAndTheLegalNotice();
    void spectraListFollowsKeysAndTheRightClickedRow();
    void infoPaneScrollsToItsLastRowInALowWindow();
};

namespace {

// The example spectrum open; every COM port names a device that is not there.
vorna::test::TestProgramOptions Quiet() {
    vorna::test::TestProgramOptions o;
    o.missingSerial = true;
    return o;
}

QAction* FindAction(QMenu& menu, const QString& text) {
    for (QAction* a : menu.actions())
        if (a->text() == text)
            return a;
    return nullptr;
}

} // namespace

void ShellDetailsTest::selectPaneFontAndColourShowAtOnce() {
    TestProgram p(Quiet());
    CMainFrame& f = p.frame();
    QWidget* nav = f.Panes().Navigation();
    auto* plot = qobject_cast<PlotWidget*>(f.Panes().Plot());
    QVERIFY(plot);
    f.show();
    f.resize(1000, 700);
    TestProgram::Settle();
    const QFont infoBefore = f.Info()->font();
    const int defaultPixels = QFontInfo(nav->font()).pixelSize();

    ModalDriver driver;
    driver.Then([](QWidget* w) {
        auto* dialog = qobject_cast<QFontDialog*>(w);
        if (!dialog)
            return;
        QFont big = dialog->currentFont();
        big.setPointSize(QFontInfo(big).pointSize() + 10);
        dialog->setCurrentFont(big);
        dialog->accept();
    });
    f.Execute(ToInt(CommandId::SelectPaneFont));
    const PaneFont& stored = p.state().Profile().selectFont;
    QVERIFY(stored.height < -defaultPixels);
    // The navigation pane, its fields and the plot's axis labels all take the new font at once.
    QCOMPARE(nav->font().family(), FromCore(stored.face));
    QCOMPARE(QFontInfo(nav->font()).pixelSize(), -stored.height);
    QCOMPARE(nav->font().bold(), stored.weight >= 700);
    TestProgram::Settle();
    for (QLineEdit* field : nav->findChildren<QLineEdit*>()) {
        QCOMPARE(QFontInfo(field->font()).pixelSize(), -stored.height);
        // The pane grew with its font: the lower row of fields is whole.
        QVERIFY(field->geometry().bottom() < nav->height());
    }
    QCOMPARE(QFontInfo(plot->canvas()->font()).pixelSize(), -stored.height);
    QCOMPARE(f.Info()->font(), infoBefore);

    const QColor teal(0x12, 0x80, 0x90);
    driver.Then([teal](QWidget* w) {
        if (auto* dialog = qobject_cast<QColorDialog*>(w)) {
            dialog->setCurrentColor(teal);
            dialog->accept();
        }
    });
    f.Execute(ToInt(CommandId::SelectPaneBackground));
    QCOMPARE(p.state().Profile().selectColor, 0x908012);
    QCOMPARE(nav->palette().color(QPalette::Window), teal);
    for (QLineEdit* field : nav->findChildren<QLineEdit*>())
        QCOMPARE(field->palette().color(QPalette::Base), teal);
    QCOMPARE(driver.unexpected, 0);
}

void ShellDetailsTest::viewCommandsSitOnTheContextMenuAndKeys() {
    TestProgram p(Quiet());
    CMainFrame& f = p.frame();
    CPlot& plot = f.Panes().Model();
    auto* canvas = qobject_cast<PlotWidget*>(f.Panes().Plot())->canvas();
    f.show();
    canvas->setFocus();
    TestProgram::Settle();

    std::unique_ptr<QMenu> menu(f.BuildPopup(SelectContextMenu()));
    QAction* center = FindAction(*menu, QStringLiteral("Center\tC"));
    QVERIFY(center);
    QVERIFY(FindAction(*menu, QStringLiteral("Full Horizontal Range\tH")));
    QVERIFY(FindAction(*menu, QStringLiteral("Autoscale Vertical Range\tV")));

    // Center from the menu: the cursor channel in the middle, the width kept.
    plot.SetView(1000, 1999, 0, 500);
    plot.MoveCursorTo(6000);
    center->trigger();
    QCOMPARE(plot.View().start, 6000 - 999 / 2);
    QCOMPARE(plot.View().end - plot.View().start, 999);

    // C, H and V on the focused plot do what the menu does.
    plot.SetView(1000, 1999, 0, 500);
    QTest::keyClick(canvas, Qt::Key_C);
    QCOMPARE(plot.View().start, 6000 - 999 / 2);
    QTest::keyClick(canvas, Qt::Key_H);
    QCOMPARE(plot.View().start, 0);
    QCOMPARE(plot.View().end, 16383);
    plot.SetView(0, 16383, 0, 40);
    f.Execute(ToInt(CommandId::Autoscale));
    const PlotView fromMenu = plot.View();
    QVERIFY(fromMenu.top > 40);
    plot.SetView(0, 16383, 0, 40);
    QTest::keyClick(canvas, Qt::Key_V);
    QCOMPARE(plot.View(), fromMenu);

    // The window's accelerators work with the plot focused: Ctrl+O asks for a file.
    QVERIFY(canvas->hasFocus());
    ModalDriver driver;
    QString opened;
    driver.Then([&opened](QWidget* w) {
        opened = QString::fromLatin1(w->metaObject()->className());
        if (auto* dialog = qobject_cast<QDialog*>(w))
            dialog->reject();
    });
    QTest::keyClick(canvas, Qt::Key_O, Qt::ControlModifier);
    QTRY_COMPARE_WITH_TIMEOUT(opened, QStringLiteral("QFileDialog"), 3000);

    // D and T clear the status bar's text after their command, whatever that command said.
    for (Qt::Key key : {Qt::Key_D, Qt::Key_T}) {
        driver.ThenButton(QMessageBox::Ok);
        f.SetStatusText(0, QStringLiteral("before"));
        QTest::keyClick(canvas, key);
        QTRY_COMPARE_WITH_TIMEOUT(f.StatusText(0), QString(), 3000);
    }
}

void ShellDetailsTest::contextMenuCarriesItsOwnCaptions() {
    TestProgram p(Quiet());
    CMainFrame& f = p.frame();
    f.UpdateCommandStates();
    std::unique_ptr<QMenu> menu(f.BuildPopup(SelectContextMenu()));
    QVERIFY(FindAction(*menu, QStringLiteral("Define ROI...")));
    QVERIFY(FindAction(*menu, QStringLiteral("Calibrate...\tF5")));
    QAction* plotPane = FindAction(*menu, QStringLiteral("Plot Pane..."));
    QVERIFY(plotPane);
    QVERIFY(!FindAction(*menu, QStringLiteral("Define &ROI ...")));
    // The main menu keeps its own.
    QCOMPARE(f.Action(CommandId::DefineRoi)->text(), QStringLiteral("Define &ROI ..."));
    // A captioned entry runs its command: "Plot Pane..." opens the preferences on the plot page.
    QCOMPARE(plotPane->isEnabled(), f.Action(CommandId::PlotPane)->isEnabled());
    ModalDriver driver;
    QString opened;
    driver.Then([&opened](QWidget* w) {
        opened = w->windowTitle();
        if (auto* dialog = qobject_cast<QDialog*>(w))
            dialog->reject();
    });
    plotPane->trigger();
    QVERIFY(!opened.isEmpty());
}

void ShellDetailsTest::keyboardMapCopiesOnTheKeyItsMenuNames() {
    TestProgram p(Quiet());
    KeyboardMapDialog dialog(p.frame());
    dialog.show();
    QApplication::setActiveWindow(&dialog);
    dialog.List()->setFocus();
    QTRY_COMPARE_WITH_TIMEOUT(QApplication::focusWidget(), dialog.List(), 3000);
    QApplication::clipboard()->clear();
    QTest::keyClick(dialog.List(), Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);
    const QString copied = QApplication::clipboard()->text();
    QVERIFY(copied.startsWith(
        QStringLiteral("Shortcut\tDescription\t\nRight Arrow\tMove cursor right\t\n")));
    QVERIFY(copied.contains(QStringLiteral("C\tCenter display on cursor\t\n")));
}

void ShellDetailsTest::aboutBoxShowsThisBuildAndTheLegalNotice() {
    TestProgram p(Quiet());
    AboutDialog about(p.state(), &p.frame());
    QStringList texts;
    for (QLabel* l : about.findChildren<QLabel*>())
        texts << l->text();
    const QString joined = texts.join('\n');
    QVERIFY(!joined.contains(QStringLiteral("2013")));
    QVERIFY(joined.contains(QString::fromLatin1(AboutDialog::BuildDate())));
    QVERIFY(joined.contains(QString::fromLatin1(AboutDialog::BuildTime())));
    QVERIFY(joined.contains(QStringLiteral("Copyright")));
    auto* list = about.findChild<QListWidget*>(QStringLiteral("AboutList"));
    QVERIFY(list);
    QCOMPARE(list->item(0)->text(), QStringLiteral("KestrelA"));
}

void ShellDetailsTest::spectraListFollowsKeysAndTheRightClickedRow() {
    TestProgram p(Quiet());
    CMainFrame& f = p.frame();
    QCOMPARE(p.list().GetActivePosition(), 1);
    SpectraListWindow* window = f.SpectraList(true);
    auto* rows = window->findChild<SpectraListRowsView*>(QStringLiteral("SpectraListRows"));
    QVERIFY(rows);
    QCOMPARE(rows->focusPolicy(), Qt::StrongFocus);
    QTest::keyClick(rows, Qt::Key_Up);
    QCOMPARE(p.list().GetActivePosition(), 0);
    QTest::keyClick(rows, Qt::Key_Up);
    QCOMPARE(p.list().GetActivePosition(), 0);
    QTest::keyClick(rows, Qt::Key_End);
    QCOMPARE(p.list().GetActivePosition(), 1);
    QTest::keyClick(rows, Qt::Key_Home);
    QCOMPARE(p.list().GetActivePosition(), 0);

    // The live spectrum is active and has no ROIs; the file's row is the one right-clicked.
    QVERIFY(p.list().At(1)->Lock()->m_roi.GetCount() > 0);
    f.SetContextRow(1);
    f.UpdateCommandStates();
    QVERIFY(f.Action(CommandId::CopyRoi)->isEnabled());
    QVERIFY(f.Action(CommandId::PrintRoi)->isEnabled());
    QApplication::clipboard()->clear();
    f.Execute(ToInt(CommandId::CopyRoi));
    QCOMPARE(f.StatusText(0), QStringLiteral("Copying of ROIs to clipboard was successful."));
    QVERIFY(QApplication::clipboard()->text().startsWith(QStringLiteral("Start")));
    // Without a row the command follows the active spectrum, which has nothing to copy.
    f.SetContextRow(-1);
    f.UpdateCommandStates();
    QVERIFY(!f.Action(CommandId::CopyRoi)->isEnabled());
}

void ShellDetailsTest::infoPaneScrollsToItsLastRowInALowWindow() {
    TestProgram p(Quiet());
    CMainFrame& f = p.frame();
    p.state().Profile().deviceType = 2; // the DPP layout: the most rows
    p.list().Activate(0);
    f.RefreshPanes();
    f.show();
    f.resize(1000, 730);
    TestProgram::Settle();
    InfoPane* info = f.Info();
    const int rows = static_cast<int>(info->Cells().size());
    QVERIFY(rows > 20);
    auto* area = f.findChild<QScrollArea*>(QStringLiteral("InfoPaneArea"));
    QVERIFY(area);
    QVERIFY(info->height() >= info->ContentHeight());
    if (info->ContentHeight() > area->viewport()->height()) {
        QScrollBar* bar = area->verticalScrollBar();
        QVERIFY(bar->isVisible());
        bar->setValue(bar->maximum());
        TestProgram::Settle();
        // Scrolled to the end, the pane's bottom (below its last row) is in view.
        QCOMPARE(info->mapTo(area->viewport(), QPoint(0, info->height())).y(),
                 area->viewport()->height());
    }
    QVERIFY(f.height() <= 730 || f.minimumHeight() <= 730);
}

QTEST_MAIN(ShellDetailsTest)
#include "ShellDetailsTest.moc"
