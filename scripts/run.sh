#!/usr/bin/env bash
# Installs what is missing, builds, and starts Tallimer from the build tree's
# installation folder.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "Quorvane needs a graphical display: no DISPLAY or WAYLAND_DISPLAY is set (try: xvfb-run -a bash scripts/run.sh)." >&2
  exit 1
fi
exec build/Quorvane/Tallimer
