#include "tools/bench/Actions.h"

#include "tools/bench/Session.h"

#include <QFile>
#include <exception>

namespace bench {

Context::~Context()
{
    if (options.keepWork)
        return;
    for (const QString& copy : copies_) {
        QFile::remove(copy);
        QFile::remove(copy + QStringLiteral("-journal"));
    }
}

QString Context::salon(const SalonSize& size)
{
    qint64 ms = -1;
    const QString path = cachedSalon(options.dataFolder, size, ms);
    if (ms >= 0)
        generated_ << QStringLiteral("generated %1 in %2 s").arg(size.describe()).arg(ms / 1000.0, 0, 'f', 1);
    return path;
}

QString Context::writableSalon(const SalonSize& size, Today today)
{
    const QString copy = workCopy(salon(size), options.dataFolder);
    if (today == Today::LastDayMoved)
        moveLastDayToToday(copy);
    if (!copies_.contains(copy))
        copies_ << copy;
    return copy;
}

void Context::measure(const QString& action, const QString& size, const std::function<void()>& fn)
{
    try {
        fn();
    } catch (const std::exception& e) {
        table.printFailure(action, size, QString::fromUtf8(e.what()));
    }
}

} // namespace bench
