#include "desktop/desktop.h"

#include <unistd.h>

#include <QClipboard>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>
#include <cstdlib>
#include <vector>

#include "desktop/qt_text.h"
#include "files/file_names.h"

namespace velnora::desktop {

namespace {

// The command line of the browser holds at most this many bytes.
constexpr std::size_t kCommandLineLimit = 3620;

std::string Variable(const std::string& name) {
    const char* value = std::getenv(name.c_str());
    return value != nullptr ? value : "";
}

// $NAME, ${NAME} and %NAME% replaced by the environment's values; anything else kept.
std::string ExpandVariables(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size();) {
        char c = text[i];
        if (c == '%') {
            std::size_t end = text.find('%', i + 1);
            if (end != std::string::npos && end > i + 1) {
                std::string name = text.substr(i + 1, end - i - 1);
                if (std::getenv(name.c_str()) != nullptr) {
                    out += Variable(name);
                    i = end + 1;
                    continue;
                }
            }
        } else if (c == '$' && i + 1 < text.size()) {
            if (text[i + 1] == '{') {
                std::size_t end = text.find('}', i + 2);
                if (end != std::string::npos) {
                    out += Variable(text.substr(i + 2, end - i - 2));
                    i = end + 1;
                    continue;
                }
            } else {
                std::size_t end = i + 1;
                while (end < text.size() &&
                       (std::isalnum(static_cast<unsigned char>(text[end])) || text[end] == '_')) {
                    ++end;
                }
                if (end > i + 1) {
                    out += Variable(text.substr(i + 1, end - i - 1));
                    i = end;
                    continue;
                }
            }
        }
        out += c;
        ++i;
    }
    return out;
}

// Words as a shell splits them: blanks separate, double and single quotes group.
std::vector<std::string> SplitWords(const std::string& text) {
    std::vector<std::string> words;
    std::string word;
    bool in_word = false;
    char quote = 0;
    for (char c : text) {
        if (quote != 0) {
            if (c == quote) {
                quote = 0;
            } else {
                word += c;
            }
        } else if (c == '"' || c == '\'') {
            quote = c;
            in_word = true;
        } else if (c == ' ' || c == '\t') {
            if (in_word) {
                words.push_back(word);
                word.clear();
                in_word = false;
            }
        } else {
            word += c;
            in_word = true;
        }
    }
    if (in_word) {
        words.push_back(word);
    }
    return words;
}

}  // namespace

LaunchResult LaunchBrowser(std::string_view command, std::string_view argument) {
    if (command.empty()) {
        return LaunchResult::kNoBrowser;
    }
    if (command.size() + 1 + argument.size() >= kCommandLineLimit) {
        return LaunchResult::kTooLong;
    }
    // The command is Shift_JIS; the environment and the program's name on disk are UTF-8.
    std::string expanded = ExpandVariables(FromSjis(command).toStdString());
    std::vector<std::string> words = SplitWords(expanded);
    if (words.empty()) {
        return LaunchResult::kNoBrowser;
    }
    QStringList arguments;
    for (std::size_t i = 1; i < words.size(); ++i) {
        arguments << QString::fromStdString(words[i]);
    }
    arguments << FromSjis(argument);
    bool started = QProcess::startDetached(QString::fromStdString(words[0]), arguments);
    return started ? LaunchResult::kStarted : LaunchResult::kCannotStart;
}

bool OpenWithSystem(std::string_view address, QObject* context, std::function<void()> failed) {
    QString target = FromSjis(address);
    QString opener = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
    if (opener.isEmpty()) {
        return QDesktopServices::openUrl(QUrl(target, QUrl::TolerantMode));
    }
    // The opener answers whether a handler took the address; it is left running (and never
    // killed) when the handler stays in the foreground.
    auto* process = new QProcess;
    process->setProgram(opener);
    process->setArguments({target});
    process->setStandardOutputFile(QProcess::nullDevice());
    process->setStandardErrorFile(QProcess::nullDevice());
    QObject::connect(process, &QProcess::finished, context,
                     [failed](int code, QProcess::ExitStatus status) {
                         if ((status != QProcess::NormalExit || code != 0) && failed) {
                             failed();
                         }
                     });
    QObject::connect(process, &QProcess::finished, process, &QObject::deleteLater);
    process->start();
    if (!process->waitForStarted()) {
        delete process;
        return false;
    }
    return true;
}

void PlaySoundFile(std::string_view file) {
    QString path = QString::fromStdString(files::ToDiskName(file).value_or(""));
    if (path.isEmpty()) {
        return;
    }
    for (const char* player : {"paplay", "pw-play", "aplay"}) {
        QString program = QStandardPaths::findExecutable(QString::fromLatin1(player));
        if (!program.isEmpty()) {
            QProcess::startDetached(program, {path});
            return;
        }
    }
}

bool IsInTrash(std::string_view disk_path) {
    QDir files = QFileInfo(QString::fromStdString(std::string(disk_path))).dir();
    if (files.dirName() != QLatin1String("files") || !files.cdUp()) {
        return false;
    }
    QString trash = files.dirName();
    QString uid = QString::number(::getuid());
    if (trash == QLatin1String("Trash") || trash == QLatin1String(".Trash-") + uid) {
        return true;
    }
    return trash == uid && files.cdUp() && files.dirName() == QLatin1String(".Trash");
}

bool MoveToTrash(std::string_view path, std::string* error) {
    auto fail = [error](const QString& text) {
        if (error != nullptr) {
            *error = ToSjis(text);
        }
        return false;
    };
    auto disk = files::ToDiskName(path);
    if (!disk) {
        return fail(QString::fromLatin1(files::kUnconvertibleName.data(),
                                        static_cast<qsizetype>(files::kUnconvertibleName.size())));
    }
    // The home trash is made when it is missing, as the desktop's trash rules ask; without it the
    // item would be "trashed" into the current directory.
    QString data_home = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    QString home_trash = data_home + QStringLiteral("/Trash");
    if (!data_home.isEmpty() && !QFileInfo(home_trash).isDir() && QDir().mkpath(home_trash)) {
        QFile::setPermissions(home_trash, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    QString original = QString::fromStdString(*disk);
    QFile file(original);
    if (!file.moveToTrash()) {
        return fail(file.errorString());
    }
    QString placed = file.fileName();
    if (!IsInTrash(placed.toStdString())) {
        // No trash took it: the item goes back, and its stray record with it.
        QFile::rename(placed, original);
        QFileInfo moved(placed);
        QFile::remove(moved.dir().absoluteFilePath(QStringLiteral("../info/")) + moved.fileName() +
                      QStringLiteral(".trashinfo"));
        return fail(QStringLiteral("No trash can take ") + original);
    }
    return true;
}

void CopyToClipboard(std::string_view sjis_text) {
    if (QClipboard* clipboard = QGuiApplication::clipboard()) {
        clipboard->setText(FromSjis(sjis_text));
    }
}

}  // namespace velnora::desktop
