#!/usr/bin/env bash
# Starts Corvalend under Wine in its own prefix (build/wineprefix-run), on $DISPLAY or in an Xvfb
# of its own when there is none. Ends when the program ends (or on Ctrl+C).
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/env.sh"
source "$ROOT_DIR/scripts/wine-session.sh"
cd "$ROOT_DIR"
wine_session_start "$ROOT_DIR/build/wineprefix-run"
trap wine_session_stop EXIT
echo "Corvalend runs under Wine on display $DISPLAY (prefix build/wineprefix-run)."
wine build/win64/Corvalend.exe
