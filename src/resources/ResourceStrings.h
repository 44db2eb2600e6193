#pragma once

#include <QString>

// The numbered resource strings shared by every window and tool, compiled in from strings.tsv
// as a Qt resource (the icons are in ResourceIcons.h).
namespace kaldor {

// The text of resource string `id`; an unknown id gives an empty text and a qWarning.
QString resString(int id);
bool hasResString(int id);

} // namespace kaldor
