#ifndef PEKTO_H
#define PEKTO_H
/*
 * Pekto: spectrum routines for other programs. Every routine works on the caller's array of
 * 32-bit signed channel contents and keeps no state between calls.
 *
 * Channel numbers and channel counts are 16-bit values (passed in 32 bits); energies are keV
 * unless a name says eV. On 32-bit Windows the routines use the standard calling convention
 * (the callee pops its arguments) and are exported twice: decorated (_CalSpectrum@36, ...) and
 * under an upper-case alias (CALSPECTRUM, FINDPEAK, CENTROID, CORRECTSPECTRUM). The Linux
 * library exports the plain names and the same upper-case aliases.
 */

#include <stdint.h>

#if defined(_WIN32)
#define PEKTO_CALL __stdcall
#if defined(PEKTO_BUILDING)
#define PEKTO_API
#else
#define PEKTO_API __declspec(dllimport)
#endif
#else
#define PEKTO_CALL
#define PEKTO_API __attribute__((visibility("default")))
#endif

#ifdef __cplusplus
extern "C" {
#endif

/*
 * Calibrates a spectrum of `channels` channels from two known peaks at e1 and e2 keV.
 * On entry *offset (eV) and *gain (eV per channel) hold the present calibration, which tells
 * where to look for each peak: within a half-width of widthPercent % of the energy, at least
 * minHalfWidth keV. Each peak is located with fFindPeak(peakFraction). Returns 1 and the new
 * calibration in *offset and *gain, or 0 with both left unchanged (gain below 0.01 eV, a peak
 * window outside the spectrum, or both peaks at the same channel).
 */
PEKTO_API int16_t PEKTO_CALL CalSpectrum(const int32_t* counts, int16_t channels, float e1,
                                         float e2, float minHalfWidth, float widthPercent,
                                         float peakFraction, float* offset, float* gain);

/*
 * Finds the highest channel in first..last, walks out on both sides to the first channel
 * whose content is at most peakFraction of the maximum, and returns the centroid of the
 * channels between those edges, the edges included. The right edge may be last + 1, so the
 * array must hold that channel.
 */
PEKTO_API double PEKTO_CALL fFindPeak(const int32_t* counts, int16_t first, int16_t last,
                                      float peakFraction);

/* Count-weighted mean channel of first..last; the middle of the range when the contents sum
 * to 0 or the range is empty. */
PEKTO_API double PEKTO_CALL fCentroid(const int32_t* counts, int16_t first, int16_t last);

/*
 * Re-bins a spectrum of 1..4096 channels in place from the old energy scale to the new one:
 * offsetDifference is the old offset minus the new offset, oldGain and newGain are energy per
 * channel in the same units. Returns 1 done, 0 out of memory, -1 bad arguments.
 */
PEKTO_API int16_t PEKTO_CALL CorrectSpectrum(int32_t* counts, int16_t channels,
                                             double offsetDifference, double oldGain,
                                             double newGain);

/* The upper-case aliases: the same routines under the names older callers look up. */
PEKTO_API int16_t PEKTO_CALL CALSPECTRUM(const int32_t* counts, int16_t channels, float e1,
                                         float e2, float minHalfWidth, float widthPercent,
                                         float peakFraction, float* offset, float* gain);
PEKTO_API double PEKTO_CALL FINDPEAK(const int32_t* counts, int16_t first, int16_t last,
                                     float peakFraction);
PEKTO_API double PEKTO_CALL CENTROID(const int32_t* counts, int16_t first, int16_t last);
PEKTO_API int16_t PEKTO_CALL CORRECTSPECTRUM(int32_t* counts, int16_t channels,
                                             double offsetDifference, double oldGain,
                                             double newGain);

/* Pointer types for callers that load the library at run time. */
typedef int16_t(PEKTO_CALL* PektoCalSpectrumFn)(const int32_t*, int16_t, float, float, float, float,
                                                float, float*, float*);
typedef double(PEKTO_CALL* PektoFindPeakFn)(const int32_t*, int16_t, int16_t, float);
typedef double(PEKTO_CALL* PektoCentroidFn)(const int32_t*, int16_t, int16_t);
typedef int16_t(PEKTO_CALL* PektoCorrectSpectrumFn)(int32_t*, int16_t, double, double, double);

#ifdef __cplusplus
}
#endif

#endif /* PEKTO_H */
