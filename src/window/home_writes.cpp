#include "window/home_writes.h"

#include <QEventLoop>

namespace velnora::window {

namespace {

// How often a waiting write tries the lock again.
constexpr int kRetryMs = 250;

// " が書き込み中です。終わるのを待っています..."
constexpr std::string_view kWaitingSuffix =
    " \x82\xAA\x8F\x91\x82\xAB\x8D\x9E\x82\xDD\x92\x86\x82\xC5\x82\xB7\x81"
    "B\x8FI\x82\xED\x82\xE9\x82\xCC\x82\xF0\x91\xD2\x82\xC1\x82\xC4\x82\xA2\x82\xDC\x82\xB7...";
// "書き込みロックを取得できません ("
constexpr std::string_view kRefusedPrefix =
    "\x8F\x91\x82\xAB\x8D\x9E\x82\xDD\x83\x8D\x83"
    "b\x83N\x82\xF0\x8E\xE6\x93\xBE\x82\xC5\x82\xAB\x82\xDC\x82\xB9\x82\xF1 (";

}  // namespace

HomeWrites::HomeWrites(std::string home_directory,
                       std::function<void(std::string_view)> show_status)
    : lock_(std::move(home_directory), "velnora"), show_status_(std::move(show_status)) {
    retry_.setInterval(kRetryMs);
    QObject::connect(&retry_, &QTimer::timeout, [this] { RunWaiting(); });
}

bool HomeWrites::TryHold(files::WriteLock::Result* result) {
    if (holds_ > 0) {
        ++holds_;
        *result = files::WriteLock::Result::kTaken;
        return true;
    }
    *result = lock_.TryAcquire();
    switch (*result) {
        case files::WriteLock::Result::kTaken:
            ++holds_;
            return true;
        case files::WriteLock::Result::kHeld:
            show_status_(lock_.holder() + std::string(kWaitingSuffix));
            return false;
        case files::WriteLock::Result::kFailed:
            break;
    }
    show_status_(std::string(kRefusedPrefix) + lock_.error() + ")");
    return false;
}

HomeWrites::Outcome HomeWrites::Run(std::function<void()> write) {
    if (queue_.empty()) {
        files::WriteLock::Result result;
        if (TryHold(&result)) {
            write();
            Drop();
            return Outcome::kDone;
        }
        if (result == files::WriteLock::Result::kFailed) {
            return Outcome::kRefused;
        }
    }
    queue_.push_back(std::move(write));
    retry_.start();
    return Outcome::kWaiting;
}

void HomeWrites::RunWaiting() {
    if (queue_.empty()) {
        retry_.stop();
        return;
    }
    files::WriteLock::Result result;
    if (!TryHold(&result)) {
        if (result == files::WriteLock::Result::kFailed) {
            queue_.clear();  // the status says why nothing was written
            retry_.stop();
        }
        return;
    }
    retry_.stop();
    show_status_("");
    // A write may queue another: it runs in this round as well.
    while (!queue_.empty()) {
        std::function<void()> write = std::move(queue_.front());
        queue_.pop_front();
        write();
    }
    Drop();
}

bool HomeWrites::Hold() {
    bool waited = false;
    for (;;) {
        files::WriteLock::Result result;
        if (TryHold(&result)) {
            if (waited) {
                show_status_("");
            }
            return true;
        }
        if (result == files::WriteLock::Result::kFailed) {
            return false;
        }
        waited = true;
        QEventLoop wait;
        QTimer::singleShot(kRetryMs, &wait, &QEventLoop::quit);
        wait.exec(QEventLoop::ExcludeUserInputEvents);
    }
}

void HomeWrites::Drop() {
    if (holds_ > 0 && --holds_ == 0) {
        lock_.Release();
    }
}

}  // namespace velnora::window
