#include "platform/Capabilities.h"

#include <linux/capability.h>
#include <sys/prctl.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace ondivo {

std::string DropCapabilities() {
  std::string trouble;
  if (::prctl(PR_CAP_AMBIENT, PR_CAP_AMBIENT_CLEAR_ALL, 0, 0, 0) != 0 && errno != EINVAL) {
    trouble = std::string("ambient set: ") + std::strerror(errno);
  }
  // Without CAP_SETPCAP the bounding set stays; with nothing permitted it grants nothing anyway,
  // except through a file capability of a program this one would start.
  for (int cap = 0; ::prctl(PR_CAPBSET_READ, cap, 0, 0, 0) >= 0; ++cap) {
    if (::prctl(PR_CAPBSET_READ, cap, 0, 0, 0) == 1) ::prctl(PR_CAPBSET_DROP, cap, 0, 0, 0);
  }
  __user_cap_header_struct header{};
  header.version = _LINUX_CAPABILITY_VERSION_3;
  header.pid = 0;
  __user_cap_data_struct data[_LINUX_CAPABILITY_U32S_3]{};
  if (::syscall(SYS_capset, &header, data) != 0) {
    if (!trouble.empty()) trouble += "; ";
    trouble += std::string("capset: ") + std::strerror(errno);
  }
  return trouble;
}

}  // namespace ondivo
