#include "core/Ubackup.h"

#include "core/DbConfig.h"
#include "core/FormFrame.h"
#include "core/Schema.h"
#include "core/Udatamod.h"
#include "core/Upublic.h"
#include "platform/db/Connection.h"
#include "platform/db/Error.h"
#include "platform/sys/ProgramFolder.h"
#include "platform/ui/Hourglass.h"
#include "platform/ui/Prompt.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryFile>
#include <QVBoxLayout>
#include <filesystem>
#include <optional>
#include <system_error>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace {

db::Error fileError(const QString& text, const QString& path)
{
    return db::Error(db::Error::Kind::Engine, text + QStringLiteral(": ") + QDir::toNativeSeparators(path));
}

std::filesystem::path fsPath(const QString& path)
{
    return std::filesystem::path(path.toStdU16String());
}

void copyContents(QFile& from, QFile& to)
{
    constexpr qint64 kChunk = 1 << 20;
    while (!from.atEnd()) {
        const QByteArray chunk = from.read(kChunk);
        if (chunk.isEmpty() && from.error() != QFileDevice::NoError)
            throw fileError(QStringLiteral("读取数据库文件失败"), from.fileName());
        if (to.write(chunk) != chunk.size())
            throw fileError(QStringLiteral("写入文件失败"), to.fileName());
    }
    if (!to.flush())
        throw fileError(QStringLiteral("写入文件失败"), to.fileName());
#ifdef Q_OS_UNIX
    // On disk before it replaces anything.
    if (::fsync(to.handle()) != 0)
        throw fileError(QStringLiteral("写入文件失败"), to.fileName());
#endif
}

QString kindName(TemporaryKind kind)
{
    return kind == TemporaryKind::Previous ? QStringLiteral("previous") : QStringLiteral("copying");
}

// True when entry is a temporary file of one of kinds beside fileName.
bool isTemporaryOf(const QString& entry, const QString& fileName, std::initializer_list<TemporaryKind> kinds)
{
    static const QRegularExpression pattern(QStringLiteral("^(.+)\\.([a-z]+)\\.[A-Za-z0-9]{6}\\.tmp$"));
    const QRegularExpressionMatch m = pattern.match(entry);
    if (!m.hasMatch() || m.captured(1) != fileName)
        return false;
    for (TemporaryKind kind : kinds)
        if (m.captured(2) == kindName(kind))
            return true;
    return false;
}

void removeTemporaries(const QString& folder, const QString& fileName, std::initializer_list<TemporaryKind> kinds)
{
    const QDir dir(folder);
    for (const QString& entry : dir.entryList(QDir::Files | QDir::Hidden | QDir::System | QDir::NoSymLinks))
        if (isTemporaryOf(entry, fileName, kinds))
            QFile::remove(dir.filePath(entry));
}

bool sameFolder(const QString& a, const QString& b)
{
    const QString ca = QFileInfo(a).canonicalFilePath();
    return !ca.isEmpty() && ca == QFileInfo(b).canonicalFilePath();
}

} // namespace

std::function<void()> AfterFileStep = [] {};

QString BackupFileName()
{
    return QFileInfo(CurrentDatabasePath()).fileName();
}

QString CurrentDatabasePath()
{
    if (FrmDataMod && FrmDataMod->AdoConn.isOpen())
        return FrmDataMod->AdoConn.path();
    return localDatabasePath(sys::programFolder());
}

void CheckKeyedDatabase(const QString& file)
{
    db::Connection probe;
    probe.open(file, databaseKey());
    const QString check = probe.scalar(QStringLiteral("pragma quick_check")).toString();
    if (check != QLatin1String("ok"))
        throw db::Error(db::Error::Kind::WrongKey, QStringLiteral("数据库文件已损坏"));
    if (!HoldsProgramDatabase(probe))
        throw db::Error(db::Error::Kind::WrongKey, QStringLiteral("不是本系统的数据库"));
}

std::unique_ptr<QTemporaryFile> CopyBeside(const QString& source, const QString& target, TemporaryKind kind)
{
    QFile from(source);
    if (!from.open(QIODevice::ReadOnly))
        throw fileError(QStringLiteral("无法读取数据库文件"), source);
    auto copy = std::make_unique<QTemporaryFile>(target + u'.' + kindName(kind) + QStringLiteral(".XXXXXX.tmp"));
    if (!copy->open())
        throw fileError(QStringLiteral("无法写入文件夹"), QFileInfo(target).absolutePath());
    copyContents(from, *copy);
    copy->close();
    // Temporary files are the owner's alone; the copy takes the place of a
    // file that others may need to open.
    copy->setPermissions(from.permissions());
    return copy;
}

std::unique_ptr<QTemporaryFile> CopyKeyedDatabaseBeside(const QString& source, const QString& target)
{
    std::unique_ptr<QTemporaryFile> copy = CopyBeside(source, target, TemporaryKind::Copying);
    CheckKeyedDatabase(copy->fileName());
    return copy;
}

void RemoveLeftoverCopies(const QString& folder, const QString& fileName)
{
    removeTemporaries(folder, fileName, {TemporaryKind::Copying});
}

void RemoveLeftoversBeside(const QString& database)
{
    const QFileInfo file(database);
    // Without the database, a previous one kept aside may be all there is.
    if (!file.isFile())
        return;
    removeTemporaries(file.absolutePath(), file.fileName(), {TemporaryKind::Copying, TemporaryKind::Previous});
}

void RenameFile(const QString& from, const QString& to)
{
    std::error_code ec;
    std::filesystem::rename(fsPath(from), fsPath(to), ec);
    if (ec)
        // The system's own words are English: its code is kept for support.
        throw fileError(QStringLiteral("无法替换文件（错误代码 %1）").arg(ec.value()), to);
}

