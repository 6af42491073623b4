#include "platform/sys/Shell.h"

#include <QDesktopServices>

namespace sys {

bool openUrl(const QUrl& url)
{
    if (!url.isValid())
        return false;
    return QDesktopServices::openUrl(url);
}

} // namespace sys
