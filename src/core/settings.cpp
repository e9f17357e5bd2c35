#include "core/settings.h"

#include "localisation/language.h"

#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QVariant>
#include <limits>
#include <memory>

namespace {

// A fresh store object per operation: another writer, or a hand edit of the file between two
// reads, is seen by the next read.
std::unique_ptr<QSettings> openStore() {
#ifdef Q_OS_WIN
    // The organisation-only constructor would add a subkey "OrganizationDefaults".
    return std::make_unique<QSettings>(QStringLiteral("HKEY_CURRENT_USER\\Software\\Tankometer"),
                                       QSettings::NativeFormat);
#else
    return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                       QStringLiteral("Tankometer"));
#endif
}

RegistryStatus readStored(QStringView name, QVariant* stored) {
    const auto store = openStore();
    if (store->status() == QSettings::AccessError)
        return RegistryAccessDenied;
    const QString key = name.toString();
    if (!store->contains(key))
        return RegistryNotFound;
    *stored = store->value(key);
    return RegistryOk;
}

// Writes the store's changes to its file. The file holds the paths of the user's logs: one that
// the write makes is readable by the user only (QSettings makes it as the umask wants).
void syncStore(QSettings& store) {
#ifdef Q_OS_WIN
    store.sync();
#else
    const bool isNew = !QFileInfo::exists(store.fileName());
    store.sync();
    if (isNew && QFileInfo::exists(store.fileName()))
        QFile::setPermissions(store.fileName(), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
#endif
}

RegistryStatus writeStored(QStringView name, const QVariant& value) {
    const auto store = openStore();
    store->setValue(name.toString(), value);
    syncStore(*store);
    // A line the store could not parse (FormatError) is dropped when the file is rewritten; the
    // write itself has succeeded then.
    return store->status() == QSettings::AccessError ? RegistryAccessDenied : RegistryOk;
}

// Numbers come back as text from a settings file, and as a signed int from the Windows registry;
// both forms of a 32-bit value are taken, the negative one as its unsigned bit pattern.
bool toNumber(const QVariant& stored, quint32* number) {
    const auto type = stored.metaType().id();
    if (type != QMetaType::QString && type != QMetaType::Int && type != QMetaType::UInt &&
        type != QMetaType::LongLong && type != QMetaType::ULongLong)
        return false;
    bool ok = false;
    const qlonglong wide = stored.toString().trimmed().toLongLong(&ok);
    if (!ok || wide < std::numeric_limits<qint32>::min() ||
        wide > qlonglong(std::numeric_limits<quint32>::max()))
        return false;
    *number = quint32(wide);
    return true;
}

bool toText(const QVariant& stored, QString* text) {
    const auto type = stored.metaType().id();
    if (type != QMetaType::QString && type != QMetaType::Int && type != QMetaType::UInt)
        return false;
    *text = stored.toString();
    return true;
}

} // namespace

CRegistry::~CRegistry() = default;

RegistryStatus CRegistry::readValue(QStringView name, QString* value) {
    QVariant stored;
    const RegistryStatus status = readStored(name, &stored);
    if (status != RegistryOk)
        return status;
    QString text;
    if (!toText(stored, &text))
        return RegistryInvalidData;
    *value = text;
    return RegistryOk;
}

RegistryStatus CRegistry::readValue(QStringView name, quint32* value) {
    QVariant stored;
    const RegistryStatus status = readStored(name, &stored);
    if (status != RegistryOk)
        return status;
    quint32 number = 0;
    if (!toNumber(stored, &number))
        return RegistryInvalidData;
    *value = number;
    return RegistryOk;
}

RegistryStatus CRegistry::writeString(QStringView name, const QString& text) {
    return writeStored(name, text);
}

RegistryStatus CRegistry::writeNumber(QStringView name, quint32 number) {
    return writeStored(name, number);
}

RegistryStatus CRegistry::removeValue(QStringView name) {
    const auto store = openStore();
    store->remove(name.toString());
    syncStore(*store);
    return store->status() == QSettings::AccessError ? RegistryAccessDenied : RegistryOk;
}

quint32 readSetting(const NumberKey& key) {
    quint32 number = key.fallback;
    CRegistry::readValue(key.name, &number);
    return number;
}

QString readSetting(const TextKey& key) {
    QString text = key.fallback.toString();
    CRegistry::readValue(key.name, &text);
    return text;
}

RegistryStatus writeSetting(const NumberKey& key, quint32 number) {
    return CRegistry::writeNumber(key.name, number);
}

RegistryStatus writeSetting(const TextKey& key, const QString& text) {
    return CRegistry::writeString(key.name, text);
}

quint32 readColumnDefinition() {
    return readSetting(SettingsKey::ColDef);
}

quint32 readChosenColumns() {
    return readSetting(SettingsKey::ColumnsChosen);
}

FillingMethod readFillingMethod() {
    return readSetting(SettingsKey::FillingMethod) == quint32(FillingMethod::ToEmptyTank)
               ? FillingMethod::ToEmptyTank
               : FillingMethod::FullTank;
}

bool readDebugMode() {
    return readSetting(SettingsKey::DebugMode) != 0;
}

bool readLanguagePath(QString* path) {
    return CRegistry::readValue(SettingsKey::Lang, path) == RegistryOk;
}

bool writeLanguagePath(const QString& path) {
    return CRegistry::writeString(SettingsKey::Lang, path) == RegistryOk;
}

QString readLanguagePathOrStoreFirst(const QLocale& system, const QString& programFolder) {
    QString path;
    if (readLanguagePath(&path))
        return path;
    QString first = languageFileFor(system, programFolder);
    if (first.isEmpty())
        first = DefaultLanguagePath.toString();
    writeLanguagePath(first);
    if (readLanguagePath(&path))
        return path;
    // The store cannot be written: run with the first choice all the same.
    return first;
}
