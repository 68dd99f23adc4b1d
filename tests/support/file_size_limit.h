#pragma once
// A full disk without root: the calling process may not make any file larger than `bytes`, and
// a write past that size fails with EFBIG instead of killing the process with SIGXFSZ. Call it
// in a child process only (a forked death-test child, or a QProcess child modifier).

#include <sys/resource.h>

#include <csignal>

namespace zorvik::testing {

inline void LimitFileSize(rlim_t bytes) {
  std::signal(SIGXFSZ, SIG_IGN);
  const rlimit limit{bytes, bytes};
  setrlimit(RLIMIT_FSIZE, &limit);
}

}  // namespace zorvik::testing
