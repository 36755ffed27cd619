// The plot's own outline drawing against the toolkit's painter, pixel for pixel, and the frame
// redrawn column-wise after a ROI edit against a whole repaint.

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QTest>
#include <random>

#include "PlotWorld.h"
#include "display/PlotRaster.h"
#include "display/ui/OutlinePainter.h"
#include "display/ui/PlotWidget.h"

using namespace vorna;
using vorna::test::PlotWorld;

namespace {

constexpr QRgb kPen = 0xFF008000;
constexpr QRgb kFill = 0xFFFF0000;

QImage blank(int w, int h) {
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(Qt::white);
    return img;
}

PixelFrame framOf(QImage& img) {
    return PixelFrame(reinterpret_cast<uint32_t*>(img.bits()),
                      static_cast<int>(img.bytesPerLine() / 4), img.width(), img.height());
}

// What the widget drew before it had its own rasteriser: the painter's one-pixel cosmetic pen and
// one rectangle per column.
QImage painterPicture(int w, int h, const std::vector<PlotPoint>& points, bool fill) {
    QImage img = blank(w, h);
    QPainter p(&img);
    if (fill)
        for (size_t i = 1; i + 1 < points.size(); ++i)
            if (points[i].y < h)
                p.fillRect(points[i].x, points[i].y, 1, h - points[i].y, QColor(kFill));
    QPen pen{QColor(kPen), 0};
    pen.setCosmetic(true);
    p.setPen(pen);
    QPolygon poly;
    for (const PlotPoint& pt : points)
        poly << QPoint(pt.x, pt.y);
    p.drawPolyline(poly);
    return img;
}

QImage ownPicture(int w, int h, const std::vector<PlotPoint>& points, bool fill) {
    QImage img = blank(w, h);
    const PixelFrame frame = framOf(img);
    if (fill)
        FillUnderOutline(frame, points, kFill, h);
    if (!StrokeOutline(frame, points, kPen))
        return {};
    return img;
}

// Outlines as the plot makes them: noisy spectra of every gain in every scale, zoomed in and out.
std::vector<PlotPoint> randomOutline(std::mt19937& rng, int w, int h, bool fillPolygon) {
    const int gain = static_cast<int>(rng() % 7);
    const int n = 256 << gain;
    std::vector<double> counts(static_cast<size_t>(n));
    const double level = std::uniform_real_distribution<double>(0, 300)(rng);
    const double spread = std::uniform_real_distribution<double>(0, 200)(rng);
    std::normal_distribution<double> noise(level, spread + 1);
    for (double& c : counts)
        c = noise(rng);
    const int width = 63 + static_cast<int>(rng() % 16321);
    const int start = static_cast<int>(rng() % (16384 - width));
    const uint32_t top = 31 + rng() % 600;
    const PlotGeometry g{PlotView{start, start + width, 0, top}, w, h};
    std::vector<PlotPoint> outline;
    ComputePlotPoints({counts, gain, n - 1, g, static_cast<ScaleType>(rng() % 3)}, outline);
    if (!fillPolygon)
        return OutlineLine(outline, g);
    std::vector<PlotPoint> poly = FillPolygon(outline, g);
    poly.push_back(poly.front());
    return poly;
}

// A wide outline as the widget drew it before: every segment through the painter.
QImage painterWidePicture(int w, int h, const std::vector<PlotPoint>& points, int width) {
    QImage img = blank(w, h);
    QPainter p(&img);
    p.setPen(OutlinePainter::Pen(QColor(kPen), width));
    QList<QLine> lines;
    for (size_t i = 0; i + 1 < points.size(); ++i)
        lines.append(QLine(points[i].x, points[i].y, points[i + 1].x, points[i + 1].y));
    p.drawLines(lines);
    return img;
}

} // namespace

class PlotRasterTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void outlinesMatchThePainterPixelForPixel();
    void anyPolylineInsideTheFrameMatchesThePainter();
    void pointsOutsideTheFrameAreLeftToThePainter();
    void wideOutlinesMatchThePainterPixelForPixel();
    void aRoiEditRedrawsItsColumnsAsAWholeRepaintWould();
};

void PlotRasterTest::outlinesMatchThePainterPixelForPixel() {
    std::mt19937 rng(11);
    for (int trial = 0; trial < 400; ++trial) {
        const int w = 100 + static_cast<int>(rng() % 500);
        const int h = 40 + static_cast<int>(rng() % 300);
        const bool fill = trial % 2 == 0;
        const std::vector<PlotPoint> points = randomOutline(rng, w, h, fill);
        QVERIFY2(ownPicture(w, h, points, fill) == painterPicture(w, h, points, fill),
                 qPrintable(QStringLiteral("outline %1 differs").arg(trial)));
    }
}

