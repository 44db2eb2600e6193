#include "OptionButton.h"

#include <algorithm>

namespace kaldor {

OptionButton::OptionButton(const QString& text, QWidget* parent) : QRadioButton(text, parent)
{
    connect(this, &QAbstractButton::toggled, this, [this] { setGroupTabStops(); });
}

void OptionButton::setGroupTabStops()
{
    QList<OptionButton*> group{this};
    if (parentWidget())
        group = parentWidget()->findChildren<OptionButton*>(Qt::FindDirectChildrenOnly);
    // An option that is not exclusive (one that may be off beside others) is a stop of its own.
    group.removeIf([](OptionButton* b) {
        if (b->autoExclusive())
            return false;
        b->setFocusPolicy(Qt::StrongFocus);
        return true;
    });
    const bool chosen = std::any_of(group.cbegin(), group.cend(),
                                    [](const OptionButton* b) { return b->isChecked(); });
    for (OptionButton* button : group)
        button->setFocusPolicy(chosen && !button->isChecked() ? Qt::ClickFocus : Qt::StrongFocus);
}

} // namespace kaldor
