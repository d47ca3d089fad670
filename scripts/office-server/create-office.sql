-- The office's group role and database. Run by create-office.sh, as a
-- superuser connected to the maintenance database, with the variables db (the
-- office database) and office_group (the group role), once the script has
-- checked that neither is something else already. Every statement may run
-- again: what exists is brought back to the rights below, nothing is dropped.
\set ON_ERROR_STOP on

-- The group owns the database and everything the program creates in it. It
-- cannot log in; the accountants are its members and act as it.
SELECT NOT EXISTS (SELECT 1 FROM pg_roles WHERE rolname = :'office_group') AS make_group \gset
\if :make_group
CREATE ROLE :"office_group" NOLOGIN;
\endif
ALTER ROLE :"office_group" NOLOGIN NOSUPERUSER NOCREATEDB NOCREATEROLE NOREPLICATION NOBYPASSRLS
  INHERIT CONNECTION LIMIT -1;

-- UTF8 with the C collation: text sorts and changes case by code point, as
-- in the data folder's files, so both stores list names in the same order.
SELECT NOT EXISTS (SELECT 1 FROM pg_database WHERE datname = :'db') AS make_database \gset
\if :make_database
CREATE DATABASE :"db" OWNER :"office_group" ENCODING 'UTF8' LOCALE 'C' TEMPLATE template0;
\endif
ALTER DATABASE :"db" OWNER TO :"office_group";

-- Nobody else may connect, make temporary tables or create anything there.
REVOKE ALL ON DATABASE :"db" FROM PUBLIC;
GRANT CONNECT, TEMPORARY, CREATE ON DATABASE :"db" TO :"office_group";

\connect :"db"
ALTER SCHEMA public OWNER TO :"office_group";
REVOKE ALL ON SCHEMA public FROM PUBLIC;
