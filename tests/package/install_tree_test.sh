#!/usr/bin/env bash
# Installs the package's component of a build folder into a scratch root and checks the
# tree: exactly the expected files, programs that run from there, a menu entry whose Exec
# and Icon name installed files, and an icon that is a well-formed SVG.
set -euo pipefail
build=$1
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
failures=0
check() {  # check <description> <command...>
  local what=$1
  shift
  if ! "$@"; then
    echo "FAIL: $what" >&2
    failures=$((failures + 1))
  fi
}

DESTDIR=$stage cmake --install "$build" --prefix /usr --component Runtime >/dev/null

expected=(
  usr/bin/kestrel-datautility
  usr/bin/kestrel-receiver-sim
  usr/share/applications/kestrel-datautility.desktop
  usr/share/doc/kestrel-datautility/kestrel-receiver-sim.md
  usr/share/icons/hicolor/scalable/apps/kestrel-datautility.svg
)
have=$(cd "$stage" && find . -type f -o -type l | sed 's|^\./||' | sort)
want=$(printf '%s\n' "${expected[@]}" | sort)
check "installed files differ: $(diff <(echo "$want") <(echo "$have") | grep '^[<>]' | tr '\n' ' ')" \
  test "$have" = "$want"

for prog in kestrel-datautility kestrel-receiver-sim; do
  check "$prog is not executable" test -x "$stage/usr/bin/$prog"
done
check "installed simulator does not answer --help" \
  bash -c '"$1" --help | grep -q -- --com' _ "$stage/usr/bin/kestrel-receiver-sim"

desktop=$stage/usr/share/applications/kestrel-datautility.desktop
key() { sed -n "s/^$1=//p" "$desktop" | head -n1; }
check "desktop entry is not first group" test "$(head -n1 "$desktop")" = "[Desktop Entry]"
check "desktop Name" test "$(key Name)" = "Kestrel DataUtility"
check "desktop Type" test "$(key Type)" = "Application"
check "desktop Terminal" test "$(key Terminal)" = "false"
exec_prog=$(key Exec | awk '{print $1}')
check "desktop Exec '$exec_prog' is not an installed program" \
  test -n "$exec_prog" -a -x "$stage/usr/bin/$exec_prog"
icon=$(key Icon)
check "desktop Icon '$icon' is not an installed icon" \
  test -n "$icon" -a -f "$stage/usr/share/icons/hicolor/scalable/apps/$icon.svg"
check "icon is not a well-formed SVG with a square viewBox" python3 - "$stage/usr/share/icons/hicolor/scalable/apps/$icon.svg" <<'PY'
import sys, xml.etree.ElementTree as ET
root = ET.parse(sys.argv[1]).getroot()
assert root.tag == "{http://www.w3.org/2000/svg}svg", root.tag
x, y, w, h = (float(v) for v in root.get("viewBox").split())
assert w == h > 0, root.get("viewBox")
PY

if [ "$failures" -ne 0 ]; then
  echo "$failures check(s) failed" >&2
  exit 1
fi
echo "install tree as expected"
