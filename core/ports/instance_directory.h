// Finding the other running instances of the program for this user, asking them for their
// window captions, restoring their window and handing them a file to open.
#pragma once

#include <string>
#include <vector>

namespace kantoria {

// What this instance answers when another one asks.
class InstanceHost {
  public:
    virtual ~InstanceHost() = default;
    // The captions of the instance's shown top-level windows, the main window first.
    virtual std::vector<std::string> WindowCaptions() = 0;
    // Brings the main window back to its normal size and to the front.
    virtual void RestoreMainWindow() = 0;
    // Opens path as a file named by the desktop would be opened.
    virtual void OpenFromShell(const std::string& path) = 0;
};

struct RunningInstance {
    std::string address;                // how to reach it again
    std::vector<std::string> captions;  // its window captions when it was asked
};

class InstanceDirectory {
  public:
    virtual ~InstanceDirectory() = default;
    // The other instances that answer, each with its captions.
    virtual std::vector<RunningInstance> Others() = 0;
    virtual bool Restore(const RunningInstance& instance) = 0;
    virtual bool HandOver(const RunningInstance& instance, const std::string& path) = 0;
    // Lets other instances find this one; host answers them for as long as it lives.
    virtual bool Publish(InstanceHost& host) = 0;
};

}  // namespace kantoria
