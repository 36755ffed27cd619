// The plot and navigation widgets driven like a user would, offscreen, on a real spectra list.

#include <QApplication>
#include <QImage>
#include <QLineEdit>
#include <QTest>
#include <memory>

#include "PlotWorld.h"
#include "display/ui/NavigationPane.h"
#include "display/ui/PlotWidget.h"
#include "display/ui/QtRepeatScheduler.h"
#include "display/ui/ZoomArrowButton.h"

using namespace vorna;
using vorna::test::PlotWorld;

namespace {

constexpr QRgb kWhite = 0xFFFFFFFF;
constexpr QRgb kRed = 0xFFFF0000;   // fill 0x0000FF in the profile's BGR
constexpr QRgb kBlue = 0xFF0000FF;  // ROI 0xFF0000
constexpr QRgb kCyan = 0xFF00FFFF;  // selected ROI 0xFFFF00
constexpr QRgb kGreen = 0xFF008000; // spectrum colour 0x008000

// A window with a plot pane of 800 x 400 drawing pixels over its navigation pane.
struct Panes {
    QtRepeatScheduler repeats;
    PlotWorld w{&repeats};
    VirtualClock clock{1000000};
    QWidget window;
    PlotWidget plot{*w.plot, *w.port, &window, &clock};
    NavigationPane nav{*w.plot, &window};
    PlotCanvas* canvas = plot.canvas();

    Panes() {
        window.resize(800, 485);
        plot.setGeometry(0, 0, 800, 415);
        nav.setGeometry(0, 415, 800, 70);
        nav.setPlotFocusTarget(&plot);
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        canvas->setFocus();
    }
    void key(int k, Qt::KeyboardModifiers mods = Qt::NoModifier, int times = 1) {
        for (int i = 0; i < times; ++i)
            QTest::keyClick(canvas, static_cast<Qt::Key>(k), mods);
    }
    void press(int x, int y) { QTest::mousePress(canvas, Qt::LeftButton, {}, QPoint(x, y)); }
    void move(int x, int y) {
        clock.Advance(25000);
        QTest::mouseMove(canvas, QPoint(x, y));
    }
    void release(int x, int y) {
        clock.Advance(25000);
        QTest::mouseRelease(canvas, Qt::LeftButton, {}, QPoint(x, y));
    }
    std::vector<std::pair<int, int>> rois() {
        std::vector<std::pair<int, int>> out;
        for (const CRoiEntry& e : w.Active().m_roi.Entries())
            out.push_back({e.start, e.end});
        return out;
    }
    QImage grab() {
        QImage img = plot.grabPlot().convertToFormat(QImage::Format_ARGB32);
        return img;
    }
    // Rows x of the picture holds the colour.
    static int countInColumn(const QImage& img, int x, QRgb colour) {
        int n = 0;
        for (int y = 0; y < img.height(); ++y)
            n += img.pixel(x, y) == colour;
        return n;
    }
};

using Rois = std::vector<std::pair<int, int>>;

} // namespace

class PlotWidgetTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void cursorKeysAndRoiMarking();
    void viewKeysAndScaleLabel();
    void keysThatAreNotThePlotsChangeNothing();
    void mouseDrawsAndDragsRois();
    void rubberBandZoomIgnoresSmallBoxes();
    void typedRangesAndPreviousView();
    void zoomButtonsRepeatWhileHeld();
    void scrollBarFollowsAndScrollsTheView();
    void fillAndRoiBandsInTheirColours();
    void hiddenSpectrumDrawsNothing();
    void logPlotOfZeroAndNegativeCounts();
};

