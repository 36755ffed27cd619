#pragma once
// Energy calibration of a spectrum: points, unit label and the fitted value = A + B·x + C·x².

#include <string>
#include <vector>

namespace vorna {

struct CCalibrateEntry {
    double channel = 0.0;
    double value = 0.0;
};

enum class CalibEquation : int { Linear = 0, Quadratic = 1 };

class CCalibrate {
public:
    CCalibrate() = default;

    // Back to no points, label "Channel", not calibrated, A = B = C = 0.
    void Reset();

    // Fewer than two points: not calibrated, result 1. Otherwise a quadratic fit when there are
    // more than two points and the equation is quadratic, else linear. A singular system leaves
    // the calibration uncalibrated (points kept) and returns 0; `failure` then holds the message.
    int Fit(int equationType, std::string* failure = nullptr);

    double ChannelToValue(double x, bool use) const;
    double WidthToValue(double w, bool use) const;
    // Not truncated: the caller truncates toward zero, which gives the nearest channel.
    double ValueToChannel(double v, bool use) const;

    void AddPoint(double channel, double value) { m_points.push_back({channel, value}); }
    int GetCount() const { return static_cast<int>(m_points.size()); }
    const std::vector<CCalibrateEntry>& Points() const { return m_points; }
    std::vector<CCalibrateEntry>& Points() { return m_points; }

    const std::string& Label() const { return m_label; }
    void SetLabel(std::string label) { m_label = std::move(label); }
    bool IsCalibrated() const { return m_calibrated != 0; }
    void SetCalibrated(bool on) { m_calibrated = on ? 1 : 0; }

    double A() const { return m_a; }
    double B() const { return m_b; }
    double C() const { return m_c; }
    void SetCoefficients(double a, double b, double c) {
        m_a = a;
        m_b = b;
        m_c = c;
    }

private:
    bool FitLinear();
    bool FitQuadratic();

    std::vector<CCalibrateEntry> m_points;
    std::string m_label = "Channel";
    int m_calibrated = 0;
    double m_a = 0.0, m_b = 0.0, m_c = 0.0;
};

} // namespace vorna
