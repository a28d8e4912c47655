#!/usr/bin/env bash
# Builds and starts Kestrel DataUtility. When the receiver simulator is built and no
# serial device is found, the simulator is started on a virtual port beside the program.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh
sim=build/bin/kestrel-receiver-sim
sim_pid=""
if [ -x "$sim" ] && [ -z "${KESTREL_NO_SIM:-}" ] && ! ls /dev/ttyUSB* /dev/ttyACM* >/dev/null 2>&1; then
  "$sim" > /tmp/kestrel-sim.$$ 2>&1 &
  sim_pid=$!
  trap '[ -n "$sim_pid" ] && kill "$sim_pid" 2>/dev/null || true' EXIT
  for _ in $(seq 50); do grep -q '^port ' /tmp/kestrel-sim.$$ 2>/dev/null && break; sleep 0.1; done
  head -n1 /tmp/kestrel-sim.$$ || true
fi
build/bin/kestrel-datautility "$@"
