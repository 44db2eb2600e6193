-- The mt schema of the configuration tables in PostgreSQL, for the tests against a real server
-- through psqlODBC. Texts are citext, so that they compare without regard to case as on the
-- stand-in and on the servers the program is made for; widths are not enforced. Column names
-- are unquoted, so PostgreSQL folds them to lower case. The tables of the calibration software
-- have their SQL Anywhere columns.
create extension if not exists citext;
create schema mt;
create table mt.qrb_zv_system_configuration (
    require_login citext,
    desktop citext,
    title citext,
    odbc citext,
    spath citext,
    sdrive citext,
    autolayout citext,
    diags citext,
    browser citext
);
create table mt.qrb_zv_groupconfig (
    group_id citext,
    zv_inhibit_use citext,
    inv_data_display citext,
    view_merge_data citext,
    customer_data_display citext,
    cal_data_display citext,
    cal_show_latest citext,
    cal_show_results citext,
    cal_data_old_number citext,
    cal_data_old_type citext,
    loc_data_display citext,
    loc_show_latest citext,
    loc_data_old_number citext,
    loc_data_old_type citext,
    rep_data_display citext,
    rep_show_latest citext,
    rep_data_old_number citext,
    rep_data_old_type citext
);
create table mt.qrb_zv_group_reports (
    group_id citext,
    zvrtag citext
);
create table mt.qrb_zv_reports (
    report_name citext,
    report_type citext,
    zvrtag citext,
    sql_link citext,
    report_sql citext,
    report_filename citext,
    report_out citext
);
create table mt.qrb_zv_report_prompts (
    zvrtag citext,
    prompt_string citext,
    prompt citext,
    default_value citext,
    prompt_type citext,
    db_validation citext,
    validation_table citext,
    validation_column citext,
    custom_validation citext,
    force_validation citext,
    sequence numeric
);
create table mt.qrb_zv_prompt_validation (
    zvrtag citext,
    prompt_string citext,
    val citext
);
create table mt.qrb_zv_userlist (
    mtuser citext,
    group_id citext,
    zv_inhibit_use citext
);
create table mt.qrb_zv_session_config (
    group_id citext,
    mtuser citext,
    start_date citext,
    end_date citext,
    start_time citext,
    end_time citext,
    max_open_sessions citext,
    end_on_close citext
);
create table mt.qrb_zv_fields_group_inhibit (
    fldnum citext,
    group_id citext
);
create table mt.qrb_zv_general_offsets (
    fldnum citext,
    fform citext,
    general_field_title_x citext,
    general_field_data_x citext,
    general_field_data_y citext
);
create table mt.qrb_zv_browser_offsets (
    fldnum citext,
    browser_id citext,
    browser_field_title_x citext,
    browser_field_data_x citext,
    browser_field_data_y citext,
    fform citext
);
create table mt.qrb_zv_browser_list (
    browser_id citext
);
create table mt.qrb_zv_tree_config (
    max_rows_display citext
);
create table mt.qrb_zv_tree_fields (
    fldnum citext,
    len citext
);
create table mt.qrb_zv_page_configuration (
    web_page citext,
    style_sheet citext,
    wallpaper citext,
    background citext
);
create table mt.qrb_zv_result_header (
    header citext
);
create table mt.dbconfig (
    version citext
);
create table mt.segregate (
    i4240 citext
);
create table mt.desktop (
    desktop citext
);
create table mt.customiz (
    fldnum citext,
    title citext
);
create table mt.me2_customiz (
    fldnum citext,
    title citext,
    title2 citext,
    title3 citext,
    title4 citext,
    title5 citext,
    row citext,
    col citext,
    len citext,
    fform citext,
    ftype citext,
    desktop citext,
    suppressed citext,
    datacol citext
);
create table mt.userlist (
    mtuser citext,
    mtlevel citext,
    i4240 citext,
    name citext
);
create view mt.qrb_zv_customiz as
    select fldnum, title, row, col, len,
           case when fldnum = '2340' then '3' else fform end as fform, ftype
    from mt.me2_customiz
    where desktop = 'default' and suppressed <> 'Y' and fldnum < '5000'
          and fform in ('0', '2', '3', '4', '5', '6')
       or (fldnum = '2340' and desktop = 'default' and suppressed <> 'Y');
