-- The salon database: 24 tables, all rowid tables.
-- Declared types are read back by the data layer to type its fields:
--   VARCHAR(n) text of at most n characters, TEXT unlimited text,
--   INTEGER / SMALLINT whole numbers, FLOAT, DATETIME 'YYYY-MM-DD HH:MM:SS',
--   BOOLEAN 0/1, and "INTEGER PRIMARY KEY AUTOINCREMENT" the row number.
-- Text compares without regard to case, as codes such as gath_type and
-- bill_type are stored in mixed case; only the login columns compare exactly.

-- Program users and their rights; user_id and password compare exactly.
CREATE TABLE powers (
    user_id VARCHAR(10) CHECK (length(user_id) <= 10),
    password VARCHAR(10) CHECK (length(password) <= 10),
    belo_dept VARCHAR(10) COLLATE NOCASE CHECK (length(belo_dept) <= 10),
    pow_use VARCHAR(50) COLLATE NOCASE CHECK (length(pow_use) <= 50),
    pow_add VARCHAR(50) COLLATE NOCASE CHECK (length(pow_add) <= 50),
    pow_edit VARCHAR(50) COLLATE NOCASE CHECK (length(pow_edit) <= 50),
    pow_dele VARCHAR(50) COLLATE NOCASE CHECK (length(pow_dele) <= 50),
    pow_chek VARCHAR(50) COLLATE NOCASE CHECK (length(pow_chek) <= 50),
    pow_find VARCHAR(50) COLLATE NOCASE CHECK (length(pow_find) <= 50),
    pow_prin VARCHAR(50) COLLATE NOCASE CHECK (length(pow_prin) <= 50)
);
CREATE INDEX idx_powers_user_id ON powers (user_id);

-- One row of shop settings; the first row is the one used.
CREATE TABLE userinfo (
    user_posi TEXT COLLATE NOCASE,
    comp_name TEXT COLLATE NOCASE,
    stad_no TEXT COLLATE NOCASE,
    user_fax TEXT COLLATE NOCASE,
    user_tele TEXT COLLATE NOCASE,
    user_addr TEXT COLLATE NOCASE,
    user_mail TEXT COLLATE NOCASE,
    user_www TEXT COLLATE NOCASE,
    bill_bottom TEXT COLLATE NOCASE,
    gods_code TEXT COLLATE NOCASE,
    gods_name TEXT COLLATE NOCASE,
    gods_spec TEXT COLLATE NOCASE,
    gods_type TEXT COLLATE NOCASE,
    gods_kind TEXT COLLATE NOCASE,
    sale_value INTEGER CHECK (sale_value IS NULL OR typeof(sale_value) = 'integer')
);

-- The message catalogue.
CREATE TABLE charset (
    charno TEXT COLLATE NOCASE,
    gb TEXT COLLATE NOCASE
);
CREATE INDEX idx_charset_charno ON charset (charno);

-- Short lists for choice boxes, as code/value pairs.
CREATE TABLE baseitem (
    prod_place_id TEXT COLLATE NOCASE,
    prod_place TEXT COLLATE NOCASE,
    mone_code TEXT COLLATE NOCASE,
    mone_type TEXT COLLATE NOCASE,
    mone_rate FLOAT,
    fee_code TEXT COLLATE NOCASE,
    fee_type TEXT COLLATE NOCASE,
    gods_unit_id TEXT COLLATE NOCASE,
    gods_unit TEXT COLLATE NOCASE,
    gods_size_id TEXT COLLATE NOCASE,
    gods_size TEXT COLLATE NOCASE,
    gods_color_id TEXT COLLATE NOCASE,
    gods_color TEXT COLLATE NOCASE,
    gods_kind_id TEXT COLLATE NOCASE,
    gods_kind TEXT COLLATE NOCASE,
    gods_type_id TEXT COLLATE NOCASE,
    gods_type TEXT COLLATE NOCASE,
    gods_spec_id TEXT COLLATE NOCASE,
    gods_spec TEXT COLLATE NOCASE
);

