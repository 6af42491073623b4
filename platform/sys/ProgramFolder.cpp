#include "platform/sys/ProgramFolder.h"

#include <QCoreApplication>

namespace sys {

namespace {

QString& overrideFolder()
{
    static QString folder;
    return folder;
}

QString withTrailingSlash(QString folder)
{
    if (!folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');
    return folder;
}

} // namespace

QString programFolder()
{
    if (!overrideFolder().isEmpty())
        return overrideFolder();
    return withTrailingSlash(QCoreApplication::applicationDirPath());
}

void setProgramFolderForTesting(const QString& folder)
{
    overrideFolder() = folder.isEmpty() ? QString() : withTrailingSlash(folder);
}

} // namespace sys
