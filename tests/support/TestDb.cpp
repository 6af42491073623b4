#include "tests/support/TestDb.h"

#include "core/DbConfig.h"
#include "core/Upublic.h"
#include "core/Schema.h"
#include "platform/sys/ProgramFolder.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#ifdef Q_OS_LINUX
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>
#endif

namespace {

// One database made by createDatabase per test program, copied for each test:
// a copy costs a fraction of building the schema again.
QString templateDatabase()
{
    static QTemporaryDir dir;
    static const QString path = [] {
        createDatabase(dir.path());
        return localDatabasePath(dir.path());
    }();
    return path;
}

} // namespace

void TestDb::SetUp()
{
    ASSERT_TRUE(dir_.isValid());
    folder_ = dir_.path() + u'/';
    ASSERT_TRUE(QDir(folder_).mkpath(QStringLiteral("data")));
    ASSERT_TRUE(QFile::copy(templateDatabase(), databasePath()));
    sys::setProgramFolderForTesting(folder_);
    dataMod_ = std::make_unique<TFrmDataMod>();
    dataMod_->AdoConn.open(databasePath(), databaseKey());
    FrmDataMod = dataMod_.get();
}

void TestDb::TearDown()
{
    liftWriteProtection();
    ResetProgramState();
    // The data module clears FrmDataMod as it goes.
    dataMod_.reset();
    sys::setProgramFolderForTesting(QString());
}

namespace {

// Sets or clears the immutable flag, which stops even root from writing;
// false where the file system or the user's rights do not allow it.
bool setImmutable(const QString& path, bool on)
{
#ifdef Q_OS_LINUX
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK);
    if (fd < 0)
        return false;
    int flags = 0;
    bool done = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    if (done) {
        flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
        done = ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    }
    ::close(fd);
    return done;
#else
    Q_UNUSED(path);
    Q_UNUSED(on);
    return false;
#endif
}

constexpr QFile::Permissions kWrite =
    QFile::WriteOwner | QFile::WriteUser | QFile::WriteGroup | QFile::WriteOther;

} // namespace

bool TestDb::writeProtect(const QString& path)
{
    protected_ << path;
    QFile::setPermissions(path, QFile::permissions(path) & ~kWrite);
    if (QFileInfo(path).isWritable())
        setImmutable(path, true);
    return !QFileInfo(path).isWritable();
}

void TestDb::liftWriteProtection()
{
    for (const QString& path : std::as_const(protected_)) {
        setImmutable(path, false);
        QFile::setPermissions(path, QFile::permissions(path) | QFile::WriteOwner | QFile::WriteUser);
    }
    protected_.clear();
}

void TestDb::refuseWrites()
{
    exec(QStringLiteral("pragma query_only=1"));
}

void TestDb::fillDatabase(const QString& table)
{
    exec(QStringLiteral("pragma max_page_count=%1").arg(scalar(QStringLiteral("pragma page_count")).toLongLong()));
    // Batches halving in size, each written whole or not at all, until not
    // even one more row fits.
    for (int batch = 4096; batch >= 1;) {
        try {
            exec(QStringLiteral("insert into %1 (rowid) select null from (with recursive n(k) as"
                                " (select 1 union all select k+1 from n where k<%2) select k from n)")
                     .arg(table)
                     .arg(batch));
        } catch (const db::Error&) {
            batch /= 2;
        }
    }
}

void TestDb::grantAllRights(const QString& user)
{
    const QString all(38, QLatin1Char('1'));
    PowUse = PowAdd = PowEdit = PowDele = PowChek = PowFind = PowPrin = all;
    CurrentUser = user;
}

QString TestDb::databasePath() const
{
    return localDatabasePath(folder_);
}

int TestDb::exec(const QString& sql, const db::Params& params)
{
    return conn().execute(sql, params);
}

QVariant TestDb::scalar(const QString& sql, const db::Params& params)
{
    return conn().scalar(sql, params);
}

int TestDb::count(const QString& table, const QString& where, const db::Params& params)
{
    QString sql = QStringLiteral("select count(*) from ") + table;
    if (!where.isEmpty())
        sql += QStringLiteral(" where ") + where;
    return int(scalar(sql, params).toLongLong());
}