-- Staff.
CREATE TABLE employee (
    empl_code TEXT COLLATE NOCASE,
    empl_name TEXT COLLATE NOCASE,
    empl_sex TEXT COLLATE NOCASE,
    id_card TEXT COLLATE NOCASE,
    rela_addr TEXT COLLATE NOCASE,
    mobile TEXT COLLATE NOCASE,
    rela_phon TEXT COLLATE NOCASE,
    exig_tele TEXT COLLATE NOCASE,
    exig_rela TEXT COLLATE NOCASE,
    native_place TEXT COLLATE NOCASE,
    regi_place TEXT COLLATE NOCASE,
    school_name TEXT COLLATE NOCASE,
    special TEXT COLLATE NOCASE,
    degree TEXT COLLATE NOCASE,
    society_no TEXT COLLATE NOCASE,
    medica_no TEXT COLLATE NOCASE,
    post_code TEXT COLLATE NOCASE,
    leave_school TEXT COLLATE NOCASE,
    empl_birth DATETIME CHECK (empl_birth IS NULL OR empl_birth GLOB '[0-9][0-9][0-9][0-9]-[0-9][0-9]-[0-9][0-9] [0-9][0-9]:[0-9][0-9]:[0-9][0-9]'),
    in_date DATETIME CHECK (in_date IS NULL OR in_date GLOB '[0-9][0-9][0-9][0-9]-[0-9][0-9]-[0-9][0-9] [0-9][0-9]:[0-9][0-9]:[0-9][0-9]'),
    dept_name TEXT COLLATE NOCASE,
    tech_class TEXT COLLATE NOCASE,
    duty TEXT COLLATE NOCASE,
    low_salary FLOAT,
    class_type TEXT COLLATE NOCASE,
    salary_type TEXT COLLATE NOCASE
);
CREATE INDEX idx_employee_empl_code ON employee (empl_code);

-- The five member card levels.
CREATE TABLE cardtype (
    card_type TEXT COLLATE NOCASE,
    type_note TEXT COLLATE NOCASE,
    insi_tota FLOAT,
    foregift FLOAT,
    rebate INTEGER CHECK (rebate IS NULL OR typeof(rebate) = 'integer'),
    list_no INTEGER CHECK (list_no IS NULL OR typeof(list_no) = 'integer')
);
CREATE INDEX idx_cardtype_card_type ON cardtype (card_type);
CREATE INDEX idx_cardtype_type_note ON cardtype (type_note);

