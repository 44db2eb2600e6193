-- Demo configuration of a small calibration laboratory: groups, reports with prompts,
-- session privileges, field layouts on three desktops, tree view, web pages and results
-- header. Plain SQLite SQL for a freshly created stand-in database whose file is attached as
-- schema mt; it runs unchanged on either dialect. The users of mt.userlist are in
-- users-anywhere.sql or users-sqlserver.sql (their column names differ by dialect).
-- The script opens no transaction of its own: the loader wraps it in one.
-- Every value is text, yes/no values are 'Y' and 'N'.

-- ---------------------------------------------------------------------------------------
-- The calibration database itself: version, segregates, desktops.
-- ---------------------------------------------------------------------------------------
INSERT INTO mt.dbconfig (version) VALUES ('6.0');

INSERT INTO mt.segregate (i4240) VALUES
    ('MT'), ('LAB'), ('QA'), ('PRODUCTION'), ('EXTERNAL'), ('SHIPPING');

INSERT INTO mt.desktop (desktop) VALUES ('default'), ('Metrology Lab'), ('Service Desk');

-- ---------------------------------------------------------------------------------------
-- Field catalogue. Every field is described once in a scratch table with its titles in the
-- five languages (English, German, Spanish, French, Italian) and its place on its data-entry
-- form; the desktops below are laid out from it. Field numbers: 42xx inventory (form 2),
-- 23xx and CCxx calibration (form 3), 28xx location (form 4), 32xx maintenance (form 5),
-- 46xx customer (form 6). Field 2340 is stored with form 1; the web application always
-- shows it on the calibration form.
-- ---------------------------------------------------------------------------------------
CREATE TEMP TABLE demo_field (
    fldnum text, title text, title2 text, title3 text, title4 text, title5 text,
    row text, col text, len text, fform text, ftype text);

