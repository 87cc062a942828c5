#!/usr/bin/env bash
# Fetches and unpacks Debian's source package of a library the Windows build compiles itself
# (Debian ships no MinGW-w64 build of it), once, into the build folder, and prints the folder.
#   scripts/debian-source.sh PACKAGE           → $MORLO_BUILD/deps/PACKAGE/PACKAGE-VERSION
#   scripts/debian-source.sh --where PACKAGE   the folder if already there (status 1 if not)
# apt's source mechanism is used with a private sources list and state, made from the system's
# own entries, so the system's configuration is left as it is.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
. "$top/scripts/env.sh"
where=0
[ "${1:-}" != --where ] || { where=1; shift; }
[ $# -eq 1 ] || { echo "usage: $0 [--where] PACKAGE" >&2; exit 2; }
package=$1
deps="$MORLO_BUILD/deps"
dest="$deps/$package"
stamp="$dest/unpacked"

# The stamp is written last, so an interrupted fetch is tried again.
if [ -f "$stamp" ] && [ -d "$dest/$(cat "$stamp")" ]; then
  echo "$dest/$(cat "$stamp")"
  exit 0
fi
[ $where -eq 0 ] || exit 1

# deb-src lines for the system's deb entries: same URIs, suites, components and keyring.
source_lines() {
  local f
  for f in /etc/apt/sources.list.d/*.sources; do
    [ -f "$f" ] || continue
    awk '
      function flush(   i, j, u, s, opt) {
        if (types ~ /(^| )deb( |$)/ && tolower(enabled) != "no") {
          opt = signed != "" ? "[signed-by=" signed "] " : ""
          nu = split(uris, u, " "); ns = split(suites, s, " ")
          for (i = 1; i <= nu; i++) for (j = 1; j <= ns; j++)
            print "deb-src " opt u[i] " " s[j] " " comps
        }
        types = uris = suites = comps = signed = enabled = ""
      }
      /^[ \t]*#/ { next }
      /^[ \t]*$/ { flush(); next }
      {
        key = tolower($1); sub(/:$/, "", key)
        value = $0; sub(/^[^:]*:[ \t]*/, "", value)
        if (key == "types") types = value
        else if (key == "uris") uris = value
        else if (key == "suites") suites = value
        else if (key == "components") comps = value
        else if (key == "signed-by") signed = value
        else if (key == "enabled") enabled = value
      }
      END { flush() }' "$f"
  done
  for f in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
    [ -f "$f" ] || continue
    sed -n 's/^[ \t]*deb[ \t]/deb-src /p' "$f"
  done
}

apt_dir="$deps/apt"
mkdir -p "$apt_dir/lists/partial" "$apt_dir/cache/archives/partial" "$dest"
source_lines >"$apt_dir/sources.list.new"
[ -s "$apt_dir/sources.list.new" ] || { echo "debian-source: the system lists no deb entries" >&2; exit 1; }
mv "$apt_dir/sources.list.new" "$apt_dir/sources.list"
apt_options=(
  -o Dir::Etc::SourceList="$apt_dir/sources.list"
  -o Dir::Etc::SourceParts=/nonexistent
  -o Dir::State::Lists="$apt_dir/lists"
  -o Dir::Cache="$apt_dir/cache"
)
# apt would drop to its own user for downloads, which cannot always reach the build folder.
[ "$(id -u)" -ne 0 ] || apt_options+=(-o APT::Sandbox::User=root)

# apt would take a half-unpacked folder for done.
find "$dest" -mindepth 1 -maxdepth 1 -type d -name "$package-*" -exec rm -rf {} +
log="$dest/fetch.log"
echo "debian-source: fetching and unpacking $package" >&2
if ! { apt-get "${apt_options[@]}" update &&
       (cd "$dest" && apt-get "${apt_options[@]}" source "$package"); } >"$log" 2>&1; then
  cat "$log" >&2
  echo "debian-source: could not fetch the source of $package" >&2
  exit 1
fi
folder=$(find "$dest" -mindepth 1 -maxdepth 1 -type d -name "$package-*" -printf '%f\n' | sort -V | tail -n 1)
[ -n "$folder" ] || { cat "$log" >&2; echo "debian-source: no unpacked $package in $dest" >&2; exit 1; }
echo "$folder" >"$stamp"
echo "$dest/$folder"
