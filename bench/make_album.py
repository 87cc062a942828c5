#!/usr/bin/env python3
"""Writes a real album to convert: FOLDER/album.bgm and FOLDER/album.mrl from the game music of
bench/find_loop_corpus.sh (tracker modules and recordings from Debian's game data packages).

    make_album.py CORPUS FOLDER

Each track of CORPUS/tracks (150 s, 48 kHz stereo 32-bit float) becomes one piece of 16-bit
stereo 44.1 kHz data in the BGM file, as a game's BGM file holds it: a 20 s introduction and the
rest as its loop, named within the 15 bytes a definition's names hold. Converted with 1 loop and
a 10 s fade, the 16 pieces make about 450 MB of WAVE.
The last line printed is "pieces output_bytes" for that conversion.
"""
import os
import subprocess
import sys

RATE, FRAME = 44100, 4
INTRO_SECONDS, FADE_SECONDS = 20, 10


def main():
    corpus, folder = sys.argv[1], sys.argv[2]
    tracks = sorted(name[:-4] for name in os.listdir(os.path.join(corpus, "tracks")) if name.endswith(".wav"))
    if not tracks:
        sys.exit(f"make_album: no tracks in {corpus}/tracks (run bench/find_loop_corpus.sh)")
    os.makedirs(folder, exist_ok=True)
    text = "[album]\r\ntitle=ゲーム音楽集\r\n"
    start = output = 0
    with open(os.path.join(folder, "album.bgm"), "wb") as bgm:
        for number, name in enumerate(tracks):
            data = subprocess.run(["sox", "-V1", os.path.join(corpus, "tracks", name + ".wav"), "-t", "raw", "-e",
                                   "signed", "-b", "16", "-r", str(RATE), "-c", "2", "-"],
                                  check=True, stdout=subprocess.PIPE).stdout
            data = data[:len(data) // FRAME * FRAME]
            bgm.write(data)
            intro = INTRO_SECONDS * RATE * FRAME
            loop = len(data) - intro
            text += (f"[music{number:04d}]\r\nfile={number + 1:02d}_{name[:8]}.wav\r\ntitle={name}\r\n"
                     f"fmt_channels=2\r\nfmt_samples={RATE}\r\nfmt_bits=16\r\nwave_file=album.bgm\r\n"
                     f"wave_start={start}\r\nwave_size={len(data)}\r\nloop_start={intro}\r\nloop_size={loop}\r\n")
            start += len(data)
            output += 46 + len(data) + min(loop, FADE_SECONDS * RATE * FRAME)
    with open(os.path.join(folder, "album.mrl"), "wb") as definition:
        definition.write(text.encode("cp932"))
    print(len(tracks), output)


if __name__ == "__main__":
    main()
