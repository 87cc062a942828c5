#!/usr/bin/env bash
# Results for scripts and a target length: convert --json read back with Python's json module and
# held against the files on disk (natively, with workers, cancelled, and as morlo-cli.exe), and
# --length's loop counts in list, check, convert and the playlist held against sox's durations.
. "$(dirname "$0")/lib/common.sh"
# mixed.mrl: the example, the night again under a name that leaves the folder (refused) and under
# a BGM file that is missing. forest's file is there beforehand: without a terminal it is kept.
python3 - "$sample" "$work/mixed.mrl" <<'PY'
import sys
text = open(sys.argv[1], "rb").read()
night = text[text.index(b"[music0002]") + 11:]
text += b"\r\n[music0003]\r\nfile=..\\x.wav" + night + b"[music0004]\r\nwave_file=missing.bgm\r\nfile=lost.wav" + night
open(sys.argv[2], "wb").write(text)
PY
for folder in out exe flac1 flac3; do mkdir "$work/$folder" && echo earlier | tee "$work/$folder/forest."{wav,flac} >/dev/null; done
mixed=(convert "$work/mixed.mrl" --bgm "$work/bgm" --json --out)
exits 1 "$cli" "${mixed[@]}" "$work/out" --playlist album.m3u8 >"$work/out.json" || fail "failed pieces should exit 1"
exits 1 wine_cli "${mixed[@]/#$work/Z:$work}" "Z:$work/exe" --playlist album.m3u8 >"$work/exe.json" || fail "the exe's exit"
for jobs in 1 3; do
  exits 1 "$cli" "${mixed[@]}" "$work/flac$jobs" --format flac --skip-existing --jobs $jobs >"$work/flac$jobs.json" ||
    fail "--jobs $jobs should exit 1"
done
exits 2 "$cli" convert "$sample" --bgm "$work/bgm" --stdout --only 0 --json >/dev/null || fail "--stdout with --json"
# Cancelled while the first of three pieces is written: it was interrupted, the others never reached.
mkdir "$work/cancel"
"$cli" convert "$sample" --bgm "$work/bgm" --out "$work/cancel" --loops 999 --json --playlist album.m3u8 \
  </dev/null >"$work/cancel.json" 2>/dev/null &
pid=$!
comes test -e "$work/cancel/opening.wav.morlo-unfinished" || { kill "$pid"; fail "no unfinished file in $bound s"; }
kill -TERM "$pid"
{ wait "$pid"; } 2>/dev/null && status=0 || status=$?
[ $status -eq 1 ] || fail "a cancelled run should exit 1, not $status"
python3 - "$work" <<'PY' || fail "convert's documents"
import json, os, sys
work = sys.argv[1]
# The whole of stdout is the document: json.load fails on anything beside it.
native, windows, flac1, flac3, cancel = (json.load(open(f"{work}/{n}.json", encoding="utf-8"))
                                         for n in ("out", "exe", "flac1", "flac3", "cancel"))
size = lambda folder, name: os.path.getsize(f"{work}/{folder}/{name}")
for document, folder, ext, kept in ((native, "out", "wav", "failed"), (flac1, "flac1", "flac", "skipped")):
    assert list(document) == ["album", "pieces", "totals"] + ["playlist"] * (ext == "wav"), list(document)
    assert [list(p) for p in document["pieces"]] == [["number", "file", "result", "reason", "output_bytes"]] * 5
    assert [tuple(p.values()) for p in document["pieces"]] == [
        (0, f"opening.{ext}", "written", None, size(folder, f"opening.{ext}")), (1, f"forest.{ext}", kept, "kept", None),
        (2, f"night.{ext}", "written", None, size(folder, f"night.{ext}")),
        (3, f"..\\x.{ext}", "failed", "name-not-plain", None), (4, f"lost.{ext}", "failed", "bgm-missing", None)], document
    assert document["totals"] == {"pieces": 5, "written": 2, "failed": 2 + (kept == "failed"),
                                  "skipped": int(kept == "skipped"), "cancelled": 0}, document["totals"]
    assert sorted(os.listdir(f"{work}/{folder}")) == sorted(["forest.wav", "forest.flac", f"opening.{ext}",
                                                            f"night.{ext}"] + ["album.m3u8"] * (ext == "wav"))
    assert open(f"{work}/{folder}/forest.{ext}").read() == "earlier\n", "the kept file changed"
assert native["playlist"] == {"file": "album.m3u8", "result": "written", "reason": None,
                              "output_bytes": size("out", "album.m3u8")}, native["playlist"]
assert (native["album"], windows, flac3) == ("見本アルバム", native, flac1), "the exe's or the workers' document differs"
assert [tuple(p.values())[2:] for p in cancel["pieces"]] == [("cancelled", "interrupted", None)] + [
    ("cancelled", "not-reached", None)] * 2 and os.listdir(f"{work}/cancel") == [], cancel
