#pragma once

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace prueba {

// A loopback port that was free a moment ago: bound, read back and closed again.
inline int PuertoLibre() {
  const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in dir{};
  dir.sin_family = AF_INET;
  dir.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t largo = sizeof dir;
  ::bind(fd, reinterpret_cast<sockaddr*>(&dir), sizeof dir);
  ::getsockname(fd, reinterpret_cast<sockaddr*>(&dir), &largo);
  ::close(fd);
  return ntohs(dir.sin_port);
}

}  // namespace prueba
