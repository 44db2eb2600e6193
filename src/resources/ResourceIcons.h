#pragma once

#include <QIcon>

// The numbered window icons, compiled in from icons/ as Qt resources.
namespace kaldor {

// The icon resource `id` (":/icons/<id>.png"); an unknown id gives a null icon and a qWarning.
// Like every QIcon, it needs a QGuiApplication.
QIcon resIcon(int id);
bool hasResIcon(int id);

} // namespace kaldor
