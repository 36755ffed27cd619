#pragma once
// The three- and five-point smoothing kernels. Both run in place from left to right over the
// channel range s..e, so each formula sees already smoothed values on its left.

namespace vorna {

enum class SmoothKind : int { SM3 = 0, SM5 = 1 };

// Applied only when e - s >= 2.
void SmoothSM3(double* v, int s, int e);
// Applied only when e - s >= 4.
void SmoothSM5(double* v, int s, int e);
// The kernel by kind (0 three-point, 1 five-point).
void SmoothRange(double* v, int s, int e, int kind);

} // namespace vorna
