#pragma once

class QWidget;

// What a screen reader calls a control. A control with a label of its own is tied to it with
// QLabel::setBuddy where the window lays it out (the label and the control share a parent); a
// control without one is named after its tooltip.
namespace kaldor {

// Names the control after its tooltip, now and whenever the tooltip changes.
void nameAfterToolTip(QWidget* control);

// Names each list of the window after the label whose buddy it is: a list reads no label of its
// own accord. Run once the labels have their captions.
void nameListsAfterLabels(QWidget* window);

} // namespace kaldor
