#pragma once

// Schema step 14 on the server: the chain's lock, which whatever writes history lines takes
// before it reads the chain's last line (historial_agregar, and the trigger for lines that come
// without their hash), taken by quimbel_bloquear. The server's extension quimbel_cadena gives it
// in C from its version 2: a lock of its own, where the table's lock made the server look
// through every session's locks at every save. Where the extension is missing, or at its first
// version, the table's lock in plpgsql, with which the C one still waits for the other.
namespace CadenaSql {

// The plpgsql form, made only where no form of the function is there: replacing the extension's
// would leave plpgsql in a member of the extension. Its script drops this one.
inline constexpr const char* kBloqueoPlpgsql = R"SQL(
DO $$
BEGIN
  IF NOT EXISTS (SELECT FROM pg_proc WHERE proname = 'quimbel_bloquear'
                                        AND pg_function_is_visible(oid)) THEN
    CREATE FUNCTION quimbel_bloquear() RETURNS void LANGUAGE plpgsql AS $f$
    BEGIN
      IF current_setting('transaction_isolation') <> 'read committed' THEN
        RAISE EXCEPTION 'El historial solo se escribe en transacciones READ COMMITTED.';
      END IF;
      LOCK TABLE esquema IN SHARE ROW EXCLUSIVE MODE;
    END $f$;
  END IF;
END $$;
)SQL";

// A database whose extension is at its first version is brought to the second where the server
// has it; otherwise it keeps the plpgsql form, made after this.
inline constexpr const char* kBloqueoEnC = R"SQL(
DO $$
BEGIN
  IF EXISTS (SELECT FROM pg_extension WHERE extname = 'quimbel_cadena' AND extversion = '1') THEN
    BEGIN
      ALTER EXTENSION quimbel_cadena UPDATE TO '2';
    EXCEPTION WHEN OTHERS THEN
      RAISE NOTICE 'El historial se encadena sin la versión 2 de quimbel_cadena: %', SQLERRM;
    END;
  END IF;
END $$;
)SQL";

} // namespace CadenaSql
