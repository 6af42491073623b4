#include "core/Uuser.h"

#include "core/Udatamod.h"
#include "core/Upublic.h"
#include "platform/db/Value.h"
#include "platform/sys/IniFile.h"
#include "platform/sys/ProgramFolder.h"
#include "platform/ui/DataSource.h"
#include "platform/ui/DbGrid.h"
#include "platform/ui/DbLineEdit.h"
#include "platform/ui/EntryRefusal.h"
#include "platform/ui/Hourglass.h"
#include "platform/ui/Prompt.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <QSignalBlocker>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryFile>
#include <QVBoxLayout>

#include <filesystem>
#include <stdexcept>
#include <system_error>

namespace {

QString u(const char* text)
{
    return QString::fromUtf8(text);
}

struct ShopBox {
    const char* label;
    const char* column;
    const char* objectName;
};
constexpr ShopBox kCompanyBoxes[] = {
    {"本店位置", "user_posi", "DBEdit1"}, {"公司名称", "comp_name", "DBEdit2"},
    {"统一编号", "stad_no", "DBEdit3"},   {"公司传真", "user_fax", "DBEdit4"},
    {"公司电话", "user_tele", "DBEdit5"}, {"公司地址", "user_addr", "DBEdit6"},
    {"E_MAIL", "user_mail", "DBEdit7"},   {"公司主页", "user_www", "DBEdit8"},
    {"单据下标", "bill_bottom", "DBEdit9"},
};
constexpr ShopBox kCommissionBox{"", "sale_value", "DBEdit10"};

// Codes and rates are short; the lists sit side by side with the tabs.
constexpr int kCodeWidth = 50;
constexpr int kRateWidth = 64;
constexpr int kNameWidth = 90;

// One short list of baseitem: its query, where it is shown (a tab, or a group
// of its own when tab is null), its columns with their titles, and its SQL.
struct ListColumn {
    const char* field;
    const char* title;
    int width = kNameWidth;
};
struct ListDesign {
    const char* query;
    const char* tab;
    const char* group;
    std::vector<ListColumn> columns;
    const char* sql;
};

const std::vector<ListDesign>& listDesigns()
{
    static const std::vector<ListDesign> designs{
        {"FeeDefiQ", nullptr, "结算方式", {{"fee_code", "代码", kCodeWidth}, {"fee_type", "结算方式"}},
         "select distinct fee_code,fee_type from baseitem  where fee_code is not null order by fee_code "},
        {"MoneDefQ", nullptr, "币种", {{"mone_code", "代码", kCodeWidth}, {"mone_type", "币种"}, {"mone_rate", "汇率", kRateWidth}},
         "select distinct mone_code,mone_type,mone_rate from baseitem  where mone_code is not null order by mone_code "},
        {"KindDefiQ", "服务类别", nullptr, {{"gods_kind_id", "编号", kCodeWidth}, {"gods_kind", "服务项目类别"}},
         "select distinct gods_kind_id,gods_kind from baseitem where gods_kind_id is not null order by gods_kind_id "},
        {"TypeDefiQ", "染发类别", nullptr, {{"gods_type_id", "编号", kCodeWidth}, {"gods_type", "染发类别"}},
         "select distinct gods_type_id,Gods_type from baseitem where gods_type_id is not null  order by gods_type_id "},
        {"ColorDefiQ", "染发颜色", nullptr, {{"gods_color_id", "编号", kCodeWidth}, {"gods_color", "染发颜色"}},
         "select distinct gods_color_id,gods_color from baseitem  where gods_color_id is not null order by gods_color_id "},
        {"SizeDefiQ", "烫发方式", nullptr, {{"gods_size_id", "编号", kCodeWidth}, {"gods_size", "染发方式"}},
         "select distinct gods_size_id,gods_size from baseitem  where gods_size_id is not null order by gods_size_id "},
        {"ProdDefiQ", "造型类别", nullptr, {{"prod_place_id", "编号", kCodeWidth}, {"prod_place", "造型类别"}},
         "select distinct prod_place_id,prod_place from baseitem  where prod_place_id is not null order by prod_place_id "},
        {"SpecDefiQ", "沟通卷度", nullptr, {{"gods_spec_id", "编号", kCodeWidth}, {"gods_spec", "沟通卷度"}},
         "select distinct gods_spec_id,gods_spec  from baseitem  where gods_spec_id is not null order by gods_spec_id "},
        {"UnitDefiQ", "排列方式", nullptr, {{"gods_unit_id", "编号", kCodeWidth}, {"gods_unit", "排列方式"}},
         "select distinct gods_unit_id,gods_unit from baseitem  where gods_unit_id is not null order by gods_unit_id "},
    };
    return designs;
}

const ListDesign& designOf(const char* query)
{
    for (const ListDesign& design : listDesigns())
        if (qstrcmp(design.query, query) == 0)
            return design;
    throw std::logic_error(query);
}

const char* const kSaveOrder[] = {"SpecDefiQ", "TypeDefiQ", "KindDefiQ", "MoneDefQ", "FeeDefiQ",
                                  "ColorDefiQ", "SizeDefiQ", "UnitDefiQ", "ProdDefiQ"};

const QString kA4 = QStringLiteral("A4");
const QString kDefaultPaper = QStringLiteral("默认");
const QString kCustomPaper = QStringLiteral("自定义");

db::Dataset& shopRow()
{
    return FrmDataMod->UserQ;
}

db::Dataset& list(const char* name)
{
    return *FrmDataMod->query(u(name));
}

sys::IniFile settingsFile()
{
    return sys::IniFile(sys::programFolder() + QStringLiteral("system.ini"));
}

QLineEdit* millimetreBox(QWidget* parent, const QString& objectName)
{
    auto* box = new QLineEdit(parent);
    box->setObjectName(objectName);
    box->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,3}")), box));
    box->setAlignment(Qt::AlignRight);
    box->setFixedWidth(box->fontMetrics().horizontalAdvance(QStringLiteral("0000")) + 16);
    return box;
}

