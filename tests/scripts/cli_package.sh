#!/usr/bin/env bash
# The Debian package, installed into a scratch root (dpkg -x): what it depends on, what lintian
# says, its manual pages shown by man without a warning and in step with --help and check, its
# documents, and its completion loaded by bash and by zsh as a user's shell loads it.
. "$(dirname "$0")/lib/common.sh"
doing="building the package" && package=$(bash "$top/scripts/package.sh" | tail -1) && doing=""
dpkg-deb -f "$package" Depends | tr ',' '\n' | sed 's/^ *\([^ ]*\).*/\1/' | sort >"$work/depends"
for library in libflac12 libogg0 libvorbis0a libvorbisenc2 libvorbisfile3 libkissfft-float131; do
  grep -qx "$library" "$work/depends" || fail "the package does not depend on $library: $(tr '\n' ' ' <"$work/depends")"
done
lintian "$package" >"$work/lintian" 2>&1 || true
! grep -E '^[EW]: ' "$work/lintian" || fail "lintian finds errors or warnings"
dpkg -x "$package" "$work/root"
usr="$work/root/usr"
[ "$("$usr/bin/morlo-cli" --version)" = "morlo ver.1.01" ] || fail "the installed program's --version"

# The manual pages: no warning from man, the version, every option of --help in morlo-cli(1),
# which points to morlo-mrl(5), and every code check can print in morlo-mrl(5).
for page in man1/morlo-cli.1 man5/morlo-mrl.5; do
  MANWIDTH=80 man --warnings -l "$usr/share/man/$page.gz" >"$work/${page#*/}.txt" 2>"$work/man-err" &&
    [ ! -s "$work/man-err" ] || fail "man -l $page: $(cat "$work/man-err")"
  grep -q 'morlo 1\.01' "$work/${page#*/}.txt" || fail "$page does not give the version"
