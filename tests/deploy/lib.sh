# Sourced by the deployment tests: fresh Wine prefixes of their own, the registry read and
# written from outside with Wine's reg and regedit, and a tally of checks.
# Every prefix lives under $DEPLOY_DIR and has its own Wine session (display $QUELVAR_DISPLAY).
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
DEPLOY_DIR="${DEPLOY_DIR:-${QUELVAR_BUILD_ROOT:-$root/build}/deploy}"
WINE64=/usr/lib/wine/wine64
export WINEDEBUG=-all WINEARCH=win64 WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
export DISPLAY="${QUELVAR_DISPLAY:-:71}"

passed=0
failed=0
# check NAME STATUS: one row of the table.
check() {
  if [ "$2" -eq 0 ]; then
    passed=$((passed + 1))
    echo "  ok      $1"
  else
    failed=$((failed + 1))
    echo "  FAILED  $1"
  fi
}
same() {  # same NAME EXPECTED ACTUAL
  [ "$2" = "$3" ]
  local status=$?
  check "$1" $status
  [ $status -eq 0 ] || { echo "          expected: $2"; echo "          actual:   $3"; }
}

# fresh_prefix NAME VERSION: a new prefix (removed first if an earlier run left it) with its own
# session; Wine reports VERSION (winxp, win98, ...) to every program in it.
fresh_prefix() {
  export WINEPREFIX="$DEPLOY_DIR/$1"
  stop_prefix
  rm -rf "$WINEPREFIX" "$WINEPREFIX.xvfb.pid"
  mkdir -p "$DEPLOY_DIR"
  QUELVAR_WINEPREFIX="$WINEPREFIX" bash "$root/scripts/wine-session" start
  wine reg add 'HKCU\Software\Wine' /v Version /d "$2" /f >/dev/null
}
# Stops the prefix's session and removes the prefix (about 700 MB) unless
# QUELVAR_KEEP_PREFIXES=1.
stop_prefix() {
  [ -n "${WINEPREFIX:-}" ] && [ -d "$WINEPREFIX" ] || return 0
  QUELVAR_WINEPREFIX="$WINEPREFIX" bash "$root/scripts/wine-session" stop
  [ "${QUELVAR_KEEP_PREFIXES:-0}" = 1 ] || rm -rf "$WINEPREFIX"
  return 0
}

wine() { "$WINE64" "$@" </dev/null 2>/dev/null; }

# The C: folder of the current prefix.
drive_c() { echo "$WINEPREFIX/drive_c"; }

# reg_value KEY NAME: reg.exe's line for a value, blanks squeezed ("DefaultTTL REG_DWORD 0x40"),
# or nothing.
reg_value() {
  wine reg query "$1" /v "$2" | tr -d '\r' | grep -i "^ *$2 " | sed 's/^ *//; s/[[:space:]]\+/ /g'
}

# snapshot FILE: the tuned keys of the current prefix as regedit exports them, as UTF-8.
snapshot() {
  local out="$1" part
  : >"$out"
  for key in 'HKEY_LOCAL_MACHINE\System\CurrentControlSet\Services' \
             'HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Internet Settings'; do
    part="$(mktemp)"
    wine regedit /e "$(winepath_of "$part")" "$key"
    iconv -f UTF-16LE -t UTF-8 "$part" | tr -d '\r' | sed '1s/^\xef\xbb\xbf//' >>"$out"
    rm -f "$part"
  done
}

# A Unix path as the current prefix's programs see it.
winepath_of() { echo "Z:$(echo "$1" | sed 's#/#\\#g')"; }