INSERT INTO demo_field (fldnum, title, title2, title3, title4, title5, row, col, len, fform, ftype) VALUES
    ('4201', 'Asset Number', 'Inventarnummer', 'Número de activo', 'Numéro d''actif', 'Numero cespite', '1', '1', '20', '2', 'TEXT'),
    ('4202', 'Description', 'Beschreibung', 'Descripción', 'Description', 'Descrizione', '2', '1', '40', '2', 'TEXT'),
    ('4203', 'Manufacturer', 'Hersteller', 'Fabricante', 'Fabricant', 'Produttore', '3', '1', '30', '2', 'TEXT'),
    ('4204', 'Model', 'Modell', 'Modelo', 'Modèle', 'Modello', '4', '1', '30', '2', 'TEXT'),
    ('4205', 'Serial Number', 'Seriennummer', 'Número de serie', 'Numéro de série', 'Numero di serie', '5', '1', '25', '2', 'TEXT'),
    ('4206', 'Department', 'Abteilung', 'Departamento', 'Service', 'Reparto', '6', '1', '25', '2', 'COMBO'),
    ('4207', 'Calibration Interval', 'Kalibrierintervall', 'Intervalo de calibración', 'Intervalle d''étalonnage', 'Intervallo di taratura', '1', '2', '5', '2', 'NUMBER'),
    ('4208', 'Interval Units', 'Intervalleinheit', 'Unidad de intervalo', 'Unité d''intervalle', 'Unità intervallo', '2', '2', '10', '2', 'COMBO'),
    ('4209', 'Status', 'Status', 'Estado', 'Statut', 'Stato', '3', '2', '12', '2', 'COMBO'),
    ('4210', 'Calibration Procedure', 'Kalibrierverfahren', 'Procedimiento de calibración', 'Procédure d''étalonnage', 'Procedura di taratura', '4', '2', '30', '2', 'TEXT'),
    ('4240', 'Segregate', 'Segregat', 'Segregado', 'Ségrégat', 'Segregato', '5', '2', '20', '2', 'COMBO'),
    ('4260', 'Purchase Cost', 'Anschaffungskosten', 'Costo de compra', 'Coût d''achat', 'Costo di acquisto', '6', '2', '12', '2', 'NUMBER'),
    ('4261', 'Purchase Date', 'Kaufdatum', 'Fecha de compra', 'Date d''achat', 'Data di acquisto', '7', '2', '10', '2', 'DATE'),
    ('4290', 'User Defined 1', 'Benutzerdefiniert 1', 'Definido por el usuario 1', 'Défini par l''utilisateur 1', 'Definito dall''utente 1', '8', '1', '20', '2', 'TEXT'),
    ('4295', 'unused', 'unbenutzt', 'sin uso', 'inutilisé', 'inutilizzato', '8', '2', '20', '2', 'TEXT'),
    ('2301', 'Calibration Date', 'Kalibrierdatum', 'Fecha de calibración', 'Date d''étalonnage', 'Data di taratura', '1', '1', '10', '3', 'DATE'),
    ('2302', 'Due Date', 'Fälligkeitsdatum', 'Fecha de vencimiento', 'Date d''échéance', 'Data di scadenza', '2', '1', '10', '3', 'DATE'),
    ('2303', 'Technician', 'Techniker', 'Técnico', 'Technicien', 'Tecnico', '3', '1', '30', '3', 'COMBO'),
    ('2304', 'Result', 'Ergebnis', 'Resultado', 'Résultat', 'Esito', '4', '1', '12', '3', 'COMBO'),
    ('2305', 'Certificate Number', 'Zertifikatsnummer', 'Número de certificado', 'Numéro de certificat', 'Numero certificato', '5', '1', '20', '3', 'TEXT'),
    ('2306', 'Standards Used', 'Verwendete Normale', 'Patrones utilizados', 'Étalons utilisés', 'Campioni utilizzati', '6', '1', '60', '3', 'MEMO'),
    ('2307', 'Temperature (°C)', 'Temperatur (°C)', 'Temperatura (°C)', 'Température (°C)', 'Temperatura (°C)', '1', '2', '6', '3', 'NUMBER'),
    ('2308', 'Relative Humidity (%)', 'Relative Luftfeuchte (%)', 'Humedad relativa (%)', 'Humidité relative (%)', 'Umidità relativa (%)', '2', '2', '6', '3', 'NUMBER'),
    ('2340', 'Calibration Notes', 'Bemerkungen zur Kalibrierung', 'Notas de calibración', 'Remarques d''étalonnage', 'Note di taratura', '7', '1', '80', '1', 'MEMO'),
    ('2384', 'Labor Hours', 'Arbeitsstunden', 'Horas de trabajo', 'Heures de travail', 'Ore di lavoro', '3', '2', '6', '3', 'NUMBER'),
    ('2385', 'Labor Cost', 'Arbeitskosten', 'Costo de mano de obra', 'Coût de main-d''œuvre', 'Costo manodopera', '4', '2', '10', '3', 'NUMBER'),
    ('2501', 'Calibration Record Key', 'Kalibrierdatensatz-Schlüssel', 'Clave del registro', 'Clé de l''enregistrement', 'Chiave del record', '9', '1', '12', '3', 'TEXT'),
    ('CC01', 'As Found Condition', 'Zustand bei Eingang', 'Estado recibido', 'État à réception', 'Condizione in arrivo', '5', '2', '20', '3', 'COMBO'),
    ('CC02', 'As Left Condition', 'Zustand bei Ausgang', 'Estado entregado', 'État à la sortie', 'Condizione in uscita', '6', '2', '20', '3', 'COMBO'),
    ('CC03', 'Adjusted', 'Justiert', 'Ajustado', 'Ajusté', 'Regolato', '7', '2', '3', '3', 'COMBO'),
    ('2801', 'Location', 'Standort', 'Ubicación', 'Emplacement', 'Ubicazione', '1', '1', '30', '4', 'COMBO'),
    ('2802', 'Building', 'Gebäude', 'Edificio', 'Bâtiment', 'Edificio', '2', '1', '20', '4', 'COMBO'),
    ('2803', 'Room', 'Raum', 'Sala', 'Salle', 'Stanza', '3', '1', '10', '4', 'TEXT'),
    ('2804', 'Custodian', 'Verantwortlicher', 'Custodio', 'Responsable', 'Responsabile', '4', '1', '30', '4', 'TEXT'),
    ('2805', 'Date Moved', 'Umzugsdatum', 'Fecha de traslado', 'Date de déplacement', 'Data di spostamento', '5', '1', '10', '4', 'DATE'),
    ('2836', 'Checked Out By', 'Ausgeliehen von', 'Prestado a', 'Emprunté par', 'Prelevato da', '1', '2', '30', '4', 'TEXT'),
    ('2837', 'Return Date', 'Rückgabedatum', 'Fecha de devolución', 'Date de retour', 'Data di restituzione', '2', '2', '10', '4', 'DATE'),
    ('3201', 'Repair Date', 'Reparaturdatum', 'Fecha de reparación', 'Date de réparation', 'Data di riparazione', '1', '1', '10', '5', 'DATE'),
    ('3202', 'Problem Description', 'Fehlerbeschreibung', 'Descripción del problema', 'Description du problème', 'Descrizione del guasto', '2', '1', '60', '5', 'MEMO'),
    ('3203', 'Action Taken', 'Durchgeführte Maßnahme', 'Acción realizada', 'Action réalisée', 'Intervento eseguito', '3', '1', '60', '5', 'MEMO'),
    ('3204', 'Repaired By', 'Repariert von', 'Reparado por', 'Réparé par', 'Riparato da', '4', '1', '30', '5', 'COMBO'),
    ('3205', 'Repair Cost', 'Reparaturkosten', 'Costo de reparación', 'Coût de réparation', 'Costo di riparazione', '5', '1', '12', '5', 'NUMBER'),
    ('3253', 'Vendor RMA Number', 'RMA-Nummer des Lieferanten', 'Número RMA del proveedor', 'Numéro RMA du fournisseur', 'Numero RMA del fornitore', '1', '2', '20', '5', 'TEXT'),
    ('3270', 'Downtime (days)', 'Ausfallzeit (Tage)', 'Tiempo de inactividad (días)', 'Immobilisation (jours)', 'Fermo macchina (giorni)', '2', '2', '5', '5', 'NUMBER'),
    ('4601', 'Customer ID', 'Kundennummer', 'Código de cliente', 'Code client', 'Codice cliente', '1', '1', '12', '6', 'TEXT'),
    ('4602', 'Company Name', 'Firmenname', 'Razón social', 'Raison sociale', 'Ragione sociale', '2', '1', '40', '6', 'TEXT'),
    ('4603', 'Contact', 'Ansprechpartner', 'Contacto', 'Contact', 'Referente', '3', '1', '30', '6', 'TEXT'),
    ('4604', 'Phone', 'Telefon', 'Teléfono', 'Téléphone', 'Telefono', '4', '1', '20', '6', 'TEXT'),
    ('4605', 'E-mail', 'E-Mail', 'Correo electrónico', 'Courriel', 'Posta elettronica', '5', '1', '40', '6', 'TEXT'),
    ('4606', 'Street Address', 'Straße', 'Dirección', 'Adresse', 'Indirizzo', '1', '2', '40', '6', 'TEXT'),
    ('4607', 'City', 'Ort', 'Ciudad', 'Ville', 'Città', '2', '2', '30', '6', 'TEXT');

