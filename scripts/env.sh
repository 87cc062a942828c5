# Shared settings of the project's scripts; sourced, never run.
top=${top:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}
export MORLO_BUILD="${MORLO_BUILD:-$top/build}"
export WINEPREFIX="$MORLO_BUILD/wineprefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINEARCH=win64
