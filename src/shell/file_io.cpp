#include "shell/file_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <stdexcept>

namespace tolmex::shell {

namespace {
std::string ErrnoText(int err) { return std::strerror(err); }
}  // namespace

std::string ReadWholeFile(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    const int err = errno;
    throw std::runtime_error("Não foi possível abrir o arquivo " + path + ": " + ErrnoText(err));
  }
  struct stat sb {};
  if (::fstat(fd, &sb) == 0 && S_ISDIR(sb.st_mode)) {
    ::close(fd);
    throw std::runtime_error("Não foi possível abrir o arquivo " + path + ": é uma pasta");
  }
  std::string data;
  char buf[1 << 16];
  for (;;) {
    const ssize_t n = ::read(fd, buf, sizeof buf);
    if (n < 0) {
      if (errno == EINTR) continue;
      const int err = errno;
      ::close(fd);
      throw std::runtime_error("Erro ao ler o arquivo " + path + ": " + ErrnoText(err));
    }
    if (n == 0) break;
    data.append(buf, static_cast<std::size_t>(n));
  }
  ::close(fd);
  return data;
}

void WriteFileAtomic(const std::string& path, std::string_view data) {
  namespace fs = std::filesystem;
  const fs::path target(path);
  const fs::path dir = target.has_parent_path() ? target.parent_path() : fs::path(".");
  std::string tmpl = (dir / ("." + target.filename().string() + ".XXXXXX")).string();
  const int fd = ::mkstemp(tmpl.data());
  auto fail = [&](const std::string& what, int err) {
    throw std::runtime_error("Não foi possível salvar o arquivo " + path + ": " + what +
                             (err ? ErrnoText(err) : std::string()));
  };
  if (fd < 0) fail("", errno);
  // Keep the permissions of the file being replaced; new files get the usual 0666 & ~umask.
  mode_t mode = 0;
  struct stat sb {};
  if (::stat(path.c_str(), &sb) == 0) {
    if (S_ISDIR(sb.st_mode)) {
      ::close(fd);
      ::unlink(tmpl.c_str());
      fail("é uma pasta", 0);
    }
    mode = sb.st_mode & 07777;
  } else {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    mode = 0666 & ~mask;
  }
  ::fchmod(fd, mode);
  const char* p = data.data();
  std::size_t left = data.size();
  while (left > 0) {
    const ssize_t n = ::write(fd, p, left);
    if (n < 0) {
      if (errno == EINTR) continue;
      const int err = errno;
      ::close(fd);
      ::unlink(tmpl.c_str());
      fail("", err);
    }
    p += n;
    left -= static_cast<std::size_t>(n);
  }
  const int syncResult = ::fsync(fd);
  const int syncErr = errno;
  const int closeResult = ::close(fd);
  const int closeErr = errno;
  if (syncResult != 0 || closeResult != 0) {
    ::unlink(tmpl.c_str());
    fail("", syncResult != 0 ? syncErr : closeErr);
  }
  if (::rename(tmpl.c_str(), path.c_str()) != 0) {
    const int err = errno;
    ::unlink(tmpl.c_str());
    fail("", err);
  }
}

}  // namespace tolmex::shell
