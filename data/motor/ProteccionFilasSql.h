#pragma once

// The maintenance windows' tables (users, products, suppliers, categories, sectors, cost
// centres) have their history written by the server when a person of a protected database
// changes a row, in the statement that changes it, worded as the workstation words it on the
// file (Historial's Diferencias). Before, the workstation wrote those lines in a second call,
// which an administrator with a server client could leave out, changing a user's rights or a
// product without a line; and any person could write lines for those tables. Installed by
// `proteger`, and by the upgrade to version 12 on every server database: the trigger does
// nothing for the owner's sessions, whose program writes its own lines as on the file. The
// triggers themselves are made by ProteccionPg::HistorialDeFilas, from the tables' columns as the
// program spells them. They run when the transaction commits: the lines come after those the
// save wrote meanwhile (a user's limits), as on the file, and the keys the history draws do not
// take the place of the new row's in last_insert_rowid().
namespace ProteccionPg {

inline constexpr const char* kHistorialDeFilas = R"SQL(
-- Whether the session is a person's role of this database (not its owner's tools).
CREATE OR REPLACE FUNCTION quimbel_es_persona() RETURNS boolean
LANGUAGE sql STABLE SET search_path = pg_catalog, public AS $$
    SELECT EXISTS (SELECT 1 FROM pg_auth_members m
                     JOIN pg_roles g ON g.oid = m.roleid
                     JOIN pg_roles u ON u.oid = m.member
                    WHERE g.rolname = 'personas@' || current_database()
                      AND u.rolname = session_user)
$$;

-- A field of a row as the history shows it: a flag as Si or No, a reference to another table's
-- row as "name (key)" (none for 0), a number in the workstation's way with `coma` as its decimal
-- separator, text as it is; nothing for no value.
CREATE OR REPLACE FUNCTION historial_valor(columna text, valor jsonb, coma text) RETURNS text
LANGUAGE plpgsql STABLE SET search_path = pg_catalog, public AS $$
DECLARE
    c text := lower(columna);
    t text := valor #>> '{}';
    nombre text;
BEGIN
    IF t IS NULL THEN
        RETURN '';
    ELSIF c ~ '(puede|desactiv|aceptado|sinvencimiento)' THEN
        RETURN CASE WHEN t IN ('0', 'false') THEN 'No' ELSE 'Si' END;
    ELSIF c = 'catid' THEN
        SELECT CatDescripcion::text INTO nombre FROM categorias WHERE CatId = t::integer;
    ELSIF c = 'proid' THEN
        SELECT ProDescripcion::text INTO nombre FROM productos WHERE ProId = t::integer;
    ELSIF c = 'secid' THEN
        SELECT SecDescripcion::text INTO nombre FROM sectores WHERE SecId = t::integer;
    ELSIF c = 'cencosid' THEN
        SELECT CenCosDescripcion::text INTO nombre FROM centrosdecosto WHERE CenCosId = t::integer;
    ELSIF c = 'empid' THEN
        SELECT EmpNombreFantasia::text INTO nombre FROM proveedores WHERE EmpId = t::integer;
    ELSIF c IN ('solicitanteid', 'autorizanteid', 'procesadoid') THEN
        SELECT UsuNombre::text INTO nombre FROM usuarios WHERE UsuId = t::integer;
    ELSIF jsonb_typeof(valor) = 'number' THEN
        RETURN historial_numero(t::double precision, coma);
    ELSE
        RETURN t;
    END IF;
    RETURN historial_referencia(t::integer, nombre);
END $$;

-- A row changed by a person: a line for each field whose shown value changed (the key left
-- out), of a password only that it changed. The trigger's arguments are the table's columns,
-- the key first. The decimal separator is the one the person's workstation set for the session;
-- the login, the person's own as quimbel_llamante finds it (a change that leaves the person
-- without a row to be found is not kept).
CREATE OR REPLACE FUNCTION quimbel_historial_fila() RETURNS trigger
LANGUAGE plpgsql SECURITY DEFINER SET search_path = pg_catalog, public AS $$
DECLARE
    antes jsonb;
    despues jsonb;
    coma text := current_setting('quimbel.coma', true);
    tipo text := CASE TG_OP WHEN 'INSERT' THEN 'Alta' WHEN 'DELETE' THEN 'Eliminación'
                            ELSE 'Modificación' END;
    clave integer;
    de text;
    a text;
    lineas historial_linea[] := '{}';
