// The language of the window: Japanese, or English through the translations
// built from translations/*.ts and kept in the program's resources.
#pragma once

#include <QLocale>
#include <QString>

// "en" or "ja". `setting` (a language code such as "en" or "ja", from the
// settings) decides when it is not empty; otherwise `system` does: an
// English locale (LANG=en_…) gives English, every other language Japanese.
QString ChooseInterfaceLanguage(const QString& setting = QString(), const QLocale& system = QLocale::system());

// Installs the translators of `language` (ours and Qt's own texts) into the
// application, replacing those of an earlier call; false when the English
// translation is missing (the window then stays Japanese).
bool UseInterfaceLanguage(const QString& language);

// The language installed last ("ja" before any call).
QString InterfaceLanguage();

// `text` (a message of the program's boxes or a kind of file) in the
// installed language: a fixed text by itself, a text made up around a name,
// a number or a reason by its pattern; any other text as it is.
QString TranslatedMessage(const QString& text);
