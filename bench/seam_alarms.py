#!/usr/bin/env python3
"""How often `morlo-cli check` flags a loop seam in real music, clean and cut badly.

    seam_alarms.py MORLO_CLI AUDIO_FILE...    (any file sox reads: ogg, mp3, flac, wav)

Each file is decoded with sox to 16-bit stereo at 44.1 kHz. At 40 places per file (fixed seeds,
the same on every run) two pieces are made:
  clean  the loop is one second of the music whose last 50 ms are the 50 ms that precede the
         loop's start in the music, so the wrap from its end to its start is the music running
         on: what a seamless loop sounds like there;
  cut    the same loop ended 1 to 10 ms early at a random frame, the rest of the data kept
         behind it: an author's loop end off by a few milliseconds.
All pieces go into one definition per file; `check --json` measures them. Prints, per file and
in all, the clean seams flagged (false alarms), the cut seams flagged (found), and how many of
the found ones got back within two frames of the true end by the suggestion.
"""
import json
import os
import random
import struct
import subprocess
import sys
import tempfile

RATE = 44100
FRAME = 4
PLACES = 40
TAIL = RATE // 20  # 50 ms


def decode(path):
    return subprocess.run(["sox", path, "-t", "raw", "-e", "signed", "-b", "16", "-c", "2", "-r", str(RATE),
                           "-"], capture_output=True, check=True).stdout


def pieces_of(music, rng):
    frames = len(music) // FRAME
    blob = bytearray()
    pieces = []
    for place in range(PLACES):
        start = rng.randrange(RATE, frames - 3 * RATE)
        early = rng.randrange(RATE // 1000, RATE // 100 + 1)
        def chunk(a, b):
            return music[a * FRAME:b * FRAME]
        intro = chunk(start - RATE // 2, start)
        loop = chunk(start, start + RATE - TAIL) + chunk(start - TAIL, start)
        for kind, loop_bytes in (("clean", len(loop)), ("cut", len(loop) - early * FRAME)):
            data = intro + loop + chunk(start, start + RATE // 10)
            pieces.append({"kind": kind, "early": early, "wave_start": len(blob), "wave_size": len(data),
                           "loop_start": len(intro), "loop_size": loop_bytes, "true_size": len(loop)})
            blob += data
    return pieces, bytes(blob)


def definition(pieces):
    lines = ["[album]", "title=seam alarms", ""]
    for n, p in enumerate(pieces):
        lines += [f"[music{n:04d}]", f"file=p{n}.wav", f"title={p['kind']} {n}", "wave_file=music.bgm",
                  f"wave_start={p['wave_start']}", f"wave_size={p['wave_size']}",
                  f"loop_start={p['loop_start']}", f"loop_size={p['loop_size']}", ""]
    return "\n".join(lines)


def main(argv):
    if len(argv) < 3:
        print(__doc__, file=sys.stderr)
        return 2
    cli, files = argv[1], argv[2:]
    totals = {"clean": 0, "false": 0, "cut": 0, "found": 0, "restored": 0}
    measures = {"clean": [], "cut": []}
    with tempfile.TemporaryDirectory() as work:
        for index, path in enumerate(files):
            pieces, blob = pieces_of(decode(path), random.Random(index))
            with open(os.path.join(work, "music.bgm"), "wb") as f:
                f.write(blob)
            with open(os.path.join(work, "test.mrl"), "w") as f:
                f.write(definition(pieces))
            out = subprocess.run([cli, "check", os.path.join(work, "test.mrl"), "--bgm", work, "--json"],
                                 capture_output=True, text=True).stdout
            counts = {"clean": 0, "false": 0, "cut": 0, "found": 0, "restored": 0}
            for p, checked in zip(pieces, json.loads(out)["pieces"]):
                seam = [f for f in checked["findings"] if f["code"] == "loop-seam"]
                counts[p["kind"]] += 1
                measures[p["kind"]].append(checked["seam_measure"])
                if p["kind"] == "clean":
                    counts["false"] += bool(seam)
                elif seam:
                    counts["found"] += 1
                    s = seam[0]["suggestion"]
                    counts["restored"] += bool(s) and abs(s["loop_size"] - p["true_size"]) <= 2 * FRAME
            print(f"{os.path.basename(path)}: clean {counts['clean']}, flagged {counts['false']}; "
                  f"cut {counts['cut']}, flagged {counts['found']}, suggestion within 2 frames {counts['restored']}")
            for key in totals:
                totals[key] += counts[key]
    print(f"all: clean {totals['clean']}, flagged {totals['false']}; cut {totals['cut']}, flagged "
          f"{totals['found']}, suggestion within 2 frames {totals['restored']}")
    for kind, values in measures.items():
        values.sort()
        print("%s seam measures: %s" % (kind, ", ".join(
            "%d%% %.1f" % (q, values[min(len(values) - 1, len(values) * q // 100)]) for q in (1, 10, 50, 90, 99, 100))))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