-- Desktop 'default': every field on its form; the two spare fields and the downtime field are
-- suppressed. The search screen (form 0) offers the usual look-up fields.
INSERT INTO mt.me2_customiz (fldnum, title, title2, title3, title4, title5, row, col, len, fform, ftype, desktop, suppressed, datacol)
SELECT fldnum, title, title2, title3, title4, title5, row, col, len, fform, ftype, 'default',
       CASE WHEN fldnum IN ('4290', '4295', '3270') THEN 'Y' ELSE 'N' END, NULL
FROM demo_field ORDER BY fldnum;

INSERT INTO mt.me2_customiz (fldnum, title, title2, title3, title4, title5, row, col, len, fform, ftype, desktop, suppressed, datacol)
SELECT fldnum, title, title2, title3, title4, title5,
       CASE fldnum WHEN '4201' THEN '1' WHEN '4202' THEN '2' WHEN '4203' THEN '3' WHEN '4204' THEN '4'
                   WHEN '4205' THEN '5' WHEN '2302' THEN '6' WHEN '2801' THEN '7' ELSE '8' END,
       '1', len, '0', ftype, 'default', 'N', NULL
FROM demo_field
WHERE fldnum IN ('4201', '4202', '4203', '4204', '4205', '2302', '2801', '4602') ORDER BY fldnum;

-- Desktop 'Metrology Lab': the laboratory's two-column layout; no customer data, no costs.
INSERT INTO mt.me2_customiz (fldnum, title, title2, title3, title4, title5, row, col, len, fform, ftype, desktop, suppressed, datacol)
SELECT fldnum, title, title2, title3, title4, title5, row, CAST(CAST(col AS integer) * 2 AS text), len, fform, ftype,
       'Metrology Lab',
       CASE WHEN substr(fldnum, 1, 2) = '46' OR fldnum IN ('4260', '4261', '2385', '3205', '4290', '4295')
            THEN 'Y' ELSE 'N' END, NULL
FROM demo_field ORDER BY fldnum;

-- Desktop 'Service Desk': location and maintenance first; calibration details (also the notes,
-- field 2340) suppressed.
INSERT INTO mt.me2_customiz (fldnum, title, title2, title3, title4, title5, row, col, len, fform, ftype, desktop, suppressed, datacol)
SELECT fldnum, title, title2, title3, title4, title5, CAST(CAST(row AS integer) + 10 AS text), col, len, fform, ftype,
       'Service Desk',
       CASE WHEN fldnum IN ('2306', '2307', '2308', '2340', '2384', '2385', 'CC01', 'CC02', 'CC03', '4290', '4295')
            THEN 'Y' ELSE 'N' END, NULL
FROM demo_field ORDER BY fldnum;

-- Columns that report prompts may be validated against, per form: 7 inventory, 8 calibration,
-- 9 location, 10 maintenance, 11 customers.
INSERT INTO mt.me2_customiz (fldnum, title, title2, title3, title4, title5, row, col, len, fform, ftype, desktop, suppressed, datacol)
SELECT fldnum, title, title2, title3, title4, title5, '0', '0', len,
       CASE substr(fldnum, 1, 2) WHEN '42' THEN '7' WHEN '23' THEN '8' WHEN '28' THEN '9'
                                 WHEN '32' THEN '10' WHEN '46' THEN '11' END,
       'SPVAL', 'default', 'N', 'i' || fldnum
