#include "KeyboardConventions.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPushButton>

namespace kaldor {

namespace {

class KeyboardConventions final : public QObject {
public:
    KeyboardConventions(QObject* owner, const QList<QKeySequence>& menuKeys)
        : QObject(owner), m_menuKeys(menuKeys)
    {
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        const QEvent::Type type = event->type();
        if (type != QEvent::ShortcutOverride && type != QEvent::KeyPress)
            return false;
        auto* key = static_cast<QKeyEvent*>(event);
        if (isMenuKey(key)) {
            // Not overridden: the shortcut map gives the key to the menu. A key of a disabled
            // menu entry does nothing at all.
            event->ignore();
            return true;
        }
        if (type == QEvent::KeyPress)
            return pressFocusedButton(watched, key);
        return false;
    }

private:
    bool isMenuKey(const QKeyEvent* key) const
    {
        const Qt::KeyboardModifiers modifiers = key->modifiers() & ~Qt::KeypadModifier;
        return m_menuKeys.contains(QKeySequence(QKeyCombination(modifiers, Qt::Key(key->key()))));
    }

    static bool pressFocusedButton(QObject* watched, const QKeyEvent* key)
    {
        if (key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter)
            return false;
        if ((key->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier)
            return false;
        auto* button = qobject_cast<QPushButton*>(watched);
        if (!button || !button->hasFocus() || !button->isEnabled())
            return false;
        if (!key->isAutoRepeat())
            button->click();
        return true;
    }

    QList<QKeySequence> m_menuKeys;
};

} // namespace

void installKeyboardConventions(QObject* owner, const QList<QKeySequence>& menuKeys)
{
    qApp->installEventFilter(new KeyboardConventions(owner, menuKeys));
}

void releaseMenuKeys(QMdiSubWindow* frame, const QList<QKeySequence>& menuKeys)
{
    QMenu* menu = frame->systemMenu();
    if (!menu)
        return;
    for (QAction* action : menu->actions()) {
        QList<QKeySequence> keys = action->shortcuts();
        const qsizetype before = keys.size();
        keys.removeIf([&](const QKeySequence& k) { return menuKeys.contains(k); });
        if (keys.size() != before)
            action->setShortcuts(keys);
    }
}

} // namespace kaldor
