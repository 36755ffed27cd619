#include "analysis/GaussFit.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace vorna {

namespace {

constexpr double kFwhmPerSigma = 2.3548;

// The model and its data: peak channels r..t of y and the background line under them.
struct FitProblem {
    const double* y;
    int r, t;
    double lineAt0, lineSlope; // background = lineAt0 + k * lineSlope

    double background(int k) const { return lineAt0 + k * lineSlope; }
    static double weight(double model) { return model < 1.0 ? 1.0 : model; }

    double chiSquare(double a, double sigma, double c) const {
        double sum = 0.0;
        for (int k = r; k <= t; ++k) {
            double d = k - c;
            double f = a * std::exp(-d * d / (2.0 * sigma * sigma)) + background(k);
            double diff = y[k] - f;
            sum += diff * diff / weight(f);
        }
        return sum / (t - r + 1);
    }
};

// Solves m·x = v by elimination in parameter order; the damped normal matrix is symmetric
// and positive definite, so no pivoting is needed. A zero pivot gives non-finite steps,
// which the caller's chi-square test rejects.
void solve3(double m[3][3], double v[3], double x[3]) {
    for (int i = 0; i < 3; ++i) {
        for (int row = i + 1; row < 3; ++row) {
            double factor = m[row][i] / m[i][i];
            for (int col = i; col < 3; ++col)
                m[row][col] -= factor * m[i][col];
            v[row] -= factor * v[i];
        }
    }
    for (int i = 2; i >= 0; --i) {
        double s = v[i];
        for (int col = i + 1; col < 3; ++col)
            s -= m[i][col] * x[col];
        x[i] = s / m[i][i];
    }
}

} // namespace

GaussFitResult FitGaussian(const double* y, int n, int start, int end, int b) {
    GaussFitResult out;
    if (!y || n <= 0)
        return out;
    end = std::min(end, n - 1);
    b = std::max(b, 0);
    const int r = start + b;
    const int t = end - b;
    // A narrow window (which also covers coinciding background abscissas and a ROI outside
    // the data) has no peak to fit.
    if (start < 0 || t - r <= 4)
        return out;

    double meanLeft = 0.0, meanRight = 0.0;
    if (b > 0) {
        for (int k = start; k < start + b; ++k)
            meanLeft += y[k];
        for (int k = end - b + 1; k <= end; ++k)
            meanRight += y[k];
        meanLeft /= b;
        meanRight /= b;
    }
    const double x1 = start + b - 1, x2 = end - b + 1;
    FitProblem fp{y, r, t, 0.0, (meanRight - meanLeft) / (x2 - x1)};
    fp.lineAt0 = meanLeft - x1 * fp.lineSlope;

    double sumY = 0.0, sumKY = 0.0, a = y[r];
    bool raised = false;
    for (int k = r; k <= t; ++k) {
        sumY += y[k];
        sumKY += k * y[k];
        a = std::max(a, y[k]);
        raised = raised || (y[k] > y[r] && y[k] > y[t]);
    }
    if (!(sumY > 100.0) || !raised)
        return out;

    // Start values: raw height, first moment, and the width at half the raw height.
    double c = sumKY / sumY;
    const double half = a / 2.0;
    int kL = r, kR = t;
    while (kL < t && !(y[kL] > half))
        ++kL;
    while (kR > r && !(y[kR] > half))
        --kR;
    double fL = 0.0, fR = 0.0;
    if (kL - 1 >= 0 && y[kL] - y[kL - 1] != 0.0)
        fL = (y[kL] - half) / (y[kL] - y[kL - 1]);
    if (kR + 1 < n && y[kR] - y[kR + 1] != 0.0)
        fR = (y[kR] - half) / (y[kR] - y[kR + 1]);
    double sigma = (kR - kL + 1 + fL + fR) / kFwhmPerSigma;

    double chi = fp.chiSquare(a, sigma, c);
    double lambda = 0.001, decrease = 100.0;
    int calm = 0;
    for (int iteration = 0; (decrease > 0.01 || calm < 2) && lambda < 1e20 && iteration < 200;
         ++iteration) {
        double alpha[3][3] = {}, beta[3] = {};
        for (int k = r; k <= t; ++k) {
            double d = k - c;
            double e = std::exp(-d * d / (2.0 * sigma * sigma));
            double f = a * e + fp.background(k);
            double w = FitProblem::weight(f);
            double j[3] = {e, a * e * d * d / (sigma * sigma * sigma), a * e * d / (sigma * sigma)};
            double residual = y[k] - f;
            for (int p = 0; p < 3; ++p) {
                beta[p] += residual * j[p] / w;
                for (int q = 0; q < 3; ++q)
                    alpha[p][q] += j[p] * j[q] / w;
            }
        }
        for (int p = 0; p < 3; ++p)
            alpha[p][p] *= 1.0 + lambda;
        double step[3];
        solve3(alpha, beta, step);
        double na = a + step[0], nSigma = sigma + step[1], nc = c + step[2];
        double nChi = fp.chiSquare(na, nSigma, nc);
        // A non-finite chi-square counts as worse: a broken step must never be accepted.
        if (!(nChi <= chi)) {
            lambda *= 10.0;
        } else {
            lambda /= 10.0;
            decrease = chi - nChi;
            chi = nChi;
            a = na;
            sigma = nSigma;
            c = nc;
        }
        calm = decrease < 0.01 ? calm + 1 : 0;
    }

    const double fwhm = 2.0 * std::sqrt(2.0 * std::numbers::ln2 * sigma * sigma);
    const double area = sigma * std::sqrt(2.0 * std::numbers::pi) * a;
    // On data the model cannot follow (a huge flat level with a small bump) the iteration can
    // run off to absurd parameters while chi-square still falls. Such a fit is no fit, so the
    // statistics keep their own centroid and width instead of reporting a wandered one. The
    // model only sees sigma squared, so a sound fit may end with a negative sigma (and area):
    // that sign is no failure, the statistics decide what they take from such a fit.
    const bool credible = std::isfinite(c) && c >= r && c <= t && std::isfinite(fwhm) &&
                          fwhm > 0.0 && std::isfinite(area);
    if (!credible)
        return out;
    out.centroid = c;
    out.fwhm = fwhm;
    out.area = area;
    return out;
}

GaussFitResult FitGaussianExclusive(ExclusiveFlag& guard, const double* y, int n, int start,
                                    int end, int b) {
    ExclusiveFlag::Hold lock(guard);
    if (!lock.owned())
        return {};
    return FitGaussian(y, n, start, end, b);
}

} // namespace vorna
