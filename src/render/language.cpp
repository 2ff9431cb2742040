// The languages: gettext's catalogue for the one shown, chosen from the setting or the system.
#include "render/language.h"
#include "render/state.h"

#include <SDL.h>

#include <cctype>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <libintl.h>
#include <locale.h>

// glibc's catalogue cache: bumping it makes the next lookup read LANGUAGE again, the documented
// way to switch languages in a running program.
extern "C" int _nl_msg_cat_cntr;

namespace {

constexpr const char* domain = "brikka";

// The system's preferred locales as they were before the game first set LANGUAGE for its own
// texts (SDL reads LANGUAGE too).
const std::vector<std::string>& systemLocalesAtStart() {
  static const std::vector<std::string> found = systemLocales();
  return found;
}

std::string lowered(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

// "pt_BR.UTF-8@euro", "fr-CA", "DE" → the supported code, or "".
std::string supportedCode(const std::string& locale) {
  std::string name = locale.substr(0, locale.find_first_of(".@"));
  std::string language = lowered(name.substr(0, name.find_first_of("_-")));
  if (language == "pt") return "pt_BR"; // the one Portuguese we ship
  for (const Language& known : languages)
    if (language == known.code) return known.code;
  return "";
}

} // namespace

const std::vector<Language> languages = {{"en", "English"},
                                         {"de", "Deutsch"},
                                         {"fr", "Français"},
                                         {"es", "Español"},
                                         {"pt_BR", "Português (Brasil)"},
                                         {"pl", "Polski"},
                                         {"ru", "Русский"}};

const char* tr(const char* msgid) {
  // gettext("") is the catalogue's header, not an empty text.
  if (msgid[0] == '\0' || messagesLocale == nullptr) return msgid;
  locale_t before = uselocale(messagesLocale);
  const char* text = dgettext(domain, msgid);
  uselocale(before);
  return text;
}

std::string tr(const std::string& msgid) {
  return tr(msgid.c_str());
}

std::string trf(const char* msgid, ...) {
  const char* format = tr(msgid);
  va_list arguments;
  va_start(arguments, msgid);
  va_list again;
  va_copy(again, arguments);
  int length = std::vsnprintf(nullptr, 0, format, arguments);
  va_end(arguments);
  std::string text(length > 0 ? static_cast<size_t>(length) : 0, '\0');
  if (length > 0) std::vsnprintf(text.data(), text.size() + 1, format, again);
  va_end(again);
  return text;
}

bool isLanguageCode(const std::string& code) {
  for (const Language& known : languages)
    if (code == known.code) return true;
  return false;
}

std::string chooseLanguage(const std::string& setting, const std::vector<std::string>& preferred,
                           const std::string& langVariable) {
  if (isLanguageCode(setting)) return setting;
  for (const std::string& locale : preferred) {
    std::string code = supportedCode(locale);
    if (!code.empty()) return code;
  }
  std::string code = supportedCode(langVariable);
  return code.empty() ? "en" : code;
}

void bindLanguageFolder(const std::string& folder) {
  if (messagesLocale == nullptr) {
    messagesLocale = newlocale(LC_MESSAGES_MASK, "C.UTF-8", nullptr);
    if (messagesLocale == nullptr) messagesLocale = newlocale(LC_MESSAGES_MASK, "C.utf8", nullptr);
    if (messagesLocale == nullptr)
      std::fprintf(stderr, "Brikka: no C.UTF-8 locale: every text stays English\n");
  }
  bindtextdomain(domain, folder.c_str());
  bind_textdomain_codeset(domain, "UTF-8");
}

void applyLanguage(const std::string& code) {
  languageShown = isLanguageCode(code) ? code : "en";
  setenv("LANGUAGE", languageShown.c_str(), 1);
  ++_nl_msg_cat_cntr;
}

std::vector<std::string> systemLocales() {
  std::vector<std::string> found;
  SDL_Locale* list = SDL_GetPreferredLocales();
  for (SDL_Locale* entry = list; entry && entry->language; ++entry)
    found.push_back(std::string(entry->language) + (entry->country ? "_" : "") +
                    (entry->country ? entry->country : ""));
  SDL_free(list);
  return found;
}

void applyLanguageSetting() {
  if (!languageSetting.empty() && !isLanguageCode(languageSetting)) {
    std::fprintf(stderr,
                 "Brikka: language \"%s\" is not one the game speaks; following the system\n",
                 languageSetting.c_str());
    languageSetting.clear();
  }
  const char* lang = std::getenv("LANG");
  applyLanguage(chooseLanguage(languageSetting, systemLocalesAtStart(), lang ? lang : ""));
}
