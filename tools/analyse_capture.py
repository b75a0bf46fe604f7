#!/usr/bin/env python3
"""Checks a raw 16-bit mono capture: a tone of the given frequency sounds for
a while, and the capture ends in silence. Prints what it measured.

  analyse_capture.py CAPTURE.raw RATE FREQUENCY
"""
import math
import struct
import sys

WINDOW_S = 0.05


def windows(samples, rate):
    size = int(rate * WINDOW_S)
    for start in range(0, len(samples) - size + 1, size):
        yield samples[start:start + size]


def rms(window):
    return math.sqrt(sum(s * s for s in window) / len(window))


def crossings_per_second(window, rate):
    crossings = sum(1 for a, b in zip(window, window[1:]) if (a < 0) != (b < 0))
    return crossings * rate / len(window) / 2


def main():
    path, rate, frequency = sys.argv[1], int(sys.argv[2]), float(sys.argv[3])
    # The looped file is 0.5 s long: a tone of twice that proves the loop.
    least_tone_s = float(sys.argv[4]) if len(sys.argv) > 4 else 1.0
    raw = open(path, 'rb').read()
    samples = struct.unpack('<%dh' % (len(raw) // 2), raw[:len(raw) // 2 * 2])
    levels = [(rms(w), crossings_per_second(w, rate)) for w in windows(samples, rate)]
    loud = [i for i, (level, _) in enumerate(levels) if level > 1000]
    print('capture: %.2f s, %d windows of %.0f ms, %d loud' % (len(samples) / rate, len(levels), WINDOW_S * 1000, len(loud)))
    if not loud:
        sys.exit('FAIL: no sound in the capture')
    tone_s = (loud[-1] - loud[0] + 1) * WINDOW_S
    pitches = sorted(levels[i][1] for i in loud)
    pitch = pitches[len(pitches) // 2]
    tail = levels[loud[-1] + 1:]
    tail_s = len(tail) * WINDOW_S
    tail_peak = max((level for level, _ in tail), default=0)
    print('tone: %.2f s at about %.0f Hz; after it %.2f s with peak level %.0f' % (tone_s, pitch, tail_s, tail_peak))
    failures = []
    if not least_tone_s <= tone_s <= 3.0:
        failures.append('the tone sounded %.2f s, not between %.1f and 3 s' % (tone_s, least_tone_s))
    if abs(pitch - frequency) > frequency * 0.1:
        failures.append('the tone is %.0f Hz, not %.0f Hz' % (pitch, frequency))
    if tail_s < 0.8 or tail_peak > 100:
        failures.append('the capture does not end in silence')
    for failure in failures:
        print('FAIL: ' + failure)
    if failures:
        sys.exit(1)
    print('sound output: as expected')


if __name__ == '__main__':
    main()
