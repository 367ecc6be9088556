// Reading and writing the persisted settings: language, automatic update, ID.
#pragma once

#include "shell/settings.h"
#include "shell/settingsstore.h"

#include <QMap>
#include <QStringList>

#include <optional>

namespace zel {

// Value names in the store.
extern const QString kLanguageValue;   // "LANGUAGE": "UA", "RU" or "EN"
extern const QString kAutoUpdateValue; // "AutoUpdate": 0 or 1
extern const QString kIdValue;         // "ID": the message ID
extern const QString kRoundListValue;  // ".zm0"
extern const QString kBoardListValue;  // ".zm1"
extern const QString kDateCheckValue;  // "DateCheckUpDates"

// The lot summary's values, all texts.
extern const QString kPricesValue;      // "Prices": class prices, then "W×H=price" per section
extern const QString kCurrencyValue;    // "Currency"
extern const QString kClassBoundsValue; // "ClassBounds": "6,14,26"
extern const QString kStackFactorValue; // "StackFactor": "0,70"
// The lot's acceptance document: its header as typed in the summary, texts.
extern const QString kLotNumberValue;   // "LotNumber"
extern const QString kSellerValue;      // "Seller"
extern const QString kBuyerValue;       // "Buyer"
extern const QString kPlaceValue;       // "Place"
// Where the calculation base is, texts; an empty server means the file.
extern const QString kBaseServerValue;   // "BaseServer": host[:port] or a socket folder
extern const QString kBaseDatabaseValue; // "BaseDatabase"
extern const QString kBaseUserValue;     // "BaseUser"
// The folder the file dialogs opened last, a text.
extern const QString kLastFolderValue;  // "LastFolder"

QString languageCode(UiLanguage language);
// Exact, case-sensitive: "ru" is no code.
std::optional<UiLanguage> languageFromCode(const QString& code);

// Missing values are written with their defaults ("RU", true, 0); a language
// text that is no code leaves the language as it is. A key that cannot be
// opened reads nothing. Throws StoreError for a value of the wrong type.
void readParams(ISettingsStore& store, SettingsRecord& settings);
// Writes the language code, the automatic-update flag and the ID, in that
// order. False when the store could not keep them.
bool writeParams(ISettingsStore& store, const SettingsRecord& settings);

// The lot summary's values as stored: the texts that read, by value name.
// Absent values are simply not there; a value of another type is named in
// `unread` instead of stopping anything, so its default can take its place.
QMap<QString, QString> readSummaryValues(ISettingsStore& store, QStringList& unread);
// Writes a text value (one of them, "LastFolder"); a key that cannot be
// opened writes nothing.
void writeTextValue(ISettingsStore& store, const QString& name, const QString& text);
// A text value; empty when it is not there or is no text.
QString readTextValue(ISettingsStore& store, const QString& name);

} // namespace zel
