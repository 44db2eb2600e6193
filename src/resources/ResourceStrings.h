#pragma once

#include <QIcon>
#include <QString>

// The numbered resource strings and icons shared by every window. The strings live in
// strings.tsv and the icons in icons/, both compiled in as Qt resources.
namespace kaldor {

// The text of resource string `id`; an unknown id gives an empty text and a qWarning.
QString resString(int id);
bool hasResString(int id);

// The icon resource `id` (":/icons/<id>.png"); an unknown id gives a null icon and a qWarning.
// Like every QIcon, it needs a QGuiApplication.
QIcon resIcon(int id);
bool hasResIcon(int id);

} // namespace kaldor
