#pragma once

// Signing in to a protected database, run by the owner on every `proteger` after the functions
// (each statement may run again): a person's role follows their login, and the sign-ins the
// server turned away reach the history.
namespace ProteccionPg {

inline constexpr const char* kAcceso = R"SQL(
-- A login changed in the users window takes the person's role along, in the same transaction:
-- the person signs in with the new login and the same password, and the old login signs in no
-- more. A rename keeps a SCRAM verifier (the only kind the program sets) and clears an MD5 one,
-- which is salted with the role's name; such a person needs a new password. A role of another
-- user, or one left by a former user with its own password, is never taken over: the rename is
-- refused instead.
CREATE OR REPLACE FUNCTION quimbel_renombrar_rol() RETURNS trigger
LANGUAGE plpgsql SECURITY DEFINER SET search_path = pg_catalog, public AS $$
DECLARE
    anterior text := quimbel_rol(OLD.UsuLogin::text);
    nuevo text := quimbel_rol(NEW.UsuLogin::text);
BEGIN
    IF anterior = nuevo COLLATE "C" OR NOT EXISTS (SELECT 1 FROM pg_roles WHERE rolname = anterior)
    THEN
        RETURN NULL;
    END IF;
    IF NOT pg_has_role(anterior, 'personas@' || current_database(), 'MEMBER') THEN
        RETURN NULL;
    END IF;
    IF EXISTS (SELECT 1 FROM usuarios v WHERE v.UsuId <> NEW.UsuId
                  AND quimbel_rol(v.UsuLogin::text) = anterior COLLATE "C") THEN
        RETURN NULL; -- the old role stays with the other user of that login
    END IF;
    IF anterior = session_user::text COLLATE "C" THEN
        RAISE EXCEPTION 'No puede cambiar su propio login mientras trabaja con él: pídaselo a '
                        'otro administrador.' USING ERRCODE = '42501';
    END IF;
    IF octet_length(nuevo) > 63 THEN
        RAISE EXCEPTION 'El login «%» es demasiado largo para el servidor: acórtelo.',
            NEW.UsuLogin;
    END IF;
    IF EXISTS (SELECT 1 FROM pg_roles WHERE rolname = nuevo) THEN
        RAISE EXCEPTION 'El servidor ya tiene un rol «%», de otro usuario o de uno anterior: '
                        'elija otro login, o pida a sistemas que quite ese rol.', nuevo
            USING ERRCODE = '42710';
    END IF;
    EXECUTE format('ALTER ROLE %I RENAME TO %I', anterior, nuevo);
    RETURN NULL;
END $$;

DROP TRIGGER IF EXISTS quimbel_login_renombrado ON usuarios;
CREATE TRIGGER quimbel_login_renombrado AFTER UPDATE OF UsuLogin ON usuarios
    FOR EACH ROW EXECUTE FUNCTION quimbel_renombrar_rol();

-- A user whose row is deleted (only the database's owner can) signs in no more: the role stays,
-- since the history names it, but loses its login and its password, so that a later user given
-- that login starts with the password given to them, never the former one's. Roles already left
-- so by earlier deletions are swept on every `proteger`.
CREATE OR REPLACE FUNCTION quimbel_retirar_rol(rol text) RETURNS void
LANGUAGE plpgsql SECURITY DEFINER SET search_path = pg_catalog, public AS $$
BEGIN
    -- Only a direct member of the persons' group: pg_has_role would count a superuser as one.
    -- The persons themselves may not call it: the privileges take it from them.
    IF EXISTS (SELECT 1 FROM pg_auth_members m JOIN pg_roles g ON g.oid = m.roleid
                 JOIN pg_roles u ON u.oid = m.member
                WHERE g.rolname = 'personas@' || current_database()
                  AND u.rolname = rol COLLATE "C" AND NOT u.rolsuper)
       AND NOT EXISTS (SELECT 1 FROM usuarios v
                        WHERE quimbel_rol(v.UsuLogin::text) = rol COLLATE "C") THEN
        EXECUTE format('ALTER ROLE %I NOLOGIN PASSWORD NULL', rol);
    END IF;
END $$;

CREATE OR REPLACE FUNCTION quimbel_usuario_borrado() RETURNS trigger
LANGUAGE plpgsql SECURITY DEFINER SET search_path = pg_catalog, public AS $$
BEGIN
    PERFORM quimbel_retirar_rol(quimbel_rol(OLD.UsuLogin::text));
    RETURN NULL;
END $$;

DROP TRIGGER IF EXISTS quimbel_usuario_borrado ON usuarios;
CREATE TRIGGER quimbel_usuario_borrado AFTER DELETE ON usuarios
    FOR EACH ROW EXECUTE FUNCTION quimbel_usuario_borrado();

SELECT quimbel_retirar_rol(u.rolname::text)
  FROM pg_auth_members m JOIN pg_roles g ON g.oid = m.roleid JOIN pg_roles u ON u.oid = m.member
 WHERE g.rolname = 'personas@' || current_database();

-- A sign-in the server turned away cannot be written by the session it refused: the workstation
-- keeps it and hands it in at its next sign-in. Four values each: the login as typed, the
-- workstation, the moment on the workstation's clock and the reason. Each attempt is a change of
-- its own, dated by the server when handed in, that names who handed it in.
CREATE OR REPLACE FUNCTION quimbel_ingresos_rechazados(VARIADIC v text[]) RETURNS void
LANGUAGE plpgsql SECURITY DEFINER SET search_path = pg_catalog, public AS $$
DECLARE
    yo usuarios := quimbel_llamante();
    n integer := coalesce(array_length(v, 1), 0);
    campos text[] := ARRAY['Puesto', 'Intento', 'Motivo', 'Informado por'];
    valores text[];
    usuario integer;
    primera integer;
    k integer;
BEGIN
    IF n % 4 <> 0 OR n > 4 * 100 THEN
        RAISE EXCEPTION 'Los ingresos rechazados llegaron incompletos o son demasiados.';
    END IF;
    FOR i IN 0 .. n / 4 - 1 LOOP
        SELECT UsuId INTO usuario FROM usuarios
         WHERE quimbel_rol(UsuLogin::text) = quimbel_rol(v[4 * i + 1]) COLLATE "C"
         ORDER BY UsuId LIMIT 1;
        valores := ARRAY[left(v[4 * i + 2], 255), left(v[4 * i + 3], 40),
                         left(v[4 * i + 4], 255), btrim(yo.UsuLogin::text)];
        primera := NULL;
        FOR j IN 1 .. 4 LOOP
            INSERT INTO historial (HisCambio, HisFecha, HisLogin, HisTipo, HisTabla, HisClave,
                                   HisOrdId, HisCampo, HisAnterior, HisNuevo)
            VALUES (primera, ahora(), left(btrim(v[4 * i + 1]), 255), 'Ingreso rechazado',
                    'usuarios', coalesce(usuario, 0), NULL, campos[j], NULL, valores[j])
            RETURNING HisId INTO k;
            primera := coalesce(primera, k);
        END LOOP;
    END LOOP;
END $$;
)SQL";

} // namespace ProteccionPg
