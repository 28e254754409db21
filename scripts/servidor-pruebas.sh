#!/usr/bin/env bash
# A private PostgreSQL server for one test run: its own folder under /tmp, reached only through
# a Unix socket in that folder (no TCP port, so runs on the same machine never meet), the owner
# "postgres" trusted and other roles by password, stopped and removed at the end.
#
#   source scripts/servidor-pruebas.sh; servidor_iniciar   # exports QUIMBEL_PRUEBAS_PG
#   servidor_detener                                       # also done by the EXIT trap
#   bash scripts/servidor-pruebas.sh start|stop CARPETA    # the same, from another shell
#
# QUIMBEL_PRUEBAS_PG is the connection URI without a database name; append "/NAME".

PG_BIN=${PG_BIN:-$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -n 1)}

# The server refuses to run as root; as root it runs as the unprivileged "postgres" user that
# Debian's package creates, otherwise as the calling user.
servidor_como() {
    if [ "$(id -u)" -eq 0 ]; then
        runuser -u postgres -- "$@"
    else
        "$@"
    fi
}

servidor_iniciar() {
    if [ -z "$PG_BIN" ] || [ ! -x "$PG_BIN/initdb" ]; then
        echo "No se encontró el servidor PostgreSQL (initdb)." >&2
        return 1
    fi
    QUIMBEL_PG_CARPETA=$(mktemp -d /tmp/quimbel-pg.XXXXXX)
    [ "$(id -u)" -eq 0 ] && chown postgres: "$QUIMBEL_PG_CARPETA"
    chmod 700 "$QUIMBEL_PG_CARPETA"
    # ICU gives the database its Spanish ordering and case folding whatever locales the
    # machine has generated; C.UTF-8 is always there for the rest.
    if ! servidor_como "$PG_BIN/initdb" -D "$QUIMBEL_PG_CARPETA/datos" -U postgres -A trust \
        -E UTF8 --locale=C.UTF-8 --locale-provider=icu --icu-locale=es \
        >"$QUIMBEL_PG_CARPETA/initdb.log" 2>&1; then
        cat "$QUIMBEL_PG_CARPETA/initdb.log" >&2
        return 1
    fi
    # The owner is trusted on the socket; every other role (the persons of a protected
    # database) signs in with its password, as on an office's server, except the members of
    # quimbel_sin_acceso, which a test creates to meet a server that turns a workstation away.
    printf 'local all postgres trust\nlocal all +quimbel_sin_acceso reject\nlocal all all scram-sha-256\n' |
        servidor_como tee "$QUIMBEL_PG_CARPETA/datos/pg_hba.conf" >/dev/null
    # Durability does not matter for a throw-away server; speed does.
    local opciones="-c listen_addresses='' -c unix_socket_directories='$QUIMBEL_PG_CARPETA'"
    opciones+=" -c fsync=off -c synchronous_commit=off -c full_page_writes=off"
    opciones+=" -c max_connections=200 -c lc_messages=C.UTF-8"
    if ! servidor_como "$PG_BIN/pg_ctl" -D "$QUIMBEL_PG_CARPETA/datos" -w -t 60 \
        -l "$QUIMBEL_PG_CARPETA/servidor.log" -o "$opciones" start >/dev/null; then
        cat "$QUIMBEL_PG_CARPETA/servidor.log" >&2
        return 1
    fi
    export QUIMBEL_PG_CARPETA
    export QUIMBEL_PRUEBAS_PG="postgresql://postgres@${QUIMBEL_PG_CARPETA//\//%2F}"
    trap servidor_detener EXIT
}

servidor_detener() {
    local carpeta=${1:-${QUIMBEL_PG_CARPETA:-}}
    [ -n "$carpeta" ] && [ -d "$carpeta" ] || return 0
    servidor_como "$PG_BIN/pg_ctl" -D "$carpeta/datos" -m fast -w stop >/dev/null 2>&1 || true
    rm -rf "$carpeta"
    [ "$carpeta" = "${QUIMBEL_PG_CARPETA:-}" ] && unset QUIMBEL_PG_CARPETA QUIMBEL_PRUEBAS_PG
    return 0
}

if [ "${BASH_SOURCE[0]}" = "$0" ]; then
    set -euo pipefail
    case "${1:-}" in
    start)
        servidor_iniciar
        trap - EXIT
        echo "QUIMBEL_PG_CARPETA=$QUIMBEL_PG_CARPETA"
        echo "QUIMBEL_PRUEBAS_PG=$QUIMBEL_PRUEBAS_PG"
        ;;
    stop) servidor_detener "${2:?Indique la carpeta del servidor}" ;;
    *)
        echo "Uso: $0 start | stop CARPETA" >&2
        exit 2
        ;;
    esac
fi
