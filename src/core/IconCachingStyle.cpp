#include "IconCachingStyle.h"

#include <QApplication>
#include <QWidget>

namespace kaldor {

QIcon IconCachingStyle::standardIcon(StandardPixmap icon, const QStyleOption* option,
                                     const QWidget* widget) const
{
    // An icon made for a style option depends on it; only those made without one are kept.
    if (option)
        return QProxyStyle::standardIcon(icon, option, widget);
    const Qt::LayoutDirection direction =
        widget ? widget->layoutDirection() : QGuiApplication::layoutDirection();
    const quint64 key = (quint64(icon) << 8) | quint64(direction);
    if (auto it = m_icons.constFind(key); it != m_icons.constEnd())
        return *it;
    QIcon made = QProxyStyle::standardIcon(icon, option, widget);
    m_icons.insert(key, made);
    return made;
}

void prepareStandardIcons()
{
    for (const QStyle::StandardPixmap icon : {QStyle::SP_ArrowLeft, QStyle::SP_ArrowRight})
        QApplication::style()->standardIcon(icon);
}

void useIconCachingStyle()
{
    QApplication::setStyle(new IconCachingStyle);
}

} // namespace kaldor
