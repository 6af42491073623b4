#include "core/Uabout.h"

#include "core/Schema.h"
#include "core/Umain.h"
#include "platform/ui/Hourglass.h"
#include "platform/ui/Prompt.h"

#include <QLabel>
#include <QMouseEvent>
#include <QPixmap>
#include <QScreen>

namespace {

QLabel* clickableLabel(QWidget* parent, const QString& name, const QRect& geometry)
{
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    label->setGeometry(geometry);
    label->setCursor(Qt::PointingHandCursor);
    return label;
}

} // namespace

TfrmAbout::TfrmAbout(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("frmAbout"));
    setFixedSize(400, 250);
    // In the middle of the desktop, not over the window that opened it.
    QRect middle(QPoint(), size());
    middle.moveCenter(screen()->geometry().center());
    move(middle.topLeft());
    initCoreResources();

    picture_ = new QLabel(this);
    picture_->setObjectName(QStringLiteral("aboutPicture"));
    picture_->setPixmap(QPixmap(QStringLiteral(":/about.jpg")));
    picture_->setGeometry(rect());

    Label1 = clickableLabel(this, QStringLiteral("Label1"), QRect(24, 176, 352, 20));
    Label2 = new QLabel(this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setGeometry(24, 198, 352, 20);
    Label3 = clickableLabel(this, QStringLiteral("Label3"), QRect(340, 224, 48, 20));
    Label3->setText(QStringLiteral("关闭"));
    Label3->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    Label1->installEventFilter(this);
    Label3->installEventFilter(this);
    FormCreate();
}

void TfrmAbout::FormCreate()
{
    ui::Hourglass wait;
    Label1->setText(HomePageLine());
    Label2->setText(WelcomeLine());
}

void TfrmAbout::Label1Click()
{
    // Without a browser there is nothing the box could add; it stays open.
    ui::openUrl(ProgramHomePage());
}

void TfrmAbout::Label3Click()
{
    reject();
}

bool TfrmAbout::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        if (watched == Label1) {
            Label1Click();
            return true;
        }
        if (watched == Label3) {
            Label3Click();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}
