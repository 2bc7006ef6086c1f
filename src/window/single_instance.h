#pragma once

// One copy of the window per program home. The first copy holds a lock file in the home and
// listens on a local socket named after the home; a later copy finds the lock taken, asks the
// first copy to raise its window, and ends.

#include <QLocalServer>
#include <QLockFile>
#include <QString>
#include <functional>
#include <memory>

namespace velnora::window {

class SingleInstance {
  public:
    // home: the program home as it is named on disk.
    explicit SingleInstance(const QString& home);
    ~SingleInstance();

    // True when this is the first copy. Otherwise the first copy has been asked to raise its
    // window.
    bool Acquire();

    // Called (in the first copy) when another copy asks it to come to the front.
    void OnRaiseRequested(std::function<void()> raise);

  private:
    QString name_;
    std::unique_ptr<QLockFile> lock_;
    std::unique_ptr<QLocalServer> server_;
    std::function<void()> raise_;
};

}  // namespace velnora::window
