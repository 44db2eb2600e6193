#!/usr/bin/env python3
"""Fills a freshly created stand-in database with a large, plausible web configuration.

usage: generate_large_db.py DBFILE anywhere|sqlserver [--users N] [--fields N]
                            [--reports N] [--groups N] [--browsers N] [--seed S]

DBFILE must have been made by `kaldor-standin-admin create DBFILE DIALECT` and still be
empty. The file is attached as schema `mt` (its view refers to `mt.me2_customiz`, so the
file cannot be opened on its own). Everything is written in one transaction; the same seed
gives the same database. Python 3 standard library only.
"""

import argparse
import os
import random
import sqlite3
import sys

# Field number prefixes: record type, data-entry form code, share of the generated fields.
FIELD_KINDS = [
    ("42", "2", 30),  # inventory
    ("23", "3", 25),  # calibration
    ("CC", "3", 5),  # calibration, extra
    ("28", "4", 15),  # location
    ("32", "5", 15),  # maintenance
    ("46", "6", 10),  # customer
]

# Validation table form numbers by field prefix (SPVAL rows of mt.me2_customiz).
SPVAL_FORMS = {"42": "7", "23": "8", "28": "9", "32": "10", "46": "11"}
VALIDATION_TABLES = {"7": "INVENTORY", "8": "CALIBRATION", "9": "LOCATION",
                     "10": "REPAIR", "11": "CUSTOMERS"}
VIZ_TABLES = {"INVENTORY": "mt.inventory", "CALIBRATION": "mt.calibration",
              "LOCATION": "mt.location", "REPAIR": "mt.repair", "CUSTOMERS": "mt.customers"}

# One word in English, German, Spanish, French and Italian: the five title columns.
TITLE_WORDS = [
    ("Asset", "Anlage", "Activo", "Actif", "Cespite"),
    ("Date", "Datum", "Fecha", "Date", "Data"),
    ("Number", "Nummer", "Número", "Numéro", "Numero"),
    ("Status", "Status", "Estado", "Statut", "Stato"),
    ("Cost", "Kosten", "Costo", "Coût", "Costo"),
    ("Location", "Standort", "Ubicación", "Emplacement", "Ubicazione"),
    ("Technician", "Techniker", "Técnico", "Technicien", "Tecnico"),
    ("Remark", "Bemerkung", "Observación", "Remarque", "Osservazione"),
    ("Interval", "Intervall", "Intervalo", "Intervalle", "Intervallo"),
    ("Supplier", "Lieferant", "Proveedor", "Fournisseur", "Fornitore"),
    ("Tolerance", "Toleranz", "Tolerancia", "Tolérance", "Tolleranza"),
    ("Procedure", "Verfahren", "Procedimiento", "Procédure", "Procedura"),
    ("Customer", "Kunde", "Cliente", "Client", "Cliente"),
    ("Owner's Note", "Notiz des Eigentümers", "Nota del dueño", "Note du propriétaire",
     "Nota del proprietario"),
]
FIELD_TYPES = ["TEXT", "TEXT", "DATE", "NUMBER", "COMBO", "MEMO"]

FIRST_NAMES = ["Anna", "Bjørn", "Chloé", "David", "Elena", "François", "Giulia", "Hans",
               "Iñigo", "Jana", "Klaus", "Lena", "María", "Niamh", "Olof", "Piotr", "Rahul",
               "Séamus", "Tanya", "Ursula", "Walter", "Xiu", "Yusuf", "Zoë"]
LAST_NAMES = ["Müller", "García", "O'Brien", "Dubois", "Rossi", "Nielsen", "Kowalski",
              "Patel", "Nguyen", "Schröder", "López", "Lefèvre", "Bianchi", "Karlsson",
              "Smith", "Zhang", "Voß", "Fernández", "Jackson", "Williams"]
SEGREGATES = ["MT", "LAB", "QA", "PRODUCTION", "EXTERNAL", "SHIPPING", "SITE NORTH",
              "SITE SOUTH", "SUBCONTRACT", "ARCHIVE"]
GROUP_WORDS = ["LAB", "QA", "CUSTOMERS", "GUESTS", "MANAGEMENT", "CONTRACTORS", "SERVICE",
               "AUDIT", "PLANT", "DEPOT"]
