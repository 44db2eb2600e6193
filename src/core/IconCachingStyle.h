#pragma once

#include <QHash>
#include <QIcon>
#include <QProxyStyle>

namespace kaldor {

// The platform's style, keeping every standard icon it has made: the style otherwise reads
// and decodes an icon's image files again for each button that shows it, such as the arrows
// of every calendar.
class IconCachingStyle final : public QProxyStyle {
public:
    IconCachingStyle() = default;

    QIcon standardIcon(StandardPixmap icon, const QStyleOption* option,
                       const QWidget* widget) const override;

private:
    mutable QHash<quint64, QIcon> m_icons;
};

// Gives the application the icon-keeping style.
void useIconCachingStyle();

// Makes the standard icons that windows show soonest, a calendar's arrows, ahead of time (and
// with them reads the desktop icon theme's index): kept by the icon-keeping style.
void prepareStandardIcons();

} // namespace kaldor
