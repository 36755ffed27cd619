// The spectrum definition dialog, Additional Notes and the Spectra dialog, driven through the
// program's commands, offscreen.

#include <QApplication>
#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <memory>

#include "ModalDriver.h"
#include "TestProgram.h"
#include "analysis/ExpressionDefine.h"
#include "app/CLumoApp.h"
#include "app/CMainFrame.h"
#include "app/PlotPanes.h"
#include "app/TextConvert.h"
#include "app/props/CNotes.h"
#include "app/props/CPropDefaultDlg.h"
#include "app/props/CPropSpectra.h"
#include "app/props/CSpectrumDlg.h"
#include "app/props/ColorButton.h"
#include "appcore/CommandIds.h"
#include "display/ui/PlotCanvas.h"
#include "display/ui/PlotWidget.h"
#include "settings/MemoryProfileStore.h"
#include "spectrum/CSpectraList.h"

using namespace vorna;
using vorna::test::ModalDriver;
using vorna::test::TestProgram;

namespace {

// The program with the example spectrum open (active, tag Fe55) beside live_data.
struct Program : TestProgram {
    void Run(CommandId id) {
        frame().Execute(ToInt(id));
        Settle();
    }
};

// A click after the driver's answer has returned: the button may open a modal of its own, which
// the driver must be free to answer.
void ClickLater(QAbstractButton* button) {
    QTimer::singleShot(0, button, [button] { button->click(); });
}

template <class D> D* As(QWidget* w) {
    auto* d = qobject_cast<D*>(w);
    if (!d)
        qWarning("unexpected modal %s", w ? w->metaObject()->className() : "none");
    return d;
}

QPushButton* OkOf(QDialog* d) {
    for (auto* b : d->findChildren<QPushButton*>())
        if (b->text() == QStringLiteral("OK") || b->text() == QStringLiteral("&OK"))
            return b;
    return nullptr;
}

int CountColour(const QImage& image, QRgb colour) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            n += image.pixel(x, y) == colour;
    return n;
}

} // namespace

class PropertiesDialogsTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void cancelOnDefineExpressionLeavesTheListUnchanged();
    void invalidTagKeepsTheDialogOpen();
    void unchangedExpressionIsNotRecompiled();
    void colourChangeRemakesThePenAndRedraws();
    void notesEditTheHeaderCopyOnlyOnOk();
    void spectraDialogWritesSlotsAtOnceAndSmoothKindOnClose();
};

void PropertiesDialogsTest::cancelOnDefineExpressionLeavesTheListUnchanged() {
    Program p;
    const int before = p.list().GetCount();
    ModalDriver driver;
    QString title;
    driver.Then([&](QWidget* w) {
        auto* d = As<CSpectrumDlg>(w);
        title = d->windowTitle();
        QVERIFY(d->Expression()->isVisible());
        QVERIFY(d->Gain()->isEnabled());
        d->Expression()->setText(QStringLiteral("Fe55*2"));
        d->reject();
    });
    p.Run(CommandId::Expression);
    QCOMPARE(title, QStringLiteral("Define Expression"));
    QCOMPARE(p.list().GetCount(), before);
    QCOMPARE(p.list()[1]->m_linked.GetCount(), 0);

    driver.Then([&](QWidget* w) {
        auto* d = As<CSpectrumDlg>(w);
        d->Expression()->setText(QStringLiteral("Fe55*2"));
        ClickLater(OkOf(d));
    });
    p.Run(CommandId::Expression);
    QCOMPARE(p.list().GetCount(), before + 1);
    CSpectrum* added = p.list()[before];
    QVERIFY(added->m_bDerived);
    QCOMPARE(p.list().GetActivePosition(), 1); // the new spectrum is not made active
    QCOMPARE(driver.unexpected, 0);
}

