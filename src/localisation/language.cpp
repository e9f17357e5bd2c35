#include "localisation/language.h"

#include "localisation/textfile.h"

#include <QCoreApplication>
#include <QDir>

void CLanguage::load(const QString& storedPath) {
    load(storedPath, QCoreApplication::applicationDirPath());
}

void CLanguage::load(const QString& storedPath, const QString& programFolder) {
    clear();
    // The settings store the name as "lang\english.lng"; either separator works.
    const QString relativePath = QString(storedPath).replace(u'\\', u'/');
    CTextFileReader reader;
    if (!reader.open(programFolder + u'/' + relativePath, kMaxFileBytes))
        return;
    QString line;
    while (reader.readLine(&line, kLinePiece))
        addLine(line);
    // A file that could not be read to its end counts as one that could not be opened.
    if (reader.hasError())
        clear();
}

void CLanguage::addLine(const QString& line) {
    if (line.startsWith(u'#'))
        return;
    const QString trimmed = line.trimmed();
    if (trimmed.startsWith(u'[') && trimmed.endsWith(u']')) {
        m_sections.append({trimmed.mid(1, trimmed.size() - 2).left(kMaxSectionName), {}});
        return;
    }
    if (m_sections.isEmpty())
        return;
    const qsizetype equals = line.indexOf(u'=');
    if (equals < 0)
        return;
    // Key and value keep their blanks: "key = value" names the key "key " and not "key".
    const QString value = stripLineEnd(line.sliced(equals + 1).left(kMaxValue));
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

QString CLanguage::ownName() const {
    return translate(u"language", u"name", {}).trimmed();
}

QString CLanguage::localeName() const {
    return translate(u"language", u"locale", {}).trimmed();
}

void CLanguage::clear() {
    m_sections.clear();
}

QString languageFileFor(const QLocale& locale, const QString& programFolder) {
    const QDir folder(programFolder + QStringLiteral("/lang"));
    QString sameLanguage;
    for (const QString& file :
         folder.entryList({QStringLiteral("*.lng")}, QDir::Files, QDir::Name)) {
        CLanguage table;
        table.load(QStringLiteral("lang/") + file, programFolder);
        const QString name = table.localeName();
        if (name.isEmpty())
            continue;
        const QLocale named(name);
        if (named.language() != locale.language() || named.language() == QLocale::C)
            continue;
        const QString stored = QStringLiteral("lang\\") + file;
        // QLocale("de") names de_DE: only a file that names a country itself matches exactly.
        if (name.size() > 3 && named.name() == locale.name())
            return stored;
        if (sameLanguage.isEmpty())
            sameLanguage = stored;
    }
    return sameLanguage;
}

CLanguage& language() {
    static CLanguage table;
    return table;
}

QString translate(const TextId& text) {
    return language().translate(text.section, text.key, text.defaultText);
}
