#pragma once

// Texts shown on labels, buttons and menu items.

#include <QString>

struct TextId;

// An "&" in the text is shown as it is, not taken as the mark of a keyboard shortcut.
QString widgetText(const QString& text);
// The same for a text in the loaded language.
QString translatedWidgetText(const TextId& text);
