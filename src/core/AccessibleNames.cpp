#include "AccessibleNames.h"

#include <QAbstractItemView>
#include <QEvent>
#include <QLabel>
#include <QWidget>

namespace kaldor {

namespace {

// Keeps the accessible name of the control it watches equal to the control's tooltip.
class ToolTipName final : public QObject {
public:
    explicit ToolTipName(QWidget* control) : QObject(control) { control->installEventFilter(this); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::ToolTipChange) {
            auto* control = static_cast<QWidget*>(watched);
            control->setAccessibleName(control->toolTip());
        }
        return QObject::eventFilter(watched, event);
    }
};

// The label's text as read aloud: "&x" is "x", "&&" is "&".
QString withoutAccessKey(const QString& text)
{
    QString plain;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text.at(i) == u'&' && i + 1 < text.size())
            ++i;
        plain += text.at(i);
    }
    return plain;
}

} // namespace

void nameAfterToolTip(QWidget* control)
{
    control->setAccessibleName(control->toolTip());
    new ToolTipName(control);
}

void nameListsAfterLabels(QWidget* window)
{
    const auto labels = window->findChildren<QLabel*>();
    for (const QLabel* label : labels)
        if (auto* list = qobject_cast<QAbstractItemView*>(label->buddy()))
            list->setAccessibleName(withoutAccessKey(label->text()));
}

} // namespace kaldor
