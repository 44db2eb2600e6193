#!/usr/bin/env bash
# Runs a command with a project-local ODBC configuration naming FreeTDS (package tdsodbc) under
# a driver name containing "SQL Server" and the data source "TDS Closed Port", which points at a
# loopback port that nothing listens on, "Calibration Data", the same for the scenario runner, and
# "TDS Silent Server", a loopback listener that accepts connections and never answers. Exits 77 (skipped under CTest) when tdsodbc is missing; fails instead when CI=true.
set -euo pipefail
. "$(dirname "$0")/../skip.sh"
driver="$(ls /usr/lib/*/odbc/libtdsodbc.so 2>/dev/null | head -n 1 || true)"
[ -n "$driver" ] || skip "package tdsodbc is not installed"
work="$(mktemp -d /tmp/kaldor-tds.XXXXXX)"
listener=''
cleanup() {
    [ -n "$listener" ] && kill "$listener" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
# A server that accepts every connection on a loopback port and never answers.
python3 -c '
import socket, sys
s = socket.socket(); s.bind(("127.0.0.1", 0)); s.listen(16)
print(s.getsockname()[1], flush=True)
held = []
while True:
    held.append(s.accept()[0])
' >"$work/silent.port" &
listener=$!
for _ in $(seq 100); do [ -s "$work/silent.port" ] && break; sleep 0.05; done
silent_port="$(cat "$work/silent.port")"
# A port the system just handed out and took back: closed, as long as nobody takes it meanwhile.
port="$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1]); s.close()')"
cat >"$work/odbcinst.ini" <<INI
[FreeTDS for SQL Server]
Description = FreeTDS
Driver = $driver
INI
cat >"$work/odbc.ini" <<INI
[TDS Closed Port]
Description = SQL Server through FreeTDS, nobody listening
Driver = FreeTDS for SQL Server
Server = 127.0.0.1
Port = $port
TDS_Version = 7.4
[TDS Silent Server]
Description = SQL Server through FreeTDS, a server that never answers
Driver = FreeTDS for SQL Server
Server = 127.0.0.1
Port = $silent_port
TDS_Version = 7.4
[Calibration Data]
Description = SQL Server through FreeTDS, nobody listening
Driver = FreeTDS for SQL Server
Server = 127.0.0.1
Port = $port
TDS_Version = 7.4
INI
export ODBCSYSINI="$work" ODBCINI="$work/odbc.ini" KALDOR_TDS_DSN="TDS Closed Port"
set +e
"$@"
status=$?
set -e
exit "$status"