-- Members and their cards.
CREATE TABLE insider (
    in_id INTEGER PRIMARY KEY AUTOINCREMENT,
    insi_code VARCHAR(20) COLLATE NOCASE CHECK (length(insi_code) <= 20),
    insi_name VARCHAR(20) COLLATE NOCASE CHECK (length(insi_name) <= 20),
    card_no VARCHAR(20) COLLATE NOCASE CHECK (length(card_no) <= 20),
    insi_sex VARCHAR(4) COLLATE NOCASE CHECK (length(insi_sex) <= 4),
    insi_birth DATETIME CHECK (insi_birth IS NULL OR insi_birth GLOB '[0-9][0-9][0-9][0-9]-[0-9][0-9]-[0-9][0-9] [0-9][0-9]:[0-9][0-9]:[0-9][0-9]'),
    insi_tele VARCHAR(20) COLLATE NOCASE CHECK (length(insi_tele) <= 20),
    mobile VARCHAR(20) COLLATE NOCASE CHECK (length(mobile) <= 20),
    insi_addr VARCHAR(50) COLLATE NOCASE CHECK (length(insi_addr) <= 50),
    post_code VARCHAR(10) COLLATE NOCASE CHECK (length(post_code) <= 10),
    id_card VARCHAR(20) COLLATE NOCASE CHECK (length(id_card) <= 20),
    card_type VARCHAR(20) COLLATE NOCASE CHECK (length(card_type) <= 20),
    insi_state VARCHAR(10) COLLATE NOCASE CHECK (length(insi_state) <= 10),
    insi_pass VARCHAR(12) COLLATE NOCASE CHECK (length(insi_pass) <= 12),
    open_date DATETIME CHECK (open_date IS NULL OR open_date GLOB '[0-9][0-9][0-9][0-9]-[0-9][0-9]-[0-9][0-9] [0-9][0-9]:[0-9][0-9]:[0-9][0-9]'),
    insi_note VARCHAR(50) COLLATE NOCASE CHECK (length(insi_note) <= 50),
    skin1 BOOLEAN CHECK (skin1 IS NULL OR skin1 IN (0, 1)),
    skin2 BOOLEAN CHECK (skin2 IS NULL OR skin2 IN (0, 1)),
    skin3 BOOLEAN CHECK (skin3 IS NULL OR skin3 IN (0, 1)),
    skin4 BOOLEAN CHECK (skin4 IS NULL OR skin4 IN (0, 1)),
    skin5 BOOLEAN CHECK (skin5 IS NULL OR skin5 IN (0, 1)),
    skin6 BOOLEAN CHECK (skin6 IS NULL OR skin6 IN (0, 1)),
    skin7 BOOLEAN CHECK (skin7 IS NULL OR skin7 IN (0, 1)),
    skin8 BOOLEAN CHECK (skin8 IS NULL OR skin8 IN (0, 1)),
    skin_else1 VARCHAR(30) COLLATE NOCASE CHECK (length(skin_else1) <= 30),
    skin10 BOOLEAN CHECK (skin10 IS NULL OR skin10 IN (0, 1)),
    skin11 BOOLEAN CHECK (skin11 IS NULL OR skin11 IN (0, 1)),
    skin12 BOOLEAN CHECK (skin12 IS NULL OR skin12 IN (0, 1)),
    skin13 BOOLEAN CHECK (skin13 IS NULL OR skin13 IN (0, 1)),
    skin14 BOOLEAN CHECK (skin14 IS NULL OR skin14 IN (0, 1)),
    skin15 BOOLEAN CHECK (skin15 IS NULL OR skin15 IN (0, 1)),
    skin16 BOOLEAN CHECK (skin16 IS NULL OR skin16 IN (0, 1)),
    skin17 BOOLEAN CHECK (skin17 IS NULL OR skin17 IN (0, 1)),
    skin18 BOOLEAN CHECK (skin18 IS NULL OR skin18 IN (0, 1)),
    skin19 BOOLEAN CHECK (skin19 IS NULL OR skin19 IN (0, 1)),
    skin20 BOOLEAN CHECK (skin20 IS NULL OR skin20 IN (0, 1)),
    skin21 BOOLEAN CHECK (skin21 IS NULL OR skin21 IN (0, 1)),
    skin22 BOOLEAN CHECK (skin22 IS NULL OR skin22 IN (0, 1)),
    skin23 BOOLEAN CHECK (skin23 IS NULL OR skin23 IN (0, 1)),
    skin24 BOOLEAN CHECK (skin24 IS NULL OR skin24 IN (0, 1)),
    skin25 BOOLEAN CHECK (skin25 IS NULL OR skin25 IN (0, 1)),
    skin_else2 VARCHAR(30) COLLATE NOCASE CHECK (length(skin_else2) <= 30),
    hair1 BOOLEAN CHECK (hair1 IS NULL OR hair1 IN (0, 1)),
    hair2 BOOLEAN CHECK (hair2 IS NULL OR hair2 IN (0, 1)),
    hair3 BOOLEAN CHECK (hair3 IS NULL OR hair3 IN (0, 1)),
    hair4 BOOLEAN CHECK (hair4 IS NULL OR hair4 IN (0, 1)),
    hair5 BOOLEAN CHECK (hair5 IS NULL OR hair5 IN (0, 1)),
    hair6 BOOLEAN CHECK (hair6 IS NULL OR hair6 IN (0, 1)),
    hair7 BOOLEAN CHECK (hair7 IS NULL OR hair7 IN (0, 1)),
    hair8 BOOLEAN CHECK (hair8 IS NULL OR hair8 IN (0, 1)),
    hair9 BOOLEAN CHECK (hair9 IS NULL OR hair9 IN (0, 1)),
    hair10 BOOLEAN CHECK (hair10 IS NULL OR hair10 IN (0, 1)),
    hair11 BOOLEAN CHECK (hair11 IS NULL OR hair11 IN (0, 1)),
    hair12 BOOLEAN CHECK (hair12 IS NULL OR hair12 IN (0, 1)),
    hair13 BOOLEAN CHECK (hair13 IS NULL OR hair13 IN (0, 1)),
    hair14 BOOLEAN CHECK (hair14 IS NULL OR hair14 IN (0, 1)),
    hair15 BOOLEAN CHECK (hair15 IS NULL OR hair15 IN (0, 1)),
    hair16 BOOLEAN CHECK (hair16 IS NULL OR hair16 IN (0, 1)),
    hair17 BOOLEAN CHECK (hair17 IS NULL OR hair17 IN (0, 1)),
    hair_else VARCHAR(30) COLLATE NOCASE CHECK (length(hair_else) <= 30),
    foregift FLOAT,
    insi_tota FLOAT,
    rest_point FLOAT
);
CREATE INDEX idx_insider_insi_code ON insider (insi_code);
CREATE INDEX idx_insider_card_no ON insider (card_no);

