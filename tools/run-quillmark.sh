#!/usr/bin/env bash
# Installs what is missing, builds the default preset and starts Quillmark on
# the bundled sample project. Extra arguments replace the sample project.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/.." && pwd)
cd "$root"

# Check the display before the long build, so a headless machine says so at once.
if [[ -z "${DISPLAY:-}" && -z "${WAYLAND_DISPLAY:-}" && -z "${QT_QPA_PLATFORM:-}" ]]; then
  echo "run-quillmark: no display found (DISPLAY and WAYLAND_DISPLAY are not set)." >&2
  echo "  Quillmark is a desktop program: run this from a graphical session, or set" >&2
  echo "  QT_QPA_PLATFORM (for example QT_QPA_PLATFORM=xcb under xvfb-run)." >&2
  exit 2
fi

bash "$here/setup.sh"
cmake --preset default
cmake --build --preset default

program="$root/out/default/bin/quillmark"
if [[ ! -x "$program" ]]; then
  echo "run-quillmark: $program is not built yet (the main program is not part of this checkout)." >&2
  exit 3
fi

if (($#)); then
  exec "$program" "$@"
fi
exec "$program" "$root/examples/Sample.qpf"
