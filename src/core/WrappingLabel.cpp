#include "WrappingLabel.h"

#include <QEvent>

#include <utility>

namespace kaldor {

WrappingLabel::WrappingLabel(const QString& text, QWidget* parent) : QLabel(text, parent)
{
    setWordWrap(true);
}

int WrappingLabel::heightForWidth(int width) const
{
    // A change of font or style arrives as a change event; the label's own settings are
    // compared.
    if (Setting now = setting(); !(now == m_measured)) {
        m_measures.fill(Measure{});
        m_measured = std::move(now);
    }
    for (const Measure& m : m_measures)
        if (m.width == width)
            return m.height;
    const int height = QLabel::heightForWidth(width);
    m_measures.at(m_next) = Measure{width, height};
    m_next = (m_next + 1) % m_measures.size();
    return height;
}

WrappingLabel::Setting WrappingLabel::setting() const
{
    return Setting{text(), wordWrap(), margin(), indent()};
}

void WrappingLabel::changeEvent(QEvent* event)
{
    m_measures.fill(Measure{});
    QLabel::changeEvent(event);
}

} // namespace kaldor