BEGIN
    IF NOT quimbel_es_persona() THEN
        RETURN NULL;
    END IF;
    -- The person sets it: one character that is no digit, or it could make a number read as
    -- another.
    IF coma IS NULL OR char_length(coma) <> 1 OR coma ~ '[0-9+-]' THEN
        coma := ',';
    END IF;
    IF TG_OP <> 'INSERT' THEN
        antes := to_jsonb(OLD);
    END IF;
    IF TG_OP <> 'DELETE' THEN
        despues := to_jsonb(NEW);
    END IF;
    clave := (coalesce(despues, antes) ->> lower(TG_ARGV[0]))::integer;
    FOR i IN 1 .. TG_NARGS - 1 LOOP
        de := historial_valor(TG_ARGV[i], antes -> lower(TG_ARGV[i]), coma);
        a := historial_valor(TG_ARGV[i], despues -> lower(TG_ARGV[i]), coma);
        CONTINUE WHEN de = a;
        IF lower(TG_ARGV[i]) = 'usupassword' THEN
            de := '';
            a := 'contraseña cambiada';
        END IF;
        lineas := lineas
                  || (1, tipo, TG_TABLE_NAME::text, clave, TG_ARGV[i], de, a)::historial_linea;
    END LOOP;
    PERFORM historial_agregar((quimbel_llamante()).UsuLogin::text, 0, lineas);
    RETURN NULL;
END $$;

-- History lines of one change, eight values each (login, type, table, key, order, field, old,
-- new): the login recorded is the caller's own, whatever was sent. What the server records by
-- itself is refused here: an order's saves and state changes (quimbel_orden_guardar,
-- quimbel_ordenes_estado), so that an order has only the notes of a rule that refused a save
-- and the lines of its own deletion, once it is gone; the rules and limits; and the rows of the
-- tables with quimbel_historial_fila, whose sign-ins and confirmations are still the person's.
CREATE OR REPLACE FUNCTION quimbel_historial(VARIADIC v text[]) RETURNS void
LANGUAGE plpgsql SECURITY DEFINER SET search_path = pg_catalog, public AS $$
DECLARE
    yo usuarios := quimbel_llamante();
    n integer := coalesce(array_length(v, 1), 0);
BEGIN
    IF n = 0 OR n % 8 <> 0 THEN
        RAISE EXCEPTION 'Las líneas del historial llegaron incompletas.';
    END IF;
    FOR i IN 0 .. n / 8 - 1 LOOP
        IF lower(v[8 * i + 3]) IN ('reglas', 'limitesautorizacion') THEN
            RAISE EXCEPTION 'El historial de las reglas y los límites lo escribe su guardado.'
                USING ERRCODE = '42501';
        END IF;
        IF v[8 * i + 2] IN ('Alta', 'Modificación', 'Eliminación') AND EXISTS (
               SELECT 1 FROM pg_trigger
                WHERE tgname = 'quimbel_historial_fila'
                  AND tgrelid = to_regclass('public.' || quote_ident(lower(v[8 * i + 3]))))
        THEN
            RAISE EXCEPTION 'El historial de la tabla «%» lo escribe el servidor al guardar.',
                v[8 * i + 3] USING ERRCODE = '42501';
        END IF;
        IF (lower(v[8 * i + 3]) IN ('ordenes', 'precios') OR v[8 * i + 5] IS NOT NULL)
           AND v[8 * i + 2] IS DISTINCT FROM 'Regla'
           AND (v[8 * i + 2] IS DISTINCT FROM 'Eliminación' OR EXISTS (
                SELECT 1 FROM ordenes WHERE OrdId = coalesce(v[8 * i + 5], v[8 * i + 4])::integer))
        THEN
            RAISE EXCEPTION 'El historial de una orden lo escribe su guardado.'
                USING ERRCODE = '42501';
        END IF;
    END LOOP;
    PERFORM historial_agregar(yo.UsuLogin::text, v[5]::integer, ARRAY(
        SELECT (1, v[8 * i + 2], v[8 * i + 3], v[8 * i + 4]::integer, v[8 * i + 6], v[8 * i + 7],
                v[8 * i + 8])::historial_linea
          FROM generate_series(0, n / 8 - 1) AS i ORDER BY i));
END $$;
)SQL";

} // namespace ProteccionPg
