#!/usr/bin/env python3
"""Writes a deterministic benchmark: FOLDER/bench.bgm (raw 16-bit stereo 44.1 kHz data of every
piece, one after another) and FOLDER/bench.mrl (the loop definition), sized so that converting
all pieces with 2 loops and a 10 s fade writes about MIB mebibytes.

    make_definition.py FOLDER MIB [PIECES]     (default 16 pieces)

Each piece is a 10 s introduction and a loop; the last line printed is
"pieces frame_bytes intro_bytes loop_bytes output_bytes" for the measuring script.
"""
import random
import sys

RATE, CHANNELS, BITS = 44100, 2, 16
FRAME = CHANNELS * BITS // 8
PER_SECOND = RATE * FRAME
LOOPS, FADE_SECONDS, INTRO_SECONDS = 2, 10, 10


def main():
    folder, mib = sys.argv[1], float(sys.argv[2])
    pieces = int(sys.argv[3]) if len(sys.argv) > 3 else 16
    per_piece = mib * 1048576 / pieces
    intro = INTRO_SECONDS * PER_SECOND
    fade = FADE_SECONDS * PER_SECOND
    loop_frames = max(int((per_piece - intro - fade - 46) / LOOPS / FRAME), RATE * FADE_SECONDS)
    loop = loop_frames * FRAME
    piece_bytes = intro + loop

    # One mebibyte of noise, repeated with a shift per piece: deterministic and cheap to write.
    block = random.Random(20240601).randbytes(1048576)
    with open(f"{folder}/bench.bgm", "wb") as bgm:
        for n in range(pieces):
            written = 0
            shifted = block[n * 4:] + block[:n * 4]
            while written < piece_bytes:
                part = shifted[:piece_bytes - written]
                bgm.write(part)
                written += len(part)

    lines = ["[album]", "title=Benchmark", ""]
    for n in range(pieces):
        lines += [f"[music{n:04d}]", f"file=piece{n:02d}.wav", f"title=Piece {n}",
                  f"fmt_channels={CHANNELS}", f"fmt_samples={RATE}", f"fmt_bits={BITS}",
                  "wave_file=bench.bgm", f"wave_start={n * piece_bytes}", f"wave_size={piece_bytes}",
                  f"loop_start={intro}", f"loop_size={loop}", ""]
    with open(f"{folder}/bench.mrl", "w", newline="\r\n") as definition:
        definition.write("\n".join(lines))
    output = pieces * (46 + intro + LOOPS * loop + min(fade, loop))
    print(pieces, FRAME, intro, loop, output)


if __name__ == "__main__":
    main()
