// Checks on a schedule in the window: a background check locks no command and clears neither the
// pane nor the unread marks; a check the user starts takes over from it at once, and the pages
// it had not reached stay due; unread marks survive a restart; the tray's menu; the desktop
// notification over a private session bus, and the window it raises when clicked.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVirtualObject>
#include <QMenuBar>
#include <QTcpServer>
#include <QTest>
#include <QTimer>
#include <ctime>
#include <fstream>
#include <thread>

#include "desktop/qt_text.h"
#include "pane/result_pane.h"
#include "store/result_file.h"
#include "store/unread_marks.h"
#include "support/servers.h"
#include "support/temp_dir.h"
#include "widget_driving.h"
#include "window/commands.h"
#include "window/main_window.h"
#include "window/page_tree_view.h"
#include "window/update_notice.h"
#include "window_fixture.h"

namespace velnora::window {
namespace {

using test::Q;

class AutoCheckWindowTest : public WindowFixture {
  protected:
    AutoCheckWindowTest() {
        // A modal box would stop the test: any that opens is counted and closed.
        watchdog_.setInterval(50);
        QObject::connect(&watchdog_, &QTimer::timeout, [this] {
            if (QWidget* modal = QApplication::activeModalWidget()) {
                ++modal_boxes_;
                modal->close();
            }
        });
        watchdog_.start();
    }

    // Opens the window on a velnora.ini with these [CONFIG] lines.
    MainWindow& OpenWith(const std::string& settings) {
        test::WriteBytes(home_ / "velnora.ini", "[CONFIG]\r\n" + settings);
        return Open();
    }

    store::ItemId Item(const std::string& name) {
        store::PageTree& tree = window_->tree();
        for (store::ItemId item = tree.FirstChild(tree.root()); item != 0;
             item = tree.NextSibling(item)) {
            if (tree.Find(item)->name == name) {
                return item;
            }
        }
        ADD_FAILURE() << "no item " << name;
        return 0;
    }

    bool Ended() {
        return QTest::qWaitFor([&] { return !window_->check().running(); }, 20000);
    }

