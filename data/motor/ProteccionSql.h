#pragma once

// What a protected database holds besides its tables, run by the owner on every `proteger`
// (each statement may run again). The functions run as the owner and check the caller's rights
// from the caller's own row in "usuarios", found by session_user.
namespace ProteccionPg {

// The caller's own row of "usuarios": the enabled user whose role (quimbel_rol) is the session's.
// The role's name is taken apart rather than each user's built, so that the call costs the same
// however many users the office has; it is the same comparison. Installed by `proteger`, and by
// the upgrade to version 11 on every server database (unused where nobody is a role).
inline constexpr const char* kLlamante = R"SQL(
CREATE OR REPLACE FUNCTION quimbel_llamante() RETURNS usuarios
LANGUAGE plpgsql STABLE SECURITY DEFINER SET search_path = pg_catalog, public AS $$
DECLARE
    u usuarios;
    sufijo text := '@' || current_database();
    rol text := session_user::text;
BEGIN
    IF right(rol, length(sufijo)) = sufijo COLLATE "C" THEN
        SELECT * INTO u FROM usuarios
         WHERE lower(btrim(UsuLogin::text) COLLATE "default") COLLATE "C"
               = left(rol, -length(sufijo))
           AND UsuDesactivado = 0
         ORDER BY UsuId LIMIT 1;
    END IF;
    IF u.UsuId IS NULL THEN
        RAISE EXCEPTION 'El usuario «%» no puede hacer cambios en esta base de datos.', session_user
            USING ERRCODE = '42501';
    END IF;
    RETURN u;
END $$;
)SQL";

// The moment a change is recorded at, in the zone the server had when the database was
// protected: LOCALTIMESTAMP follows the session's TimeZone, which any person may set, and so
// could have dated their history lines up to a day away. Installed by `proteger`, and by the
// upgrade to version 11 on a protected database.
inline constexpr const char* kAhoraFija = R"SQL(
DO $$
BEGIN
  IF to_regclass('public.proteccion') IS NOT NULL THEN
    EXECUTE format('CREATE OR REPLACE FUNCTION ahora() RETURNS timestamp(0) LANGUAGE sql STABLE AS %L',
                   format('SELECT (now() AT TIME ZONE %L)::timestamp(0)', current_setting('TimeZone')));
  END IF;
END $$;
)SQL";

// The approval rules and a user's authorisation limits, each written whole by the server with
// its history, as an order's save is: a line for each rule or currency that changed, worded as
// the workstation words it on the file ("Autorizante ajeno: No → Si", "Límite de autorización en
// Pesos: 100 → sin límite"). Before, the workstation wrote those lines in a second call, which an
// administrator with a server client could leave out. The functions that changed the tables
// without their history are dropped. Installed by `proteger`, and by the upgrade to version 11
// on every server database (unused where nobody is a role).
inline constexpr const char* kReglasConHistorial = R"SQL(
DROP FUNCTION IF EXISTS quimbel_regla(text, integer);
DROP FUNCTION IF EXISTS quimbel_limites(integer, text[]);

-- The four rules switched on or off, '1' or '0' each, in this order.
CREATE OR REPLACE FUNCTION quimbel_reglas(p_activas text[]) RETURNS void
LANGUAGE plpgsql SECURITY DEFINER SET search_path = pg_catalog, public AS $$
DECLARE
    yo usuarios := quimbel_llamante();
    nombres text[] := ARRAY['autorizante_ajeno', 'limite_por_moneda', 'reautorizar_al_editar',
                            'justificar_cotizacion'];
    campos text[] := ARRAY['Autorizante ajeno', 'Límite de autorización',
                           'Reautorización al editar', 'Justificar cotización'];
    lineas historial_linea[] := '{}';
    antes boolean;
    despues boolean;
BEGIN
    PERFORM quimbel_exigir(yo, 'administrar');
    FOR i IN 1 .. 4 LOOP
        antes := EXISTS (SELECT 1 FROM reglas
                          WHERE ReglaNombre = nombres[i]::citext AND ReglaActiva = 1);
        despues := coalesce(p_activas[i], '0') = '1';
        DELETE FROM reglas WHERE ReglaNombre = nombres[i]::citext;
        INSERT INTO reglas (ReglaNombre, ReglaActiva) VALUES (nombres[i], despues::integer);
        IF antes <> despues THEN
            lineas := lineas || (1, 'Modificación', 'reglas', 0, campos[i],
                                 CASE WHEN antes THEN 'Si' ELSE 'No' END,
                                 CASE WHEN despues THEN 'Si' ELSE 'No' END)::historial_linea;
        END IF;
    END LOOP;
    PERFORM historial_agregar(yo.UsuLogin::text, 0, lineas);
