#pragma once

#include <QLabel>

#include <array>

namespace kaldor {

// A label that wraps its text at word boundaries (unless told otherwise) and remembers the
// heights it has measured for its last widths. A plain label lays its text out anew each time a
// layout asks its height for a width, and a window's layouts ask many times, with few widths, while
// it opens.
class WrappingLabel final : public QLabel {
public:
    explicit WrappingLabel(const QString& text = QString(), QWidget* parent = nullptr);

    int heightForWidth(int width) const override;

protected:
    void changeEvent(QEvent* event) override;

private:
    struct Measure {
        int width = -1;
        int height = 0;
    };
    // What the measures were taken with, besides the font and style.
    struct Setting {
        QString text;
        bool wordWrap = true;
        int margin = 0;
        int indent = -1;
        bool operator==(const Setting&) const = default;
    };
    Setting setting() const;

    mutable Setting m_measured;
    mutable std::array<Measure, 4> m_measures;
    mutable size_t m_next = 0;
};

} // namespace kaldor
