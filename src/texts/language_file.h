#pragma once
// The language file "Skins\language.ini": the choice of section and the lookup of texts. The
// program only reads it; the language is chosen by editing it.
#include <string>

#include "platform/ini_profile.h"
#include "texts/text_table.h"

namespace vendrel::texts {

inline constexpr char16_t kLanguageFileName[] = u"language.ini";
inline constexpr char16_t kSectionEnglish[] = u"ENGINSH";
inline constexpr char16_t kSectionChinese[] = u"CHINESE";

// The number LANGUAGE/language reads as (LeadingInteger), held within the range of int so that a
// huge value cannot pass for a small one; 0 for a missing file or key.
int LanguageValue(const platform::IniProfile& ini, const std::u16string& file);

// ENGINSH when LanguageValue is 1, CHINESE otherwise (a missing file too).
std::u16string LanguageSection(const platform::IniProfile& ini, const std::u16string& file);

// The key's text in the section, at most kMaxTextLength units; empty when the key is missing.
std::u16string LookUpText(const platform::IniProfile& ini, const std::u16string& file,
                          const std::u16string& section, const std::u16string& key);

// Fills every slot of table from the chosen section, in loading order.
void LoadTexts(const platform::IniProfile& ini, const std::u16string& file, TextTable& table);

// The leading decimal number of text as the C library's integer conversion reads it (blanks and
// a sign first); 0 when there is none.
long long LeadingInteger(std::u16string_view text);

}  // namespace vendrel::texts
