// A stable name for the pseudo-terminal (for example the path a Wine prefix maps to COM1),
// whose own number changes with every start.
#pragma once

#include <string>

class DeviceLink {
  public:
    DeviceLink() = default;
    ~DeviceLink();
    DeviceLink(const DeviceLink&) = delete;
    DeviceLink& operator=(const DeviceLink&) = delete;

    // Points linkPath at target, replacing an existing symbolic link there but nothing else.
    bool create(const std::string& linkPath, const std::string& target, std::string& error);

  private:
    std::string linkPath_;
    std::string target_;
};
