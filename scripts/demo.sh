#!/usr/bin/env bash
# Builds everything and runs the demo script in lwsim.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${BUILD_DIR:-$root/build}"

"$root/scripts/build.sh"
"$build/bin/lwsim" --scene "$root/examples/rig.lws" "$root/examples/demo.lwsim"
