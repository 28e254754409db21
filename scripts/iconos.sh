#!/usr/bin/env bash
# Draws the PNG sizes of the program's icon from its SVG. Run it after changing the SVG and
# commit the PNGs with it, so that building needs no SVG renderer.
source "$(dirname "${BASH_SOURCE[0]}")/comun.sh"
asegurar_paquetes librsvg2-bin
CARPETA="$RAIZ/packaging/icono"
for lado in 16 22 24 32 48 64 128 256; do
    rsvg-convert -w "$lado" -h "$lado" "$CARPETA/quimbel.svg" -o "$CARPETA/quimbel-$lado.png"
done