done
options() { grep -o -- '--[a-z-]*' | sort -u; }
diff <("$usr/bin/morlo-cli" --help | options) <(options <"$work/morlo-cli.1.txt") || fail "--help and the manual page differ in options"
grep -q 'morlo-mrl(5)' "$work/morlo-cli.1.txt" || fail "morlo-cli(1) does not point to morlo-mrl(5)"
codes=$(cat "$top"/src/check/*.cpp | grep -oE 'FindingLevel::[A-Za-z]+, "[a-z0-9-]+"|\{"default-[a-z]+"' | grep -oE '"[a-z0-9-]+"' | tr -d '"' | sort -u)
[ "$(wc -w <<<"$codes")" -ge 20 ] || fail "the codes were not found in src/check: $codes"
for code in $codes; do
  grep -qE "^ +(.*, )?$code(,|$)" "$work/morlo-mrl.5.txt" || fail "morlo-mrl(5) does not explain the code $code"
done

# The documents: the README, the copyright naming every library the program links, and a
# changelog whose latest entry is the package's version.
doc="$usr/share/doc/morlo-cli"
zcat "$doc/README.md.gz" | cmp -s - "$top/README.md" || fail "README.md.gz is not the README"
head -n 1 "$doc/copyright" | grep -qx 'Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/' ||
  fail "the copyright file is not machine-readable"
for library in $(grep -vE '^lib(c6|gcc-s1|stdc\+\+6)$' "$work/depends"); do
  grep -q "$library" "$doc/copyright" || fail "the copyright file does not name $library"
done
zcat "$doc/changelog.gz" >"$work/changelog"
[ "$(dpkg-parsechangelog -l "$work/changelog" -S Version)" = "$(dpkg-deb -f "$package" Version)" ] ||
  fail "the changelog's latest entry is not the package's version"

# Completion, in a folder of definitions, audio files, another file and two folders. bash: the
# completion function called as readline calls it; each case is the words typed, then what is
# offered, sorted.
tab="$work/tab"
mkdir -p "$tab/bgm" "$tab/out" && touch "$tab"/{a.mrl,B.MRL,x.wav,y.flac,z.txt}
bash_offers() {
  (cd "$tab" && bash --norc -c '. /usr/share/bash-completion/bash_completion && . "$0" &&
    COMP_WORDS=("$@") COMP_CWORD=$(($# - 1)) COMP_LINE="$*" && COMP_POINT=${#COMP_LINE} &&
    _morlo_cli morlo-cli "${COMP_WORDS[-1]}" "${COMP_WORDS[-2]}" && printf "%s\n" "${COMPREPLY[@]}"' \
    "$usr/share/bash-completion/completions/morlo-cli" "$@") | sort | paste -sd ' '
}
while IFS='|' read -r words offers; do
  read -ra typed <<<"$words"
  [ "${words: -1}" = " " ] && typed+=("")
  got=$(bash_offers morlo-cli "${typed[@]}")
  [ "$got" = "$offers" ] || fail "bash: 'morlo-cli $words' offers '$got', not '$offers'"
done <<'TABLE'
con|convert
 |check convert find-loop list
-|--help --version
convert x.mrl --format |flac ogg wav
convert |B.MRL a.mrl bgm out
find-loop |B.MRL a.mrl bgm out x.wav y.flac
check a.mrl --bgm |bgm out
check a.mrl --bgm bgm |--fade --full-fade --help --json --length --loops --title-names
list a.mrl --tags --tag-text |sjis utf8
convert --bgm bgm |B.MRL a.mrl bgm out
convert a.mrl --only |
TABLE
# Every option of the usage is offered for some command.
{ for command in list check convert find-loop; do bash_offers morlo-cli "$command" --; done; bash_offers morlo-cli --; } |
  tr ' ' '\n' | grep . | sort -u >"$work/offered"
diff <("$usr/bin/morlo-cli" --help | options) "$work/offered" || fail "bash offers other options than --help shows"

# zsh: an interactive shell in a pseudo-terminal, with the completion system and a morlo-cli that
# prints its arguments; each line is typed with a tab and run. A unique match completes the line,
# several are listed.
cat >"$work/type.zsh" <<'ZSH'
setopt extendedglob
zmodload zsh/zpty
zpty shell 'TERM=dumb zsh -f -i'
zpty -w shell "fpath=(${(q)1} \$fpath); autoload -Uz compinit; compinit -u -D; cd ${(q)2}"
zpty -w shell 'setopt no_prompt_cr no_prompt_sp; PROMPT="> "; morlo-cli() { print -r -- "RAN:$*" }; print RE""ADY'
zpty -r shell out $'*\nREADY*\n'
shift 2
for line in "$@"; do
  zpty -w -n shell "$line"$'\t\n'
  zpty -r shell out $'*\nRAN:*\n'
  out=${${out//$'\r'/}//$'\e'\[[?0-9;]#[a-zA-Z]/}
  lines=(${(f)out})
  ran=(${(M)lines:#RAN:*})
  listed=(${=${(j: :)${lines:#*(morlo-cli|RAN:)*}}})
  print -r -- "$ran|${(j: :)${(o)listed}}"
done
zpty -d shell
ZSH
doing="completing in zsh"
timeout "$bound" zsh -f "$work/type.zsh" "$usr/share/zsh/vendor-completions" "$tab" 'morlo-cli con' \
  'morlo-cli convert x.mrl --format ' 'morlo-cli find-loop ' 'morlo-cli check a.mrl --bgm ' >"$work/zsh.txt" ||
  fail "zsh did not complete every line"
[ "$(cat "$work/zsh.txt")" = "RAN:convert|
RAN:convert x.mrl --format|flac ogg wav
RAN:find-loop|B.MRL a.mrl bgm/ out/ x.wav y.flac
RAN:check a.mrl --bgm|bgm/ out/" ] || fail "zsh completes otherwise: $(cat "$work/zsh.txt")"
doing=""
echo "cli_package: ok"
