#!/usr/bin/env python3
"""Draws a captured sound's waveform as a PPM picture, with a line at every
request the gauge's log recorded (a picture converter makes it a PNG).

  plot_capture.py CAPTURE.wav CAPTURE_END_UNIX_SECONDS SOUND_LOG.csv OUT.ppm

The recording is lined up by its end: the sound server's recorder may drop
a stretch at its start, never at its end.
"""
import csv
import struct
import sys
import wave

WIDTH, HEIGHT = 1200, 300
BACKGROUND, WAVE, MARK, AXIS = (250, 250, 245), (30, 60, 140), (210, 40, 30), (180, 180, 180)


def read_samples(path):
    with wave.open(path, 'rb') as capture:
        rate, channels = capture.getframerate(), capture.getnchannels()
        raw = capture.readframes(capture.getnframes())
    samples = struct.unpack('<%dh' % (len(raw) // 2), raw[:len(raw) // 2 * 2])
    return rate, samples[::channels]


def read_marks(path, start):
    marks = []
    with open(path) as log:
        for row in csv.DictReader(log):
            if row['event']:
                marks.append((float(row['unix_seconds']) - start, row['event']))
    return marks


def main():
    capture, end, log, out = sys.argv[1], float(sys.argv[2]), sys.argv[3], sys.argv[4]
    rate, samples = read_samples(capture)
    seconds = max(len(samples) / rate, 0.001)
    start = end - seconds
    pixels = [[BACKGROUND] * WIDTH for _ in range(HEIGHT)]
    middle = HEIGHT // 2
    for x in range(WIDTH):
        pixels[middle][x] = AXIS
        chunk = samples[int(x * len(samples) / WIDTH):int((x + 1) * len(samples) / WIDTH)] or [0]
        top = middle - int(max(chunk) / 32768 * (middle - 10))
        bottom = middle - int(min(chunk) / 32768 * (middle - 10))
        for y in range(min(top, bottom), max(top, bottom) + 1):
            pixels[y][x] = WAVE
    for at, event in read_marks(log, start):
        x = int(at / seconds * WIDTH)
        if 0 <= x < WIDTH:
            for y in range(HEIGHT):
                if y % 6 < 4:
                    pixels[y][x] = MARK
        print('mark at %.2f s: %s' % (at, event))
    with open(out, 'wb') as f:
        f.write(b'P6 %d %d 255\n' % (WIDTH, HEIGHT))
        f.write(bytes(c for row in pixels for pixel in row for c in pixel))


if __name__ == '__main__':
    main()
