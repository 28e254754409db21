#pragma once

// Schema step 9 on the server: the one-call save of step 8 (GuardadoOrdenSql.h), the same lines,
// words, chain and refusals, with the server's work per save cut down. Every query of the save
// now runs from a plan the server keeps for the session: a scalar SQL function that is not
// written into its caller is planned again at each call, which was most of the save's time (the
// order's fingerprint, the date of every field and quote). The order's names are looked up in
// one statement, the quotes read once for both their lines and the fingerprint, the history
// lines' keys drawn in one statement and their hashes made in one loop, and the chain's trigger
// does not run for lines that come with their hash. Replaces step 8's functions by name; the
// functions of step 8 that are not named here stay as they were.
namespace GuardadoOrdenSql {

inline constexpr const char* kPaso9 = R"SQL(
-- A date as the history shows it. STABLE as to_char is, so that the server writes it into the
-- statement that uses it instead of running it as a query of its own each time.
CREATE OR REPLACE FUNCTION historial_fecha(m timestamp) RETURNS text LANGUAGE sql STABLE AS $$
  SELECT CASE WHEN m IS NULL THEN ''
              WHEN m::time = '00:00' THEN to_char(m, 'DD/MM/YYYY')
              ELSE to_char(m, 'DD/MM/YYYY HH24:MI') END
$$;

-- A reference to another table's row as "name (key)", "(key)" when it has no name; none when
-- empty or 0. The name is looked up by the caller, in the same statement as the rest.
CREATE OR REPLACE FUNCTION historial_referencia(clave integer, nombre text) RETURNS text
LANGUAGE sql IMMUTABLE AS $$
  SELECT CASE WHEN clave IS NULL OR clave = 0 THEN ''
              WHEN btrim(coalesce(nombre, ''), E' \t\n\r\f\v') = '' THEN '(' || clave::text || ')'
              ELSE btrim(coalesce(nombre, ''), E' \t\n\r\f\v') || ' (' || clave::text || ')' END
$$;

-- An order's fields as the history shows them, in the table's order, the key left out: one
-- statement, names included. None for no row.
CREATE OR REPLACE FUNCTION historial_valores_orden(o ordenes, coma text) RETURNS text[]
LANGUAGE plpgsql STABLE AS $$
DECLARE
  r text[];
BEGIN
  IF o.OrdId IS NULL THEN
    RETURN NULL;
  END IF;
  SELECT ARRAY[historial_fecha(o.OrdFecha), historial_numero(o.OrdCantidad, coma),
               coalesce(o.OrdUnidadMedida::text, ''), historial_referencia(o.ProId, p.ProDescripcion),
               coalesce(o.OrdComentario::text, ''), coalesce(o.OrdLugarEntrega::text, ''),
               coalesce(o.OrdPrioridad::text, ''), historial_referencia(o.SecId, s.SecDescripcion),
               historial_referencia(o.CenCosId, c.CenCosDescripcion),
               historial_referencia(o.SolicitanteId, us.UsuNombre),
               historial_referencia(o.AutorizanteId, ua.UsuNombre), coalesce(o.UsuLogin::text, ''),
               coalesce(o.OrdEstado::text, ''), historial_referencia(o.ProcesadoId, up.UsuNombre)]
    INTO r
    FROM (SELECT) x
    LEFT JOIN productos p ON p.ProId = o.ProId
    LEFT JOIN sectores s ON s.SecId = o.SecId
    LEFT JOIN centrosdecosto c ON c.CenCosId = o.CenCosId
    LEFT JOIN usuarios us ON us.UsuId = o.SolicitanteId
    LEFT JOIN usuarios ua ON ua.UsuId = o.AutorizanteId
    LEFT JOIN usuarios up ON up.UsuId = o.ProcesadoId;
  RETURN r;
END $$;

-- The lines for the fields that differ between two readings of an order, in the table's order.
CREATE OR REPLACE FUNCTION historial_lineas_orden(antes text[], despues text[], sin text,
                                                  grupo integer, tipo text, ordid integer)
RETURNS historial_linea[] LANGUAGE plpgsql IMMUTABLE AS $$
BEGIN
  RETURN ARRAY(
    SELECT (grupo, tipo, 'ordenes', ordid, c.campo, coalesce(c.anterior, ''),
            coalesce(c.nuevo, ''))::historial_linea
      FROM unnest(ARRAY['OrdFecha', 'OrdCantidad', 'OrdUnidadMedida', 'ProId', 'OrdComentario',
                        'OrdLugarEntrega', 'OrdPrioridad', 'SecId', 'CenCosId', 'SolicitanteId',
                        'AutorizanteId', 'UsuLogin', 'OrdEstado', 'ProcesadoId'], antes, despues)
           WITH ORDINALITY AS c (campo, anterior, nuevo, n)
     WHERE coalesce(c.anterior, '') <> coalesce(c.nuevo, '') AND c.campo <> sin
     ORDER BY c.n);
END $$;

-- An order's quotes read once: as the history tells them apart, and as text for its fingerprint.
CREATE OR REPLACE FUNCTION historial_precios_leidos(p_ordid integer, coma text)
RETURNS TABLE (filas historial_precios_fila[], textos text[]) LANGUAGE sql STABLE AS $$
  SELECT coalesce(array_agg((v.PreId, coalesce(v.EmpId::text, ''), coalesce(v.Proveedor::text, ''),
         v.PreAceptado <> 0,
         row(v.Proveedor, v.PrePrecio, v.PreMoneda, v.PreFormaPago, v.PreContacto, v.PreFecha,
             v.PreFecVigencia, v.PreAceptado)::text,
         coalesce(v.Proveedor::text, '') || ': ' || concat_ws(', ',
           historial_numero(v.PrePrecio, coma) || ' ' || coalesce(v.PreMoneda::text, ''),
           nullif(coalesce(v.PreFormaPago::text, ''), ''),
           nullif(coalesce(v.PreContacto::text, ''), ''),
           'del ' || left(historial_fecha(v.PreFecha), 10) || ' al '
             || left(historial_fecha(v.PreFecVigencia), 10),
           CASE WHEN v.PreAceptado <> 0 THEN 'aceptado' END))::historial_precios_fila
         ORDER BY v.PreId), '{}'),
         coalesce(array_agg(v::text ORDER BY v.PreId), '{}')
    FROM v_precios_proveedores v WHERE v.OrdId = p_ordid
$$;

-- An order's fingerprint from its row and its quotes as text.
CREATE OR REPLACE FUNCTION quimbel_orden_huella(orden text, precios text[]) RETURNS text
LANGUAGE sql STABLE AS $$
  SELECT md5(coalesce(orden, '') || '|' || array_to_string(precios, '|'))
$$;

-- The same text as step 8 made, so that what a workstation loaded before the upgrade still
-- compares.
CREATE OR REPLACE FUNCTION quimbel_orden_version(p_ordid integer) RETURNS text
LANGUAGE plpgsql STABLE AS $$
BEGIN
  RETURN quimbel_orden_huella((SELECT o::text FROM ordenes o WHERE o.OrdId = p_ordid),
                              ARRAY(SELECT v::text FROM v_precios_proveedores v
                                     WHERE v.OrdId = p_ordid ORDER BY v.PreId));
END $$;

-- A history line's own fields in the chain's text, which follows the previous line's hash.
CREATE OR REPLACE FUNCTION historial_texto(id bigint, cambio bigint, fecha timestamp,
    login text, tipo text, tabla text, clave bigint, ordid bigint, campo text, anterior text,
    nuevo text) RETURNS text LANGUAGE sql STABLE AS $$
  SELECT '|' || CASE WHEN id IS NULL THEN '~' ELSE octet_length(id::text) || ':' || id END
      || '|' || CASE WHEN cambio IS NULL THEN '~' ELSE octet_length(cambio::text) || ':' || cambio END
      || '|' || CASE WHEN fecha IS NULL THEN '~'
                     ELSE octet_length(to_char(fecha, 'YYYY-MM-DD HH24:MI:SS')) || ':'
                          || to_char(fecha, 'YYYY-MM-DD HH24:MI:SS') END
      || '|' || CASE WHEN login IS NULL THEN '~' ELSE octet_length(convert_to(login, 'UTF8')) || ':' || login END
      || '|' || CASE WHEN tipo IS NULL THEN '~' ELSE octet_length(convert_to(tipo, 'UTF8')) || ':' || tipo END
      || '|' || CASE WHEN tabla IS NULL THEN '~' ELSE octet_length(convert_to(tabla, 'UTF8')) || ':' || tabla END
      || '|' || CASE WHEN clave IS NULL THEN '~' ELSE octet_length(clave::text) || ':' || clave END
      || '|' || CASE WHEN ordid IS NULL THEN '~' ELSE octet_length(ordid::text) || ':' || ordid END
      || '|' || CASE WHEN campo IS NULL THEN '~' ELSE octet_length(convert_to(campo, 'UTF8')) || ':' || campo END
      || '|' || CASE WHEN anterior IS NULL THEN '~' ELSE octet_length(convert_to(anterior, 'UTF8')) || ':' || anterior END
      || '|' || CASE WHEN nuevo IS NULL THEN '~' ELSE octet_length(convert_to(nuevo, 'UTF8')) || ':' || nuevo END
$$;

-- As in step 8; the lines' texts are made in one statement, then only hashed in order, and the
-- lines are inserted with their hashes.
CREATE OR REPLACE FUNCTION historial_agregar(login text, ordid integer, lineas historial_linea[])
RETURNS void LANGUAGE plpgsql AS $$
DECLARE
  propia text := current_setting('quimbel.historial_ultima', true);
  secuencia regclass := pg_get_serial_sequence('historial', 'hisid');
  n integer := cardinality(lineas);
  encadenar boolean := current_setting('session_replication_role') <> 'replica';
  fecha timestamp(0) := ahora();
  quien text := btrim(login);
  orden integer := nullif(ordid, 0);
  ultimo bigint;
  anterior text;
  claves bigint[];
  cambios bigint[] := '{}';
  huellas text[] := '{}';
  textos text[];
  cambio bigint;
BEGIN
  IF n = 0 THEN
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
  -- Keys drawn in order, each past the chain's last line: greatest(drawn, last + i) is also past
  -- the line before, as the sequence only grows.
  claves := ARRAY(SELECT greatest(nextval(secuencia), coalesce(ultimo, 0) + i)
                    FROM generate_series(1, n) AS i ORDER BY i);
  FOR i IN 1 .. n LOOP
    IF i = 1 OR lineas[i].grupo <> lineas[i - 1].grupo THEN
      cambio := claves[i];
      cambios[i] := NULL;
    ELSE
      cambios[i] := cambio;
    END IF;
  END LOOP;
  IF encadenar THEN
    textos := ARRAY(SELECT historial_texto(claves[l.i], cambios[l.i], fecha, quien, l.tipo,
                                           l.tabla, l.clave, orden, l.campo, l.anterior, l.nuevo)
                      FROM unnest(lineas) WITH ORDINALITY
                           AS l (grupo, tipo, tabla, clave, campo, anterior, nuevo, i)
                     ORDER BY l.i);
    FOR i IN 1 .. n LOOP
      anterior := encode(sha256(convert_to(coalesce(anterior, '') || textos[i], 'UTF8')), 'hex');
      huellas[i] := anterior;
    END LOOP;
  END IF;
  INSERT INTO historial (HisId, HisCambio, HisFecha, HisLogin, HisTipo, HisTabla, HisClave,
                         HisOrdId, HisCampo, HisAnterior, HisNuevo, HisHuella)
  SELECT claves[l.i], cambios[l.i], fecha, quien, l.tipo, l.tabla, l.clave, orden, l.campo,
         l.anterior, l.nuevo, huellas[l.i]
    FROM unnest(lineas) WITH ORDINALITY AS l (grupo, tipo, tabla, clave, campo, anterior, nuevo, i)
   ORDER BY l.i;
  PERFORM set_config('quimbel.historial_ultima', claves[n] || ':' || coalesce(anterior, ''), true);
END $$;

-- A line that comes with its hash is kept as it is, without running the trigger at all.
DROP TRIGGER IF EXISTS historial_encadenar ON historial;
CREATE TRIGGER historial_encadenar BEFORE INSERT ON historial
  FOR EACH ROW WHEN (NEW.HisHuella IS NULL) EXECUTE FUNCTION historial_encadenar();

-- As in step 8. Its statements' plans are kept generic: a plan made for the values of each call
-- (the number of quotes, of lines) cost more to make than to run.
CREATE OR REPLACE FUNCTION quimbel_orden_escribir(
    p_login text, p_ordid integer, p_version text, p_fecha timestamp(0),
    p_cantidad double precision, p_unidad text, p_proid text, p_comentario text, p_lugar text,
    p_prioridad text, p_secid integer, p_cencosid integer, p_solicitante integer,
    p_autorizante integer, p_precios text[], p_notas text[], p_confirmada timestamp,
    p_coma text, p_usulogin text)
RETURNS TABLE (estado text, orden integer, version text) LANGUAGE plpgsql
SET plan_cache_mode = force_generic_plan AS $$
DECLARE
  a ordenes;
  d ordenes;
  pa historial_precios_fila[] := '{}';
  pd historial_precios_fila[];
  ta text[];
  td text[];
  va text[];
  vd text[];
  lineas historial_linea[];
  tipo text := 'Modificación';
BEGIN
  IF p_ordid > 0 THEN
    SELECT * INTO a FROM ordenes WHERE OrdId = p_ordid FOR UPDATE;
    IF NOT FOUND THEN
      estado := 'no_existe';
      orden := p_ordid;
      RETURN NEXT;
      RETURN;
    END IF;
    SELECT * INTO pa, ta FROM historial_precios_leidos(p_ordid, p_coma);
    IF p_version IS NOT NULL AND p_version <> quimbel_orden_huella(a::text, ta) THEN
      estado := 'cambiada';
      orden := p_ordid;
      RETURN NEXT;
      RETURN;
    END IF;
    UPDATE ordenes SET OrdFecha = p_fecha, OrdCantidad = p_cantidad, OrdUnidadMedida = p_unidad,
           ProId = nullif(p_proid, '')::integer, OrdComentario = p_comentario,
           OrdLugarEntrega = p_lugar, OrdPrioridad = p_prioridad, SecId = p_secid,
           CenCosId = p_cencosid, SolicitanteId = p_solicitante, AutorizanteId = p_autorizante
     WHERE OrdId = p_ordid RETURNING * INTO d;
    DELETE FROM precios WHERE OrdId = p_ordid;
  ELSE
    tipo := 'Alta';
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
  SELECT * INTO pd, td FROM historial_precios_leidos(d.OrdId, p_coma);
  va := historial_valores_orden(a, p_coma);
  vd := historial_valores_orden(d, p_coma);
  lineas := historial_lineas_orden(va, vd, 'AutorizanteId', 1, tipo, d.OrdId)
            || historial_lineas_precios(pa, pd, 1, tipo);
  IF coalesce(a.AutorizanteId, 0) IS DISTINCT FROM coalesce(d.AutorizanteId, 0)
     AND coalesce(va[11], '') <> coalesce(vd[11], '') THEN
    lineas := lineas || (2, 'Autorización', 'ordenes', d.OrdId, 'AutorizanteId',
                         coalesce(va[11], ''), coalesce(vd[11], ''))::historial_linea;
    IF p_confirmada IS NOT NULL THEN
      lineas := lineas || (2, 'Autorización', 'ordenes', d.OrdId, 'Confirmacion', '',
                           'contraseña confirmada el '
                           || to_char(p_confirmada, 'DD/MM/YYYY HH24:MI:SS'))::historial_linea;
    END IF;
  END IF;
  IF cardinality(p_notas) > 1 THEN
    lineas := lineas || ARRAY(
      SELECT (3, 'Regla', 'ordenes', d.OrdId, p_notas[2 * i + 1], '',
              p_notas[2 * i + 2])::historial_linea
        FROM generate_series(0, array_length(p_notas, 1) / 2 - 1) AS i ORDER BY i);
  END IF;
  PERFORM historial_agregar(p_login, d.OrdId, lineas);
  estado := 'hecho';
  orden := d.OrdId;
  version := quimbel_orden_huella(d::text, td);
  RETURN NEXT;
END $$;

)SQL";

} // namespace GuardadoOrdenSql
