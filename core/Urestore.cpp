#include "core/Urestore.h"

#include "core/DbConfig.h"
#include "core/FormFrame.h"
#include "core/Udatamod.h"
#include "platform/db/Connection.h"
#include "platform/db/Error.h"
#include "platform/ui/Hourglass.h"
#include "platform/ui/Prompt.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QListWidget>
#include <QTemporaryFile>
#include <QVBoxLayout>

std::function<void(db::Connection&, const QString&)> ReopenDatabase = [](db::Connection& conn, const QString& path) {
    conn.open(path, databaseKey());
};

namespace {

db::Error refusal(const QString& text)
{
    return db::Error(db::Error::Kind::Usage, text);
}

// Renames the kept file back over the database and opens it again. A file
// that cannot go back is opened where it is, and the error says where that
// is: neither the data nor the working connection is lost.
void putBack(db::Connection& conn, const QString& kept, const QString& target)
{
    try {
        RenameFile(kept, target);
    } catch (const db::Error& e) {
        ReopenDatabase(conn, kept);
        throw db::Error(db::Error::Kind::Engine, QStringLiteral("原数据库未能放回（%1），现在使用的是 %2")
                                                     .arg(e.reason(), QDir::toNativeSeparators(kept)));
    }
    ReopenDatabase(conn, target);
}

} // namespace

void RestoreDatabase(const QString& folder)
{
    db::Connection& conn = FrmDataMod->AdoConn;
    const QString target = CurrentDatabasePath();
    const QString source = QDir(folder).filePath(BackupFileName());
    if (!QFileInfo(source).isFile())
        throw refusal(QStringLiteral("所选文件夹中没有备份文件 %1").arg(BackupFileName()));
    if (QFileInfo(source).canonicalFilePath() == QFileInfo(target).canonicalFilePath())
        throw refusal(QStringLiteral("所选文件就是正在使用的数据库"));
    if (conn.transactionDepth() > 0)
        throw refusal(QStringLiteral("数据库正在写入，请稍后再恢复"));
    try {
        CheckKeyedDatabase(source);
    } catch (const db::Error& e) {
        throw refusal(QStringLiteral("备份文件无法作为本系统的数据库打开（%1），当前数据未改动").arg(e.reason()));
    }
    if (conn.isOpen())
        RemoveLeftoversBeside(target);
    RemoveLeftoverCopies(folder, BackupFileName());
    std::unique_ptr<QTemporaryFile> incoming = CopyKeyedDatabaseBeside(source, target);
    AfterFileStep();

    for (db::Dataset* q : FrmDataMod->queries())
        q->close();
    conn.close();
    // A journal left beside the file means another program is in the middle
    // of writing it; replacing the file now would tear that write.
    if (QFileInfo::exists(target + QStringLiteral("-journal"))) {
        ReopenDatabase(conn, target);
        throw refusal(QStringLiteral("数据库正被其他程序写入，请稍后再恢复"));
    }

    // The old file stays in place, whole, until the restored one is renamed
    // over it; its copy is what goes back should the new one not open.
    std::unique_ptr<QTemporaryFile> previous;
    try {
        previous = CopyBeside(target, target, TemporaryKind::Previous);
        AfterFileStep();
        MoveIntoPlace(*incoming, target);
    } catch (const db::Error&) {
        ReopenDatabase(conn, target);
        throw;
    }
    // The kept copy is now the only one of the earlier data: it goes only
    // once the restored file has opened.
    previous->setAutoRemove(false);
    AfterFileStep();
    try {
        ReopenDatabase(conn, target);
    } catch (const std::exception& e) {
        putBack(conn, previous->fileName(), target);
        throw db::Error(db::Error::Kind::Engine,
                        QStringLiteral("恢复的数据库无法打开（%1），已换回原来的数据库").arg(db::reasonOf(e)));
    }
    QFile::remove(previous->fileName());
}

TFrmRestore::TFrmRestore(QWidget* owner)
    : DatabaseFolderForm(owner, QStringLiteral("FrmRestore"), QStringLiteral("数据恢复"),
                         QStringLiteral("请选择已经备份的文件"), QStringLiteral("恢复"), kPosition)
{
    FB = new QListWidget(this);
    FB->setObjectName(QStringLiteral("FB"));
    middle()->addWidget(FB);
    setFixedSize(420, 340);
    DLChange();
}

void TFrmRestore::DLChange()
{
    if (!FB)
        return;
    FB->clear();
    const QString pattern = QStringLiteral("*.") + QFileInfo(BackupFileName()).suffix();
    FB->addItems(QDir(folder()).entryList({pattern}, QDir::Files, QDir::Name));
}

void TFrmRestore::cmd_addClick()
{
    if (FB->count() == 0) {
        ui::warn(this, QStringLiteral("无数据可恢复"));
        return;
    }
    try {
        ui::Hourglass wait; // gone before any message
        RestoreDatabase(folder());
    } catch (const std::exception& e) {
        ShowSaveFailure(this, e, QStringLiteral("数据恢复错误"));
        return;
    }
    ui::inform(this, QStringLiteral("数据恢复完毕"));
}
