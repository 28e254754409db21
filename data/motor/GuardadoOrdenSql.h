#pragma once

// What the server needs to save an order, its quotes and their history in one call, and to move
// orders to another state in one call: every statement of a save on a workstation far from the
// server is a round trip, and a save took about twenty. The history's lines are made here from
// the rows as stored before and after, in the same words as the program makes them on the file
// (Historial), and chained here too: the last line is looked up once, the hashes computed in one
// pass and every line inserted in one statement. These functions are not SECURITY DEFINER: they
// write as whoever calls them, which on a protected database only the owner's checked wrappers
// may (ProteccionOrdenSql.h). Each statement may run again over what it made.
namespace GuardadoOrdenSql {

inline constexpr const char* kFunciones = R"SQL(
-- A value as the history shows it: dates as day and minute, numbers with the workstation's
-- decimal mark and 15 significant digits, no thousands separator.
CREATE OR REPLACE FUNCTION historial_fecha(m timestamp) RETURNS text LANGUAGE sql IMMUTABLE AS $$
  SELECT CASE WHEN m IS NULL THEN ''
              WHEN m::time = '00:00' THEN to_char(m, 'DD/MM/YYYY')
              ELSE to_char(m, 'DD/MM/YYYY HH24:MI') END
$$;
CREATE OR REPLACE FUNCTION historial_numero(x double precision, coma text) RETURNS text
LANGUAGE sql IMMUTABLE AS $$
  SELECT CASE WHEN x IS NULL THEN ''
              WHEN x = trunc(x) AND abs(x) < 9e18 THEN x::bigint::text
              ELSE replace(rtrim(rtrim(x::numeric::text, '0'), '.'), '.', coma) END
$$;
-- A reference to another table's row as "name (key)", "(key)" when it has no name; none when
-- empty or 0.
CREATE OR REPLACE FUNCTION historial_nombre(tabla text, clave text) RETURNS text
LANGUAGE plpgsql STABLE AS $$
DECLARE
  nombre text;
BEGIN
  IF clave IS NULL OR clave IN ('', '0') THEN
    RETURN '';
  END IF;
  CASE tabla
    WHEN 'productos' THEN
      SELECT ProDescripcion INTO nombre FROM productos WHERE ProId = clave::integer;
    WHEN 'sectores' THEN
      SELECT SecDescripcion INTO nombre FROM sectores WHERE SecId = clave::integer;
    WHEN 'centrosdecosto' THEN
      SELECT CenCosDescripcion INTO nombre FROM centrosdecosto WHERE CenCosId = clave::integer;
    ELSE
      SELECT UsuNombre INTO nombre FROM usuarios WHERE UsuId = clave::integer;
  END CASE;
  nombre := btrim(coalesce(nombre, ''), E' \t\n\r\f\v');
  RETURN CASE WHEN nombre = '' THEN '(' || clave || ')' ELSE nombre || ' (' || clave || ')' END;
END $$;

-- An order's fields as the history shows them, in the table's order, the key left out.
CREATE OR REPLACE FUNCTION historial_campos_orden(o ordenes, coma text)
RETURNS TABLE (n integer, campo text, valor text) LANGUAGE sql STABLE AS $$
  SELECT * FROM (VALUES
    (1, 'OrdFecha', historial_fecha(o.OrdFecha)),
    (2, 'OrdCantidad', historial_numero(o.OrdCantidad, coma)),
    (3, 'OrdUnidadMedida', coalesce(o.OrdUnidadMedida::text, '')),
    (4, 'ProId', historial_nombre('productos', o.ProId::text)),
    (5, 'OrdComentario', coalesce(o.OrdComentario::text, '')),
    (6, 'OrdLugarEntrega', coalesce(o.OrdLugarEntrega::text, '')),
    (7, 'OrdPrioridad', coalesce(o.OrdPrioridad::text, '')),
    (8, 'SecId', historial_nombre('sectores', o.SecId::text)),
    (9, 'CenCosId', historial_nombre('centrosdecosto', o.CenCosId::text)),
    (10, 'SolicitanteId', historial_nombre('usuarios', o.SolicitanteId::text)),
    (11, 'AutorizanteId', historial_nombre('usuarios', o.AutorizanteId::text)),
    (12, 'UsuLogin', coalesce(o.UsuLogin::text, '')),
    (13, 'OrdEstado', coalesce(o.OrdEstado::text, '')),
    (14, 'ProcesadoId', historial_nombre('usuarios', o.ProcesadoId::text))) AS c (n, campo, valor)
  WHERE o.OrdId IS NOT NULL
$$;

-- The fields that differ between two readings of an order (a reading with no row: none there).
CREATE OR REPLACE FUNCTION historial_diferencias_orden(a ordenes, d ordenes, sin text, coma text)
RETURNS TABLE (campo text, anterior text, nuevo text) LANGUAGE sql STABLE AS $$
  SELECT coalesce(x.campo, y.campo), coalesce(x.valor, ''), coalesce(y.valor, '')
    FROM historial_campos_orden(a, coma) x
    FULL JOIN historial_campos_orden(d, coma) y ON y.n = x.n
   WHERE coalesce(x.valor, '') <> coalesce(y.valor, '') AND coalesce(x.campo, y.campo) <> sin
   ORDER BY coalesce(x.n, y.n)
$$;

-- An order's quotes as the history tells them apart: the fields compared as stored, and the
-- quote in one line (supplier, price, terms, days, whether accepted).
DROP TYPE IF EXISTS historial_precios_fila CASCADE;
CREATE TYPE historial_precios_fila AS (
  preid integer, empid text, proveedor text, aceptado boolean, leido text, resumen text);
CREATE OR REPLACE FUNCTION historial_precios(p_ordid integer, coma text)
RETURNS SETOF historial_precios_fila LANGUAGE sql STABLE AS $$
  SELECT v.PreId, coalesce(v.EmpId::text, ''), coalesce(v.Proveedor::text, ''),
         v.PreAceptado <> 0,
         row(v.Proveedor, v.PrePrecio, v.PreMoneda, v.PreFormaPago, v.PreContacto, v.PreFecha,
             v.PreFecVigencia, v.PreAceptado)::text,
         coalesce(v.Proveedor::text, '') || ': ' || concat_ws(', ',
           historial_numero(v.PrePrecio, coma) || ' ' || coalesce(v.PreMoneda::text, ''),
           nullif(coalesce(v.PreFormaPago::text, ''), ''),
           nullif(coalesce(v.PreContacto::text, ''), ''),
           'del ' || left(historial_fecha(v.PreFecha), 10) || ' al '
             || left(historial_fecha(v.PreFecVigencia), 10),
           CASE WHEN v.PreAceptado <> 0 THEN 'aceptado' END)
    FROM v_precios_proveedores v WHERE v.OrdId = p_ordid ORDER BY v.PreId
$$;

-- Lines of history to write, gathered before they are written in one statement.
DROP TYPE IF EXISTS historial_linea CASCADE;
CREATE TYPE historial_linea AS (
  grupo integer, tipo text, tabla text, clave integer, campo text, anterior text, nuevo text);

-- The lines for a change of an order's quotes, which are stored anew at every save and so are
-- matched by content: the same values as stored, then the same line, did not change; one of the
-- same supplier changed; the rest were added or removed. Then the accepted supplier, if another.
CREATE OR REPLACE FUNCTION historial_lineas_precios(antes historial_precios_fila[], despues
                                         historial_precios_fila[], grupo integer, tipo text)
RETURNS historial_linea[] LANGUAGE plpgsql IMMUTABLE AS $$
DECLARE
  r historial_linea[] := '{}';
  viejo boolean[] := array_fill(false, ARRAY[cardinality(antes)]);
  nuevo boolean[] := array_fill(false, ARRAY[cardinality(despues)]);
  de text := '';
  a text := '';
BEGIN
  FOR pasada IN 1 .. 2 LOOP
    FOR i IN 1 .. cardinality(despues) LOOP
      CONTINUE WHEN nuevo[i];
      FOR j IN 1 .. cardinality(antes) LOOP
        IF NOT viejo[j] AND ((pasada = 1 AND (antes[j]).leido = (despues[i]).leido)
                             OR (pasada = 2 AND (antes[j]).resumen = (despues[i]).resumen)) THEN
          viejo[j] := true;
          nuevo[i] := true;
          EXIT;
        END IF;
      END LOOP;
    END LOOP;
  END LOOP;
  FOR i IN 1 .. cardinality(despues) LOOP
    CONTINUE WHEN nuevo[i];
    FOR j IN 1 .. cardinality(antes) + 1 LOOP
      IF j > cardinality(antes) THEN
        r := r || (grupo, tipo, 'precios', (despues[i]).preid, 'Precio', '',
                   (despues[i]).resumen)::historial_linea;
      ELSIF NOT viejo[j] AND (antes[j]).empid = (despues[i]).empid THEN
        viejo[j] := true;
        r := r || (grupo, tipo, 'precios', (despues[i]).preid, 'Precio', (antes[j]).resumen,
                   (despues[i]).resumen)::historial_linea;
        EXIT;
      END IF;
    END LOOP;
  END LOOP;
  FOR j IN 1 .. cardinality(antes) LOOP
    IF NOT viejo[j] THEN
      r := r || (grupo, tipo, 'precios', (antes[j]).preid, 'Precio', (antes[j]).resumen,
                 '')::historial_linea;
    END IF;
  END LOOP;
  SELECT p.proveedor INTO de FROM unnest(antes) p WHERE p.aceptado LIMIT 1;
  SELECT p.proveedor INTO a FROM unnest(despues) p WHERE p.aceptado LIMIT 1;
  IF coalesce(de, '') <> coalesce(a, '') THEN
    r := r || (grupo, tipo, 'precios', 0, 'PrecioAceptado', coalesce(de, ''),
               coalesce(a, ''))::historial_linea;
  END IF;
  RETURN r;
END $$;

-- Writes lines of history of one order under `login`, chained after the last line: the chain's
-- lock taken and the last line read once (or taken from what this transaction wrote last), the
-- keys drawn and the hashes computed in one pass, all the lines inserted in one statement, which
-- the chain's trigger then leaves as they come. Lines of one group are one change: they share
-- its first line's key as HisCambio.
CREATE OR REPLACE FUNCTION historial_agregar(login text, ordid integer, lineas historial_linea[])
RETURNS void LANGUAGE plpgsql AS $$
DECLARE
  propia text := current_setting('quimbel.historial_ultima', true);
  secuencia text := pg_get_serial_sequence('historial', 'hisid');
  ultimo bigint;
  anterior text;
  h historial;
  filas historial[] := '{}';
  cambio integer;
BEGIN
  IF cardinality(lineas) = 0 THEN
    RETURN;
  END IF;
  IF coalesce(propia, '') <> '' THEN
    ultimo := split_part(propia, ':', 1)::bigint;
    anterior := split_part(propia, ':', 2);
  ELSE
    IF current_setting('transaction_isolation') <> 'read committed' THEN
      RAISE EXCEPTION 'El historial solo se escribe en transacciones READ COMMITTED.';
    END IF;
    PERFORM pg_advisory_xact_lock(7325001);
    SELECT HisId, HisHuella INTO ultimo, anterior FROM historial ORDER BY HisId DESC LIMIT 1;
  END IF;
  h.HisFecha := ahora();
  h.HisLogin := btrim(login);
  h.HisOrdId := nullif(ordid, 0);
  FOR i IN 1 .. cardinality(lineas) LOOP
    h.HisId := greatest(nextval(secuencia), coalesce(ultimo, 0) + 1);
    ultimo := h.HisId;
    IF i = 1 OR lineas[i].grupo <> lineas[i - 1].grupo THEN
      cambio := h.HisId;
      h.HisCambio := NULL;
    ELSE
      h.HisCambio := cambio;
    END IF;
    h.HisTipo := lineas[i].tipo;
    h.HisTabla := lineas[i].tabla;
    h.HisClave := lineas[i].clave;
    h.HisCampo := lineas[i].campo;
    h.HisAnterior := lineas[i].anterior;
    h.HisNuevo := lineas[i].nuevo;
    -- Replaying rows from elsewhere, where the chain's trigger does not run, nothing is chained.
    IF current_setting('session_replication_role') <> 'replica' THEN
      h.HisHuella := historial_huella(anterior, h);
      anterior := h.HisHuella;
    END IF;
    filas := filas || h;
  END LOOP;
  INSERT INTO historial SELECT * FROM unnest(filas);
  PERFORM set_config('quimbel.historial_ultima', ultimo || ':' || coalesce(anterior, ''), true);
END $$;

-- What an order and its quotes hold as stored, in one text: a workstation keeps it from when it
-- loaded the order, and a save of it goes on only while it is still the same.
CREATE OR REPLACE FUNCTION quimbel_orden_version(p_ordid integer) RETURNS text LANGUAGE sql STABLE AS $$
  SELECT md5(coalesce((SELECT o::text FROM ordenes o WHERE o.OrdId = p_ordid), '') || '|'
             || coalesce((SELECT string_agg(v::text, '|' ORDER BY v.PreId)
                            FROM v_precios_proveedores v WHERE v.OrdId = p_ordid), ''))
$$;

-- An order saved whole: p_ordid 0 adds it. The quotes come eight values each (supplier,
-- contact, price, currency, terms, date, validity, accepted 1/0) and replace the stored ones;
-- the notes two each (what about, what). p_version, when given, is what the order held when it
-- was loaded: if it no longer holds that, nothing is written ('cambiada'); an order deleted
-- meanwhile gives 'no_existe'. The history gets the change of the fields and quotes, a new or
-- removed authoriser as a change of its own with when its password was confirmed, and the
-- notes, in the program's words with `coma` as the decimal mark.
CREATE OR REPLACE FUNCTION quimbel_orden_escribir(
    p_login text, p_ordid integer, p_version text, p_fecha timestamp(0),
    p_cantidad double precision, p_unidad text, p_proid text, p_comentario text, p_lugar text,
    p_prioridad text, p_secid integer, p_cencosid integer, p_solicitante integer,
    p_autorizante integer, p_precios text[], p_notas text[], p_confirmada timestamp,
    p_coma text, p_usulogin text)
RETURNS TABLE (estado text, orden integer, version text) LANGUAGE plpgsql AS $$
DECLARE
  a ordenes;
  d ordenes;
  pa historial_precios_fila[];
  pd historial_precios_fila[];
  lineas historial_linea[];
  tipo text := 'Modificación';
BEGIN
  IF p_ordid > 0 THEN
    SELECT * INTO a FROM ordenes WHERE OrdId = p_ordid FOR UPDATE;
    IF NOT FOUND THEN
      RETURN QUERY SELECT 'no_existe', p_ordid, NULL::text;
      RETURN;
    END IF;
    IF p_version IS NOT NULL AND p_version <> quimbel_orden_version(p_ordid) THEN
      RETURN QUERY SELECT 'cambiada', p_ordid, NULL::text;
      RETURN;
    END IF;
    pa := ARRAY(SELECT p::historial_precios_fila FROM historial_precios(p_ordid, p_coma) p);
    UPDATE ordenes SET OrdFecha = p_fecha, OrdCantidad = p_cantidad, OrdUnidadMedida = p_unidad,
           ProId = nullif(p_proid, '')::integer, OrdComentario = p_comentario,
           OrdLugarEntrega = p_lugar, OrdPrioridad = p_prioridad, SecId = p_secid,
           CenCosId = p_cencosid, SolicitanteId = p_solicitante, AutorizanteId = p_autorizante
     WHERE OrdId = p_ordid RETURNING * INTO d;
    DELETE FROM precios WHERE OrdId = p_ordid;
  ELSE
    tipo := 'Alta';
    pa := '{}';
    INSERT INTO ordenes (OrdFecha, OrdCantidad, OrdUnidadMedida, ProId, OrdComentario,
                         OrdLugarEntrega, OrdPrioridad, SecId, CenCosId, SolicitanteId,
                         AutorizanteId, UsuLogin, OrdEstado, ProcesadoId)
    VALUES (p_fecha, p_cantidad, p_unidad, nullif(p_proid, '')::integer, p_comentario, p_lugar,
            p_prioridad, p_secid, p_cencosid, p_solicitante, p_autorizante, p_usulogin,
            'Pendiente', 0)
    RETURNING * INTO d;
  END IF;
  INSERT INTO precios (OrdId, EmpId, PreContacto, PrePrecio, PreMoneda, PreFormaPago, PreFecha,
                       PreFecVigencia, PreAceptado)
  SELECT d.OrdId, p_precios[8 * i + 1]::integer, p_precios[8 * i + 2],
         p_precios[8 * i + 3]::double precision, p_precios[8 * i + 4], p_precios[8 * i + 5],
         p_precios[8 * i + 6]::timestamp, p_precios[8 * i + 7]::timestamp,
         p_precios[8 * i + 8]::smallint
    FROM generate_series(0, coalesce(array_length(p_precios, 1), 0) / 8 - 1) AS i ORDER BY i;
  pd := ARRAY(SELECT p::historial_precios_fila FROM historial_precios(d.OrdId, p_coma) p);
  lineas := ARRAY(SELECT (1, tipo, 'ordenes', d.OrdId, f.campo, f.anterior,
                          f.nuevo)::historial_linea
                    FROM historial_diferencias_orden(a, d, 'AutorizanteId', p_coma) f)
            || historial_lineas_precios(pa, pd, 1, tipo);
  IF coalesce(a.AutorizanteId, 0) IS DISTINCT FROM coalesce(d.AutorizanteId, 0)
     AND historial_nombre('usuarios', a.AutorizanteId::text)
         <> historial_nombre('usuarios', d.AutorizanteId::text) THEN
    lineas := lineas || (2, 'Autorización', 'ordenes', d.OrdId, 'AutorizanteId',
                         historial_nombre('usuarios', a.AutorizanteId::text),
                         historial_nombre('usuarios', d.AutorizanteId::text))::historial_linea;
    IF p_confirmada IS NOT NULL THEN
      lineas := lineas || (2, 'Autorización', 'ordenes', d.OrdId, 'Confirmacion', '',
                           'contraseña confirmada el '
                           || to_char(p_confirmada, 'DD/MM/YYYY HH24:MI:SS'))::historial_linea;
    END IF;
  END IF;
  lineas := lineas || ARRAY(
    SELECT (3, 'Regla', 'ordenes', d.OrdId, p_notas[2 * i + 1], '',
            p_notas[2 * i + 2])::historial_linea
      FROM generate_series(0, coalesce(array_length(p_notas, 1), 0) / 2 - 1) AS i ORDER BY i);
  PERFORM historial_agregar(p_login, d.OrdId, lineas);
  RETURN QUERY SELECT 'hecho', d.OrdId, quimbel_orden_version(d.OrdId);
END $$;

-- Orders moved from the state the person was shown to another, each on its own: one that was
-- moved meanwhile ('movida', with the state it holds now; none when deleted), that needs an
-- authorisation it lacks ('no_autorizada') or that fails ('fallo', with why) leaves the others
-- done. The move is recorded under `login` with `usuid` as who processed it.
CREATE OR REPLACE FUNCTION quimbel_ordenes_pasar(p_login text, p_usuid integer, p_ids integer[],
                                      p_mostrado text, p_estado text, p_coma text)
RETURNS TABLE (numero integer, paso text, actual text) LANGUAGE plpgsql AS $$
DECLARE
  a ordenes;
  d ordenes;
BEGIN
  FOREACH numero IN ARRAY p_ids LOOP
    BEGIN
      SELECT * INTO a FROM ordenes o WHERE o.OrdId = numero FOR UPDATE;
      IF NOT FOUND OR a.OrdEstado::text <> p_mostrado THEN
        paso := 'movida';
        actual := a.OrdEstado;
      ELSIF p_estado IN ('En trámite', 'Cumplida') AND coalesce(a.AutorizanteId, 0) <= 0 THEN
        paso := 'no_autorizada';
        actual := NULL;
      ELSE
        UPDATE ordenes o SET OrdEstado = p_estado, ProcesadoId = p_usuid WHERE o.OrdId = numero
        RETURNING * INTO d;
        PERFORM historial_agregar(p_login, numero, ARRAY(
          SELECT (1, 'Estado', 'ordenes', numero, f.campo, f.anterior, f.nuevo)::historial_linea
            FROM historial_diferencias_orden(a, d, '', p_coma) f));
        paso := 'hecho';
        actual := NULL;
      END IF;
    EXCEPTION WHEN OTHERS THEN
      paso := 'fallo';
      actual := SQLERRM;
    END;
    RETURN NEXT;
  END LOOP;
END $$;
)SQL";

} // namespace GuardadoOrdenSql
