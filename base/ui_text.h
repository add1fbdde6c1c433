// The texts the engine shows to people (messages, questions, progress). The engine stays free of Qt:
// a front end installs a translator once at start; without one the English source text is used.
// Write each text as WL_TR("Context", "literal") so the translation tools find it, and translate the
// template before paths or numbers go in (FillIn), so one catalogue entry serves every file.
#pragma once

#include <initializer_list>
#include <string>
#include <vector>

namespace wordloom {

using TextTranslator = std::string (*)(const char* context, const char* text);

/// Installs (or, with nullptr, removes) the translator; meant for the start of the program.
void SetTextTranslator(TextTranslator translator);

/// The text in the user's language, or the text itself when no translator is installed or it has
/// no translation for it.
std::string TranslateText(const char* context, const char* text);

/// The language the user asked for, as a catalogue suffix ("de_DE", "de"): the locale of LC_ALL,
/// LC_MESSAGES or LANG (the first set), or the first entry of LANGUAGE when that locale is not
/// "C", without codeset or modifier. Empty for the source language ("C", "POSIX", unset, English).
std::string UserLanguage();

/// Front ends without Qt: reads `wordloom_<language>.catalog` (made from the same catalogue as the
/// windows' translation at build time) from the first folder that has it, trying "de_DE" before
/// "de", and installs it as the translator. False, leaving the source texts, when the language is
/// the source language or no folder has a readable catalogue for it.
bool InstallTextCatalogue(const std::string& language, const std::vector<std::string>& folders);

/// Replaces %1 .. %9 in a template by the values, in one pass: a value holding "%2" stays as it is.
std::string FillIn(const std::string& pattern, std::initializer_list<std::string> values);

} // namespace wordloom

#define WL_TR(context, text) ::wordloom::TranslateText(context, text)
/// Marks a text for the catalogue where it is stored first and translated later (TranslateText).
#define WL_TR_NOOP(context, text) text
