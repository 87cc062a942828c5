#!/usr/bin/env bash
# --title-names: files named after the pieces' titles (what Windows refuses in a name replaced, a
# long title cut as the system counts), natively and as morlo-cli.exe under code pages 932 and
# 1252; list's names those of the files written, check judging these names instead of the file
# keys, the overwrite question and the playlist naming them, with --split each part's mark kept
# whole. --tag-text utf8: INFO texts that
# ffprobe and exiftool read as the right Japanese, the ID3 tag as before; sjis the files of --tags
# alone, today's bytes (cli_authoring.sh reads them).
. "$(dirname "$0")/lib/common.sh"
# A title with / : ? and the rest Windows refuses; one of 80 Japanese characters (ソ, 表 and ポ end
# in the bytes '\' and '|'), too long for Linux but not for Windows; one of 250 letters, too long
# for both; file keys that leave the folder and that are given twice.
python3 - "$sample" "$work/titles.mrl" <<'PY'
import re, sys
text = open(sys.argv[1], encoding="cp932").read()
last = re.search(r"\[music0002\][^[]*", text).group(0)
text += last.replace("music0002", "music0003").replace("title=夜の街", "title=" + ("The Long Way Home " * 14)[:250])
for old, new in (("title=オープニング", 'title=Stage 1: 森/夜? <Boss> "A|B" *end.'),
                 ("title=森の小径", "title=" + ("ソ表ポ森の小径をゆく長い旅" * 7)[:80]),
                 ("file=opening.wav", "file=../up.wav"), ("file=night.wav", "file=forest.wav")):
    text = text.replace(old, new)
open(sys.argv[2], "w", encoding="cp932", newline="").write(text)
PY
run=(convert "$work/titles.mrl" --bgm "$work/bgm" --loops 0 --fade 1 --title-names)
for side in utf8 sjis tags flac split; do mkdir "$work/$side"; done
"$cli" "${run[@]}" --out "$work/utf8" --tags --tag-text utf8 --playlist album.m3u8 >/dev/null || fail "the UTF-8 run"
"$cli" "${run[@]}" --out "$work/sjis" --tags --tag-text sjis >/dev/null || fail "the Shift-JIS run"
"$cli" "${run[@]}" --out "$work/tags" --tags >/dev/null || fail "the run with --tags alone"
"$cli" "${run[@]}" --out "$work/flac" --format flac >/dev/null || fail "the FLAC run"
"$cli" convert "$work/titles.mrl" --bgm "$work/bgm" --title-names --split --out "$work/split" --playlist album.m3u8 \
  >/dev/null || fail "the split run"
"$cli" list "$work/titles.mrl" --loops 0 --fade 1 --title-names --tags --tag-text utf8 >"$work/list-utf8.txt"
"$cli" list "$work/titles.mrl" --title-names --format flac >"$work/list-flac.txt"
"$cli" list "$work/titles.mrl" --title-names --format ogg --json >"$work/list-ogg.json"
"$cli" check "$work/titles.mrl" --bgm "$work/bgm" --json >"$work/check-keys.json" || true
"$cli" check "$work/titles.mrl" --bgm "$work/bgm" --title-names --json >"$work/check-titles.json" || true
# Asked again without a terminal, the file is kept and named as written.
"$cli" "${run[@]}" --out "$work/utf8" --only 0 </dev/null >/dev/null 2>"$work/kept.txt" && fail "a kept file should exit 1"
exits 2 "$cli" list "$work/titles.mrl" --tag-text utf8 || fail "--tag-text without --tags should be a usage error"
# The Windows name of the Japanese title, 80 characters in UTF-16, takes 247 bytes in UTF-8: too
# long for a Linux file system, where Wine writes, with the unfinished file's ending.
for locale in ja_JP.UTF-8 C.UTF-8; do
  mkdir "$work/exe-$locale"
  MORLO_WINE_LOCALE=$locale wine_cli "${run[@]/#$work/Z:$work}" --out "Z:$work/exe-$locale" --tags --tag-text utf8 \
    --only 0,2,3 >/dev/null || fail "$locale: the exe's run"
  MORLO_WINE_LOCALE=$locale wine_cli list "Z:$work/titles.mrl" --title-names >"$work/list-exe-$locale.txt"
done
/usr/bin/python3 - "$work" <<'PY' || fail "the names or the tags"
import json, os, subprocess, sys
work = sys.argv[1]
out = lambda *command: subprocess.run(command, capture_output=True, check=True).stdout
titles = ['Stage 1: 森/夜? <Boss> "A|B" *end.', ("ソ表ポ森の小径をゆく長い旅" * 7)[:80], "夜の街",
          ("The Long Way Home " * 14)[:250]]