END $$;

-- A user's limits whole: currency and amount, one pair after another (a negative amount is no
-- limit). `p_coma` is the workstation's decimal separator, for the history's numbers.
CREATE OR REPLACE FUNCTION quimbel_limites(p_usuid integer, p_coma text, VARIADIC v text[])
RETURNS void
LANGUAGE plpgsql SECURITY DEFINER SET search_path = pg_catalog, public AS $$
DECLARE
    yo usuarios := quimbel_llamante();
    antes limitesautorizacion[];
    lineas historial_linea[];
BEGIN
    PERFORM quimbel_exigir(yo, 'administrar');
    antes := ARRAY(SELECT l FROM limitesautorizacion l WHERE UsuId = p_usuid);
    DELETE FROM limitesautorizacion WHERE UsuId = p_usuid;
    INSERT INTO limitesautorizacion (UsuId, LimMoneda, LimImporte)
        SELECT p_usuid, v[i], v[i + 1]::double precision
          FROM generate_series(1, coalesce(array_length(v, 1), 0) - 1, 2) AS i;
    -- Each currency in either, by its folded name, shown as spelled after the change if it is
    -- still there; the amount of the first row of that name on each side.
    lineas := ARRAY(
        WITH a AS (SELECT DISTINCT ON (lower(btrim(l.LimMoneda::text)))
                          lower(btrim(l.LimMoneda::text)) AS plegada,
                          btrim(l.LimMoneda::text) AS moneda, l.LimImporte AS importe
                     FROM unnest(antes) AS l ORDER BY lower(btrim(l.LimMoneda::text))),
             d AS (SELECT DISTINCT ON (lower(btrim(v[i]))) lower(btrim(v[i])) AS plegada,
                          btrim(v[i]) AS moneda, v[i + 1]::double precision AS importe
                     FROM generate_series(1, coalesce(array_length(v, 1), 0) - 1, 2) AS i
                    ORDER BY lower(btrim(v[i])), i),
             c AS (SELECT coalesce(d.plegada, a.plegada) AS plegada,
                          coalesce(d.moneda, a.moneda) AS moneda,
                          CASE WHEN a.importe < 0 THEN 'sin límite'
                               ELSE nullif(historial_numero(a.importe, p_coma), '') END AS de,
                          CASE WHEN d.importe < 0 THEN 'sin límite'
                               ELSE nullif(historial_numero(d.importe, p_coma), '') END AS a
                     FROM a FULL JOIN d ON d.plegada = a.plegada)
        SELECT (1, 'Modificación', 'limitesautorizacion', p_usuid,
                'Límite de autorización en ' || c.moneda, c.de, c.a)::historial_linea
          FROM c WHERE c.de IS DISTINCT FROM c.a ORDER BY c.plegada COLLATE "C");
    PERFORM historial_agregar(yo.UsuLogin::text, 0, lineas);
END $$;
)SQL";

inline constexpr const char* kFunciones = R"SQL(
CREATE TABLE IF NOT EXISTS proteccion (grupo text NOT NULL);
INSERT INTO proteccion (grupo)
    SELECT 'personas@' || current_database() WHERE NOT EXISTS (SELECT 1 FROM proteccion);

CREATE OR REPLACE FUNCTION quimbel_rol(p_login text) RETURNS text
LANGUAGE sql STABLE SET search_path = pg_catalog, public
AS $$ SELECT (lower(btrim(p_login) COLLATE "default") || '@' || current_database()) COLLATE "C" $$;

CREATE OR REPLACE FUNCTION quimbel_es_administrador(u usuarios) RETURNS boolean
LANGUAGE sql IMMUTABLE SET search_path = pg_catalog, public
AS $$ SELECT upper(btrim(u.UsuLogin::text)) IN ('KORVA', 'ZELTI') $$;

