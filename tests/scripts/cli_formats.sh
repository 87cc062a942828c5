#!/usr/bin/env bash
# FLAC, Ogg Vorbis and standard output, read back by flac, metaflac, vorbis-tools and ffprobe:
# the same samples as the WAVE files (with a full fade running through the shorter loops), the tags, the loop comments, the refusals and the closed
# pipe; morlo-cli.exe's WAVE on standard output and its FLAC and Ogg.
. "$(dirname "$0")/lib/common.sh"
run=(convert "$sample" --bgm "$work/bgm" --loops 2 --fade 7 --full-fade --yes)
mkdir "$work/wav" "$work/flac" "$work/ogg" "$work/ogg0"
"$cli" "${run[@]}" --out "$work/wav" >/dev/null
doing="writing FLAC" && "$cli" "${run[@]}" --out "$work/flac" --format flac --tags --loop-points >"$work/flac.txt"
doing="writing Ogg" && "$cli" "${run[@]}" --out "$work/ogg" --format ogg --tags --loop-points --playlist all.m3u8 >/dev/null
"$cli" "${run[@]}" --out "$work/ogg0" --format ogg --quality 0 >/dev/null
doing=""
[ "$(cat "$work/flac.txt")" = 'Output finished (succeeded: 3, failed: 0)' ] || fail "FLAC run: $(cat "$work/flac.txt")"
[ "$(ls "$work/flac" "$work/ogg" | tr '\n' ' ')" = "$work/flac: forest.flac night.flac opening.flac  $work/ogg: all.m3u8 forest.ogg night.ogg opening.ogg " ] ||
  fail "names: $(ls "$work/flac" "$work/ogg" | tr '\n' ' ')"
