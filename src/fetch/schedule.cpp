#include "fetch/schedule.h"

#include <time.h>

#include <algorithm>

#include "ini/ini_file.h"
#include "ini/keys.h"
#include "store/page_files.h"
#include "store/result_file.h"
#include "store/settings_files.h"

namespace velnora::fetch {

namespace {

class RealClock : public Clock {
  public:
    std::int64_t Now() const override { return static_cast<std::int64_t>(::time(nullptr)); }
    int MinuteOfDay(std::int64_t seconds) const override {
        time_t t = static_cast<time_t>(seconds);
        struct tm local {};
        if (::localtime_r(&t, &local) == nullptr) {
            return 0;
        }
        return local.tm_hour * 60 + local.tm_min;
    }
};

// FNV-1a over the bytes, then the number mixed in (a finaliser of splitmix64).
std::uint64_t Seed(std::string_view bytes, std::int64_t number) {
    std::uint64_t hash = 0xcbf29ce484222325ULL;
    for (char c : bytes) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 0x100000001b3ULL;
    }
    hash ^= static_cast<std::uint64_t>(number) + 0x9e3779b97f4a7c15ULL + (hash << 6) + (hash >> 2);
    hash = (hash ^ (hash >> 30)) * 0xbf58476d1ce4e5b9ULL;
    hash = (hash ^ (hash >> 27)) * 0x94d049bb133111ebULL;
    return hash ^ (hash >> 31);
}

void AddBelow(const store::PageTree& tree, store::ItemId folder, int interval, bool disabled,
              std::vector<PageSchedule>& pages) {
    for (store::ItemId item = tree.FirstChild(folder); item != 0; item = tree.NextSibling(item)) {
        const store::PageTree::Node* node = tree.Find(item);
        store::TreeNode where;
        if (node == nullptr || tree.BuildTreeNode(item, where) != 0) {
            continue;
        }
        if (node->kind == store::KIND_FOLDER) {
            store::FolderSettings settings;
            bool unreadable = store::ReadFolderSettings(where.path, settings) != 0;
            AddBelow(tree, item, EffectiveInterval(settings.check_interval, interval),
                     disabled || unreadable || settings.disable_auto_check != 0, pages);
            continue;
        }
        // Only the two keys the schedule needs are read of site.ini.
        auto site = store::PagePath(where.path, store::kSiteIni);
        ini::IniFile ini;
        if (site) {
            ini.Load(*site);
        }
        PageSchedule page;
        page.item = item;
        page.interval = EffectiveInterval(ini::Read(ini, store::keys::kCheckInterval), interval);
        page.disabled = disabled || !site || ini::Read(ini, store::keys::kDisableAutoCheck) != 0;
        page.last_check = store::ReadLastCheck(where.path);
        page.directory = std::move(where.path);
        pages.push_back(std::move(page));
    }
}

}  // namespace

const Clock& SystemClock() {
    static const RealClock clock;
    return clock;
}

bool InActiveHours(const ActiveHours& hours, int minute) {
    if (hours.from == hours.to) {
        return true;
    }
    if (hours.from < hours.to) {
        return minute >= hours.from && minute < hours.to;
    }
    return minute >= hours.from || minute < hours.to;  // across midnight
}

int MinutesUntilActive(const ActiveHours& hours, int minute) {
    if (InActiveHours(hours, minute)) {
        return 0;
    }
    int wait = hours.from - minute;
    return wait < 0 ? wait + kMinutesPerDay : wait;
}

std::int64_t Jitter(std::uint64_t seed, std::int64_t interval_seconds) {
    if (interval_seconds <= 0) {
        return 0;
    }
    return static_cast<std::int64_t>(seed % static_cast<std::uint64_t>(interval_seconds / 10 + 1));
}

int EffectiveInterval(int own, int folder) {
    return own == store::keys::kFollowFolder ? folder : own;
}

int FolderInterval(const store::PageTree& tree, store::ItemId folder, int root_interval) {
    for (; folder != 0 && folder != tree.root(); folder = tree.Parent(folder)) {
        store::TreeNode where;
        store::FolderSettings settings;
        if (tree.BuildTreeNode(folder, where) == 0 &&
            store::ReadFolderSettings(where.path, settings) == 0 &&
            settings.check_interval != store::keys::kFollowFolder) {
            return settings.check_interval;
        }
    }
    return root_interval;
}

std::int64_t DueTime(const PageSchedule& page, std::int64_t now) {
    if (page.disabled || page.interval <= 0) {
        return kNever;
    }
    if (page.last_check <= 0 || page.last_check > now) {
        return 0;
    }
    std::int64_t interval = std::int64_t{page.interval} * 60;
    return page.last_check + interval + Jitter(Seed(page.directory, page.last_check), interval);
}

void Schedule::Build(const store::PageTree& tree, int root_interval) {
    pages_.clear();
    AddBelow(tree, tree.root(), root_interval, false, pages_);
}

bool Schedule::Scheduled() const {
    return std::any_of(pages_.begin(), pages_.end(), [](const PageSchedule& page) {
        return !page.disabled && page.interval > 0;
    });
}

std::vector<store::ItemId> Schedule::DuePages(const Clock& clock, const ActiveHours& hours) const {
    std::vector<store::ItemId> due;
    std::int64_t now = clock.Now();
    if (!InActiveHours(hours, clock.MinuteOfDay(now))) {
        return due;
    }
    for (const PageSchedule& page : pages_) {
        if (DueTime(page, now) <= now) {
            due.push_back(page.item);
        }
    }
    return due;
}

std::int64_t Schedule::NextDue(const Clock& clock, const ActiveHours& hours) const {
    std::int64_t now = clock.Now();
    std::int64_t earliest = kNever;
    for (const PageSchedule& page : pages_) {
        earliest = std::min(earliest, DueTime(page, now));
    }
    if (earliest == kNever) {
        return kNever;
    }
    std::int64_t at = std::max(earliest, now);
    int wait = MinutesUntilActive(hours, clock.MinuteOfDay(at));
    return wait == 0 ? at : at - at % 60 + std::int64_t{wait} * 60;
}

}  // namespace velnora::fetch
