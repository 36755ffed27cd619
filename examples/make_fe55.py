#!/usr/bin/env python3
"""Writes examples/fe55.mca: a made-up Fe-55 X-ray spectrum in VORNA's spectrum file format.

The spectrum has 1024 channels at 10 eV per channel, the Mn K-alpha (5.90 keV) and K-beta
(6.49 keV) lines of an Fe-55 source on a falling background with counting noise, a two-point
energy calibration in keV, one ROI around each line, and notes. A fixed-seed generator makes the
file the same on every run:  python3 examples/make_fe55.py
"""

import math
import os

CHANNELS = 1024
KEV_PER_CHANNEL = 0.010


class Lcg:
    """Small fixed generator so the output never depends on the Python version."""

    def __init__(self, seed):
        self.state = seed

    def uniform(self):
        self.state = (self.state * 6364136223846793005 + 1442695040888963407) % (1 << 64)
        return ((self.state >> 11) + 0.5) / float(1 << 53)

    def poisson(self, mean):
        if mean <= 0:
            return 0
        if mean < 30:
            limit, k, p = math.exp(-mean), 0, self.uniform()
            while p > limit:
                k += 1
                p *= self.uniform()
            return k
        # Normal approximation for large means (Box-Muller).
        u1, u2 = self.uniform(), self.uniform()
        z = math.sqrt(-2.0 * math.log(u1)) * math.cos(2.0 * math.pi * u2)
        return max(0, int(round(mean + z * math.sqrt(mean))))


def gaussian(channel, centre, fwhm, height):
    sigma = fwhm / 2.3548
    return height * math.exp(-0.5 * ((channel - centre) / sigma) ** 2)


def expected_counts(channel):
    energy = channel * KEV_PER_CHANNEL
    if energy < 0.8:  # below the threshold
        return 0.0
    background = 40.0 * math.exp(-energy / 2.5) + 3.0
    ka = gaussian(channel, 5.899 / KEV_PER_CHANNEL, 14.5, 21000.0)
    kb = gaussian(channel, 6.490 / KEV_PER_CHANNEL, 15.2, 2900.0)
    escape = gaussian(channel, 4.16 / KEV_PER_CHANNEL, 13.0, 160.0)  # Si escape peak of K-alpha
    return background + ka + kb + escape


def main():
    rng = Lcg(55)
    counts = [rng.poisson(expected_counts(c)) for c in range(CHANNELS)]
    crlf = "\r\n"
    lines = [
        "<<LUMO SPECTRUM>>" + crlf,
        "TAG - Fe55" + crlf,
        "DESCRIPTION - Fe-55 source, Mn K lines (example)" + crlf,
        "<gen>Example spectrum made by examples/make_fe55.py.\n",
        "<gen>Mn K-alpha 5.90 keV, K-beta 6.49 keV.\n",
        "<sys>Si drift detector, 10 eV per channel\n",
        "<not>Counting noise from a fixed-seed generator.\n",
        "GAIN - 2" + crlf,
        "THRESHOLD - 80" + crlf,
        "LIVE_MODE - 0" + crlf,
        "PRESET_TIME - 100" + crlf,
        "LIVE_TIME - %f" % 100.0 + crlf,
        "REAL_TIME - %f" % 102.375 + crlf,
        "START_TIME - 12/09/2025 10:15:00" + crlf,
        "SERIAL_NUMBER - 0" + crlf,
        "<<CALIBRATION>>" + crlf,
        "LABEL - keV" + crlf,
        "%g %g" % (589.9, 5.899) + crlf,
        "%g %g" % (649.0, 6.49) + crlf,
        "<<ROI>>" + crlf,
        "570 610" + crlf,
        "630 668" + crlf,
        "<<DATA>>" + crlf,
    ]
    lines += ["%d" % n + crlf for n in counts]
    lines.append("<<END>>" + crlf)
    path = os.path.join(os.path.dirname(os.path.abspath(__file__)), "fe55.mca")
    with open(path, "wb") as out:
        out.write("".join(lines).encode("cp1252"))


if __name__ == "__main__":
    main()
