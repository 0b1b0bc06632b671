# Sourced by the checks that run a test program at another screen density.
#   at_dpi <pixels-per-inch> <command...>
# Sets LogPixels of the current Wine prefix (each Wine process reads it when it starts), runs the
# command and puts the former setting back, whatever the command answered.
at_dpi() {
  local ppi=$1 desktop='HKCU\Control Panel\Desktop' had status=0
  shift
  had=$(wine reg query "$desktop" /v LogPixels 2>/dev/null | tr -d '\r' | awk '/LogPixels/ {print $3}' || true)
  wine reg add "$desktop" /v LogPixels /t REG_DWORD /d "$ppi" /f >/dev/null
  "$@" || status=$?
  if [ -n "$had" ]; then
    wine reg add "$desktop" /v LogPixels /t REG_DWORD /d "$((had))" /f >/dev/null 2>&1 || true
  else
    wine reg delete "$desktop" /v LogPixels /f >/dev/null 2>&1 || true
  fi
  return $status
}