FROM demo_field
WHERE fldnum IN ('4201', '4202', '4203', '4204', '4205', '4206', '4209',
                 '2303', '2304', '2305',
                 '2801', '2802', '2803',
                 '3204', '3253',
                 '4601', '4602', '4607')
ORDER BY fldnum;

-- The calibration database's own field catalogue: the fields above, results columns, and the
-- internal columns that the tree view never offers.
INSERT INTO mt.customiz (fldnum, title)
SELECT fldnum, title FROM demo_field ORDER BY fldnum;

INSERT INTO mt.customiz (fldnum, title) VALUES
    ('2101', 'Standard Identifier'),
    ('1601', 'Accessory'),
    ('nominal', 'Nominal Value'),
    ('reading', 'Reading'),
    ('low_limit', 'Low Limit'),
    ('high_limit', 'High Limit'),
    ('tol_err', 'Tolerance Error %'),
    ('test_status', 'Test Status'),
    ('tur', 'Test Uncertainty Ratio'),
    ('remark', 'Remarks'),
    ('test_desc', 'Test Description'),
    ('test_step2', 'Test Step'),
    ('nthrow', 'Throw Number'),
    ('num_meas', 'Number of Measurements'),
    ('row_num', 'Row Number'),
    ('units', 'Units'),
    ('nominal_u', 'Nominal Units'),
    ('reading_flag', 'Reading Flag'),
    ('zvtag', 'Record Tag'),
    ('created', 'Created'),
    ('modifiedby', 'Modified By'),
    ('sys_cov_fac', 'Coverage Factor'),
    ('4291', 'User Defined 2'),
    ('4292', ''),
    ('4293', NULL);

DROP TABLE demo_field;

-- ---------------------------------------------------------------------------------------
-- System configuration: users must log in; the defaults for data source and shared folder.
-- ---------------------------------------------------------------------------------------
INSERT INTO mt.qrb_zv_system_configuration
    (require_login, desktop, title, ODBC, SPath, SDrive, autoLayout, Diags, Browser)
