#include "core/Ulogin.h"

#include "core/DbConfig.h"
#include "core/Schema.h"
#include "core/Ubackup.h"
#include "core/Udatamod.h"
#include "core/Upublic.h"
#include "platform/db/Error.h"
#include "platform/sys/IniFile.h"
#include "platform/sys/ProgramFolder.h"
#include "platform/ui/Hourglass.h"
#include "platform/ui/Prompt.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <cstdlib>

QString NetType;
bool DbConnected = false;
int LoginAttempts = 0;
bool TerminateRequested = false;
std::function<void(int)> HaltProcess = [](int code) { std::_Exit(code); };
TFrmLogin* FrmLogin = nullptr;

namespace {

const QString kCaption = QStringLiteral("提示");

QString settingsPath()
{
    return sys::programFolder() + QStringLiteral("system.ini");
}

// What one attempt opens: built anew for every attempt from the network type
// and the data source.
struct ConnectionDescription {
    QString file;
    QByteArray key;
};

ConnectionDescription describeConnection(const QString& dataSource)
{
    if (NetType == QLatin1String("single"))
        return {localDatabasePath(sys::programFolder()), databaseKey()};
    return {dataSource, databaseKey()};
}

// Why the program cannot work on the database just opened, "" when it can:
// a write-protected file opens for reading only, and a write-protected
// folder refuses the journal every save needs.
QString writeProtection(const db::Connection& conn, const QString& file)
{
    const QFileInfo info(file);
    if (conn.isReadOnly())
        return QStringLiteral("数据库文件是只读的，程序无法在其上工作：") + QDir::toNativeSeparators(info.absoluteFilePath());
    if (!QFileInfo(info.absolutePath()).isWritable())
        return QStringLiteral("数据库所在的文件夹是只读的，程序无法在其上工作：") + QDir::toNativeSeparators(info.absolutePath());
    return {};
}

void attemptOpen(QWidget* parent, const QString& dataSource)
{
    db::Connection& conn = FrmDataMod->AdoConn;
    conn.close();
    if (NetType == QLatin1String("cs_server")) {
        ui::warn(parent, QStringLiteral("数据库无法打开\n暂不支持连接数据库服务器，请使用本机或文件服务器上的数据库。"));
        return;
    }
    const ConnectionDescription description = describeConnection(dataSource);
    try {
        conn.open(description.file, description.key);
    } catch (const db::Error& e) {
        ui::showError(parent, QStringLiteral("数据库无法打开\n") + e.reason(), db::detailsOf(e));
        return;
    }
    if (!HoldsProgramDatabase(conn)) {
        // Taken for the database, it would be recorded as the data source and
        // the database a restore kept aside would be removed as a leftover.
        conn.close();
        ui::showError(parent, QStringLiteral("数据库无法打开\n不是本系统的数据库（文件可能是空的或未复制完整）：") +
                                  QDir::toNativeSeparators(QFileInfo(description.file).absoluteFilePath()));
        return;
    }
    if (const QString refusal = writeProtection(conn, description.file); !refusal.isEmpty()) {
        conn.close();
        ui::showError(parent, QStringLiteral("数据库无法打开\n") + refusal);
        return;
    }
    {
        // A database of an earlier version gains the indexes added since,
        // which takes a while on a large ledger the first time.
        ui::Hourglass wait;
        CreateMissingIndexes(conn);
    }
    DbConnected = true;
    // The file in place has opened: what an interrupted backup or restore
    // left beside it is no longer needed.
    RemoveLeftoversBeside(description.file);
    sys::IniFile(settingsPath()).writeString(QStringLiteral("nettype"), QStringLiteral("datasource"),
                                             description.file.trimmed());
}

} // namespace

void RequestTerminate()
{
    TerminateRequested = true;
    QCoreApplication::exit(0);
}

