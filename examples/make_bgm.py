#!/usr/bin/env python3
"""Synthesizes the bundled example's BGM wave file: three short pieces, each an introduction
and a loop that repeats seamlessly, stored as raw PCM behind a small header of its own.

    make_bgm.py OUTPUT_FOLDER            writes OUTPUT_FOLDER/sample.bgm
    make_bgm.py --definition FILE.mrl    writes the matching loop definition (Shift-JIS)

The output is the same on every run: no randomness, only arithmetic.
"""
import math
import os
import struct
import sys

BGM_NAME = "sample.bgm"
HEADER = b"MORLO EXAMPLE BGM\x00" + bytes(46)  # not a WAVE header: the data is found by offset

# Note numbers: 60 is middle C.
def freq(note):
    return 440.0 * 2 ** ((note - 69) / 12)

class Piece:
    def __init__(self, file, title, rate, channels, bits, bpm, intro, loop):
        self.file, self.title = file, title
        self.rate, self.channels, self.bits = rate, channels, bits
        self.beat = 60.0 / bpm
        self.intro, self.loop = intro, loop  # lists of (start beat, beats, note, voice)

    def beats(self, part):
        return max(start + length for start, length, _, _ in part)

    def render(self, part, bars_beats):
        frames = int(round(bars_beats * self.beat * self.rate))
        mix = [0.0] * frames
        for start, length, note, voice in part:
            first = int(start * self.beat * self.rate)
            count = int(length * self.beat * self.rate)
            f = freq(note)
            for i in range(count):
                if first + i >= frames:
                    break
                t = i / self.rate
                # Short attack, exponential decay, and a release that reaches silence at the
                # note's end, so the loop joins without a click.
                env = min(1.0, t / 0.01) * math.exp(-t * voice["decay"]) * min(1.0, (count - i) / (0.02 * self.rate))
                phase = 2 * math.pi * f * t
                sample = sum(a * math.sin(phase * (h + 1)) for h, a in enumerate(voice["harmonics"]))
                mix[first + i] += voice["level"] * env * sample
        return mix

    def encode(self, mix):
        out = bytearray()
        for i, value in enumerate(mix):
            value = max(-1.0, min(1.0, value))
            for channel in range(self.channels):
                # A gentle, fixed stereo spread: the right channel a little softer.
                v = value * (1.0 - 0.15 * channel)
                if self.bits == 16:
                    out += struct.pack("<h", int(v * 30000))
                else:
                    out += struct.pack("<B", 128 + int(v * 120))
        return bytes(out)

    def data(self):
        intro = self.encode(self.render(self.intro, self.beats(self.intro))) if self.intro else b""
        loop = self.encode(self.render(self.loop, self.beats(self.loop)))
        return intro, loop

PIANO = {"harmonics": [0.6, 0.25, 0.1, 0.05], "decay": 2.5, "level": 0.35}
BASS = {"harmonics": [0.8, 0.2], "decay": 1.2, "level": 0.4}
PAD = {"harmonics": [0.5, 0.3, 0.2], "decay": 0.4, "level": 0.18}
BELL = {"harmonics": [0.7, 0.0, 0.2, 0.0, 0.1], "decay": 4.0, "level": 0.3}

def chord(start, length, root, voice=PAD):
    return [(start, length, root, voice), (start, length, root + 4, voice), (start, length, root + 7, voice)]

def opening():
    intro = chord(0, 4, 60) + [(0, 1, 72, BELL), (1, 1, 76, BELL), (2, 2, 79, BELL)]
    loop = []
    for bar, root in enumerate([60, 57, 53, 55]):
        loop += chord(bar * 4, 4, root) + [(bar * 4, 2, root - 12, BASS), (bar * 4 + 2, 2, root - 5, BASS)]
    melody = [72, 74, 76, 79, 77, 76, 74, 72, 69, 72, 74, 76, 74, 71, 67, 71]
    loop += [(i, 1, n, PIANO) for i, n in enumerate(melody)]
    return Piece("opening.wav", "オープニング", 44100, 2, 16, 120, intro, loop)

def forest():
    intro = [(0, 2, 67, BELL), (2, 2, 71, BELL)]
    loop = []
    for bar, root in enumerate([55, 52, 48]):
        loop += [(bar * 3, 3, root, PAD), (bar * 3, 3, root + 7, PAD)]
    loop += [(i, 1, n, PIANO) for i, n in enumerate([79, 78, 76, 74, 76, 78, 79, 71, 72])]
    return Piece("forest.wav", "森の小径", 22050, 1, 16, 90, intro, loop)

def night():
    loop = [(i, 0.5, n, BELL) for i, n in enumerate([69, 72, 76, 72, 67, 71, 74, 71])]
    loop += [(0, 4, 45, BASS), (4, 4, 43, BASS)]
    return Piece("night.wav", "夜の街", 11025, 1, 8, 100, [], loop)

PIECES = [opening(), forest(), night()]

def layout():
    """Each piece's (wave_start, intro bytes, loop bytes) and the whole file's bytes."""
    blob = bytearray(HEADER)
    places = []
    for piece in PIECES:
        intro, loop = piece.data()
        places.append((len(blob), len(intro), len(loop)))
        blob += intro + loop
    return places, bytes(blob)

def definition_text(places):
    lines = ["; morlo の見本: make_bgm.py が作る sample.bgm を読みます", "[album]", "title=見本アルバム", ""]
    for n, (piece, (start, intro, loop)) in enumerate(zip(PIECES, places)):
        lines += [f"[music{n:04d}]", f"file={piece.file}", f"title={piece.title}",
                  f"fmt_channels={piece.channels}", f"fmt_samples={piece.rate}", f"fmt_bits={piece.bits}",
                  f"wave_file={BGM_NAME}", f"wave_start={start}", f"wave_size={intro + loop}",
                  f"loop_start={intro}", f"loop_size={loop}", ""]
    return "\r\n".join(lines)

def main(argv):
    places, blob = layout()
    if len(argv) == 3 and argv[1] == "--definition":
        with open(argv[2], "wb") as f:
            f.write(definition_text(places).encode("cp932"))
        return 0
    if len(argv) != 2:
        print(__doc__, file=sys.stderr)
        return 2
    os.makedirs(argv[1], exist_ok=True)
    with open(os.path.join(argv[1], BGM_NAME), "wb") as f:
        f.write(blob)
    return 0

if __name__ == "__main__":
    sys.exit(main(sys.argv))
