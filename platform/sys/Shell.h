#pragma once

#include <QUrl>

namespace sys {

// Opens the address with the desktop's handler for its scheme (a web address
// in the default browser). False when no handler took it. Tests register
// their own handler with QDesktopServices::setUrlHandler so nothing external
// starts.
bool openUrl(const QUrl& url);

} // namespace sys