REPORT_TOPICS = ["Calibrations Due", "Overdue Instruments", "Asset History",
                 "Out of Tolerance Results", "Equipment at Location", "Repair Costs",
                 "Technician Workload", "Customer Assets", "Recall List", "Certificates",
                 "Downtime Summary", "Supplier Performance"]
OUTPUTS = [".PDF - Adobe Acrobat Reader", ".XLS - M/S Excel or Open Office SCALC",
           ".HTML - Standard HTML 4.01", ".DOC - MicroSoft Word or Open Office",
           ".TEXT - Standard Text", ".RPT - Crystal Reports", ".RTF - Rich Text"]
PAGES = [("Login Form", "login.css"), ("Action Selection Form", "action.css"),
         ("Search Screen", "search.css"), ("Tree View", "tree.css"),
         ("Inventory Form", "inventory.css"), ("Calibration Form", "calibration.css"),
         ("Cal Records List", "calrecords.css"), ("Location Form", "location.css"),
         ("Repair Form", "repair.css"), ("Results Form", "results.css"),
         ("Full Results Form", "fullresults.css"), ("Customer Form", "customer.css"),
         ("Merge Form", "merge.css"), ("Report List", "reportlist.css"),
         ("Authentication Pass", "authpass.css"), ("Authentication Fail", "authfail.css"),
         ("Report Prompts", "prompts.css")]
COLOURS = ["", "", "#FFFFFF", "#F0F8FF", "E0FFFF", "#F5F5DC", "#DCDCDC", "#000080"]
BROWSERS = ["Internet Explorer", "Mozilla Firefox", "Google Chrome", "Safari", "Opera"]
RESULT_FIELDS = [("nominal", "Nominal Value"), ("reading", "Reading"),
                 ("tol_err", "Tolerance Error %"), ("test_status", "Test Status"),
                 ("tur", "Test Uncertainty Ratio"), ("remark", "Remarks"),
                 ("test_desc", "Test Description")]

USER_COLUMNS = {"anywhere": ("i4240", "name"), "sqlserver": ("Segregate", "mtname")}


def yes_no(rng, p_yes):
    return "Y" if rng.random() < p_yes else "N"