-- The money ledger: service bills, card movements, other income and expenses.
CREATE TABLE insifee (
    in_id INTEGER PRIMARY KEY AUTOINCREMENT,
    insi_code VARCHAR(20) COLLATE NOCASE CHECK (length(insi_code) <= 20),
    card_no VARCHAR(20) COLLATE NOCASE CHECK (length(card_no) <= 20),
    serve_code VARCHAR(20) COLLATE NOCASE CHECK (length(serve_code) <= 20),
    bill_no VARCHAR(20) COLLATE NOCASE CHECK (length(bill_no) <= 20),
    bill_date DATETIME CHECK (bill_date IS NULL OR bill_date GLOB '[0-9][0-9][0-9][0-9]-[0-9][0-9]-[0-9][0-9] [0-9][0-9]:[0-9][0-9]:[0-9][0-9]'),
    serv_fee INTEGER CHECK (serv_fee IS NULL OR typeof(serv_fee) = 'integer'),
    gath_code VARCHAR(20) COLLATE NOCASE CHECK (length(gath_code) <= 20),
    gath_note VARCHAR(30) COLLATE NOCASE CHECK (length(gath_note) <= 30),
    gath_type VARCHAR(10) COLLATE NOCASE CHECK (length(gath_type) <= 10),
    stylist_code VARCHAR(20) COLLATE NOCASE CHECK (length(stylist_code) <= 20),
    middle_code VARCHAR(20) COLLATE NOCASE CHECK (length(middle_code) <= 20),
    assis_code VARCHAR(20) COLLATE NOCASE CHECK (length(assis_code) <= 20),
    oper_code VARCHAR(20) COLLATE NOCASE CHECK (length(oper_code) <= 20),
    should_gath INTEGER CHECK (should_gath IS NULL OR typeof(should_gath) = 'integer')
);
CREATE INDEX idx_insifee_insi_code ON insifee (insi_code);
CREATE INDEX idx_insifee_card_no ON insifee (card_no);
CREATE INDEX idx_insifee_serve_code ON insifee (serve_code);
CREATE INDEX idx_insifee_bill_no ON insifee (bill_no);
CREATE INDEX idx_insifee_bill_date ON insifee (bill_date);
-- Ledger readers filter a kind of row over a range of days.
CREATE INDEX idx_insifee_type_date ON insifee (gath_type, bill_date);
-- A bill of one kind found by its number (the order stays that of the
-- kind-and-date index: by date, then as written).
CREATE INDEX idx_insifee_no_type_date ON insifee (bill_no, gath_type, bill_date);
-- Commissions read one employee's service bills of a period, role by role.
CREATE INDEX idx_insifee_stylist_type_date ON insifee (stylist_code, gath_type, bill_date);
CREATE INDEX idx_insifee_middle_type_date ON insifee (middle_code, gath_type, bill_date);
CREATE INDEX idx_insifee_assis_type_date ON insifee (assis_code, gath_type, bill_date);

-- Service items.
CREATE TABLE serveitem (
    in_id INTEGER PRIMARY KEY AUTOINCREMENT,
    serve_code VARCHAR(20) COLLATE NOCASE CHECK (length(serve_code) <= 20),
    serve_name VARCHAR(40) COLLATE NOCASE CHECK (length(serve_name) <= 40),
    serve_type VARCHAR(20) COLLATE NOCASE CHECK (length(serve_type) <= 20),
    unit_pric FLOAT,
    gage_time VARCHAR(10) COLLATE NOCASE CHECK (length(gage_time) <= 10),
    stylist_rate SMALLINT CHECK (stylist_rate IS NULL OR (typeof(stylist_rate) = 'integer' AND stylist_rate BETWEEN -32768 AND 32767)),
    middle_rate SMALLINT CHECK (middle_rate IS NULL OR (typeof(middle_rate) = 'integer' AND middle_rate BETWEEN -32768 AND 32767)),
    assis_rate SMALLINT CHECK (assis_rate IS NULL OR (typeof(assis_rate) = 'integer' AND assis_rate BETWEEN -32768 AND 32767)),
    serve_note VARCHAR(50) COLLATE NOCASE CHECK (length(serve_note) <= 50),
    serve_state VARCHAR(10) COLLATE NOCASE CHECK (length(serve_state) <= 10)
);
CREATE INDEX idx_serveitem_serve_code ON serveitem (serve_code);
CREATE INDEX idx_serveitem_serve_type ON serveitem (serve_type);

