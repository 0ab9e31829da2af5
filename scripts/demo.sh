#!/usr/bin/env bash
# Builds everything and runs the demo script in lwsim; clip files it saves
# land in build/demo.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${BUILD_DIR:-$root/build}"

"$root/scripts/build.sh"
# The demo writes its clip files into build/demo.
mkdir -p "$build/demo"
cd "$build/demo"
"$build/bin/lwsim" --scene "$root/examples/rig.lws" "$root/examples/demo.lwsim"
