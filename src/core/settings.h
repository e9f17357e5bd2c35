#pragma once

// The settings store: four named values of the current user, read afresh at every use.

#include "core/settingskeys.h"
#include "stats/derived.h"

#include <QLocale>
#include <QString>
#include <QStringView>
#include <QtGlobal>

// Stored as written on the first run; resolved against the program folder with either separator.
inline constexpr QStringView DefaultLanguagePath = SettingsKey::Lang.fallback;

inline constexpr quint32 DefaultColumnDefinition = SettingsKey::ColDef.fallback;

// Results of the store's operations. The numbers follow the Windows error codes, so that a
// status compares with 0 for success whichever store lies underneath.
enum RegistryStatus : int {
    RegistryOk = 0,
    RegistryNotFound = 2,
    RegistryAccessDenied = 5,
    RegistryInvalidData = 13,
};

// The only code that touches the store. No instance is needed: every operation opens the store,
// does its work and closes it again, so nothing is cached between two calls.
class CRegistry {
public:
    CRegistry() = default;
    ~CRegistry();

    // RegistryOk and the value in *value, or a failure status with *value left as it was.
    // A stored value that is not a 32-bit number fails the number read.
    static RegistryStatus readValue(QStringView name, QString* value);
    static RegistryStatus readValue(QStringView name, quint32* value);

    static RegistryStatus writeString(QStringView name, const QString& text);
    static RegistryStatus writeNumber(QStringView name, quint32 number);
    static RegistryStatus removeValue(QStringView name);
};

// A value of the key table: the stored one, or the key's default when none can be read.
quint32 readSetting(const NumberKey& key);
QString readSetting(const TextKey& key);
RegistryStatus writeSetting(const NumberKey& key, quint32 number);
RegistryStatus writeSetting(const TextKey& key, const QString& text);

// Readers applying the defaults; each reads the store at every call.
quint32 readColumnDefinition();
quint32 readChosenColumns(); // 0 when none is stored
FillingMethod readFillingMethod();
bool readDebugMode();

bool readLanguagePath(QString* path);
bool writeLanguagePath(const QString& path);

// The stored language path, never changed here. When none can be read (a first start), the
// language file in programFolder/lang of the system's language is stored first and read back,
// the default when no file is of that language.
QString readLanguagePathOrStoreFirst(const QLocale& system, const QString& programFolder);