void PropertiesDialogsTest::invalidTagKeepsTheDialogOpen() {
    Program p;
    CSpectrum* fe = p.list().GetActive();
    ModalDriver driver;
    bool stillOpen = false;
    driver.Then([&](QWidget* w) {
        auto* d = As<CSpectrumDlg>(w);
        QCOMPARE(d->windowTitle(), QStringLiteral("Modify Spectrum Properties"));
        QVERIFY(!d->Expression()->isVisible());
        QVERIFY(!d->Gain()->isEnabled());
        d->Tag()->setText(QStringLiteral("9lives"));
        ClickLater(OkOf(d));
    });
    driver.ThenButton(QMessageBox::Ok);
    driver.Then([&](QWidget* w) {
        auto* d = As<CSpectrumDlg>(w);
        stillOpen = d && d->isVisible();
        d->Tag()->setText(QStringLiteral("Fe_2"));
        ClickLater(OkOf(d));
    });
    p.Run(CommandId::Modify);
    QCOMPARE(driver.seen, QStringList{QStringLiteral("Invalid Tag!")});
    QVERIFY(stillOpen);
    QCOMPARE(fe->m_strTag, std::string("Fe_2"));
    QCOMPARE(driver.unexpected, 0);
}

void PropertiesDialogsTest::unchangedExpressionIsNotRecompiled() {
    Program p;
    auto derived = std::make_unique<CSpectrum>(p.app->State().Environment().slots, 2);
    derived->m_bDerived = 1;
    QVERIFY(SetExpression(p.list(), *derived, "Fe55*2"));
    CSpectrum* d = p.list().Add(derived, true);
    QTRY_VERIFY(d->Lock()->m_bValid);
    const SpectrumProgram* program = d->m_pProgram.get();

    ModalDriver driver;
    driver.Then([&](QWidget* w) {
        auto* dlg = As<CSpectrumDlg>(w);
        QCOMPARE(dlg->windowTitle(), QStringLiteral("Modify Expression"));
        dlg->Description()->setText(QStringLiteral("doubled"));
        ClickLater(OkOf(dlg));
    });
    p.Run(CommandId::Modify);
    QCOMPARE(d->m_pProgram.get(), program);
    QVERIFY(d->Lock()->m_bValid);
    QCOMPARE(d->m_strDescription, std::string("doubled"));

    driver.Then([&](QWidget* w) {
        auto* dlg = As<CSpectrumDlg>(w);
        dlg->Expression()->setText(QStringLiteral("Fe55*3"));
        ClickLater(OkOf(dlg));
    });
    p.Run(CommandId::Modify);
    QVERIFY(d->m_pProgram.get() != program);
    QTRY_VERIFY(d->Lock()->m_bValid);
    QCOMPARE(d->m_pData[500], p.list()[1]->m_pData[500] * 3);
    QCOMPARE(driver.unexpected, 0);
}

void PropertiesDialogsTest::colourChangeRemakesThePenAndRedraws() {
    Program p;
    CSpectrum* fe = p.list().GetActive();
    // A colour nothing else in the plot uses.
    const QRgb chosen = qRgb(12, 34, 200);
    auto* plotWidget = qobject_cast<PlotWidget*>(p.frame().Panes().Plot());
    QVERIFY(plotWidget);
    QWidget* plot = plotWidget->canvas();
    QCOMPARE(CountColour(plot->grab().toImage(), chosen), 0);
    // Count the plot's paints from the moment the dialog closes.
    int paints = 0;
    struct Counter : QObject {
        int& n;
        explicit Counter(int& count) : n(count) {}
        bool eventFilter(QObject*, QEvent* e) override {
            n += e->type() == QEvent::Paint;
            return false;
        }
    } counter(paints);

    ModalDriver driver;
    driver.Then([&](QWidget* w) { ClickLater(As<CSpectrumDlg>(w)->ContourColor()); });
    driver.Then([&](QWidget* w) {
        auto* chooser = As<QColorDialog>(w);
        chooser->setCurrentColor(QColor(chosen));
        chooser->accept();
    });
    driver.Then([&](QWidget* w) {
        auto* d = As<CSpectrumDlg>(w);
        QCOMPARE(d->ContourColor()->Color(), 0xC8220Cu);
        plot->installEventFilter(&counter);
        ClickLater(OkOf(d));
    });
    p.Run(CommandId::Modify);
    plot->removeEventFilter(&counter);
    QCOMPARE(fe->m_crColor, 0xC8220Cu);
    QCOMPARE(fe->Pen().color, 0xC8220Cu);
    QVERIFY(paints > 0);
    QVERIFY(CountColour(plot->grab().toImage(), chosen) > 0);
    QCOMPARE(driver.unexpected, 0);
}