void MoveIntoPlace(QTemporaryFile& file, const QString& target)
{
    RenameFile(file.fileName(), target);
    file.setAutoRemove(false);
}

void BackupDatabase(const QString& folder)
{
    db::Connection& conn = FrmDataMod->AdoConn;
    if (conn.transactionDepth() > 0)
        throw db::Error(db::Error::Kind::Usage, QStringLiteral("数据库正在写入，请稍后再备份"));
    if (folder.isEmpty() || !QFileInfo(folder).isDir())
        throw fileError(QStringLiteral("备份文件夹不存在"), folder);
    const QString source = CurrentDatabasePath();
    // A copy renamed over the open database would cut it off from its own file.
    if (sameFolder(folder, QFileInfo(source).absolutePath()))
        throw db::Error(db::Error::Kind::Usage, QStringLiteral("不能备份到数据库所在的文件夹"));
    const QString target = QDir(folder).filePath(BackupFileName());
    if (conn.isOpen())
        RemoveLeftoversBeside(source);
    RemoveLeftoverCopies(folder, BackupFileName());

    std::unique_ptr<QTemporaryFile> copy;
    {
        // An open transaction keeps the file locked: no other program can
        // write to it halfway through the copy. Nothing is written in it.
        std::optional<db::Transaction> readLock;
        if (conn.isOpen()) {
            readLock.emplace(conn);
            conn.scalar(QStringLiteral("select count(*) from sqlite_master"));
        }
        copy = CopyKeyedDatabaseBeside(source, target);
    }
    AfterFileStep();
    MoveIntoPlace(*copy, target);
    AfterFileStep();
}

DatabaseFolderForm::DatabaseFolderForm(QWidget* owner, const QString& objectName, const QString& caption,
                                       const QString& prompt, const QString& actionCaption, int position)
    : QDialog(owner), position_(position)
{
    setObjectName(objectName);
    setWindowTitle(caption);

    promptLabel = new QLabel(prompt, this);
    DC = new QComboBox(this);
    DC->setObjectName(QStringLiteral("DC"));
    for (const QFileInfo& drive : QDir::drives())
        DC->addItem(QDir::toNativeSeparators(drive.absoluteFilePath()));
    DL = new QLineEdit(this);
    DL->setObjectName(QStringLiteral("DL"));
    cmd_browse = new QPushButton(QStringLiteral("浏览..."), this);
    cmd_browse->setObjectName(QStringLiteral("cmd_browse"));
    cmd_add = new QPushButton(actionCaption, this);
    cmd_add->setObjectName(QStringLiteral("cmd_add"));
    BitBtn1 = new QPushButton(QStringLiteral("退出"), this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    for (QPushButton* b : {cmd_browse, cmd_add, BitBtn1})
        b->setAutoDefault(false);

    auto* folderRow = new QHBoxLayout;
    folderRow->addWidget(DL, 1);
    folderRow->addWidget(cmd_browse);
    middle_ = new QVBoxLayout;
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmd_add);
    buttons->addWidget(BitBtn1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(promptLabel);
    layout->addWidget(DC);
    layout->addLayout(folderRow);
    layout->addLayout(middle_, 1);
    layout->addLayout(buttons);

    // The program's folder first, as the folder the program runs in.
    const QString start = QDir::toNativeSeparators(QDir::cleanPath(sys::programFolder()));
    DL->setText(start);
    for (int i = 0; i < DC->count(); ++i)
        if (start.startsWith(DC->itemText(i), Qt::CaseInsensitive))
            DC->setCurrentIndex(i);

    connect(DC, &QComboBox::activated, this, ui::guarded(this, [this] { DCChange(); }));
    connect(DL, &QLineEdit::textChanged, this, ui::guarded(this, [this] { DLChange(); }));
    connect(cmd_browse, &QPushButton::clicked, this, ui::guarded(this, [this] { cmd_browseClick(); }));
    connect(cmd_add, &QPushButton::clicked, this, ui::guarded(this, [this] { cmd_addClick(); }));
    connect(BitBtn1, &QPushButton::clicked, this, ui::guarded(this, [this] { BitBtn1Click(); }));
    FormCreate();
}

void DatabaseFolderForm::FormCreate()
{
    cmd_add->setEnabled(HasRight(PowAdd, position_));
}

QString DatabaseFolderForm::folder() const
{
    return QDir::fromNativeSeparators(DL->text().trimmed());
}

void DatabaseFolderForm::DCChange()
{
    DL->setText(DC->currentText());
}

void DatabaseFolderForm::cmd_browseClick()
{
    if (const auto chosen = ui::chooseFolder(this, promptLabel->text(), DL->text()))
        DL->setText(QDir::toNativeSeparators(*chosen));
}

void DatabaseFolderForm::BitBtn1Click()
{
    close();
}

TFrmBackUp::TFrmBackUp(QWidget* owner)
    : DatabaseFolderForm(owner, QStringLiteral("FrmBackUp"), QStringLiteral("数据库备份"),
                         QStringLiteral("请选择备份路径"), QStringLiteral("备份"), kPosition)
{
    setFixedSize(420, 170);
}

void TFrmBackUp::cmd_addClick()
{
    try {
        ui::Hourglass wait; // gone before any message
        BackupDatabase(folder());
    } catch (const std::exception& e) {
        ShowSaveFailure(this, e, QStringLiteral("数据备份错误"));
        return;
    }
    ui::inform(this, QStringLiteral("数据备份完毕"));
}