# Linux counts 238 bytes of UTF-8 for a name, Windows 238 UTF-16 units: 77 of the 80 Japanese
# characters fit beside "02 " and ".wav" on Linux (76 beside ".flac"), all 80 on Windows; 231 of
# the 250 letters on both, the unfinished file's name 255 bytes long.
def names(extension, linux=True):
    room = 235 - len(extension)
    return ['01 Stage 1_ 森_夜_ _Boss_ _A_B_ _end.' + extension,
            "02 " + titles[1][:room // 3 if linux else 80] + extension, "03 夜の街" + extension,
            "04 " + titles[3][:room] + extension]
def listed(path):
    return [line.split("\t")[4] for line in open(path, encoding="utf-8").read().splitlines()[1:-1]]
def files(folder):
    return sorted(name for name in os.listdir(f"{work}/{folder}") if not name.endswith(".m3u8"))
wav, flac = names(".wav"), names(".flac")
for folder in ("utf8", "sjis", "tags"):
    assert files(folder) == sorted(wav), (folder, files(folder))
assert files("flac") == sorted(flac) and listed(f"{work}/list-flac.txt") == flac, files("flac")
assert listed(f"{work}/list-utf8.txt") == wav, listed(f"{work}/list-utf8.txt")
assert [p["output_file"] for p in json.load(open(f"{work}/list-ogg.json"))["pieces"]] == names(".ogg")
playlist = open(f"{work}/utf8/album.m3u8", encoding="utf-8").read().splitlines()
assert playlist[2::2] == wav, playlist
# Split, the mark stays before the extension when the title is cut; the night and the long letters
# have no introduction.
intro, loop = names("-intro.wav"), names("-loop.wav")
split = [intro[0], loop[0], intro[1], loop[1], loop[2], loop[3]]
playlist = open(f"{work}/split/album.m3u8", encoding="utf-8").read().splitlines()
assert files("split") == sorted(split) and playlist[2::2] == split, (files("split"), playlist)
windows = names(".wav", linux=False)
for locale in ("ja_JP.UTF-8", "C.UTF-8"):
    assert files(f"exe-{locale}") == sorted(windows[:1] + windows[2:]), (locale, files(f"exe-{locale}"))
    assert listed(f"{work}/list-exe-{locale}.txt") == windows, locale
    for n in (0, 2, 3):
        assert open(f"{work}/utf8/{wav[n]}", "rb").read() == open(f"{work}/exe-{locale}/{windows[n]}", "rb").read(), n
kept = open(f"{work}/kept.txt", encoding="utf-8").read()
assert f"{work}/utf8/{wav[0]} exists; not replaced" in kept, kept
# check judges the names written: the file keys' refusal and repetition no longer count.
codes = lambda path: {f["code"] for p in json.load(open(path))["pieces"] for f in p["findings"]}
assert {"name-not-plain", "same-output"} <= codes(f"{work}/check-keys.json"), codes(f"{work}/check-keys.json")
assert not codes(f"{work}/check-titles.json") & {"name-not-plain", "same-output", "no-wav-ending"}
assert [p["output_file"] for p in json.load(open(f"{work}/check-titles.json"))["pieces"]] == wav

sizes = [int(line.split("\t")[3].replace(",", "")) for line in open(f"{work}/list-utf8.txt").read().splitlines()[1:-1]]
def chunks(path):
    data, found, at = open(path, "rb").read(), {}, 12
    while at < len(data):
        size = int.from_bytes(data[at + 4:at + 8], "little")
        found[data[at:at + 4]], at = data[at + 8:at + 8 + size], at + 8 + size + size % 2
    return found
for n, (name, title) in enumerate(zip(wav, titles)):
    utf8, sjis = f"{work}/utf8/{name}", f"{work}/sjis/{name}"
    assert os.path.getsize(utf8) == sizes[n], name
    assert open(sjis, "rb").read() == open(f"{work}/tags/{name}", "rb").read(), f"sjis is not --tags alone: {name}"
    assert chunks(utf8)[b"id3 "] == chunks(sjis)[b"id3 "], f"the ID3 tag changed: {name}"
    probed = json.loads(out("ffprobe", "-v", "error", "-show_entries", "format_tags", "-of", "json", utf8))["format"]["tags"]
    assert (probed["title"], probed["album"], probed["track"]) == (title, "見本アルバム", str(n + 1)), probed
    info = out("exiftool", "-charset", "RIFF=UTF8", "-s3", "-RIFF:Title", "-RIFF:Product", utf8).decode()
    assert info == f"{title}\n見本アルバム\n", info
PY
echo "cli_title_names: ok"
