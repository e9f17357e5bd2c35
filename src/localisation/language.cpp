#include "localisation/language.h"

#include <QCoreApplication>
#include <QFile>

void CLanguage::load(const QString& storedPath) {
    load(storedPath, QCoreApplication::applicationDirPath());
}

void CLanguage::load(const QString& storedPath, const QString& programFolder) {
    clear();
    QFile file(programFolder + u'/' + QString(storedPath).replace(u'\\', u'/'));
    if (!file.open(QIODevice::ReadOnly))
        return;
    const QString text = QString::fromUtf8(file.readAll());
    for (const QString& line : text.split(u'\n'))
        readLine(line);
}

void CLanguage::readLine(QString line) {
    if (line.startsWith(u'#'))
        return;
    const QString trimmed = line.trimmed();
    if (trimmed.startsWith(u'[') && trimmed.endsWith(u']') && trimmed.size() >= 2) {
        m_sections.append({trimmed.mid(1, trimmed.size() - 2).left(kMaxSectionName), {}});
        return;
    }
    if (m_sections.isEmpty())
        return;
    const qsizetype equals = line.indexOf(u'=');
    if (equals < 0)
        return;
    QString value = line.mid(equals + 1).left(kMaxValue);
    for (int i = 0; i < 2 && (value.endsWith(u'\r') || value.endsWith(u'\n')); ++i)
        value.chop(1);
    m_sections.last().entries.append({line.left(equals).left(kMaxKey), value});
}

QString CLanguage::translate(QStringView section, QStringView key, QStringView defaultText) const {
    for (const LanguageSection& s : m_sections) {
        if (s.name.compare(section, Qt::CaseInsensitive) != 0)
            continue;
        for (const LanguageEntry& e : s.entries) {
            if (e.key.compare(key, Qt::CaseInsensitive) == 0)
                return e.value;
        }
        break;
    }
    return defaultText.toString();
}

void CLanguage::clear() {
    m_sections.clear();
}

CLanguage& language() {
    static CLanguage table;
    return table;
}

QString translate(const TextId& text) {
    return language().translate(text.section, text.key, text.defaultText);
}
