#!/usr/bin/env bash
# Runs a command against a private PostgreSQL server reached through psqlODBC, then stops the
# server, also when the command fails. The server runs as the unprivileged `postgres` user on a
# data folder of its own (mode 0700) in a temporary directory and listens only on its own Unix
# socket there, where every login but the tests' own superuser's needs its password. The
# command sees ODBCSYSINI/ODBCINI naming a project-local configuration with the data sources
# "PG Anywhere" (user kaldor, password kaldor) and "Calibration Data" (user admin, password
# secret, as the scenario runner's) on the database kaldor, and "Calibration Data SQL Server" on
# the database kaldor_sqlserver, KALDOR_PG_SOCKET_DIR and KALDOR_PG_BIN. psqlODBC is registered
# twice: under a name containing "Anywhere", so the program speaks the SQL Anywhere dialect to
# it, and under one containing "SQL Server" for the SQL Server dialect.
# Exits 77 (skipped under CTest) with one line naming a missing package; fails instead when CI=true.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
. "$here/../skip.sh"
bin="$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -n 1 || true)"
driver=/usr/lib/x86_64-linux-gnu/odbc/psqlodbcw.so
[ -n "$bin" ] && [ -x "$bin/initdb" ] || skip "package postgresql is not installed"
[ -f "$driver" ] || driver="$(ls /usr/lib/*/odbc/psqlodbcw.so 2>/dev/null | head -n 1 || true)"
[ -n "$driver" ] && [ -f "$driver" ] || skip "package odbc-postgresql is not installed"
id postgres >/dev/null 2>&1 || skip "package postgresql is not installed (no postgres user)"

as_postgres() {
    if [ "$(id -u)" -eq 0 ]; then runuser -u postgres -- "$@"; else "$@"; fi
}

work="$(mktemp -d /tmp/kaldor-pg.XXXXXX)"
chmod 0755 "$work"
[ "$(id -u)" -eq 0 ] && chown postgres "$work"
data="$work/data"
stop() {
    as_postgres "$bin/pg_ctl" -D "$data" -m immediate stop >/dev/null 2>&1 || true
    rm -rf "$work"
}
trap stop EXIT

as_postgres "$bin/initdb" -D "$data" -U postgres -A trust -E UTF8 --locale=C.UTF-8 >"$work/initdb.log" 2>&1 \
    || { cat "$work/initdb.log"; exit 1; }
chmod 0700 "$data"
# The tests' own superuser needs no password on the socket; every other login is checked.
printf 'local all postgres trust\nlocal all all scram-sha-256\n' >"$data/pg_hba.conf"
as_postgres "$bin/pg_ctl" -D "$data" -l "$work/server.log" -w -t 60 \
    -o "-c listen_addresses='' -c unix_socket_directories='$work' -c fsync=off" start >/dev/null \
    || { cat "$work/server.log"; exit 1; }

psql=("$bin/psql" -X -q -v ON_ERROR_STOP=1 -h "$work" -U postgres)
"${psql[@]}" -d postgres -c "create role kaldor login superuser password 'kaldor'" \
    -c "create role admin login superuser password 'secret'" \
    -c "create database kaldor owner kaldor" >/dev/null
"${psql[@]}" -d kaldor -f "$here/pg-schema.sql" >/dev/null
# The same schema for the SQL Server dialect, whose VIZ/IDOV user list names the segregate
# Segregate and the real name mtname.
"${psql[@]}" -d postgres -c "create database kaldor_sqlserver owner kaldor" >/dev/null
"${psql[@]}" -d kaldor_sqlserver -f "$here/pg-schema.sql" \
    -c "alter table mt.userlist rename column i4240 to segregate" \
    -c "alter table mt.userlist rename column name to mtname" >/dev/null

cat >"$work/odbcinst.ini" <<INI
[PostgreSQL Unicode for SQL Anywhere]
Description = psqlODBC
Driver = $driver
[PostgreSQL Unicode for SQL Server]
Description = psqlODBC
Driver = $driver
INI
cat >"$work/odbc.ini" <<INI
[PG Anywhere]
Description = PostgreSQL through psqlODBC
Driver = PostgreSQL Unicode for SQL Anywhere
Servername = $work
Port = 5432
Database = kaldor
[Calibration Data]
Description = PostgreSQL through psqlODBC
Driver = PostgreSQL Unicode for SQL Anywhere
Servername = $work
Port = 5432
Database = kaldor
[Calibration Data SQL Server]
Description = PostgreSQL through psqlODBC, spoken to in the SQL Server dialect
Driver = PostgreSQL Unicode for SQL Server
Servername = $work
Port = 5432
Database = kaldor_sqlserver
INI
export ODBCSYSINI="$work" ODBCINI="$work/odbc.ini" KALDOR_PG_SOCKET_DIR="$work" KALDOR_PG_BIN="$bin"
set +e
"$@"
status=$?
set -e
exit "$status"