void TestDb::addSampleData()
{
    exec(QStringLiteral(
        "insert into cardtype (card_type, type_note, insi_tota, foregift, rebate, list_no) values"
        " ('class_a', '普通卡', 0, 100, 100, 1), ('class_b', '银卡', 2000, 200, 95, 2),"
        " ('class_c', '金卡', 5000, 300, 90, 3), ('class_d', '白金卡', 10000, 500, 85, 4),"
        " ('class_e', '钻石卡', 20000, 1000, 80, 5)"));
    exec(QStringLiteral(
        "insert into insider (insi_code, insi_name, card_no, insi_sex, id_card, insi_addr, post_code, insi_tele,"
        " mobile, card_type, insi_state, insi_pass, foregift, insi_tota, rest_point, insi_note) values"
        " ('M0001', '王晓丽', '8800000001', '女', '440106198503152728', '广州市天河区天河路385号太古汇2栋1803',"
        "  '510620', '020-38881234', '13802561234', '金卡', '启用', '1234', 300, 6280, 1520, '喜欢安静'),"
        " ('M0002', '李明', '8800000002', '男', '440104199011203516', '广州市越秀区中山五路219号',"
        "  '510030', '020-83331234', '13922334455', '普通卡', '启用', '2222', 100, 380, 120, ''),"
        " ('M0003', '欧阳慧敏', '8800000003', '女', '44010519921218002X', '广州市海珠区新港中路397号',"
        "  '510310', '020-84112233', '13600001111', '白金卡', '启用', '3333', 500, 12800, 3600, '对香味敏感'),"
        " ('M0004', '张伟', '8800000004', '男', '440111198807070011', '广州市白云区机场路1962号',"
        "  '510405', '020-86123456', '13711112222', '银卡', '启用', '4444', 200, 2300, 860, ''),"
        " ('M0005', '陈静', '8800000005', '女', '440103199505050022', '广州市荔湾区龙津西路88号',"
        "  '510150', '020-81234567', '15000002222', '钻石卡', '启用', '5555', 1000, 26500, 5000, '贵宾'),"
        " ('M0006', '刘芳', '8800000006', '女', '440106198001011234', '广州市天河区体育西路191号中石化大厦',"
        "  '510620', '020-38001122', '18911112222', '普通卡', '禁用', '6666', 100, 0, 0, '')"));
    exec(QStringLiteral(
        "insert into employee (empl_code, empl_name, empl_sex, id_card, rela_addr, mobile, dept_name, tech_class,"
        " duty, low_salary, class_type) values"
        " ('E001', '周杰', '男', '440106198201010011', '广州市天河区五山路', '13800138001', '美发部', '高级', '发型总监', 3500, '早班'),"
        " ('E002', '吴倩', '女', '440106199002020022', '广州市天河区石牌东路', '13800138002', '美发部', '中级', '发型师', 2800, '晚班'),"
        " ('E003', '郑爽', '女', '440106199503030033', '广州市海珠区江南大道', '13800138003', '美容部', '中级', '美容师', 2600, '早班'),"
        " ('E004', '孙小宝', '男', '440106199804040044', '广州市越秀区北京路', '13800138004', '美发部', '初级', '助理', 2000, '晚班'),"
        " ('E005', '冯丹', '女', '440106199905050055', '广州市白云区同和', '13800138005', '前台', '初级', '收银员', 2200, '早班')"));
    exec(QStringLiteral(
        "insert into serveitem (serve_code, serve_name, serve_type, unit_pric, gage_time, stylist_rate, middle_rate,"
        " assis_rate, serve_note, serve_state) values"
        " ('S001', '洗剪吹', '美发', 38, '40', 30, 10, 5, '含洗发护发', '启用'),"
        " ('S002', '日式离子烫', '美发', 380, '180', 25, 10, 5, '长发另加', '启用'),"
        " ('S003', '欧莱雅染发', '美发', 280, '120', 25, 10, 5, '', '启用'),"
        " ('S004', '深层补水面部护理', '美容', 168, '60', 20, 0, 10, '', '启用'),"
        " ('S005', '头皮养护', '美发', 128, '45', 20, 0, 10, '', '启用'),"
        " ('S006', '新娘盘发造型', '美发', 588, '90', 35, 0, 5, '需预约', '停用')"));
    exec(QStringLiteral(
        "insert into company (comp_code, comp_name, comp_addr, rela_name, rela_phon, head_name, head_phon, bank_no,"
        " comp_type, belo_coun, belo_area, belo_prov, post_code, fax, e_mail, comp_note) values"
        " ('C001', '广州美丽日化用品有限公司', '广州市白云区太和镇营溪村工业园12号', '黄经理', '020-87654321', '黄大明',"
        "  '13900000001', '6222021234567890123', '供应商', '中国', '华南', '广东', '510540', '020-87654322',"
        "  'sales@meili.example', ''),"
        " ('C002', '上海欧雅美发器材贸易公司', '上海市闵行区七莘路1885号', '陆小姐', '021-64001234', '陆建国',"
        "  '13900000002', '6228481234567890', '供应商', '中国', '华东', '上海', '201100', '', '', ''),"
        " ('C003', '佛山丽人美容院', '佛山市禅城区季华五路22号', '何女士', '0757-83001234', '何丽',"
        "  '13900000003', '', '客户', '中国', '华南', '广东', '528000', '', '', '')"));
    exec(QStringLiteral(
        "insert into goods (gods_code, gods_name, gods_spec, gods_type, gods_kind, gods_unit, valu_in, valu_out,"
        " max_amou, min_amou, prod_place, prod_code, supp_code, agent_pric, gods_note) values"
        " ('G0001', '欧莱雅丝泉修护洗发露', '400ml', '洗发水', '洗护', '瓶', 45, 79, 100, 10, '广州', 'C001', 'C001', 60, ''),"
        " ('G0002', '资生堂水之密语护发素', '600ml', '护发素', '洗护', '瓶', 38, 65, 100, 10, '上海', 'C002', 'C002', 50, ''),"
        " ('G0003', '施华蔻怡然染发膏', '60ml', '染发膏', '染烫', '支', 28, 0, 200, 20, '广州', 'C001', 'C001', 0, ''),"
        " ('G0004', '威娜冷烫药水', '500ml', '烫发水', '染烫', '瓶', 55, 0, 50, 5, '上海', 'C002', 'C002', 0, ''),"
        " ('G0005', '补水保湿面膜', '25ml*10', '面膜', '美容', '盒', 60, 128, 80, 8, '广州', 'C001', 'C001', 98, '')"));
    exec(QStringLiteral(
        "insert into storemain (gods_code, gods_amou, cost_pric) values"
        " ('G0001', 36, 45), ('G0002', 24, 38), ('G0003', 120, 28), ('G0004', 15, 55), ('G0005', 40, 60)"));
    exec(QStringLiteral(
        "insert into baseitem (mone_code, mone_type, mone_rate, fee_code, fee_type, gods_unit_id, gods_unit,"
        " prod_place_id, prod_place, gods_kind_id, gods_kind, gods_type_id, gods_type, gods_color_id, gods_color,"
        " gods_size_id, gods_size, gods_spec_id, gods_spec) values"
        " ('RMB', '人民币', 1, 'F1', '现金', 'U1', '瓶', 'P1', '广州', 'K1', '美发', 'T1', '时尚染', 'C1', '亚麻棕',"
        "  'Z1', '离子烫', 'J1', '大卷'),"
        " ('HKD', '港币', 0.92, 'F2', '转账', 'U2', '支', 'P2', '上海', 'K2', '美容', 'T2', '遮白染', 'C2', '酒红色',"
        "  'Z2', '数码烫', 'J2', '中卷'),"
        " ('USD', '美元', 7.1, 'F3', '支票', 'U3', '盒', 'P3', '佛山', 'K3', '美甲', 'T3', '漂染', 'C3', '自然黑',"
        "  'Z3', '冷烫', 'J3', '小卷')"));
    exec(QStringLiteral(
        "insert into serveflow (serve_code, step_no, gods_code, dosage, flow_note, use_time) values"
        " ('S002', '1', 'G0001', '20ml', '洗发并吹至半干', 10), ('S002', '2', 'G0004', '80ml', '上卷涂药水', 40),"
        " ('S002', '3', 'G0002', '15ml', '冲洗后护发', 15), ('S003', '1', 'G0003', '1支', '调色', 10),"
        " ('S003', '2', 'G0003', '1支', '上色并停留', 35)"));
    exec(QStringLiteral(
        "insert into marcel (serve_code, mar_type, mar_kind, curl_tune, mar_mach, do_before, do_middle, do_after,"
        " bef_color, bef_sort, first_stay, first_wash, mar_note) values"
        " ('S002', '离子烫', '拉直', '中', '离子夹板', '洗发吹干', '分区涂软化剂', '冲洗定型',"
        "  '自然黑', '中性', '15分钟', '温水', '受损发质减量')"));
    exec(QStringLiteral(
        "insert into dyehair (serve_code, dye_kind, base_color, end_color, do_before, do_middle, do_after, dye_drug,"
        " use_quant, dye_plan, root_plan, mid_plan, top_plan, root_time, mid_time, top_time, dye_note) values"
        " ('S003', '时尚染', '自然黑', '亚麻棕', '隔离护理', '从发根均匀涂抹', '冲洗护色', '欧莱雅6.1号',"
        "  '60ml', '全头染', '发根后涂', '中段先涂', '发梢最后', '15分钟', '25分钟', '10分钟', '敏感头皮先做测试')"));

    // Bills and documents carry their day only, as the forms store them.
    const QDate today = QDate::currentDate();
    const QDateTime day(today, QTime(0, 0));
    const auto billNo = [&](int minutes) {
        return QDateTime(today, QTime(9, 0)).addSecs(minutes * 60).toString(QStringLiteral("yyyyMMddhhmmss"));
    };
    struct Fee {
        const char* card;
        const char* serve;
        int due, paid;
        const char* type;
        const char* note;
    };
    const Fee fees[] = {
        {"8800000001", "S001", 34, 34, "servefee", ""},      {"8800000003", "S002", 323, 323, "servefee", ""},
        {"8800000005", "S003", 224, 224, "servefee", ""},    {"8800000002", "S004", 168, 168, "servefee", ""},
        {"8800000004", "S005", 122, 122, "servefee", ""},    {"8800000001", "S004", 151, 151, "servefee", ""},
        {"8800000003", "", 0, 1000, "savemoney", "存款"},     {"8800000005", "", 0, 1000, "foregift", "押金"},
        {"", "", 0, 300, "income", "出租场地"},              {"", "", 0, 150, "income", "培训收入"},
        {"", "", 0, 2600, "Outlay", "店面水电费"},           {"", "", 0, 480, "Outlay", "毛巾清洗"},
    };
    int minute = 0;
    for (const Fee& f : fees) {
        exec(QStringLiteral("insert into insifee (bill_no, bill_date, card_no, insi_code, serve_code, should_gath,"
                            " serv_fee, gath_type, gath_note, stylist_code, middle_code, assis_code, oper_code)"
                            " values (:b, :d, :c, (select insi_code from insider where card_no=:c), :s, :due,"
                            " :paid, :t, :n, 'E001', 'E002', 'E004', 'admin')"),
             {{"b", billNo(minute)}, {"d", day},
              {"c", QString::fromUtf8(f.card)}, {"s", QString::fromUtf8(f.serve)}, {"due", f.due},
              {"paid", f.paid}, {"t", QString::fromUtf8(f.type)}, {"n", QString::fromUtf8(f.note)}});
        minute += 17;
    }
    exec(QStringLiteral("insert into bespeak (pre_date, pre_time, stylist, assisitant, bill_no, bill_date, oper_code,"
                        " pre_note, card_no, serv_code) values"
                        " (:d, '14:30', 'E001', 'E004', :b1, :d, 'admin', '下午来烫发', '8800000001', 'S002'),"
                        " (:d, '16:00', 'E002', 'E004', :b2, :d, 'admin', '染亚麻棕', '8800000001', 'S003')"),
         {{"d", day}, {"b1", billNo(1).left(15)}, {"b2", billNo(2).left(15)}});

    struct Doc {
        const char* table;
        const char* lines;
        const char* type;
        const char* company;
        int minutes;
    };
    const Doc docs[] = {{"inmain", "ingoods", "in", "C001", 300},  {"inmain", "ingoods", "retu", "C003", 320},
                        {"outmain", "outgoods", "out", "C003", 340}, {"outmain", "outgoods", "retu", "C002", 360}};
    for (const Doc& d : docs) {
        const QString bill = billNo(d.minutes);
        double total = 0;
        int line = 0;
        for (const char* goods : {"G0001", "G0002", "G0005"}) {
            const double quantity = 6 + 6 * line, price = 45 + 10 * line;
            total += quantity * price;
            exec(QStringLiteral("insert into %1 (bill_no, gods_code, sub_amou, unit_pric, remark)"
                                " values (:b, :g, :q, :p, '')")
                     .arg(QString::fromLatin1(d.lines)),
                 {{"b", bill}, {"g", QString::fromLatin1(goods)}, {"q", quantity}, {"p", price}});
            ++line;
        }
        exec(QStringLiteral("insert into %1 (bill_no, vouc_no, bill_date, comp_code, mone_type, mone_rate, fee_type,"
                            " hand_code, chek_code, oper_code, send_code, rece_code, rela_code, fact_tota, shou_tota,"
                            " remark, bill_type) values (:b, 'PZ2025000123', :d, :c, '人民币', 1, '现金', 'E005',"
                            " 'E001', 'admin', 'E004', 'E005', 'E002', :t, :t, '月初补货', :k)")
                 .arg(QString::fromLatin1(d.table)),
             {{"b", bill}, {"d", day},
              {"c", QString::fromLatin1(d.company)}, {"t", total}, {"k", QString::fromLatin1(d.type)}});
    }
}
