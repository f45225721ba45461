#pragma once
// Stand-in for a named mutex that tells whether the program already runs.
// The lock is an advisory file lock, which the kernel drops when the holder
// ends in any way, so a crashed instance never blocks a later start.

#include <string>

class NamedMutex {
public:
    // name: the mutex name; the lock file lives in the user's private
    // folder (PrivateRuntimeDir), never in a shared one.
    explicit NamedMutex(const std::string& name);
    ~NamedMutex();
    NamedMutex(const NamedMutex&) = delete;
    NamedMutex& operator=(const NamedMutex&) = delete;

    // True when another process holds a mutex of the same name.
    bool AlreadyExists() const { return alreadyExists_; }
    const std::string& Path() const { return path_; }

private:
    std::string path_;
    int fd_ = -1;
    bool alreadyExists_ = false;
};
