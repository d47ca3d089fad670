#!/bin/sh
# Adds one accountant to an office made by create-office.sh: a role that logs
# in with a password, a member of the office's group, with no right of its own
# on the server. Run again for the same name, it sets a new password.
#
#   add-accountant.sh [-d DATABASE] [-g GROUP] NAME
#       DATABASE, GROUP  as given to create-office.sh (default: traveno,
#                        traveno_birou)
#
# The password is asked twice on a terminal; otherwise it is the first line
# read from standard input. It is never taken from the command line, and only
# its salted hash reaches the server (psql's \password makes it).
#
# Run it as the server's administrator, as for create-office.sh. The
# administrator's own password must come from the password file (or the
# account's peer login): standard input carries the new one.
set -eu

here=$(dirname "$0")
database=traveno
group=traveno_birou
psql=${PSQL:-psql}
admin_database=${TRAVENO_ADMIN_DATABASE:-postgres}

usage() {
  echo "usage: $0 [-d DATABASE] [-g GROUP] NAME (the password is asked, or read from stdin)" >&2
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
[ $# -eq 1 ] || usage
name=$1
[ -n "$name" ] && [ -n "$database" ] && [ -n "$group" ] || usage

# The password is read first: a bad one changes nothing on the server.
password=
if [ ! -t 0 ]; then
  IFS= read -r password || [ -n "$password" ] || {
    echo "add-accountant: no password on standard input" >&2
    exit 2
  }
  if [ -z "$password" ]; then
    echo "add-accountant: the password is empty" >&2
    exit 2
  fi
  command -v setsid >/dev/null 2>&1 || {
    echo "add-accountant: setsid (util-linux) is needed to read the password from stdin" >&2
    exit 2
  }
fi

# An existing role with rights of its own (the administrator's, a replication
# account) is never made an accountant: that would take its rights away.
refusal=$($psql -X -q -w -tA -d "$admin_database" -v ON_ERROR_STOP=1 \
  -v db="$database" -v office_group="$group" -v accountant="$name" <<'SQL'
SELECT CASE
  WHEN NOT (SELECT rolsuper FROM pg_roles WHERE rolname = current_user)
    THEN 'run this as a superuser of the server'
  WHEN NOT EXISTS (SELECT 1 FROM pg_roles WHERE rolname = :'office_group' AND NOT rolcanlogin)
    OR NOT EXISTS (SELECT 1 FROM pg_database WHERE datname = :'db')
    THEN 'no office database "' || :'db' || '" with group "' || :'office_group' || '" (run create-office.sh first)'
  WHEN :'accountant' = :'office_group' OR EXISTS (
      SELECT 1 FROM pg_roles WHERE rolname = :'accountant'
        AND (rolsuper OR rolreplication OR rolcreaterole OR rolcreatedb OR rolbypassrls))
    THEN 'role "' || :'accountant' || '" has rights of its own on the server; choose another name'
  ELSE '' END;
SQL
)
if [ -n "$refusal" ]; then
  echo "add-accountant: $refusal" >&2
  exit 3
fi

$psql -X -q -w -d "$admin_database" -v ON_ERROR_STOP=1 \
  -v db="$database" -v office_group="$group" -v accountant="$name" -f "$here/add-accountant.sql"

# psql's \password hashes the password on this side and sends only the hash.
# It asks on the terminal; without a controlling terminal (setsid) it reads
# its two answers from standard input.
command_file=$(mktemp "${TMPDIR:-/tmp}/add-accountant-XXXXXX")
errors=$(mktemp "${TMPDIR:-/tmp}/add-accountant-XXXXXX")
trap 'rm -f "$command_file" "$errors"' EXIT
printf '%s\n' '\set ON_ERROR_STOP on' '\password :"accountant"' >"$command_file"
if [ -t 0 ]; then
  $psql -X -q -w -d "$admin_database" -v accountant="$name" -f "$command_file"
else
  # The prompts go to the error stream: it is shown only on failure.
  printf '%s\n%s\n' "$password" "$password" |
    setsid -w $psql -X -q -w -d "$admin_database" -v accountant="$name" \
      -f "$command_file" 2>"$errors" || {
    grep -v '^Enter ' "$errors" >&2 || true
    echo "add-accountant: the password of \"$name\" was not set" >&2
    exit 1
  }
fi

echo "accountant \"$name\" can work in office database \"$database\""
