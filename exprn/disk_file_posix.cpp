// POSIX (qmbasic and the tests on the host): opened without blocking (a FIFO would wait for
// its other end) and kept only when it is a regular file.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "disk_file.h"

FILE *OpenDiskFile(const char *name, char mode) {
  bool reading = mode == 'i' || mode == 'b';
  int flags = reading ? O_RDONLY : O_WRONLY | O_CREAT | (mode == 'a' ? O_APPEND : 0);
  int fd = open(name, flags | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0644);
  if (fd < 0) return nullptr;
  struct stat status;
  bool regular = fstat(fd, &status) == 0 && S_ISREG(status.st_mode);
  // Emptied only now, once it is known to be a regular file.
  if (!regular || fcntl(fd, F_SETFL, flags) != 0 || (mode == 'o' && ftruncate(fd, 0) != 0)) {
    close(fd);
    return nullptr;
  }
  const char *how = reading ? "rb" : mode == 'o' ? "w" : "a";
  FILE *stream = fdopen(fd, how);
  if (!stream) close(fd);
  return stream;
}

bool NameExists(const char *name) {
  struct stat status;
  return lstat(name, &status) == 0;
}
