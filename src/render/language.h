// The languages the game speaks: every text a player reads goes through tr (gettext, domain
// "brikka"), whose message ids are the English texts themselves, so English needs no file.
// Composed texts are one message with printf directives (trf), so a translation may reorder
// them ("%2$s ... %1$s") and msgfmt --check holds every translation to the same directives.
// The lab, command-line help and log lines stay English and never go through here.
#pragma once

#include <string>
#include <vector>

// ---------------------------------------------------------------------------------------------
// Translating
// ---------------------------------------------------------------------------------------------

const char* tr(const char* msgid) __attribute__((format_arg(1))); // msgid in the language shown
std::string tr(const std::string& msgid);                         // the same for a built id
// A printf format translated, then filled: trf("Level %d", level).
std::string trf(const char* msgid, ...) __attribute__((format(printf, 1, 2)));
// Mark message ids for extraction where they are stored now and translated where shown; the
// second a printf format.
constexpr const char* trLater(const char* msgid) {
  return msgid;
}
constexpr const char* trFormatLater(const char* msgid) {
  return msgid;
}

// ---------------------------------------------------------------------------------------------
// Choosing and switching
// ---------------------------------------------------------------------------------------------

struct Language {
  const char* code;    // as in the preferences file and the .po file's name: "pt_BR"
  const char* ownName; // in itself: "Português (Brasil)"
};
extern const std::vector<Language> languages; // every language shipped, English first

bool isLanguageCode(const std::string& code);
// The language to show: the setting when it names one, else the first supported of the
// system's preferred locales ("de", "pt_PT", "fr-CA"; any "pt" is Brazilian), else the LANG
// variable's ("ru_RU.UTF-8"), else English.
std::string chooseLanguage(const std::string& setting, const std::vector<std::string>& preferred,
                           const std::string& langVariable);
// Where the compiled catalogues are: locale/<code>/LC_MESSAGES/brikka.mo under folder.
void bindLanguageFolder(const std::string& folder);
// Shows every text from now on in code's language (English for an unknown code).
void applyLanguage(const std::string& code);
std::vector<std::string> systemLocales(); // SDL's preferred locales, "de_DE" or "de"; may be none
// languageShown from languageSetting, the system and LANG, applied.
void applyLanguageSetting();
