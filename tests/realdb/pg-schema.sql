-- The mt schema as far as the ODBC layer's tests against PostgreSQL need it. Texts are citext,
-- so that names compare without regard to case, as on the stand-in.
create extension if not exists citext;
create schema mt;
create table mt.dbconfig (version citext);
insert into mt.dbconfig values ('1.0');
create table mt.qrb_zv_reports (report_name citext primary key, report_sql text,
                                report_filename citext, report_out citext);