void PropertiesDialogsTest::notesEditTheHeaderCopyOnlyOnOk() {
    Program p;
    CSpectrum* fe = p.list().GetActive();
    CSProfile& profile = p.app->State().Profile();
    profile.dppPrintConfig = 0;
    const std::string generalNotes = fe->m_strGeneralNotes;
    ModalDriver driver;
    auto openNotes = [&](QWidget* w) { ClickLater(As<CSpectrumDlg>(w)->NotesButton()); };
    // Notes typed and confirmed, then the whole dialog cancelled: the spectrum keeps its notes.
    driver.Then(openNotes);
    driver.Then([&](QWidget* w) {
        auto* notes = As<CNotes>(w);
        QCOMPARE(notes->windowTitle(), QStringLiteral("Additional Notes"));
        notes->General()->setPlainText(QStringLiteral("first\nsecond"));
        notes->PrintDpp()->setChecked(true);
        notes->accept();
    });
    driver.Then([&](QWidget* w) { As<CSpectrumDlg>(w)->reject(); });
    p.Run(CommandId::Modify);
    QCOMPARE(fe->m_strGeneralNotes, generalNotes);
    // The DPP choice is the program's, not the spectrum's.
    QCOMPARE(profile.dppPrintConfig, 1);

    driver.Then(openNotes);
    driver.Then([&](QWidget* w) {
        auto* notes = As<CNotes>(w);
        notes->System()->setPlainText(QStringLiteral("Si-PIN\n25 mm2"));
        notes->PrintNotes()->setChecked(false);
        notes->accept();
    });
    driver.Then([&](QWidget* w) { ClickLater(OkOf(As<CSpectrumDlg>(w))); });
    p.Run(CommandId::Modify);
    QCOMPARE(fe->m_strSystemNotes, std::string("Si-PIN\r\n25 mm2"));
    QCOMPARE(fe->m_bPrintNotes, 0);
    QCOMPARE(driver.unexpected, 0);
}

void PropertiesDialogsTest::spectraDialogWritesSlotsAtOnceAndSmoothKindOnClose() {
    Program p;
    CSProfile& profile = p.app->State().Profile();
    QCOMPARE(profile.smoothKind, 0);
    ModalDriver driver;
    driver.Then([&](QWidget* w) {
        auto* d = As<CPropSpectra>(w);
        QCOMPARE(d->windowTitle(), QStringLiteral("Spectra"));
        QCOMPARE(d->Slots()->count(), 10);
        d->FivePoints()->setChecked(true);
        d->Slots()->setCurrentRow(2);
        d->Slots()->setFocus();
        QTimer::singleShot(0, d, [d] { QTest::keyClick(d->Slots(), Qt::Key_Return); });
    });
    driver.Then([&](QWidget* w) {
        auto* slot = As<CPropDefaultDlg>(w);
        QCOMPARE(slot->windowTitle(), QStringLiteral("Specify Contour and Tag"));
        QCOMPARE(slot->Tag()->text(), QStringLiteral("S2"));
        slot->Tag()->setText(QStringLiteral("2nd"));
        ClickLater(OkOf(slot));
    });
    driver.ThenButton(QMessageBox::Ok); // "Invalid Tag!"
    driver.Then([&](QWidget* w) {
        auto* slot = As<CPropDefaultDlg>(w);
        slot->Tag()->setText(QStringLiteral("Gold"));
        slot->ContourWidth()->setCurrentIndex(2);
        ClickLater(OkOf(slot));
    });
    driver.Then([&](QWidget* w) {
        auto* d = As<CPropSpectra>(w);
        // Written at once, before the dialog closes; the smoothing kind waits for Close.
        QCOMPARE(profile.slots[2].tag, std::string("Gold"));
        QCOMPARE(profile.slots[2].width, 3);
        QCOMPARE(profile.smoothKind, 0);
        QCOMPARE(d->Slots()->item(2)->data(SlotItemDelegate::TagRole).toString(),
                 QStringLiteral("Gold"));
        QVERIFY(d->isVisible()); // Enter on the slot did not close the dialog
        d->reject();
    });
    p.Run(CommandId::SpectraDialog);
    QCOMPARE(driver.seen, QStringList{QStringLiteral("Invalid Tag!")});
    QCOMPARE(profile.smoothKind, 1);
    QCOMPARE(p.app->State().Environment().settings.smoothKind, 1);
    QCOMPARE(p.app->State().Environment().slots.ForPosition(2).tag, std::string("Gold"));
    QCOMPARE(driver.unexpected, 0);
}

QTEST_MAIN(PropertiesDialogsTest)
#include "PropertiesDialogsTest.moc"
