#pragma once

// The translation table: the contents of one language file (lang/<name>.lng beside the
// executable) as sections of key/value pairs, and the lookup every window takes its texts from.

#include "localisation/texts.h"

#include <QList>
#include <QLocale>
#include <QString>
#include <QStringView>

class CLanguage {
public:
    // Longest names kept from a file; longer text is cut to these many characters.
    static constexpr int kMaxSectionName = 64;
    static constexpr int kMaxKey = 32;
    static constexpr int kMaxValue = 256;
    // Lines are read in pieces of at most this many characters.
    static constexpr int kLinePiece = 254;
    // A larger file (or a named pipe, a device, a folder) is not read: it counts as one that
    // cannot be opened.
    static constexpr qint64 kMaxFileBytes = 4 * 1024 * 1024;

    CLanguage() = default;
    ~CLanguage() = default;

    // Loads the file named as stored in the settings ("lang\english.lng"), relative to the
    // program's folder. Starts from an empty table; a file that cannot be opened or read leaves it
    // empty.
    void load(const QString& storedPath);
    // The same, relative to the given folder instead of the program's folder.
    void load(const QString& storedPath, const QString& programFolder);

    // The value of the first entry named key in the first section named section (letter case
    // ignored), or defaultText when the table has no such section or entry.
    QString translate(QStringView section, QStringView key, QStringView defaultText) const;

    void clear();

    // What the loaded file says about itself in its [language] section: its name in its own
    // language ("Deutsch") and the locale of the language ("de"); empty when it does not say.
    QString ownName() const;
    QString localeName() const;

    int sectionCount() const { return int(m_sections.size()); }

private:
    struct LanguageEntry {
        QString key;
        QString value;
    };
    struct LanguageSection {
        QString name;
        QList<LanguageEntry> entries;
    };

    // Applies one line (or piece of a long line) of a language file to the table.
    void addLine(const QString& line);

    QList<LanguageSection> m_sections;
};

// The language file in programFolder/lang whose [language] locale names the language of locale
// ("de" for de_DE; a file naming the locale's country too wins over one naming the language
// only), in the form the settings store ("lang\german.lng"); empty when no file does.
QString languageFileFor(const QLocale& locale, const QString& programFolder);

// The one translation table of the process.
CLanguage& language();

// The text in the loaded language, or its English default.
QString translate(const TextId& text);