-- The role of a user of "usuarios" made or brought in step with the row: LOGIN while the user
-- is enabled. Only an administrator changes who may sign in.
CREATE OR REPLACE FUNCTION quimbel_sincronizar_rol(p_usuid integer) RETURNS void
LANGUAGE plpgsql SECURITY DEFINER SET search_path = pg_catalog, public AS $$
DECLARE
    u usuarios;
    rol text;
    grupo text := 'personas@' || current_database();
BEGIN
    IF NOT quimbel_es_administrador(quimbel_llamante()) THEN
        RAISE EXCEPTION 'Solo un administrador puede dar de alta o desactivar usuarios.'
            USING ERRCODE = '42501';
    END IF;
    SELECT * INTO u FROM usuarios WHERE UsuId = p_usuid;
    IF NOT FOUND THEN
        RETURN;
    END IF;
    rol := quimbel_rol(u.UsuLogin::text);
    IF octet_length(rol) > 63 THEN
        RAISE EXCEPTION 'El login «%» es demasiado largo para el servidor: acórtelo.', u.UsuLogin;
    END IF;
    IF NOT EXISTS (SELECT 1 FROM pg_roles WHERE rolname = rol) THEN
        EXECUTE format('CREATE ROLE %I NOLOGIN IN ROLE %I', rol, grupo);
    ELSIF NOT pg_has_role(rol, grupo, 'MEMBER') THEN
        RAISE EXCEPTION 'El rol «%» del servidor no es de esta base de datos.', rol;
    END IF;
    IF u.UsuDesactivado = 0 AND EXISTS (SELECT 1 FROM usuarios v
        WHERE quimbel_rol(v.UsuLogin::text) = rol COLLATE "C" AND v.UsuId < u.UsuId) THEN
        RETURN; -- an earlier user with the same login owns the role
    END IF;
    EXECUTE format('ALTER ROLE %I %s', rol, CASE WHEN u.UsuDesactivado = 0 THEN 'LOGIN'
                                                  ELSE 'NOLOGIN' END);
END $$;

CREATE OR REPLACE FUNCTION quimbel_exigir(yo usuarios, derecho text) RETURNS void
LANGUAGE plpgsql STABLE SET search_path = pg_catalog, public AS $$
BEGIN
    IF derecho = 'administrar' AND NOT quimbel_es_administrador(yo) THEN
        RAISE EXCEPTION 'Solo un administrador puede hacer este cambio.' USING ERRCODE = '42501';
    ELSIF derecho = 'solicitar' AND yo.UsuPuedeSolicitar = 0 THEN
        RAISE EXCEPTION 'El usuario «%» no puede solicitar órdenes.', yo.UsuLogin
            USING ERRCODE = '42501';
    ELSIF derecho = 'cumplir' AND yo.UsuPuedeCumplir = 0 THEN
        RAISE EXCEPTION 'El usuario «%» no puede dar órdenes por cumplidas.', yo.UsuLogin
            USING ERRCODE = '42501';
    END IF;
END $$;

-- The stored commands as the server runs them for the persons: each statement already in the
-- server's dialect, its values taken from one array, and the right the caller needs. Written by
-- `proteger` from "comandos", so that the statements stay in one place.
CREATE TABLE IF NOT EXISTS comandos_servidor (
    nombre text PRIMARY KEY,
    derecho text NOT NULL,
    sentencias text[] NOT NULL
);

CREATE OR REPLACE FUNCTION quimbel_comando(p_nombre text, VARIADIC v text[])
RETURNS TABLE (clave bigint)
LANGUAGE plpgsql SECURITY DEFINER SET search_path = pg_catalog, public AS $$
DECLARE
    yo usuarios := quimbel_llamante();
    c comandos_servidor;
    s text;
BEGIN
    SELECT * INTO c FROM comandos_servidor WHERE nombre = lower(p_nombre);
    IF NOT FOUND THEN
        RAISE EXCEPTION 'No existe el comando guardado "%".', p_nombre;
    END IF;
    PERFORM quimbel_exigir(yo, c.derecho);
    FOREACH s IN ARRAY c.sentencias LOOP
        IF s ~* '\mRETURNING\M' THEN
            EXECUTE s INTO clave USING v;
            RETURN NEXT;
        ELSE
            EXECUTE s USING v;
        END IF;
    END LOOP;
END $$;

