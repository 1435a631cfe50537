# Sourced by the scenarios' harness, scripts/wine-prefix and scripts/run: picks the Wine this
# machine runs (scripts/wine-arch) and exports the variables every Wine command here needs.
#   wine_env_select [BUILD] sets WINEARCH, VENDREL_WINE_DIST (the program built for that Wine:
#                           BUILD/dist or BUILD/dist64) and VENDREL_WINE_PROBES; with win64 it
#                           also puts the 64-bit `wine` first on PATH. Returns 1 (after saying
#                           why) when no Wine starts here.
wine_env_select() {
  local build=${1:-} here arch
  here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
  arch=$(bash "$here/wine-arch") || return 1
  export WINEARCH=$arch WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
  if [ "$arch" = win64 ]; then
    export WINELOADER=/usr/lib/wine/wine64
    case ":$PATH:" in *":$here/wine64:"*) ;; *) export PATH="$here/wine64:$PATH" ;; esac
    VENDREL_WINE_DIST="$build/dist64"
    VENDREL_WINE_PROBES="$build/windows64/probes"
  else
    VENDREL_WINE_DIST="$build/dist"
    VENDREL_WINE_PROBES="$build/windows/probes"
  fi
}
