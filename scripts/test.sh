#!/usr/bin/env bash
# Builds Quimbel and runs every test, headless, against a private PostgreSQL server started for
# the run (and stopped at the end, also when a test fails). Exits non-zero when any test fails.
source "$(dirname "${BASH_SOURCE[0]}")/comun.sh"
source "$RAIZ/scripts/servidor-pruebas.sh"
compilar
servidor_iniciar
cd "$BUILD"
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j "$(nproc)"
bash "$RAIZ/scripts/paquete.sh" --verificar
