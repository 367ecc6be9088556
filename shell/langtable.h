// The three-language table of every text the program shows or prints.
#pragma once

#include <QString>
#include <cstdint>

namespace zel {

enum class UiLanguage : std::uint8_t { Ukrainian = 0, Russian = 1, English = 2 };

constexpr int kLangEntries = 110;
constexpr int kLanguages = 3;

// UTF-8 texts, [entry][language]. The table is the program's own wording,
// odd spellings and look-alike letters included: do not correct it.
extern const char* const LangTable[kLangEntries][kLanguages];

// Entries from 111 on, added after entries 0-109; each feature keeps its own
// block of numbers (see langtable_more.cpp).
struct LangMoreEntry {
    int n;
    const char* text[kLanguages];
};
extern const LangMoreEntry LangMoreTable[];
extern const int kLangMoreEntries;

// Entry n in the given language; a number that is in neither table gives the
// empty text.
QString Lang(int n, UiLanguage language);

// The centimetre in the texts from 111 on (entry 7 writes it "sm." in English).
constexpr int kTxtCentimetre = 158;

} // namespace zel