void PlotRasterTest::anyPolylineInsideTheFrameMatchesThePainter() {
    // Steep and flat segments, turns between them, repeated points and closed figures: the
    // joints are where a stepped line can gain or lose a pixel.
    std::mt19937 rng(5);
    for (int trial = 0; trial < 20000; ++trial) {
        const int w = 12, h = 12;
        std::vector<PlotPoint> points;
        const int n = 2 + static_cast<int>(rng() % 5);
        for (int i = 0; i < n; ++i)
            points.push_back({static_cast<int>(rng() % 14), static_cast<int>(rng() % 14)});
        if (rng() % 3 == 0)
            points.push_back(points.front());
        if (rng() % 4 == 0) {
            const size_t k = rng() % points.size();
            points.insert(points.begin() + static_cast<long>(k), points[k]);
        }
        QVERIFY2(ownPicture(w, h, points, false) == painterPicture(w, h, points, false),
                 qPrintable(QStringLiteral("polyline %1 differs").arg(trial)));
    }
}

void PlotRasterTest::pointsOutsideTheFrameAreLeftToThePainter() {
    QImage img = blank(20, 20);
    const PixelFrame frame = framOf(img);
    QVERIFY(!StrokeOutline(frame, std::vector<PlotPoint>{{-1, 5}, {5, 5}}, kPen));
    QVERIFY(!StrokeOutline(frame, std::vector<PlotPoint>{{5, 5}, {22, 5}}, kPen));
    QVERIFY(img == blank(20, 20));
    QVERIFY(StrokeOutline(frame, std::vector<PlotPoint>{{0, 21}, {21, 0}}, kPen));
}

void PlotRasterTest::wideOutlinesMatchThePainterPixelForPixel() {
    // Counts above the top and below the bottom put segments on the frame's edges, where the
    // painter clips them and its pixels change; those must still come out as the painter's.
    std::mt19937 rng(17);
    OutlinePainter outlines;
    for (int trial = 0; trial < 300; ++trial) {
        const int w = 100 + static_cast<int>(rng() % 500);
        const int h = 40 + static_cast<int>(rng() % 300);
        const int width = 2 + trial % 3;
        const std::vector<PlotPoint> points = randomOutline(rng, w, h, trial % 2 == 0);
        QImage own = blank(w, h);
        {
            QPainter p(&own);
            QVERIFY(outlines.Draw(p, framOf(own), points, QColor(kPen), width));
        }
        QVERIFY2(own == painterWidePicture(w, h, points, width),
                 qPrintable(QStringLiteral("wide outline %1 differs").arg(trial)));
    }
}

void PlotRasterTest::aRoiEditRedrawsItsColumnsAsAWholeRepaintWould() {
    PlotWorld w;
    std::mt19937 rng(3);
    std::poisson_distribution<int> counts(60);
    // Slots 5 and 6 draw with a wide pen; the empty stretches put their outlines on the bottom
    // edge, where the painter clips.
    for (int i = 0; i < 6; ++i)
        w.AddSpectrum(4 + i % 3, [&](int c) { return (c / 64) % 5 == 1 ? 0 : counts(rng); });
    w.Active().m_roi.AddSorted(300, 340);
    PlotWidget widget(*w.plot, *w.port);
    widget.resize(700, 315);
    widget.show();
    QVERIFY(QTest::qWaitForWindowExposed(&widget));
    w.plot->SetView(0, 16383, 0, 127);
    PlotCanvas* canvas = widget.canvas();
    canvas->Frame();
    const long long computed = canvas->OutlinesComputed();

    // A new ROI and a wider old one: only their columns are redrawn, from the kept outlines.
    QVERIFY(w.port->AddRoi(700, 760) >= 0);
    QVERIFY(w.port->ModifyRoi(0, 280, 345) >= 0);
    const QImage partial = canvas->Frame().copy();
    QCOMPARE(canvas->OutlinesComputed(), computed);
    w.plot->Invalidate();
    const QImage whole = canvas->Frame().copy();
    QVERIFY(canvas->OutlinesComputed() > computed);
    QVERIFY(partial == whole);
    // The bands really changed: the picture is not the one before the edit.
    w.port->DeleteRoi(w.port->FindRoi(730));
    QVERIFY(canvas->Frame() != whole);
}

QTEST_MAIN(PlotRasterTest)
#include "PlotRasterTest.moc"
