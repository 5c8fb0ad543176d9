# Sourced by the test scripts: a private X display and a Wine prefix that
# live for one run. test_env_start sets them up; they end with the shell.

test_env_start() {
  local root
  root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
  export WINEPREFIX="$root/build/wineprefix"
  export WINEDEBUG=-all
  # No Mono or Gecko installers: the program needs neither.
  export WINEDLLOVERRIDES="mscoree,mshtml="
  export WINEARCH=win64

  if [ -z "${NETCLOCK_KEEP_DISPLAY:-}" ]; then
    local n
    for n in $(seq 90 120); do
      [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] || break
    done
    Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
    TEST_ENV_XVFB=$!
    export DISPLAY=":$n"
    for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.1; done
  fi

  # A fresh prefix per run keeps one run's registry out of the next.
  rm -rf "$WINEPREFIX"
  mkdir -p "$WINEPREFIX"
  # One persistent wineserver serves every Wine process of the run.
  wineserver -p
  wineboot -i >/dev/null 2>&1 || true
  wine regedit /S "$root/tests/e2e/wine-prefix.reg" >/dev/null 2>&1 || true
  trap test_env_stop EXIT
}

test_env_stop() {
  wineserver -k >/dev/null 2>&1 || true
  if [ -n "${TEST_ENV_XVFB:-}" ]; then kill "$TEST_ENV_XVFB" 2>/dev/null || true; fi
}
