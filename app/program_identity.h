#pragma once
// Who and what the program is: shown in the about box and set on the application.

#include <QString>

namespace identity {

inline const QString kApplicationTitle = QStringLiteral("Тест Зорвена");
inline const QString kProductName = QStringLiteral("Тест Зорвена");
inline const QString kComment = QStringLiteral("Версия для обработки бланков");
inline const QString kVersion = QStringLiteral("1.0.0.0");
inline const QString kMakerName = QStringLiteral("Лаборатория Зорвена");
inline const QString kMakerWebAddress = QStringLiteral("https://zorven.example/");

} // namespace identity
