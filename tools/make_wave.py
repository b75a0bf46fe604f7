#!/usr/bin/env python3
"""Writes a 16-bit stereo PCM WAV file for tests and demos.

  make_wave.py tone FREQUENCY SECONDS PATH   a sine tone at half scale
  make_wave.py chime FREQUENCY SECONDS PATH  a tone that decays to silence
"""
import math
import os
import struct
import sys

RATE = 22050


def samples(kind, frequency, seconds):
    frames = int(seconds * RATE)
    for i in range(frames):
        envelope = 0.5 if kind == 'tone' else 0.6 * math.exp(-4.0 * i / frames)
        yield int(envelope * 32767 * math.sin(2 * math.pi * frequency * i / RATE))


def write_wave(path, kind, frequency, seconds):
    data = b''.join(struct.pack('<hh', s, s) for s in samples(kind, frequency, seconds))
    fmt = struct.pack('<HHIIHH', 1, 2, RATE, RATE * 4, 4, 16)
    body = b'WAVE' + b'fmt ' + struct.pack('<I', len(fmt)) + fmt + b'data' + struct.pack('<I', len(data)) + data
    if os.path.dirname(path):
        os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, 'wb') as f:
        f.write(b'RIFF' + struct.pack('<I', len(body)) + body)


if __name__ == '__main__':
    if len(sys.argv) != 5 or sys.argv[1] not in ('tone', 'chime'):
        sys.exit(__doc__)
    write_wave(sys.argv[4], sys.argv[1], float(sys.argv[2]), float(sys.argv[3]))
