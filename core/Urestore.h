#pragma once

#include "core/Ubackup.h"

#include <functional>

class QListWidget;
namespace db {
class Connection;
}

// Opens the connection on the database file with the database key; tests
// replace it to make the reopening after a restore fail.
extern std::function<void(db::Connection&, const QString& path)> ReopenDatabase;

// Replaces the database in use by folder's backup (BackupFileName()). The
// backup must open with the key first; what an interrupted backup or restore
// left is removed, the backup is copied beside the database, every query of
// the data module is closed, a copy of the old file is kept beside it, and
// the restored copy is renamed over the database in one step: at every
// moment a whole database file, old or new, is in place. The kept copy goes
// once AdoConn has opened the new file.
// Throws db::Error with the reason, leaving the database as it was and
// AdoConn open on it: no backup there, a file that does not open with the
// key, a write in progress, or a copy, swap or reopening that failed. Should
// the old file fail to go back into place, AdoConn opens it where it was
// kept and the reason names that file.
void RestoreDatabase(const QString& folder);

// "数据恢复": replaces the database by a backup from the chosen folder. Position 38.
class TFrmRestore : public DatabaseFolderForm {
    Q_OBJECT
public:
    static constexpr int kPosition = 38;

    explicit TFrmRestore(QWidget* owner = nullptr);

    // FB lists the folder's database files.
    void DLChange() override;
    // "无数据可恢复" when FB is empty; otherwise RestoreDatabase and
    // "数据恢复完毕", or "数据恢复错误" with the reason.
    void cmd_addClick() override;

    QListWidget* FB = nullptr;
};
