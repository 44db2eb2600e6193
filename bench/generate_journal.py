#!/usr/bin/env python3
"""Writes a change journal of many lines, as several administrators' saves over months leave it.

usage: generate_journal.py PATH [--lines N]   (N: 100000)

Each line is one JSON object as the program journals a statement: the saves of the groups,
users, session privileges and report windows, kaldor-config imports, and now and then a
failure. The same lines every time (a fixed random seed).
"""

import argparse
import datetime
import json
import random


def statements(rng):
    group = rng.choice(["LAB", "MT", "QA", "CAL%02d" % rng.randrange(60)])
    user = "user%04d" % rng.randrange(5000)
    report = rng.choice(["Due List", "Overdue", "History %d" % rng.randrange(300)])
    columns = ", ".join("c%d = '%d'" % (i, rng.randrange(100)) for i in range(14))
    return rng.choice([
        ("FormEditGroups,CommandSave",
         "update mt.qrb_zv_groupconfig set %s where group_id = '%s';commit" % (columns, group)),
        ("FormEditUsers,CommandSave",
         "update mt.qrb_zv_users set real_name = 'User %s', mtgroup = '%s' where mtname = '%s';"
         "commit" % (user, group, user)),
        ("FormAccess,CommandSave",
         "Begin Transaction; delete from mt.qrb_zv_session_config where group_id = '%s';"
         "insert into mt.qrb_zv_session_config(group_id,max_sessions) values ('%s','5');commit"
         % (group, group)),
        ("FormReports,CommandSave",
         "update mt.qrb_zv_reports set report_sql = 'select * from mt.due where d < ''%d''' "
         "where report_name = '%s';commit" % (rng.randrange(10000), report)),
        ("FormReports,CommandDonePrompt",
         "insert into mt.qrb_zv_report_prompts(zvrtag,prompt_text) values ('%d','%s');commit"
         % (rng.randrange(10**6), report)),
        ("kaldor-config,import",
         "delete from mt.qrb_zv_reports where report_name = '%s'" % report),
    ])


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("path")
    parser.add_argument("--lines", type=int, default=100000)
    args = parser.parse_args()
    rng = random.Random(7)
    time = datetime.datetime(2026, 1, 5, 7, 0, 0)
    with open(args.path, "w", encoding="utf-8") as out:
        for _ in range(args.lines):
            time += datetime.timedelta(seconds=rng.randrange(1, 600))
            action, sql = statements(rng)
            entry = {
                "time": time.strftime("%Y-%m-%dT%H:%M:%S.") + "%03dZ" % rng.randrange(1000),
                "computer": rng.choice(["LAB-PC1", "LAB-PC2", "QA-LAPTOP"]),
                "os_user": rng.choice(["jo", "sam", "alex"]),
                "db_user": rng.choice(["admin", "jo", "sam"]),
                "data_source": rng.choice(["Calibration Data", "Calibration Test"]),
                "dialect": "SQL Anywhere",
                "action": action,
                "statement": sql,
                "outcome": "ok",
            }
            if rng.randrange(200) == 0:
                entry["outcome"] = "error"
                entry["error_native"] = -193
                entry["error_message"] = "Primary key for table 'qrb_zv_users' is not unique"
            out.write(json.dumps(entry, separators=(",", ":")) + "\n")


if __name__ == "__main__":
    main()
