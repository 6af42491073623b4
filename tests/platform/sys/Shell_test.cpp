#include "platform/sys/Shell.h"

#include <QDesktopServices>
#include <QObject>
#include <gtest/gtest.h>

namespace {

class RecordingHandler : public QObject {
    Q_OBJECT
public:
    QList<QUrl> opened;
public slots:
    void open(const QUrl& url) { opened.append(url); }
};

TEST(Shell, OpenUrlHandsTheAddressToTheSchemeHandler)
{
    RecordingHandler handler;
    QDesktopServices::setUrlHandler(QStringLiteral("salontest"), &handler, "open");
    const QUrl url(QStringLiteral("salontest://example/首页?x=1"));
    EXPECT_TRUE(sys::openUrl(url));
    QDesktopServices::unsetUrlHandler(QStringLiteral("salontest"));
    ASSERT_EQ(handler.opened.size(), 1);
    EXPECT_EQ(handler.opened.first(), url);
}

TEST(Shell, InvalidAddressIsRefused)
{
    RecordingHandler handler;
    QDesktopServices::setUrlHandler(QStringLiteral("salontest"), &handler, "open");
    EXPECT_FALSE(sys::openUrl(QUrl(QStringLiteral("salontest://exa mple:99999"))));
    QDesktopServices::unsetUrlHandler(QStringLiteral("salontest"));
    EXPECT_TRUE(handler.opened.isEmpty());
}

} // namespace

#include "Shell_test.moc"
