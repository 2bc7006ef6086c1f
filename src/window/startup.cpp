#include "window/startup.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QString>
#include <QTranslator>

#include "desktop/qt_text.h"
#include "fetch/traffic_stats.h"
#include "files/file_names.h"
#include "files/program_home.h"
#include "ini/ini_file.h"
#include "settings/app_settings.h"
#include "text/version.h"
#include "window/main_window.h"
#include "window/message_box.h"
#include "window/single_instance.h"

// The resources (icons) are compiled into a static library: they are registered by hand.
static void RegisterResources() {
    Q_INIT_RESOURCE(velnora);
}

namespace velnora::window {

bool InstallQtTranslations(QCoreApplication& application, const QLocale& locale) {
    auto* texts = new QTranslator(&application);
    if (!texts->load(locale, QStringLiteral("qtbase"), QStringLiteral("_"),
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete texts;
        return false;
    }
    return QCoreApplication::installTranslator(texts);
}

int RunWindowProgram(int argc, char** argv) {
    QApplication application(argc, argv);
    RegisterResources();
    InstallQtTranslations(application, QLocale());
    QApplication::setApplicationName("Velnora");
    QApplication::setApplicationVersion(
        QString::fromLatin1(text::kVersion.data(), text::kVersion.size()));
    QApplication::setDesktopFileName("velnora");
    QApplication::setWindowIcon(QIcon(":/icons/velnora.svg"));

    std::string error;
    auto home = files::FindProgramHome(&error);
    if (!home) {
        ShowMessage(nullptr, desktop::ToSjis(QString::fromStdString(error)), "Velnora",
                    MessageButtons::kOk, MessageIcon::kError);
        return 1;
    }
    SingleInstance instance(
        QString::fromStdString(files::ToDiskName(home->directory).value_or("")));
    if (!instance.Acquire()) {
        return 0;  // the first copy's window comes to the front instead
    }

    std::string settings_path = home->directory + std::string(settings::kSettingsFileName);
    ini::IniFile probe;
    std::string unreadable;
    bool readable = probe.Load(settings_path, &unreadable);
    fetch::TrafficStats stats;
    stats.LoadStatistics(settings_path);
    settings::AppSettings settings;
    settings::LoadAppSettings(settings_path, settings);

    MainWindow window(*home, settings, stats);
    instance.OnRaiseRequested([&window] { window.ShowFromTray(); });
    window.ShowAsStored();
    if (!readable) {
        window.ReportSettingsUnreadable(unreadable);
    }
    return application.exec();
}

}  // namespace velnora::window
