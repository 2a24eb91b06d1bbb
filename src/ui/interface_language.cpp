#include "ui/interface_language.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>
#include <memory>

namespace {

QString g_language = QStringLiteral("ja");
std::unique_ptr<QTranslator> g_ours;
std::unique_ptr<QTranslator> g_qt;

void Remove(std::unique_ptr<QTranslator>& translator) {
  if (translator) QCoreApplication::removeTranslator(translator.get());
  translator.reset();
}

}  // namespace

QString ChooseInterfaceLanguage(const QString& setting, const QLocale& system) {
  const QString chosen = setting.trimmed().toLower();
  if (chosen.startsWith(QLatin1String("en"))) return QStringLiteral("en");
  if (chosen.startsWith(QLatin1String("ja"))) return QStringLiteral("ja");
  return system.language() == QLocale::English ? QStringLiteral("en") : QStringLiteral("ja");
}

bool UseInterfaceLanguage(const QString& language) {
  Remove(g_ours);
  Remove(g_qt);
  g_language = QStringLiteral("ja");
  const QString qtTranslations = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
  if (language == QLatin1String("en")) {
    auto ours = std::make_unique<QTranslator>();
    if (!ours->load(QStringLiteral(":/i18n/tamlo_en.qm"))) return false;
    QCoreApplication::installTranslator(ours.get());
    g_ours = std::move(ours);
    g_language = QStringLiteral("en");
    return true;  // Qt's own texts are English already
  }
  // Qt's own texts (dialog buttons, file dialogs) in Japanese.
  auto qt = std::make_unique<QTranslator>();
  if (qt->load(QLocale(QLocale::Japanese, QLocale::Japan), QStringLiteral("qtbase"), QStringLiteral("_"), qtTranslations)) {
    QCoreApplication::installTranslator(qt.get());
    g_qt = std::move(qt);
  }
  return true;
}

QString InterfaceLanguage() { return g_language; }