CREATE OR REPLACE FUNCTION quimbel_precios_borrar(p_ordid integer) RETURNS void
LANGUAGE plpgsql SECURITY DEFINER SET search_path = pg_catalog, public AS $$
BEGIN
    PERFORM quimbel_exigir(quimbel_llamante(), 'solicitar');
    DELETE FROM precios WHERE OrdId = p_ordid;
END $$;

CREATE OR REPLACE FUNCTION quimbel_categorias_purgar() RETURNS void
LANGUAGE plpgsql SECURITY DEFINER SET search_path = pg_catalog, public AS $$
BEGIN
    PERFORM quimbel_llamante();
    DELETE FROM categorias WHERE CatDesactivada <> 0
       AND CatId NOT IN (SELECT CatId FROM productos WHERE CatId IS NOT NULL);
END $$;

-- The row a person is about to change, held for the rest of their transaction as SELECT … FOR
-- UPDATE holds it (a person's role may not lock rows: that takes UPDATE). Read after this, the
-- row is the newest committed, and no other workstation changes it until the person's save ends,
-- so that a change made meanwhile is seen and refused rather than overwritten. Only the tables
-- the program saves that way.
CREATE OR REPLACE FUNCTION quimbel_reservar(p_tabla text, p_clave integer) RETURNS void
LANGUAGE plpgsql SECURITY DEFINER SET search_path = pg_catalog, public AS $$
DECLARE
    columna name;
BEGIN
    PERFORM quimbel_llamante();
    IF lower(p_tabla) NOT IN ('ordenes', 'productos', 'proveedores', 'categorias', 'sectores',
                              'centrosdecosto', 'usuarios') THEN
        RAISE EXCEPTION 'La tabla «%» no se reserva así.', p_tabla USING ERRCODE = '42501';
    END IF;
    SELECT a.attname INTO columna FROM pg_index i
      JOIN pg_attribute a ON a.attrelid = i.indrelid AND a.attnum = i.indkey[0]
     WHERE i.indrelid = ('public.' || lower(p_tabla))::regclass AND i.indisprimary;
    EXECUTE format('SELECT 1 FROM %I WHERE %I = $1 FOR UPDATE', lower(p_tabla), columna)
        USING p_clave;
END $$;

-- Who may move an order to a state: "En trámite" whoever may request, "Cumplida" whoever may
-- fulfil, "Pendiente" and "Anulada" anyone.
CREATE OR REPLACE FUNCTION quimbel_exigir_estado(yo usuarios, p_estado text) RETURNS void
LANGUAGE plpgsql STABLE SET search_path = pg_catalog, public AS $$
BEGIN
    IF p_estado = 'Cumplida' THEN
        PERFORM quimbel_exigir(yo, 'cumplir');
    ELSIF p_estado = 'En trámite' THEN
        PERFORM quimbel_exigir(yo, 'solicitar');
    ELSIF p_estado NOT IN ('Pendiente', 'Anulada') THEN
        RAISE EXCEPTION 'No existe el estado «%».', p_estado;
    END IF;
END $$;

-- An order moved to another state by the caller: only from the state the caller was shown, to
-- "En trámite" by whoever may request and to "Cumplida" by whoever may fulfil, and to either only
-- once it is authorised.
CREATE OR REPLACE FUNCTION quimbel_orden_estado(p_ordid integer, p_mostrado text, p_estado text)
RETURNS void
LANGUAGE plpgsql SECURITY DEFINER SET search_path = pg_catalog, public AS $$
DECLARE
    yo usuarios := quimbel_llamante();
    o ordenes;
BEGIN
    PERFORM quimbel_exigir_estado(yo, p_estado);
    SELECT * INTO o FROM ordenes WHERE OrdId = p_ordid FOR UPDATE;
    IF NOT FOUND OR o.OrdEstado::text <> p_mostrado THEN
        RAISE EXCEPTION 'La orden % ya no está en el estado «%».', p_ordid, p_mostrado;
    END IF;
    IF p_estado IN ('En trámite', 'Cumplida') AND coalesce(o.AutorizanteId, 0) <= 0 THEN
        RAISE EXCEPTION 'La orden % no está autorizada.', p_ordid;
    END IF;
    UPDATE ordenes SET OrdEstado = p_estado, ProcesadoId = yo.UsuId WHERE OrdId = p_ordid;
END $$;

-- Authorisations. A grant is made by the authoriser's own session for one order as it stands
-- (a new one: 0) and the clerk who saves it, valid a few minutes; the save consumes it. The
-- terms each authorised order was authorised for are kept, so that a save that does not touch
-- them keeps its authoriser.
CREATE TABLE IF NOT EXISTS autorizaciones (
    OrdId integer NOT NULL,
    Solicita text NOT NULL,
    AutorizanteId integer NOT NULL,
    Cantidad double precision,
    EmpId integer,
    Precio double precision,
    Moneda text,
    Vence timestamptz NOT NULL
);
CREATE TABLE IF NOT EXISTS ordenes_autorizadas (
    OrdId integer PRIMARY KEY,
    AutorizanteId integer NOT NULL,
    Cantidad double precision,
    EmpId integer,
    Precio double precision,
    Moneda text
);

CREATE OR REPLACE FUNCTION quimbel_terminos(p_ordid integer)
RETURNS TABLE (autorizante integer, cantidad double precision, empid integer,
               precio double precision, moneda text)
LANGUAGE sql STABLE SET search_path = pg_catalog, public AS $$
    SELECT coalesce(o.AutorizanteId, 0), o.OrdCantidad, p.EmpId, p.PrePrecio, p.PreMoneda::text
      FROM ordenes o
      LEFT JOIN LATERAL (SELECT * FROM precios WHERE OrdId = o.OrdId AND PreAceptado <> 0
                          ORDER BY PreId LIMIT 1) p ON TRUE
     WHERE o.OrdId = p_ordid
$$;

CREATE OR REPLACE FUNCTION quimbel_conceder(p_ordid integer, p_para text,
                                            p_cantidad double precision, p_empid integer,
                                            p_precio double precision, p_moneda text)
RETURNS void
LANGUAGE plpgsql SECURITY DEFINER SET search_path = pg_catalog, public AS $$
DECLARE
    yo usuarios := quimbel_llamante();
BEGIN
    IF yo.UsuPuedeAutorizar = 0 THEN
        RAISE EXCEPTION 'El usuario «%» no puede autorizar órdenes.', yo.UsuLogin
            USING ERRCODE = '42501';
    END IF;
    DELETE FROM autorizaciones WHERE Vence < now();
    INSERT INTO autorizaciones (OrdId, Solicita, AutorizanteId, Cantidad, EmpId, Precio, Moneda,
                                Vence)
    VALUES (coalesce(p_ordid, 0), quimbel_rol(p_para), yo.UsuId, p_cantidad, p_empid, p_precio,
            p_moneda, now() + interval '10 minutes');
END $$;

-- The approval rules that are on, for an authoriser newly given to an order: not the person who
-- entered it nor its requester; a limit in the accepted quote's currency that its price keeps
-- (a negative limit: none).
CREATE OR REPLACE FUNCTION quimbel_reglas_autorizante(p_ordid integer, p_autorizante integer,
                                                      p_moneda text, p_precio double precision)
RETURNS void
LANGUAGE plpgsql STABLE SET search_path = pg_catalog, public AS $$
DECLARE
    o ordenes;
    a usuarios;
    limite double precision;
BEGIN
    SELECT * INTO o FROM ordenes WHERE OrdId = p_ordid;
    SELECT * INTO a FROM usuarios WHERE UsuId = p_autorizante;
    IF EXISTS (SELECT 1 FROM reglas WHERE ReglaActiva <> 0
                  AND lower(ReglaNombre::text) = 'autorizante_ajeno') THEN
        IF lower(btrim(a.UsuLogin::text)) = lower(btrim(o.UsuLogin::text)) THEN
            RAISE EXCEPTION 'El autorizante no puede ser quien ingresó la orden.'
                USING ERRCODE = '42501';
        ELSIF p_autorizante = o.SolicitanteId THEN
            RAISE EXCEPTION 'El autorizante no puede ser el solicitante de la orden.'
                USING ERRCODE = '42501';
        END IF;
    END IF;
    IF p_moneda IS NOT NULL AND EXISTS (SELECT 1 FROM reglas WHERE ReglaActiva <> 0
                  AND lower(ReglaNombre::text) = 'limite_por_moneda') THEN
        SELECT LimImporte INTO limite FROM limitesautorizacion
         WHERE UsuId = p_autorizante AND lower(btrim(LimMoneda::text)) = lower(btrim(p_moneda));
        IF NOT FOUND THEN
            RAISE EXCEPTION '% no tiene límite de autorización en %.', a.UsuNombre,
                btrim(p_moneda) USING ERRCODE = '42501';
        ELSIF limite >= 0 AND p_precio > limite THEN
            RAISE EXCEPTION 'El límite de autorización de % en % es %; el precio aceptado es %.',
                a.UsuNombre, btrim(p_moneda), limite, p_precio USING ERRCODE = '42501';
        END IF;
    END IF;
END $$;

-- At the end of every transaction of a person that wrote an order or its accepted quotes: an
-- authoriser set, or kept on changed terms, needs that authoriser's grant, which is used up.
-- Terms hold only the accepted quote, so only its rows queue a check. The first check of an
-- order records its terms; the order's other rows then find them unchanged and stop there.
CREATE OR REPLACE FUNCTION quimbel_exigir_concesion() RETURNS trigger
LANGUAGE plpgsql SECURITY DEFINER SET search_path = pg_catalog, public AS $$
DECLARE
    v_ordid integer := CASE WHEN TG_OP = 'DELETE' THEN OLD.OrdId ELSE NEW.OrdId END;
    t record;
    k record;
    usada integer;
BEGIN
    -- quimbel_terminos, written out so that its query keeps its plan.
    SELECT coalesce(o.AutorizanteId, 0) AS autorizante, o.OrdCantidad AS cantidad,
           p.EmpId AS empid, p.PrePrecio AS precio, p.PreMoneda::text AS moneda
      INTO t FROM ordenes o
      LEFT JOIN LATERAL (SELECT * FROM precios WHERE OrdId = o.OrdId AND PreAceptado <> 0
                          ORDER BY PreId LIMIT 1) p ON TRUE
     WHERE o.OrdId = v_ordid;
    IF NOT FOUND OR t.autorizante <= 0 THEN
        DELETE FROM ordenes_autorizadas WHERE OrdId = v_ordid;
        RETURN NULL;
    END IF;
    SELECT * INTO k FROM ordenes_autorizadas WHERE OrdId = v_ordid;
    IF FOUND AND k.AutorizanteId = t.autorizante AND k.Cantidad IS NOT DISTINCT FROM t.cantidad
       AND k.EmpId IS NOT DISTINCT FROM t.empid AND k.Precio IS NOT DISTINCT FROM t.precio
       AND lower(k.Moneda) IS NOT DISTINCT FROM lower(t.moneda) THEN
        RETURN NULL;
    END IF;
    -- The owner's own tools need no grant: what they authorise stands, and is kept as
    -- authorised so that the persons' later saves and state changes need none either.
    IF EXISTS (SELECT 1 FROM usuarios
                WHERE quimbel_rol(UsuLogin::text) = session_user::text COLLATE "C") THEN
        DELETE FROM autorizaciones a
         WHERE a.ctid = (SELECT ctid FROM autorizaciones
                          WHERE OrdId IN (v_ordid, 0) AND Solicita = session_user::text
                            AND AutorizanteId = t.autorizante AND Vence >= now()
                            AND Cantidad IS NOT DISTINCT FROM t.cantidad
                            AND EmpId IS NOT DISTINCT FROM t.empid
                            AND Precio IS NOT DISTINCT FROM t.precio
                            AND lower(Moneda) IS NOT DISTINCT FROM lower(t.moneda)
                          ORDER BY OrdId DESC LIMIT 1)
        RETURNING 1 INTO usada;
        IF usada IS NULL THEN
            RAISE EXCEPTION 'La orden % no tiene la autorización de su autorizante para la orden '
                            'como se guarda: vuelva a pedirle la contraseña.', v_ordid
                USING ERRCODE = '42501';
        END IF;
        PERFORM quimbel_reglas_autorizante(v_ordid, t.autorizante, t.moneda, t.precio);
    END IF;
    INSERT INTO ordenes_autorizadas (OrdId, AutorizanteId, Cantidad, EmpId, Precio, Moneda)
    VALUES (v_ordid, t.autorizante, t.cantidad, t.empid, t.precio, t.moneda)
    ON CONFLICT (OrdId) DO UPDATE
       SET AutorizanteId = EXCLUDED.AutorizanteId, Cantidad = EXCLUDED.Cantidad,
           EmpId = EXCLUDED.EmpId, Precio = EXCLUDED.Precio, Moneda = EXCLUDED.Moneda;
    RETURN NULL;
END $$;

DROP TRIGGER IF EXISTS quimbel_concesion_orden ON ordenes;
CREATE CONSTRAINT TRIGGER quimbel_concesion_orden AFTER INSERT OR UPDATE ON ordenes
    DEFERRABLE INITIALLY DEFERRED FOR EACH ROW EXECUTE FUNCTION quimbel_exigir_concesion();
DROP TRIGGER IF EXISTS quimbel_concesion_precio ON precios;
DROP TRIGGER IF EXISTS quimbel_concesion_precio_alta ON precios;
CREATE CONSTRAINT TRIGGER quimbel_concesion_precio_alta AFTER INSERT ON precios
    DEFERRABLE INITIALLY DEFERRED FOR EACH ROW WHEN (NEW.PreAceptado <> 0)
    EXECUTE FUNCTION quimbel_exigir_concesion();
DROP TRIGGER IF EXISTS quimbel_concesion_precio_cambio ON precios;
CREATE CONSTRAINT TRIGGER quimbel_concesion_precio_cambio AFTER UPDATE ON precios
    DEFERRABLE INITIALLY DEFERRED FOR EACH ROW
    WHEN (OLD.PreAceptado <> 0 OR NEW.PreAceptado <> 0)
    EXECUTE FUNCTION quimbel_exigir_concesion();
DROP TRIGGER IF EXISTS quimbel_concesion_precio_baja ON precios;
CREATE CONSTRAINT TRIGGER quimbel_concesion_precio_baja AFTER DELETE ON precios
    DEFERRABLE INITIALLY DEFERRED FOR EACH ROW WHEN (OLD.PreAceptado <> 0)
    EXECUTE FUNCTION quimbel_exigir_concesion();

-- The orders authorised before the database was protected keep their authoriser.
INSERT INTO ordenes_autorizadas (OrdId, AutorizanteId, Cantidad, EmpId, Precio, Moneda)
    SELECT o.OrdId, t.* FROM ordenes o CROSS JOIN LATERAL quimbel_terminos(o.OrdId) t
     WHERE t.autorizante > 0
ON CONFLICT (OrdId) DO NOTHING;

-- A row of a maintenance window's table written whole: the columns and their values one pair
-- after another, each value cast to its column's type; p_clave 0 adds a row. The key of the row.
-- Only the tables a window edits this way, and only their own columns.
CREATE OR REPLACE FUNCTION quimbel_fila_guardar(p_tabla text, p_clave integer, VARIADIC v text[])
RETURNS integer
LANGUAGE plpgsql SECURITY DEFINER SET search_path = pg_catalog, public AS $$
DECLARE
    columnaClave text;
    columnas text[] := '{}';
    valores text[] := '{}';
    tipo text;
    resultado integer;
BEGIN
    PERFORM quimbel_llamante();
    CASE lower(p_tabla)
        WHEN 'productos' THEN columnaClave := 'proid';
        ELSE RAISE EXCEPTION 'La tabla «%» no se escribe así.', p_tabla USING ERRCODE = '42501';
    END CASE;
    FOR i IN 1 .. coalesce(array_length(v, 1), 0) / 2 LOOP
        SELECT format_type(a.atttypid, a.atttypmod) INTO tipo FROM pg_attribute a
         WHERE a.attrelid = ('public.' || lower(p_tabla))::regclass AND a.attnum > 0
           AND NOT a.attisdropped AND a.attname = lower(v[2 * i - 1]) AND a.attname <> columnaClave;
        IF tipo IS NULL THEN
            RAISE EXCEPTION 'La tabla «%» no tiene la columna «%».', p_tabla, v[2 * i - 1];
        END IF;
        columnas := columnas || quote_ident(lower(v[2 * i - 1]));
        valores := valores || (quote_nullable(v[2 * i]) || '::' || tipo);
    END LOOP;
    IF p_clave = 0 AND cardinality(columnas) = 0 THEN
        EXECUTE format('INSERT INTO %I DEFAULT VALUES RETURNING %I', lower(p_tabla), columnaClave)
            INTO resultado;
    ELSIF p_clave = 0 THEN
        EXECUTE format('INSERT INTO %I (%s) VALUES (%s) RETURNING %I', lower(p_tabla),
                       array_to_string(columnas, ','), array_to_string(valores, ','), columnaClave)
            INTO resultado;
    ELSIF cardinality(columnas) = 0 THEN
        resultado := p_clave;
    ELSE
        EXECUTE format('UPDATE %I SET (%s) = ROW(%s) WHERE %I = $1 RETURNING %I', lower(p_tabla),
                       array_to_string(columnas, ','), array_to_string(valores, ','),
                       columnaClave, columnaClave)
            INTO resultado USING p_clave;
        IF resultado IS NULL THEN
            RAISE EXCEPTION 'La fila que se quería actualizar ya no existe: puede que otro '
                            'puesto la haya eliminado.';
        END IF;
    END IF;
    RETURN resultado;
END $$;

-- A new password for a user's role: the verifier made on the workstation, so the password
-- itself never reaches the server. A person changes their own; an administrator anyone's.
CREATE OR REPLACE FUNCTION quimbel_cambiar_clave(p_usuid integer, p_verificador text)
RETURNS void
LANGUAGE plpgsql SECURITY DEFINER SET search_path = pg_catalog, public AS $$
DECLARE
    yo usuarios := quimbel_llamante();
    rol text;
BEGIN
    IF yo.UsuId <> p_usuid AND NOT quimbel_es_administrador(yo) THEN
        RAISE EXCEPTION 'Solo un administrador puede cambiar la contraseña de otro usuario.'
            USING ERRCODE = '42501';
    END IF;
    IF p_verificador NOT LIKE 'SCRAM-SHA-256$%' THEN
        RAISE EXCEPTION 'La contraseña no llegó cifrada; no se cambió.';
    END IF;
    SELECT quimbel_rol(UsuLogin::text) INTO rol FROM usuarios WHERE UsuId = p_usuid;
    IF rol IS NULL OR NOT pg_has_role(rol, 'personas@' || current_database(), 'MEMBER') THEN
        RAISE EXCEPTION 'El usuario no tiene rol en el servidor.';
    END IF;
    EXECUTE format('ALTER ROLE %I PASSWORD %L', rol, p_verificador);
    UPDATE usuarios SET UsuPassword = '' WHERE UsuId = p_usuid AND UsuPassword <> '';
    -- The row no longer shows the change, so it is told here, as the file's history tells it:
    -- that the password changed, never the password.
    INSERT INTO historial (HisFecha, HisLogin, HisTipo, HisTabla, HisClave, HisCampo,
                           HisAnterior, HisNuevo)
    VALUES (ahora(), yo.UsuLogin, 'Modificación', 'usuarios', p_usuid, 'UsuPassword', '',
            'contraseña cambiada');
END $$;
)SQL";