assert cancel["totals"] == {"pieces": 3, "written": 0, "failed": 0, "skipped": 0, "cancelled": 3}, cancel["totals"]
assert tuple(cancel["playlist"].values())[1:] == ("cancelled", "not-reached", None), cancel["playlist"]
PY

# --length 0:30 (0:40 with a full fade of 20 s for the night): each piece's count in list, check and
# convert; the files as long as the list says and at least the length, and one loop less shorter.
mkdir "$work/len" "$work/less" "$work/full"
run=(convert "$sample" --bgm "$work/bgm" --out)
"$cli" list "$sample" >"$work/plain.txt" && "$cli" list "$sample" --length 0:30 >"$work/len.txt"
"$cli" list "$sample" --length 0:30 --json >"$work/len-list.json"
wine_cli list "Z:$sample" --length 0:30 --json >"$work/len-exe.json"
"$cli" check "$sample" --bgm "$work/bgm" --length 0:30 --json >"$work/len-check.json"
"$cli" "${run[@]}" "$work/len" --length 0:30 --json --playlist album.m3u8 >"$work/len.json"
"$cli" "${run[@]}" "$work/full" --only 2 --length 0:40 --fade 20 --full-fade --json >"$work/full.json"
"$cli" "${run[@]}" "$work/less" --only 1 --loops 3 >/dev/null && "$cli" "${run[@]}" "$work/less" --only 2 --loops 5 >/dev/null
python3 - "$work" <<'PY' || fail "the loop counts of --length"
import json, subprocess, sys
work = sys.argv[1]
seconds = lambda path: float(subprocess.run(["soxi", "-D", f"{work}/{path}"], capture_output=True, check=True).stdout)
load = lambda name: json.load(open(f"{work}/{name}.json", encoding="utf-8"))
listed, check, converted, full = load("len-list"), load("len-check"), load("len"), load("full")
lines, plain = ([line.split("\t") for line in open(f"{work}/{n}.txt", encoding="utf-8").read().splitlines()[1:-1]]
                for n in ("len", "plain"))
counts = [3, 4, 6]
assert [line[6:] for line in lines] == [[str(c)] for c in counts] and [len(line) for line in plain] == [6] * 3, lines
assert (listed["loops"], listed["length_seconds"], listed == load("len-exe")) == (None, 30, True), listed
assert [[p["loops"] for p in d["pieces"]] for d in (listed, check, converted)] == [counts] * 3
playlist = open(f"{work}/len/album.m3u8", encoding="utf-8").read().splitlines()
for n, name in enumerate(["opening.wav", "forest.wav", "night.wav"]):
    played, (minutes, rest) = seconds(f"len/{name}"), lines[n][2].split(":")
    assert played >= 30 and int(played) == listed["pieces"][n]["play_seconds"] == int(minutes) * 60 + int(rest), name
    assert playlist[1 + 2 * n].startswith(f"#EXTINF:{int(played)},") and (n == 0 or seconds(f"less/{name}") < 30), n
# The night's loop is 4.8 s: five loops and 20 s of fade reach 40 s, four do not.
assert full["pieces"][0]["loops"] == 5 and 40 <= seconds("full/night.wav") < 40 + 4.8, full
PY

# A minute-long loop of 8 channels at 192 kHz in 32 bits: 15 loops reach 15:00 and pass 4 GiB. check
# and convert refuse the piece for the count it was given.
printf '[album]\r\ntitle=big\r\n[music0000]\r\nfile=big.wav\r\ntitle=big\r\nfmt_channels=8\r\nfmt_samples=192000\r\n%b' \
  'fmt_bits=32\r\nwave_file=none.bgm\r\nwave_size=368640000\r\nloop_start=0\r\nloop_size=368640000\r\n' >"$work/big.mrl"
exits 1 "$cli" check "$work/big.mrl" --bgm "$work/bgm" --length 15:00 >"$work/big.txt" || fail "check of the large piece"
grep -q $'^0\terror\ttoo-large\tbig: with 15 loops and 10 s of fade the file would have 5,591,040,046 bytes' \
  "$work/big.txt" || fail "check does not count the piece's loops: $(cat "$work/big.txt")"
mkdir "$work/big"
"$cli" "${run[@]/#$sample/$work/big.mrl}" "$work/big" --length 15:00 --json 2>/dev/null >"$work/big.json" || true
python3 -c 'import json, sys; p = json.load(open(sys.argv[1]))["pieces"][0]
assert (p["result"], p["reason"], p["loops"]) == ("failed", "too-large", 15), p' "$work/big.json" ||
  fail "convert does not refuse the piece for its loops"
echo "cli_results: ok"
