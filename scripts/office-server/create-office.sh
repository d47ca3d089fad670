#!/bin/sh
# Makes an accounting office's store on a PostgreSQL server: the office's
# group role (cannot log in; owns everything) and the office's database (UTF8,
# owned by the group, closed to everyone else). Safe to run again.
#
#   create-office.sh [-d DATABASE] [-g GROUP]
#       DATABASE  the office's database (default: traveno)
#       GROUP     the group role of its accountants (default: traveno_birou)
#
# Run it as the server's administrator: as the "postgres" account on the
# server, or anywhere with PGHOST, PGPORT and PGUSER naming a superuser (its
# password from the password file, PGPASSFILE or ~/.pgpass). Then add the
# accountants with add-accountant.sh.
set -eu

here=$(dirname "$0")
database=traveno
group=traveno_birou
psql=${PSQL:-psql}
admin_database=${TRAVENO_ADMIN_DATABASE:-postgres}

usage() {
  echo "usage: $0 [-d DATABASE] [-g GROUP]" >&2
  exit 2
}

while getopts d:g:h option; do
  case $option in
    d) database=$OPTARG ;;
    g) group=$OPTARG ;;
    *) usage ;;
  esac
done
shift $((OPTIND - 1))
[ $# -eq 0 ] || usage
[ -n "$database" ] && [ -n "$group" ] || usage

# What would be refused is checked before anything changes on the server.
refusal=$($psql -X -q -tA -d "$admin_database" -v ON_ERROR_STOP=1 \
  -v db="$database" -v office_group="$group" <<'SQL'
SELECT CASE
  WHEN NOT (SELECT rolsuper FROM pg_roles WHERE rolname = current_user)
    THEN 'run this as a superuser of the server'
  WHEN EXISTS (SELECT 1 FROM pg_roles WHERE rolname = :'office_group'
                 AND (rolsuper OR rolcanlogin OR rolreplication))
    THEN 'role "' || :'office_group' || '" exists and can log in or has rights of its own; choose another group'
  WHEN EXISTS (SELECT 1 FROM pg_database WHERE datname = :'db'
                 AND pg_encoding_to_char(encoding) <> 'UTF8')
    THEN 'database "' || :'db' || '" exists and is not UTF8'
  ELSE '' END;
SQL
)
if [ -n "$refusal" ]; then
  echo "create-office: $refusal" >&2
  exit 3
fi

$psql -X -q -d "$admin_database" -v ON_ERROR_STOP=1 \
  -v db="$database" -v office_group="$group" -f "$here/create-office.sql"

echo "office database \"$database\" ready, owned by group \"$group\""
