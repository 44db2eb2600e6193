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
    const bool chosen = std::any_of(group.cbegin(), group.cend(),
                                    [](const OptionButton* b) { return b->isChecked(); });
    for (OptionButton* button : group)
        button->setFocusPolicy(chosen && !button->isChecked() ? Qt::ClickFocus : Qt::StrongFocus);
}

} // namespace kaldor
