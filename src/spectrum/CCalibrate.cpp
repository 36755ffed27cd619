#include "spectrum/CCalibrate.h"

#include <algorithm>
#include <cmath>

#include "common/NumberText.h"

namespace vorna {

void CCalibrate::Reset() {
    m_points.clear();
    m_label = "Channel";
    m_calibrated = 0;
    m_a = m_b = m_c = 0.0;
}

int CCalibrate::Fit(int equationType, std::string* failure) {
    if (m_points.size() < 2) {
        m_calibrated = 0;
        return 1;
    }
    bool quadratic =
        m_points.size() != 2 && equationType == static_cast<int>(CalibEquation::Quadratic);
    bool ok = quadratic ? FitQuadratic() : FitLinear();
    if (!ok) {
        // A singular system would install non-finite coefficients; refuse it instead.
        m_calibrated = 0;
        if (failure)
            *failure = Format(quadratic ? "Invalid quadratic calibration %s"
                                        : "Invalid linear calibration %s",
                              m_label.c_str());
        return 0;
    }
    m_calibrated = 1;
    return 1;
}

bool CCalibrate::FitLinear() {
    double n = static_cast<double>(m_points.size());
    double sx = 0, sy = 0, sxx = 0, sxy = 0;
    for (const auto& p : m_points) {
        sx += p.channel;
        sy += p.value;
        sxx += p.channel * p.channel;
        sxy += p.channel * p.value;
    }
    double det = n * sxx - sx * sx;
    if (det == 0.0 || !std::isfinite(det))
        return false;
    double b = (n * sxy - sx * sy) / det;
    double a = (sy * sxx - sxy * sx) / det;
    if (!std::isfinite(a) || !std::isfinite(b))
        return false;
    m_a = a;
    m_b = b;
    m_c = 0.0;
    return true;
}

bool CCalibrate::FitQuadratic() {
    double n = static_cast<double>(m_points.size());
    double sx = 0, sxx = 0, sxxx = 0, sxxxx = 0, sy = 0, sxy = 0, sxxy = 0;
    for (const auto& p : m_points) {
        double x = p.channel, y = p.value, x2 = x * x;
        sx += x;
        sxx += x2;
        sxxx += x2 * x;
        sxxxx += x2 * x2;
        sy += y;
        sxy += x * y;
        sxxy += x2 * y;
    }
    // Normal equations solved by Cramer's rule.
    auto det3 = [](double a11, double a12, double a13, double a21, double a22, double a23,
                   double a31, double a32, double a33) {
        return a11 * (a22 * a33 - a23 * a32) - a12 * (a21 * a33 - a23 * a31) +
               a13 * (a21 * a32 - a22 * a31);
    };
    double d = det3(n, sx, sxx, sx, sxx, sxxx, sxx, sxxx, sxxxx);
    if (d == 0.0 || !std::isfinite(d))
        return false;
    double da = det3(sy, sx, sxx, sxy, sxx, sxxx, sxxy, sxxx, sxxxx);
    double db = det3(n, sy, sxx, sx, sxy, sxxx, sxx, sxxy, sxxxx);
    double dc = det3(n, sx, sy, sx, sxx, sxy, sxx, sxxx, sxxy);
    double a = da / d, b = db / d, c = dc / d;
    if (!std::isfinite(a) || !std::isfinite(b) || !std::isfinite(c))
        return false;
    m_a = a;
    m_b = b;
    m_c = c;
    return true;
}

double CCalibrate::ChannelToValue(double x, bool use) const {
    if (m_calibrated && use)
        return (x * m_c + m_b) * x + m_a;
    return x;
}

double CCalibrate::WidthToValue(double w, bool use) const {
    if (m_calibrated && use)
        return (w * m_c + m_b) * w;
    return w;
}

double CCalibrate::ValueToChannel(double v, bool use) const {
    if (!m_calibrated || !use)
        return v + 0.5;
    if (m_c == 0.0) {
        if (m_b == 0.0)
            return 0.0 + 0.5;
        return (v - m_a) / m_b + 0.5;
    }
    double disc = std::max(0.0, m_b * m_b + 4.0 * m_c * (v - m_a));
    return (std::sqrt(disc) - m_b) * 0.5 / m_c + 0.5;
}

} // namespace vorna