void PlotWidgetTest::cursorKeysAndRoiMarking() {
    Panes p;
    p.w.AddSpectrum(2); // 1024 channels: one step is 16 absolute channels
    p.w.plot->MoveCursorTo(ToAbsolute(100, 2));
    p.key(Qt::Key_Right);
    QCOMPARE(p.w.plot->CursorChannel(), 101);
    p.key(Qt::Key_Left, Qt::NoModifier, 2);
    QCOMPARE(p.w.plot->CursorChannel(), 99);
    QCOMPARE(p.nav.cursorValueText(), QStringLiteral("99"));
    p.key(Qt::Key_U, Qt::NoModifier, 5);
    QCOMPARE(p.rois(), (Rois{{99, 104}}));
    QCOMPARE(p.w.plot->CursorChannel(), 104);
    p.key(Qt::Key_Y);
    QCOMPARE(p.rois(), (Rois{{98, 104}}));
    p.key(Qt::Key_Right, Qt::NoModifier, 6); // to the right end, then shrink it
    p.key(Qt::Key_U, Qt::ControlModifier);
    QCOMPARE(p.rois(), (Rois{{98, 103}}));
    QCOMPARE(p.w.plot->CursorChannel(), 103);
    p.key(Qt::Key_Left, Qt::NoModifier, 5); // to the left end, then shrink it
    p.key(Qt::Key_Y, Qt::ControlModifier);
    QCOMPARE(p.rois(), (Rois{{99, 103}}));
    QCOMPARE(p.w.plot->CursorChannel(), 99);
    // A second ROI further right, then Ctrl+arrows walk the selection without the cursor.
    p.w.plot->MoveCursorTo(ToAbsolute(200, 2));
    p.key(Qt::Key_U, Qt::NoModifier, 3);
    QCOMPARE(p.rois(), (Rois{{99, 103}, {200, 203}}));
    QCOMPARE(p.w.Active().m_roi.GetSelected(), 1);
    p.key(Qt::Key_Left, Qt::ControlModifier);
    QCOMPARE(p.w.Active().m_roi.GetSelected(), 0);
    p.key(Qt::Key_Right, Qt::ControlModifier);
    QCOMPARE(p.w.Active().m_roi.GetSelected(), 1);
    QCOMPARE(p.w.plot->CursorChannel(), 203);
    p.key(Qt::Key_E);
    QCOMPARE(p.rois(), (Rois{{99, 103}}));
    p.key(Qt::Key_R);
    QVERIFY(p.rois().empty());
}

void PlotWidgetTest::viewKeysAndScaleLabel() {
    Panes p;
    p.w.AddSpectrum(2);
    p.w.plot->SetView(3200, 4799, 0, 1023);
    p.key(Qt::Key_J);
    QCOMPARE(p.w.plot->View().start, 3184);
    p.key(Qt::Key_K);
    p.key(Qt::Key_K);
    QCOMPARE(p.w.plot->View().start, 3216);
    p.key(Qt::Key_O);
    QCOMPARE(p.w.plot->View().start, 3216 - 799);
    p.key(Qt::Key_P);
    QCOMPARE(p.w.plot->View().start, (2417 + 4016) / 2);
    p.w.plot->MoveCursorTo(4000);
    const int width = p.w.plot->View().end - p.w.plot->View().start;
    p.key(Qt::Key_M);
    QVERIFY(p.w.plot->View().end - p.w.plot->View().start < width);
    p.key(Qt::Key_N);
    p.key(Qt::Key_N);
    QVERIFY(p.w.plot->View().end - p.w.plot->View().start > width);
    p.key(Qt::Key_Up);
    QCOMPARE(p.w.plot->View().top, 953u); // round(1024 * 0.933) - 1 counts shown, from 0
    p.key(Qt::Key_Down);
    QVERIFY(p.w.plot->View().top > 953u);
    QCOMPARE(p.nav.field(NavField::CountTop)->text(), QString::number(p.w.plot->View().top));
    QCOMPARE(p.nav.scaleLabel(), QStringLiteral("LIN Scale  "));
    p.key(Qt::Key_L);
    QCOMPARE(p.nav.scaleLabel(), QStringLiteral("LOG Scale  "));
    p.key(Qt::Key_L);
    QCOMPARE(p.nav.scaleLabel(), QStringLiteral("SQRT Scale "));
    p.key(Qt::Key_L);
    QCOMPARE(p.nav.scaleLabel(), QStringLiteral("LIN Scale  "));
}

void PlotWidgetTest::keysThatAreNotThePlotsChangeNothing() {
    // Home and End have no meaning in the plot: view and cursor stay.
    Panes p;
    p.w.AddSpectrum(2);
    p.w.plot->SetView(3200, 4799, 0, 1023);
    p.w.plot->MoveCursorTo(4000);
    const PlotView view = p.w.plot->View();
    p.key(Qt::Key_Home);
    p.key(Qt::Key_End);
    QCOMPARE(p.w.plot->View(), view);
    QCOMPARE(p.w.plot->Cursor(), 4000.0);
}

void PlotWidgetTest::mouseDrawsAndDragsRois() {
    Panes p;
    p.w.AddSpectrum(6);
    p.w.plot->SetView(0, 799, 0, 127); // one absolute channel per pixel
    p.w.plot->ToggleEditRoi();
    QCOMPARE(p.canvas->cursor().shape(), Qt::SizeVerCursor);
    p.press(400, 100);
    p.move(350, 100);
    p.release(300, 100);
    QCOMPARE(p.rois(), (Rois{{300, 400}}));
    // Grab the right end and drag it past the left one: gone; back to the right: again.
    p.press(401, 100);
    QCOMPARE(p.canvas->cursor().shape(), Qt::SizeHorCursor);
    p.move(250, 100);
    QVERIFY(p.rois().empty());
    p.move(380, 100);
    QCOMPARE(p.rois(), (Rois{{300, 380}}));
    p.release(390, 100);
    QCOMPARE(p.rois(), (Rois{{300, 390}}));
    QCOMPARE(p.canvas->cursor().shape(), Qt::SizeVerCursor);
}

