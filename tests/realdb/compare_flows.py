#!/usr/bin/env python3
"""Runs scenario flows written for the stand-in against a real server through its ODBC driver,
and compares each transcript with the flow's golden transcript.

Each flow gets a fresh mt schema (schema script, then the demo data when the flow seeds it) and
runs with `engine odbc` on the data source "Calibration Data": for a flow of the SQL Anywhere
dialect (NAME_anywhere) the one of that name, on the database kaldor; for one of the SQL Server
dialect (NAME_sqlserver) "Calibration Data SQL Server", on the database kaldor_sqlserver, whose
user list has the SQL Server column names. The transcripts must agree line
by line, except that the engine and seed lines are left out, and so are the drivers' records
that a failed login writes to the error log (each driver words them its own way), so are the
server's records (DBERROR) at the end of the error routine's message, a query's rows
(ROW lines) are compared as a set because the servers return rows in an order of their own, and
column names regardless of case (PostgreSQL folds them to lower case).

Usage: compare_flows.py RUNNER FLOW_LIST SCENARIO_DIR SCHEMA_SQL DEMO_DIR
FLOW_LIST names one flow per line (blank lines and # comments ignored). Environment:
KALDOR_PG_BIN and KALDOR_PG_SOCKET_DIR (set by with-postgres.sh).
"""
import os
import re
import shutil
import subprocess
import sys
import tempfile

ROW_COLUMN = re.compile(r'(^ROW |\| )([^=|]+)=')
# A driver record that a failed login adds to the error log: the driver's own words.
DRIVER_RECORD = re.compile(r'^(ERRORLOG )?\[[-0-9 :]+\] SQLSTATE: ')
# The server's records in the error routine's message: its own numbers and words.
SERVER_RECORDS = re.compile(r'\\r\\nDBERROR: .*(?=" -> )')


class Dialect:
    def __init__(self, name):
        self.sqlserver = '_sqlserver' in name
        self.database = 'kaldor_sqlserver' if self.sqlserver else 'kaldor'
        self.users = 'users-sqlserver.sql' if self.sqlserver else 'users-anywhere.sql'
        self.source = 'Calibration Data SQL Server' if self.sqlserver else 'Calibration Data'


def psql(dialect, *args):
    cmd = [os.path.join(os.environ['KALDOR_PG_BIN'], 'psql'), '-X', '-q', '-v', 'ON_ERROR_STOP=1',
           '-h', os.environ['KALDOR_PG_SOCKET_DIR'], '-U', 'postgres', '-d', dialect.database,
           *args]
    env = dict(os.environ, PGOPTIONS='-c client_min_messages=warning')
    subprocess.run(cmd, check=True, stdout=subprocess.DEVNULL, env=env)


def prepare(dialect, script_lines, schema, demo_dir, fixtures_dir):
    """Recreates the schema with the data the flow seeds; returns the flow for engine odbc."""
    psql(dialect, '-c', 'drop schema if exists mt cascade')
    psql(dialect, '-f', schema)
    if dialect.sqlserver:
        psql(dialect, '-c', 'alter table mt.userlist rename column i4240 to segregate',
             '-c', 'alter table mt.userlist rename column name to mtname')
    flow = []
    for line in script_lines:
        words = line.split()
        if words[:1] == ['engine']:
            flow.append('engine odbc\n')
        elif words[:1] == ['seed']:
            if words[1] == 'demo':
                files = [os.path.join(demo_dir, 'demo.sql'), os.path.join(demo_dir, dialect.users)]
            else:
                files = [os.path.join(fixtures_dir, words[1].replace('@FIXTURES@', fixtures_dir))]
            for f in files:
                psql(dialect, '-1', '-f', f)
            flow.append('# ' + line)  # in its place, so that script errors name the same line
        else:
            for token, value in (('@FIXTURES@', fixtures_dir),
                                 ('@SEGREGATE@', 'Segregate' if dialect.sqlserver else 'i4240'),
                                 ('@USERNAME@', 'mtname' if dialect.sqlserver else 'name')):
                line = line.replace(token, value)
            flow.append(line)
    return flow


