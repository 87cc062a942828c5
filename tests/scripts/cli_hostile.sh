#!/usr/bin/env bash
# morlo-cli given what is no definition file (a folder, a device, a pipe nobody writes to) says
# so in one line naming the path and exits 2 at once; --version answers as command-line tools do.
set -uo pipefail
top=$(cd "$(dirname "$0")/../.." && pwd)
. "$top/scripts/env.sh"
cli="$MORLO_BUILD/native/src/cli/morlo-cli"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkfifo "$work/pipe"
result=0
while read -r path reason; do
  said=$(timeout 5 "$cli" list "$path" 2>&1 </dev/null)
  status=$?
  [ "$status" -eq 2 ] && [ "$said" = "morlo-cli: $path is no loop definition file ($reason)" ] ||
    { echo "cli_hostile: $path gave status $status and '$said'" >&2; result=1; }
done <<EOF
$work it is a folder
/dev/zero it is not a regular file
$work/pipe it is not a regular file
EOF
[ "$("$cli" --version)" = "morlo ver.1.01" ] || { echo "cli_hostile: --version is wrong" >&2; result=1; }
exit $result
