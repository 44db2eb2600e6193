#include "ResourceIcons.h"

#include <QFile>
#include <QtDebug>

namespace kaldor {

namespace {

QString iconPath(int id)
{
    return QStringLiteral(":/icons/%1.png").arg(id);
}

} // namespace

QIcon resIcon(int id)
{
    if (hasResIcon(id))
        return QIcon(iconPath(id));
    qWarning("Unknown icon resource %d", id);
    return {};
}

bool hasResIcon(int id)
{
    return QFile::exists(iconPath(id));
}

} // namespace kaldor
