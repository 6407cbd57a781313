#pragma once

namespace platform {

// A lease on a file this process alone has open, held while the program writes the file
// over in place. Another program that opens the file meanwhile waits (at most the system's
// lease-break time) until the lease is released, and the lease tells that one asked: a
// writer, such as an editor saving the file in place, must never land in the middle of the
// write, nor be written over by it unseen.
//
// Where no lease can be had (the file is open elsewhere, the file system has none) nothing
// waits, and the caller relies on what it can see of the file afterwards.
class WriteLease {
public:
    explicit WriteLease(int fd);
    ~WriteLease();
    WriteLease(const WriteLease&) = delete;
    WriteLease& operator=(const WriteLease&) = delete;

    bool held() const { return held_; }
    // Another program opened the file to write into it since the lease was taken: it waits
    // for the release, or it waited out its time and the lease was taken away.
    bool writerArrived() const;
    // The lease is still this process's: whoever arrived is still waiting, and nothing but
    // this process has written the file since it was taken.
    bool stillHeld() const;
    void release();

private:
    int fd_ = -1;
    bool held_ = false;
};

} // namespace platform
