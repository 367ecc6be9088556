// The persisted settings.
#include "shell/settingsio.h"

namespace zel {

const QString kLanguageValue = QStringLiteral("LANGUAGE");
const QString kAutoUpdateValue = QStringLiteral("AutoUpdate");
const QString kIdValue = QStringLiteral("ID");
const QString kRoundListValue = QStringLiteral(".zm0");
const QString kBoardListValue = QStringLiteral(".zm1");
const QString kDateCheckValue = QStringLiteral("DateCheckUpDates");
const QString kLastFolderValue = QStringLiteral("LastFolder");
const QString kPricesValue = QStringLiteral("Prices");
const QString kCurrencyValue = QStringLiteral("Currency");
const QString kClassBoundsValue = QStringLiteral("ClassBounds");
const QString kStackFactorValue = QStringLiteral("StackFactor");
const QString kLotNumberValue = QStringLiteral("LotNumber");
const QString kSellerValue = QStringLiteral("Seller");
const QString kBuyerValue = QStringLiteral("Buyer");
const QString kPlaceValue = QStringLiteral("Place");
const QString kBaseServerValue = QStringLiteral("BaseServer");
const QString kBaseDatabaseValue = QStringLiteral("BaseDatabase");
const QString kBaseUserValue = QStringLiteral("BaseUser");

QString languageCode(UiLanguage language)
{
    switch (language) {
    case UiLanguage::Ukrainian: return QStringLiteral("UA");
    case UiLanguage::Russian: return QStringLiteral("RU");
    case UiLanguage::English: return QStringLiteral("EN");
    }
    return QStringLiteral("UA");
}

std::optional<UiLanguage> languageFromCode(const QString& code)
{
    if (code == QLatin1String("UA"))
        return UiLanguage::Ukrainian;
    if (code == QLatin1String("RU"))
        return UiLanguage::Russian;
    if (code == QLatin1String("EN"))
        return UiLanguage::English;
    return std::nullopt;
}

void readParams(ISettingsStore& store, SettingsRecord& settings)
{
    QString code;
    // One value that does not read must not cost the others: each is read on
    // its own, and the first failure is raised once all have been tried.
    std::optional<StoreError> failure;
    const auto read = [&failure](const auto& step) {
        try {
            step();
        } catch (const StoreError& e) {
            if (!failure)
                failure = e;
        }
    };
    if (auto key = store.open()) {
        read([&] {
            if (key->valueExists(kLanguageValue)) {
                code = key->readString(kLanguageValue);
            } else {
                key->writeString(kLanguageValue, QStringLiteral("RU"));
                code = QStringLiteral("RU");
            }
        });
        read([&] {
            if (key->valueExists(kAutoUpdateValue)) {
                settings.AutoUpdate = key->readBool(kAutoUpdateValue);
            } else {
                key->writeBool(kAutoUpdateValue, true);
                settings.AutoUpdate = true;
            }
        });
        read([&] {
            if (key->valueExists(kIdValue))
                settings.ID = key->readInteger(kIdValue);
            else
                key->writeInteger(kIdValue, 0);
        });
    }
    if (const auto language = languageFromCode(code))
        settings.Language = *language;
    if (failure)
        throw *failure;
}

bool writeParams(ISettingsStore& store, const SettingsRecord& settings)
{
    auto key = store.open();
    if (!key)
        return true;
    key->writeString(kLanguageValue, languageCode(settings.Language));
    key->writeBool(kAutoUpdateValue, settings.AutoUpdate);
    key->writeInteger(kIdValue, settings.ID);
    return key->commit();
}

QMap<QString, QString> readSummaryValues(ISettingsStore& store, QStringList& unread)
{
    QMap<QString, QString> texts;
    auto key = store.open();
    if (!key)
        return texts;
    for (const QString& name : {kPricesValue, kCurrencyValue, kClassBoundsValue, kStackFactorValue}) {
        if (!key->valueExists(name))
            continue;
        try {
            texts.insert(name, key->readString(name));
        } catch (const StoreError&) {
            unread << name;
        }
    }
    return texts;
}

void writeTextValue(ISettingsStore& store, const QString& name, const QString& text)
{
    if (auto key = store.open())
        key->writeString(name, text);
}

QString readTextValue(ISettingsStore& store, const QString& name)
{
    auto key = store.open();
    if (!key || !key->valueExists(name))
        return QString();
    try {
        return key->readString(name);
    } catch (const StoreError&) {
        return QString();
    }
}

} // namespace zel
