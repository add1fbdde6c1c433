// The texts the engine shows to people (messages, questions, progress). The engine stays free of Qt:
// a front end installs a translator once at start; without one the English source text is used.
// Write each text as WL_TR("Context", "literal") so the translation tools find it, and translate the
// template before paths or numbers go in (FillIn), so one catalogue entry serves every file.
#pragma once

#include <initializer_list>
#include <string>

namespace wordloom {

using TextTranslator = std::string (*)(const char* context, const char* text);

/// Installs (or, with nullptr, removes) the translator; meant for the start of the program.
void SetTextTranslator(TextTranslator translator);

/// The text in the user's language, or the text itself when no translator is installed or it has
/// no translation for it.
std::string TranslateText(const char* context, const char* text);

/// Replaces %1 .. %9 in a template by the values, in one pass: a value holding "%2" stays as it is.
std::string FillIn(const std::string& pattern, std::initializer_list<std::string> values);

} // namespace wordloom

#define WL_TR(context, text) ::wordloom::TranslateText(context, text)
