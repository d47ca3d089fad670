-- One accountant: a role that logs in, a member of the office's group, with
-- no right of its own on the server. Run by add-accountant.sh, as a superuser
-- connected to the maintenance database, with the variables db, office_group and
-- accountant, once the script has checked that the office exists and that the
-- name is not a role with rights of its own. Running it again changes nothing.
\set ON_ERROR_STOP on
\connect :"db"

SELECT NOT EXISTS (SELECT 1 FROM pg_roles WHERE rolname = :'accountant') AS make_role \gset
\if :make_role
CREATE ROLE :"accountant" LOGIN;
\endif
ALTER ROLE :"accountant" LOGIN NOSUPERUSER NOCREATEDB NOCREATEROLE NOREPLICATION NOBYPASSRLS
  INHERIT CONNECTION LIMIT -1;
GRANT :"office_group" TO :"accountant";

-- Every session of the accountant in the office database acts as the group,
-- so what one accountant creates (a company's schema, its tables) belongs to
-- the group and every other accountant may use and change it.
ALTER ROLE :"accountant" IN DATABASE :"db" SET role = :'office_group';

-- Should a session leave the group's role all the same, what it creates is
-- still open to the group.
ALTER DEFAULT PRIVILEGES FOR ROLE :"accountant" GRANT ALL ON SCHEMAS TO :"office_group";
ALTER DEFAULT PRIVILEGES FOR ROLE :"accountant" GRANT ALL ON TABLES TO :"office_group";
ALTER DEFAULT PRIVILEGES FOR ROLE :"accountant" GRANT ALL ON SEQUENCES TO :"office_group";
