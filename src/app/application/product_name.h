#pragma once
// The product's name: the splash shows it, and the windows' captions begin with it.

#include <QString>

namespace vistello::app {

inline const QString kProductName = QStringLiteral("Lumora");

} // namespace vistello::app