def script_lines(scenario_dir, name):
    """The lines of the test NAME's script as the scenario harness runs them: NAME.scn, or
    BASE.scn for BASE_ENGINE (a script run under both engines), BASE_VALUE or BASE_ENGINE_VALUE
    (a script run once for each value of its "# @WORD@: V1 V2 ..." line, VALUE for @WORD@)."""
    head, _, value = name.rpartition('_')
    for base, value in ((name, None), (head, value)):
        for stem in (base, base.removesuffix('_anywhere').removesuffix('_sqlserver')):
            path = os.path.join(scenario_dir, stem + '.scn')
            if not os.path.exists(path):
                continue
            with open(path, encoding='utf-8') as f:
                lines = f.readlines()
            if value is None:
                return lines
            for line in lines:
                each = re.match(r'# (@[A-Z]+@): (.*)$', line)
                if each and value in each.group(2).split():
                    return [l.replace(each.group(1), value) for l in lines]
    raise FileNotFoundError(f'no script runs as {name}')


def column(name):
    """A column's name as both servers would agree on it: lower case, and an aggregate named
    by its function alone (PostgreSQL names count(*) "count")."""
    return name.lower().removesuffix('(*)')


def normalized(transcript):
    lines = [l for l in transcript.splitlines()
             if not l.startswith('> engine ') and not l.startswith('> seed ')
             and not DRIVER_RECORD.match(l)]
    result, rows = [], []
    for line in lines + ['']:
        if line.startswith('ROW '):
            rows.append(ROW_COLUMN.sub(lambda m: m.group(1) + column(m.group(2)) + '=', line))
            continue
        result.extend(sorted(rows))
        rows = []
        result.append(SERVER_RECORDS.sub(r"\\r\\nDBERROR: (the server's records)", line))
    return result[:-1]


def main():
    runner, flow_list, scenario_dir, schema, demo_dir = map(os.path.abspath, sys.argv[1:6])
    fixtures_dir = os.path.join(scenario_dir, 'fixtures')
    names = [l.split('#')[0].strip() for l in open(flow_list, encoding='utf-8')]
    names = [n for n in names if n]
    if not names:
        print(f'no flows listed in {flow_list}')
        return 1
    failed = []
    with tempfile.TemporaryDirectory() as work:
        sysini = os.environ['ODBCSYSINI']
        shutil.copy(os.path.join(sysini, 'odbcinst.ini'), work)
        with open(os.environ['ODBCINI'], encoding='utf-8') as f:
            sections = ['[' + s.lstrip('[') for s in f.read().split('\n[')]
        for name in names:
            dialect = Dialect(name)
            # An ODBC configuration with only the data source the flow logs in to, named as the
            # flows name it.
            odbc_ini = os.path.join(work, 'odbc.ini')
            with open(odbc_ini, 'w', encoding='utf-8') as f:
                f.write('\n'.join('[Calibration Data]' + s.split(']', 1)[1] for s in sections
                                  if s.startswith('[' + dialect.source + ']')))
            env = dict(os.environ, ODBCSYSINI=work, ODBCINI=odbc_ini)
            flow = prepare(dialect, script_lines(scenario_dir, name), schema, demo_dir,
                           fixtures_dir)
            path = os.path.join(work, name + '.scn')
            with open(path, 'w', encoding='utf-8') as f:
                f.writelines(flow)
            run = subprocess.run([runner, path], cwd=work, capture_output=True, text=True,
                                 timeout=300, env=env)
            with open(os.path.join(scenario_dir, name + '.out'), encoding='utf-8') as f:
                expected = normalized(f.read())
            transcript = run.stdout.replace(fixtures_dir, '@FIXTURES@')
            actual = normalized(transcript + f'EXIT {run.returncode}\n')
            if actual == expected:
                print(f'same: {name}')
                continue
            failed.append(name)
            print(f'DIFFERENT: {name}')
            with open(os.path.join(work, 'expected'), 'w', encoding='utf-8') as f:
                f.write('\n'.join(expected) + '\n')
            with open(os.path.join(work, 'actual'), 'w', encoding='utf-8') as f:
                f.write('\n'.join(actual) + '\n')
            diff = subprocess.run(['diff', '-u', 'expected', 'actual'], cwd=work,
                                  capture_output=True, text=True)
            print(diff.stdout[:20000])
            if run.stderr:
                print(run.stderr[:4000])
    print(f'{len(names) - len(failed)} of {len(names)} flows the same on the real server')
    return 1 if failed else 0


if __name__ == '__main__':
    sys.exit(main())