void ConnectDatabase(QWidget* parent)
{
    QString dataSource;
    if (NetType == QLatin1String("cs_server") || NetType == QLatin1String("fs_server"))
        dataSource = sys::IniFile(settingsPath()).readString(QStringLiteral("nettype"), QStringLiteral("datasource"), QString());
    else
        dataSource = localDatabasePath(sys::programFolder());

    if (dataSource.trimmed().isEmpty()) {
        const auto typed = ui::input(parent, kCaption, QStringLiteral("请输入数据库所在服务器名称或地址："), dataSource);
        // A blank answer names no server: it is taken as a cancel rather than
        // as a bare file name in whatever folder the program runs in.
        if (!typed || typed->trimmed().isEmpty()) {
            DbConnected = false;
            return;
        }
        const QString answer = typed->trimmed();
        dataSource = NetType == QLatin1String("fs_server") ? answer + QStringLiteral("orbenta.db") : answer;
    }
    // One attempt: a file that will not open now will not open a moment later,
    // and the user is told why.
    if (!DbConnected && !dataSource.trimmed().isEmpty())
        attemptOpen(parent, dataSource);
}

TFrmLogin::TFrmLogin(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("FrmLogin"));
    setWindowTitle(QStringLiteral("用户登录"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setFixedSize(250, 160);

    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit2 = new QLineEdit(this);
    Edit2->setObjectName(QStringLiteral("Edit2"));
    Edit2->setEchoMode(QLineEdit::Password);
    cmd_ok = new QPushButton(QStringLiteral("确定[&O]"), this);
    cmd_ok->setObjectName(QStringLiteral("cmd_ok"));
    cmd_ok->setAutoDefault(false);
    cmd_close = new QPushButton(QStringLiteral("关闭[&X]"), this);
    cmd_close->setObjectName(QStringLiteral("cmd_close"));
    cmd_close->setAutoDefault(false);

    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(QStringLiteral("用户名："), this), 0, 0);
    grid->addWidget(Edit1, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("密  码："), this), 1, 0);
    grid->addWidget(Edit2, 1, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(cmd_ok);
    buttons->addWidget(cmd_close);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(buttons);

    connect(cmd_ok, &QPushButton::clicked, this, ui::guarded(this, [this] { cmd_okClick(); }));
    connect(cmd_close, &QPushButton::clicked, this, [this] { cmd_closeClick(); });
    Edit2->installEventFilter(this);
    FormCreate();
}

void TFrmLogin::FormCreate()
{
    LoginAttempts = 1;
    DbConnected = false;
    NetType = QStringLiteral("single");
}

bool TFrmLogin::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == Edit2 && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)
            ui::runGuarded(this, [this] { Edit2KeyPress(QChar(13)); });
    }
    return QDialog::eventFilter(watched, event);
}

void TFrmLogin::Edit2KeyPress(QChar key)
{
    if (key == QChar(13))
        cmd_okClick();
}

void TFrmLogin::cmd_okClick()
{
    const QString password = Edit2->text().trimmed();
    if (++LoginAttempts == 4)
        RequestTerminate(); // the third press ends the program whatever its result

    ConnectDatabase(this);
    if (!DbConnected)
        return;

    ui::Hourglass wait;
    db::Dataset& q = FrmDataMod->TempQ;
    try {
        q.close();
        q.clearSql();
        q.addSql(QStringLiteral("select * from powers "));
        q.addSql(QStringLiteral(" where user_id=:user_id"));
        // A user saved without a password holds NULL, which only this
        // comparison lets an empty entry match.
        q.addSql(QStringLiteral(" and coalesce(password,'')=:password"));
        q.setParam(QStringLiteral("user_id"), Edit1->text().trimmed());
        q.setParam(QStringLiteral("password"), password);
        q.open();
    } catch (const std::exception&) {
        throw db::Error(db::Error::Kind::Engine, QStringLiteral("数据库无法打开"));
    }
    if (q.isEmpty()) {
        ui::warn(this, QStringLiteral("用户名或密码错误！"));
        Edit1->setFocus();
        return;
    }
    PowUse = q.asString(QStringLiteral("pow_use"));
    PowAdd = q.asString(QStringLiteral("pow_add"));
    PowEdit = q.asString(QStringLiteral("pow_edit"));
    PowDele = q.asString(QStringLiteral("pow_dele"));
    PowChek = q.asString(QStringLiteral("pow_chek"));
    PowFind = q.asString(QStringLiteral("pow_find"));
    PowPrin = q.asString(QStringLiteral("pow_prin"));
    CurrentUser = Edit1->text().trimmed();
    accept();
}

void TFrmLogin::cmd_closeClick()
{
    HaltProcess(1);
}
