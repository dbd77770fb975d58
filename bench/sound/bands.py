#!/usr/bin/env python3
"""Measures the stretches record.sh marked: level, peak, energy per band, clicks and the fade.

    python3 bench/sound/bands.py OUTDIR [LABEL]

Levels are RMS in dBFS against a full-scale square wave (a full-scale sine is -3 dBFS), the louder
channel's. Bands are each band's share of the stretch's energy (both channels), from averaged 8192-point
Hann-windowed spectra. A click is a millisecond whose second difference (the sound's sharpness) carries
over CLICK_RATIO times its mean over the half second around it: a step the ear hears as a tick over the
steady sound. A diesel's own firing knocks reach about 40 times that mean, so the ratio sits above them;
a collision's crack counts as a click too. Uses numpy when it is there, plain Python when not.
"""
import math
import os
import struct
import sys

RATE = 48000
BANDS = [(0, 80), (80, 300), (300, 800), (800, 2000), (2000, 6000), (6000, RATE // 2)]
FFT_SIZE = 8192
SILENT_DBFS = -60.0
CLICK_RATIO = 50.0

try:
    import numpy
except ImportError:
    numpy = None


def read_stereo(path, first, last):
    """The stereo samples between two byte offsets, as (left, right) lists of floats."""
    first -= first % 8
    with open(path, "rb") as f:
        f.seek(first)
        raw = f.read(max(0, last - first) // 8 * 8)
    values = struct.unpack("<%df" % (len(raw) // 4), raw)
    return list(values[0::2]), list(values[1::2])


def dbfs(power):
    return 10 * math.log10(power) if power > 1e-20 else -200.0


def fft_power(frame):
    """|X(k)|^2 for k in 0..n/2 of a real frame whose length is a power of two."""
    if numpy is not None:
        return list(numpy.abs(numpy.fft.rfft(frame)) ** 2)
    n = len(frame)
    a = [complex(x, 0) for x in frame]
    j = 0
    for i in range(1, n):  # bit-reversed order
        bit = n >> 1
        while j & bit:
            j ^= bit
            bit >>= 1
        j |= bit
        if i < j:
            a[i], a[j] = a[j], a[i]
    size = 2
    while size <= n:
        step = complex(math.cos(2 * math.pi / size), -math.sin(2 * math.pi / size))
        half = size // 2
        twiddles = [step ** k for k in range(half)]
        for start in range(0, n, size):
            for k in range(half):
                u = a[start + k]
                v = a[start + k + half] * twiddles[k]
                a[start + k] = u + v
                a[start + k + half] = u - v
        size *= 2
    return [abs(a[k]) ** 2 for k in range(n // 2 + 1)]


def band_shares(channels):
    """Each band's share of the energy, in percent, over both channels."""
    window = [0.5 - 0.5 * math.cos(2 * math.pi * i / FFT_SIZE) for i in range(FFT_SIZE)]
    totals = [0.0] * len(BANDS)
    for samples in channels:
        for start in range(0, len(samples) - FFT_SIZE + 1, FFT_SIZE // 2):
            frame = [samples[start + i] * window[i] for i in range(FFT_SIZE)]
            power = fft_power(frame)
            for k, p in enumerate(power):
                hz = k * RATE / FFT_SIZE
                for b, (low, high) in enumerate(BANDS):
                    if low <= hz < high:
                        totals[b] += p
                        break
    whole = sum(totals)
    return [100 * t / whole if whole > 0 else 0.0 for t in totals]


def clicks(samples):
    """Milliseconds that tick: second-difference energy far above its mean round them."""
    ms = RATE // 1000
    energy = []
    for start in range(2, len(samples) - ms, ms):
        e = 0.0
        for i in range(start, start + ms):
            d = samples[i] - 2 * samples[i - 1] + samples[i - 2]
            e += d * d
        energy.append(e)
    count = 0
    for i, e in enumerate(energy):
        around = energy[max(0, i - 250):i + 250]
        if e > 1e-10 and e > CLICK_RATIO * sum(around) / len(around):
            count += 1
    return count


def silent_after(channels):
    """Seconds until every later 10 ms window is below SILENT_DBFS; None when it never is."""
    step = RATE // 100
    n = len(channels[0])
    last_loud = -1
    for start in range(0, n - step + 1, step):
        power = max(sum(x * x for x in c[start:start + step]) / step for c in channels)
        if dbfs(power) > SILENT_DBFS:
            last_loud = start
    if last_loud + step >= n - step:
        return None
    return (last_loud + step) / RATE


def main():
    folder = sys.argv[1]
    label = sys.argv[2] if len(sys.argv) > 2 else os.path.basename(folder.rstrip("/"))
    marks = [line.split() for line in open(os.path.join(folder, "marks.txt")) if line.strip()]
    print("%s (%s)" % (label, "numpy" if numpy is not None else "plain Python"))
    head = "| stretch | s | RMS L dBFS | RMS R dBFS | peak dBFS | " + " | ".join(
        "<%d" % BANDS[0][1] if low == 0 else (">%gk" % (low / 1000) if high == RATE // 2 else
                                               "%g-%g" % (low, high)) for low, high in BANDS) + " | clicks |"
    print(head)
    print("|" + "---|" * (head.count("|") - 1))
    for file, name, first, last in marks:
        left, right = read_stereo(os.path.join(folder, file), int(first), int(last))
        seconds = len(left) / RATE
        rms = [dbfs(sum(x * x for x in c) / max(1, len(c))) for c in (left, right)]
        peak = max([abs(x) for x in left + right] or [0])
        row = "| %s | %.1f | %.1f | %.1f | %.1f | " % (name, seconds, rms[0], rms[1], 20 * math.log10(max(peak, 1e-10)))
        if name == "fade":
            after = silent_after((left, right))
            row += "silent (< %d dBFS) %s after P | " % (
                SILENT_DBFS, "never" if after is None else "%.2f s" % after) + " | " * (len(BANDS) - 1)
            row += "%d |" % (clicks(left) + clicks(right))
        elif max(rms) < SILENT_DBFS:
            row += " | ".join("-" for _ in BANDS) + " | %d |" % (clicks(left) + clicks(right))
        else:
            row += " | ".join("%.1f%%" % s for s in band_shares((left, right)))
            row += " | %d |" % (clicks(left) + clicks(right))
        print(row)


if __name__ == "__main__":
    main()