    QTimer watchdog_;
    int modal_boxes_ = 0;
};

TEST_F(AutoCheckWindowTest, ABackgroundCheckLocksNoCommandAndAUserCheckTakesOverAtOnce) {
    QTcpServer silent;  // accepts connections and never answers
    ASSERT_TRUE(silent.listen(QHostAddress::LocalHost));
    std::string url = "http://127.0.0.1:" + std::to_string(silent.serverPort()) + "/";
    std::vector<std::string> due;
    for (int i = 0; i < 6; ++i) {
        due.push_back(AddPage("due" + std::to_string(i) + ".dat", url + std::to_string(i)));
    }
    // Checked a moment ago: not due, and marked unread.
    std::string read_later = AddPage("later.dat", url + "later");
    ASSERT_TRUE(store::WriteLastCheck(read_later, std::time(nullptr)));
    ASSERT_TRUE(store::WriteUnreadMark(read_later, true));
    MainWindow& window = OpenWith("AUTO_CHECK=1\r\nCHECK_INTERVAL=60\r\nFINISH_MESSAGE=1\r\n");
    EXPECT_TRUE(window.auto_checks().armed()) << "never-checked pages are due";
    window.document().AppendText("what the user was reading\n");

    window.auto_checks().DecideNow();
    ASSERT_TRUE(window.check().running());
    EXPECT_TRUE(window.check().background());
    for (int command : {kStartCheck, kNewPage, kNewFolder, kProperties, kReload, kFind}) {
        EXPECT_TRUE(window.CommandEnabled(command)) << command;
    }
    EXPECT_FALSE(window.CommandEnabled(kAbortCheck));
    EXPECT_TRUE(window.tree_view().isEnabled());
    for (QAction* menu : window.menuBar()->actions()) {
        EXPECT_TRUE(menu->isEnabled()) << menu->text().toStdString();
    }
    EXPECT_NE(window.result_pane().toPlainText().indexOf(Q("what the user was reading")), -1);
    EXPECT_TRUE(window.tree().Find(Item("later"))->bold);
    EXPECT_EQ(std::count_if(due.begin(), due.end(),
                            [](const std::string& dir) { return store::ReadLastCheck(dir) > 0; }),
              4)
        << "four pages under way";

    // The user checks one page: it starts at once, the pages in flight are finished, and the
    // background check takes no further page.
    window.tree_view().SelectItem(Item("later"));
    window.RunCommand(kStartCheck);
    EXPECT_TRUE(window.check().running());
    EXPECT_FALSE(window.check().background());
    EXPECT_GT(store::ReadLastCheck(read_later), 0);
    EXPECT_FALSE(window.CommandEnabled(kStartCheck)) << "the user's check locks the commands";
    EXPECT_TRUE(window.CommandEnabled(kAbortCheck));
    window.RunCommand(kAbortCheck);
    ASSERT_TRUE(Ended());
    EXPECT_EQ(std::count_if(due.begin(), due.end(),
                            [](const std::string& dir) { return store::ReadLastCheck(dir) == 0; }),
              2)
        << "the pages not reached stay due";
    EXPECT_TRUE(window.CommandEnabled(kStartCheck));
    EXPECT_EQ(modal_boxes_, 1) << "only the user's check ends with its notice";
    EXPECT_TRUE(window.auto_checks().armed()) << "the schedule goes on";
}

TEST_F(AutoCheckWindowTest, NothingWakesTheWindowWithoutAutomaticChecks) {
    AddPage("a.dat", "http://127.0.0.1:9/");
    MainWindow& window = OpenWith("CHECK_INTERVAL=60\r\n");  // AUTO_CHECK is off by default
    EXPECT_FALSE(window.auto_checks().armed());
    window.auto_checks().DecideNow();
    EXPECT_FALSE(window.check().running());
}

TEST_F(AutoCheckWindowTest, UnreadMarksSurviveARestartUntilThePageIsShown) {
    std::string a = AddPage("F.grp/a.dat", "http://example.com/a");
    AddPage("b.dat", "http://example.com/b");
    ASSERT_TRUE(store::WriteUnreadMark(a, true));
    test::WriteBytes(a + "/add1.txt", "news of a\r\n");
    test::WriteBytes(a + "/index.txt", "1");
    MainWindow& window = OpenWith("");
    store::ItemId folder = Item("F");
    store::ItemId page = window.tree().FirstChild(folder);
    EXPECT_TRUE(window.tree().Find(page)->bold);
    EXPECT_TRUE(window.tree().Find(folder)->bold);
    EXPECT_EQ(window.tray().unread_pages(), 1);
    window.tree_view().SelectItem(page);
    EXPECT_NE(window.result_pane().toPlainText().indexOf(Q("news of a")), -1);
    EXPECT_FALSE(window.tree().Find(folder)->bold) << "shown, so read";
    EXPECT_FALSE(store::ReadUnreadMark(a));
    EXPECT_EQ(window.tray().unread_pages(), 0);
}

TEST_F(AutoCheckWindowTest, TheTrayMenu) {
    QTcpServer silent;
    ASSERT_TRUE(silent.listen(QHostAddress::LocalHost));
    AddPage("a.dat", "http://127.0.0.1:" + std::to_string(silent.serverPort()) + "/");
    MainWindow& window = OpenWith("AUTO_CHECK=1\r\nCHECK_INTERVAL=60\r\nFINISH_MESSAGE=0\r\n");
    Tray& tray = window.tray();
    QStringList entries;
    for (QAction* action : tray.menu().actions()) {
        entries << action->text();
    }
    EXPECT_EQ(entries, (QStringList{Q("ウィンドウを開く"), Q("今すぐチェック"),
                                    Q("自動チェックを一時停止"), QString(), Q("終了")}));

    // Pausing stops the timer and a background check's walk; resuming sets the timer again.
    window.auto_checks().DecideNow();
    ASSERT_TRUE(window.check().background());
    tray.pause_action()->trigger();
    EXPECT_TRUE(window.auto_checks().paused());
    EXPECT_FALSE(window.auto_checks().armed());
    window.check().AbortCheck();  // the page in flight would wait for its time-out
    ASSERT_TRUE(Ended());
    window.auto_checks().DecideNow();
    EXPECT_FALSE(window.check().running()) << "paused";
    tray.pause_action()->trigger();
    EXPECT_FALSE(window.auto_checks().paused());
    EXPECT_TRUE(window.auto_checks().armed());

    window.hide();
    tray.open_action()->trigger();
    EXPECT_TRUE(window.isVisible());

    // "今すぐチェック" is the user's check of every page.
    tray.check_action()->trigger();
    EXPECT_TRUE(window.check().running());
    EXPECT_FALSE(window.check().background());
    window.RunCommand(kAbortCheck);
    ASSERT_TRUE(Ended());

    // "終了" closes the window as its close box does: the placement is saved.
    tray.exit_action()->trigger();
    EXPECT_TRUE(QTest::qWaitFor([&] { return !window.isVisible(); }, 5000));
    EXPECT_NE(test::ReadBytes(home_ / "velnora.ini").find("[POSITION]"), std::string::npos);
}

TEST(UpdateNotice, NamesTheFirstFewPagesThenHowManyMore) {
    struct Row {
        std::vector<std::string> names;
        const char* summary;
        const char* body;
    } rows[] = {
        {{"A"}, "1 件の更新がありました", "A"},
        {{"A", "B", "C"}, "3 件の更新がありました", "A、B、C"},
        {{"A", "B", "C", "D"}, "4 件の更新がありました", "A、B、C ほか 1 件"},
        {{"A", "B", "C", "D", "E", "F", "G"}, "7 件の更新がありました", "A、B、C ほか 4 件"},
    };
    for (const Row& row : rows) {
        UpdateNotice notice = ComposeUpdateNotice(row.names);
        EXPECT_EQ(desktop::FromSjis(notice.summary), Q(row.summary));
        EXPECT_EQ(desktop::FromSjis(notice.body), Q(row.body));
    }
}

// A notification service of the test's own on a private session bus: it records the calls and
// answers them as a desktop would.
class FakeNotificationService : public QDBusVirtualObject {
  public:
    struct Call {
        QString summary;
        QString body;
        QStringList actions;
        uint replaces = 0;
    };

    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override {
        if (message.member() == "GetCapabilities") {
            connection.send(message.createReply(QStringList{"actions", "body"}));
            return true;
        }
        if (message.member() == "Notify") {
            const QList<QVariant> args = message.arguments();
            calls.push_back(Call{args.value(3).toString(), args.value(4).toString(),
                                 args.value(5).toStringList(), args.value(1).toUInt()});
            connection.send(message.createReply(QVariant::fromValue(uint(41 + calls.size()))));
            return true;
        }
        return false;
    }
    QString introspect(const QString&) const override { return {}; }

