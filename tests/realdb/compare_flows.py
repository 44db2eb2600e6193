#!/usr/bin/env python3
"""Runs scenario flows written for the stand-in's SQL Anywhere dialect against a real server
through its ODBC driver, and compares each transcript with the flow's golden transcript.

Each flow gets a fresh mt schema (schema script, then the demo data when the flow seeds it) and
runs with `engine odbc` on the data source "Calibration Data". The transcripts must agree line
by line, except that the engine and seed lines are left out, a query's rows (ROW lines) are
compared as a set because the servers return rows in an order of their own, and column names
regardless of case (PostgreSQL folds them to lower case).

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


def psql(*args):
    cmd = [os.path.join(os.environ['KALDOR_PG_BIN'], 'psql'), '-X', '-q', '-v', 'ON_ERROR_STOP=1',
           '-h', os.environ['KALDOR_PG_SOCKET_DIR'], '-U', 'postgres', '-d', 'kaldor', *args]
    env = dict(os.environ, PGOPTIONS='-c client_min_messages=warning')
    subprocess.run(cmd, check=True, stdout=subprocess.DEVNULL, env=env)


def prepare(script_lines, schema, demo_dir, fixtures_dir):
    """Recreates the schema with the data the flow seeds; returns the flow for engine odbc."""
    psql('-c', 'drop schema if exists mt cascade')
    psql('-f', schema)
    flow = []
    for line in script_lines:
        words = line.split()
        if words[:1] == ['engine']:
            flow.append('engine odbc\n')
        elif words[:1] == ['seed']:
            if words[1] == 'demo':
                files = [os.path.join(demo_dir, 'demo.sql'),
                         os.path.join(demo_dir, 'users-anywhere.sql')]
            else:
                files = [os.path.join(fixtures_dir, words[1])]
            for f in files:
                psql('-1', '-f', f)
        else:
            flow.append(line.replace('@FIXTURES@', fixtures_dir))
    return flow


def column(name):
    """A column's name as both servers would agree on it: lower case, and an aggregate named
    by its function alone (PostgreSQL names count(*) "count")."""
    return name.lower().removesuffix('(*)')


def normalized(transcript):
    lines = [l for l in transcript.splitlines()
             if not l.startswith('> engine ') and not l.startswith('> seed ')]
    result, rows = [], []
    for line in lines + ['']:
        if line.startswith('ROW '):
            rows.append(ROW_COLUMN.sub(lambda m: m.group(1) + column(m.group(2)) + '=', line))
            continue
        result.extend(sorted(rows))
        rows = []
        result.append(line)
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
        # An ODBC configuration with only the data source the flows log in to.
        sysini = os.environ['ODBCSYSINI']
        shutil.copy(os.path.join(sysini, 'odbcinst.ini'), work)
        odbc_ini = os.path.join(work, 'odbc.ini')
        with open(os.environ['ODBCINI'], encoding='utf-8') as f:
            sections = f.read().split('\n[')
        with open(odbc_ini, 'w', encoding='utf-8') as f:
            f.write('\n'.join('[' + s.lstrip('[') for s in sections
                              if s.lstrip('[').startswith('Calibration Data]')))
        env = dict(os.environ, ODBCSYSINI=work, ODBCINI=odbc_ini)
        for name in names:
            script = os.path.join(scenario_dir, name + '.scn')
            if not os.path.exists(script):  # one script run under both engines
                script = os.path.join(scenario_dir, name.removesuffix('_anywhere') + '.scn')
            with open(script, encoding='utf-8') as f:
                flow = prepare(f.readlines(), schema, demo_dir, fixtures_dir)
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
