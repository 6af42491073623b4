#include "core/Uflash.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QPixmap>
#include <QProgressBar>
#include <QScreen>
#include <QTimer>
#include <algorithm>

namespace {

constexpr int stepPercent = 5;

} // namespace

TfrmFlash::TfrmFlash(QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint)
    , picture_(new QLabel(this))
    , ProgressBar1(new QProgressBar(this))
    , Timer1(new QTimer(this))
{
    setObjectName(QStringLiteral("frmFlash"));
    setFixedSize(399, 251);

    const QPixmap pixmap(QStringLiteral(":/splash.jpg"));
    picture_->setObjectName(QStringLiteral("splashPicture"));
    picture_->setPixmap(pixmap);
    picture_->setGeometry(QRect(QPoint(0, 0), pixmap.size()));

    // Drawn over the picture's lower right corner, as thin as a rule.
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setGeometry(249, 244, 150, 7);
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setValue(0);
    ProgressBar1->setTextVisible(false);
    ProgressBar1->raise();

    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(100);
    connect(Timer1, &QTimer::timeout, this, &TfrmFlash::Timer1Timer);
    Timer1->start();

    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

void TfrmFlash::showImmediately()
{
    show();
    // The window system needs a round of events before a new window can be
    // painted; user input waits for the real event loop.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    repaint();
}

void TfrmFlash::Timer1Timer()
{
    const int position = ProgressBar1->value();
    // A bar refuses values beyond its range, so an odd position stops at full.
    ProgressBar1->setValue(position == 100 ? 0 : std::min(position + stepPercent, 100));
}
