#pragma once

#include <QDialog>
#include <QString>
#include <memory>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTemporaryFile;
class QVBoxLayout;

// The name a backup carries in its folder: the database file's own name.
QString BackupFileName();
// The database file in use: the one AdoConn has open, else the program folder's.
QString CurrentDatabasePath();

// Throws db::Error (with the reason as its text) unless file opens with the
// database key, passes the engine's quick check and holds the users table.
void CheckKeyedDatabase(const QString& file);

// A checked copy of the keyed database source in a temporary file in
// target's folder, so that it can be renamed into place; the file is removed
// when the returned object is destroyed unless MoveIntoPlace moved it.
// Throws db::Error when reading, writing or checking fails.
std::unique_ptr<QTemporaryFile> CopyKeyedDatabaseBeside(const QString& source, const QString& target);
// Renames file over target in one step, replacing it; throws db::Error.
void MoveIntoPlace(QTemporaryFile& file, const QString& target);
// Renames from over to, replacing it; throws db::Error.
void RenameFile(const QString& from, const QString& to);

// Copies the database in use into folder as BackupFileName(), replacing an
// earlier backup there only once the new copy opens with the key. Refused
// (db::Error with the reason) while a write is in progress or when folder is
// the database's own folder; the file stays locked against other writers
// while it is copied.
void BackupDatabase(const QString& folder);

// What the backup and restore forms share: the label, the drive box DC, the
// folder box DL (typed, or chosen through cmd_browse) and the 备份/恢复
// button cmd_add, enabled by PowAdd at the form's position, and 退出 BitBtn1.
// They are no record forms: they have no modes.
class DatabaseFolderForm : public QDialog {
    Q_OBJECT
public:
    DatabaseFolderForm(QWidget* owner, const QString& objectName, const QString& caption,
                       const QString& prompt, const QString& actionCaption, int position);

    int position() const { return position_; }
    // The folder shown in DL, trimmed.
    QString folder() const;

    // The folder box follows the chosen drive.
    void DCChange();
    // Asks for a folder, starting at the one shown.
    void cmd_browseClick();
    virtual void cmd_addClick() = 0;
    void BitBtn1Click();
    // The folder box changed; the restore form lists its backups.
    virtual void DLChange() {}

    QLabel* promptLabel = nullptr;
    QComboBox* DC = nullptr;
    QLineEdit* DL = nullptr;
    QPushButton* cmd_browse = nullptr;
    QPushButton* cmd_add = nullptr;
    QPushButton* BitBtn1 = nullptr;

protected:
    // Between the folder row and the buttons.
    QVBoxLayout* middle() const { return middle_; }
    void FormCreate();

private:
    int position_;
    QVBoxLayout* middle_ = nullptr;
};

// "数据库备份": copies the database file into the chosen folder. Position 37.
class TFrmBackUp : public DatabaseFolderForm {
    Q_OBJECT
public:
    static constexpr int kPosition = 37;

    explicit TFrmBackUp(QWidget* owner = nullptr);

    // BackupDatabase into the chosen folder; "数据备份完毕", or "数据备份错误" with the reason.
    void cmd_addClick() override;
};