void PlotWidgetTest::rubberBandZoomIgnoresSmallBoxes() {
    Panes p;
    p.w.plot->SetView(0, 799, 0, 399);
    p.w.plot->ToggleSelectView();
    const PlotView before = p.w.plot->View();
    p.press(100, 100);
    p.move(110, 300); // 10 pixels wide
    p.release(110, 300);
    p.press(100, 100);
    p.move(400, 108); // 8 pixels high
    p.release(400, 108);
    QCOMPARE(p.w.plot->View(), before);
    p.press(200, 100);
    p.move(600, 300);
    p.release(600, 300);
    QCOMPARE(p.w.plot->View(), (PlotView{200, 600, 100, 300}));
    QCOMPARE(p.nav.field(NavField::RangeLeft)->text(), QStringLiteral("200"));
}

void PlotWidgetTest::typedRangesAndPreviousView() {
    Panes p;
    p.w.plot->SetView(0, 1023, 0, 127);
    QLineEdit* top = p.nav.field(NavField::CountTop);
    top->selectAll();
    QTest::keyClicks(top, "2M");
    QTest::keyClick(top, Qt::Key_Return);
    QCOMPARE(p.w.plot->View().top, 2000001u);
    QCOMPARE(top->text(), QStringLiteral("2000001"));
    QLineEdit* bottom = p.nav.field(NavField::CountBottom);
    bottom->selectAll();
    QTest::keyClicks(bottom, "2000001");
    QTest::keyClick(bottom, Qt::Key_Return);
    QCOMPARE(p.w.prompt.messages, std::vector<std::string>{"Invalid range!"});
    QCOMPARE(p.w.plot->View().top, 2000001u);
    QLineEdit* right = p.nav.field(NavField::RangeRight);
    right->selectAll();
    QTest::keyClicks(right, "4095");
    QTest::keyClick(right, Qt::Key_Enter);
    QCOMPARE(p.w.plot->View().end, 4096);
    // Previous View toggles between the last two views, and the fields follow.
    p.w.plot->ShowPreviousView();
    QCOMPARE(p.w.plot->View().end, 1023);
    QCOMPARE(right->text(), QStringLiteral("1023"));
    p.w.plot->ShowPreviousView();
    QCOMPARE(right->text(), QStringLiteral("4096"));
}

void PlotWidgetTest::zoomButtonsRepeatWhileHeld() {
    Panes p;
    p.w.plot->SetView(0, 16383, 0, 127);
    p.w.plot->MoveCursorTo(8000);
    ZoomArrowButton* expand = p.nav.zoomButton(ZoomButton::HorizontalExpand);
    QTest::mousePress(expand, Qt::LeftButton);
    QCOMPARE(p.w.plot->View().end - p.w.plot->View().start, 8190);
    QVERIFY(p.canvas->hasFocus()); // clicks in the pane give the plot the keyboard
    QTRY_VERIFY_WITH_TIMEOUT(p.w.plot->View().end - p.w.plot->View().start <= 2046, 2000);
    QTest::mouseRelease(expand, Qt::LeftButton);
    const PlotView held = p.w.plot->View();
    QTest::qWait(450);
    QCOMPARE(p.w.plot->View(), held);
    // The right button takes the fine factor.
    ZoomArrowButton* compress = p.nav.zoomButton(ZoomButton::VerticalCompress);
    QTest::mousePress(compress, Qt::RightButton);
    QTest::mouseRelease(compress, Qt::RightButton);
    QCOMPARE(p.w.plot->View().top, 135u); // round(128 * 2^0.1) - 1 counts shown, from 0
}

void PlotWidgetTest::scrollBarFollowsAndScrollsTheView() {
    Panes p;
    p.w.AddSpectrum(2);
    p.w.plot->SetView(1600, 3199, 0, 127);
    QScrollBar* bar = p.plot.scrollBar();
    QCOMPARE(bar->value(), 1600);
    QCOMPARE(bar->pageStep(), 1599);
    bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    QCOMPARE(p.w.plot->View().start, 1616);
    QCOMPARE(bar->value(), 1616);
    bar->triggerAction(QAbstractSlider::SliderPageStepSub);
    QCOMPARE(p.w.plot->View().start, 17);
    bar->triggerAction(QAbstractSlider::SliderPageStepSub);
    QCOMPARE(p.w.plot->View().start, 0);
    QCOMPARE(bar->value(), 0);
}