// Every column takes typing; the grid itself is made read-only while browsing.
// Entries are typed one after another, each on a new row.
ui::DbGrid* makeListGrid(QWidget* parent, const ListDesign& design, int number)
{
    auto* grid = new ui::DbGrid(parent);
    grid->setObjectName(QStringLiteral("DBGrid%1").arg(number));
    grid->setRowEntry(true);
    std::vector<ui::GridColumn> columns;
    for (const ListColumn& c : design.columns)
        columns.push_back({u(c.field), u(c.title), c.width, false});
    grid->setColumns(std::move(columns));
    grid->setDataset(FrmDataMod->query(u(design.query)));
    return grid;
}

// A row left in edit ends the way a move to another row would end it: kept
// when something was typed, dropped (a blank new row included) when not.
void settleRow(db::Dataset& q)
{
    if (!q.isEditing())
        return;
    if (q.modified())
        q.post();
    else
        q.cancel();
}

QStringList columnsOf(const ListDesign& design)
{
    QStringList columns;
    for (const ListColumn& column : design.columns)
        columns << u(column.field);
    return columns;
}

// A baseitem row may hold entries of several lists, and deleting an entry
// deletes every row holding it; so entries of other lists on such a row move
// to a row of their own first.
void keepOtherEntriesOfDeletedRows(db::Connection& conn, const ListDesign& design, const db::Dataset& q)
{
    const QStringList own = columnsOf(design);
    QStringList others;
    for (const ListDesign& d : listDesigns())
        if (&d != &design)
            others << columnsOf(d);
    const QString holdsOthers = others.join(QStringLiteral(" is not null or ")) + QStringLiteral(" is not null");
    const QString clearOthers = others.join(QStringLiteral("=null,")) + QStringLiteral("=null");
    for (const db::Dataset::PendingRow& pending : q.pendingRows()) {
        if (pending.status != db::RowStatus::Deleted)
            continue;
        QStringList sameEntry;
        db::Params params;
        for (qsizetype i = 0; i < own.size(); ++i) {
            sameEntry << QStringLiteral("%1 is :v%2").arg(own[i], QString::number(i));
            params.set(QStringLiteral("v%1").arg(i), pending.original[size_t(q.fieldIndex(own[i]))]);
        }
        std::vector<qlonglong> shared;
        db::Statement find(conn, QStringLiteral("select rowid from baseitem where %1 and (%2)")
                                     .arg(sameEntry.join(QStringLiteral(" and ")), holdsOthers));
        find.bindAll(params);
        while (find.step())
            shared.push_back(find.value(0).toLongLong());
        for (const qlonglong rowid : shared) {
            const db::Params row{{QStringLiteral("r"), rowid}};
            conn.execute(QStringLiteral("insert into baseitem (%1) select %1 from baseitem where rowid=:r")
                             .arg(others.join(',')),
                         row);
            conn.execute(QStringLiteral("update baseitem set %1 where rowid=:r").arg(clearOthers), row);
        }
    }
}