    std::vector<Call> calls;
};

// dbus-daemon with a session bus of its own, listening in a temporary directory.
class PrivateBus {
  public:
    bool Start() {
        address_ = "unix:path=" + dir_.path() + "/bus";
        if (!daemon_.Start(
                {"dbus-daemon", "--session", "--nofork", "--nopidfile", "--address=" + address_},
                dir_.path() + "/dbus.out")) {
            return false;
        }
        for (int i = 0; i < 200; ++i) {
            struct stat info {};
            if (::stat((dir_.path() + "/bus").c_str(), &info) == 0) {
                return true;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(25));
        }
        return false;
    }
    QDBusConnection Connect(const char* name) {
        return QDBusConnection::connectToBus(QString::fromStdString(address_), name);
    }

  private:
    test::TempDir dir_;
    test::ChildProcess daemon_;
    std::string address_;
};

TEST_F(AutoCheckWindowTest, TheNotificationGoesOverTheSessionBusAndItsClickShowsTheResults) {
    PrivateBus bus;
    ASSERT_TRUE(bus.Start());
    QDBusConnection server = bus.Connect("velnora-test-service");
    ASSERT_TRUE(server.isConnected());
    FakeNotificationService service;
    ASSERT_TRUE(server.registerVirtualObject("/org/freedesktop/Notifications", &service));
    ASSERT_TRUE(server.registerService("org.freedesktop.Notifications"));
    QDBusConnection client = bus.Connect("velnora-test-client");

    test::TempDir site;
    test::MakeDir(site / "www");
    auto write_pages = [&](const char* version) {
        for (int i = 0; i < 4; ++i) {
            test::WriteBytes(site / ("www/p" + std::to_string(i) + ".html"),
                             std::string("<p>stays</p><p>") + version + " of page " +
                                 std::to_string(i) + "</p>");
        }
    };
    write_pages("first");
    test::NginxServer nginx;
    ASSERT_TRUE(nginx.Start(site.path(), site / "www", nullptr));
    std::vector<std::string> pages;
    for (int i = 0; i < 4; ++i) {
        pages.push_back(AddPage("p" + std::to_string(i) + ".dat",
                                "http://127.0.0.1:" + std::to_string(nginx.http_port()) + "/p" +
                                    std::to_string(i) + ".html"));
    }
    MainWindow& window =
        OpenWith("AUTO_CHECK=1\r\nCHECK_INTERVAL=30\r\nUSE_HEAD=0\r\nFINISH_MESSAGE=1\r\n");
    window.SetNotificationBus(client);
    window.auto_checks().DecideNow();  // the first check of each page keeps its text
    ASSERT_TRUE(Ended());
    EXPECT_TRUE(service.calls.empty()) << "nothing new, nothing to tell";

    write_pages("second");
    for (const std::string& page : pages) {
        ASSERT_TRUE(store::WriteLastCheck(
            page, std::time(nullptr) - 40 * 60));  // due again, jitter and all
    }
    window.document().AppendText("the pane as it was\n");
    window.auto_checks().Reconsider();
    window.auto_checks().DecideNow();
    ASSERT_TRUE(window.check().background());
    ASSERT_TRUE(Ended());
    ASSERT_TRUE(QTest::qWaitFor([&] { return !service.calls.empty(); }, 5000));
    ASSERT_EQ(service.calls.size(), 1u) << "one notification for the whole check";
    EXPECT_EQ(service.calls[0].summary, Q("4 件の更新がありました"));
    EXPECT_EQ(service.calls[0].body, Q("p0、p1、p2 ほか 1 件"));
    EXPECT_EQ(service.calls[0].actions.value(0), "default");
    EXPECT_EQ(modal_boxes_, 0) << "a background check opens no message box";
    EXPECT_NE(window.result_pane().toPlainText().indexOf(Q("the pane as it was")), -1)
        << "the pane was not cleared";
    EXPECT_EQ(window.tray().unread_pages(), 4);

    // Clicking it brings the window with those results.
    window.hide();
    QDBusMessage clicked = QDBusMessage::createSignal(
        "/org/freedesktop/Notifications", "org.freedesktop.Notifications", "ActionInvoked");
    clicked << uint(42) << QString("default");
    ASSERT_TRUE(server.send(clicked));
    ASSERT_TRUE(QTest::qWaitFor([&] { return window.isVisible(); }, 5000));
    QString shown = window.result_pane().toPlainText();
    EXPECT_EQ(shown.indexOf(Q("the pane as it was")), -1);
    for (int i = 0; i < 4; ++i) {
        EXPECT_NE(shown.indexOf(Q("second of page ") + QString::number(i)), -1) << i;
    }
    EXPECT_EQ(window.tray().unread_pages(), 0) << "shown, so read";

    QDBusConnection::disconnectFromBus("velnora-test-client");
    QDBusConnection::disconnectFromBus("velnora-test-service");
}

}  // namespace
}  // namespace velnora::window