class Generator:
    """Builds the rows of every table from one seeded random generator."""

    def __init__(self, db, dialect, seed):
        self.db = db
        self.dialect = dialect
        self.rng = random.Random(seed)
        self.counts = {}
        self.groups = []
        self.users = []
        self.fields = []  # (fldnum, form code)
        self.spval = {}  # form number -> list of data columns
        self.browsers = list(BROWSERS)

    def insert(self, table, columns, rows):
        rows = list(rows)
        sql = "INSERT INTO mt.%s (%s) VALUES (%s)" % (
            table, ", ".join(columns), ", ".join("?" * len(columns)))
        self.db.executemany(sql, rows)
        self.counts[table] = self.counts.get(table, 0) + len(rows)

    # The calibration database's own tables and the single-row tables.
    def basics(self):
        self.insert("dbconfig", ["version"], [("6.0",)])
        self.insert("segregate", ["i4240"], [(s,) for s in SEGREGATES])
        self.insert("desktop", ["desktop"], [("default",), ("Desktop 2",), ("Desktop 3",)])
        self.insert("qrb_zv_system_configuration",
                    ["require_login", "desktop", "title", "ODBC", "SPath", "SDrive",
                     "autoLayout", "Diags", "Browser"],
                    [("Y", "default", "title", "Calibration Data", "VIZIDOV\\", "C:\\", "Off",
                      "Off", BROWSERS[0])])
        self.insert("qrb_zv_tree_config", ["max_rows_display"], [("25",)])
        self.insert("qrb_zv_result_header", ["header"],
                    [("Test Point | Nominal | As Found | As Left | Tol. Err % | Status",)])
        self.insert("qrb_zv_browser_list", ["browser_id"], [(b,) for b in self.browsers])
        self.insert("qrb_zv_page_configuration",
                    ["web_page", "style_sheet", "wallpaper", "background"],
                    [(page, sheet, "", self.rng.choice(COLOURS)) for page, sheet in PAGES])

    def make_groups(self, count):
        self.groups = ["MT"] + ["%s %03d" % (GROUP_WORDS[i % len(GROUP_WORDS)], i + 1)
                                for i in range(max(0, count - 1))]
        rows = []
        for group in self.groups:
            r = self.rng
            ages = []
            for _ in range(3):
                ages += [str(r.randint(0, 36)), r.choice("DMY")]
            rows.append((group, yes_no(r, 0.1), yes_no(r, 0.9), yes_no(r, 0.7), yes_no(r, 0.5),
                         yes_no(r, 0.9), yes_no(r, 0.6), yes_no(r, 0.6), ages[0], ages[1],
                         yes_no(r, 0.7), yes_no(r, 0.5), ages[2], ages[3], yes_no(r, 0.6),
                         yes_no(r, 0.4), ages[4], ages[5]))
        self.insert("qrb_zv_groupconfig",
                    ["group_id", "zv_inhibit_use", "inv_data_display", "view_merge_data",
                     "customer_data_display", "cal_data_display", "cal_show_latest",
                     "cal_show_results", "cal_data_old_number", "cal_data_old_type",
                     "loc_data_display", "loc_show_latest", "loc_data_old_number",
                     "loc_data_old_type", "rep_data_display", "rep_show_latest",
                     "rep_data_old_number", "rep_data_old_type"], rows)

    def make_users(self, count):
        segregate_column, name_column = USER_COLUMNS[self.dialect]
        rows = [("kaldor", "5", "MT", "KALDOR Web Application")]
        self.users = []
        for n in range(1, count):
            first, last = self.rng.choice(FIRST_NAMES), self.rng.choice(LAST_NAMES)
            user = "u%06d" % n
            self.users.append(user)
            level = None if self.rng.random() < 0.01 else str(self.rng.randint(0, 5))
            rows.append((user, level, self.rng.choice(SEGREGATES), first + " " + last))
        self.insert("userlist", ["mtuser", "mtlevel", segregate_column, name_column], rows)
        web = [(u, self.rng.choice(self.groups), yes_no(self.rng, 0.05))
               for u in self.users if self.rng.random() < 0.9]
        web += [("gone%04d" % n, self.rng.choice(self.groups), "N") for n in range(10)]
        self.insert("qrb_zv_userlist", ["mtuser", "group_id", "zv_inhibit_use"], web)

    def session_row(self, group, user):
        r = self.rng
        dates = (None, None)
        if r.random() < 0.5:
            dates = ("2024-%02d-01" % r.randint(1, 12), "2026-%02d-28" % r.randint(1, 12))
        times = (None, None)
        if r.random() < 0.5:
            times = ("%d:%s" % (r.randint(5, 9), r.choice(["00", "15", "30", "45"])),
                     "%d:%s" % (r.randint(16, 23), r.choice(["00", "15", "30", "45"])))
        return (group, user) + dates + times + (str(r.randint(0, 10)), yes_no(r, 0.7))

    def make_sessions(self):
        rows = [self.session_row(g, None) for g in self.groups if self.rng.random() < 0.3]
        rows += [self.session_row(None, u) for u in self.users if self.rng.random() < 0.02]
        self.insert("qrb_zv_session_config",
                    ["group_id", "mtuser", "start_date", "end_date", "start_time", "end_time",
                     "max_open_sessions", "end_on_close"], rows)

    # Field numbers: four characters while a prefix has fewer than 100 fields, then longer.
    def make_field_numbers(self, count):
        total = sum(share for _, _, share in FIELD_KINDS)
        for prefix, form, share in FIELD_KINDS:
            n = max(1, count * share // total)
            width = max(4, len(str(n)))
            for i in range(1, n + 1):
                digits = "%02d" % i if i < 100 else str(i).zfill(width)
                self.fields.append((prefix + digits, form))

    def titles(self, fldnum):
        word = self.rng.choice(TITLE_WORDS)
        return tuple("%s %s" % (w, fldnum) for w in word)

    def make_fields(self, count):
        self.make_field_numbers(count)
        layout, catalogue = [], []
        for fldnum, form in self.fields:
            titles = self.titles(fldnum)
            catalogue.append((fldnum, titles[0]))
            stored_form = "1" if fldnum == "2340" else form
            base = (fldnum,) + titles + (str(self.rng.randint(1, 40)), str(self.rng.randint(1, 3)),
                             str(self.rng.randint(3, 60)))
            ftype = self.rng.choice(FIELD_TYPES)
            layout.append(base + (stored_form, ftype, "default", yes_no(self.rng, 0.05), None))
            if self.rng.random() < 0.1:
                layout.append(base + ("0", ftype, "default", "N", None))
            for desktop in ("Desktop 2", "Desktop 3"):
                if self.rng.random() < 0.05:
                    layout.append(base + (stored_form, ftype, desktop, yes_no(self.rng, 0.2),
                                          None))
            spval = SPVAL_FORMS.get(fldnum[:2])
            if spval and len(self.spval.setdefault(spval, [])) < 40 and self.rng.random() < 0.2:
                self.spval[spval].append("i" + fldnum)
                layout.append((fldnum,) + titles + ("0", "0", "20", spval, "SPVAL", "default", "N",
                                        "i" + fldnum))
        self.insert("me2_customiz",
                    ["fldnum", "title", "title2", "title3", "title4", "title5", "row", "col",
                     "len", "fform", "ftype", "desktop", "suppressed", "datacol"], layout)
        self.insert("customiz", ["fldnum", "title"], catalogue + RESULT_FIELDS)

    def offsets(self):
        return tuple(str(self.rng.randint(-20, 20)) for _ in range(3))

    def make_field_settings(self):
        r = self.rng
        general, browser, inhibit = [], [], []
        for fldnum, form in self.fields:
            form = "3" if fldnum == "2340" else form
            if r.random() < 0.5:
                general.append((fldnum, form) + self.offsets())
            if r.random() < 0.05:
                browser.append((fldnum, r.choice(self.browsers)) + self.offsets() + (form,))
            if len(self.groups) > 1 and r.random() < 0.1:
                for group in r.sample(self.groups[1:], min(3, len(self.groups) - 1)):
                    inhibit.append((fldnum, group))
        self.insert("qrb_zv_general_offsets",
                    ["fldnum", "fform", "general_field_title_x", "general_field_data_x",
                     "general_field_data_y"], general)
        self.insert("qrb_zv_browser_offsets",
                    ["fldnum", "browser_id", "browser_field_title_x", "browser_field_data_x",
                     "browser_field_data_y", "fform"], browser)
        self.insert("qrb_zv_fields_group_inhibit", ["fldnum", "group_id"], inhibit)
        tree = r.sample(self.fields, min(30, len(self.fields)))
        self.insert("qrb_zv_tree_fields", ["fldnum", "len"],
                    [(f, str(r.randint(5, 40))) for f, _ in tree] +
                    [("tol_err", "8"), ("test_status", "6"), ("tur", "6")])

    # A tag as the report editor makes it: six letters a-y, ':', year, day, number; 15 chars.
    def report_tag(self, taken):
        while True:
            letters = "".join(chr(97 + self.rng.randrange(25)) for _ in range(6))
            tag = ("%s:%s%d%d" % (letters, "24", self.rng.randint(1, 366),
                                  self.rng.randint(1000, 10998)))[:15].upper()
            if tag not in taken:
                taken.add(tag)
                return tag

    def prompt(self, tag, seq, prompt_string):
        r = self.rng
        kind = r.choice("DNSTSS")
        db, table, column, custom, force = "N", "NONE", "NONE", "N", "N"
        values = []
        forms = sorted(f for f, columns in self.spval.items() if columns)
        if kind == "S" and r.random() < 0.5 and forms:
            form = r.choice(forms)
            db, table, column = "Y", VALIDATION_TABLES[form], r.choice(self.spval[form])
        if kind == "S" and r.random() < 0.4:
            custom, force = "Y", r.choice("PV")
            values = [(tag, prompt_string, "Value %d - %s" % (v, r.choice(LAST_NAMES)))
                      for v in range(r.randint(2, 15))]
        default = {"D": "2024-01-01", "N": "0", "T": "8:00", "S": ""}[kind]
        row = (tag, prompt_string, "Enter value %d for the report" % seq, default, kind, db,
               table, column, custom, force, str(seq))
        return row, values

    def make_reports(self, count):
        r = self.rng
        reports, prompts, values, assigned = [], [], [], []
        taken = set()
        for n in range(1, count + 1):
            tag = self.report_tag(taken)
            name = "%s %05d" % (r.choice(REPORT_TOPICS), n)
            strings = ["$P%d$" % i for i in range(1, r.choice([0, 0, 1, 2, 3, 4, 6, 10, 20]) + 1)]
            for seq, prompt_string in enumerate(strings, 1):
                row, vals = self.prompt(tag, seq, prompt_string)
                prompts.append(row)
                values += vals
            if r.random() < 0.75:
                table = r.choice(sorted(VIZ_TABLES.values()))
                where = " and ".join("i%d = '%s'" % (4200 + i, s) for i, s in enumerate(strings))
                sql = "select * from %s%s" % (table, " where " + where if where else "")
                reports.append((name, "S", tag, yes_no(r, 0.5), sql, None, None))
            else:
                reports.append((name, "C", tag, "N", None, "Report%05d.rpt" % n,
                                r.choice(OUTPUTS + [None])))
            if r.random() < 0.8:
                for group in r.sample(self.groups, min(len(self.groups), r.randint(1, 5))):
                    assigned.append((group, tag))
        self.insert("qrb_zv_reports",
                    ["report_name", "report_type", "zvrtag", "sql_link", "report_sql",
                     "report_filename", "report_out"], reports)
        self.insert("qrb_zv_report_prompts",
                    ["zvrtag", "prompt_string", "prompt", "default_value", "prompt_type",
                     "db_validation", "validation_table", "validation_column",
                     "custom_validation", "force_validation", "sequence"], prompts)
        self.insert("qrb_zv_prompt_validation", ["zvrtag", "prompt_string", "val"], values)
        self.insert("qrb_zv_group_reports", ["group_id", "zvrtag"], assigned)


def parse_args(argv):
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("dbfile")
    parser.add_argument("dialect", choices=sorted(USER_COLUMNS))
    parser.add_argument("--users", type=int, default=20000)
    parser.add_argument("--fields", type=int, default=20000)
    parser.add_argument("--reports", type=int, default=2000)
    parser.add_argument("--groups", type=int, default=50)
    parser.add_argument("--browsers", type=int, default=len(BROWSERS),
                        help="how many browsers (1 to %d)" % len(BROWSERS))
    parser.add_argument("--seed", type=int, default=1)
    args = parser.parse_args(argv)
    if not 1 <= args.browsers <= len(BROWSERS):
        parser.error("--browsers must be from 1 to %d" % len(BROWSERS))
    for name in ("users", "fields", "reports", "groups"):
        if getattr(args, name) < 1:
            parser.error("--%s must be at least 1" % name)
    return args


def check_database(db, dialect):
    """Returns an error text, or None when the file is a fresh database of the dialect."""
    columns = [row[1] for row in db.execute("PRAGMA mt.table_info(userlist)")]
    if not columns:
        return "no table mt.userlist: not a stand-in database"
    wanted = USER_COLUMNS[dialect]
    if not all(c in columns for c in wanted):
        return "mt.userlist has columns %s, not those of dialect %s" % (columns, dialect)
    for table in ("userlist", "qrb_zv_groupconfig", "qrb_zv_reports", "me2_customiz"):
        if db.execute("SELECT count(*) FROM mt.%s" % table).fetchone()[0]:
            return "mt.%s is not empty: the database is not freshly created" % table
    return None


def main(argv):
    args = parse_args(argv)
    if not os.path.isfile(args.dbfile):
        sys.stderr.write("generate_large_db.py: no such database file: %s\n" % args.dbfile)
        return 1
    db = sqlite3.connect(":memory:", isolation_level=None)
    try:
        db.execute("ATTACH DATABASE ? AS mt", (args.dbfile,))
        error = check_database(db, args.dialect)
        if error:
            sys.stderr.write("generate_large_db.py: %s\n" % error)
            return 1
        gen = Generator(db, args.dialect, args.seed)
        gen.browsers = BROWSERS[:args.browsers]
        db.execute("BEGIN")
        gen.basics()
        gen.make_groups(args.groups)
        gen.make_users(args.users)
        gen.make_sessions()
        gen.make_fields(args.fields)
        gen.make_field_settings()
        gen.make_reports(args.reports)
        db.execute("COMMIT")
    except sqlite3.Error as e:
        if db.in_transaction:
            db.execute("ROLLBACK")
        sys.stderr.write("generate_large_db.py: %s\n" % e)
        return 1
    finally:
        db.close()
    for table in sorted(gen.counts):
        print("%-30s %8d" % ("mt." + table, gen.counts[table]))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
