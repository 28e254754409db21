#!/usr/bin/env bash
# Builds Quimbel and starts it; the first time, a demo database is created where the program
# looks for it by default (next to the program).
source "$(dirname "${BASH_SOURCE[0]}")/comun.sh"
compilar
BASE="$BUILD/bin/bdquimbel.mdb"
if [ ! -e "$BASE" ]; then
    "$BUILD/bin/quimbel-db" crear --demo "$BASE"
fi
exec "$BUILD/bin/quimbel" "$@"