// A settings file written for the first time gets the usual rights.
constexpr QFileDevice::Permissions kNewFilePermissions =
    QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther;

bool copyFile(QFile& from, QFile& to)
{
    if (!from.open(QIODevice::ReadOnly))
        return false;
    const QByteArray bytes = from.readAll();
    const bool read = from.error() == QFileDevice::NoError;
    from.close();
    return read && to.write(bytes) == bytes.size() && to.flush();
}

} // namespace

TFrmUser::TFrmUser(QWidget* owner)
    : RecordForm(owner, QStringLiteral("FrmUser"), QStringLiteral("基本设置"), kPosition)
{
    addStandardButtons({"cmd_edit", "cmd_save", "cmd_canc", "cmd_exit"},
                       {"修改[&E]", "保存[&S]", "取消[&C]", "退出[&X]"});
    shopSource_ = new ui::DataSource(&shopRow(), this);
    buildCompanyGroup();
    buildPrintGroup();

    auto* top = new QHBoxLayout;
    top->addWidget(companyGroup_, 3);
    auto* right = new QVBoxLayout;
    right->addWidget(printGroup_);
    right->addWidget(buildCommissionGroup());
    right->addStretch(1);
    top->addLayout(right, 2);
    body()->addLayout(top);
    buildLists();

    controls().dataGroups = {companyGroup_, printGroup_};
    setClosableAnyTime(true);
    setFirstEditBox(shopBoxes_.front());
    runFormCreate([this] { FormCreate(); });
    connect(paperBox_, &QComboBox::currentIndexChanged, this, ui::guarded(this, [this] { ComboBox1Change(); }));
    resize(960, 640);
}

TFrmUser::~TFrmUser()
{
    discardPending();
}

void TFrmUser::buildCompanyGroup()
{
    companyGroup_ = new QGroupBox(QStringLiteral("公司资料"), this);
    companyGroup_->setObjectName(QStringLiteral("GroupBox1"));
    auto* layout = new QGridLayout(companyGroup_);
    int row = 0;
    for (const ShopBox& entry : kCompanyBoxes) {
        auto* box = new ui::DbLineEdit(shopSource_, u(entry.column), companyGroup_);
        box->setObjectName(u(entry.objectName));
        shopBoxes_.push_back(box);
        layout->addWidget(ui::labelFor(box, u(entry.label)), row, 0);
        layout->addWidget(box, row, 1);
        ++row;
    }
}

