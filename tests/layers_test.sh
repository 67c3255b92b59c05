#!/usr/bin/env bash
# The layers include one way only: geometry <- surfaces <- render <- export <- session <- ui, app
# and web, and no Qt below ui; the page (web) takes nothing of the window or the programs.
# Usage: layers_test.sh SOURCE_DIR
set -uo pipefail
cd "$1" || exit 1
failures=0
check() {  # check LAYER FORBIDDEN-PATTERN
    local hits
    hits=$(grep -nE "#include [\"<]($2)" "$1"/*.h "$1"/*.cpp 2>/dev/null)
    if [ -n "$hits" ]; then
        printf 'FAIL: %s includes a layer above it:\n%s\n' "$1" "$hits" >&2
        failures=$((failures + 1))
    fi
}
check geometry 'surfaces/|render/|export/|session/|ui/|app/|web/|Q'
check surfaces 'render/|export/|session/|ui/|app/|web/|Q'
check render 'export/|session/|ui/|app/|web/|Q'
check export 'session/|ui/|app/|web/|Q'
check session 'ui/|app/|web/|Q'
check web 'ui/|app/|Q'
[ "$failures" -eq 0 ] && echo "every include runs down the layers"
exit "$failures"
