#include "app/calib/CalibrationPlotWindow.h"

#include <QDialogButtonBox>
#include <QPainter>
#include <QPainterPath>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "app/TextConvert.h"

namespace vorna {

namespace {

// Points as small squares and the fitted curve as a line, inside a frame whose corners carry
// the axes' "min" and "max" captions.
class CalibrationPlotView : public QWidget {
public:
    CalibrationPlotView(const CalibrationPlotData& data, const QString& unit, QWidget* parent)
        : QWidget(parent), m_data(data), m_unit(unit) {
        setObjectName("CalibrationPlotView");
        setMinimumSize(420, 300);
        setBackgroundRole(QPalette::Base);
        setAutoFillBackground(true);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        const QFontMetrics fm = fontMetrics();
        const int line = fm.height();
        const int left = std::max({fm.horizontalAdvance(Caption(m_data.valueMaxCaption)),
                                   fm.horizontalAdvance(Caption(m_data.valueMinCaption)),
                                   fm.horizontalAdvance(m_unit)}) +
                         12;
        const QRect frame(left, line + 8, width() - left - 12, height() - 3 * line - 16);
        painter.setPen(palette().color(QPalette::Text));
        painter.drawRect(frame);
        DrawCaptions(painter, frame, fm);
        const QRect inner = frame.adjusted(8, 8, -8, -8);
        auto at = [&](double x, double y) { return Map(inner, x, y); };
        if (m_data.curve.size() >= 2) {
            QPainterPath path(at(m_data.curve.front().channel, m_data.curve.front().value));
            for (const auto& p : m_data.curve)
                path.lineTo(at(p.channel, p.value));
            painter.setPen(QPen(QColor(0, 0, 192), 1.5));
            painter.drawPath(path);
        }
        painter.setPen(QPen(QColor(192, 0, 0), 1.5));
        for (const auto& p : m_data.points) {
            const QPointF c = at(p.channel, p.value);
            painter.drawRect(QRectF(c.x() - 3, c.y() - 3, 6, 6));
        }
    }

private:
    static QString Caption(const std::string& text) { return QString::fromStdString(text); }

    void DrawCaptions(QPainter& painter, const QRect& frame, const QFontMetrics& fm) const {
        const int line = fm.height();
        const int below = frame.bottom() + 4;
        painter.drawText(QRect(frame.left(), below, frame.width(), line), Qt::AlignLeft,
                         Caption(m_data.channelMinCaption));
        painter.drawText(QRect(frame.left(), below, frame.width(), line), Qt::AlignRight,
                         Caption(m_data.channelMaxCaption));
        painter.drawText(QRect(frame.left(), below + line, frame.width(), line), Qt::AlignHCenter,
                         QStringLiteral("Channel"));
        const QRect side(0, frame.top(), frame.left() - 6, frame.height());
        painter.drawText(side, Qt::AlignRight | Qt::AlignTop, Caption(m_data.valueMaxCaption));
        painter.drawText(side, Qt::AlignRight | Qt::AlignBottom, Caption(m_data.valueMinCaption));
        painter.drawText(side, Qt::AlignRight | Qt::AlignVCenter, m_unit);
    }

    QPointF Map(const QRect& r, double x, double y) const {
        auto part = [](double v, double low, double high) {
            return high > low ? (v - low) / (high - low) : 0.5;
        };
        const double fx = part(x, m_data.minChannel, m_data.maxChannel);
        const double fy = part(y, m_data.minValue, m_data.maxValue);
        return {r.left() + fx * r.width(), r.bottom() - fy * r.height()};
    }

    const CalibrationPlotData& m_data;
    QString m_unit;
};

} // namespace

CalibrationPlotWindow::CalibrationPlotWindow(const CCalibrate& calibration, QWidget* parent)
    : QDialog(parent), m_data(MakeCalibrationPlot(calibration)) {
    setObjectName("CalibrationPlotWindow");
    setWindowTitle(QStringLiteral("Calibration Plot"));
    setSizeGripEnabled(true);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new CalibrationPlotView(m_data, FromCore(calibration.Label()), this), 1);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    resize(560, 420);
}

} // namespace vorna