flac -s -t "$work"/flac/*.flac 2>"$work/flac-t.txt" || fail "flac -t: $(cat "$work/flac-t.txt")"
for name in opening forest night; do
  flac -s -d --force-raw-format --endian=little --sign=signed -o "$work/$name.raw" "$work/flac/$name.flac"
  metaflac --export-tags-to="$work/$name.flac-tags" "$work/flac/$name.flac"
  vorbiscomment -l "$work/ogg/$name.ogg" >"$work/$name.ogg-tags"
  ogginfo "$work/ogg/$name.ogg" >"$work/$name.ogginfo" 2>&1 || fail "ogginfo $name: $(cat "$work/$name.ogginfo")"
  for f in flac/$name.flac ogg/$name.ogg ogg0/$name.ogg; do
    ffprobe -v error -show_entries stream=duration_ts,sample_rate,channels -of csv=p=0 "$work/$f" >"$work/$f.probe"
  done
  for f in ogg ogg0; do
    ffprobe -v error -show_entries stream=bit_rate -of csv=p=0 "$work/$f/$name.ogg" >"$work/$f/$name.rate"
  done
  vorbiscomment -l "$work/ogg0/$name.ogg" >"$work/$name.ogg0-tags"
  oggdec -Q -R -o "$work/$name.ogg-raw" "$work/ogg/$name.ogg"
done
python3 - "$work" <<'PY' || fail "FLAC and Ogg do not read back as the WAVE files"
import array, math, os, sys, wave
work = sys.argv[1]
# The decoded Ogg against the WAVE data as 16-bit samples: the same level and the same sound.
def level_and_likeness(ogg, wav):
    energy = lambda samples: math.fsum(s * s for s in samples)
    product = math.fsum(a * b for a, b in zip(ogg, wav))
    return 10 * math.log10(energy(ogg) / energy(wav)), product / math.sqrt(energy(ogg) * energy(wav))
tracks = [("opening", "オープニング", 88200, 352800), ("forest", "森の小径", 58800, 132300), ("night", "夜の街", 0, 52920)]
playlist = "#EXTM3U\n"
for number, (name, title, loop_start, loop_length) in enumerate(tracks, 1):
    with wave.open(f"{work}/wav/{name}.wav") as w:
        frames, rate, channels, width = w.getnframes(), w.getframerate(), w.getnchannels(), w.getsampwidth()
        data = w.readframes(frames)
    ogg = array.array("h", open(f"{work}/{name}.ogg-raw", "rb").read())
    wav = array.array("h", data) if width == 2 else [(b - 128) * 256 for b in data]
    decibels, likeness = level_and_likeness(ogg, wav)
    assert len(ogg) == len(wav) and abs(decibels) < 0.2 and likeness > 0.99, (name, len(ogg), len(wav), decibels, likeness)
    if width == 1:  # FLAC's 8-bit samples are signed
        data = bytes((b - 128) & 255 for b in data)
    assert open(f"{work}/{name}.raw", "rb").read() == data, f"{name}: decoded FLAC differs from the WAVE data"
    probe = f"{rate},{channels},{frames}\n"
    playlist += f"#EXTINF:{frames // rate},{title}\n{name}.ogg\n"
    for f in (f"flac/{name}.flac", f"ogg/{name}.ogg", f"ogg0/{name}.ogg"):
        assert open(f"{work}/{f}.probe").read() == probe, (f, open(f"{work}/{f}.probe").read(), probe)
    tags = [f"TITLE={title}", "ALBUM=見本アルバム", f"TRACKNUMBER={number}", "TRACKTOTAL=3", "ENCODER=morlo ver.1.01",
            f"LOOPSTART={loop_start}", f"LOOPLENGTH={loop_length}"]
    for kind in ("flac", "ogg"):
        got = open(f"{work}/{name}.{kind}-tags", encoding="utf-8").read().splitlines()
        assert got == tags, (name, kind, got)
    ogginfo = open(f"{work}/{name}.ogginfo").read()
    assert "WARNING" not in ogginfo and "error" not in ogginfo.lower(), ogginfo
    # The nominal bit rate in the stream's header follows the quality.
    rates = [int(open(f"{work}/{f}/{name}.rate").read()) for f in ("ogg0", "ogg")]
    assert rates[0] < rates[1], f"{name}: quality 0 and 5 give the nominal bit rates {rates}"
    assert open(f"{work}/{name}.ogg0-tags").read() == "", f"{name}: comments without --tags or --loop-points"
assert open(f"{work}/ogg/all.m3u8", encoding="utf-8").read() == playlist, open(f"{work}/ogg/all.m3u8").read()
PY

# The Ogg files sound exactly as the Vorbis encoder makes the WAVE files sound, fed as oggenc
# feeds it: the same samples decoded, so nothing is lost or slowed between the data and the encoder.
for name in opening forest night; do
  oggenc -Q -q 5 -o "$work/$name.oggenc.ogg" "$work/wav/$name.wav"
  oggdec -Q -R -o "$work/$name.oggenc-raw" "$work/$name.oggenc.ogg"
  cmp -s "$work/$name.oggenc-raw" "$work/$name.ogg-raw" || fail "$name: the Ogg file decodes otherwise than oggenc's of the WAVE file"
done

# Formats a piece cannot be held in: refused with the reason, nothing created, the run goes on.
# Pieces: 24 bits with a loop longer than a chunk (1 MiB, no whole number of frames), 32 bits, 9
# channels, 12 bits, 8-bit 8 channels, rate 0, 255 and 256 channels, and a name without an
# extension whose loop starts inside a frame; --loops 1, so that the loop comments follow the frame.
python3 - "$work" <<'PY'
import random, sys
work = sys.argv[1]
random.seed(7)
open(f"{work}/bgm/odd.bgm", "wb").write(random.randbytes(1500000))
pieces = [("w24.wav", 2, 48000, 24, 1500000, 15360, 1200000), ("w32.wav", 2, 48000, 32), ("ch9.wav", 9, 44100, 16),
          ("b12.wav", 2, 44100, 12), ("ch8.wav", 8, 44100, 8), ("r0.wav", 1, 0, 16), ("ch255.wav", 255, 8000, 8),
          ("ch256.wav", 256, 8000, 8), ("plain", 1, 22050, 16, 92160, 15361)]
usual = (92160, 15360, 46080)  # wave_size, loop_start, loop_size where a piece gives none
text = "[album]\r\ntitle=odd\r\n"
for n, piece in enumerate(pieces):
    name, channels, rate, bits, size, loop_start, loop_size = piece + usual[len(piece) - 4:]
    text += (f"[music{n:04d}]\r\nfile={name}\r\ntitle=t{n}\r\nfmt_channels={channels}\r\nfmt_samples={rate}\r\n"
             f"fmt_bits={bits}\r\nwave_file=odd.bgm\r\nwave_size={size}\r\nloop_start={loop_start}\r\nloop_size={loop_size}\r\n")
open(f"{work}/odd.mrl", "w").write(text)
PY
mkdir "$work/odd-wav" "$work/odd-flac" "$work/odd-ogg"
odd=(convert "$work/odd.mrl" --bgm "$work/bgm" --loops 1 --fade 1 --loop-points)
"$cli" "${odd[@]}" --out "$work/odd-wav" >/dev/null
for format in flac ogg; do
  "$cli" "${odd[@]}" --out "$work/odd-$format" --format $format >"$work/odd-$format.txt" 2>&1 </dev/null && status=0 || status=$?
  [ "$status" -eq 1 ] || fail "refused $format pieces should exit 1, not $status"
done
diff - "$work/odd-flac.txt" <<'EOF' || fail "FLAC refusals"
ch9.flac: FLAC holds 1 to 8 channels, the piece has 9
b12.flac: FLAC is written from 8-, 16-, 24- or 32-bit samples, the piece has 12 bits
r0.flac: FLAC cannot hold a rate of 0 frames a second
ch255.flac: FLAC holds 1 to 8 channels, the piece has 255
ch256.flac: FLAC holds 1 to 8 channels, the piece has 256
Output finished (succeeded: 4, failed: 5)
EOF
diff - "$work/odd-ogg.txt" <<'EOF' || fail "Ogg refusals"
b12.ogg: Ogg Vorbis is written from 8-, 16-, 24- or 32-bit samples, the piece has 12 bits
r0.ogg: the Vorbis encoder cannot take 0 frames a second
ch256.ogg: Ogg Vorbis holds 1 to 255 channels, the piece has 256
Output finished (succeeded: 6, failed: 3)
EOF
[ "$(ls "$work/odd-flac" | tr '\n' ' ')" = "ch8.flac plain.flac w24.flac w32.flac " ] || fail "FLAC files: $(ls "$work/odd-flac")"
for name in w24 w32 ch8 plain; do
  flac -s -d --force-raw-format --endian=little --sign=signed -o "$work/$name.raw" "$work/odd-flac/$name.flac"
  metaflac --export-tags-to="$work/$name.tags" "$work/odd-flac/$name.flac"
done
for name in ch9 ch255 w32; do
  ffprobe -v error -show_entries stream=duration_ts,channels -of csv=p=0 "$work/odd-ogg/$name.ogg" >"$work/$name.probe"
done
python3 - "$work" <<'PY' || fail "odd formats do not read back as the WAVE files"
import struct, sys, wave
work = sys.argv[1]
def wave_data(name):
    with wave.open(f"{work}/odd-wav/{name}" + ".wav" * (name != "plain")) as w:
        return w.readframes(w.getnframes())
for name, frame, loop_start, loop_size in (("w24", 6, 15360, 1200000), ("w32", 8, 15360, 46080), ("ch8", 8, 15360, 46080),
                                           ("plain", 2, 15361, 46080)):
    data = wave_data(name)
    if name == "ch8":
        data = bytes((b - 128) & 255 for b in data)
    # The data of the unaligned piece ends inside a frame, which FLAC cannot hold.
    data = data[:len(data) // frame * frame]
    assert open(f"{work}/{name}.raw", "rb").read() == data, f"{name}: decoded FLAC differs from the WAVE data"
    # The loop starts at the first frame wholly within it (plain's starts inside a frame) and
    # holds its whole frames: the WAVE file's smpl chunk says the same.
    start = -(-loop_start // frame)
    tags = open(f"{work}/{name}.tags").read().split()
    assert tags == [f"LOOPSTART={start}", f"LOOPLENGTH={loop_size // frame}"], (name, tags)
    with open(f"{work}/odd-wav/{name}" + ".wav" * (name != "plain"), "rb") as w:
        smpl = w.read()[-68:]
    assert smpl[:4] == b"smpl" and struct.unpack("<II", smpl[-16:-8]) == (start, start + loop_size // frame - 1), name
for name, channels, frame in (("ch9", 9, 18), ("ch255", 255, 255), ("w32", 2, 8)):
    frames = len(wave_data(name)) // frame
    assert open(f"{work}/{name}.probe").read().split() == [f"{channels},{frames}"], (name, open(f"{work}/{name}.probe").read())
PY

# list names the files of the format, and gives no size it cannot know.
"$cli" list "$work/odd.mrl" --format ogg --json >"$work/odd.json"
"$cli" list "$sample" --format flac >"$work/list.txt"
python3 - "$work" <<'PY' || fail "list --format"
import json, sys
work = sys.argv[1]
document = json.load(open(f"{work}/odd.json", encoding="utf-8"))
pieces = document["pieces"]
assert [p["output_file"] for p in pieces][7:] == ["ch256.ogg", "plain.ogg"], pieces
assert {(p["output_bytes"], p["output_bytes_known_before_writing"]) for p in pieces} == {(None, False)}, pieces
assert [p["writable"] for p in pieces] == [True, True, True, False, True, False, True, False, True], pieces
assert document["totals"]["output_bytes"] is None, document["totals"]
lines = open(f"{work}/list.txt", encoding="utf-8").read().splitlines()
assert [line.split("\t")[3:5] for line in lines[1:4]] == [["not known before writing", n] for n in
                                                          ("opening.flac", "forest.flac", "night.flac")], lines
assert lines[4] == "Total time : 1:00 Total size : not known before writing", lines[4]
PY

# Standard output: the piece alone, as the file would hold it; a closed pipe ends quietly with 1.
"$cli" "${run[@]}" --stdout --only 1 | cmp -s - "$work/wav/forest.wav" || fail "WAVE on stdout differs from the file"
"$cli" "${run[@]}" --stdout --only 2 --format ogg --tags --loop-points | cmp -s - "$work/ogg/night.ogg" ||
  fail "Ogg on stdout differs from the file"
"$cli" "${run[@]}" --stdout --only 0 --format flac --tags --loop-points 2>"$work/err" >"$work/stdout.flac" || fail "FLAC to a redirected stdout"
cmp -s "$work/stdout.flac" "$work/flac/opening.flac" || fail "FLAC redirected to a file differs from the written file"
"$cli" "${run[@]}" --stdout --only 0 --format flac | flac -s -t - 2>"$work/err" || fail "flac -t - on the pipe: $(cat "$work/err")"
for format in wav flac ogg; do
  ("$cli" "${run[@]}" --stdout --only 0 --format $format 2>"$work/err" && status=0 || status=$?
   echo "$status" >"$work/status") | head -c 100 >/dev/null
  [ "$(cat "$work/status")" -eq 1 ] && [ ! -s "$work/err" ] ||
    fail "$format to a closed pipe: status $(cat "$work/status"), said '$(cat "$work/err")'"
done
for options in "" "--only 0-1" "--only 0 --out $work"; do
  # shellcheck disable=SC2086
  exits 2 "$cli" "${run[@]}" --stdout $options >"$work/stdout" && [ ! -s "$work/stdout" ] || fail "--stdout $options should be a usage error"
done
exits 2 "$cli" "${run[@]}" --out "$work" --quality 11 || fail "--quality 11 should be a usage error"
wine_cli convert "Z:$sample" --bgm "Z:$work/bgm" --loops 2 --fade 7 --full-fade --stdout --only 2 >"$work/exe.wav" || fail "exe to stdout"
cmp -s "$work/exe.wav" "$work/wav/night.wav" || fail "morlo-cli.exe's WAVE on stdout differs from the file"

# morlo-cli.exe writes what the Linux build writes: the same names, FLAC decoding to the same
# samples, Ogg sounding the same, and the same comments in both.
mkdir "$work/exe-flac" "$work/exe-ogg"
for format in flac ogg; do
  doing="morlo-cli.exe writing $format" && wine_cli convert "Z:$sample" --bgm "Z:$work/bgm" --loops 2 --fade 7 --full-fade \
    --yes --out "Z:$work/exe-$format" --format $format --tags --loop-points >/dev/null
done
doing=""
[ "$(ls "$work/exe-flac" "$work/exe-ogg" | tr '\n' ' ')" = "$work/exe-flac: forest.flac night.flac opening.flac  $work/exe-ogg: forest.ogg night.ogg opening.ogg " ] ||
  fail "morlo-cli.exe's names: $(ls "$work/exe-flac" "$work/exe-ogg" | tr '\n' ' ')"
for name in opening forest night; do
  flac -s -d --force-raw-format --endian=little --sign=signed -o "$work/$name.exe-raw" "$work/exe-flac/$name.flac"
  cmp -s "$work/$name.exe-raw" "$work/$name.raw" || fail "$name: morlo-cli.exe's FLAC decodes to other samples"
  metaflac --export-tags-to=- "$work/exe-flac/$name.flac" | cmp -s - "$work/$name.flac-tags" ||
    fail "$name: morlo-cli.exe's FLAC tags differ"
  vorbiscomment -l "$work/exe-ogg/$name.ogg" | cmp -s - "$work/$name.ogg-tags" || fail "$name: morlo-cli.exe's Ogg comments differ"
  oggdec -Q -R -o "$work/$name.exe-ogg-raw" "$work/exe-ogg/$name.ogg"
done
python3 - "$work" <<'PY' || fail "morlo-cli.exe's Ogg does not sound as the Linux build's"
import array, math, sys
work = sys.argv[1]
for name in ("opening", "forest", "night"):
    exe, linux = (array.array("h", open(f"{work}/{name}.{kind}", "rb").read()) for kind in ("exe-ogg-raw", "ogg-raw"))
    product = math.fsum(a * b for a, b in zip(exe, linux))
    likeness = product / math.sqrt(math.fsum(a * a for a in exe) * math.fsum(b * b for b in linux))
    assert len(exe) == len(linux) and likeness > 0.9999, (name, len(exe), len(linux), likeness)
PY

echo "cli_formats: ok"
