# Shared by run.sh and test.sh: installs the Debian packages the build needs when they are
# missing, then configures and builds into build/.
set -euo pipefail

RAIZ=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BUILD=${QUIMBEL_BUILD:-$RAIZ/build}

asegurar_paquetes() {
    local faltan=()
    for p in "$@"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" ||
            faltan+=("$p")
    done
    [ ${#faltan[@]} -eq 0 ] && return 0
    local cmd="apt-get install -y --no-install-recommends ${faltan[*]}"
    if [ "$(id -u)" -eq 0 ]; then
        apt-get update -qq && DEBIAN_FRONTEND=noninteractive $cmd
    # sudo may ask for the password when there is someone at the terminal to type it; when it
    # cannot be used after all, the person is told the command instead.
    elif command -v sudo >/dev/null && { sudo -n true 2>/dev/null || [ -t 0 ]; } &&
        sudo apt-get update -qq && sudo DEBIAN_FRONTEND=noninteractive $cmd; then
        return 0
    else
        echo "Faltan paquetes de Debian. Instálelos como administrador con:" >&2
        echo "  apt-get update && $cmd" >&2
        exit 1
    fi
}

# Installs a package built here, again each time (apt would keep an installed one of the same
# version). Says why not and returns non-zero when this user cannot.
instalar_deb() {
    if [ "$(id -u)" -eq 0 ]; then
        dpkg -i "$1" >/dev/null
    elif command -v sudo >/dev/null && { sudo -n true 2>/dev/null || [ -t 0 ]; }; then
        sudo dpkg -i "$1" >/dev/null
    else
        echo "No se pudo instalar $1: hace falta ser administrador." >&2
        return 1
    fi
}

# The server extension's package of the program's last package, if the server's headers were
# there to build it; never one left by an earlier version.
paquete_extension() {
    local programa
    programa=$(ls -t "$BUILD"/quimbel_*_amd64.deb 2>/dev/null | head -1 || true)
    [ -n "$programa" ] || return 0
    ls "$BUILD"/postgresql-*-quimbel-cadena_"$(dpkg-deb -f "$programa" Version)"_amd64.deb \
        2>/dev/null | head -1 || true
}

PAQUETES_BUILD=(cmake g++ make qt6-base-dev qt6-base-dev-tools libqt6sql6-sqlite libsqlite3-dev
    qt6-charts-dev libqt6opengl6-dev libxlsxwriter-dev libsodium-dev pkgconf
    libgl-dev fonts-dejavu-core qt6-translations-l10n
    libpq-dev libqt6sql6-psql postgresql postgresql-contrib mdbtools-dev mdbtools)

compilar() {
    asegurar_paquetes "${PAQUETES_BUILD[@]}" "$@"
    cmake -S "$RAIZ" -B "$BUILD" -DCMAKE_BUILD_TYPE=Release >/dev/null
    cmake --build "$BUILD" -j "$(nproc)"
}
