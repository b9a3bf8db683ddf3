#!/usr/bin/env python3
"""Writes the two background pieces of the program folder as standard MIDI files.

    scripts/write-midi.py [output folder]      (default: data/)

Both pieces are our own, written here note by note: a melody, a chord
accompaniment and, in the second, a bass line. The files are committed in
data/, so that a fresh installation plays something; run this again after
changing a piece. Only the standard library is used; the MIDI bytes are
written by hand (format 1, 480 ticks to the beat).
"""
import os
import struct
import sys

TICKS = 480
NOTE_NAMES = {"C": 0, "D": 2, "E": 4, "F": 5, "G": 7, "A": 9, "B": 11}


def pitch(name):
    """'C4' is middle C (60); 'Bb4', 'F#3' take one accidental."""
    step = NOTE_NAMES[name[0]]
    rest = name[1:]
    if rest[0] in "b#":
        step += -1 if rest[0] == "b" else 1
        rest = rest[1:]
    return 12 * (int(rest) + 1) + step


CHORDS = {  # root and the two notes above it, as semitones from the root
    "": (0, 4, 7), "m": (0, 3, 7), "7": (0, 4, 10),
}


def chord(symbol, octave):
    """'Am' in octave 3: A3, C4, E4."""
    root = symbol[0] + ("b" if symbol[1:2] == "b" else "")
    kind = symbol[len(root):]
    base = pitch(root + str(octave))
    return [base + i for i in CHORDS[kind]]


def var_len(n):
    out = bytearray([n & 0x7F])
    n >>= 7
    while n:
        out.insert(0, 0x80 | (n & 0x7F))
        n >>= 7
    return bytes(out)


class Track:
    def __init__(self, name, channel=0, program=None):
        self.events = []   # (tick, order, bytes): note-offs sort before note-ons
        self.channel = channel
        self.meta(0, 0x03, name.encode("ascii"))
        if program is not None:
            self.events.append((0, 1, bytes([0xC0 | channel, program])))

    def meta(self, tick, kind, data):
        self.events.append((tick, 1, bytes([0xFF, kind]) + var_len(len(data)) + data))

    def note(self, start, length, key, velocity):
        on, off = 0x90 | self.channel, 0x80 | self.channel
        self.events.append((round(start * TICKS), 2, bytes([on, key, velocity])))
        self.events.append((round((start + length) * TICKS) - 8, 0, bytes([off, key, 0])))

    def chunk(self):
        body, now = bytearray(), 0
        for tick, _, data in sorted(self.events, key=lambda e: (e[0], e[1])):
            body += var_len(tick - now) + data
            now = tick
        body += var_len(0) + b"\xFF\x2F\x00"
        return b"MTrk" + struct.pack(">I", len(body)) + bytes(body)


def melody(track, notes, start, velocity, octave_shift=0):
    """notes: 'E5:1 G5:0.5 R:1' (R a rest), lengths in beats. Returns the end."""
    t = start
    for item in notes.split():
        name, length = item.split(":")
        length = float(length)
        if name != "R":
            track.note(t, length, pitch(name) + 12 * octave_shift, velocity)
        t += length
    return t


def write(path, tempo_bpm, meter, tracks):
    head = Track("tempo")
    head.meta(0, 0x51, struct.pack(">I", round(60_000_000 / tempo_bpm))[1:])
    head.meta(0, 0x58, bytes([meter, 2, 24, 8]))
    chunks = [head.chunk()] + [t.chunk() for t in tracks]
    with open(path, "wb") as f:
        f.write(b"MThd" + struct.pack(">IHHH", 6, 1, len(chunks), TICKS))
        f.write(b"".join(chunks))


def morning(path):
    """清晨: a waltz in C major, piano over a soft string accompaniment."""
    bars = "C Am F G C Em F G7 Am Em F C Dm G C C".split()
    tune = """E5:1 G5:1 E5:1  C5:1.5 D5:0.5 E5:1  F5:2 A5:1  G5:3
              E5:1 G5:1 C6:1  B5:1.5 A5:0.5 G5:1  A5:1 F5:1 D5:1  G5:2 R:1
              A5:1 C6:1 A5:1  G5:1.5 E5:0.5 G5:1  F5:1 E5:1 D5:1  E5:2 C5:1
              D5:1 F5:1 A5:1  G5:1 F5:1 D5:1  C5:3  R:3"""
    piano = Track("melody", 0, 0)
    strings = Track("accompaniment", 1, 48)
    t = 0.0
    for verse, shift in ((0, 0), (1, -1)):
        melody(piano, tune, t, 84 if verse == 0 else 72, shift)
        for i, symbol in enumerate(bars):
            bar = t + 3 * i
            low = chord(symbol, 3)
            strings.note(bar, 1, low[0] - 12, 56)
            for beat in (1, 2):
                for key in low[1:]:
                    strings.note(bar + beat, 1, key, 44)
        t += 3 * len(bars)
    # The last chord, held.
    for key in chord("C", 4):
        piano.note(t, 3, key, 60)
    strings.note(t, 3, pitch("C3"), 50)
    write(path, 96, 3, [piano, strings])


def evening(path):
    """晚霞: a slow song in F major, flute over broken piano chords and a bass."""
    bars = "F Dm Bb C F Am Bb C Dm Am Bb F Gm C F F".split()
    tune = """A4:1 C5:1 F5:1.5 E5:0.5  D5:2 A4:2  Bb4:1 D5:1 F5:1 D5:1  C5:3 R:1
              A4:1 C5:1 F5:1 A5:1  G5:1.5 F5:0.5 E5:2  D5:1 F5:1 Bb5:1 A5:0.5 G5:0.5  G5:4
              F5:1.5 E5:0.5 D5:1 F5:1  E5:2 C5:2  D5:1 C5:1 Bb4:1 D5:1  C5:4
              Bb4:1 D5:1 G5:1.5 F5:0.5  E5:1 G5:1 C5:2  F5:2 C5:1 A4:1  F4:4"""
    flute = Track("melody", 0, 73)
    piano = Track("accompaniment", 1, 0)
    bass = Track("bass", 2, 32)
    t = 0.0
    for verse in (0, 1):
        melody(flute, tune, t, 80 if verse == 0 else 88)
        for i, symbol in enumerate(bars):
            bar = t + 4 * i
            low = chord(symbol, 3)
            broken = [low[0], low[2], low[1] + 12, low[2], low[0] + 12, low[2], low[1] + 12, low[2]]
            for step, key in enumerate(broken):
                piano.note(bar + 0.5 * step, 0.5, key, 50 if step % 2 else 58)
            bass.note(bar, 2, low[0] - 12, 64)
            bass.note(bar + 2, 2, low[0] - 12 + (7 if i % 2 else 0), 58)
        t += 4 * len(bars)
    for key in chord("F", 4):
        piano.note(t, 4, key, 56)
    flute.note(t, 4, pitch("F5"), 70)
    bass.note(t, 4, pitch("F2"), 60)
    write(path, 80, 4, [flute, piano, bass])


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..", "data")
    morning(os.path.join(out, "qingchen.mid"))
    evening(os.path.join(out, "wanxia.mid"))


if __name__ == "__main__":
    main()
