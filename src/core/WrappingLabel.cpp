#include "WrappingLabel.h"

#include <QEvent>

namespace kaldor {

WrappingLabel::WrappingLabel(const QString& text, QWidget* parent) : QLabel(text, parent)
{
    setWordWrap(true);
}

int WrappingLabel::heightForWidth(int width) const
{
    // The text is the only thing code changes after the label is laid out; a change of font,
    // style or margins arrives as a change event.
    const QString shown = text();
    if (shown != m_measuredText) {
        m_measures.fill(Measure{});
        m_measuredText = shown;
    }
    for (const Measure& m : m_measures)
        if (m.width == width)
            return m.height;
    const int height = QLabel::heightForWidth(width);
    m_measures.at(m_next) = Measure{width, height};
    m_next = (m_next + 1) % m_measures.size();
    return height;
}

void WrappingLabel::changeEvent(QEvent* event)
{
    m_measures.fill(Measure{});
    QLabel::changeEvent(event);
}

} // namespace kaldor