-- Work steps of a service item.
CREATE TABLE serveflow (
    in_id INTEGER PRIMARY KEY AUTOINCREMENT,
    step_no VARCHAR(10) COLLATE NOCASE CHECK (length(step_no) <= 10),
    gods_code VARCHAR(20) COLLATE NOCASE CHECK (length(gods_code) <= 20),
    dosage VARCHAR(20) COLLATE NOCASE CHECK (length(dosage) <= 20),
    flow_note VARCHAR(30) COLLATE NOCASE CHECK (length(flow_note) <= 30),
    serve_code VARCHAR(20) COLLATE NOCASE CHECK (length(serve_code) <= 20),
    use_time INTEGER CHECK (use_time IS NULL OR typeof(use_time) = 'integer')
);
CREATE INDEX idx_serveflow_serve_code_step_no ON serveflow (serve_code, step_no);

-- Perm recipe of a service item.
CREATE TABLE marcel (
    in_id INTEGER PRIMARY KEY AUTOINCREMENT,
    serve_code VARCHAR(20) COLLATE NOCASE CHECK (length(serve_code) <= 20),
    mar_type VARCHAR(20) COLLATE NOCASE CHECK (length(mar_type) <= 20),
    mar_kind VARCHAR(20) COLLATE NOCASE CHECK (length(mar_kind) <= 20),
    curl_tune VARCHAR(30) COLLATE NOCASE CHECK (length(curl_tune) <= 30),
    mar_mach VARCHAR(30) COLLATE NOCASE CHECK (length(mar_mach) <= 30),
    do_before VARCHAR(60) COLLATE NOCASE CHECK (length(do_before) <= 60),
    do_middle VARCHAR(60) COLLATE NOCASE CHECK (length(do_middle) <= 60),
    do_after VARCHAR(60) COLLATE NOCASE CHECK (length(do_after) <= 60),
    bef_color VARCHAR(20) COLLATE NOCASE CHECK (length(bef_color) <= 20),
    bef_sort VARCHAR(20) COLLATE NOCASE CHECK (length(bef_sort) <= 20),
    mid_color VARCHAR(20) COLLATE NOCASE CHECK (length(mid_color) <= 20),
    mid_sort VARCHAR(20) COLLATE NOCASE CHECK (length(mid_sort) <= 20),
    ear_color VARCHAR(20) COLLATE NOCASE CHECK (length(ear_color) <= 20),
    ear_sort VARCHAR(20) COLLATE NOCASE CHECK (length(ear_sort) <= 20),
    back_color VARCHAR(20) COLLATE NOCASE CHECK (length(back_color) <= 20),
    back_sort VARCHAR(20) COLLATE NOCASE CHECK (length(back_sort) <= 20),
    first_stay VARCHAR(20) COLLATE NOCASE CHECK (length(first_stay) <= 20),
    first_wash VARCHAR(20) COLLATE NOCASE CHECK (length(first_wash) <= 20),
    sec_stay VARCHAR(20) COLLATE NOCASE CHECK (length(sec_stay) <= 20),
    sec_wash VARCHAR(20) COLLATE NOCASE CHECK (length(sec_wash) <= 20),
    mar_note VARCHAR(80) COLLATE NOCASE CHECK (length(mar_note) <= 80)
);
CREATE INDEX idx_marcel_serve_code ON marcel (serve_code);

-- Hair-dye recipe of a service item.
CREATE TABLE dyehair (
    in_id INTEGER PRIMARY KEY AUTOINCREMENT,
    serve_code VARCHAR(20) COLLATE NOCASE CHECK (length(serve_code) <= 20),
    dye_kind VARCHAR(20) COLLATE NOCASE CHECK (length(dye_kind) <= 20),
    base_color VARCHAR(20) COLLATE NOCASE CHECK (length(base_color) <= 20),
    end_color VARCHAR(20) COLLATE NOCASE CHECK (length(end_color) <= 20),
    do_before VARCHAR(50) COLLATE NOCASE CHECK (length(do_before) <= 50),
    do_middle VARCHAR(50) COLLATE NOCASE CHECK (length(do_middle) <= 50),
    do_after VARCHAR(50) COLLATE NOCASE CHECK (length(do_after) <= 50),
    dye_drug VARCHAR(30) COLLATE NOCASE CHECK (length(dye_drug) <= 30),
    use_quant VARCHAR(20) COLLATE NOCASE CHECK (length(use_quant) <= 20),
    dye_plan VARCHAR(50) COLLATE NOCASE CHECK (length(dye_plan) <= 50),
    root_plan VARCHAR(80) COLLATE NOCASE CHECK (length(root_plan) <= 80),
    mid_plan VARCHAR(80) COLLATE NOCASE CHECK (length(mid_plan) <= 80),
    top_plan VARCHAR(80) COLLATE NOCASE CHECK (length(top_plan) <= 80),
    root_time VARCHAR(20) COLLATE NOCASE CHECK (length(root_time) <= 20),
    mid_time VARCHAR(20) COLLATE NOCASE CHECK (length(mid_time) <= 20),
    top_time VARCHAR(20) COLLATE NOCASE CHECK (length(top_time) <= 20),
    dye_note VARCHAR(80) COLLATE NOCASE CHECK (length(dye_note) <= 80)
);
CREATE INDEX idx_dyehair_serve_code ON dyehair (serve_code);