void PlotWidgetTest::fillAndRoiBandsInTheirColours() {
    Panes p;
    CSpectrum* s = p.w.AddSpectrum(2, [](int) { return 50.0; });
    s->m_roi.AddSorted(100, 199);
    s->m_roi.AddSorted(500, 599);
    p.w.plot->SetView(0, 16383, 0, 127);
    p.w.plot->MoveCursorTo(16000);
    s->m_roi.SetSelected(1);
    p.w.plot->Invalidate();
    QImage img = p.grab();
    QCOMPARE(img.size(), QSize(800, 400));
    // 50 of 128 counts: the outline near row 400 - 157.
    QCOMPARE(img.pixel(600, 330), kRed);
    QCOMPARE(img.pixel(600, 100), kWhite);
    QCOMPARE(img.pixel(700, 300), kRed);
    QCOMPARE(img.pixel(120, 330), kBlue);  // ROI 100..199: columns 78..156
    QCOMPARE(img.pixel(430, 330), kCyan);  // the selected ROI 500..599: columns 390..468
    QCOMPARE(img.pixel(120, 100), kWhite); // bands stay under the outline
    // Show ROI off: the selected one is drawn like the others.
    p.w.env.settings.showRoi = 0;
    p.w.plot->Invalidate();
    QCOMPARE(p.grab().pixel(430, 330), kBlue);
    p.w.env.settings.showAllRoi = 0;
    p.w.plot->Invalidate();
    QCOMPARE(p.grab().pixel(120, 330), kRed);
}

void PlotWidgetTest::hiddenSpectrumDrawsNothing() {
    Panes p;
    CSpectrum* other = p.w.AddSpectrum(2, [](int) { return 64.0; });
    other->m_crColor = 0x008000;
    other->RemakePen();
    p.w.AddSpectrum(2); // the active one, all zero
    p.w.plot->SetView(0, 16383, 0, 127);
    p.w.plot->MoveCursorTo(16383);
    other->m_bHidden = 1;
    p.w.plot->Invalidate();
    QImage hidden = p.grab();
    for (int x = 20; x < 780; x += 37)
        QCOMPARE(Panes::countInColumn(hidden, x, kGreen), 0);
    other->m_bHidden = 0;
    p.w.plot->Invalidate();
    QImage shown = p.grab();
    for (int x = 20; x < 780; x += 37)
        QVERIFY(Panes::countInColumn(shown, x, kGreen) >= 1);
}

void PlotWidgetTest::logPlotOfZeroAndNegativeCounts() {
    Panes p;
    CSpectrum* s = p.w.AddSpectrum(2, [](int c) {
        if (c < 300)
            return 0.0;
        if (c < 600)
            return -50.0;
        return c >= 700 && c < 710 ? 1000.0 : 10.0;
    });
    s->m_crColor = 0x008000;
    s->RemakePen();
    PlotSettings st = p.w.plot->Settings();
    st.fillEnable = false;
    st.ticksEnable = false;
    st.scaleType = ScaleType::Logarithmic;
    p.w.plot->SetSettings(st);
    p.w.plot->SetView(0, 16383, 0, 2047);
    p.w.plot->MoveCursorTo(16383);
    QImage img = p.grab();
    // ln(10 + 1) / ln(2048) of 400 rows: the line at about row 400 - 125.
    const int tenRow = 400 - static_cast<int>(std::log(11.0) / std::log(2048.0) * 400 + 0.5);
    const int peakRow = 400 - static_cast<int>(std::log(1001.0) / std::log(2048.0) * 400 + 0.5);
    for (int x = 1; x < 790; ++x) {
        int top = 400;
        for (int y = 0; y < 400; ++y)
            if (img.pixel(x, y) == kGreen) {
                top = y;
                break;
            }
        QVERIFY2(top >= peakRow - 1, qPrintable(QStringLiteral("wild line at column %1").arg(x)));
        const int channel = x * 1024 / 800;
        if (channel >= 605 && channel < 695)
            QVERIFY2(std::abs(top - tenRow) <= 1, qPrintable(QStringLiteral("gap at %1").arg(x)));
        if (channel < 595)
            QVERIFY2(top >= 398, qPrintable(QStringLiteral("zero drawn high at %1").arg(x)));
    }
}

QTEST_MAIN(PlotWidgetTest)
#include "PlotWidgetTest.moc"
