// The acquisition setup dialog on the offscreen platform: refusals keep it open, OK returns the
// edited values and writes the profile, the controls follow the mode rules.

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include "kestrel/ui/CAcqDlg.h"
#include "settings/CSProfile.h"
#include "settings/MemoryProfileStore.h"

using namespace vorna;

namespace {

// Closes the next message box with OK and keeps its text. Polling stops after two seconds, so a
// box that never comes fails the text comparison instead of hanging the test.
class BoxCloser {
public:
    BoxCloser() {
        QTimer::singleShot(50, &m_context, [this] { Poll(); });
    }
    QString text;

private:
    void Poll() {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            text = box->text();
            box->button(QMessageBox::Ok)->click();
            return;
        }
        if (++m_tries < 100)
            QTimer::singleShot(20, &m_context, [this] { Poll(); });
    }
    int m_tries = 0;
    QObject m_context; // pending polls end with the closer
};

void Choose(QComboBox* box, int index) {
    box->setCurrentIndex(index);
    Q_EMIT box->activated(index);
}

} // namespace

class CAcqDlgTest : public QObject {
    Q_OBJECT
private:
    MemoryProfileStore m_store;
    CSProfile m_profile{m_store, ScreenSize{1920, 1080}};
    AcqSetup m_values;

    template <class T> static T* Find(QDialog& dlg, const char* name) {
        auto* w = dlg.findChild<T*>(QString::fromLatin1(name));
        Q_ASSERT(w);
        return w;
    }

private Q_SLOTS:
    void init() {
        m_profile.deviceType = 0;
        m_profile.presetMode = static_cast<int>(AcqPresetMode::Seconds);
        m_profile.acquireMode = 0;
        m_profile.spTotalCts = 2000;
        m_profile.spChanCts = 400;
        m_profile.spChanPosition = 256;
        m_values = AcqSetup{};
        m_values.preset = 120;
        m_values.threshold = 30;
    }

    void outOfRangeKeepsDialogOpen() {
        CAcqDlg dlg(m_values, m_profile, KestrelDeviceType::KestrelA, {});
        dlg.show();
        Find<QLineEdit>(dlg, "threshold")->setText(QStringLiteral("9000"));
        BoxCloser closer;
        dlg.accept();
        QCOMPARE(closer.text, QStringLiteral("Please enter an integer between 1 and 8192."));
        QVERIFY(dlg.isVisible());
        QCOMPARE(dlg.result(), 0);

        Find<QLineEdit>(dlg, "preset")->setText(QStringLiteral("16777216"));
        BoxCloser second;
        dlg.accept();
        QCOMPARE(second.text, QStringLiteral("Please enter an integer between 0 and 16777215."));
        QVERIFY(dlg.isVisible());
    }

    void channelRuleRefusesThenOkReturnsValues() {
        CAcqDlg dlg(m_values, m_profile, KestrelDeviceType::KestrelA, [] { return 700; });
        dlg.show();
        auto* channelUsed = Find<QLineEdit>(dlg, "channelUsed");
        QVERIFY(!channelUsed->isEnabled());
        Choose(Find<QComboBox>(dlg, "presetMode"), 2);
        QVERIFY(channelUsed->isEnabled());
        QCOMPARE(Find<QLineEdit>(dlg, "preset")->text(), QStringLiteral("400"));
        channelUsed->setText(QStringLiteral("1025"));
        BoxCloser closer;
        dlg.accept();
        QCOMPARE(closer.text, QStringLiteral("Invalid channel range for Preset Channel Mode!"));
        QVERIFY(dlg.isVisible());

        Find<QPushButton>(dlg, "channelUsedCursor")->click();
        QCOMPARE(channelUsed->text(), QStringLiteral("700"));
        Find<QPushButton>(dlg, "thresholdCursor")->click();
        Choose(Find<QComboBox>(dlg, "timerType"), 0);
        Choose(Find<QComboBox>(dlg, "adcChannels"), 3);
        Choose(Find<QComboBox>(dlg, "memoryGroup"), 7);
        Find<QLineEdit>(dlg, "preset")->setText(QStringLiteral("5000"));
        dlg.accept();
        QCOMPARE(dlg.result(), int(QDialog::Accepted));
        const AcqSetup& v = dlg.values();
        QCOMPARE(v.presetMode, 2);
        QCOMPARE(v.preset, 5000u);
        QCOMPARE(v.channelUsed, 700);
        QCOMPARE(v.threshold, 700);
        QCOMPARE(v.timerType, 0);
        QCOMPARE(v.liveMode, 0);
        QCOMPARE(v.gainIndex, 3);
        QCOMPARE(v.group, 7);
        QCOMPARE(m_profile.spChanCts, 5000);
        QCOMPARE(m_profile.spChanPosition, 700);
    }