-- Member appointments (the column assisitant is so spelled).
CREATE TABLE bespeak (
    in_id INTEGER PRIMARY KEY AUTOINCREMENT,
    pre_date DATETIME CHECK (pre_date IS NULL OR pre_date GLOB '[0-9][0-9][0-9][0-9]-[0-9][0-9]-[0-9][0-9] [0-9][0-9]:[0-9][0-9]:[0-9][0-9]'),
    pre_time VARCHAR(10) COLLATE NOCASE CHECK (length(pre_time) <= 10),
    stylist VARCHAR(10) COLLATE NOCASE CHECK (length(stylist) <= 10),
    assisitant VARCHAR(10) COLLATE NOCASE CHECK (length(assisitant) <= 10),
    bill_no VARCHAR(15) COLLATE NOCASE CHECK (length(bill_no) <= 15),
    bill_date DATETIME CHECK (bill_date IS NULL OR bill_date GLOB '[0-9][0-9][0-9][0-9]-[0-9][0-9]-[0-9][0-9] [0-9][0-9]:[0-9][0-9]:[0-9][0-9]'),
    oper_code VARCHAR(10) COLLATE NOCASE CHECK (length(oper_code) <= 10),
    pre_note VARCHAR(50) COLLATE NOCASE CHECK (length(pre_note) <= 50),
    card_no VARCHAR(20) COLLATE NOCASE CHECK (length(card_no) <= 20),
    serv_code VARCHAR(10) COLLATE NOCASE CHECK (length(serv_code) <= 10)
);
CREATE INDEX idx_bespeak_card_no ON bespeak (card_no);
CREATE INDEX idx_bespeak_bill_no ON bespeak (bill_no);

-- Goods.
CREATE TABLE goods (
    in_id INTEGER PRIMARY KEY AUTOINCREMENT,
    gods_code VARCHAR(20) COLLATE NOCASE CHECK (length(gods_code) <= 20),
    gods_name VARCHAR(40) COLLATE NOCASE CHECK (length(gods_name) <= 40),
    gods_spec VARCHAR(20) COLLATE NOCASE CHECK (length(gods_spec) <= 20),
    gods_type VARCHAR(20) COLLATE NOCASE CHECK (length(gods_type) <= 20),
    gods_kind VARCHAR(20) COLLATE NOCASE CHECK (length(gods_kind) <= 20),
    gods_unit VARCHAR(10) COLLATE NOCASE CHECK (length(gods_unit) <= 10),
    valu_in FLOAT,
    valu_out FLOAT,
    max_amou FLOAT,
    min_amou FLOAT,
    prod_place VARCHAR(30) COLLATE NOCASE CHECK (length(prod_place) <= 30),
    prod_code VARCHAR(20) COLLATE NOCASE CHECK (length(prod_code) <= 20),
    supp_code VARCHAR(20) COLLATE NOCASE CHECK (length(supp_code) <= 20),
    agent_pric FLOAT,
    touch_code VARCHAR(20) COLLATE NOCASE CHECK (length(touch_code) <= 20),
    gods_note VARCHAR(50) COLLATE NOCASE CHECK (length(gods_note) <= 50)
);
CREATE INDEX idx_goods_gods_code ON goods (gods_code);

-- Suppliers, producers and customers.
CREATE TABLE company (
    comp_code TEXT COLLATE NOCASE,
    comp_name TEXT COLLATE NOCASE,
    comp_addr TEXT COLLATE NOCASE,
    rela_name TEXT COLLATE NOCASE,
    rela_phon TEXT COLLATE NOCASE,
    head_name TEXT COLLATE NOCASE,
    head_phon TEXT COLLATE NOCASE,
    bank_no TEXT COLLATE NOCASE,
    comp_type TEXT COLLATE NOCASE,
    belo_coun TEXT COLLATE NOCASE,
    belo_area TEXT COLLATE NOCASE,
    belo_prov TEXT COLLATE NOCASE,
    post_code TEXT COLLATE NOCASE,
    fax TEXT COLLATE NOCASE,
    e_mail TEXT COLLATE NOCASE,
    comp_note TEXT COLLATE NOCASE
);
CREATE INDEX idx_company_comp_code ON company (comp_code);

