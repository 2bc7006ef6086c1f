#include "shell/startup.h"

#include <QApplication>
#include <QString>

#include "fetch/traffic_stats.h"
#include "platform/file_names.h"
#include "platform/program_home.h"
#include "platform/qt_text.h"
#include "shell/app_settings.h"
#include "shell/main_window.h"
#include "shell/message_box.h"
#include "shell/single_instance.h"

// The resources (icons) are compiled into a static library: they are registered by hand.
static void RegisterResources() {
    Q_INIT_RESOURCE(velnora);
}

namespace velnora::shell {

int RunWindowProgram(int argc, char** argv) {
    QApplication application(argc, argv);
    RegisterResources();
    QApplication::setApplicationName("Velnora");
    QApplication::setApplicationVersion("0.42");
    QApplication::setDesktopFileName("velnora");
    QApplication::setWindowIcon(QIcon(":/icons/velnora.svg"));

    std::string error;
    auto home = platform::FindProgramHome(&error);
    if (!home) {
        ShowMessage(nullptr, platform::ToSjis(QString::fromStdString(error)), "Velnora",
                    MessageButtons::kOk, MessageIcon::kError);
        return 1;
    }
    SingleInstance instance(
        QString::fromStdString(platform::ToDiskName(home->directory).value_or("")));
    if (!instance.Acquire()) {
        return 0;  // the first copy's window comes to the front instead
    }

    std::string settings_path = home->directory + std::string(kSettingsFileName);
    fetch::TrafficStats stats;
    stats.LoadStatistics(settings_path);
    AppSettings settings;
    LoadAppSettings(settings_path, settings);

    MainWindow window(*home, settings, stats);
    instance.OnRaiseRequested([&window] {
        if (window.isMinimized()) {
            window.showNormal();
        }
        window.show();
        window.raise();
        window.activateWindow();
    });
    window.ShowAsStored();
    return application.exec();
}

}  // namespace velnora::shell