// Nothing for anybody but the owner, then what the persons' group needs. `%1` is the group, `%2`
// the database.
inline constexpr const char* kPrivilegios = R"SQL(
REVOKE ALL ON DATABASE "%2" FROM PUBLIC;
GRANT CONNECT ON DATABASE "%2" TO "%1";
REVOKE ALL ON SCHEMA public FROM PUBLIC;
GRANT USAGE ON SCHEMA public TO "%1";
REVOKE ALL ON ALL TABLES IN SCHEMA public FROM PUBLIC;
REVOKE ALL ON ALL SEQUENCES IN SCHEMA public FROM PUBLIC;
REVOKE ALL ON ALL FUNCTIONS IN SCHEMA public FROM PUBLIC;
GRANT SELECT ON ALL TABLES IN SCHEMA public TO "%1";
GRANT EXECUTE ON ALL FUNCTIONS IN SCHEMA public TO "%1";
REVOKE EXECUTE ON FUNCTION quimbel_retirar_rol(text) FROM "%1";
REVOKE INSERT, UPDATE, DELETE, TRUNCATE ON ALL TABLES IN SCHEMA public FROM "%1";
GRANT USAGE, SELECT ON ALL SEQUENCES IN SCHEMA public TO "%1";
)SQL";

} // namespace ProteccionPg
