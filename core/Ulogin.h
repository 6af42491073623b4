#pragma once

#include <QDialog>
#include <functional>

class QLineEdit;
class QPushButton;

// Network type: "single" (the database file in the program's folder),
// "fs_server" (a database file in a folder on a file server), "cs_server"
// (a database server).
extern QString NetType;
extern bool DbConnected;
extern int LoginAttempts;

// Opens the data module's connection according to NetType and sets
// DbConnected; records the data source in "system.ini" after a successful open.
// A file that will not open (missing, wrongly keyed, damaged) or that holds
// no database of this program (an empty file), a file or folder that is
// write-protected (the program cannot work on a database it
// cannot write) and the server type are reported as "数据库无法打开" with the
// reason; a cancelled or blank answer to the server prompt ends it silently.
void ConnectDatabase(QWidget* parent);

// Ends the process at once with the given exit code; tests replace it.
extern std::function<void(int)> HaltProcess;
// Asks the application to end when control returns to the event loop; tests
// read TerminateRequested instead.
void RequestTerminate();
extern bool TerminateRequested;

class TFrmLogin : public QDialog {
    Q_OBJECT
public:
    explicit TFrmLogin(QWidget* parent = nullptr);

    void FormCreate();
    void cmd_okClick();
    void cmd_closeClick();
    // Enter in the password box counts as a press of OK.
    void Edit2KeyPress(QChar key);

    QLineEdit* Edit1;
    QLineEdit* Edit2;
    QPushButton* cmd_ok;
    QPushButton* cmd_close;

public Q_SLOTS:
    // Escape does not close the login: only a successful login or 关闭 does.
    void reject() override {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

extern TFrmLogin* FrmLogin;
