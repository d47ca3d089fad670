#!/usr/bin/env bash
# A throwaway PostgreSQL cluster for the tests: made in a temporary folder,
# listening on a free localhost port, run by an unprivileged account (initdb
# refuses root: as root the server runs as "postgres", or a "traveno-test"
# account made for it), with password authentication through a password file.
#
#   postgres_cluster.sh start INFO_FILE [WATCH_PID]
#       makes and starts a cluster and writes INFO_FILE: line 1 the connection
#       string, line 2 the password file, line 3 the cluster's folder. The
#       server stops by itself when WATCH_PID (default: the caller) ends, so a
#       killed test run leaves no server behind.
#   postgres_cluster.sh stop INFO_FILE
#       stops the server and removes its folder and INFO_FILE.
set -euo pipefail

find_bin() {
  local dir
  for dir in $(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V -r); do
    [ -x "$dir/initdb" ] && { echo "$dir"; return 0; }
  done
  command -v initdb >/dev/null 2>&1 && { dirname "$(command -v initdb)"; return 0; }
  echo "postgres_cluster: initdb not found (install the postgresql package)" >&2
  return 1
}

server_account() {
  if [ "$(id -u)" -ne 0 ]; then
    id -un
  elif id postgres >/dev/null 2>&1; then
    echo postgres
  else
    id traveno-test >/dev/null 2>&1 || useradd --system --no-create-home traveno-test
    echo traveno-test
  fi
}

as_account() {
  local account=$1
  shift
  if [ "$(id -u)" -eq 0 ]; then
    runuser -u "$account" -- "$@"
  else
    "$@"
  fi
}

free_port() {
  python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])'
}

start() {
  local info=$1 watch=${2:-$PPID}
  local bin account folder port password
  bin=$(find_bin)
  account=$(server_account)
  folder=$(mktemp -d /tmp/traveno-pg-XXXXXX)
  chmod 755 "$folder"
  password=$(head -c 18 /dev/urandom | base64 | tr -d '/+=')
  printf '%s\n' "$password" >"$folder/password"
  chown -R "$account" "$folder"
  as_account "$account" "$bin/initdb" -D "$folder/data" -U traveno_admin -A scram-sha-256 \
    --pwfile="$folder/password" -E UTF8 --locale=C.UTF-8 --no-sync >"$folder/initdb.log" 2>&1 ||
    { cat "$folder/initdb.log" >&2; rm -rf "$folder"; return 1; }
  rm -f "$folder/password"
  mkdir -p "$folder/socket" && chown "$account" "$folder/socket"
  local tries=0
  until port=$(free_port) &&
    as_account "$account" "$bin/pg_ctl" -D "$folder/data" -l "$folder/server.log" -w -t 60 \
      -o "-p $port -c listen_addresses=127.0.0.1 -k $folder/socket -c fsync=off -c synchronous_commit=off -c full_page_writes=off -c max_connections=200" \
      start >/dev/null; do
    tries=$((tries + 1))
    if [ "$tries" -ge 5 ]; then
      cat "$folder/server.log" >&2 || true
      rm -rf "$folder"
      return 1
    fi
  done
  # The password file belongs to whoever runs the tests, readable by them alone.
  local passfile
  passfile=$(mktemp /tmp/traveno-pgpass-XXXXXX)
  printf '127.0.0.1:%s:*:traveno_admin:%s\n' "$port" "$password" >"$passfile"
  chmod 600 "$passfile"
  # The watchdog stops the server when the process it watches is gone.
  setsid bash -c "while kill -0 $watch 2>/dev/null && [ -d '$folder/data' ]; do sleep 2; done;
    if [ -d '$folder/data' ]; then
      $( [ "$(id -u)" -eq 0 ] && echo "runuser -u $account --" ) '$bin/pg_ctl' -D '$folder/data' -m immediate stop >/dev/null 2>&1;
      rm -rf '$folder' '$passfile'
    fi" </dev/null >/dev/null 2>&1 &
  printf 'postgresql://traveno_admin@127.0.0.1:%s/postgres\n%s\n%s\n' "$port" "$passfile" "$folder" >"$info.tmp"
  mv "$info.tmp" "$info"
}

stop() {
  local info=$1
  [ -f "$info" ] || return 0
  local passfile folder bin account
  passfile=$(sed -n 2p "$info")
  folder=$(sed -n 3p "$info")
  bin=$(find_bin)
  account=$(stat -c %U "$folder/data" 2>/dev/null || echo "")
  if [ -n "$account" ] && [ -d "$folder/data" ]; then
    as_account "$account" "$bin/pg_ctl" -D "$folder/data" -m fast -w stop >/dev/null 2>&1 ||
      as_account "$account" "$bin/pg_ctl" -D "$folder/data" -m immediate stop >/dev/null 2>&1 || true
  fi
  case "$folder" in /tmp/traveno-pg-*) rm -rf "$folder" ;; esac
  case "$passfile" in /tmp/traveno-pgpass-*) rm -f "$passfile" ;; esac
  rm -f "$info"
}

case "${1:-}" in
  start) start "$2" "${3:-}" ;;
  stop) stop "$2" ;;
  *) echo "usage: $0 start INFO_FILE [WATCH_PID] | stop INFO_FILE" >&2; exit 2 ;;
esac
