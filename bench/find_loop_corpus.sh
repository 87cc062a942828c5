#!/usr/bin/env bash
# Builds the music that bench/find_loop.py measures the loop finder on, in a folder under the
# build folder (never committed):
#
#   bench/find_loop_corpus.sh [FOLDER]      default $MORLO_BUILD/find-loop-corpus
#
# Installs what it needs from Debian (openmpt123 renders tracker modules, espeak-ng speaks the
# tracks that must not loop, sox/ffmpeg/vorbis-tools/flac/time convert and measure), fetches four
# game data packages with `apt-get download` and unpacks them with `dpkg-deb -x` (nothing of them
# is installed), and writes FOLDER/tracks/NAME.wav: the first 150 s of each track, 48 kHz stereo
# 32-bit float, so that every format the benchmark makes comes from the same samples.
# FOLDER/manifest.tsv names each track's package, version, licence and file. Idempotent: a second
# run only checks.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
# shellcheck source=scripts/env.sh
. "$top/scripts/env.sh"
folder=${1:-$MORLO_BUILD/find-loop-corpus}

install_missing openmpt123 espeak-ng sox ffmpeg vorbis-tools flac time dpkg-dev

# package  track-name  path inside the package
tracks=(
  "tecnoballz-data area1 usr/share/games/tecnoballz/musics/area1-game.mod"
  "tecnoballz-data area2 usr/share/games/tecnoballz/musics/area2-game.mod"
  "tecnoballz-data area3 usr/share/games/tecnoballz/musics/area3-game.mod"
  "tecnoballz-data area4 usr/share/games/tecnoballz/musics/area4-game.mod"
  "tecnoballz-data area5 usr/share/games/tecnoballz/musics/area5-game.mod"
  "tecnoballz-data fridge usr/share/games/tecnoballz/musics/fridge-in-space_from_reg-zbb.mod"
  "tecnoballz-data lapin usr/share/games/tecnoballz/musics/mon-lapin_reg-zbb.mod"
  "tecnoballz-data winn usr/share/games/tecnoballz/musics/tecno-winn.mod"
  "tecnoballz-data title usr/share/games/tecnoballz/musics/tecnoballz.mod"
  "tecnoballz-data ingame1 usr/share/games/tecnoballz/musics/in-game-music-1_reg.mod"
  "tomatoes-data tomatoes usr/share/tomatoes/music/IHaveNoTomatoes.it"
  "pathological path-intro usr/share/games/pathological/music/intro.ogg"
  "pathological path-bg usr/share/games/pathological/music/background.ogg"
  "asc-music frontiers usr/share/games/asc/music/frontiers.mp3"
  "asc-music strike usr/share/games/asc/music/time_to_strike.mp3"
  "asc-music machine usr/share/games/asc/music/machine_wars.mp3"
)
seconds=150

mkdir -p "$folder/debs" "$folder/unpacked" "$folder/tracks"
for package in $(printf '%s\n' "${tracks[@]}" | cut -d' ' -f1 | sort -u); do
  if ! ls "$folder/debs/${package}"_*.deb >/dev/null 2>&1; then
    # apt's sandbox user cannot write into a root-owned work tree; fetch in a scratch folder.
    scratch=$(mktemp -d); chmod 777 "$scratch"
    (cd "$scratch" && apt-get download -q "$package" >/dev/null)
    mv "$scratch"/*.deb "$folder/debs/"; rmdir "$scratch"
  fi
  [ -d "$folder/unpacked/$package" ] || dpkg-deb -x "$folder/debs/${package}"_*.deb "$folder/unpacked/$package"
done

printf 'track\tpackage\tversion\tlicence\tfile\n' >"$folder/manifest.tsv"
for entry in "${tracks[@]}"; do
  read -r package name path <<<"$entry"
  source="$folder/unpacked/$package/$path"
  out="$folder/tracks/$name.wav"
  if [ ! -s "$out" ]; then
    case "$source" in
      *.mod|*.it|*.xm|*.s3m)
        openmpt123 --batch --quiet --samplerate 48000 --channels 2 --float --force -o "$out.full.wav" "$source" \
          >/dev/null 2>&1
        sox -V1 "$out.full.wav" "$out" trim 0 "$seconds"; rm "$out.full.wav" ;;
      *)
        ffmpeg -v error -y -i "$source" -t "$seconds" -ar 48000 -ac 2 -c:a pcm_f32le "$out" ;;
    esac
  fi
  version=$(dpkg-deb -f "$folder/debs/${package}"_*.deb Version)
  licence=$(sed -n 's/^License: *//p' "$folder/unpacked/$package/usr/share/doc/$package/copyright" | head -1)
  printf '%s\t%s\t%s\t%s\t%s\n' "$name" "$package" "$version" "$licence" "/$path" >>"$folder/manifest.tsv"
done
column -t -s $'\t' "$folder/manifest.tsv"
echo "corpus: ${#tracks[@]} tracks in $folder/tracks"
