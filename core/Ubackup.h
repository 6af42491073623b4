#pragma once

#include <QDialog>
#include <QString>
#include <functional>
#include <memory>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTemporaryFile;
class QVBoxLayout;

// Runs after each step of a backup or restore that changes files on disk (a
// copy written, a file renamed); tests look there at what a crash at that
// moment would leave. Does nothing unless replaced.
extern std::function<void()> AfterFileStep;

// The name a backup carries in its folder: the database file's own name.
QString BackupFileName();
// The database file in use: the one AdoConn has open, else the program folder's.
QString CurrentDatabasePath();

// Throws db::Error (with the reason as its text) unless file opens with the
// database key, passes the engine's quick check and holds the users table.
void CheckKeyedDatabase(const QString& file);

// The program's own temporary files beside a database or backup file
// "<name>", named "<name>.<kind>.XXXXXX.tmp" (XXXXXX: six letters or digits):
// kind "copying" while a copy is written, to be renamed into place;
// "previous" for the database that a restore replaces, kept until the
// restored one opens. Nothing else is named so; an interrupted backup or
// restore leaves them behind.
enum class TemporaryKind { Copying, Previous };

// A copy of source, with its permissions, in a new temporary file of that
// kind beside target, on disk and closed; the file is removed when the
// returned object is destroyed unless MoveIntoPlace moved it. Throws
// db::Error when reading or writing fails.
std::unique_ptr<QTemporaryFile> CopyBeside(const QString& source, const QString& target, TemporaryKind kind);
// CopyBeside of the keyed database source, checked with CheckKeyedDatabase.
std::unique_ptr<QTemporaryFile> CopyKeyedDatabaseBeside(const QString& source, const QString& target);
// Renames file over target in one step, replacing it; throws db::Error.
void MoveIntoPlace(QTemporaryFile& file, const QString& target);
// Renames from over to, replacing it; throws db::Error.
void RenameFile(const QString& from, const QString& to);

// Removes from folder the copies of fileName that an interrupted backup or
// restore left there, and no other file; one that cannot go now stays.
void RemoveLeftoverCopies(const QString& folder, const QString& fileName);
// RemoveLeftoverCopies beside the database file, and the previous databases
// that an interrupted restore kept there. Only once database has opened, so
// that they are no longer needed; nothing when database is not there.
void RemoveLeftoversBeside(const QString& database);

// Copies the database in use into folder as BackupFileName(), replacing an
// earlier backup there only once the new copy opens with the key; first
// removes what an interrupted backup or restore left there and beside the
// database. Refused (db::Error with the reason) while a write is in progress
// or when folder is the database's own folder; the file stays locked against
// other writers while it is copied.
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
