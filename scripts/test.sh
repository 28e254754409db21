#!/usr/bin/env bash
# Builds Quimbel and runs every test class twice, headless: on database files, then on databases
# of a private PostgreSQL server started for the run (stopped at the end, also when a test
# fails). Exits non-zero when any test fails.
source "$(dirname "${BASH_SOURCE[0]}")/comun.sh"
source "$RAIZ/scripts/servidor-pruebas.sh"
compilar
servidor_iniciar
cd "$BUILD"
export QUIMBEL_PRUEBAS_CUENTA="$QUIMBEL_PG_CARPETA/cuenta.txt"
: >"$QUIMBEL_PRUEBAS_CUENTA"
fallo=0
for motor in sqlite postgresql; do
    echo "== Pruebas sobre $motor =="
    QT_QPA_PLATFORM=offscreen ctest -L "^$motor\$" --output-on-failure -j "$(nproc)" || fallo=1
done
awk '{ clases[$1]++; funciones[$1] += $3; fallos[$1] += $4 }
     END { for (m in clases) printf "%s: %d clases, %d funciones de prueba, %d fallidas\n",
                                    m, clases[m], funciones[m], fallos[m] }' \
    "$QUIMBEL_PRUEBAS_CUENTA" | sort
[ "$fallo" -eq 0 ] || exit 1
bash "$RAIZ/scripts/paquete.sh" --verificar
