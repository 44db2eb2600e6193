#include "OptionButton.h"

#include <algorithm>

namespace kaldor {

OptionButton::OptionButton(const QString& text, QWidget* parent) : QRadioButton(text, parent)
{
    connect(this, &QAbstractButton::toggled, this, [this] { setGroupTabStops(); });
}

void OptionButton::setGroupTabStops()
{
    const QList<OptionButton*> siblings =
        parentWidget() ? parentWidget()->findChildren<OptionButton*>(Qt::FindDirectChildrenOnly)
                       : QList<OptionButton*>{this};
    QList<OptionButton*> group;
    for (OptionButton* button : siblings) {
        if (button->autoExclusive())
            group.append(button);
        else // one that may be off beside the others: a stop of its own
            button->setFocusPolicy(Qt::StrongFocus);
    }
    const bool chosen = std::any_of(group.cbegin(), group.cend(),
                                    [](const OptionButton* b) { return b->isChecked(); });
    for (OptionButton* button : group)
        button->setFocusPolicy(chosen && !button->isChecked() ? Qt::ClickFocus : Qt::StrongFocus);
}

} // namespace kaldor