void TFrmUser::buildPrintGroup()
{
    printGroup_ = new QGroupBox(QStringLiteral("出货报表参数"), this);
    printGroup_->setObjectName(QStringLiteral("GroupBox2"));
    auto* layout = new QGridLayout(printGroup_);

    paperBox_ = new QComboBox(printGroup_);
    paperBox_->setObjectName(QStringLiteral("ComboBox1"));
    paperBox_->addItems({kDefaultPaper, kCustomPaper, kA4});
    layout->addWidget(new QLabel(QStringLiteral("打印纸张大小"), printGroup_), 0, 0);
    layout->addWidget(paperBox_, 0, 1, 1, 2);

    widthBox_ = millimetreBox(printGroup_, QStringLiteral("MaskEdit1"));
    lengthBox_ = millimetreBox(printGroup_, QStringLiteral("MaskEdit2"));
    layout->addWidget(new QLabel(QStringLiteral("宽"), printGroup_), 1, 0);
    layout->addWidget(widthBox_, 1, 1);
    layout->addWidget(new QLabel(QStringLiteral("毫米"), printGroup_), 1, 2);
    layout->addWidget(new QLabel(QStringLiteral("长"), printGroup_), 2, 0);
    layout->addWidget(lengthBox_, 2, 1);
    layout->addWidget(new QLabel(QStringLiteral("毫米"), printGroup_), 2, 2);

    linesBox_ = new QLineEdit(printGroup_);
    linesBox_->setObjectName(QStringLiteral("Edit1"));
    layout->addWidget(ui::labelFor(linesBox_, QStringLiteral("出货报表格式"), printGroup_), 3, 0);
    layout->addWidget(linesBox_, 3, 1);
    layout->addWidget(new QLabel(QStringLiteral("行数"), printGroup_), 3, 2);
}

QGroupBox* TFrmUser::buildCommissionGroup()
{
    // Outside the company group: the mode does not switch it, the box itself
    // takes typing only while the shop row is being edited.
    auto* group = new QGroupBox(QStringLiteral("销售提成方式"), this);
    group->setObjectName(QStringLiteral("GroupBox3"));
    auto* row = new QHBoxLayout(group);
    auto* box = new ui::DbLineEdit(shopSource_, u(kCommissionBox.column), group);
    box->setObjectName(u(kCommissionBox.objectName));
    box->setAlignment(Qt::AlignRight);
    box->setCheckedOnSave(true);
    box->setAccessibleName(QStringLiteral("提成比例"));
    shopBoxes_.push_back(box);
    row->addWidget(new QLabel(QStringLiteral("提成比例：  销售金额 X"), group));
    row->addWidget(box);
    row->addWidget(new QLabel(QStringLiteral("%"), group));
    return group;
}

void TFrmUser::buildLists()
{
    auto* row = new QHBoxLayout;
    listTabs_ = new QTabWidget(this);
    listTabs_->setObjectName(QStringLiteral("PageControl1"));
    // Every tab's caption shows: no scroll arrows hide a list.
    listTabs_->tabBar()->setUsesScrollButtons(false);
    for (const ListDesign& design : listDesigns()) {
        ui::DbGrid* grid = makeListGrid(this, design, int(lists_.size()) + 1);
        grid->installEventFilter(this);
        lists_.push_back({u(design.query), grid});
        if (design.tab) {
            listTabs_->addTab(grid, u(design.tab));
            continue;
        }
        auto* group = new QGroupBox(u(design.group), this);
        auto* inner = new QVBoxLayout(group);
        inner->addWidget(grid);
        row->addWidget(group, 2);
    }
    row->addWidget(listTabs_, 3);
    body()->addLayout(row, 1);
}

void TFrmUser::FormCreate()
{
    ui::Hourglass wait;
    readPrintSettings();
    db::Dataset& user = shopRow();
    user.close();
    user.setSql(QStringLiteral("select top 1 * from userinfo "));
    user.setLockType(db::LockType::Optimistic);
    user.open();
    for (const ListDesign& design : listDesigns()) {
        db::Dataset& q = list(design.query);
        q.close();
        q.setSql(u(design.sql));
        q.setLockType(db::LockType::BatchOptimistic);
        q.open();
    }
}

