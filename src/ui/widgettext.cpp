#include "ui/widgettext.h"

#include "localisation/language.h"

QString widgetText(const QString& text) {
    QString shown = text;
    return shown.replace(QLatin1Char('&'), QStringLiteral("&&"));
}

QString translatedWidgetText(const TextId& text) {
    return widgetText(translate(text));
}
