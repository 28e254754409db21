#!/usr/bin/env bash
# Builds Quimbel and runs every test, headless. Exits non-zero when any test fails.
source "$(dirname "${BASH_SOURCE[0]}")/comun.sh"
compilar
cd "$BUILD"
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j "$(nproc)"
bash "$RAIZ/scripts/paquete.sh" --verificar