void TFrmUser::readPrintSettings()
{
    const sys::IniFile ini = settingsFile();
    const QString type = ini.readString(QStringLiteral("pagesize"), QStringLiteral("page_type"), kA4);
    const QSignalBlocker quiet(paperBox_);
    // A type this form does not offer reads as the one used when none is saved.
    const int index = paperBox_->findText(type);
    paperBox_->setCurrentIndex(index >= 0 ? index : paperBox_->findText(kA4));
    widthBox_->setText(QString::number(ini.readInt(QStringLiteral("pagesize"), QStringLiteral("page_width"), 210)));
    lengthBox_->setText(QString::number(ini.readInt(QStringLiteral("pagesize"), QStringLiteral("page_length"), 297)));
    linesBox_->setText(ini.readString(QStringLiteral("billdata"), QStringLiteral("line_count"), QStringLiteral("0")));
    showPaperBoxesState();
}

void TFrmUser::showPaperBoxesState()
{
    const bool custom = paperBox_->currentText() == kCustomPaper;
    widthBox_->setEnabled(custom);
    lengthBox_->setEnabled(custom);
}

void TFrmUser::ComboBox1Change()
{
    const QString type = paperBox_->currentText();
    if (type == kA4) {
        widthBox_->setText(QStringLiteral("210"));
        lengthBox_->setText(QStringLiteral("297"));
    } else if (type == kDefaultPaper) {
        widthBox_->setText(QStringLiteral("218"));
        lengthBox_->setText(QStringLiteral("140"));
    }
    showPaperBoxesState();
}

void TFrmUser::SetControlStates()
{
    RecordForm::SetControlStates();
    const bool browsing = mode() == FormMode::Null;
    for (const ListGrid& l : lists_)
        l.grid->setReadOnly(browsing);
}

void TFrmUser::cmd_editClick()
{
    ui::Hourglass wait;
    try {
        shopRow().edit();
        // A list row goes into edit when a cell of it is changed; only an
        // empty list gets its first row here, ready for typing.
        for (const ListDesign& design : listDesigns()) {
            db::Dataset& q = list(design.query);
            if (q.isEmpty())
                q.append();
        }
    } catch (...) {
        discardPending();
        throw;
    }
    setMode(FormMode::Edit);
    shopBoxes_.front()->setFocus();
}

bool TFrmUser::listEntriesHaveCodes()
{
    for (const ListDesign& design : listDesigns()) {
        const db::Dataset& q = list(design.query);
        if (!q.isActive())
            continue;
        const int code = q.fieldIndex(u(design.columns.front().field));
        for (int row = 0; row < q.recordCount(); ++row) {
            if (!db::asString(q.value(row, code)).isEmpty())
                continue;
            QString entry;
            for (size_t c = 1; c < design.columns.size() && entry.isEmpty(); ++c)
                entry = db::asString(q.value(row, q.fieldIndex(u(design.columns[c].field)))).trimmed();
            if (entry.isEmpty())
                continue; // a row left blank is no entry
            ui::DbGrid* grid = listGrid(u(design.query));
            if (listTabs_->indexOf(grid) >= 0)
                listTabs_->setCurrentWidget(grid);
            grid->setCurrentIndex(grid->model()->index(row, 0));
            grid->setFocus();
            ui::warn(this, QStringLiteral("%1：“%2”没有%3")
                               .arg(u(design.tab ? design.tab : design.group), db::messageExcerpt(entry),
                                    u(design.columns.front().title)));
            return false;
        }
    }
    return true;
}

bool TFrmUser::checkPaperSize()
{
    if (paperBox_->currentText().trimmed() != kCustomPaper)
        return true;
    const QString width = widthBox_->text().trimmed();
    const QString length = lengthBox_->text().trimmed();
    QString problem;
    if (width.isEmpty())
        problem = QStringLiteral("自定义纸张类型必需输入纸张宽度");
    else if (length.isEmpty())
        problem = QStringLiteral("自定义纸张类型必需输入纸张长度");
    else if (width.toInt() < 50 || width.toInt() > 400)
        problem = QStringLiteral("纸张宽度不合适");
    else if (length.toInt() < 80 || length.toInt() > 500)
        problem = QStringLiteral("纸张长度不合适");
    if (problem.isEmpty())
        return true;
    ui::warn(this, problem);
    return false;
}

