#!/usr/bin/env bash
# Builds Quimbel and its Debian package build/quimbel_VERSION_amd64.deb, and where the server's
# headers are installed the server extension's, build/postgresql-NN-quimbel-cadena_VERSION_amd64.deb.
# With --verificar it also checks the packages, the desktop entry and the AppStream data the way
# Debian's tools do.
source "$(dirname "${BASH_SOURCE[0]}")/comun.sh"
# dpkg-shlibdeps (dpkg-dev) derives the dependencies; CPack finds the executables with file.
compilar dpkg-dev file
(cd "$BUILD" && cpack -G DEB >/dev/null)
DEB=$(ls -t "$BUILD"/quimbel_*_amd64.deb | head -1)
echo "$DEB"
[ "${1:-}" = --verificar ] || exit 0

asegurar_paquetes lintian desktop-file-utils appstream
VERSION=$(dpkg-deb -f "$DEB" Version)
# The release notes are written by hand; they must name the version being packaged.
grep -q "<release version=\"$VERSION\"" "$RAIZ"/packaging/*.metainfo.xml ||
    { echo "La versión $VERSION falta en los datos AppStream" >&2; exit 1; }
head -1 "$RAIZ/packaging/debian-doc/changelog" | grep -qF "($VERSION)" ||
    { echo "La versión $VERSION falta en packaging/debian-doc/changelog" >&2; exit 1; }
desktop-file-validate "$RAIZ"/packaging/*.desktop
appstreamcli validate --no-net "$RAIZ"/packaging/*.metainfo.xml
# Not a single tag, informational and pedantic ones included, in either package.
EXTENSION=$(paquete_extension)
lintian --pedantic -I --fail-on error,warning,info,pedantic "$DEB" ${EXTENSION:+"$EXTENSION"}
# Asked in a terminal without a display, the program still answers.
sin_pantalla() { env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb "$BUILD/bin/$@"; }
[ "$(sin_pantalla quimbel --version)" = "Quimbel $VERSION" ] ||
    { echo "quimbel --version no muestra la versión $VERSION" >&2; exit 1; }
sin_pantalla quimbel --help | head -1 | grep -q '^Uso: quimbel' ||
    { echo "quimbel --help no muestra el uso" >&2; exit 1; }
[ "$(sin_pantalla quimbel-db --version)" = "quimbel-db (Quimbel) $VERSION" ] ||
    { echo "quimbel-db --version no muestra la versión $VERSION" >&2; exit 1; }
# The manual pages in English and in Spanish.
contenido=$(dpkg-deb -c "$DEB")
for pagina in man1/quimbel.1.gz man1/quimbel-db.1.gz es/man1/quimbel.1.gz es/man1/quimbel-db.1.gz; do
    grep -q "/usr/share/man/$pagina\$" <<<"$contenido" ||
        { echo "Falta la página de manual $pagina en el paquete" >&2; exit 1; }
done
