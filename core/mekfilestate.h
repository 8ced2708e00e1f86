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

// False while the file's times lie too close to now: file systems stamp times at a coarse
// tick (a second on some), so a rewrite of the same size right after a read could leave
// the identity as it was. Contents read from such a file are read again at the next
// lookup, until the file has been read well after its last change.
inline bool IsSettled(const FFileIdentity& identity) {
  timespec now{};
  clock_gettime(CLOCK_REALTIME, &now);
  return identity.Modified.tv_sec + SettleSeconds < now.tv_sec &&
         identity.Changed.tv_sec + SettleSeconds < now.tv_sec;
}
