#pragma once
// Gaussian peak on a linear background, fitted by Levenberg–Marquardt over a ROI's peak
// channels. Only one fit runs at a time under one guard (one per program, test or tool).

#include "common/ExclusiveFlag.h"

namespace vorna {

struct GaussFitResult {
    double centroid = 0.0; // channels
    double fwhm = 0.0;     // channels
    double area = 0.0;     // counts
};

// Fits the ROI start..end of y[0..n-1] with b background channels at each end. All outputs
// are 0 when the data do not hold a fittable peak, and when the fit ends with its centroid
// outside the fit window (start + b .. end - b), a width that is not finite and positive or an
// area that is not finite. The area carries the sign of the fitted sigma. Takes no guard.
GaussFitResult FitGaussian(const double* y, int n, int start, int end, int b);

// FitGaussian while holding `guard`. A computation that finds another fit running under the same
// guard skips its own: the outputs are then 0.
GaussFitResult FitGaussianExclusive(ExclusiveFlag& guard, const double* y, int n, int start,
                                    int end, int b);

} // namespace vorna
