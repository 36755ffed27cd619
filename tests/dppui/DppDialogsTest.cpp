// The DPP dialogs on the offscreen platform: what they show and what they hand back.

#include <QApplication>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include "dpp/DppUpdateNotice.h"
#include "dppui/CDppSelectDlg.h"
#include "dppui/CDppUpdateNoticeDlg.h"

using namespace vorna;

namespace {

DppSelectLabels SevenDevices() {
    DppSelectLabels labels;
    for (int i = 0; i < 7; ++i)
        labels[static_cast<size_t>(i)] = "Serial Number " + std::to_string(1001 + i) + " [Plover]";
    return labels;
}

// Presses a button of the modal dialog once its event loop runs.
void PressLater(const QString& objectName) {
    QTimer::singleShot(0, [objectName] {
        QWidget* dlg = QApplication::activeModalWidget();
        QVERIFY(dlg);
        auto* button = dlg->findChild<QPushButton*>(objectName);
        QVERIFY(button);
        button->click();
    });
}

void CancelLater() {
    QTimer::singleShot(0, [] {
        QWidget* dlg = QApplication::activeModalWidget();
        QVERIFY(dlg);
        dlg->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Cancel)->click();
    });
}

DppUpdateNoticeInput Plover(uint8_t firmware, uint8_t fpga) {
    DppUpdateNoticeInput in;
    in.programLines = "VORNA\r\n0.1.0\r\n(c) VORNA developers\r\n";
    in.serialNumber = 1002;
    in.firmwareByte = firmware;
    in.fpgaByte = fpga;
    in.deviceType = 2;
    in.liveSpectrumActive = true;
    in.updateInfoUrl = "file:///opt/vorna/manual/index.html#dpp-updates";
    return in;
}

} // namespace

class DppDialogsTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void selectShowsOnlySixOfSevenDevices() {
        CDppSelectDlg dlg(SevenDevices());
        QCOMPARE(dlg.windowTitle(), QStringLiteral("Please Select A DPP"));
        int shown = 0;
        for (QPushButton* b : dlg.findChildren<QPushButton*>())
            if (b->objectName().startsWith(QStringLiteral("entry")) && !b->isHidden())
                ++shown;
        QCOMPARE(shown, 6);
        QCOMPARE(dlg.entryButton(6)->text(), QStringLiteral("Serial Number 1006 [Plover]"));
        QCOMPARE(dlg.entryButton(7), nullptr);
        QCOMPARE(dlg.chosenEntry(), 1);
    }

    void selectHidesUnidentifiedDevices() {
        DppSelectLabels labels;
        labels[0] = "Serial Number 1001 [Heron]";
        labels[2] = "Serial Number 1003 [HERONEMUL]";
        CDppSelectDlg dlg(labels);
        QVERIFY(!dlg.entryButton(1)->isHidden());
        QVERIFY(dlg.entryButton(2)->isHidden());
        QVERIFY(!dlg.entryButton(3)->isHidden());
        QVERIFY(dlg.entryButton(4)->isHidden());
    }

    void selectButtonReturnsItsEntryAndCancelReturnsNone() {
        PressLater(QStringLiteral("entry5"));
        QCOMPARE(ChooseDppEntry(SevenDevices(), nullptr), 5);
        PressLater(QStringLiteral("entry1"));
        QCOMPARE(ChooseDppEntry(SevenDevices(), nullptr), 1);
        CancelLater();
        QCOMPARE(ChooseDppEntry(SevenDevices(), nullptr), 0);
    }

    void noticeForFirmware400AndFpga315() {
        CDppUpdateNoticeDlg dlg(Plover(0x40, 0x3F));
        QVERIFY(!dlg.closesAtOnce());
        QCOMPARE(dlg.windowTitle(), QStringLiteral("Update DPP Notice"));
        QCOMPARE(dlg.headlineLabel()->text(),
                 QStringLiteral(
                     "Your device FPGA or firmware is out of date. \nSee below for details."));
        QVERIFY(dlg.textBox()->isReadOnly());
        QCOMPARE(dlg.textBox()->toPlainText(),
                 QStringLiteral("VORNA\n0.1.0\n(c) VORNA developers\nPlover (s/n    1002)\n"
                                "Firmware Version:  4.00\nFPGA Version:  3.15\nFirmware OK\n"
                                "***FPGA needs update to version 4.00 or above.***"));
        QCOMPARE(dlg.dontShowBox()->text(), QString::fromLatin1(kUpdateNoticeCheckBox));
        QVERIFY(!dlg.dontShowBox()->isChecked());
        auto* link = dlg.findChild<QLabel*>(QStringLiteral("link"));
        QVERIFY(link->openExternalLinks());
        QVERIFY(link->text().contains(QStringLiteral("index.html#dpp-updates")));
        dlg.dontShowBox()->setChecked(true);
        QVERIFY(!dlg.showAtStartup());
    }

    void noticeClosesAtOnceWhenThereIsNothingToTell() {
        CDppUpdateNoticeDlg current(Plover(0x40, 0x40));
        QVERIFY(current.closesAtOnce());
        QCOMPARE(current.headlineLabel()->text(), QStringLiteral("FPGA and Firmware OK"));
        QCOMPARE(current.exec(), int(QDialog::Accepted)); // returns without an event loop
        QVERIFY2(current.showAtStartup(), "closing at once leaves the profile value alone");

        DppUpdateNoticeInput heron = Plover(0x31, 0x20);
        heron.deviceType = 1;
        QVERIFY(CDppUpdateNoticeDlg(heron).closesAtOnce());
        DppUpdateNoticeInput osprey = Plover(0x31, 0x20);
        osprey.deviceType = 4;
        QVERIFY(CDppUpdateNoticeDlg(osprey).closesAtOnce());
        DppUpdateNoticeInput stored = Plover(0x31, 0x20);
        stored.liveSpectrumActive = false;
        QVERIFY(CDppUpdateNoticeDlg(stored).closesAtOnce());
        QVERIFY(!CDppUpdateNoticeDlg(Plover(0x31, 0x20)).closesAtOnce());
    }
};

QTEST_MAIN(DppDialogsTest)
#include "DppDialogsTest.moc"
