# Shared settings of the project's scripts; sourced, never run.
top=${top:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}
export MORLO_BUILD="${MORLO_BUILD:-$top/build}"
export WINEPREFIX="$MORLO_BUILD/wineprefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINEARCH=win64

# Installs those of the Debian packages named that are missing (as root, or through sudo).
install_missing() {
  local p missing=() sudo_cmd=""
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  [ ${#missing[@]} -gt 0 ] || return 0
  echo "setup: installing ${missing[*]}"
  [ "$(id -u)" -eq 0 ] || sudo_cmd="sudo"
  $sudo_cmd env DEBIAN_FRONTEND=noninteractive apt-get update -qq
  $sudo_cmd env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
}