-- Purchase and customer-return document headers.
CREATE TABLE inmain (
    in_id INTEGER PRIMARY KEY AUTOINCREMENT,
    bill_no VARCHAR(14) COLLATE NOCASE CHECK (length(bill_no) <= 14),
    vouc_no VARCHAR(12) COLLATE NOCASE CHECK (length(vouc_no) <= 12),
    bill_date DATETIME CHECK (bill_date IS NULL OR bill_date GLOB '[0-9][0-9][0-9][0-9]-[0-9][0-9]-[0-9][0-9] [0-9][0-9]:[0-9][0-9]:[0-9][0-9]'),
    comp_code VARCHAR(10) COLLATE NOCASE CHECK (length(comp_code) <= 10),
    mone_type VARCHAR(10) COLLATE NOCASE CHECK (length(mone_type) <= 10),
    mone_rate FLOAT,
    fee_type VARCHAR(10) COLLATE NOCASE CHECK (length(fee_type) <= 10),
    hand_code VARCHAR(10) COLLATE NOCASE CHECK (length(hand_code) <= 10),
    chek_code VARCHAR(10) COLLATE NOCASE CHECK (length(chek_code) <= 10),
    oper_code VARCHAR(10) COLLATE NOCASE CHECK (length(oper_code) <= 10),
    send_code VARCHAR(10) COLLATE NOCASE CHECK (length(send_code) <= 10),
    rece_code VARCHAR(10) COLLATE NOCASE CHECK (length(rece_code) <= 10),
    rela_code VARCHAR(10) COLLATE NOCASE CHECK (length(rela_code) <= 10),
    fact_tota FLOAT,
    shou_tota FLOAT,
    remark VARCHAR(50) COLLATE NOCASE CHECK (length(remark) <= 50),
    bill_type VARCHAR(10) COLLATE NOCASE CHECK (length(bill_type) <= 10)
);
CREATE INDEX idx_inmain_bill_no ON inmain (bill_no);
CREATE INDEX idx_inmain_bill_date ON inmain (bill_date);
CREATE INDEX idx_inmain_comp_code ON inmain (comp_code);

-- Sales and supplier-return document headers.
CREATE TABLE outmain (
    in_id INTEGER PRIMARY KEY AUTOINCREMENT,
    bill_no VARCHAR(14) COLLATE NOCASE CHECK (length(bill_no) <= 14),
    vouc_no VARCHAR(12) COLLATE NOCASE CHECK (length(vouc_no) <= 12),
    bill_date DATETIME CHECK (bill_date IS NULL OR bill_date GLOB '[0-9][0-9][0-9][0-9]-[0-9][0-9]-[0-9][0-9] [0-9][0-9]:[0-9][0-9]:[0-9][0-9]'),
    comp_code VARCHAR(10) COLLATE NOCASE CHECK (length(comp_code) <= 10),
    mone_type VARCHAR(10) COLLATE NOCASE CHECK (length(mone_type) <= 10),
    mone_rate FLOAT,
    fee_type VARCHAR(10) COLLATE NOCASE CHECK (length(fee_type) <= 10),
    hand_code VARCHAR(10) COLLATE NOCASE CHECK (length(hand_code) <= 10),
    chek_code VARCHAR(10) COLLATE NOCASE CHECK (length(chek_code) <= 10),
    oper_code VARCHAR(10) COLLATE NOCASE CHECK (length(oper_code) <= 10),
    send_code VARCHAR(10) COLLATE NOCASE CHECK (length(send_code) <= 10),
    rece_code VARCHAR(10) COLLATE NOCASE CHECK (length(rece_code) <= 10),
    rela_code VARCHAR(10) COLLATE NOCASE CHECK (length(rela_code) <= 10),
    fact_tota FLOAT,
    shou_tota FLOAT,
    remark VARCHAR(50) COLLATE NOCASE CHECK (length(remark) <= 50),
    bill_type VARCHAR(10) COLLATE NOCASE CHECK (length(bill_type) <= 10)
);
CREATE INDEX idx_outmain_bill_no ON outmain (bill_no);
CREATE INDEX idx_outmain_bill_date ON outmain (bill_date);
CREATE INDEX idx_outmain_comp_code ON outmain (comp_code);
CREATE INDEX idx_outmain_rela_code ON outmain (rela_code);
-- Commissions read one employee's sales of a period.
CREATE INDEX idx_outmain_rela_type_date ON outmain (rela_code, bill_type, bill_date);

