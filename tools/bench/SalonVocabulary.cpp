#include "tools/bench/SalonVocabulary.h"

#include <cmath>
#include <iterator>

namespace bench {

namespace {

std::vector<QString> words(std::initializer_list<const char*> utf8)
{
    std::vector<QString> out;
    for (const char* w : utf8)
        out.push_back(QString::fromUtf8(w));
    return out;
}

const QString kSurnames = QStringLiteral(
    "王李张刘陈杨黄赵吴周徐孙马朱胡郭何高林罗郑梁谢宋唐许韩冯邓曹彭曾肖田董袁潘于蒋蔡余杜叶程苏魏吕丁任沈姚卢姜崔钟"
    "谭陆汪范金石廖贾夏韦付方白邹孟熊秦邱江尹薛闫段雷侯龙史陶黎贺顾毛郝龚邵万钱严覃武戴莫孔向汤");
const QString kFemaleGiven = QStringLiteral("芳娜敏静丽艳娟霞燕玲婷雪琳晶颖慧倩莉欣悦佳雅梅兰红云萍洁琴露秀英桂凤丹");
const QString kMaleGiven = QStringLiteral("伟强磊军洋勇杰涛明超刚平辉鹏华飞斌宇浩凯健俊帆鑫毅峰晨亮林波志国建文");

struct ServiceBase {
    const char* name;
    const char* type;
    int price;
    int minutes;
    int stylist, middle, assistant;
};
const ServiceBase kServices[] = {
    {"洗剪吹", "美发", 38, 45, 20, 8, 3},     {"精剪", "美发", 68, 40, 25, 5, 0},
    {"洗吹造型", "美发", 30, 30, 15, 5, 3},   {"烫发", "美发", 280, 120, 20, 8, 5},
    {"染发", "美发", 260, 90, 18, 8, 5},      {"焗油", "美发", 120, 60, 10, 8, 5},
    {"头皮护理", "美发", 168, 50, 10, 10, 5}, {"头发护理", "美发", 128, 45, 10, 10, 5},
    {"陶瓷烫", "美发", 480, 150, 20, 8, 5},   {"数码烫", "美发", 580, 150, 20, 8, 5},
    {"挑染", "美发", 320, 100, 18, 8, 5},     {"漂发", "美发", 200, 90, 15, 8, 5},
    {"离子拉直", "美发", 380, 150, 20, 8, 5}, {"盘发", "美发", 150, 60, 25, 5, 3},
    {"面部护理", "美容", 198, 60, 15, 10, 5}, {"深层清洁", "美容", 158, 50, 15, 10, 5},
    {"补水护理", "美容", 218, 60, 15, 10, 5}, {"美白护理", "美容", 298, 70, 15, 10, 5},
    {"眼部护理", "美容", 168, 40, 15, 10, 5}, {"肩颈按摩", "美容", 128, 45, 15, 10, 5},
    {"背部护理", "美容", 238, 60, 15, 10, 5}, {"手部护理", "美容", 88, 30, 15, 10, 5},
    {"修眉", "美容", 30, 15, 20, 0, 0},       {"新娘化妆", "美容", 600, 90, 25, 5, 0},
};
struct Variant {
    const char* suffix;
    double priceFactor;
};
const Variant kVariants[] = {{"", 1.0}, {"(总监)", 1.8}, {"(首席)", 1.5}, {"(男士)", 0.8}, {"(儿童)", 0.6}};

struct Product {
    const char* name;
    const char* kind;
    const char* unit;
};
const Product kProducts[] = {
    {"洗发水", "洗护", "瓶"}, {"护发素", "洗护", "瓶"}, {"发膜", "洗护", "瓶"},       {"护发精油", "洗护", "瓶"},
    {"染膏", "染烫", "支"},   {"烫发水", "染烫", "瓶"}, {"双氧奶", "染烫", "瓶"},     {"定型喷雾", "造型", "瓶"},
    {"发蜡", "造型", "盒"},   {"啫喱", "造型", "支"},   {"面膜", "护肤", "盒"},       {"爽肤水", "护肤", "瓶"},
    {"乳液", "护肤", "瓶"},   {"面霜", "护肤", "瓶"},   {"精华液", "护肤", "瓶"},     {"眼霜", "护肤", "支"},
    {"洁面乳", "护肤", "支"}, {"卸妆油", "护肤", "瓶"}, {"按摩膏", "护肤", "瓶"},     {"美发剪", "工具", "把"},
    {"卷发棒", "工具", "个"}, {"吹风机", "工具", "个"}, {"一次性毛巾", "耗材", "条"}, {"围布", "耗材", "条"},
    {"锡纸", "耗材", "盒"},
};
const char* const kBrands[] = {"欧莱雅",   "施华蔻",   "资生堂", "卡诗",   "沙宣",     "威娜",   "美奇丝",
                               "丝蕴",     "雅诗兰黛", "兰蔻",   "自然堂", "百雀羚",   "植村秀", "娇韵诗",
                               "馥绿德雅", "阿道夫",   "卡尼尔", "珀莱雅", "相宜本草", "美宝莲"};
const char* const kSpecs[] = {"100ml", "250ml", "500ml", "1000ml", "60g", "30ml", "10片", "专业装"};
const char* const kTypes[] = {"滋润型", "控油型", "修护型", "清爽型", "标准型"};

} // namespace

const CardLevel kCardLevels[kLevelCount] = {
    {"class_a", "普通卡", 0, 100, 100},   {"class_b", "银卡", 1000, 200, 95},     {"class_c", "金卡", 3000, 300, 90},
    {"class_d", "白金卡", 6000, 500, 85}, {"class_e", "钻石卡", 10000, 1000, 80},
};

int levelOf(double spend)
{
    int level = 0;
    for (int i = 0; i < kLevelCount; ++i)
        if (spend >= kCardLevels[i].threshold)
            level = i;
    return level;
}

QString chineseName(Random& r, bool female)
{
    QString name(r.pickChar(kSurnames));
    const QString& given = female ? kFemaleGiven : kMaleGiven;
    name += r.pickChar(given);
    if (r.chance(0.7))
        name += r.pickChar(given);
    return name;
}

QString mobileNumber(Random& r)
{
    static const std::vector<QString> prefixes = words({"135", "136", "137", "138", "139", "150", "151", "158", "186"});
    return r.pick(prefixes) + QStringLiteral("%1").arg(r.below(100000000), 8, 10, QChar('0'));
}

QString address(Random& r)
{
    static const std::vector<QString> districts =
        words({"广州市天河区", "广州市越秀区", "广州市海珠区", "广州市白云区", "广州市番禺区", "广州市荔湾区"});
    static const std::vector<QString> roads =
        words({"体育西路", "中山大道", "环市东路", "江南大道", "广州大道", "解放北路", "工业大道", "黄埔大道"});
    return r.pick(districts) + r.pick(roads) + QStringLiteral("%1号").arg(r.between(1, 999));
}

QString companyName(Random& r)
{
    static const std::vector<QString> cities = words({"广州", "上海", "北京", "深圳", "杭州", "成都"});
    static const std::vector<QString> names =
        words({"华美", "丽人", "雅诗", "美达", "金发", "兰亭", "佳美", "碧水", "彩虹", "恒美"});
    static const std::vector<QString> kinds =
        words({"美容用品有限公司", "美发用品商行", "化妆品贸易公司", "日化有限公司"});
    return r.pick(cities) + r.pick(names) + r.pick(kinds);
}

QString productionPlace(Random& r)
{
    static const std::vector<QString> places = words({"广州", "上海", "法国", "日本", "德国", "美国"});
    return r.pick(places);
}

ServiceItem serviceItem(int index)
{
    const int bases = int(std::size(kServices));
    const int variants = int(std::size(kVariants));
    const ServiceBase& base = kServices[index % bases];
    const Variant& variant = kVariants[(index / bases) % variants];
    QString name = QString::fromUtf8(base.name) + QString::fromUtf8(variant.suffix);
    if (const int round = index / (bases * variants); round > 0)
        name += QString::number(round + 1);
    return {name,
            QString::fromUtf8(base.type),
            int(std::lround(base.price * variant.priceFactor)),
            base.minutes,
            base.stylist,
            base.middle,
            base.assistant};
}

GoodsItem goodsItem(int index)
{
    const int products = int(std::size(kProducts));
    const int brands = int(std::size(kBrands));
    const int specs = int(std::size(kSpecs));
    const int types = int(std::size(kTypes));
    const Product& p = kProducts[index % products];
    const int variant = index / (products * brands);
    QString type = QString::fromUtf8(kTypes[(variant / specs) % types]);
    if (const int round = variant / (specs * types); round > 0)
        type += QString::number(round + 1);
    return {QString::fromUtf8(kBrands[(index / products) % brands]) + QString::fromUtf8(p.name),
            QString::fromUtf8(kSpecs[variant % specs]), type, QString::fromUtf8(p.kind), QString::fromUtf8(p.unit)};
}

} // namespace bench