bool TFrmUser::readNumbers(PrintNumbers& numbers)
{
    const std::pair<QLineEdit*, int*> boxes[] = {{widthBox_, &numbers.width},
                                                 {lengthBox_, &numbers.length},
                                                 {linesBox_, &numbers.lines},
                                                 {shopBox(QStringLiteral("sale_value")), &numbers.commission}};
    for (const auto& [box, number] : boxes) {
        const QString text = box->text().trimmed();
        bool ok = false;
        *number = text.toInt(&ok);
        if (!ok) {
            ui::showRefusal(this, ui::RefusedEntry(box, ui::notWholeNumberText(text)));
            return false;
        }
    }
    // Commission lines keep the percent in a small whole-number column: a
    // larger one would leave every salesperson out of the salary sheet.
    if (!db::fitsWholeNumberColumn(numbers.commission, db::FieldType::SmallInt)) {
        QLineEdit* box = shopBox(QStringLiteral("sale_value"));
        ui::showRefusal(this, ui::RefusedEntry(box, ui::outOfRangeText(box->text().trimmed())));
        return false;
    }
    return true;
}

void TFrmUser::writeDatabase()
{
    shopRow().post();
    for (const char* name : kSaveOrder) {
        db::Dataset& q = list(name);
        if (!q.isActive())
            continue;
        settleRow(q);
        keepOtherEntriesOfDeletedRows(FrmDataMod->AdoConn, designOf(name), q);
        q.applyBatch();
    }
}

void TFrmUser::publishPrintSettings(const PrintNumbers& numbers)
{
    BillCompanyName = shopBox(QStringLiteral("comp_name"))->text().trimmed();
    BillFooter = shopBox(QStringLiteral("bill_bottom"))->text().trimmed();
    PageType = paperBox_->currentText().trimmed();
    PageWidth = numbers.width;
    PageLength = numbers.length;
    LinesPerPage = numbers.lines;
    SaleCommissionRate = numbers.commission;
}

std::unique_ptr<QTemporaryFile> TFrmUser::stagePrintSettings(const PrintNumbers& numbers) const
{
    const QString path = settingsFile().path();
    const QString failure = QStringLiteral("打印设置未能写入 %1").arg(QDir::toNativeSeparators(path));
    auto staged = std::make_unique<QTemporaryFile>(path + QStringLiteral(".XXXXXX"));
    QFile current(path);
    const bool existed = current.exists();
    if (!staged->open() || (existed && !copyFile(current, *staged)))
        throw std::runtime_error(failure.toStdString());
    staged->close();

    sys::IniFile ini(staged->fileName());
    const QString billdata = QStringLiteral("billdata");
    const QString pagesize = QStringLiteral("pagesize");
    const QString company = shopBox(QStringLiteral("comp_name"))->text().trimmed();
    const QString footer = shopBox(QStringLiteral("bill_bottom"))->text().trimmed();
    bool ok = ini.writeString(billdata, QStringLiteral("company_name"), company);
    ok = ok && ini.writeString(billdata, QStringLiteral("bill_bottom"), footer);
    ok = ok && ini.writeString(billdata, QStringLiteral("line_count"), linesBox_->text().trimmed());
    ok = ok && ini.writeString(pagesize, QStringLiteral("page_type"), paperBox_->currentText().trimmed());
    ok = ok && ini.writeInt(pagesize, QStringLiteral("page_width"), numbers.width);
    ok = ok && ini.writeInt(pagesize, QStringLiteral("page_length"), numbers.length);
    ok = ok && QFile::setPermissions(staged->fileName(), existed ? current.permissions() : kNewFilePermissions);
    if (!ok)
        throw std::runtime_error(failure.toStdString());
    return staged;
}

