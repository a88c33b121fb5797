// Running instances found through local sockets: each instance listens on a socket of its
// own in a folder only the user can reach, and answers three requests there: its window
// captions, restore the main window, open a file. The socket's name carries the instance's
// scope (InstanceScope), and only instances of the same scope are found.
#pragma once

#include <QLocalServer>
#include <QString>
#include <memory>

#include "core/ports/instance_directory.h"

namespace kantoria {

class LocalInstances final : public InstanceDirectory {
  public:
    // folder holds the sockets; it is created, for the user alone, when missing. scope is
    // the tag of the display and settings this instance runs with.
    LocalInstances(QString folder, QString scope);
    ~LocalInstances() override;

    // The user's runtime folder for the program's sockets.
    static QString DefaultFolder();

    std::vector<RunningInstance> Others() override;
    bool Restore(const RunningInstance& instance) override;
    bool HandOver(const RunningInstance& instance, const std::string& path) override;
    bool Publish(InstanceHost& host) override;

  private:
    void Answer(QLocalSocket* socket);

    QString folder_;
    QString prefix_;  // of the sockets of this scope
    QString ownName_;
    std::unique_ptr<QLocalServer> server_;
    InstanceHost* host_ = nullptr;
};

}  // namespace kantoria
