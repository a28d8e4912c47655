#!/usr/bin/env bash
# Builds the Debian package of Kestrel DataUtility (Release, build folder build-pkg unless
# BUILD_DIR says otherwise) and prints the path of the .deb as its last line.
# Extra arguments go to cmake at configure time.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
dir=${BUILD_DIR:-build-pkg}
case "$dir" in /*) ;; *) dir="$root/$dir" ;; esac

# dpkg-dev for dpkg-shlibdeps (the package's library dependencies), desktop-file-utils for
# the menu entry's check.
bash scripts/install-deps.sh dpkg-dev desktop-file-utils >&2

desktop-file-validate packaging/kestrel-datautility.desktop >&2

# Only the two programs are built; the package must not wait for every test program.
cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=Release -DCMAKE_SKIP_INSTALL_ALL_DEPENDENCY=ON "$@" >&2
cmake --build "$dir" -j"$(nproc)" --target kestrel-datautility kestrel-receiver-sim >&2

rm -f "$dir"/kestrel-datautility_*.deb
(cd "$dir" && cpack -G DEB) >&2
shopt -s nullglob
debs=("$dir"/kestrel-datautility_*.deb)
if [ ${#debs[@]} -ne 1 ]; then
  echo "package.sh: expected one kestrel-datautility .deb in $dir, found ${#debs[@]}" >&2
  exit 1
fi
echo "${debs[0]}"
