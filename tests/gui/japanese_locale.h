#pragma once

// The Japanese desktop's locale (ja_JP.UTF-8) for one test: generated into a private directory
// with localedef, so that no system locale needs to be installed, and set for the process until
// the object goes. ok() is false when localedef or the locale's sources are missing.

#include <locale.h>
#include <stdlib.h>

#include <string>

#include "support/scoped_env.h"
#include "support/temp_dir.h"

namespace velnora::test {

class JapaneseLocale {
  public:
    JapaneseLocale() {
        std::string command =
            "localedef -i ja_JP -f UTF-8 '" + (locales_ / "ja_JP.UTF-8") + "' >/dev/null 2>&1";
        if (std::system(command.c_str()) != 0) {
            return;
        }
        ::setenv("LOCPATH", locales_.path().c_str(), 1);
        ok_ = ::setlocale(LC_ALL, "ja_JP.UTF-8") != nullptr;
    }
    ~JapaneseLocale() {
        ::setlocale(LC_ALL, "C");
        ::unsetenv("LOCPATH");
    }
    JapaneseLocale(const JapaneseLocale&) = delete;
    JapaneseLocale& operator=(const JapaneseLocale&) = delete;

    bool ok() const { return ok_; }

  private:
    TempDir locales_;
    ScopedEnv language_{"LANGUAGE", nullptr};
    bool ok_ = false;
};

}  // namespace velnora::test
