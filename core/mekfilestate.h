// What tells one state of a file from another, for the data files the engine reads once
// and keeps (the INI files, the pinyin records): kept contents serve while the file's
// identity is unchanged and the file had settled before it was read.
#pragma once
#include <sys/stat.h>

#include <ctime>

struct FFileIdentity {
  dev_t Device = 0;
  ino_t Inode = 0;
  off_t Size = 0;
  timespec Modified{}, Changed{};

  FFileIdentity() = default;
  explicit FFileIdentity(const struct stat& st)
      : Device(st.st_dev), Inode(st.st_ino), Size(st.st_size), Modified(st.st_mtim),
        Changed(st.st_ctim) {}
  bool operator==(const FFileIdentity& o) const {
    return Device == o.Device && Inode == o.Inode && Size == o.Size &&
           Modified.tv_sec == o.Modified.tv_sec && Modified.tv_nsec == o.Modified.tv_nsec &&
           Changed.tv_sec == o.Changed.tv_sec && Changed.tv_nsec == o.Changed.tv_nsec;
  }
  bool operator!=(const FFileIdentity& o) const { return !(*this == o); }
};

// A change this close before the read may share its time stamps with a later change.
inline constexpr time_t SettleSeconds = 2;

// False while the file's last change lies within SettleSeconds before now: file systems
// stamp times at a coarse tick (a second on some), so a rewrite of the same size right
// after a read could leave the identity as it was. Contents read from such a file are
// read again at the next lookup, until the file has been read well after its last change.
// The change time alone tells: every write and every change of the modification time
// sets it to the current time, so a modification time in the future (from an archive, a
// copy that kept its times, touch -d) says nothing about a change to come. A change time
// in the future (the clock was set back) is moved past by the next change, which stamps
// the current time.
inline bool IsSettled(const FFileIdentity& identity) {
  timespec now{};
  clock_gettime(CLOCK_REALTIME, &now);
  const time_t changed = identity.Changed.tv_sec;
  return changed + SettleSeconds < now.tv_sec || changed > now.tv_sec;
}
