#!/usr/bin/env bash
# Folders whose names hold é, an emoji, a character beyond the BMP and Japanese, natively and as
# morlo-cli.exe under code pages 932 and 1252: the pieces land in the folder named (never in a
# look-alike beside it) under the definition's own names, the same bytes as with plain paths, and
# what morlo-cli.exe prints is UTF-8 in a pipe and readable Japanese on a terminal.
. "$(dirname "$0")/lib/common.sh"
python3 - "$sample" "$work/names.mrl" <<'PY'
import sys
text = open(sys.argv[1], encoding="cp932").read()
for plain, japanese in (("opening", "①序章"), ("forest", "森の小径"), ("night", "夜の街")):
    text = text.replace(f"file={plain}.wav", f"file={japanese}.wav")
open(sys.argv[2], "w", encoding="cp932", newline="").write(text)
PY
root="$work/曲 🎵𠮷"
mkdir -p "$root/BGMé" "$root/outé" "$root/oute" "$work/plain"
cp "$work/bgm/sample.bgm" "$root/BGMé/"
"$cli" convert "$work/names.mrl" --bgm "$work/bgm" --out "$work/plain" >/dev/null
windows() { printf 'Z:%s' "${1//\//\\}"; }

# Exactly the definition's names (read as code page 932) in the folder, each the plain run's file.
holds_the_pieces() { # folder
  [ -z "$(ls -A "$root/oute")" ] || return 1
  python3 - "$1" "$work/plain" "$work/names.mrl" <<'PY'
import filecmp, os, re, sys
folder, plain, definition = sys.argv[1:]
names = re.findall(r"^file=(.*?)\r?$", open(definition, encoding="cp932").read(), re.M)
assert sorted(os.listdir(folder)) == sorted(names), os.listdir(folder)
assert all(filecmp.cmp(f"{folder}/{name}", f"{plain}/{name}", shallow=False) for name in names)
PY
}
holds_the_pieces "$work/plain" || fail "the plain run's names are not the definition's"
for side in native ja_JP.UTF-8 C.UTF-8; do
  doing="$side"
  rm -f "$root/outé"/*
  if [ $side = native ]; then
    "$cli" convert "$work/names.mrl" --bgm "$root/BGMé" --out "$root/outé" >/dev/null || fail "the run failed"
  else
    MORLO_WINE_LOCALE=$side wine_cli convert "$(windows "$work/names.mrl")" --bgm "$(windows "$root/BGMé")" \
      --out "$(windows "$root/outé")" >/dev/null || fail "the run failed"
  fi
  holds_the_pieces "$root/outé" || fail "outé does not hold the pieces as the plain run wrote them (oute: $(ls "$root/oute"))"
  # The files that are there now are found there: without --yes they are kept.
  if [ $side != native ]; then
    MORLO_WINE_LOCALE=$side exits 1 wine_cli convert "$(windows "$work/names.mrl")" --bgm "$(windows "$root/BGMé")" \
      --out "$(windows "$root/outé")" >/dev/null || fail "the files in outé were not found again"
  fi
done
doing=

# Saved as UTF-8, a name Shift-JIS cannot hold is refused, with that reason, on both sides.
python3 -c 'import sys; t = open(sys.argv[1], encoding="cp932").read(); open(sys.argv[2], "w", encoding="utf-8").write(t.replace("①序章", "café"))' \
  "$work/names.mrl" "$work/lost.mrl"
reason="café.wav: the output name holds characters Shift-JIS lacks"
said=$("$cli" convert "$work/lost.mrl" --bgm "$work/bgm" --out "$work/plain" --yes 2>&1 >/dev/null) && fail "a lost name was written"
[[ $said == *"${reason/é/?}"* ]] || fail "native: $said"
said=$(MORLO_WINE_LOCALE=C.UTF-8 wine_cli convert "Z:$work/lost.mrl" --bgm "Z:$work/bgm" --out "Z:$work/plain" --yes 2>&1 >/dev/null) &&
  fail "a lost name was written by the exe"
[[ $said == *"${reason/é/?}"* ]] || fail "exe: $said"

# Into a pipe morlo-cli.exe writes what morlo-cli writes, byte for byte, in either language; a
# folder for a definition and an empty argument are told for what they are.
mkdir "$work/folder.mrl"
for locale in ja_JP.UTF-8 C.UTF-8; do
  LANG=$locale "$cli" list "$work/names.mrl" >"$work/native.txt" 2>&1
  MORLO_WINE_LOCALE=$locale wine_cli list "Z:$work/names.mrl" >"$work/exe.txt" 2>&1
  for refused in outé/none.mrl folder.mrl; do
    LANG=$locale "$cli" list "$work/$refused" >>"$work/native.txt" 2>&1 || true
    MORLO_WINE_LOCALE=$locale wine_cli list "Z:$work/$refused" >>"$work/exe.txt" 2>&1 || true
  done
  LANG=$locale "$cli" list "$work/names.mrl" --loops '' 2>&1 | head -n 1 >>"$work/native.txt" || true
  MORLO_WINE_LOCALE=$locale wine_cli list "Z:$work/names.mrl" --loops '' 2>&1 | head -n 1 >>"$work/exe.txt" || true
  sed -i "s|Z:$work|$work|" "$work/exe.txt"
  cmp -s "$work/native.txt" "$work/exe.txt" || fail "$locale: morlo-cli.exe's piped lines differ: $(cat "$work/exe.txt")"
done

# On a terminal (a pty, a console to Wine) the Japanese texts show whatever the code page: 932 for
# ja_JP.UTF-8, 437 for C.UTF-8 (LC_MESSAGES keeps the user's language Japanese). Wine's console
# shows characters beyond the BMP as two U+FFFD each, so these lines hold none.
for locale in "LANG=ja_JP.UTF-8" "LANG=C.UTF-8 LC_MESSAGES=ja_JP.UTF-8"; do
  (cd "$work" && env $locale timeout "$bound" script -qc \
    "stty cols 200; wine $(printf %q "$cli_exe") list names.mrl; wine $(printf %q "$cli_exe") list outé/none.mrl" \
    /dev/null </dev/null) | sed 's/\x1b\[[0-9;?]*[A-Za-z]//g' | tr -d '\r' >"$work/screen"
  grep -qx '見本アルバム' "$work/screen" && grep -qx '合計時間 : 1:00 合計サイズ :   5,656,698' "$work/screen" &&
    grep -qx 'morlo-cli: outé/none.mrl はループ定義ファイルではありません(存在しません)' "$work/screen" ||
    fail "$locale: the terminal shows: $(cat "$work/screen")"
done

# A definition in such a folder opens on both sides.
cp "$work/names.mrl" "$root/定義é.mrl"
for side in native exe; do
  rm -f "$root/outé"/*
  if [ $side = native ]; then
    said=$("$cli" convert "$root/定義é.mrl" --bgm "$root/BGMé" --out "$root/outé" 2>&1) || fail "native: $said"
  else
    said=$(wine_cli convert "$(windows "$root/定義é.mrl")" --bgm "$(windows "$root/BGMé")" --out "$(windows "$root/outé")" 2>&1) ||
      fail "exe: $said"
  fi
  holds_the_pieces "$root/outé" || fail "$side: the definition in $root did not write the pieces"
done
echo "cli_unicode_paths: ok"
