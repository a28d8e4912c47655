#!/usr/bin/env bash
# Builds the Debian package, installs it, starts the INSTALLED receiver simulator and the
# INSTALLED program under Xvfb, and proves that the program lists the simulator's port
# (from its "kestrel.ports" log). Takes a screenshot for the record, then removes the
# package and whatever it pulled in, so the machine is left as it was.
# Prints "package check passed" at the end; exits non-zero on any failure.
# Output (logs, screenshot): CHECK_DIR, default build-pkg/package-check.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
pkg=kestrel-datautility
out=${CHECK_DIR:-$root/build-pkg/package-check}
wait_steps=${CHECK_WAIT_STEPS:-300}  # tenths of a second to wait for each step at most

SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"
export DEBIAN_FRONTEND=noninteractive
apt_get() { $SUDO apt-get -o DPkg::Lock::Timeout=300 "$@"; }

fail() {
  echo "package check FAILED: $*" >&2
  exit 1
}
is_installed() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'; }

# The check installs and removes the package itself; an installed copy would be lost.
if is_installed "$pkg"; then
  fail "$pkg is already installed; remove it first (apt-get remove $pkg)"
fi

mkdir -p "$out"
rm -f "$out"/*.log "$out"/*.out "$out"/*.png "$out"/*.txt

echo "== building the package"
deb=$(bash scripts/package.sh | tail -n1)
[ -f "$deb" ] || fail "no package built"
echo "package: $deb"

echo "== package contents"
dpkg-deb -c "$deb" | awk '{print $NF}' > "$out/contents.txt"
for f in ./usr/bin/kestrel-datautility ./usr/bin/kestrel-receiver-sim \
         ./usr/share/applications/kestrel-datautility.desktop \
         ./usr/share/icons/hicolor/scalable/apps/kestrel-datautility.svg; do
  grep -qx -- "$f" "$out/contents.txt" || fail "$f missing from the package"
done
# Nothing but the two programs in bin: test programs and benchmarks stay out.
bins=$(grep -c '^\./usr/bin/.' "$out/contents.txt" || true)
[ "$bins" -eq 2 ] || fail "expected 2 programs in /usr/bin, found $bins"
depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
for d in libqt6core6 libqt6gui6 libqt6widgets6 libudev1 libstdc++6 qt6-qpa-plugins; do
  tr ',' '\n' <<<"$depends" | awk '{print $1}' | grep -qxF "$d" || fail "Depends lacks $d"
done

# From here on, anything started or installed is undone on every way out.
sim_pid=""
runtime=""
installed_by_us=0
dpkg-query -W -f='${Package}\n' | sort > "$out/packages-before.txt"
cleanup() {
  local rc=$?
  set +e
  [ -n "$sim_pid" ] && kill "$sim_pid" 2>/dev/null && wait "$sim_pid" 2>/dev/null
  [ -n "$runtime" ] && rm -rf "$runtime"
  if [ "$installed_by_us" -eq 1 ] && is_installed "$pkg"; then
    apt_get remove -y -qq "$pkg" >/dev/null
  fi
  if [ "$installed_by_us" -eq 1 ]; then
    # Dependencies the install pulled in that nothing needs any more.
    dpkg-query -W -f='${Package}\n' | sort > "$out/packages-after.txt"
    local pulled
    pulled=$(comm -13 "$out/packages-before.txt" "$out/packages-after.txt" \
      | grep -Fxf <(apt_get -s autoremove 2>/dev/null | awk '/^Remv /{print $2}' | sed 's/:.*//') || true)
    # shellcheck disable=SC2086
    [ -n "$pulled" ] && apt_get remove -y -qq $pulled >/dev/null
  fi
  exit "$rc"
}
trap cleanup EXIT

echo "== installing"
installed_by_us=1
apt_get install -y -qq "$deb" > "$out/apt-install.log" 2>&1 || { cat "$out/apt-install.log" >&2; fail "apt-get install"; }
[ "$(command -v kestrel-datautility)" = /usr/bin/kestrel-datautility ] || fail "kestrel-datautility not on PATH"
[ "$(command -v kestrel-receiver-sim)" = /usr/bin/kestrel-receiver-sim ] || fail "kestrel-receiver-sim not on PATH"
desktop-file-validate /usr/share/applications/kestrel-datautility.desktop || fail "installed desktop file"

