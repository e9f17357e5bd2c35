// The language file loader on any bytes: decoding with or without a byte-order mark, lines cut
// into pieces, sections and entries, and the lookup of every text of the program.

#include "fuzzinput.h"
#include "localisation/language.h"
#include "localisation/textfile.h"

#include <QByteArrayView>
#include <QDir>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const QString folder = fuzzFolder();
    static const bool made = QDir(folder).mkpath(QStringLiteral("lang"));
    fuzzCheck(made, "no folder for the language file");
    writeFuzzFile(folder + QStringLiteral("/lang/fuzz.lng"), data, size);

    CLanguage table;
    table.load(QStringLiteral("lang\\fuzz.lng"), folder);
    for (const TextId& text : allTexts()) {
        const QString value = table.translate(text.section, text.key, text.defaultText);
        fuzzCheck(value.size() <= CLanguage::kMaxValue, "a value longer than a value may be");
    }

    // However the lines are cut into pieces, the pieces put together are the whole text.
    const QString text =
        decodeTextFile(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
    const qsizetype piece = size > 0 ? qsizetype(data[0] % 16) + 1 : 1;
    CTextFileReader reader;
    reader.setText(text);
    QString joined;
    QString line;
    while (reader.readLine(&line, piece)) {
        fuzzCheck(!line.isEmpty() && line.size() <= piece, "a piece of the wrong length");
        joined += line;
    }
    fuzzCheck(joined == text, "the pieces of the lines are not the text");
    return 0;
}
