#!/usr/bin/env bash
# Builds the given presets (default: win64, leaving build/win64/Corvalend.exe).
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/env.sh"
cd "$ROOT_DIR"
for preset in "${@:-win64}"; do
    build_preset "$preset"
done