VALUES ('Y', 'default', 'title', 'Calibration Data', 'VIZIDOV\', 'C:\', 'Off', 'Off', 'Internet Explorer');

-- ---------------------------------------------------------------------------------------
-- Groups of web users. 'MT' is the default group. AUDITORS was created but its defaults were
-- never filled in: its flags and age limits are NULL.
-- ---------------------------------------------------------------------------------------
INSERT INTO mt.qrb_zv_groupconfig
    (group_id, zv_inhibit_use, inv_data_display, view_merge_data, customer_data_display,
     cal_data_display, cal_show_latest, cal_show_results, cal_data_old_number, cal_data_old_type,
     loc_data_display, loc_show_latest, loc_data_old_number, loc_data_old_type,
     rep_data_display, rep_show_latest, rep_data_old_number, rep_data_old_type)
VALUES
    ('MT',          'N', 'Y', 'Y', 'Y', 'Y', 'Y', 'Y', '0',  'Y', 'Y', 'Y', '0',  'Y', 'Y', 'Y', '0',  'Y'),
    ('LAB',         'N', 'Y', 'Y', 'N', 'Y', 'Y', 'Y', '10', 'Y', 'Y', 'Y', '5',  'Y', 'Y', 'N', '3',  'Y'),
    ('QA',          'N', 'Y', 'Y', 'Y', 'Y', 'Y', 'Y', '24', 'M', 'Y', 'N', '24', 'M', 'Y', 'N', '12', 'M'),
    ('CUSTOMERS',   'N', 'Y', 'N', 'Y', 'Y', 'Y', 'Y', '2',  'Y', 'N', 'N', '',   'D', 'N', 'N', '',   'D'),
    ('GUESTS',      'N', 'Y', 'N', 'N', 'Y', 'Y', 'N', '90', 'D', 'N', 'N', '30', 'D', 'N', 'N', '30', 'D'),
    ('MANAGEMENT',  'N', 'Y', 'Y', 'Y', 'Y', 'N', 'Y', '5',  'Y', 'Y', 'N', '5',  'Y', 'Y', 'N', '5',  'Y'),
    ('CONTRACTORS', 'Y', 'Y', 'N', 'N', 'Y', 'Y', 'N', '6',  'M', 'Y', 'Y', '6',  'M', 'Y', 'Y', '6',  'M');

INSERT INTO mt.qrb_zv_groupconfig (group_id, zv_inhibit_use) VALUES ('AUDITORS', 'N');

-- ---------------------------------------------------------------------------------------
-- Web properties of the users (mt.userlist is in the users-*.sql files). trainee1, temp01,
-- legacy and svoss have no row yet; jdoe left the company and is no longer in mt.userlist.
-- ---------------------------------------------------------------------------------------
INSERT INTO mt.qrb_zv_userlist (mtuser, group_id, zv_inhibit_use) VALUES
    ('admin', 'MT', 'N'),
    ('wjackson', 'MT', 'N'),
    ('jsmith', 'LAB', 'N'),
    ('mmueller', 'LAB', 'N'),
    ('kschroeder', 'LAB', 'N'),
    ('bnielsen', 'LAB', 'N'),
    ('rpatel', 'LAB', 'N'),
    ('jlefevre', 'LAB', 'N'),
    ('ezhang', 'LAB', 'N'),
    ('nbianchi', 'LAB', 'Y'),
    ('calsvc', 'LAB', 'N'),
    ('agarcia', 'QA', 'N'),
    ('mlopez', 'QA', 'N'),
    ('fdubois', 'QA', 'N'),
    ('twilliams', 'QA', 'N'),
    ('ifernandez', 'QA', 'N'),
    ('hschmidt', 'MANAGEMENT', 'N'),
    ('sobrien', 'MANAGEMENT', 'N'),
    ('grossi', 'MT', 'N'),
    ('ljohansson', 'MT', 'N'),
    ('pkowalski', 'MT', 'Y'),
    ('cnguyen', 'MT', 'N'),
    ('mferrari', 'MT', 'N'),
    ('okarlsson', 'CONTRACTORS', 'N'),
    ('dbrown', 'CONTRACTORS', 'N'),
    ('acme', 'CUSTOMERS', 'N'),
    ('globex', 'CUSTOMERS', 'N'),
    ('initech', 'CUSTOMERS', 'Y'),
    ('guest', 'GUESTS', 'N'),
    ('guest2', 'GUESTS', 'N'),
    ('auditor', 'AUDITORS', 'N'),
    ('jdoe', 'LAB', 'N');

-- ---------------------------------------------------------------------------------------
-- Report catalogue. Tags as the report editor makes them: six letters, a colon, the year,
-- the day of the year and a number, cut to 15 characters. The name with an apostrophe is as
-- an older tool stored it; the report editor strips the quote when it first lists reports.
-- ---------------------------------------------------------------------------------------
INSERT INTO mt.qrb_zv_reports (report_name, report_type, zvrtag, sql_link, report_sql, report_filename, report_out) VALUES
    ('Calibrations Due', 'S', 'KXBRTE:24451234', 'Y',
     'select i.i4201, i.i4202, i.i4206, c.i2302 from mt.inventory i inner join mt.calibration c on c.i4201 = i.i4201 where c.i2302 between ''$FROMDATE$'' and ''$TODATE$'' and i.i4209 = ''ACTIVE'' order by c.i2302',
     NULL, NULL),
    ('Overdue Instruments by Department', 'S', 'MPLQAD:24338123', 'Y',
     'select i.i4201, i.i4202, i.i4203, c.i2302 from mt.inventory i inner join mt.calibration c on c.i4201 = i.i4201 where c.i2302 < ''$ASOF$'' and i.i4206 = ''$DEPT$'' order by i.i4206, c.i2302',
     NULL, NULL),
    ('Asset History', 'S', 'DHWNCA:24127311', 'Y',
     'select c.i2301, c.i2303, c.i2304, c.i2305 from mt.calibration c where c.i4201 = ''$ASSET$'' order by c.i2301 desc',
     NULL, NULL),
    ('Out of Tolerance Results', 'S', 'RTGBYU:2421007', 'N',
     'select r.i4201, r.i2301, r.test_desc, r.nominal, r.reading, r.tol_err, r.test_status from mt.results r where r.test_status = ''$STATUS$'' and r.i2301 >= ''$SINCE$'' order by r.i4201, r.row_num',
     NULL, NULL),
    ('Equipment at Location', 'S', 'OQSEFV:24199402', 'Y',
     'select l.i4201, i.i4202, l.i2801, l.i2802, l.i2803 from mt.location l inner join mt.inventory i on i.i4201 = l.i4201 where l.i2801 like ''$LOC$%'' and l.i2802 = ''$BUILDING$''',
     NULL, NULL),
    ('Repair Costs by Vendor', 'S', 'JAXWPL:24302875', 'N',
     'select r.i3253, count(*) as repairs, sum(r.i3205) as total_cost from mt.repair r where r.i3253 = ''$VENDOR$'' group by r.i3253 having sum(r.i3205) >= $MINCOST$',
     NULL, NULL),
    ('Technician Workload', 'S', 'UVYIKM:24604550', 'N',
     'select c.i2303, count(*) as calibrations from mt.calibration c where c.i2303 = ''$TECH$'' and month(c.i2301) = $MONTH$ and c.i2301 >= ''$SHIFTSTART$'' group by c.i2303',
     NULL, NULL),
    ('Customer Asset Register', 'S', 'BEGCTH:24288540', 'Y',
     'select i.i4201, i.i4202, i.i4205, c.i2302 from mt.inventory i inner join mt.customers u on u.i4601 = i.i4601 left join mt.calibration c on c.i4201 = i.i4201 where u.i4601 = ''$CUSTID$''',
     NULL, NULL),
    ('All Active Instruments', 'S', 'NNPOWQ:2415831', 'Y',
     'select i4201, i4202, i4203, i4204, i4205 from mt.inventory where i4209 = ''ACTIVE'' order by i4201',
     NULL, NULL),
    ('Instruments by Manufacturer', 'S', 'YFKDSA:24351067', 'N',
     'select i4201, i4202, i4204 from mt.inventory where i4203 = ''$MFR$'' order by i4204',
     NULL, NULL),
    ('Calibration Certificate', 'C', 'HCIMEB:24220914', 'N', NULL, 'CalCertificate.rpt', '.PDF - Adobe Acrobat Reader'),
    ('Monthly Calibration Summary', 'C', 'TLRVGX:2491642', 'N', NULL, 'MonthlyCalSummary.rpt', '.XLS - M/S Excel or Open Office SCALC'),
    ('Recall Notice', 'C', 'WQAHNJ:24244309', 'N', NULL, 'RecallNotice.rpt', '.DOC - MicroSoft Word or Open Office'),
    ('Location Audit', 'C', 'EBUOXK:24170555', 'N', NULL, 'LocationAudit.rpt', '.HTML - Standard HTML 4.01'),
    ('Asset Labels', 'C', 'GMSFTD:24261378', 'N', NULL, 'AssetLabels.rpt', NULL),
    ('Supplier Scorecard', 'C', 'PIJYRC:2432712', 'N', NULL, 'SupplierScorecard.rpt', '.TEXT - Standard Text'),
    ('Repair History', 'C', 'SKDLAV:24311988', 'N', NULL, 'RepairHistory.rpt', '.RTF - Rich Text');

-- Prompts; each replace string occurs in its report's SQL. String prompts may be checked
-- against a column of a form (the i-columns named by the SPVAL rows) or a custom value list.
INSERT INTO mt.qrb_zv_report_prompts
    (zvrtag, prompt_string, prompt, default_value, prompt_type, db_validation, validation_table,
     validation_column, custom_validation, force_validation, sequence)
VALUES
    ('KXBRTE:24451234', '$FROMDATE$', 'Due from (YYYY-MM-DD)', '', 'D', 'N', 'NONE', 'NONE', 'N', 'N', '1'),
    ('KXBRTE:24451234', '$TODATE$', 'Due until (YYYY-MM-DD)', '', 'D', 'N', 'NONE', 'NONE', 'N', 'N', '2'),
    ('MPLQAD:24338123', '$ASOF$', 'Overdue as of date', '', 'D', 'N', 'NONE', 'NONE', 'N', 'N', '1'),
    ('MPLQAD:24338123', '$DEPT$', 'Department', 'Metrology', 'S', 'Y', 'INVENTORY', 'i4206', 'N', 'N', '2'),
    ('DHWNCA:24127311', '$ASSET$', 'Asset number', '', 'S', 'Y', 'INVENTORY', 'i4201', 'N', 'N', '1'),
    ('RTGBYU:2421007', '$STATUS$', 'Test status', 'FAIL', 'S', 'N', 'NONE', 'NONE', 'Y', 'P', '1'),
    ('RTGBYU:2421007', '$SINCE$', 'Calibrated since', '2024-01-01', 'D', 'N', 'NONE', 'NONE', 'N', 'N', '2'),
    ('OQSEFV:24199402', '$LOC$', 'Location (first letters)', '', 'S', 'Y', 'LOCATION', 'i2801', 'N', 'N', '1'),
    ('OQSEFV:24199402', '$BUILDING$', 'Building', 'Building 1', 'S', 'N', 'NONE', 'NONE', 'Y', 'V', '2'),
    ('JAXWPL:24302875', '$VENDOR$', 'Vendor RMA prefix', '', 'S', 'Y', 'REPAIR', 'i3253', 'N', 'N', '1'),
    ('JAXWPL:24302875', '$MINCOST$', 'Minimum total cost (€)', '0', 'N', 'N', 'NONE', 'NONE', 'N', 'N', '2'),
    ('UVYIKM:24604550', '$TECH$', 'Technician', '', 'S', 'N', 'NONE', 'NONE', 'Y', 'V', '1'),
    ('UVYIKM:24604550', '$MONTH$', 'Month (1-12)', '1', 'N', 'N', 'NONE', 'NONE', 'N', 'N', '2'),
    ('UVYIKM:24604550', '$SHIFTSTART$', 'Shift start time', '7:30', 'T', 'N', 'NONE', 'NONE', 'N', 'N', '3'),
    ('BEGCTH:24288540', '$CUSTID$', 'Customer ID', '', 'S', 'Y', 'CUSTOMERS', 'i4601', 'N', 'N', '1'),
    ('YFKDSA:24351067', '$MFR$', 'Manufacturer', 'Harrowgate Instruments', 'S', 'Y', 'INVENTORY', 'i4203', 'Y', 'P', '1'),
    ('HCIMEB:24220914', '$CERTNO$', 'Certificate number', '', 'S', 'Y', 'CALIBRATION', 'i2305', 'N', 'N', '1');

INSERT INTO mt.qrb_zv_prompt_validation (zvrtag, prompt_string, val) VALUES
    ('RTGBYU:2421007', '$STATUS$', 'FAIL'),
    ('RTGBYU:2421007', '$STATUS$', 'LIMITED'),
    ('RTGBYU:2421007', '$STATUS$', 'OUT OF TOLERANCE'),
    ('OQSEFV:24199402', '$BUILDING$', 'Building 1'),
    ('OQSEFV:24199402', '$BUILDING$', 'Building 2'),
    ('OQSEFV:24199402', '$BUILDING$', 'Annex'),
    ('OQSEFV:24199402', '$BUILDING$', 'Warehouse'),
    ('UVYIKM:24604550', '$TECH$', 'Martina Müller'),
    ('UVYIKM:24604550', '$TECH$', 'Ana García'),
    ('UVYIKM:24604550', '$TECH$', 'Séamus Brannock'),
    ('UVYIKM:24604550', '$TECH$', 'John Smith'),
    ('YFKDSA:24351067', '$MFR$', 'Harrowgate Instruments'),
    ('YFKDSA:24351067', '$MFR$', 'Kestrel Metrology'),
    ('YFKDSA:24351067', '$MFR$', 'Norvane Precision'),
    ('YFKDSA:24351067', '$MFR$', 'Quellor & Tamm'),
    ('YFKDSA:24351067', '$MFR$', 'Varnhold Elektronik');

-- Which groups may run which reports. 'Instruments by Manufacturer' and 'Repair History'
-- belong to no group: they are inactive.
INSERT INTO mt.qrb_zv_group_reports (group_id, zvrtag) VALUES
    ('MT', 'KXBRTE:24451234'),
    ('MT', 'MPLQAD:24338123'),
    ('MT', 'DHWNCA:24127311'),
    ('MT', 'NNPOWQ:2415831'),
    ('MT', 'HCIMEB:24220914'),
    ('LAB', 'KXBRTE:24451234'),
    ('LAB', 'MPLQAD:24338123'),
    ('LAB', 'DHWNCA:24127311'),
    ('LAB', 'RTGBYU:2421007'),
    ('LAB', 'UVYIKM:24604550'),
    ('LAB', 'HCIMEB:24220914'),
    ('LAB', 'GMSFTD:24261378'),
    ('QA', 'RTGBYU:2421007'),
    ('QA', 'DHWNCA:24127311'),
    ('QA', 'TLRVGX:2491642'),
    ('QA', 'PIJYRC:2432712'),
    ('QA', 'HCIMEB:24220914'),
    ('CUSTOMERS', 'BEGCTH:24288540'),
    ('CUSTOMERS', 'HCIMEB:24220914'),
    ('CUSTOMERS', 'WQAHNJ:24244309'),
    ('GUESTS', 'NNPOWQ:2415831'),
    ('MANAGEMENT', 'JAXWPL:24302875'),
    ('MANAGEMENT', 'TLRVGX:2491642'),
    ('MANAGEMENT', 'PIJYRC:2432712'),
    ('MANAGEMENT', 'EBUOXK:24170555'),
    ('CONTRACTORS', 'OQSEFV:24199402'),
    ('CONTRACTORS', 'EBUOXK:24170555');

-- ---------------------------------------------------------------------------------------
-- Session privileges: a row fills either group_id or mtuser. NULL means no limit; acme's row
-- has no values at all.
-- ---------------------------------------------------------------------------------------
INSERT INTO mt.qrb_zv_session_config
    (group_id, mtuser, start_date, end_date, start_time, end_time, max_open_sessions, end_on_close)
VALUES
    ('GUESTS', NULL, '2024-01-01', '2026-12-31', '8:00', '17:30', '5', 'Y'),
    ('CUSTOMERS', NULL, NULL, NULL, '7:45', '18:00', '20', 'Y'),
    ('CONTRACTORS', NULL, '2025-03-01', '2025-08-31', NULL, NULL, '2', 'N'),
    ('MT', NULL, NULL, NULL, NULL, NULL, '0', 'N'),
    (NULL, 'guest', NULL, NULL, '9:00', '16:00', '1', 'Y'),
    (NULL, 'dbrown', '2025-01-15', NULL, NULL, NULL, '0', 'N'),
    (NULL, 'okarlsson', '2025-02-01', '2025-06-30', '6:15', '22:45', '1', 'Y'),
    (NULL, 'acme', NULL, NULL, NULL, NULL, NULL, NULL);

-- ---------------------------------------------------------------------------------------
-- Field visibility and display offsets.
-- ---------------------------------------------------------------------------------------
INSERT INTO mt.qrb_zv_fields_group_inhibit (fldnum, group_id) VALUES
    ('4260', 'CUSTOMERS'),
    ('4260', 'GUESTS'),
    ('4261', 'GUESTS'),
    ('2303', 'CUSTOMERS'),
    ('2384', 'GUESTS'),
    ('2385', 'CUSTOMERS'),
    ('2385', 'GUESTS'),
    ('3205', 'CUSTOMERS'),
    ('3205', 'GUESTS'),
    ('4604', 'GUESTS'),
    ('4605', 'GUESTS'),
    ('2340', 'GUESTS');

INSERT INTO mt.qrb_zv_general_offsets
    (fldnum, fform, general_field_title_x, general_field_data_x, general_field_data_y)
VALUES
    ('4201', '0', '0', '10', '0'),
    ('4201', '2', '0', '0', '0'),
    ('4202', '2', '-5', '15', '2'),
    ('2302', '3', '0', '20', '-3'),
    ('2340', '3', '0', '0', '12'),
    ('2801', '4', '4', '4', '0'),
    ('4602', '6', '8', '8', NULL);

-- The empty browser id is skipped by the field window.
INSERT INTO mt.qrb_zv_browser_list (browser_id) VALUES
    ('Internet Explorer'), ('Mozilla Firefox'), ('Google Chrome'), ('Safari'), ('Opera'), ('');

INSERT INTO mt.qrb_zv_browser_offsets
    (fldnum, browser_id, browser_field_title_x, browser_field_data_x, browser_field_data_y, fform)
VALUES
    ('4201', 'Internet Explorer', '0', '5', '0', '0'),
    ('4202', 'Internet Explorer', '2', '4', '-1', '2'),
    ('4202', 'Safari', '0', '-2', '1', '2'),
    ('2340', 'Mozilla Firefox', '0', '0', '3', '3'),
    ('2302', 'Opera', '-3', '-3', '0', '3');

-- ---------------------------------------------------------------------------------------
-- Tree view: at most 50 assets; fields in display order per level.
-- ---------------------------------------------------------------------------------------
INSERT INTO mt.qrb_zv_tree_config (max_rows_display) VALUES ('50');

INSERT INTO mt.qrb_zv_tree_fields (fldnum, len) VALUES
    ('4202', '30'),
    ('4203', '20'),
    ('4205', '15'),
    ('2302', '10'),
    ('2301', '10'),
    ('2304', '8'),
    ('2801', '25'),
    ('3201', '10'),
    ('3202', '40'),
    ('4602', '30'),
    ('nominal', '10'),
    ('reading', '10'),
    ('tol_err', '8'),
    ('test_status', '6'),
    ('tur', '6');

-- ---------------------------------------------------------------------------------------
-- Web pages: the 17 pages with their style sheets, some colours and one wallpaper. The
-- search screen uses no style sheet.
-- ---------------------------------------------------------------------------------------
INSERT INTO mt.qrb_zv_page_configuration (web_page, style_sheet, wallpaper, background) VALUES
    ('Login Form', 'login.css', 'kaldor_watermark.jpg', '#F0F8FF'),
    ('Action Selection Form', 'action.css', '', ''),
    ('Search Screen', NULL, '', '#FFFFFF'),
    ('Tree View', 'tree.css', '', 'E0FFFF'),
    ('Inventory Form', 'inventory.css', '', ''),
    ('Calibration Form', 'calibration.css', '', '#F5F5DC'),
    ('Cal Records List', 'calrecords.css', '', ''),
    ('Location Form', 'location.css', '', ''),
    ('Repair Form', 'repair.css', '', '#DCDCDC'),
    ('Results Form', 'results.css', '', ''),
    ('Full Results Form', 'fullresults.css', '', ''),
    ('Customer Form', 'customer_acme.css', '', '#FFF8DC'),
    ('Merge Form', 'merge.css', '', ''),
    ('Report List', 'reportlist.css', '', '#F5F5F5'),
    ('Authentication Pass', 'authpass.css', '', '#008000'),
    ('Authentication Fail', 'authfail.css', '', '#800000'),
    ('Report Prompts', 'prompts.css', '', '');

-- ---------------------------------------------------------------------------------------
-- Calibration results header.
-- ---------------------------------------------------------------------------------------
INSERT INTO mt.qrb_zv_result_header (header) VALUES
    ('Test Point | Nominal | As Found | As Left | Low Limit | High Limit | Tol. Err % | Status | "TUR"');