echo "== starting the installed simulator"
runtime=$(mktemp -d /tmp/kestrel-pkg-check.XXXXXX)
chmod 700 "$runtime"
export XDG_RUNTIME_DIR=$runtime
/usr/bin/kestrel-receiver-sim > "$out/sim.out" 2> "$out/sim.err" &
sim_pid=$!
for _ in $(seq "$wait_steps"); do
  grep -q '^port COM' "$out/sim.out" && break
  kill -0 "$sim_pid" 2>/dev/null || break
  sleep 0.1
done
read -r _ com device < <(grep -m1 '^port COM' "$out/sim.out") || fail "simulator announced no port: $(cat "$out/sim.err")"
echo "simulator: $com on $device"
[ -L "$runtime/kestrel-ports/$com" ] || fail "no virtual port link $com"

echo "== starting the installed program under Xvfb"
# The program logs each port entry it adds; the screenshot is taken once its window is up.
unset QT_QPA_PLATFORM QT_MESSAGE_PATTERN
export QT_LOGGING_RULES="kestrel.ports.debug=true" QT_FORCE_STDERR_LOGGING=1
export CHECK_OUT=$out CHECK_COM=$com CHECK_WAIT_STEPS=$wait_steps
xvfb-run -a -s "-screen 0 800x600x24" bash -c '
  set -u
  /usr/bin/kestrel-datautility > "$CHECK_OUT/program.log" 2>&1 &
  app=$!
  found=0
  for _ in $(seq "$CHECK_WAIT_STEPS"); do
    if grep -qF "port entry ${CHECK_COM}(" "$CHECK_OUT/program.log"; then found=1; break; fi
    kill -0 "$app" 2>/dev/null || break
    sleep 0.1
  done
  shown=0
  if [ "$found" -eq 1 ]; then
    for _ in $(seq "$CHECK_WAIT_STEPS"); do
      import -window "Kestrel DataUtility" "$CHECK_OUT/window.png" 2>/dev/null && { shown=1; break; }
      kill -0 "$app" 2>/dev/null || break
      sleep 0.1
    done
    sleep 0.5  # let the window finish painting before the picture for the record
    import -window root "$CHECK_OUT/package-check.png"
  fi
  alive=0
  kill -0 "$app" 2>/dev/null && alive=1
  kill "$app" 2>/dev/null
  wait "$app" 2>/dev/null
  echo "found=$found shown=$shown alive=$alive" > "$CHECK_OUT/program-result.txt"
' || fail "xvfb-run"
cat "$out/program.log"
result=$(cat "$out/program-result.txt")
echo "$result"
grep -q 'found=1' <<<"$result" || fail "the program did not list $com"
grep -q 'shown=1' <<<"$result" || fail "the program's window did not appear"
grep -q 'alive=1' <<<"$result" || fail "the program ended by itself"
grep -F "port entry ${com}(" "$out/program.log" | grep -qF "($device" \
  || fail "entry $com does not name the simulator's device $device"
colours=$(convert "$out/package-check.png" -format '%k' info:)
[ "$colours" -gt 8 ] || fail "screenshot is blank ($colours colours)"
echo "screenshot: $out/package-check.png ($colours colours)"

echo "== stopping the simulator"
kill "$sim_pid"
wait "$sim_pid" || fail "simulator exit status $?"
sim_pid=""
[ ! -e "$runtime/kestrel-ports/$com" ] || fail "simulator left its link $com behind"

echo "== removing the package"
apt_get remove -y -qq "$pkg" > "$out/apt-remove.log" 2>&1 || { cat "$out/apt-remove.log" >&2; fail "apt-get remove"; }
! is_installed "$pkg" || fail "$pkg still installed"
[ ! -e /usr/bin/kestrel-datautility ] || fail "/usr/bin/kestrel-datautility left behind"
[ ! -e /usr/share/applications/kestrel-datautility.desktop ] || fail "desktop file left behind"

echo "package check passed"
