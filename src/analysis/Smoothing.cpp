#include "analysis/Smoothing.h"

namespace vorna {

// The formulas are evaluated as nested multiplications by 0.5 (SM3) or by 0.25 and 6 (SM5):
// that order of operations decides the last digit, and users compare results digit by digit.

void SmoothSM3(double* v, int s, int e) {
    if (e - s < 2)
        return;
    v[s] = (v[s + 1] * 0.5 + v[s]) * 0.5;
    for (int i = s + 1; i <= e - 1; ++i)
        v[i] = ((v[i - 1] + v[i + 1]) * 0.5 + v[i]) * 0.5;
    v[e] = (v[e - 1] * 0.5 + v[e]) * 0.5;
}

void SmoothSM5(double* v, int s, int e) {
    if (e - s < 4)
        return;
    v[s] = (v[s + 1] + (6 * v[s] + v[s + 2]) * 0.25) * 0.25;
    v[s + 1] = (v[s] + (v[s + 2] + (6 * v[s + 1] + v[s + 3]) * 0.25)) * 0.25;
    for (int i = s + 2; i <= e - 2; ++i)
        v[i] = (v[i - 1] + (v[i + 1] + (v[i - 2] + (6 * v[i] + v[i + 2])) * 0.25)) * 0.25;
    v[e - 1] = (v[e - 2] + (v[e] + (v[e - 3] + 6 * v[e - 1]) * 0.25)) * 0.25;
    v[e] = (v[e - 1] + (v[e - 2] + 6 * v[e]) * 0.25) * 0.25;
}

void SmoothRange(double* v, int s, int e, int kind) {
    if (kind == static_cast<int>(SmoothKind::SM5))
        SmoothSM5(v, s, e);
    else
        SmoothSM3(v, s, e);
}

} // namespace vorna