    void controlsFollowTheModeRules() {
        CAcqDlg plain(m_values, m_profile, KestrelDeviceType::Kestrel, {});
        QVERIFY(!Find<QComboBox>(plain, "memoryGroup")->isEnabled());
        QCOMPARE(Find<QComboBox>(plain, "adcChannels")->count(), 6);

        m_profile.presetMode = static_cast<int>(AcqPresetMode::Counts);
        CAcqDlg dlg(m_values, m_profile, KestrelDeviceType::KestrelA, {});
        QCOMPARE(Find<QComboBox>(dlg, "memoryGroup")->count(), 32);
        QVERIFY(Find<QComboBox>(dlg, "memoryGroup")->isEnabled());
        QCOMPARE(Find<QLabel>(dlg, "presetLabel")->text(), QStringLiteral("Preset (cts):"));
        Choose(Find<QComboBox>(dlg, "acquisitionMode"), 1);
        auto* presetMode = Find<QComboBox>(dlg, "presetMode");
        QCOMPARE(presetMode->count(), 2);
        QCOMPARE(presetMode->currentText(), QStringLiteral("None"));
        QCOMPARE(Find<QComboBox>(dlg, "adcChannels")->currentText(), QStringLiteral("256"));
        QVERIFY(!Find<QComboBox>(dlg, "adcChannels")->isEnabled());
        QVERIFY(!Find<QComboBox>(dlg, "memoryGroup")->isEnabled());
        QVERIFY(!Find<QComboBox>(dlg, "peakMode")->isEnabled());
        QVERIFY(!Find<QLineEdit>(dlg, "preset")->isEnabled());

        Find<QPushButton>(dlg, "defaults")->click();
        QCOMPARE(Find<QComboBox>(dlg, "acquisitionMode")->currentIndex(), 0);
        QCOMPARE(Find<QComboBox>(dlg, "adcChannels")->currentText(), QStringLiteral("1024"));
        QCOMPARE(Find<QLabel>(dlg, "presetLabel")->text(), QStringLiteral("Preset (sec)"));
        QCOMPARE(Find<QLineEdit>(dlg, "threshold")->text(), QStringLiteral("50"));
        QVERIFY(Find<QComboBox>(dlg, "peakMode")->isEnabled());
    }

    void cancelKeepsProfileButStoresPosition() {
        m_profile.Dialog(ProfileDialog::AcqSetupDlg) = {300, 200};
        QTimer::singleShot(50, [] {
            if (auto* w = QApplication::activeModalWidget())
                qobject_cast<QDialog*>(w)->reject();
        });
        QTimer safety;
        safety.setSingleShot(true);
        connect(&safety, &QTimer::timeout, [] {
            if (auto* w = QApplication::activeModalWidget())
                w->close();
        });
        safety.start(5000);
        const auto result =
            RunAcqSetupDialog(m_values, m_profile, KestrelDeviceType::KestrelA, {}, nullptr);
        QVERIFY(!result);
        QCOMPARE(m_profile.presetMode, 0);
        QCOMPARE(m_profile.spTotalCts, 2000);
        const DialogPosition& p = m_profile.Dialog(ProfileDialog::AcqSetupDlg);
        QCOMPARE(p.hpos, 300);
        QCOMPARE(p.vpos, 200);
    }
};

QTEST_MAIN(CAcqDlgTest)
#include "CAcqDlgTest.moc"
