// salon-initdb [FOLDER]: creates FOLDER/data/orbenta.db, the database a new
// installation starts from. FOLDER defaults to the folder of this program,
// which is where the salon program looks for its database.
#include "core/DbConfig.h"
#include "core/Schema.h"
#include "platform/db/Error.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QTextStream>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);

    const QStringList args = app.arguments();
    if (args.size() > 2 || (args.size() == 2 && args[1].startsWith(u'-'))) {
        err << "usage: salon-initdb [FOLDER]\n"
               "Creates FOLDER/data/orbenta.db (FOLDER defaults to the program's folder).\n";
        return 2;
    }
    const QString folder = QDir(args.size() == 2 ? args[1] : QCoreApplication::applicationDirPath())
                               .absolutePath() + u'/';
    const QString path = localDatabasePath(folder);

    if (QFileInfo::exists(path)) {
        err << "salon-initdb: " << path << " already exists; it was left unchanged.\n";
        return 1;
    }
    try {
        createDatabase(folder);
    } catch (const db::Error& e) {
        err << "salon-initdb: cannot create " << path << ": " << e.message() << '\n';
        return 2;
    }
    out << "Created " << path << " with 24 tables, the message catalogue and the user \"admin\""
        << " (password \"admin\"; change it after the first login).\n";
    return 0;
}
