#pragma once
// Gaussian peak on a linear background, fitted by Levenberg–Marquardt over a ROI's peak
// channels. Only one fit runs at a time in the whole program.

#include <atomic>

namespace vorna {

struct GaussFitResult {
    double centroid = 0.0; // channels
    double fwhm = 0.0;     // channels
    double area = 0.0;     // counts
};

// Fits the ROI start..end of y[0..n-1] with b background channels at each end. All outputs
// are 0 when the data do not hold a fittable peak. Does not take the program-wide guard.
GaussFitResult FitGaussian(const double* y, int n, int start, int end, int b);

// Holds the program-wide fit guard for its lifetime when it could take it; never waits.
class GaussFitLock {
public:
    GaussFitLock() : m_owned(!s_running.exchange(true, std::memory_order_acquire)) {}
    ~GaussFitLock() {
        if (m_owned)
            s_running.store(false, std::memory_order_release);
    }
    GaussFitLock(const GaussFitLock&) = delete;
    GaussFitLock& operator=(const GaussFitLock&) = delete;
    bool owned() const { return m_owned; }

private:
    static std::atomic<bool> s_running;
    bool m_owned;
};

// FitGaussian under the guard. A computation that finds another fit running skips its own:
// the outputs are then 0.
GaussFitResult FitGaussianExclusive(const double* y, int n, int start, int end, int b);

} // namespace vorna