-- Lines of inmain documents.
CREATE TABLE ingoods (
    in_id INTEGER PRIMARY KEY AUTOINCREMENT,
    bill_no VARCHAR(14) COLLATE NOCASE CHECK (length(bill_no) <= 14),
    gods_code VARCHAR(20) COLLATE NOCASE CHECK (length(gods_code) <= 20),
    sub_amou FLOAT,
    unit_pric FLOAT,
    remark VARCHAR(10) COLLATE NOCASE CHECK (length(remark) <= 10)
);
CREATE INDEX idx_ingoods_bill_no ON ingoods (bill_no);
CREATE INDEX idx_ingoods_gods_code ON ingoods (gods_code);

-- Lines of outmain documents.
CREATE TABLE outgoods (
    in_id INTEGER PRIMARY KEY AUTOINCREMENT,
    bill_no VARCHAR(14) COLLATE NOCASE CHECK (length(bill_no) <= 14),
    gods_code VARCHAR(20) COLLATE NOCASE CHECK (length(gods_code) <= 20),
    sub_amou FLOAT,
    unit_pric FLOAT,
    remark VARCHAR(10) COLLATE NOCASE CHECK (length(remark) <= 10)
);
CREATE INDEX idx_outgoods_bill_no ON outgoods (bill_no);
CREATE INDEX idx_outgoods_gods_code ON outgoods (gods_code);

-- Print scratch table; exactly the columns of outgoods.
CREATE TABLE outtemp (
    in_id INTEGER PRIMARY KEY AUTOINCREMENT,
    bill_no VARCHAR(14) COLLATE NOCASE CHECK (length(bill_no) <= 14),
    gods_code VARCHAR(20) COLLATE NOCASE CHECK (length(gods_code) <= 20),
    sub_amou FLOAT,
    unit_pric FLOAT,
    remark VARCHAR(10) COLLATE NOCASE CHECK (length(remark) <= 10)
);
CREATE INDEX idx_outtemp_bill_no ON outtemp (bill_no);

-- Stock on hand, one row per goods code.
CREATE TABLE storemain (
    gods_code VARCHAR(20) COLLATE NOCASE CHECK (length(gods_code) <= 20),
    gods_amou FLOAT,
    cost_pric FLOAT
);
CREATE UNIQUE INDEX idx_storemain_gods_code ON storemain (gods_code);

-- Stock checks.
CREATE TABLE storchek (
    chek_date DATETIME CHECK (chek_date IS NULL OR chek_date GLOB '[0-9][0-9][0-9][0-9]-[0-9][0-9]-[0-9][0-9] [0-9][0-9]:[0-9][0-9]:[0-9][0-9]'),
    gods_code TEXT COLLATE NOCASE
);
CREATE INDEX idx_storchek_chek_date ON storchek (chek_date);

-- Work table of commission lines.
CREATE TABLE listtemp (
    in_id INTEGER PRIMARY KEY AUTOINCREMENT,
    bill_no VARCHAR(20) COLLATE NOCASE CHECK (length(bill_no) <= 20),
    bill_date DATETIME CHECK (bill_date IS NULL OR bill_date GLOB '[0-9][0-9][0-9][0-9]-[0-9][0-9]-[0-9][0-9] [0-9][0-9]:[0-9][0-9]:[0-9][0-9]'),
    serve_code VARCHAR(20) COLLATE NOCASE CHECK (length(serve_code) <= 20),
    shou_tota FLOAT,
    rate_value SMALLINT CHECK (rate_value IS NULL OR (typeof(rate_value) = 'integer' AND rate_value BETWEEN -32768 AND 32767)),
    bill_note VARCHAR(10) COLLATE NOCASE CHECK (length(bill_note) <= 10),
    empl_code VARCHAR(20) COLLATE NOCASE CHECK (length(empl_code) <= 20),
    do_with VARCHAR(5) COLLATE NOCASE CHECK (length(do_with) <= 5),
    fact_tota FLOAT
);
CREATE INDEX idx_listtemp_empl_code ON listtemp (empl_code);
CREATE INDEX idx_listtemp_bill_no ON listtemp (bill_no);

-- Work table of the salary sheet.
CREATE TABLE salary (
    in_id INTEGER PRIMARY KEY AUTOINCREMENT,
    empl_code VARCHAR(30) COLLATE NOCASE CHECK (length(empl_code) <= 30),
    add_fee FLOAT
);
CREATE INDEX idx_salary_empl_code ON salary (empl_code);