bool TFrmUser::putInPlace(QTemporaryFile& staged) const
{
    std::error_code ec;
    std::filesystem::rename(std::filesystem::path(staged.fileName().toStdU16String()),
                            std::filesystem::path(settingsFile().path().toStdU16String()), ec);
    if (ec)
        return false;
    staged.setAutoRemove(false);
    return true;
}

bool TFrmUser::saveAll(const PrintNumbers& numbers)
{
    db::Transaction t(FrmDataMod->AdoConn);
    writeDatabase();
    // The file is made ready before the commit and replaced in one rename
    // after it: a file that cannot be written takes the database writes back.
    std::unique_ptr<QTemporaryFile> staged = stagePrintSettings(numbers);
    t.commit();
    return putInPlace(*staged);
}

void TFrmUser::cmd_saveClick()
{
    endCellTyping();
    // Everything that can refuse the save is asked before anything is written.
    if (!listEntriesHaveCodes() || !checkPaperSize())
        return;
    PrintNumbers numbers;
    if (!readNumbers(numbers))
        return;
    bool fileWritten = false;
    try {
        ui::Hourglass wait;
        fileWritten = saveAll(numbers);
    } catch (const std::exception& e) {
        // Rolled back: the shop row is back in edit with what was typed and
        // the lists keep their pending rows for another try.
        ShowSaveFailure(this, e);
        return;
    }
    publishPrintSettings(numbers);
    setMode(FormMode::Null);
    if (!fileWritten)
        ui::showError(this, QStringLiteral("打印设置未能写入 %1").arg(QDir::toNativeSeparators(settingsFile().path())));
}

void TFrmUser::endCellTyping()
{
    // A cell still open for typing (a save by its shortcut leaves the focus
    // there) hands what was typed in it to its list, to be saved with the rest.
    for (const ListGrid& l : lists_)
        l.grid->finishEditing();
}

void TFrmUser::discardPending()
{
    if (!FrmDataMod)
        return;
    try {
        shopRow().cancel();
    } catch (const std::exception&) {
    }
    for (const ListDesign& design : listDesigns()) {
        try {
            list(design.query).cancelBatch();
        } catch (const std::exception&) {
        }
    }
}

void TFrmUser::cmd_cancClick()
{
    discardPending();
    readPrintSettings();
    setMode(FormMode::Null);
}

void TFrmUser::done(int result)
{
    // Closing discards: nothing typed here may stay pending in the shared queries.
    discardPending();
    RecordForm::done(result);
}

ui::DbLineEdit* TFrmUser::shopBox(const QString& column) const
{
    for (ui::DbLineEdit* box : shopBoxes_)
        if (box->field() == column)
            return box;
    return nullptr;
}

ui::DbGrid* TFrmUser::listGrid(const QString& queryName) const
{
    for (const ListGrid& l : lists_)
        if (l.queryName == queryName)
            return l.grid;
    return nullptr;
}

bool TFrmUser::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        for (const ListGrid& l : lists_) {
            if (l.grid != watched || l.grid->isReadOnly())
                continue;
            const auto* key = static_cast<QKeyEvent*>(event);
            return listGridKey(l.grid, key->key(), key->modifiers());
        }
    }
    return RecordForm::eventFilter(watched, event);
}

bool TFrmUser::listGridKey(ui::DbGrid* grid, int key, Qt::KeyboardModifiers modifiers)
{
    db::Dataset* q = grid->dataset();
    if (!q || !q->isActive())
        return false;
    if (key == Qt::Key_Insert && modifiers == Qt::NoModifier) {
        ui::runGuarded(this, [q] { q->insert(); });
        return true;
    }
    if (key == Qt::Key_Delete && modifiers == Qt::ControlModifier) {
        if (!q->isEmpty() && confirmDelete())
            ui::runGuarded(this, [q] { q->remove(); });
        return true;
    }
    return false;
}
