// The cross-process side of named kernel objects: one lock file per name, held with
// a shared flock by every process that has the object open. A process that finds the
// file locked by another knows the object exists already; the lock goes with the last
// holder (even one that crashed).
#pragma once
#include <memory>
#include <string>

namespace plat {

class NamedObjectLock {
 public:
  // Opens the name; *existed tells whether another process holds it already.
  // nullptr when the lock folder cannot be used (the object is then process-local).
  static std::unique_ptr<NamedObjectLock> Open(const std::string& name, bool* existed);
  ~NamedObjectLock();
  NamedObjectLock(const NamedObjectLock&) = delete;
  NamedObjectLock& operator=(const NamedObjectLock&) = delete;

  // The folder the lock files live in (one per user and drive C:).
  static std::string Folder();

 private:
  explicit NamedObjectLock(int fd) : fd_(fd) {}
  int fd_;
};

}  // namespace plat
